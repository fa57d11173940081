// Level backgrounds load on demand however the game starts: on the splash, straight on the
// menu, the map or the game screen, a background loads when its level starts, and one of
// them stays loaded.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <string>

using namespace bbtest;

namespace {

// Starts the named level on the game screen, as the map does.
std::string LevelStartCommand(const std::string& name)
{
    return "GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = '" + name +
           "' } SwitchToScreen('GameScreen')\n";
}

// Asks for the current screen until it is `name` (the console reads a line a pass).
bool ReachesScreen(ProgramRun& run, const std::string& name)
{
    for (int probe = 0; probe < 300; ++probe) {
        const std::string mark = "screen " + std::to_string(probe) + ": ";
        run.Send("io.stderr:write('" + mark + "' .. Screens.current.name .. '\\n')\n");
        if (!run.WaitForErrorLine(mark))
            return false;
        if (run.Errors().find(mark + name + "\n") != std::string::npos)
            return true;
    }
    return false;
}

// Leaves for the menu, then starts the named level.
void PlayLevel(ProgramRun& run, const std::string& name)
{
    run.Send("SwitchToScreen('MenuScreen')\n");
    ASSERT_TRUE(ReachesScreen(run, "MenuScreen")) << run.Errors();
    run.Send(LevelStartCommand(name));
    ASSERT_TRUE(ReachesScreen(run, "GameScreen")) << run.Errors();
}

} // namespace

TEST(OnDemandStart, LevelBackgroundsLoadOnDemandFromEveryFirstScreen)
{
    for (const char* first : {"--menuscreen", "--mapscreen", "--gamescreen"}) {
        SCOPED_TRACE(first);
        TempHome home;
        ProgramRun run({first, "--console", "--windowed", "--nosound", "--skipletter"});
        PlayLevel(run, "GreatWall");
        EXPECT_TRUE(run.WaitForLogLine("Loaded on demand: bkgLevelChina.jpg")) << run.Errors();
        PlayLevel(run, "Condor");
        EXPECT_TRUE(run.WaitForLogLine("Loaded on demand: bkgLevelPeru.jpg")) << run.Errors();
        // The first background was let go: it loads again when its level comes back.
        PlayLevel(run, "Terracotta");
        run.Send("SwitchToScreen('MenuScreen') AppQuit()\n");
        EXPECT_EQ(0, run.Wait()) << run.Errors();
        const std::string log = ReadFile(GameLogPath());
        const std::size_t once = log.find("Loaded on demand: bkgLevelChina.jpg");
        ASSERT_NE(std::string::npos, once);
        EXPECT_NE(std::string::npos, log.find("Loaded on demand: bkgLevelChina.jpg", once + 1))
            << log;
    }
}
