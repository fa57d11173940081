#include "core/SaveTurn.h"

#include <fcntl.h>
#include <sys/file.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>

namespace {

// The folder part of path ("." for a bare name).
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

} // namespace

SaveTurn::SaveTurn(const std::string& path, int waitMs)
{
    m_Fd = ::open(FolderOf(path).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_Fd < 0)
        return;
    const int kStepMs = 5;
    for (int waited = 0;; waited += kStepMs) {
        if (::flock(m_Fd, LOCK_EX | LOCK_NB) == 0) {
            m_Held = true;
            return;
        }
        if ((errno != EWOULDBLOCK && errno != EINTR) || waited >= waitMs)
            return;
        const struct timespec step = {0, kStepMs * 1000000L};
        ::nanosleep(&step, nullptr);
    }
}

SaveTurn::~SaveTurn()
{
    // Closing the folder lets go of its lock.
    if (m_Fd >= 0)
        ::close(m_Fd);
}
