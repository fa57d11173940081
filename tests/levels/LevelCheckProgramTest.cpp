// The level check as an author runs it, over packs on disk: damaged songs and sounds,
// misplaced secrets, level files it cannot read (a FIFO), functions planted in another
// file's level and files that never end make it fail with a line each, and a pack it cannot
// check ends it with status 2 and a message, cleanly, though its audio is open.
#include "support/LevelCheckRun.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/stat.h>
#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

namespace fs = std::filesystem;

namespace {

// A copy of the asset pack under home whose only level file is Altiplano.lua; its folder.
std::string PackWithAltiplanoOnly(const bbtest::TempHome& home)
{
    const std::string pack = home.Path() + "/pack";
    fs::copy(bbtest::AssetPackFolder(), pack, fs::copy_options::recursive);
    for (const auto& file : fs::directory_iterator(pack + "/Levels"))
        if (file.path().filename() != "Altiplano.lua")
            fs::remove(file.path());
    return pack;
}

} // namespace

TEST(LevelCheckProgram, DamagedFilesAndMisplacedSecretsFailTheCheckOneLineEach)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Altiplano.lua", "asset pack's levels");
    bbtest::TempHome home;
    const std::string pack = PackWithAltiplanoOnly(home);
    // One level that plays the damaged song, and one with two secrets, one on steel.
    bbtest::WriteFile(pack + "/Levels/Secrets.lua",
                      "Levels.Secrets = { fullName = 'S', music = 'Harbour.mid',\n"
                      "    bricks = { 'R?,G,B?', ',,,,M?' } }\n");
    bbtest::WriteFile(pack + "/Music/Andes.mid", "MThd garbage");
    bbtest::WriteFile(pack + "/Sounds/Powerups/Pickup_GemBells16.ogg", "");

    const bbtest::LevelCheckRun run = bbtest::RunLevelCheck(home.Path(), pack);
    EXPECT_EQ(1, run.status) << run.errors;
    for (const std::string line :
         {"Altiplano.lua: Altiplano: music \"Andes.mid\" cannot be loaded: Couldn't load music "
          "\"Music/Andes.mid\", DMUSIC_E_INVALID_FILE",
          "Secrets.lua: Secrets: row 1, column 3: a second secret (\"?\"): a level hides one "
          "secret\n",
          "Secrets.lua: Secrets: row 2, column 5: the secret (\"?\") is on a brick that cannot "
          "break\n",
          "pack: warning: the resource \"Pickup_GemBells16.ogg\" could not be loaded (Couldn't "
          "load sample"})
        EXPECT_NE(std::string::npos, run.report.find(line)) << line << "\n" << run.report;
}

TEST(LevelCheckProgram, APackWithoutLevelsEndsWithStatusTwoAndAMessage)
{
    const std::string assets = bbtest::AssetPackFolder();
    BB_REQUIRE_FILE(assets + "/Music/Theme.mid", "asset pack's music");
    bbtest::TempHome home;
    const std::string pack = home.Path() + "/pack";
    fs::create_directories(pack + "/Music");
    fs::copy(assets + "/Music", pack + "/Music", fs::copy_options::recursive);

    const bbtest::LevelCheckRun run = bbtest::RunLevelCheck(home.Path(), pack);
    EXPECT_EQ(2, run.status) << run.errors;
    EXPECT_NE(std::string::npos, run.errors.find("levelcheck: the pack \"" + pack +
                                                 "\" has no level files in "
                                                 "Levels/\n"))
        << run.errors;
    EXPECT_EQ(std::string::npos, run.errors.find("AddressSanitizer")) << run.errors;
}

TEST(LevelCheckProgram, UnreadableFilesPlantedFunctionsAndEndlessCopiesAreLinesOfTheReport)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Altiplano.lua", "asset pack's levels");
    bbtest::TempHome home;
    const std::string pack = PackWithAltiplanoOnly(home);
    // A later file plants a function in an earlier level; another copies 16 MiB an
    // instruction without end; a FIFO stands among the level files.
    bbtest::WriteFile(pack + "/Levels/Planter.lua", "Levels.Altiplano.compiledBricks[1].strength = "
                                                    "function() while true do end end\n");
    bbtest::WriteFile(pack + "/Levels/Copier.lua",
                      "local s = ('x'):rep(1048576) while true do "
                      "local t = s..s..s..s..s..s..s..s..s..s..s..s..s..s..s..s end\n");
    ASSERT_EQ(0, ::mkfifo((pack + "/Levels/Zfifo.lua").c_str(), 0600));

    const bbtest::LevelCheckRun run = bbtest::RunLevelCheck(home.Path(), pack);
    EXPECT_EQ(1, run.status) << run.errors;
    for (const std::string& line : std::vector<std::string>{
             std::string("Copier.lua: Lua error: the file did not finish within 1.5 seconds of "
                         "processor time\n"),
             "Planter.lua: Lua error: Levels.Altiplano holds a function the file made, at "
             "compiledBricks[1].strength; the level was dropped\n",
             "Zfifo.lua: the file could not be read: Could not read \"Levels/Zfifo.lua\" from \"" +
                 pack + "\": it is not a regular file\n"})
        EXPECT_NE(std::string::npos, run.report.find(line)) << line << "\n" << run.report;
    EXPECT_EQ(std::string::npos, run.errors.find("AddressSanitizer")) << run.errors;
}
