// The real program finds the level files in its package and runs them on request: every
// level the pack carries is in Levels, compiled, and a second reload compiles them afresh.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace bbtest;

TEST(LevelLoading, ReloadLevelsRunsThePackagesLevelFilesIntoAFreshTable)
{
    TempHome home;
    ProgramRun run({"--console", "--windowed", "--nosound"});
    run.Send("ReloadLevels()\n");
    run.Send("local n = 0 for k in pairs(Levels) do n = n + 1 end print('levels: ' .. n)\n");
    run.Send("print('welcome: ' .. Levels.Welcome.fullName .. ', ' .. "
             "#Levels.Welcome.compiledBricks .. ' bricks')\n");
    run.Send("Levels.Welcome.compiledBricks = nil Levels.Stray = {}\n");
    run.Send("ReloadLevels()\n");
    run.Send("print('again: ' .. #Levels.Welcome.compiledBricks .. ', stray ' .. "
             "tostring(Levels.Stray))\n");
    run.Send("AppQuit()\n");
    ASSERT_EQ(0, run.Wait()) << run.Errors();

    int files = 0;
    for (const auto& entry :
         std::filesystem::directory_iterator(std::string(BB_SOURCE_DIR) + "/game/Levels"))
        files += entry.path().extension() == ".lua";
    const std::string out = run.Output();
    EXPECT_NE(std::string::npos, out.find("levels: " + std::to_string(files) + "\n")) << out;
    EXPECT_NE(std::string::npos, out.find("welcome: Welcome Aboard, 75 bricks\n")) << out;
    EXPECT_NE(std::string::npos, out.find("again: 75, stray nil\n")) << out;
}
