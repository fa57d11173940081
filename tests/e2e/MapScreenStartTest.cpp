// The real program started on the adventure map: the map is shown and has written the new
// player's selection and unlocked place into the card's Adventure table.
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
    run.Send("local t = Players.current[1].Game_Modes.Adventure "
             "io.stderr:write(string.format('map: %s %s %s %s %s\\n', "
             "tostring(t.EpisodeSelected), tostring(t.LevelSelected), "
             "tostring(t.EpisodeUnlocked), tostring(t.LevelUnlocked), "
             "tostring(Players.current[1].Options['game.mode'])))\n");
    EXPECT_TRUE(run.WaitForErrorLine("map: 1 1 1 1 Adventure")) << run.Errors();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
}
