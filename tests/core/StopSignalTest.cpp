// SIGTERM and SIGINT only note a stop for the main loop to answer; a second one, answered
// or not, ends the process at once, and so does SIGQUIT during a shutdown. Each case runs in a
// child process, so the handlers never stay installed in the test program.
#include "core/StopSignal.h"

#include "core/AtomicFile.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>

namespace {

// The child's wait status after it ran `body` and exited with its result.
int RunInChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        std::_Exit(body());
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

} // namespace

TEST(StopSignal, OneSignalIsNotedAndASecondEndsTheProcess)
{
    for (const int number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(number);
        const int noted = RunInChild([number] {
            StopSignal::Install();
            if (StopSignal::IsRequested())
                return 1;
            std::raise(number);
            const char* expected = number == SIGTERM ? "SIGTERM" : "SIGINT";
            return StopSignal::IsRequested() && std::strcmp(StopSignal::GetName(), expected) == 0
                       ? 0
                       : 2;
        });
        ASSERT_TRUE(WIFEXITED(noted));
        EXPECT_EQ(0, WEXITSTATUS(noted));

        const int twice = RunInChild([number] {
            StopSignal::Install();
            std::raise(number);
            std::raise(number);
            return 3; // not reached: the second signal ends the process
        });
        ASSERT_TRUE(WIFSIGNALED(twice));
        EXPECT_EQ(number, WTERMSIG(twice));
    }
}

TEST(StopSignal, TheTerminalGoingAwayAndQuitAskForTheSameStop)
{
    for (const int number : {SIGHUP, SIGQUIT}) {
        SCOPED_TRACE(number);
        const int noted = RunInChild([number] {
            StopSignal::Install();
            std::raise(number);
            const char* expected = number == SIGHUP ? "SIGHUP" : "SIGQUIT";
            return StopSignal::IsRequested() && std::strcmp(StopSignal::GetName(), expected) == 0
                       ? 0
                       : 2;
        });
        ASSERT_TRUE(WIFEXITED(noted));
        EXPECT_EQ(0, WEXITSTATUS(noted));
    }
}

TEST(StopSignal, OnceAnsweredASecondSignalOrQuitEndsTheShutdown)
{
    // A stop answered, then a second stop signal: the shutdown has hung, the process ends.
    for (const int number : {SIGINT, SIGTERM, SIGHUP}) {
        SCOPED_TRACE(number);
        const int status = RunInChild([number] {
            StopSignal::Install();
            std::raise(SIGTERM);
            StopSignal::Answer(); // the program is saving on its way out
            std::raise(number);
            return 3; // not reached
        });
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(number, WTERMSIG(status));
    }
    // The player quit (answered without a signal): a first SIGTERM is only noted, while
    // SIGQUIT ends the shutdown at once.
    const int noted = RunInChild([] {
        StopSignal::Install();
        StopSignal::Answer();
        std::raise(SIGTERM);
        return std::strcmp(StopSignal::GetName(), "SIGTERM") == 0 ? 0 : 2;
    });
    ASSERT_TRUE(WIFEXITED(noted));
    EXPECT_EQ(0, WEXITSTATUS(noted));
    const int quit = RunInChild([] {
        StopSignal::Install();
        StopSignal::Answer();
        std::raise(SIGQUIT);
        return 3; // not reached
    });
    ASSERT_TRUE(WIFSIGNALED(quit));
    EXPECT_EQ(SIGQUIT, WTERMSIG(quit));
}

TEST(StopSignal, ASaveEndedByASecondSignalLeavesTheOldOrTheNewFileWhole)
{
    bbtest::TempHome home;
    const std::string path = home.DataHome() + "/Player1.card";
    const std::string versions[2] = {
        "Player {guid = 1, Name = \"" + std::string(4000, 'a') + "\"}\n",
        "Player {guid = 1, Name = \"" + std::string(9000, 'b') + "\"}\n"};
    bbtest::WriteFile(path, versions[0]);
    for (int trial = 0; trial < 20; ++trial) {
        SCOPED_TRACE(trial);
        int ready[2];
        ASSERT_EQ(0, pipe(ready));
        const pid_t child = fork();
        if (child == 0) {
            StopSignal::Install();
            StopSignal::Answer(); // the player quit: the game saves on its way out
            for (long i = 0;; ++i) {
                WriteFileAtomically(path, versions[i % 2]);
                if (i == 0 && write(ready[1], "x", 1) != 1)
                    std::_Exit(4);
            }
        }
        char byte = 0;
        ASSERT_EQ(1, read(ready[0], &byte, 1));
        close(ready[0]);
        close(ready[1]);
        // Two different signals: two of one kind sent at once would merge into one.
        kill(child, SIGINT);
        kill(child, SIGTERM);
        int status = 0;
        for (int waited = 0; waitpid(child, &status, WNOHANG) == 0; ++waited) {
            if (waited == 10000) // 10 s: the signals did not end it
                kill(child, SIGKILL);
            usleep(1000);
        }
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_TRUE(WTERMSIG(status) == SIGINT || WTERMSIG(status) == SIGTERM) << WTERMSIG(status);
        const std::string text = bbtest::ReadFile(path);
        EXPECT_TRUE(text == versions[0] || text == versions[1]) << text.size() << " bytes";
        RemoveStaleTemporaryFiles(path);
    }
}
