// SIGTERM and SIGINT only note a stop for the main loop to answer; a second one, while the
// first is unanswered, ends the process at once. Each case runs in a child process, so the
// handlers never stay installed in the test program.
#include "core/StopSignal.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>

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

TEST(StopSignal, OnceAnsweredFurtherSignalsCannotCutTheShutdownShort)
{
    const int status = RunInChild([] {
        StopSignal::Install();
        std::raise(SIGTERM);
        StopSignal::Answer(); // the program is saving on its way out
        std::raise(SIGINT);
        std::raise(SIGTERM);
        std::raise(SIGHUP);
        // The first signal is the one that is named.
        return std::strcmp(StopSignal::GetName(), "SIGTERM") == 0 ? 0 : 2;
    });
    ASSERT_TRUE(WIFEXITED(status));
    EXPECT_EQ(0, WEXITSTATUS(status));
}
