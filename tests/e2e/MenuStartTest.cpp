// The real program started on the menu: a first run asks the player to sign in, and the
// next run finds the player who was current, in whichever slot, with no sign-in.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace bbtest;

TEST(MenuStart, AFirstRunSignsInAndTheNextRunKeepsTheCurrentPlayerOfSlotThree)
{
    TempHome home;
    const std::vector<std::string> args = {"--console", "--windowed", "--nosound", "--menuscreen"};
    {
        ProgramRun run(args);
        EXPECT_TRUE(run.WaitForLogLine("ArcadeMenuScreen: player 1 has no name and signs in."))
            << run.Errors();
        run.Send("Players[3].Name = 'cy' SetCurrentPlayerFromIndex(3, 1)\n"
                 "io.stderr:write('screen=' .. Screens.current.name .. '\\n')\nAppQuit()\n");
        EXPECT_TRUE(run.WaitForErrorLine("screen=MenuScreen")) << run.Errors();
        ASSERT_EQ(0, run.Wait()) << run.Errors();
        // What ships loads cleanly: no resource, folder or script clashes in the log.
        const std::string log = ReadFile(GameLogPath());
        EXPECT_EQ(std::string::npos, log.find("WARNING")) << log;
    }
    ProgramRun again(args);
    again.Send("io.stderr:write('current=' .. tostring(Players.current[1].Name) .. '\\n')\n"
               "AppQuit()\n");
    EXPECT_TRUE(again.WaitForErrorLine("current=cy")) << again.Errors();
    EXPECT_EQ(0, again.Wait());
    EXPECT_EQ(std::string::npos, ReadFile(GameLogPath()).find("has no name and signs in"));
}
