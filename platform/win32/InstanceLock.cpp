#include "win32/InstanceLock.h"

#include <cerrno>
#include <fcntl.h>
#include <map>
#include <sys/file.h>
#include <unistd.h>

namespace {

// Descriptors of the lock files this process holds, by path. Kept open for the life of
// the process: closing one would release its lock.
std::map<std::string, int>& HeldLocks()
{
    static std::map<std::string, int> held;
    return held;
}

} // namespace

InstanceLockResult TakeInstanceLock(const std::string& path)
{
    if (HeldLocks().count(path))
        return INSTANCE_LOCK_TAKEN;
    int fd = open(path.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0600);
    if (fd < 0)
        return INSTANCE_LOCK_UNAVAILABLE;
    if (flock(fd, LOCK_EX | LOCK_NB) != 0) {
        int error = errno;
        close(fd);
        errno = error;
        return error == EWOULDBLOCK ? INSTANCE_LOCK_HELD_ELSEWHERE : INSTANCE_LOCK_UNAVAILABLE;
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
