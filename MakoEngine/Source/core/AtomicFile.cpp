#include "core/AtomicFile.h"

#include "core/FileWriter.h"
#include "core/Log.h"
#include "win32/OwnFiles.h"

#include <boost/format.hpp>

#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

const char kTemporarySuffix[] = ".tmp.";
const std::size_t kTemporaryRandomLength = 6; // the writer's random tail
int g_InjectedFault = 0;

std::string WriteErrorText(const std::string& path, const std::string& cause)
{
    return boost::str(boost::format("Could not write file:\nfile = %1%\nerror = %2%") % path %
                      cause);
}

// The folder part of path ("." when it has none) and its file name.
void SplitPath(const std::string& path, std::string& folder, std::string& name)
{
    folder = FolderOf(path);
    name = path.substr(path.find_last_of('/') + 1);
}

// The text of the link at path; false (errno set) when it cannot be read.
bool ReadLink(const std::string& path, std::string& text)
{
    std::vector<char> buffer(256);
    for (;;) {
        const ssize_t length = ::readlink(path.c_str(), buffer.data(), buffer.size());
        if (length < 0)
            return false;
        if (static_cast<std::size_t>(length) < buffer.size()) {
            text.assign(buffer.data(), static_cast<std::size_t>(length));
            return true;
        }
        buffer.resize(buffer.size() * 2);
    }
}

LinkTarget LinkFailure(const std::string& path, const std::string& last, int error)
{
    // A loop is named by the system's own words: the links lead back to where they began.
    std::string reason = std::strerror(error);
    if (error == ENOENT)
        reason = "it is a link to \"" + last + "\", which does not exist";
    else if (error != ELOOP)
        reason += " (the link \"" + path + "\" leads to \"" + last + "\")";
    return LinkTarget{path, true, error, reason};
}

} // namespace

LinkTarget FollowLinks(const std::string& path)
{
    std::string current = path;
    for (int hops = 0;; ++hops) {
        struct stat status;
        if (::lstat(current.c_str(), &status) != 0) {
            // No file, or a folder on the way that cannot be searched: for a path that is no
            // link, the read or write itself says what it is.
            if (hops == 0)
                return LinkTarget{path, false, 0, ""};
            return LinkFailure(path, current, errno);
        }
        if (!S_ISLNK(status.st_mode))
            return LinkTarget{current, hops > 0, 0, ""};
        std::string target;
        if (hops == kMaxLinkHops || !ReadLink(current, target))
            return LinkFailure(path, current, hops == kMaxLinkHops ? ELOOP : errno);
        if (target.empty())
            return LinkFailure(path, current, ENOENT);
        if (target[0] != '/') {
            std::string folder;
            std::string name;
            SplitPath(current, folder, name);
            target = folder + "/" + target;
        }
        current = target;
    }
}

FileWriteError::FileWriteError(const std::string& file, int line, const std::string& function,
                               const std::string& date, const std::string& time,
                               const std::string& path, int errnum)
    : FileWriteError(file, line, function, date, time, path, std::string(std::strerror(errnum)))
{
}

FileWriteError::FileWriteError(const std::string& file, int line, const std::string& function,
                               const std::string& date, const std::string& time,
                               const std::string& path, const std::string& cause)
    : Exception(file, line, function, date, time, WriteErrorText(path, cause)), m_Path(path),
      m_Cause(cause)
{
}

void SetInjectedWriteFault(int errnum)
{
    g_InjectedFault = errnum;
}

int GetInjectedWriteFault()
{
    return g_InjectedFault;
}

int TryWriteFileAtomically(const std::string& path, const std::string& bytes)
{
    return TryWriteFileAtomically(path, bytes, nullptr);
}

int TryWriteFileAtomically(const std::string& path, const std::string& bytes,
                           const std::function<int(const std::string& target)>& beforeRename)
{
    if (g_InjectedFault != 0)
        return g_InjectedFault;
    // Written where the links lead, so the link stays and its target gets the bytes; a link
    // that leads nowhere is not written through.
    const LinkTarget target = FollowLinks(path);
    if (target.error != 0)
        return target.error;
    // The file keeps its mode; a new one gets the umask's.
    return FileWriter::ReplaceFollowed(
        target.path, bytes, [&]() { return beforeRename ? beforeRename(target.path) : 0; });
}

void WriteFileAtomically(const std::string& path, const std::string& bytes)
{
    int error = TryWriteFileAtomically(path, bytes);
    if (error != 0)
        throw FileWriteError(MAKO_WHERE, path, error);
}

bool IsTemporaryFileNameOf(const std::string& name, const std::string& target)
{
    const std::string prefix = target + kTemporarySuffix;
    if (name.size() != prefix.size() + kTemporaryRandomLength ||
        name.compare(0, prefix.size(), prefix) != 0)
        return false;
    for (std::size_t i = prefix.size(); i < name.size(); ++i)
        if (!std::isalnum(static_cast<unsigned char>(name[i])))
            return false;
    return true;
}

int RemoveStaleTemporaryFiles(const std::string& path)
{
    const LinkTarget file = FollowLinks(path);
    if (file.error != 0)
        return 0;
    std::string folder;
    std::string target;
    SplitPath(file.path, folder, target);
    DIR* dir = ::opendir(folder.c_str());
    if (!dir)
        return 0;
    std::vector<std::string> stale;
    while (dirent* entry = ::readdir(dir)) {
        if (IsTemporaryFileNameOf(entry->d_name, target))
            stale.push_back(folder + "/" + entry->d_name);
    }
    ::closedir(dir);
    int removed = 0;
    for (const std::string& file : stale) {
        struct stat info;
        if (::lstat(file.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (::unlink(file.c_str()) == 0) {
            Log("Removed \"%s\", left over from a save of \"%s\" that did not finish.\n",
                file.c_str(), path.c_str());
            ++removed;
        } else {
            Log("Warning: could not remove \"%s\", left over from an unfinished save: %s\n",
                file.c_str(), std::strerror(errno));
        }
    }
    return removed;
}

std::string FolderOf(const std::string& path)
{
    const std::string::size_type slash = path.find_last_of('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

std::string SetAsideNameOf(const std::string& path, int number)
{
    return number == 0 ? path + ".bad" : path + "." + std::to_string(number) + ".bad";
}

bool KeepFileAside(const std::string& path, const std::string& reason)
{
    // A link is the user's way of keeping the file elsewhere: neither it nor the file it
    // leads to is moved, so the caller holds it as it is.
    const LinkTarget target = FollowLinks(path);
    if (target.viaLink) {
        const std::string where =
            target.error != 0 ? " (" + target.reason + ")" : " to \"" + target.path + "\"";
        Log("Warning: the file \"%s\" is a link%s and was left where it is: %s\n", path.c_str(),
            where.c_str(), reason.c_str());
        return false;
    }
    // A device node is the system's, not the user's: it is never renamed.
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 &&
        (S_ISCHR(status.st_mode) || S_ISBLK(status.st_mode))) {
        Log("Warning: the file \"%s\" is a device and was left where it is: %s\n", path.c_str(),
            reason.c_str());
        return false;
    }
    // Never over an older set-aside file: the one rule of giving a file a free name.
    int error = EEXIST;
    for (int number = 0; number < kMaxSetAsideFiles && error == EEXIST; ++number) {
        const std::string aside = SetAsideNameOf(path, number);
        error = ownfiles::PlaceNewFile(path.c_str(), aside.c_str());
        if (error == 0) {
            Log("Warning: the file \"%s\" could not be read and was kept as \"%s\": %s\n",
                path.c_str(), aside.c_str(), reason.c_str());
            return true;
        }
    }
    Log("Warning: could not set aside the unreadable file \"%s\" (%s): %s\n", path.c_str(),
        error == EEXIST ? "too many files are set aside already" : std::strerror(error),
        reason.c_str());
    return false;
}
