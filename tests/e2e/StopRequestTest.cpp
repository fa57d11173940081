// Stop signals come in pairs without anyone asking twice: a wrapper passes its signal to its
// child and then to the group, a closed terminal hangs up both the shell and its jobs, a logout
// sends SIGTERM and then SIGHUP. The real program takes such a pair as one request: it says
// once which signal it answered, saves the changed card on its way out and ends normally.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <time.h>

#include <csignal>
#include <string>
#include <vector>

using namespace bbtest;

TEST(StopRequest, TwoSignalsCloseTogetherAreOneRequestAndTheQuitSaves)
{
    const std::vector<std::string> args = {"--console", "--windowed", "--nosound"};
    const struct
    {
        int first;
        int second;
        long apartMs;
        const char* said;
    } pairs[] = {{SIGHUP, SIGHUP, 20, "SIGHUP received"},
                 {SIGTERM, SIGHUP, 0, "SIGTERM received"},
                 {SIGINT, SIGTERM, 300, "SIGINT received"}};
    for (const auto& pair : pairs) {
        SCOPED_TRACE(pair.said);
        TempHome home;
        ProgramRun run(args);
        run.Send("Players[1].Name = 'before' SaveData() Players[1].Name = 'changed' "
                 "io.stderr:write('set\\n')\n");
        ASSERT_TRUE(run.WaitForErrorLine("set")) << run.Errors();
        run.Signal(pair.first);
        const struct timespec apart = {0, pair.apartMs * 1000000L};
        ::nanosleep(&apart, nullptr);
        run.Signal(pair.second);
        EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
        EXPECT_NE(std::string::npos, ReadFile(CardPath(1)).find("Name = \"changed\""));
        // Two signals pending at once are taken lowest number first, whichever was sent first:
        // the log names the one the game answered, and only one.
        const std::string log = ReadFile(GameLogPath());
        const std::size_t said = log.find(" received: the game ends.");
        ASSERT_NE(std::string::npos, said) << log;
        EXPECT_EQ(std::string::npos, log.find(" received: the game ends.", said + 1)) << log;
        if (pair.apartMs > 0) {
            EXPECT_NE(std::string::npos, log.find(pair.said)) << log;
        }
    }
}
