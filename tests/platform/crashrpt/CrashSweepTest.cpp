// The crash sweep: for each place a report copies (the four cards, the configuration, the
// log), each thing that can stand there instead of the player's file, and each crash signal,
// a program with the reporter installed crashes. It must be gone within 5 s of the signal,
// write at most what the report text and the plain attachments hold, and list exactly what
// it copied whole: every copy listed is in the report folder with the bytes and the mode of
// its file, nothing else is there, and every plain file beside the hostile one is copied.
// Standard error says where the report went, or that none could be saved; a report whose text
// does not fit leaves no folder. Slow opens, slow reads with a second crash signal among
// them and a failing close are the disk's faults.
#include "crashrpt/CrashRpt.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <csignal>
#include <cstdio>
#include <filesystem>
#include <map>
#include <set>
#include <string>
#include <vector>

#include <fcntl.h>
#include <linux/filter.h>
#include <linux/seccomp.h>
#include <poll.h>
#include <pthread.h>
#include <sys/ioctl.h>
#include <sys/prctl.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace fs = std::filesystem;

namespace {

// The rule: the program ends within 5 s of the crash signal, whatever stands in a place.
constexpr int kExitBudgetMs = 5000;
// The most the report's own text may hold (a subject, a date, 64 frames of backtrace and one
// line per attachment).
constexpr std::uintmax_t kReportTextBytes = 64 * 1024;

struct Place
{
    const char* path; // below the home
    const char* description;
    mode_t mode; // of the plain file the game keeps there
};

const Place kPlaces[] = {
    {"Player Cards/Player1.card", "Player 1 Game Data", 0600},
    {"Player Cards/Player2.card", "Player 2 Game Data", 0600},
    {"Player Cards/Player3.card", "Player 3 Game Data", 0600},
    {"Player Cards/Player4.card", "Player 4 Game Data", 0600},
    {"config/bumperlux.cfg", "Global Config File", 0640},
    {"Technical Support Files/MakoEngine.log", "Engine Log File", 0644},
};
constexpr int kPlaceCount = sizeof kPlaces / sizeof kPlaces[0];

const int kCrashSignals[] = {SIGSEGV, SIGABRT, SIGBUS, SIGFPE, SIGILL};

enum Kind {
    FIFO,
    LINK_TO_FIFO,
    LINK_TO_ZERO,
    FOLDER,
    DANGLING_LINK,
    OTHER_OWNER,
    FULL_DISK, // the file is larger than the space left
    TOO_LARGE, // the file is one byte over what a report copies
    // A plain file, and the disk's fault:
    REPORT_FULL_DISK, // the report's own text does not fit
    SECOND_SIGNAL,    // reads of the file are slow, with a second crash signal among them
    SLOW_OPENS,       // every open takes kSlowOpenMs
    FAILING_CLOSE,    // closing its copy fails (EIO)
    KILLED,           // reads of the file are slow, and SIGKILL comes among them
};
constexpr long kSlowOpenMs = 600;

const char* NameOf(Kind kind)
{
    switch (kind) {
    case FIFO:
        return "FIFO";
    case LINK_TO_FIFO:
        return "LinkToFifo";
    case LINK_TO_ZERO:
        return "LinkToDevZero";
    case FOLDER:
        return "Folder";
    case DANGLING_LINK:
        return "DanglingLink";
    case OTHER_OWNER:
        return "OtherOwner";
    case FULL_DISK:
        return "FullDisk";
    case TOO_LARGE:
        return "TooLarge";
    case REPORT_FULL_DISK:
        return "ReportOnFullDisk";
    case SECOND_SIGNAL:
        return "SecondSignal";
    case SLOW_OPENS:
        return "SlowOpens";
    case FAILING_CLOSE:
        return "FailingClose";
    case KILLED:
        return "KilledDuringACopy";
    }
    return "?";
}

// The file size limit of the crashing program: the space a full disk leaves, else room for
// every copy a report may make, so a copier without a bound cannot fill the test's disk.
constexpr rlim_t kFullDiskBytes = 32 * 1024;
constexpr rlim_t kRoomBytes = crashrpt::kMaxAttachmentBytes + (1 << 20);
constexpr rlim_t kNoRoomForTheText = 300;

// The crash signal sent among slow reads after the one that crashed the program.
int SecondSignal(int number)
{
    return number == SIGSEGV ? SIGABRT : SIGSEGV;
}

// The disk's fault for the crashing thread: a seccomp filter hands each of its system calls to
// a thread of its own (Supervise) that lets it go on, slower or failed.
Kind gFault;
std::string gHostile, gCopy; // the file read slowly; "/" and the name of its copy
pid_t gCrashing;
int gListener = -1, gSecond = 0;

void* Supervise(void*)
{
    char link[64], path[4096];
    for (int reads = 0;;) {
        seccomp_notif call{};
        if (ioctl(gListener, SECCOMP_IOCTL_NOTIF_RECV, &call) != 0)
            continue;
        seccomp_notif_resp answer{call.id, 0, 0, SECCOMP_USER_NOTIF_FLAG_CONTINUE};
        std::snprintf(link, sizeof link, "/proc/self/fd/%llu", call.data.args[0]);
        const std::string file(path, std::max<ssize_t>(0, readlink(link, path, sizeof path)));
        if (gFault == SLOW_OPENS && call.data.nr == SYS_openat)
            usleep(kSlowOpenMs * 1000);
        if ((gFault == SECOND_SIGNAL || gFault == KILLED) && call.data.nr == SYS_read &&
            file == gHostile && (usleep(2000), ++reads == 8))
            syscall(SYS_tgkill, getpid(), gCrashing, gSecond);
        if (gFault == FAILING_CLOSE && call.data.nr == SYS_close &&
            file.find("/Error Report ") != std::string::npos &&
            file.find(gCopy) != std::string::npos)
            answer = {call.id, 0, -EIO, 0};
        ioctl(gListener, SECCOMP_IOCTL_NOTIF_SEND, &answer);
    }
}

void BringDiskFault(Kind kind, const std::string& hostile, int number)
{
    gFault = kind, gHostile = hostile, gCopy = "/" + fs::path(hostile).filename().string();
    gCrashing = static_cast<pid_t>(syscall(SYS_gettid)),
    gSecond = kind == KILLED ? SIGKILL : SecondSignal(number);
    sigset_t all, before;
    sigfillset(&all);
    pthread_sigmask(SIG_SETMASK, &all, &before); // the signals are the crashing thread's
    pthread_t thread;
    pthread_create(&thread, nullptr, &Supervise, nullptr);
    pthread_sigmask(SIG_SETMASK, &before, nullptr);
    sock_filter everyCall = BPF_STMT(BPF_RET | BPF_K, SECCOMP_RET_USER_NOTIF);
    sock_fprog program = {1, &everyCall};
    prctl(PR_SET_NO_NEW_PRIVS, 1, 0, 0, 0);
    gListener = static_cast<int>(
        syscall(SYS_seccomp, SECCOMP_SET_MODE_FILTER, SECCOMP_FILTER_FLAG_NEW_LISTENER, &program));
    if (gListener < 0) // the row fails, saying why, rather than pass without the fault
        std::perror("the disk's fault could not be brought (seccomp)"), _exit(3);
}

std::string ContentOf(int place)
{
    std::string text;
    for (int line = 0; line < 40; ++line)
        text += "return { Name = \"Player " + std::to_string(place) +
                "\", Line = " + std::to_string(line) + " }\n";
    return text;
}

struct Crash
{
    bool gone = false;
    int signal = 0;    // what ended it
    long ms = 0;       // from the fork to its end
    std::string error; // its standard error
};

// Crashes a child with a reporter of reports attached to files, by number, its file size
// limited to limit, the disk's fault kind brought on hostile; kills it when it is not gone
// within the budget.
Crash CrashWith(const std::vector<std::pair<std::string, std::string>>& files,
                const std::string& reports, int number, rlim_t limit, Kind kind,
                const std::string& hostile)
{
    const auto start = std::chrono::steady_clock::now();
    std::fflush(stdout);
    std::fflush(stderr);
    int error[2];
    if (pipe2(error, O_CLOEXEC) != 0)
        return {};
    const pid_t child = fork();
    if (child == 0) {
        dup2(error[1], STDERR_FILENO);
        for (int crash : kCrashSignals)
            std::signal(crash, SIG_DFL); // the program's own end, not the sanitizers' report
        std::signal(SIGXFSZ, SIG_IGN);   // a refused write, as on a full disk
        const rlimit fsize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fsize);
        crashrpt::Handle handle =
            crashrpt::Install(nullptr, "", "Crash Report for bumperlux", nullptr, reports);
        for (const auto& file : files)
            crashrpt::AddFile(handle, file.first, file.second);
        if (kind > REPORT_FULL_DISK)
            BringDiskFault(kind, hostile, number);
        std::raise(number);
        _exit(0);
    }
    close(error[1]);
    Crash crash;
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    pollfd wait = {pidfd, POLLIN, 0};
    crash.gone = pidfd >= 0 && poll(&wait, 1, kExitBudgetMs) == 1;
    if (!crash.gone)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    if (pidfd >= 0)
        close(pidfd);
    crash.signal = WIFSIGNALED(status) ? WTERMSIG(status) : 0;
    fcntl(error[0], F_SETFL, O_NONBLOCK);
    char text[4096];
    for (ssize_t got; (got = read(error[0], text, sizeof text)) > 0;)
        crash.error.append(text, static_cast<std::size_t>(got));
    close(error[0]);
    crash.ms = static_cast<long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                     std::chrono::steady_clock::now() - start)
                                     .count());
    return crash;
}

// The one report folder below parent ("" when there is none or more than one).
std::string OnlyReport(const std::string& parent)
{
    std::vector<std::string> found;
    std::error_code ec;
    for (fs::directory_iterator it(parent, ec), end; !ec && it != end; it.increment(ec))
        if (it->is_directory() && it->path().filename().string().rfind("Error Report ", 0) == 0)
            found.push_back(it->path().string());
    return found.size() == 1 ? found[0] : "";
}

// What the report says of each attachment, by path: the note in its line's last brackets.
std::map<std::string, std::string> Listing(const std::string& text)
{
    std::map<std::string, std::string> notes;
    const std::size_t start = text.find("\nAttached files:\n");
    if (start == std::string::npos)
        return notes;
    std::size_t at = start + 17;
    while (at < text.size() && text[at] == '\t') {
        const std::size_t end = text.find('\n', at);
        const std::string line = text.substr(at + 1, end - at - 1);
        const std::size_t path = line.find(": ");
        const std::size_t note = line.rfind(" (");
        if (path != std::string::npos && note != std::string::npos && note > path)
            notes[line.substr(path + 2, note - path - 2)] =
                line.substr(note + 2, line.size() - note - 3);
        at = end == std::string::npos ? text.size() : end + 1;
    }
    return notes;
}

// The bytes of the plain file at path; "<not a plain file>" for anything else, never waited on.
std::string Slurp(const std::string& path)
{
    const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_NOCTTY | O_CLOEXEC);
    struct stat status
    {
    };
    if (fd < 0 || fstat(fd, &status) != 0 || !S_ISREG(status.st_mode)) {
        if (fd >= 0)
            close(fd);
        return "<not a plain file>";
    }
    std::string text;
    char block[4096];
    ssize_t got;
    while ((got = read(fd, block, sizeof block)) > 0)
        text.append(block, static_cast<std::size_t>(got));
    close(fd);
    return text;
}

// Puts kind at path (where the plain file was), with its helpers in spare.
void MakeHostile(Kind kind, const std::string& path, const std::string& spare)
{
    fs::remove(path);
    switch (kind) {
    case FIFO:
        ASSERT_EQ(0, mkfifo(path.c_str(), 0600));
        break;
    case LINK_TO_FIFO:
        ASSERT_EQ(0, mkfifo(spare.c_str(), 0600));
        fs::create_symlink(spare, path);
        break;
    case LINK_TO_ZERO:
        fs::create_symlink("/dev/zero", path);
        break;
    case FOLDER:
        fs::create_directory(path);
        break;
    case DANGLING_LINK:
        fs::create_symlink(spare, path);
        break;
    case OTHER_OWNER:
        bbtest::WriteFile(path, "return { Name = \"Not yours\" }\n");
        ASSERT_EQ(0, chown(path.c_str(), 65534, 65534));
        break;
    case FULL_DISK:
        bbtest::WriteFile(path, std::string(2 * kFullDiskBytes, 'f'));
        break;
    case REPORT_FULL_DISK:
    case SECOND_SIGNAL:
    case SLOW_OPENS:
    case FAILING_CLOSE:
    case KILLED:
        bbtest::WriteFile(
            path, std::string(kind == SECOND_SIGNAL || kind == KILLED ? 1 << 20 : 4096, 'p'));
        break;
    case TOO_LARGE: {
        bbtest::WriteFile(path, "");
        std::error_code ec;
        fs::resize_file(path, crashrpt::kMaxAttachmentBytes + 1, ec); // sparse: cheap to make
        ASSERT_FALSE(ec) << ec.message();
        break;
    }
    }
}

class CrashSweep : public ::testing::TestWithParam<Kind>
{
};

TEST_P(CrashSweep, TheProgramEndsInTimeAndTheReportListsExactlyWhatItCopiedWhole)
{
    const Kind kind = GetParam();
    if (kind == OTHER_OWNER && geteuid() != 0)
        GTEST_SKIP() << "a file of another owner needs root to be made";
    // Which kinds leave the file a plain one the report copies.
    const bool plainFile = kind == OTHER_OWNER || kind == SECOND_SIGNAL || kind == SLOW_OPENS;
    for (int place = 0; place < kPlaceCount; ++place) {
        long slowest = 0;
        std::uintmax_t most = 0;
        std::string says;
        for (int number : kCrashSignals) {
            // The disk's faults are the same whatever the signal; slow opens and a report too
            // large are the same wherever the file is.
            if ((kind >= SECOND_SIGNAL && number != SIGSEGV) ||
                ((kind == SLOW_OPENS || kind == REPORT_FULL_DISK || kind == KILLED) && place > 0))
                continue;
            SCOPED_TRACE(std::string(kPlaces[place].path) + " " + NameOf(kind) + " signal " +
                         std::to_string(number));
            bbtest::TempHome home;
            std::vector<std::pair<std::string, std::string>> files;
            std::map<std::string, std::string> plain; // path: bytes, of the plain files
            for (int p = 0; p < kPlaceCount; ++p) {
                const std::string path = home.Path() + "/" + kPlaces[p].path;
                files.emplace_back(path, kPlaces[p].description);
                if (p == place) {
                    fs::create_directories(fs::path(path).parent_path());
                    MakeHostile(kind, path, home.Path() + "/spare");
                    if (HasFatalFailure())
                        return;
                    continue;
                }
                bbtest::WriteFile(path, ContentOf(p));
                chmod(path.c_str(), kPlaces[p].mode);
                plain[path] = ContentOf(p);
            }
            const std::string hostile = files[place].first;
            const std::string reports = home.Path() + "/Technical Support Files";
            const rlim_t limit = kind == FULL_DISK          ? kFullDiskBytes
                                 : kind == REPORT_FULL_DISK ? kNoRoomForTheText
                                                            : kRoomBytes;
            const Crash crash = CrashWith(files, reports, number, limit, kind, hostile);
            EXPECT_TRUE(crash.gone) << "still running after " << kExitBudgetMs << " ms";
            EXPECT_TRUE(crash.signal == number ||
                        (kind == SECOND_SIGNAL && crash.signal == SecondSignal(number)) ||
                        (kind == KILLED && crash.signal == SIGKILL))
                << "it ends by a signal that crashed it, not " << crash.signal << ": "
                << crash.error;

            const std::string folder = OnlyReport(reports);
            if (kind == REPORT_FULL_DISK) {
                EXPECT_EQ("", folder) << "a report that does not fit is not kept";
                EXPECT_NE(std::string::npos, crash.error.find("could not be saved")) << crash.error;
                continue;
            }
            ASSERT_NE("", folder) << "no single report folder in " << reports;
            if (kind == KILLED) { // cut short in its first copy: nothing is whole yet
                for (const auto& entry : fs::directory_iterator(folder))
                    EXPECT_EQ(".part", entry.path().extension().string())
                        << entry.path() << " looks whole";
                continue;
            }
            EXPECT_NE(std::string::npos, crash.error.find("saved in \"" + folder)) << crash.error;
            const std::string text = Slurp(folder + "/" + "Error Report.txt");
            const std::map<std::string, std::string> notes = Listing(text);
            EXPECT_EQ(files.size(), notes.size()) << text;

            std::uintmax_t written = 0, allowed = kReportTextBytes;
            std::set<std::string> present;
            for (const auto& entry : fs::directory_iterator(folder)) {
                present.insert(entry.path().filename().string());
                written += entry.is_regular_file() ? entry.file_size() : 0;
            }
            std::set<std::string> listed = {"Error Report.txt"};
            for (const auto& file : files) {
                const auto note = notes.find(file.first);
                ASSERT_NE(notes.end(), note) << file.first << " is not listed:\n" << text;
                const bool copied = note->second.rfind("copied as \"", 0) == 0;
                const std::string name = fs::path(file.first).filename().string();
                if (!copied) {
                    EXPECT_TRUE(file.first == hostile ||
                                (kind == SLOW_OPENS &&
                                 note->second == "not copied: the report ran out of time"))
                        << file.first << ", a plain file, is listed as (" << note->second << ")";
                    EXPECT_EQ(0u, present.count(name)) << "a piece of " << file.first << " is kept";
                    continue;
                }
                EXPECT_EQ("copied as \"" + name + "\"", note->second);
                listed.insert(name);
                const std::string copy = folder + "/" + name;
                const std::string source =
                    file.first == hostile ? Slurp(hostile) : plain[file.first];
                EXPECT_TRUE(file.first != hostile || plainFile)
                    << "a " << NameOf(kind) << " is listed as copied";
                EXPECT_EQ(source, Slurp(copy)) << copy << " is not its file, whole";
                struct stat original
                {
                }, copied_status{};
                stat(file.first.c_str(), &original);
                stat(copy.c_str(), &copied_status);
                EXPECT_EQ(original.st_mode & 0777, copied_status.st_mode & 0777)
                    << copy << " does not keep its file's mode";
                allowed += source.size();
            }
            EXPECT_EQ(listed, present) << "the report folder holds what the report lists";
            EXPECT_LE(written, allowed);

            slowest = std::max(slowest, crash.ms);
            most = std::max(most, written);
            const auto note = notes.find(hostile);
            says = note == notes.end() ? "not listed" : note->second;
        }
        // One row of the sweep's table: the slowest end and the most written of the signals.
        std::printf("crash sweep: %-40s %-14s %5ld ms %9ju bytes  (%s)\n", kPlaces[place].path,
                    NameOf(kind), slowest, most, says.c_str());
    }
}

INSTANTIATE_TEST_SUITE_P(EveryHostileKind, CrashSweep,
                         ::testing::Values(FIFO, LINK_TO_FIFO, LINK_TO_ZERO, FOLDER, DANGLING_LINK,
                                           OTHER_OWNER, FULL_DISK, TOO_LARGE, REPORT_FULL_DISK,
                                           SECOND_SIGNAL, SLOW_OPENS, FAILING_CLOSE, KILLED),
                         [](const ::testing::TestParamInfo<Kind>& info) {
                             return std::string(NameOf(info.param));
                         });

} // namespace
