// The real program started straight into the game: the first level of the first episode
// is loaded for the current player and the game comes to wait for the serve.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <string>

using namespace bbtest;

TEST(GameScreenStart, StartsTheFirstLevelAndWaitsForTheServe)
{
    TempHome home;
    WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 3,\n}\n");
    ProgramRun run(
        {"--gamescreen", "--skipletter", "--skipdrop", "--console", "--windowed", "--nosound"});
    run.Send("io.stderr:write('screen: ' .. Screens.current.name .. '\\n')\n");
    ASSERT_TRUE(run.WaitForErrorLine("screen: GameScreen")) << run.Errors();

    // The console reads one line per pass: each probe answers with the state of that pass,
    // and the game moves on between probes until it waits for the serve (or has served).
    std::string reached;
    for (int probe = 0; probe < 600 && reached.empty(); ++probe) {
        const std::string tag = "probe " + std::to_string(probe) + ": ";
        run.Send("io.stderr:write('" + tag + "' .. tostring(GetGameState()) .. '\\n')\n");
        ASSERT_TRUE(run.WaitForErrorLine(tag)) << run.Errors();
        const std::string errors = run.Errors();
        const std::size_t at = errors.find(tag);
        const std::string state =
            errors.substr(at + tag.size(), errors.find('\n', at) - at - tag.size());
        if (state == "WaitForSpawn" || state == "SpawnBall" || state == "Playing")
            reached = state;
    }
    EXPECT_FALSE(reached.empty()) << run.Errors();
    // Level 1 of episode 1 at the casual skill: its paddle size and 4 balls.
    run.Send("io.stderr:write(string.format('level: %s %s %s %s\\n', "
             "tostring(GameOptions.episodeNumber), tostring(GameOptions.levelNumber), "
             "tostring(paddleInitialSizeOverride), tostring(GameOptions.ballsLeft)))\n");
    EXPECT_TRUE(run.WaitForErrorLine("level: 1 1 3 4")) << run.Errors();
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
}
