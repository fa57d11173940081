// What a console line prints reaches a pipe while the program runs, not only when it ends:
// a script that drives the game through pipes reads each answer before sending the next line.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <csignal>

using namespace bbtest;

TEST(ConsoleOutput, EachLinesPrintReachesAPipeAtOnce)
{
    TempHome home;
    // The program's standard output is a pipe into cat, which passes on each byte it gets.
    ProgramRun run({"sh", "-c", "\"$@\" | cat", "sh"}, {"--console", "--windowed", "--nosound"},
                   "dummy");
    run.Send("print('first answer')\n");
    EXPECT_TRUE(run.WaitForOutputLine("first answer")) << run.Output() << run.Errors();
    run.Send("x = 41 + 1\n");
    run.Send("print('second answer', x)\n");
    EXPECT_TRUE(run.WaitForOutputLine("second answer\t42")) << run.Output();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
}

// The log file keeps everything; standard output echoes it only to whoever asked for the
// console. A plain run of the game prints nothing, however chatty its log.
TEST(ConsoleOutput, TheLogReachesStandardOutputOnlyWithTheConsole)
{
    TempHome home;
    WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 4,\n}\n");
    {
        ProgramRun run({"--windowed", "--nosound", "--menuscreen"});
        ASSERT_TRUE(run.WaitForLogLine("Setting Log Level to 4")) << run.Errors();
        // The display's lines come at level 4 only.
        ASSERT_TRUE(run.WaitForLogLine("CDX: ")) << run.Errors();
        run.Signal(SIGTERM);
        EXPECT_EQ(0, run.Wait()) << run.Errors();
        EXPECT_EQ("", run.Output());
        const std::string log = ReadFile(GameLogPath());
        EXPECT_NE(std::string::npos, log.find("Created log file at")) << log;
    }
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors();
    // Lines logged before the console was known come too, then every later one.
    const std::string out = run.Output();
    EXPECT_NE(std::string::npos, out.find("Created log file at")) << out;
    EXPECT_NE(std::string::npos, out.find("~Application - FINISHED\n")) << out;
}
