#include "core/FileIdentity.h"

#include "core/UserDataFile.h"

#include <sys/stat.h>

#include <cerrno>

const char* const kFileChangedSinceRead =
    "it changed after this copy of the game read it (another copy saved it, or something else "
    "was put in its place), and the newer file was kept";

namespace {

long long TimeNsOf(const struct stat& status)
{
    return static_cast<long long>(status.st_mtim.tv_sec) * 1000000000LL + status.st_mtim.tv_nsec;
}

} // namespace

std::uint64_t FileIdentity::HashOf(const std::string& bytes)
{
    std::uint64_t hash = 14695981039346656037ULL;
    for (unsigned char byte : bytes) {
        hash ^= byte;
        hash *= 1099511628211ULL;
    }
    return hash;
}

FileIdentity FileIdentity::Of(const std::string& path)
{
    FileIdentity identity;
    struct stat status;
    if (::stat(path.c_str(), &status) != 0) {
        identity.m_Kind = errno == ENOENT ? KIND_MISSING : KIND_UNKNOWN;
        return identity;
    }
    identity.m_Kind = KIND_UNKNOWN;
    std::string text;
    std::string reason;
    if (ReadRegularFile(path, kUserFileMaxBytes, text, reason) != USERFILE_READ)
        return identity;
    identity.m_Kind = KIND_PRESENT;
    identity.m_Size = static_cast<unsigned long long>(status.st_size);
    identity.m_TimeNs = TimeNsOf(status);
    identity.m_Hash = HashOf(text);
    // A file replaced between the look and the read shows a size of its own: taken as
    // unknown, so the save that follows holds rather than guesses.
    if (identity.m_Size != text.size())
        identity.m_Kind = KIND_UNKNOWN;
    return identity;
}

FileIdentity FileIdentity::OfWritten(const std::string& path, const std::string& bytes)
{
    FileIdentity identity;
    identity.m_Kind = KIND_UNKNOWN;
    struct stat status;
    if (::stat(path.c_str(), &status) != 0)
        return identity;
    identity.m_Kind = KIND_PRESENT;
    identity.m_Size = static_cast<unsigned long long>(status.st_size);
    identity.m_TimeNs = TimeNsOf(status);
    identity.m_Hash = HashOf(bytes);
    return identity;
}

bool FileIdentity::SameAs(const FileIdentity& other) const
{
    if (m_Kind == KIND_UNKNOWN || other.m_Kind == KIND_UNKNOWN || m_Kind != other.m_Kind)
        return false;
    if (m_Kind == KIND_MISSING)
        return true;
    return m_Size == other.m_Size && m_TimeNs == other.m_TimeNs && m_Hash == other.m_Hash;
}

bool FileIdentity::IsStill(const std::string& path) const
{
    return SameAs(Of(path));
}

bool FileIdentity::Holds(const std::string& bytes) const
{
    return m_Kind == KIND_PRESENT && m_Size == bytes.size() && m_Hash == HashOf(bytes);
}

FileSaveCheck FileIdentity::CheckBeforeSave(const std::string& path, const std::string& bytes) const
{
    const FileIdentity now = Of(path);
    // Nothing stands there now: writing loses nobody's save.
    if (now.IsMissing())
        return FILESAVE_WRITE;
    if (Holds(bytes))
        return FILESAVE_UNCHANGED;
    return SameAs(now) ? FILESAVE_WRITE : FILESAVE_CHANGED;
}
