// The play benchmark answers a stop signal between passes: it ends at once by that signal,
// saying so, rather than playing its passes out and exiting as if it had finished.
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <thread>

#include <fcntl.h>
#include <poll.h>
#include <sys/syscall.h>
#include <sys/wait.h>
#include <unistd.h>

namespace {

std::string Slurp(const std::string& path)
{
    std::stringstream text;
    text << std::ifstream(path).rdbuf();
    return text.str();
}

} // namespace

TEST(LevelPlayBenchmark, ASigtermEndsThePassesByThatSignal)
{
    bbtest::TempHome home;
    const std::string output = home.Path() + "/output.txt";
    const std::string errors = home.Path() + "/errors.txt";
    const pid_t child = fork();
    if (child == 0) {
        const int out = open(output.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        const int err = open(errors.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
        dup2(out, STDOUT_FILENO);
        dup2(err, STDERR_FILENO);
        setenv("SDL_VIDEODRIVER", "dummy", 1);
        setenv("SDL_AUDIODRIVER", "dummy", 1);
        const std::string program = std::string(BB_BINARY_DIR) + "/bench/bench_LevelPlay";
        // Two benchmarks: the signal comes once the first has given its figures, while the
        // second plays its passes.
        execl(program.c_str(), program.c_str(), "--benchmark_filter=^BM_FallingGold(SDL|Direct3D)/",
              static_cast<char*>(nullptr));
        _exit(127);
    }
    const int pidfd = static_cast<int>(syscall(SYS_pidfd_open, child, 0));
    ASSERT_GE(pidfd, 0);
    const auto start = std::chrono::steady_clock::now();
    pollfd ended = {pidfd, POLLIN, 0};
    while (Slurp(output).find("BM_FallingGoldSDL/") == std::string::npos &&
           poll(&ended, 1, 1) == 0 &&
           std::chrono::steady_clock::now() - start < std::chrono::seconds(120)) {
    }
    const bool firstDone = Slurp(output).find("BM_FallingGoldSDL/") != std::string::npos;
    EXPECT_TRUE(firstDone) << "the first benchmark gave no figures\n" << Slurp(errors);
    kill(child, SIGTERM);
    // The answer comes at the next pass.
    const bool gone = poll(&ended, 1, 30000) == 1;
    if (!gone)
        kill(child, SIGKILL);
    int status = 0;
    waitpid(child, &status, 0);
    close(pidfd);
    EXPECT_TRUE(gone) << "still running 30 s after SIGTERM";
    const std::string said = Slurp(errors);
    ASSERT_TRUE(WIFSIGNALED(status)) << "exit status " << WEXITSTATUS(status) << "\n" << said;
    EXPECT_EQ(SIGTERM, WTERMSIG(status));
    EXPECT_NE(std::string::npos, said.find("bench_LevelPlay: stopped by SIGTERM")) << said;
    EXPECT_EQ(std::string::npos, Slurp(output).find("BM_FallingGoldDirect3D/"))
        << "the cut benchmark gave figures";
}
