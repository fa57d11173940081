// The real program over a copy of its pack that lacks the coin's picture, one the game's own
// power-up scripts name. The level check names the picture and builds a level whose bricks
// carry coins; the game starts, builds and plays that level, quits with status 0 and no
// crash report, and its log names the picture once.
#include "e2e/ProgramRun.h"
#include "support/LevelCheckRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iostream>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const char kPicture[] = "Bling.Coin.png";
const char kPictureFile[] = "Images/Powerups/Bling.Coin.png";

int Occurrences(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The lines of text that hold part.
std::string LinesWith(const std::string& text, const std::string& part)
{
    std::string lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        if (end == std::string::npos)
            end = text.size();
        const std::string line = text.substr(start, end - start);
        if (line.find(part) != std::string::npos)
            lines += line + "\n";
        start = end + 1;
    }
    return lines;
}

} // namespace

TEST(MissingPicture, APackWithoutTheCoinsPictureBuildsAndPlaysItsLevels)
{
    TempHome home;
    const std::string folder = GameFolderCopy(home.Path());
    ASSERT_TRUE(fs::remove(folder + "/Assets/" + kPictureFile));

    // The level check builds the level as the game does: the picture is named, and the
    // build goes through.
    const std::string pack = home.Path() + "/check-pack";
    fs::copy(folder + "/Assets", pack, fs::copy_options::recursive);
    KeepOnlyLevel(pack, "Altiplano.lua");
    const LevelCheckRun check = RunLevelCheck(home.Path(), pack);
    EXPECT_NE(0, Occurrences(check.report, "Power-up \"BlingCoin\"")) << check.report << check.errors;
    std::cout << LinesWith(check.report, kPicture);
    EXPECT_EQ(0, Occurrences(check.report, "the build throws")) << LinesWith(check.report, "Altiplano");
    EXPECT_EQ(0, Occurrences(check.report, "could not be built"))
        << LinesWith(check.report, "Altiplano");

    auto run = std::make_unique<ProgramRun>(
        std::vector<std::string>{"--keepcwd", "--console", "--nopkg", "--skipletter", "--skipdrop"},
        folder);
    ASSERT_TRUE(run->WaitForLogLine("Loading done", 60000))
        << ReadFile(GameLogPath()) << CrashReports();
    EXPECT_TRUE(ReachScreen(*run, "SwitchToScreen('MenuScreen')\n", "MenuScreen"));
    run->Send("GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = 'Altiplano' } "
              "SwitchToScreen('GameScreen')\n");
    // Built and come to the serve, and the game runs on over its field for a while.
    EXPECT_EQ("GameScreen", AskStateUntil(*run, {"GameScreen WaitForSpawn", "GameScreen SpawnBall",
                                                 "GameScreen Playing"})
                                .substr(0, 10))
        << ReadFile(GameLogPath());
    for (int i = 0; i < 20; ++i)
        if (AskStateUntil(*run, {"GameScreen"}) != "GameScreen") {
            ADD_FAILURE() << "the game left its screen\n" << ReadFile(GameLogPath());
            break;
        }
    run->Send("AppQuit()\n");
    EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
    EXPECT_EQ("", CrashReports());
    const std::string log = ReadFile(GameLogPath());
    EXPECT_EQ(std::string::npos, log.find("could not be built")) << log;
    // Named once where the coins are made (and once more by the pack's metadata, whose entry
    // for it is left out).
    EXPECT_EQ(1, Occurrences(log, "Power-up \"BlingCoin\" (level \"Altiplano\"): Could not find "
                              "resource info with name = Bling.Coin.png; it is left out"))
        << LinesWith(log, kPicture);
    EXPECT_EQ(2, Occurrences(log, kPicture)) << LinesWith(log, kPicture);
}

// The pictures the game's own code names for its screens, letters, meters and field, all
// missing at once: the game starts, shows the level's start letter on a plain sheet, and
// quits with status 0 and no crash report, each picture named in its log.
TEST(MissingPicture, APackWithoutThePicturesTheGamesCodeNamesStillStartsALevel)
{
    TempHome home;
    const std::string folder = GameFolderCopy(home.Path());
    const std::vector<std::string> pictures = {
        "Images/Screens/bkgGame.jpg",    "Images/Letters/bkgLetter.png",
        "Images/Walls/Shield.Red.png",   "Images/Meters/1B.Off.png",
        "Images/Balls/Ball.None.12.png", kPictureFile};
    for (const std::string& picture : pictures)
        ASSERT_TRUE(fs::remove(folder + "/Assets/" + picture)) << picture;

    auto run = std::make_unique<ProgramRun>(
        std::vector<std::string>{"--keepcwd", "--console", "--nopkg"}, folder);
    ASSERT_TRUE(run->WaitForLogLine("Loading done", 60000))
        << ReadFile(GameLogPath()) << CrashReports();
    EXPECT_TRUE(ReachScreen(*run, "SwitchToScreen('MenuScreen')\n", "MenuScreen"));
    run->Send("GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = 'Altiplano' } "
              "SwitchToScreen('GameScreen')\n");
    EXPECT_EQ("GameScreen ShowStartLevelDialog",
              AskStateUntil(*run, {"GameScreen ShowStartLevelDialog"}))
        << ReadFile(GameLogPath());
    run->Send("AppQuit()\n");
    EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
    EXPECT_EQ("", CrashReports());
    const std::string log = ReadFile(GameLogPath());
    for (const std::string& picture : pictures) {
        const std::string name = fs::path(picture).filename().string();
        EXPECT_NE(0, Occurrences(log, "Could not find resource info with name = " + name) +
                         Occurrences(log, "\"" + name + "\" is not among the resources"))
            << name << "\n"
            << LinesWith(log, name);
    }
}
