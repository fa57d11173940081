#include "e2e/ProgramRun.h"

#include "support/TempHome.h"

#include <fcntl.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <stdexcept>
#include <thread>

namespace bbtest {

namespace {
int gRunCount = 0;
}

ProgramRun::ProgramRun(const std::vector<std::string>& args)
{
    Start({}, args, nullptr);
}

ProgramRun::ProgramRun(const std::vector<std::string>& wrapper,
                       const std::vector<std::string>& args, const std::string& videoDriver)
{
    Start(wrapper, args, videoDriver.c_str());
}

void ProgramRun::Start(const std::vector<std::string>& wrapper,
                       const std::vector<std::string>& args, const char* videoDriver)
{
    std::string home = getenv("HOME") ? getenv("HOME") : "/tmp";
    ++gRunCount;
    m_OutPath = home + "/run" + std::to_string(gRunCount) + ".out";
    m_ErrPath = home + "/run" + std::to_string(gRunCount) + ".err";
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    std::string program = std::string(BB_BINARY_DIR) + "/bumperlux";
    m_Pid = fork();
    if (m_Pid < 0)
        throw std::runtime_error("fork failed");
    if (m_Pid == 0) {
        dup2(pipeFds[0], STDIN_FILENO);
        close(pipeFds[0]);
        close(pipeFds[1]);
        int out = open(m_OutPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        int err = open(m_ErrPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
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

int ProgramRun::Wait(int timeoutMs)
{
    if (m_Pid <= 0)
        return -1;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    int status = 0;
    for (;;) {
        pid_t done = waitpid(m_Pid, &status, WNOHANG);
        if (done == m_Pid)
            break;
        if (std::chrono::steady_clock::now() >= deadline) {
            kill(m_Pid, SIGKILL);
            waitpid(m_Pid, &status, 0);
            m_Pid = -1;
            return -1;
        }
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    }
    m_Pid = -1;
    return WIFEXITED(status) ? WEXITSTATUS(status) : -1;
}

std::string ProgramRun::Output() const
{
    return ReadFile(m_OutPath);
}

std::string ProgramRun::Errors() const
{
    return ReadFile(m_ErrPath);
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

} // namespace bbtest
