// The real program over a copy of its pack (a folder, or the package file made of it) whose
// level background is a small JPEG promising 16000 x 16000 pixels behind a stuffed marker: the
// level starts and plays without the picture, names it once, holds the resident memory a game
// needs, answers a SIGTERM at once and exits 0; the level check names the picture too.
#include "e2e/ProgramRun.h"
#include "support/HostilePictures.h"
#include "support/LevelCheckRun.h"
#include "support/ResidentMemory.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <csignal>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

// The most resident memory the game may hold playing a level (its shipped pack peaks at about
// 80 MB; a picture decoded at a size past the bound adds hundreds).
constexpr long long kMostResidentKb = 400 * 1024;
// A stop signal is answered within a second, whatever the pack holds.
constexpr auto kStopAnswered = std::chrono::seconds(1);

// Played from the pack's folder, or from the package file made of it.
class HostileBackground : public ::testing::TestWithParam<bool>
{
};

} // namespace

TEST_P(HostileBackground, ALevelBackgroundPromisingGigabytesIsNamedAndTheLevelPlays)
{
    const bool packed = GetParam();
    TempHome home;
    const std::string folder = GameFolderCopy(home.Path());
    const std::string picture = "Images/Screens/bkgLevelChina.jpg";
    ASSERT_TRUE(fs::exists(folder + "/Assets/" + picture));
    WriteFile(folder + "/Assets/" + picture, JpegFrameBehindStuffing());
    if (packed) {
        ASSERT_TRUE(PackGameFolder(folder));
    }

    std::vector<std::string> args = {"--keepcwd", "--skipletter", "--skipdrop", "--console"};
    if (!packed)
        args.push_back("--nopkg");
    ProgramRun run(args, folder);

    ASSERT_TRUE(run.WaitForLogLine("Loading done", 60000))
        << ReadFile(GameLogPath()) << CrashReports();
    run.Send("GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = 'GreatWall' } "
             "SwitchToScreen('GameScreen')\n");
    // The level is built and played to its serve, over its plain background.
    const std::string state = AskStateUntil(
        run, {"GameScreen WaitForSpawn", "GameScreen SpawnBall", "GameScreen Playing"});
    EXPECT_EQ("GameScreen", state.substr(0, 10)) << state << ReadFile(GameLogPath());

    const long long peakKb = PeakResidentKb(run.GetPid());
    std::printf("the game's peak resident memory: %lld MiB\n", peakKb / 1024);
    EXPECT_GT(peakKb, 0);
    EXPECT_LT(peakKb, kMostResidentKb);

    const auto asked = std::chrono::steady_clock::now();
    run.Signal(SIGTERM);
    EXPECT_EQ(0, run.Wait(60000)) << run.Errors() << CrashReports();
    const auto answered = std::chrono::steady_clock::now() - asked;
    std::printf("SIGTERM answered in %lld ms\n",
                static_cast<long long>(
                    std::chrono::duration_cast<std::chrono::milliseconds>(answered).count()));
    EXPECT_LT(answered, kStopAnswered);

    const std::string log = ReadFile(GameLogPath());
    const std::string named = "Warning: the resource \"bkgLevelChina.jpg\" could not be loaded (";
    ASSERT_NE(std::string::npos, log.find(named)) << log;
    EXPECT_EQ(log.find(named), log.rfind(named)) << "named once";
    EXPECT_NE(std::string::npos,
              log.find("16000 x 16000 pixels by its JPEG header", log.find(named)))
        << log;
    EXPECT_EQ("", CrashReports());

    if (packed)
        return;
    // The level check decodes the pack's pictures through the game's own loader and names the
    // picture as the game does.
    KeepOnlyLevel(folder + "/Assets", "GreatWall.lua");
    const LevelCheckRun check = RunLevelCheck(home.Path(), folder + "/Assets");
    EXPECT_EQ(1, check.status) << check.report << check.errors;
    const std::string& report = check.report;
    EXPECT_NE(std::string::npos, report.find("\"bkgLevelChina.jpg\"")) << report;
    EXPECT_NE(std::string::npos, report.find("16000 x 16000 pixels by its JPEG header")) << report;
}

INSTANTIATE_TEST_SUITE_P(FolderAndPackage, HostileBackground, ::testing::Bool(),
                         [](const ::testing::TestParamInfo<bool>& info) {
                             return std::string(info.param ? "Package" : "Folder");
                         });
