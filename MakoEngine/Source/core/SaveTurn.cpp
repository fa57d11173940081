#include "core/SaveTurn.h"

#include "core/AtomicFile.h"
#include "core/Log.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <sstream>

namespace {

// The folder part of path ("." for a bare name).
std::string FolderOf(const std::string& path)
{
    const std::size_t slash = path.rfind('/');
    if (slash == std::string::npos)
        return ".";
    return slash == 0 ? "/" : path.substr(0, slash);
}

// The process that holds the flock of the file with that device and inode, from the system's
// list of locks; 0 when the list does not say.
int HolderOf(dev_t device, ino_t inode)
{
    std::ifstream locks("/proc/locks");
    std::string line;
    while (std::getline(locks, line)) {
        std::istringstream fields(line);
        std::string number, kind, mode, access, where;
        int pid = 0;
        if (!(fields >> number >> kind) || kind != "FLOCK")
            continue;
        if (!(fields >> mode >> access >> pid >> where))
            continue;
        unsigned major = 0, minor = 0;
        unsigned long long node = 0;
        if (std::sscanf(where.c_str(), "%x:%x:%llu", &major, &minor, &node) != 3)
            continue;
        if (node == inode && major == major(device) && minor == minor(device))
            return pid;
    }
    return 0;
}

// The state letter of the process ('R', 'S', 'D', 'T' for stopped, ...); 0 when it is gone.
char StateOf(int pid)
{
    std::ifstream stat("/proc/" + std::to_string(pid) + "/stat");
    std::string text;
    if (!std::getline(stat, text))
        return 0;
    // The name in brackets may hold anything: the state follows its last bracket.
    const std::size_t close = text.rfind(')');
    if (close == std::string::npos || close + 2 >= text.size())
        return 0;
    return text[close + 2];
}

long long NowMs()
{
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace

SaveTurn::SaveTurn(const std::string& path)
{
    const LinkTarget target = FollowLinks(path);
    if (target.error != 0) {
        m_Why = target.reason;
        m_Error = target.error;
        return;
    }
    const std::string folder = FolderOf(target.path);
    m_Fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (m_Fd < 0) {
        m_Error = errno;
        m_Why = "its folder \"" + folder + "\" cannot be opened: " + std::strerror(errno);
        return;
    }
    Wait(folder);
}

void SaveTurn::Wait(const std::string& folder)
{
    struct stat status;
    const bool known = ::fstat(m_Fd, &status) == 0;
    const long long start = NowMs();
    int announced = 0;
    for (;;) {
        if (::flock(m_Fd, LOCK_EX | LOCK_NB) == 0) {
            m_Held = true;
            return;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_Why =
                "the turn to save in \"" + folder + "\" cannot be taken: " + std::strerror(errno);
            return;
        }
        // The holder's write may take long: it is waited for while it is alive and not
        // stopped. A holder the system does not name is waited for a bounded time.
        const int holder = known ? HolderOf(status.st_dev, status.st_ino) : 0;
        const char state = holder > 0 ? StateOf(holder) : 0;
        if (holder == ::getpid()) {
            m_Why = "this copy of the game holds the turn to save in \"" + folder + "\" already";
            return;
        }
        if (state == 'T' || state == 't') {
            m_Why = "another copy of the game (process " + std::to_string(holder) +
                    ") holds the turn to save in \"" + folder + "\" and is stopped";
            return;
        }
        if (state == 0 && NowMs() - start >= kUnknownHolderWaitMs) {
            m_Why = "another process held the turn to save in \"" + folder + "\" for longer than " +
                    std::to_string(kUnknownHolderWaitMs / 1000) + " s";
            return;
        }
        if (announced == 0 || (holder > 0 && holder != announced)) {
            const std::string who =
                holder > 0 ? "another copy of the game (process " + std::to_string(holder) + ")"
                           : std::string("another process");
            Log("The save in \"%s\" waits for its turn: %s is saving there.\n", folder.c_str(),
                who.c_str());
            announced = holder > 0 ? holder : -1;
        }
        const struct timespec step = {0, 5 * 1000000L};
        ::nanosleep(&step, nullptr);
    }
}

SaveTurn::~SaveTurn()
{
    // Closing the folder lets go of its lock.
    if (m_Fd >= 0)
        ::close(m_Fd);
}
