// SIGTERM and SIGINT only note a stop for the main loop to answer; another signal soon after
// is the same request, and only a later one ends the process at once (answered or not), as
// does SIGQUIT during a shutdown. Each case runs in child processes, so the handlers never
// stay installed in the test program; children that must let the same-request time pass run
// side by side.
#include "core/StopSignal.h"

#include "core/AtomicFile.h"
#include "core/Log.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <csignal>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <utility>
#include <vector>

namespace {

pid_t StartChild(const std::function<int()>& body)
{
    const pid_t child = fork();
    if (child == 0)
        std::_Exit(body());
    return child;
}

int StatusOf(pid_t child)
{
    int status = 0;
    waitpid(child, &status, 0);
    return status;
}

// The child's wait status after it ran `body` and exited with its result.
int RunInChild(const std::function<int()>& body)
{
    return StatusOf(StartChild(body));
}

// Waits until the time in which a second signal is the same request has passed.
void OutlastTheSameRequest()
{
    usleep((StopSignal::kSameRequestMs + 100) * 1000);
}

} // namespace

TEST(StopSignal, SignalsSoonAfterTheFirstAreOneRequestAndALaterOneEndsTheProcess)
{
    for (const int number : {SIGTERM, SIGINT}) {
        SCOPED_TRACE(number);
        const int noted = RunInChild([number] {
            StopSignal::Install();
            if (StopSignal::IsRequested())
                return 1;
            std::raise(number);
            // A wrapper passing the signal on, a logout's SIGHUP: the same request.
            std::raise(number);
            std::raise(SIGHUP);
            const char* expected = number == SIGTERM ? "SIGTERM" : "SIGINT";
            return StopSignal::IsRequested() && std::strcmp(StopSignal::GetName(), expected) == 0
                       ? 0
                       : 2;
        });
        ASSERT_TRUE(WIFEXITED(noted));
        EXPECT_EQ(0, WEXITSTATUS(noted));
    }
    // The user insisting, later: the process ends, whether the first was answered or not,
    // and its log's last line says why.
    bbtest::TempHome home;
    std::vector<std::pair<int, pid_t>> later;
    for (const int number : {SIGTERM, SIGINT, SIGHUP})
        for (const bool answered : {false, true})
            later.emplace_back(number, StartChild([number, answered, &home] {
                                   StartLogFile(home.Path() + "/" + std::to_string(number) +
                                                (answered ? "a" : "") + ".log");
                                   StopSignal::Install();
                                   std::raise(SIGTERM);
                                   if (answered)
                                       StopSignal::Answer(); // the program is saving on its way out
                                   OutlastTheSameRequest();
                                   std::raise(number);
                                   return 3; // not reached
                               }));
    for (std::size_t i = 0; i < later.size(); ++i) {
        const auto& [number, child] = later[i];
        const int status = StatusOf(child);
        ASSERT_TRUE(WIFSIGNALED(status)) << number;
        EXPECT_EQ(number, WTERMSIG(status));
        const std::string log = bbtest::ReadFile(home.Path() + "/" + std::to_string(number) +
                                                 (i % 2 ? "a" : "") + ".log");
        const std::string name = number == SIGTERM  ? "SIGTERM"
                                 : number == SIGINT ? "SIGINT"
                                                    : "SIGHUP";
        const std::string last = name + " came again: the program ends at once.\n";
        EXPECT_EQ(last, log.substr(log.size() - std::min(log.size(), last.size()))) << log;
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

TEST(StopSignal, OnceThePlayerQuitASignalIsNotedAndQuitEndsTheShutdown)
{
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
    bbtest::TempHome home;
    const std::string logPath = home.Path() + "/quit.log";
    const int quit = RunInChild([&logPath] {
        StartLogFile(logPath);
        StopSignal::Install();
        StopSignal::Answer();
        std::raise(SIGQUIT);
        return 3; // not reached
    });
    ASSERT_TRUE(WIFSIGNALED(quit));
    EXPECT_EQ(SIGQUIT, WTERMSIG(quit));
    const std::string log = bbtest::ReadFile(logPath);
    const std::string last = "SIGQUIT came while the program ends: it ends at once.\n";
    EXPECT_EQ(last, log.substr(log.size() - std::min(log.size(), last.size()))) << log;
}

TEST(StopSignal, ASaveEndedByALaterSignalLeavesTheOldOrTheNewFileWhole)
{
    bbtest::TempHome home;
    const std::string versions[2] = {
        "Player {guid = 1, Name = \"" + std::string(4000, 'a') + "\"}\n",
        "Player {guid = 1, Name = \"" + std::string(9000, 'b') + "\"}\n"};
    // Each trial a child of its own, saving its own file in a loop on its way out after a
    // first signal; all are ended by a later one, at moments a little apart.
    const int kTrials = 12;
    std::vector<pid_t> children;
    std::vector<std::string> paths;
    for (int trial = 0; trial < kTrials; ++trial) {
        const std::string path = home.DataHome() + "/Player" + std::to_string(trial) + ".card";
        bbtest::WriteFile(path, versions[0]);
        int ready[2];
        ASSERT_EQ(0, pipe(ready));
        const pid_t child = fork();
        if (child == 0) {
            StopSignal::Install();
            std::raise(SIGINT);
            StopSignal::Answer(); // the game saves on its way out
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
        children.push_back(child);
        paths.push_back(path);
    }
    OutlastTheSameRequest();
    for (int trial = 0; trial < kTrials; ++trial) {
        SCOPED_TRACE(trial);
        usleep(static_cast<useconds_t>(trial * 700 % 3000));
        kill(children[trial], SIGTERM);
        int status = 0;
        for (int waited = 0; waitpid(children[trial], &status, WNOHANG) == 0; ++waited) {
            if (waited == 10000) // 10 s: the signal did not end it
                kill(children[trial], SIGKILL);
            usleep(1000);
        }
        ASSERT_TRUE(WIFSIGNALED(status));
        EXPECT_EQ(SIGTERM, WTERMSIG(status));
        const std::string text = bbtest::ReadFile(paths[trial]);
        EXPECT_TRUE(text == versions[0] || text == versions[1]) << text.size() << " bytes";
    }
}
