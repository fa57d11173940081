#include "e2e/XvfbServer.h"

#include <fcntl.h>
#include <poll.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <cstdlib>
#include <string>

namespace bbtest {

bool XvfbServer::IsInstalled()
{
    return std::system("command -v Xvfb > /dev/null 2>&1") == 0;
}

XvfbServer::XvfbServer(const std::string& screen, const std::string& logPath, int timeoutMs)
{
    int ready[2];
    if (pipe2(ready, O_CLOEXEC) != 0)
        return;
    m_Pid = fork();
    if (m_Pid == 0) {
        // The display number comes on descriptor 3 (dup2 clears close-on-exec there).
        dup2(ready[1], 3);
        const int log = open(logPath.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (log >= 0) {
            dup2(log, STDOUT_FILENO);
            dup2(log, STDERR_FILENO);
        }
        // No reset when its last client leaves: the game's video start-up opens a probing
        // connection and closes it before it opens its own.
        execlp("Xvfb", "Xvfb", "-displayfd", "3", "-screen", "0", screen.c_str(), "-noreset",
               "-nolisten", "tcp", static_cast<char*>(nullptr));
        _exit(127);
    }
    close(ready[1]);
    std::string number;
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (m_Pid > 0 && number.find('\n') == std::string::npos) {
        const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
                              deadline - std::chrono::steady_clock::now())
                              .count();
        pollfd event{ready[0], POLLIN, 0};
        char bytes[16];
        ssize_t got = 0;
        if (left <= 0 || poll(&event, 1, static_cast<int>(left)) <= 0 ||
            (got = read(ready[0], bytes, sizeof bytes)) <= 0)
            break; // too slow, or the server ended without a display
        number.append(bytes, static_cast<std::size_t>(got));
    }
    close(ready[0]);
    if (number.find('\n') != std::string::npos)
        m_Display = ":" + number.substr(0, number.find('\n'));
}

XvfbServer::~XvfbServer()
{
    if (m_Pid <= 0)
        return;
    kill(m_Pid, SIGTERM);
    int status = 0;
    waitpid(m_Pid, &status, 0);
}

} // namespace bbtest
