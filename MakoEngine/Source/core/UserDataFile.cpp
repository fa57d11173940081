#include "core/UserDataFile.h"

#include "core/AtomicFile.h"
#include "core/StopSignal.h"
#include "lua/DataScript.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <map>
#include <mutex>

const std::size_t kUserFileMaxBytes = std::size_t(16) << 20;

namespace {

// The kind of a file that is not a regular one, for messages.
const char* KindOf(mode_t mode)
{
    if (S_ISFIFO(mode))
        return "a FIFO";
    if (S_ISCHR(mode) || S_ISBLK(mode))
        return "a device";
    if (S_ISSOCK(mode))
        return "a socket";
    return "not a regular file";
}

// A size limit as the user reads it: "16 MiB", "64 KiB", "100 bytes".
std::string SizeText(std::size_t bytes)
{
    if (bytes >= (std::size_t(1) << 20) && bytes % (std::size_t(1) << 20) == 0)
        return std::to_string(bytes >> 20) + " MiB";
    if (bytes >= 1024 && bytes % 1024 == 0)
        return std::to_string(bytes >> 10) + " KiB";
    return std::to_string(bytes) + (bytes == 1 ? " byte" : " bytes");
}

// Closes the descriptor when it goes, keeping errno.
struct Descriptor
{
    int fd;
    ~Descriptor()
    {
        const int saved = errno;
        if (fd >= 0)
            ::close(fd);
        errno = saved;
    }
};

std::mutex gReadFaultsLock;
std::map<std::string, int>& ReadFaults()
{
    static std::map<std::string, int> faults;
    return faults;
}

// The fault a test set for path; 0 for none.
int InjectedReadFault(const std::string& path)
{
    std::lock_guard<std::mutex> hold(gReadFaultsLock);
    const auto found = ReadFaults().find(path);
    return found == ReadFaults().end() ? 0 : found->second;
}

// The result for a file the system would not open or read: missing only for ENOENT.
UserFileReadResult Unreadable(int cause, std::string& reason)
{
    reason = std::strerror(cause);
    errno = cause;
    return cause == ENOENT ? USERFILE_MISSING : USERFILE_UNREADABLE;
}

UserFileReadResult ReadTarget(const std::string& path, std::size_t maxBytes, std::string& text,
                              std::string& reason);

} // namespace

void SetInjectedReadFault(const std::string& path, int errnum)
{
    std::lock_guard<std::mutex> hold(gReadFaultsLock);
    if (errnum == 0)
        ReadFaults().erase(path);
    else
        ReadFaults()[path] = errnum;
}

UserFileReadResult ReadRegularFile(const std::string& path, std::size_t maxBytes, std::string& text,
                                   std::string& reason)
{
    if (const int fault = InjectedReadFault(path))
        return Unreadable(fault, reason);
    // A link is read through; one that leads nowhere is no missing file but the user's
    // file, kept as it is (its drive may come back).
    const LinkTarget target = FollowLinks(path);
    if (target.error != 0) {
        reason = target.reason;
        errno = target.error;
        return USERFILE_UNREADABLE;
    }
    const UserFileReadResult result = ReadTarget(target.path, maxBytes, text, reason);
    if (result != USERFILE_READ && target.viaLink) {
        const int cause = errno;
        reason += " (the link \"" + path + "\" leads to \"" + target.path + "\")";
        errno = cause;
        // The file a link names vanished between the two looks: still no fresh start.
        if (result == USERFILE_MISSING)
            return USERFILE_UNREADABLE;
    }
    return result;
}

namespace {

// Reads the regular file at path, which is no link (ReadRegularFile).
UserFileReadResult ReadTarget(const std::string& path, std::size_t maxBytes, std::string& text,
                              std::string& reason)
{
    // Non-blocking: opening a FIFO must not wait for a writer.
    Descriptor file{::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC)};
    if (file.fd < 0)
        return Unreadable(errno, reason);
    struct stat status;
    if (::fstat(file.fd, &status) != 0)
        return Unreadable(errno, reason);
    if (S_ISDIR(status.st_mode))
        return Unreadable(EISDIR, reason);
    // A FIFO or a device stands where the file should: it is read from no more than a
    // folder is, and left where it stands.
    if (!S_ISREG(status.st_mode)) {
        reason = std::string("it is ") + KindOf(status.st_mode) + ", not a regular file";
        return USERFILE_UNREADABLE;
    }
    const std::string tooLarge =
        "it is larger than the " + SizeText(maxBytes) + " a file of the user may hold";
    if (static_cast<unsigned long long>(status.st_size) > maxBytes) {
        reason = tooLarge;
        return USERFILE_REFUSED;
    }
    std::string bytes;
    bytes.resize(static_cast<std::size_t>(status.st_size) + 1);
    std::size_t filled = 0;
    // One byte more than the file's size: a file that grew meanwhile is seen to be longer.
    while (filled < bytes.size()) {
        const ssize_t got = ::read(file.fd, &bytes[filled], bytes.size() - filled);
        if (got < 0 && errno == EINTR)
            continue;
        if (got < 0)
            return Unreadable(errno, reason);
        if (got == 0)
            break;
        filled += static_cast<std::size_t>(got);
        if (filled == bytes.size() && filled <= maxBytes)
            bytes.resize(std::min(maxBytes + 1, bytes.size() * 2));
    }
    if (filled > maxBytes) {
        reason = tooLarge;
        return USERFILE_REFUSED;
    }
    bytes.resize(filled);
    text.swap(bytes);
    return USERFILE_READ;
}

} // namespace

int RunUserDataFile(LuaPlus::LuaState* state, const std::string& path,
                    const LuaPlus::LuaObject& environment, const std::string& what,
                    std::string& error)
{
    std::string text;
    switch (ReadRegularFile(path, kUserFileMaxBytes, text, error)) {
    case USERFILE_MISSING:
        return USERFILE_STATUS_MISSING;
    case USERFILE_UNREADABLE:
        return LUA_ERRFILE;
    case USERFILE_REFUSED:
        return LUA_ERRSYNTAX;
    case USERFILE_READ:
        break;
    }
    const int status = DataScript::Run(state, text, "@" + path, environment, what, error);
    // A file stopped half-way by a stop signal is no damaged file: it counts as unread
    // (EINTR), so it is neither set aside nor taken for a fresh start.
    if (status != 0 && StopSignal::IsRequested()) {
        error = std::string("reading it was stopped by ") + StopSignal::GetName();
        errno = EINTR;
        return LUA_ERRFILE;
    }
    return status;
}
