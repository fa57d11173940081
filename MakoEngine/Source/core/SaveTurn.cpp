#include "core/SaveTurn.h"

#include "core/AtomicFile.h"
#include "core/Log.h"
#include "core/StopSignal.h"
#include "win32/InstanceLock.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <sys/sysmacros.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <set>
#include <sstream>

const char* const SaveTurn::kLockName = ".save-turn.lock";
const char* const SaveTurn::kRecordTag = "bumperlux save turn:";

namespace {

// The budget of the save pass that is running (see SaveTurn::Pass).
int gPassDepth = 0;
long long gPassDeadline = 0;
// The game's own folders (KeepLocksIn), without a trailing '/'; empty until named.
std::set<std::string>& OwnFolders()
{
    static std::set<std::string> folders;
    return folders;
}

std::string WithoutTrailingSlash(std::string folder)
{
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

// When a wait first saw the stop signal that is still asked for; 0 when none.
long long gStopSeenAt = 0;

// The process that holds the flock of the file with that device and inode, from the system's
// list of locks; 0 when the list does not name it (a holder in another process namespace).
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

// What the system says of a process: its state letter ('R', 'S', 'T' for stopped, ...; 0 when
// it is gone), its name and its start time (clock ticks since boot, the same in every process
// namespace).
struct ProcessState
{
    char state = 0;
    std::string name;
    unsigned long long start = 0;
};

ProcessState StateOf(const std::string& pid)
{
    ProcessState process;
    std::ifstream stat("/proc/" + pid + "/stat");
    std::string text;
    if (!std::getline(stat, text))
        return process;
    // The name in brackets may hold anything: the fields follow its last bracket.
    const std::size_t open = text.find('(');
    const std::size_t close = text.rfind(')');
    if (open == std::string::npos || close == std::string::npos || close + 2 >= text.size())
        return process;
    process.name = text.substr(open + 1, close - open - 1);
    std::istringstream fields(text.substr(close + 2));
    std::string field;
    // State, then 18 fields to the start time (the 22nd field of the line).
    for (int i = 1; i <= 20 && fields >> field; ++i) {
        if (i == 1)
            process.state = field[0];
        if (i == 20)
            process.start = std::strtoull(field.c_str(), nullptr, 10);
    }
    return process;
}

// The holder's record in the lock file: its start time, or 0 when it holds none.
unsigned long long RecordedStart(int fd)
{
    char text[128];
    const ssize_t length = ::pread(fd, text, sizeof text - 1, 0);
    if (length <= 0)
        return 0;
    text[length] = '\0';
    const std::size_t tag = std::strlen(SaveTurn::kRecordTag);
    if (std::strncmp(text, SaveTurn::kRecordTag, tag) != 0)
        return 0;
    unsigned long long start = 0;
    int pid = 0;
    if (std::sscanf(text + tag, " pid %d start %llu", &pid, &start) != 2)
        return 0;
    return start;
}

// The end of the wait that starts now: the pass's budget, cut short by a stop signal.
long long WaitDeadline(long long start)
{
    long long deadline = gPassDepth > 0 ? gPassDeadline : start + SaveTurn::kPassBudgetMs;
    if (!StopSignal::IsRequested()) {
        gStopSeenAt = 0;
        return deadline;
    }
    if (gStopSeenAt == 0)
        gStopSeenAt = StopSignal::NowMs();
    return std::min(deadline, gStopSeenAt + SaveTurn::kStopGraceMs);
}

std::string CopyText(int pid)
{
    return pid > 0 ? "another copy of the game (process " + std::to_string(pid) + ")"
                   : std::string("another copy of the game");
}

} // namespace

SaveTurn::Pass::Pass()
{
    if (gPassDepth++ == 0)
        gPassDeadline = StopSignal::NowMs() + kPassBudgetMs;
}

SaveTurn::Pass::~Pass()
{
    --gPassDepth;
}

void SaveTurn::KeepLocksIn(const std::vector<std::string>& folders)
{
    OwnFolders().clear();
    for (const std::string& folder : folders)
        OwnFolders().insert(WithoutTrailingSlash(folder));
}

SaveTurn::SaveTurn(const std::string& path, Patience patience)
{
    const LinkTarget target = FollowLinks(path);
    if (target.error != 0) {
        m_Why = target.reason;
        m_Error = target.error;
        return;
    }
    const std::string folder = FolderOf(target.path);
    m_Folder = folder;
    if (OpenLock(folder))
        Wait(folder, patience);
}

bool SaveTurn::OpenLock(const std::string& folder)
{
    m_LockPath = folder + "/" + kLockName;
    const std::string& path = m_LockPath;
    // Only a plain file of this user's is ever opened: a link in its place is taken away (the
    // name is the game's; what it leads to is untouched), anything else is refused.
    struct stat status;
    if (::lstat(path.c_str(), &status) == 0 && S_ISLNK(status.st_mode))
        ::unlink(path.c_str());
    else if (::lstat(path.c_str(), &status) == 0 && !LockFileMisfit(path, status).empty()) {
        m_Why =
            "the lock of the turn to save, \"" + path + "\", is " + LockFileMisfit(path, status);
        return false;
    }
    m_Fd = ::open(path.c_str(), O_RDWR | O_CREAT | O_NOFOLLOW | O_NONBLOCK | O_NOCTTY | O_CLOEXEC,
                  0600);
    if (m_Fd < 0) {
        const int error = errno;
        if (error == ENOENT || error == ENOTDIR || error == EACCES || error == EPERM ||
            error == EROFS || error == ENOSPC || error == EDQUOT)
            m_Error = error;
        m_Why = "the lock of the turn to save, \"" + path +
                "\", cannot be opened: " + std::strerror(error);
        return false;
    }
    if (::fstat(m_Fd, &status) != 0 || !LockFileMisfit(path, status).empty()) {
        m_Why =
            "the lock of the turn to save, \"" + path + "\", is " + LockFileMisfit(path, status);
        return false;
    }
    // Made under a wide umask by an older copy: no other user may open it.
    if ((status.st_mode & 077) != 0)
        ::fchmod(m_Fd, 0600);
    return true;
}

void SaveTurn::Wait(const std::string& folder, Patience patience)
{
    struct stat status;
    bool known = ::fstat(m_Fd, &status) == 0;
    const long long start = StopSignal::NowMs();
    int announced = 0;
    int reopened = 0;
    int lastHolder = 0;
    long long unrecordedSince = 0; // the first look that found the holder without its record
    for (;;) {
        if (::flock(m_Fd, LOCK_EX | LOCK_NB) == 0) {
            // Another copy may have put a fresh lock file in place of a link just now: the
            // turn is the lock of the file that stands at the place.
            struct stat now;
            if (::stat(m_LockPath.c_str(), &now) == 0 && now.st_dev == status.st_dev &&
                now.st_ino == status.st_ino) {
                m_Held = true;
                WriteRecord();
                return;
            }
            ::close(m_Fd);
            m_Fd = -1;
            // Replaced again and again (each holder of a folder not the game's removes its lock
            // file as it lets go): bounded as every wait, by the budget, or at once for a turn
            // that may not wait.
            if (++reopened > 1 &&
                (patience == NO_WAIT || StopSignal::NowMs() >= WaitDeadline(start))) {
                m_Why =
                    "the lock of the turn to save, \"" + m_LockPath + "\", keeps being replaced";
                return;
            }
            if (!OpenLock(folder))
                return;
            known = ::fstat(m_Fd, &status) == 0;
            continue;
        }
        if (errno != EWOULDBLOCK && errno != EINTR) {
            m_Why =
                "the turn to save in \"" + folder + "\" cannot be taken: " + std::strerror(errno);
            return;
        }
        const int holder = known ? HolderOf(status.st_dev, status.st_ino) : 0;
        const bool copy = IsCopy(holder);
        // A holder is given its grace to show its record from the first look that finds it
        // without one: copies handing the turn on leave it so for a moment (just taken, or
        // letting go). A look that finds the record starts the grace afresh, so the time this
        // copy itself was kept from looking (a busy machine) never counts against the holder.
        if (copy || holder != lastHolder)
            unrecordedSince = 0;
        lastHolder = holder;
        if (!copy && unrecordedSince == 0)
            unrecordedSince = StopSignal::NowMs();
        if (GiveUp(folder, holder, copy, StopSignal::NowMs() - start,
                   copy ? 0 : StopSignal::NowMs() - unrecordedSince, patience))
            return;
        if (announced != (holder > 0 ? holder : -1) && copy) {
            Log("The save in \"%s\" waits for its turn: %s is saving there.\n", folder.c_str(),
                CopyText(holder).c_str());
            announced = holder > 0 ? holder : -1;
        }
        const struct timespec step = {0, 5 * 1000000L};
        ::nanosleep(&step, nullptr);
    }
}

bool SaveTurn::IsCopy(int holder) const
{
    // A copy of the game has left its record (its start time) in the file; the holder the
    // system names must be the one that wrote it.
    const unsigned long long recorded = RecordedStart(m_Fd);
    if (holder <= 0)
        return recorded != 0;
    return recorded != 0 && recorded == StateOf(std::to_string(holder)).start;
}

bool SaveTurn::GiveUp(const std::string& folder, int holder, bool copy, long long waitedMs,
                      long long unrecordedMs, Patience patience)
{
    const ProcessState process = StateOf(holder > 0 ? std::to_string(holder) : "0");
    const std::string who =
        copy          ? CopyText(holder)
        : holder <= 0 ? std::string("another process")
        : process.name.empty()
            ? "another program (process " + std::to_string(holder) + ")"
            : "another program (process " + std::to_string(holder) + ", \"" + process.name + "\")";
    // A holder without its record that is running (or in the middle of a write) may be a copy
    // kept from the processor between taking the lock and writing its record, or between
    // clearing it and letting go: it is waited for within the budget, as a copy is.
    const bool running = process.state == 'R' || process.state == 'D';
    if (holder == ::getpid())
        m_Why = "this copy of the game holds the turn to save in \"" + folder + "\" already";
    else if (copy && (process.state == 'T' || process.state == 't'))
        m_Why = CopyText(holder) + " holds the turn to save in \"" + folder + "\" and is stopped";
    else if (!copy && unrecordedMs >= kRecordGraceMs && !running)
        // The process the system names may have passed the lock on and ended (flock(1)).
        m_Why = who + " holds the lock of the turn to save in \"" + folder + "\"";
    else if (StopSignal::IsRequested() &&
             StopSignal::NowMs() >= WaitDeadline(StopSignal::NowMs() - waitedMs))
        m_Why = std::string(StopSignal::GetName()) + " came while this copy waited for " + who +
                " saving in \"" + folder + "\"";
    else if (patience == NO_WAIT ||
             StopSignal::NowMs() >= WaitDeadline(StopSignal::NowMs() - waitedMs))
        m_Why = who + " was saving in \"" + folder + "\" for as long as this save could wait";
    return !m_Why.empty();
}

void SaveTurn::WriteRecord()
{
    const ProcessState self = StateOf("self");
    char record[128];
    const int length = std::snprintf(record, sizeof record, "%s pid %d start %llu\n", kRecordTag,
                                     static_cast<int>(::getpid()), self.start);
    // A record that cannot be written only makes a waiting copy take this one for another
    // program: it then keeps its file and says so.
    if (::ftruncate(m_Fd, 0) == 0 && length > 0)
        (void)!::pwrite(m_Fd, record, static_cast<std::size_t>(length), 0);
}

SaveTurn::~SaveTurn()
{
    if (m_Fd < 0)
        return;
    // The record goes with the turn; closing the file lets go of its lock. Outside the game's
    // own folders the lock file goes too (a copy waiting on it then opens the file that
    // stands at the place, or makes one).
    if (m_Held) {
        struct stat held, now;
        if (!OwnFolders().empty() && OwnFolders().count(WithoutTrailingSlash(m_Folder)) == 0 &&
            ::fstat(m_Fd, &held) == 0 && ::lstat(m_LockPath.c_str(), &now) == 0 &&
            held.st_dev == now.st_dev && held.st_ino == now.st_ino)
            ::unlink(m_LockPath.c_str());
        (void)!::ftruncate(m_Fd, 0);
    }
    ::close(m_Fd);
}
