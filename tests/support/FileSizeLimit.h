#pragma once
// A full disk without a full disk: runs code in a child process whose files may not grow
// beyond a size limit, so that writes past it fail (EFBIG, "File too large") the way they
// fail when the disk fills up. The child's standard output (where the log echoes) comes
// back to the caller.
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdio>
#include <functional>
#include <stdexcept>
#include <string>

namespace bbtest {

struct LimitedRun
{
    int status = -1;    // what body returned; -1 when the child did not end normally
    std::string output; // what the child wrote to standard output
};

inline LimitedRun RunWithFileSizeLimit(rlim_t limit, const std::function<int()>& body)
{
    int fds[2];
    if (pipe(fds) != 0)
        throw std::runtime_error("pipe failed");
    std::fflush(stdout);
    std::fflush(stderr);
    pid_t pid = fork();
    if (pid < 0)
        throw std::runtime_error("fork failed");
    if (pid == 0) {
        close(fds[0]);
        dup2(fds[1], STDOUT_FILENO);
        close(fds[1]);
        std::signal(SIGXFSZ, SIG_IGN); // a refused write, not the end of the process
        rlimit fsize = {limit, limit};
        setrlimit(RLIMIT_FSIZE, &fsize);
        int status = body();
        std::fflush(stdout);
        _exit(status);
    }
    close(fds[1]);
    LimitedRun run;
    char buffer[4096];
    ssize_t got;
    while ((got = read(fds[0], buffer, sizeof buffer)) > 0)
        run.output.append(buffer, static_cast<std::size_t>(got));
    close(fds[0]);
    int status = 0;
    waitpid(pid, &status, 0);
    run.status = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
    return run;
}

} // namespace bbtest
