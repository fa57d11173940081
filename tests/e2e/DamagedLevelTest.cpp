// The real program given damaged levels through its console: each one is logged with the
// level's name and the key at fault, and the game stays up, either playing the level
// without the missing part or back on the screen it came from. A stop signal during a
// level too large to play ends the program cleanly and at once.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <chrono>
#include <cstdio>
#include <string>
#include <utility>
#include <vector>

using namespace bbtest;

namespace {

// A level of `rows` rows of 19 red bricks in brick text, assigned to Levels.<name> (the
// assignment compiles it).
std::string RowsLevel(const std::string& name, int rows)
{
    return "local rows = {} for r = 1, " + std::to_string(rows) +
           " do rows[r] = string.rep('R,', 18) .. 'R' end Levels." + name +
           " = { bricks = rows }\n";
}

// Starts the named level on the game screen, as the map does.
std::string StartLevel(const std::string& name)
{
    return "GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = '" + name +
           "' } SwitchToScreen('GameScreen')\n";
}

struct DamagedLevel
{
    const char* name;
    std::string definition; // console line(s) defining it
    const char* logged;     // a log line that names the level and the key
    bool plays;             // played without the missing part, else left
};

} // namespace

TEST(DamagedLevels, EachIsNamedInTheLogAndTheGameStaysUp)
{
    TempHome home; // no configuration: the game's default log level
    ProgramRun run({"--menuscreen", "--console", "--windowed", "--skipletter", "--skipdrop"});
    const auto brick = [](const std::string& scale) {
        return "{ compiledBricks = { { resource = 'RedBrick', position = { 3, 3 }, polyScale = " +
               scale + " }, { resource = 'RedBrick', position = { 6, 3 } } } }";
    };
    const DamagedLevel levels[] = {
        {"NoSong", "Levels.NoSong = { music = 'NoSuchSong.mid', bricks = { 'R,G,B' } }\n",
         "Level \"NoSong\": \"music\": \"NoSuchSong.mid\" is not among the resources; the "
         "level plays without music",
         true},
        {"ScriptSong", "Levels.ScriptSong = { music = 'Ball.lua', bricks = { 'R,G,B' } }\n",
         "Level \"ScriptSong\": \"music\": no such song \"Ball.lua\" (the resource of that "
         "name is a script); the level plays without music",
         true},
        {"NoBackdrop",
         "Levels.NoBackdrop = { backgroundName = 'bkgNowhere.jpg', bricks = { 'R,G,B' } }\n",
         "Level \"NoBackdrop\": \"backgroundName\": \"bkgNowhere.jpg\" is not among the "
         "resources; the plain background is used",
         true},
        {"NoPicture",
         "Levels.NoPicture = { artefact = { name = 'artifactNowhere.jpg' }, bricks = { 'R' } }\n",
         "Level \"NoPicture\": \"artefact\": the picture \"artifactNowhere.jpg\" is not "
         "among the resources; the level plays without its artefact",
         true},
        {"ScaleBelow", "Levels.ScaleBelow = " + brick("-3") + "\n",
         "brick entry \"ScaleBelow.compiledBricks[1]\", key \"polyScale\" (value \"-3\")", true},
        {"ScaleZero", "Levels.ScaleZero = " + brick("0") + "\n",
         "brick entry \"ScaleZero.compiledBricks[1]\", key \"polyScale\" (value \"0\")", true},
        {"ScaleNaN", "Levels.ScaleNaN = " + brick("0/0") + "\n",
         "brick entry \"ScaleNaN.compiledBricks[1]\", key \"polyScale\"", true},
        {"Rows1000", RowsLevel("Rows1000", 1000),
         "level \"Rows1000\" could not be built: Level \"Rows1000\": compiledBricks, levelActors "
         "and extraActors hold 19000 entries, more than the 1000 a level may hold",
         false},
        {"Throws", "Levels.Throws = { compiledBricks = 'oops' }\n",
         "level \"Throws\" could not be built: Level \"Throws\": compiledBricks is a string",
         false},
        // The brick text does not compile: the assignment fails and names the row and cell.
        {"BadText", "Levels.BadText = { bricks = { 'R,R', 'G,x' } }\n",
         "Level \"BadText\", row 2, column 2", false},
        {"NotATable", "Levels.NotATable = 5\n", "there is no level \"NotATable\"", false},
        // An author's slips reach the log at the game's own log level.
        {"Misspelt", "Levels.Misspelt = { initialBallSpeed = 200, bricks = { 'R,G,B' } }\n",
         "Level \"Misspelt\": \"initialBallSpeed\": no such key", true},
        {"WrongType", "Levels.WrongType = { victoryBricks = 'all', bricks = { 'R,G,B' } }\n",
         "Level \"WrongType\": \"victoryBricks\" needs a number, not the string \"all\"", true},
    };
    ASSERT_EQ("MenuScreen", AskStateUntil(run, {"MenuScreen"})) << run.Errors();
    for (const DamagedLevel& level : levels) {
        SCOPED_TRACE(level.name);
        run.Send(level.definition);
        run.Send(StartLevel(level.name));
        EXPECT_TRUE(run.WaitForLogLine(level.logged)) << run.Errors();
        if (level.plays)
            EXPECT_EQ("GameScreen",
                      AskStateUntil(run, {"GameScreen WaitForSpawn", "GameScreen SpawnBall",
                                          "GameScreen Playing"})
                          .substr(0, 10));
        else
            EXPECT_EQ("MapScreen", AskStateUntil(run, {"MapScreen"}));
        run.Send("SwitchToScreen('MenuScreen')\n");
        ASSERT_EQ("MenuScreen", AskStateUntil(run, {"MenuScreen"}));
    }
    // The physics never met a shape it refuses.
    EXPECT_EQ(std::string::npos, ReadFile(GameLogPath()).find("ODE check failed"));
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait()) << run.Errors() << CrashReports();
}

TEST(DamagedLevels, StopSignalDuringAThousandRowLevelEndsTheGameAtOnce)
{
    const std::pair<int, const char*> signals[] = {{SIGTERM, "SIGTERM"}, {SIGINT, "SIGINT"}};
    for (const auto& [number, name] : signals) {
        SCOPED_TRACE(name);
        TempHome home;
        // The detailed log shows the shut-down's steps.
        WriteFile(GameConfigPath(), "LoadConfig {\n    log_level = 3,\n}\n");
        ProgramRun run(
            {"--menuscreen", "--console", "--windowed", "--nosound", "--skipletter", "--skipdrop"});
        ASSERT_EQ("MenuScreen", AskStateUntil(run, {"MenuScreen"})) << run.Errors();
        // The signal comes while the level's 19,000 bricks are compiled and it is started.
        run.Send(RowsLevel("Rows1000", 1000) + StartLevel("Rows1000"));
        const auto start = std::chrono::steady_clock::now();
        run.Signal(number);
        // The wait only catches a hang: the shutdown takes a fraction of a second.
        EXPECT_EQ(0, run.Wait(60000)) << run.Errors() << CrashReports();
        const double tookMs =
            std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start)
                .count();
        std::printf("%s: the game ended %.0f ms after the signal\n", name, tookMs);
        // Answered by the main loop at its next pass, and shut down cleanly.
        const std::string log = ReadFile(GameLogPath());
        EXPECT_NE(std::string::npos, log.find(std::string(name) + " received: the game ends."))
            << log;
        EXPECT_NE(std::string::npos, log.find("~Application - FINISHED")) << log;
    }
}
