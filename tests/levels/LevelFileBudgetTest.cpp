// Level files run by the game under the budget of a file it did not write: one that never
// ends or grows without end is named and skipped, one a stop signal cuts short is named as
// stopped and not blamed, and the levels of the other files load.
#include "core/StopSignal.h"
#include "logic/LevelManager.h"
#include "support/HostileScripts.h"
#include "support/engine/LogCapture.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <csignal>

namespace {

class LevelFileBudgetTest : public bbtest::LuaFixture
{
protected:
    LevelFileBudgetTest()
    {
        Run("Levels = {}");
        AddScript("Endless.lua", "Levels.A = { fullName = 'a' }\nwhile true do end\n");
        AddScript("Huge.lua", bbtest::kGrowsWithoutEnd);
        AddScript("Good.lua", "Levels.B = { fullName = 'b' }\n");
    }
    ~LevelFileBudgetTest() override { StopSignal::Reset(); }
};

} // namespace

TEST_F(LevelFileBudgetTest, ARunawayFileIsNamedAndSkippedAndTheOthersLoad)
{
    bbtest::LogCapture log;
    for (const char* name : {"Endless.lua", "Huge.lua", "Good.lua", "Notes.txt"})
        LevelManager::RunLevelFile(State(), name);
    const std::string text = log.Text();
    EXPECT_NE(std::string::npos,
              text.find("ERROR: The level file \"Endless.lua\" was skipped: Could not execute Lua "
                        "resource file\nfile = Endless.lua\nerror = the file did not finish "
                        "within 10000000 instructions"))
        << text;
    EXPECT_NE(std::string::npos, text.find("ERROR: The level file \"Huge.lua\" was skipped: the "
                                           "file needs more than 128 MiB of memory"))
        << text;
    EXPECT_EQ("b", Global("Levels")["B"]["fullName"].ToString());
    // The budget ends with the file: scripts run afterwards are not limited.
    Run("local n = 0 for i = 1, 11000000 do n = n + 1 end counted = n");
    EXPECT_EQ(11000000, GlobalNumber("counted"));
}

TEST_F(LevelFileBudgetTest, AStopSignalEndsARunningFileAtOnce)
{
    // Asked for before the file starts: not one of its statements runs.
    StopSignal::Request(SIGTERM);
    bbtest::LogCapture log;
    LevelManager::RunLevelFile(State(), "Endless.lua");
    EXPECT_TRUE(Global("Levels")["A"].IsNil());
    EXPECT_NE(std::string::npos, log.Text().find("the file was stopped by SIGTERM")) << log.Text();
    // A stop is no fault of the file's, nor of the files it finds unread.
    LevelManager::RunLevelFile(State(), "Good.lua");
    EXPECT_EQ(std::string::npos, log.Text().find("skipped")) << log.Text();
}
