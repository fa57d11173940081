#include "e2e/ProgramRun.h"

#include "support/TempHome.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/inotify.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <thread>

namespace fs = std::filesystem;

namespace bbtest {

namespace {

int gRunCount = 0;

using Clock = std::chrono::steady_clock;

int MillisecondsLeft(Clock::time_point deadline)
{
    const auto left =
        std::chrono::duration_cast<std::chrono::milliseconds>(deadline - Clock::now());
    return static_cast<int>(std::max<std::chrono::milliseconds::rep>(0, left.count()));
}

// True when the file holds text inside a line that is already complete: a line still
// being written never counts.
bool HoldsLine(const std::string& path, const std::string& text)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return false;
    std::ostringstream s;
    s << in.rdbuf();
    const std::string all = s.str();
    for (std::size_t at = all.find(text); at != std::string::npos; at = all.find(text, at + 1)) {
        if (all.find('\n', at + text.size()) != std::string::npos)
            return true;
    }
    return false;
}

// Watches the file's folder, or while that is missing the nearest folder above it that
// exists, for anything that could make the line appear.
void WatchTowards(int notify, const std::string& path)
{
    fs::path folder = fs::path(path).parent_path();
    std::error_code ec;
    while (!folder.empty() && folder != folder.root_path() && !fs::is_directory(folder, ec))
        folder = folder.parent_path();
    if (!folder.empty())
        inotify_add_watch(notify, folder.c_str(),
                          IN_CREATE | IN_MODIFY | IN_CLOSE_WRITE | IN_MOVED_TO);
}

} // namespace

ProgramRun::ProgramRun(const std::vector<std::string>& args)
{
    Start(std::string(BB_BINARY_DIR) + "/bumperlux", {}, args, nullptr);
}

ProgramRun::ProgramRun(const std::string& program, const std::vector<std::string>& args)
{
    Start(program, {}, args, nullptr);
}

ProgramRun::ProgramRun(const std::vector<std::string>& args, const std::string& folder)
{
    Start(std::string(BB_BINARY_DIR) + "/bumperlux", {}, args, nullptr, folder);
}

ProgramRun::ProgramRun(const std::vector<std::string>& wrapper,
                       const std::vector<std::string>& args, const std::string& videoDriver)
{
    Start(std::string(BB_BINARY_DIR) + "/bumperlux", wrapper, args, videoDriver.c_str());
}

void ProgramRun::Start(const std::string& program, const std::vector<std::string>& wrapper,
                       const std::vector<std::string>& args, const char* videoDriver,
                       const std::string& folder)
{
    std::string home = getenv("HOME") ? getenv("HOME") : "/tmp";
    ++gRunCount;
    m_OutPath = home + "/run" + std::to_string(gRunCount) + ".out";
    m_ErrPath = home + "/run" + std::to_string(gRunCount) + ".err";
    // Close-on-exec, so that a program started later does not hold this one's input open.
    int pipeFds[2];
    if (pipe2(pipeFds, O_CLOEXEC) != 0)
        throw std::runtime_error("pipe failed");
    m_Pid = fork();
    if (m_Pid < 0)
        throw std::runtime_error("fork failed");
    if (m_Pid == 0) {
        dup2(pipeFds[0], STDIN_FILENO);
        int out = open(m_OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(m_ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        close(out);
        close(err);
        if (!folder.empty() && chdir(folder.c_str()) != 0)
            _exit(126);
        std::vector<char*> argv;
        for (const std::string& w : wrapper)
            argv.push_back(const_cast<char*>(w.c_str()));
        argv.push_back(const_cast<char*>(program.c_str()));
        for (const std::string& a : args)
            argv.push_back(const_cast<char*>(a.c_str()));
        argv.push_back(nullptr);
        if (!videoDriver)
            setenv("SDL_VIDEODRIVER", "dummy", 0); // a driver the caller chose stays
        else if (*videoDriver)
            setenv("SDL_VIDEODRIVER", videoDriver, 1);
        else
            unsetenv("SDL_VIDEODRIVER");
        setenv("SDL_AUDIODRIVER", "dummy", 0);
        execvp(argv[0], argv.data());
        _exit(127);
    }
    close(pipeFds[0]);
    m_Input = pipeFds[1];
    m_PidFd = static_cast<int>(syscall(SYS_pidfd_open, m_Pid, 0));
}

ProgramRun::~ProgramRun()
{
    CloseInput();
    if (m_Pid > 0)
        Wait(0);
}

void ProgramRun::Send(const std::string& text)
{
    if (m_Input >= 0 && write(m_Input, text.data(), text.size()) < 0)
        throw std::runtime_error("cannot write to the program");
}

void ProgramRun::CloseInput()
{
    if (m_Input >= 0)
        close(m_Input);
    m_Input = -1;
}

bool ProgramRun::HasEnded() const
{
    if (m_Pid <= 0)
        return true;
    siginfo_t info{};
    return waitid(P_PID, static_cast<id_t>(m_Pid), &info, WEXITED | WNOHANG | WNOWAIT) != 0 ||
           info.si_pid != 0;
}

void ProgramRun::WaitForEnd(int timeoutMs) const
{
    if (m_PidFd >= 0) {
        pollfd end{m_PidFd, POLLIN, 0};
        poll(&end, 1, timeoutMs);
        return;
    }
    // Without process file descriptors (kernels before 5.3): look now and then.
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    while (!HasEnded() && Clock::now() < deadline)
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
}

int ProgramRun::Wait(int timeoutMs)
{
    if (m_Pid <= 0)
        return -1;
    WaitForEnd(timeoutMs);
    int status = 0;
    const bool ended = waitpid(m_Pid, &status, WNOHANG) == m_Pid;
    if (!ended) {
        kill(m_Pid, SIGKILL);
        waitpid(m_Pid, &status, 0);
    }
    m_Pid = -1;
    if (m_PidFd >= 0)
        close(m_PidFd);
    m_PidFd = -1;
    return ended && WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

void ProgramRun::Signal(int signalNumber)
{
    if (m_Pid > 0)
        kill(m_Pid, signalNumber);
}

int ProgramRun::CountOpenFiles() const
{
    if (m_Pid <= 0)
        return -1;
    std::error_code error;
    int count = 0;
    for (std::filesystem::directory_iterator it("/proc/" + std::to_string(m_Pid) + "/fd", error);
         !error && it != std::filesystem::directory_iterator(); it.increment(error))
        ++count;
    return error ? -1 : count;
}

bool ProgramRun::WaitForLine(const std::string& path, const std::string& text, int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    const int notify = inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
    bool found = false;
    for (;;) {
        if (notify >= 0)
            WatchTowards(notify, path);
        // Whether it had ended is read first: a line written just before the end still counts.
        const bool ended = HasEnded();
        found = HoldsLine(path, text);
        const int left = MillisecondsLeft(deadline);
        if (found || ended || left == 0)
            break;
        pollfd events[2] = {{notify, POLLIN, 0}, {m_PidFd, POLLIN, 0}};
        // Without change notices, look again every few milliseconds.
        poll(events, 2, notify >= 0 ? left : std::min(left, 10));
        char drain[4096];
        while (notify >= 0 && read(notify, drain, sizeof drain) > 0) {
        }
    }
    if (notify >= 0)
        close(notify);
    return found;
}

bool ProgramRun::WaitForLogLine(const std::string& text, int timeoutMs)
{
    return WaitForLine(GameLogPath(), text, timeoutMs);
}

bool ProgramRun::WaitForErrorLine(const std::string& text, int timeoutMs)
{
    return WaitForLine(m_ErrPath, text, timeoutMs);
}

bool ProgramRun::WaitForOutputLine(const std::string& text, int timeoutMs)
{
    return WaitForLine(m_OutPath, text, timeoutMs);
}

namespace {

// Whether the process has a timer that signals SIGXCPU: a data file's budget while it runs.
bool HasBudgetTimer(int pid)
{
    std::ifstream in("/proc/" + std::to_string(pid) + "/timers");
    std::string line;
    while (std::getline(in, line))
        if (line.rfind("signal: " + std::to_string(SIGXCPU) + "/", 0) == 0)
            return true;
    return false;
}

} // namespace

bool ProgramRun::WaitForDataFileRun(int timeoutMs)
{
    const auto deadline = Clock::now() + std::chrono::milliseconds(timeoutMs);
    for (;;) {
        const bool ended = HasEnded();
        if (HasBudgetTimer(m_Pid))
            return true;
        if (ended || MillisecondsLeft(deadline) == 0)
            return false;
        // The timer gives no notice: look again each millisecond (or at once when the
        // program ends).
        pollfd end{m_PidFd, POLLIN, 0};
        poll(&end, 1, 1);
    }
}

std::string ProgramRun::Output() const
{
    return ReadFile(m_OutPath);
}

std::string ProgramRun::Errors() const
{
    return ReadFile(m_ErrPath);
}

std::string GameFolderCopy(const std::string& home)
{
    const std::string folder = home + "/game";
    fs::create_directories(folder);
    fs::copy(std::string(BB_BINARY_DIR) + "/Site", folder + "/Site", fs::copy_options::recursive);
    fs::copy(std::string(BB_BINARY_DIR) + "/Assets", folder + "/Assets",
             fs::copy_options::recursive);
    return folder;
}

bool PackGameFolder(const std::string& folder)
{
    const std::string zip = "cd '" + folder + "/Assets' && zip -qrX ../bumperlux.fun .";
    if (std::system(zip.c_str()) != 0)
        return false;
    fs::remove_all(folder + "/Assets");
    return true;
}

std::string GameLogPath()
{
    return std::string(getenv("XDG_DATA_HOME")) +
           "/bumperlux Documents/Technical Support Files/MakoEngine.log";
}

std::string GameConfigPath()
{
    return std::string(getenv("XDG_CONFIG_HOME")) + "/tessarine/bumperlux/bumperlux.cfg";
}

std::string CardPath(int slot)
{
    return std::string(getenv("XDG_DATA_HOME")) + "/bumperlux Documents/Player Cards/Player" +
           std::to_string(slot) + ".card";
}

std::string CrashReports()
{
    std::string all;
    std::error_code ec;
    for (fs::directory_iterator it(fs::path(GameLogPath()).parent_path(), ec), end;
         !ec && it != end; it.increment(ec)) {
        const fs::path report = it->path() / "Error Report.txt";
        if (fs::is_regular_file(report, ec))
            all += "== " + it->path().string() + "\n" + ReadFile(report.string());
    }
    return all;
}

std::string AskStateUntil(ProgramRun& run, const std::vector<std::string>& wanted)
{
    static int count = 0;
    std::string answer;
    for (int i = 0; i < 300 && run.IsRunning(); ++i) {
        const std::string mark = "state #" + std::to_string(++count) + ": ";
        run.Send("io.stderr:write('" + mark +
                 "' .. Screens.current.name .. ' ' .. tostring(GetGameState()) .. '\\n')\n");
        if (!run.WaitForErrorLine(mark, 1000))
            continue;
        const std::string errors = run.Errors();
        const std::size_t at = errors.find(mark) + mark.size();
        answer = errors.substr(at, errors.find('\n', at) - at);
        for (const std::string& start : wanted)
            if (answer.compare(0, start.size(), start) == 0)
                return start;
    }
    return answer;
}

bool ReachScreen(ProgramRun& run, const std::string& line, const std::string& screen)
{
    static int count = 0;
    run.Send(line);
    for (int i = 0; i < 240 && run.IsRunning(); ++i) {
        const std::string mark = "screen #" + std::to_string(++count) + ": ";
        run.Send("io.stderr:write('" + mark + "' .. Screens.current.name .. '\\n')\n");
        if (run.WaitForErrorLine(mark + screen, 250))
            return true;
    }
    return false;
}

} // namespace bbtest
