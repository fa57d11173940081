#include "win32/InstanceLock.h"

#include <cerrno>
#include <cstring>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

// Descriptors of the lock files this process holds, by path. Kept open for the life of
// the process: closing one would release its lock.
std::map<std::string, int>& HeldLocks()
{
    static std::map<std::string, int> held;
    return held;
}

InstanceLockResult Unavailable(int error, const std::string& why, std::string* reason)
{
    if (reason)
        *reason = why;
    errno = error;
    return INSTANCE_LOCK_UNAVAILABLE;
}

InstanceLockResult NotALockFile(const std::string& path, const struct stat& status,
                                std::string* reason)
{
    const int error = S_ISDIR(status.st_mode) ? EISDIR : S_ISREG(status.st_mode) ? EPERM : EINVAL;
    const std::string misfit = LockFileMisfit(path, status);
    return Unavailable(
        error, "it is " + misfit + (S_ISREG(status.st_mode) ? "" : ", not a plain file"), reason);
}

} // namespace

std::string LockFileMisfit(const std::string& path, const struct stat& status)
{
    if (S_ISLNK(status.st_mode)) {
        char text[4096];
        const ssize_t length = ::readlink(path.c_str(), text, sizeof text);
        if (length < 0)
            return "a link";
        return "a link to \"" + std::string(text, static_cast<std::size_t>(length)) + "\"";
    }
    if (S_ISFIFO(status.st_mode))
        return "a FIFO";
    if (S_ISDIR(status.st_mode))
        return "a folder";
    if (S_ISSOCK(status.st_mode))
        return "a socket";
    if (!S_ISREG(status.st_mode))
        return "a device";
    if (status.st_uid != ::geteuid())
        return "a file of another user";
    if (status.st_nlink != 1)
        return "a second name of another file";
    return "";
}

InstanceLockResult TakeInstanceLock(const std::string& path, std::string* reason)
{
    if (HeldLocks().count(path))
        return INSTANCE_LOCK_TAKEN;
    // What stands at the place is looked at before it is opened, so that nothing but a plain
    // file is ever opened (opening a device may do something); the open itself follows no
    // link and never waits, and what it opened is looked at again.
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && !LockFileMisfit(path, status).empty())
        return NotALockFile(path, status, reason);
    const int fd = ::open(path.c_str(),
                          O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC, 0600);
    if (fd < 0) {
        const int error = errno;
        if (::lstat(path.c_str(), &status) == 0 && !LockFileMisfit(path, status).empty())
            return NotALockFile(path, status, reason);
        return Unavailable(error, std::strerror(error), reason);
    }
    const bool looked = ::fstat(fd, &status) == 0;
    if (!looked || !LockFileMisfit(path, status).empty()) {
        const int error = errno;
        ::close(fd);
        return looked ? NotALockFile(path, status, reason)
                      : Unavailable(error, std::strerror(error), reason);
    }
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        const int error = errno;
        ::close(fd);
        if (error == EWOULDBLOCK) {
            errno = error;
            return INSTANCE_LOCK_HELD_ELSEWHERE;
        }
        return Unavailable(error, std::strerror(error), reason);
    }
    HeldLocks()[path] = fd;
    return INSTANCE_LOCK_TAKEN;
}

bool IsInstanceLockHeld(const std::string& path)
{
    return HeldLocks().count(path) != 0;
}

void ReleaseInstanceLock(const std::string& path)
{
    auto found = HeldLocks().find(path);
    if (found == HeldLocks().end())
        return;
    flock(found->second, LOCK_UN);
    close(found->second);
    HeldLocks().erase(found);
}
