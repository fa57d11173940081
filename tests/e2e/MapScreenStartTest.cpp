// The real program started on the adventure map: the map is shown for the new player, and
// showing it adds nothing to the card (its Adventure table is made when the mode is played).
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

using namespace bbtest;

TEST(MapScreenStart, ShowsTheMapForTheCurrentPlayer)
{
    TempHome home;
    ProgramRun run({"--mapscreen", "--console", "--windowed", "--nosound"});
    run.Send("io.stderr:write('screen: ' .. Screens.current.name .. '\\n')\n");
    ASSERT_TRUE(run.WaitForErrorLine("screen: MapScreen")) << run.Errors();
    run.Send("io.stderr:write(string.format('map: %s %s\\n', "
             "tostring(Players.current[1].Game_Modes.Adventure), "
             "tostring(Players.current[1].Options['game.mode'])))\n");
    EXPECT_TRUE(run.WaitForErrorLine("map: nil Adventure")) << run.Errors();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
}
