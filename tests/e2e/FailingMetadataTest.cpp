// The real program over a copy of its pack whose power-ups' metadata file fails, as a folder
// (--nopkg) and as a package: a file that does not run, and one that names a picture the
// folder does not have. The game starts, opens a level, quits with status 0 and no crash
// report, and its log names the file once; the level check names it once too and passes.
#include "e2e/ProgramRun.h"
#include "support/LevelCheckRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const char kMetadata[] = "Images/Powerups/metadata.cfg";

struct Failure
{
    const char* kind;
    bool packed;       // played from a package file rather than the folder
    const char* text;  // the metadata file's new text; null: left as it is
    const char* added; // a line added to the file; null: none
    const char* named; // what the line naming the file says after its name
};

int Count(const std::string& text, const std::string& part)
{
    int count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

// The failure made in a copy of the pack at assets.
void MakeFailure(const std::string& assets, const Failure& failure)
{
    if (failure.text)
        WriteFile(assets + "/" + kMetadata, failure.text);
    if (failure.added) {
        const std::string path = assets + "/" + kMetadata;
        WriteFile(path, ReadFile(path) + "\n" + failure.added + "\n");
    }
}

// The pack (and Site) copied under home with the failure made; the folder's path.
std::string FailingCopy(const TempHome& home, const Failure& failure)
{
    const std::string folder = GameFolderCopy(home.Path());
    MakeFailure(folder + "/Assets", failure);
    return folder;
}

// The same failure in a copy of the pack whose only level file is Altiplano.lua, for the
// level check; the pack's path.
std::string FailingPackToCheck(const TempHome& home, const Failure& failure)
{
    const std::string pack = home.Path() + "/check-pack";
    fs::copy(std::string(BB_BINARY_DIR) + "/Assets", pack, fs::copy_options::recursive);
    KeepOnlyLevel(pack, "Altiplano.lua");
    MakeFailure(pack, failure);
    return pack;
}

class FailingMetadata : public ::testing::TestWithParam<Failure>
{
};

} // namespace

TEST_P(FailingMetadata, TheGamePlaysWithoutItAndTheFileIsNamedOnce)
{
    const Failure& failure = GetParam();
    TempHome home;
    const std::string line =
        std::string("The metadata file \"") + kMetadata + "\" " + failure.named;

    // The level check names the file once, as a warning, and checks the level (it fails
    // only for the levels the order names and this pack lacks).
    const LevelCheckRun check = RunLevelCheck(home.Path(), FailingPackToCheck(home, failure));
    const std::string& report = check.report;
    EXPECT_EQ(1, check.status) << report << check.errors;
    EXPECT_EQ(1, Count(report, "pack: warning: " + line)) << report;
    EXPECT_EQ(0, Count(report, "Altiplano.lua:")) << report;

    const std::string folder = FailingCopy(home, failure);
    if (failure.packed) {
        ASSERT_TRUE(PackGameFolder(folder));
    }
    std::vector<std::string> args = {"--keepcwd", "--console"};
    if (!failure.packed)
        args.push_back("--nopkg");
    auto run = std::make_unique<ProgramRun>(args, folder);

    ASSERT_TRUE(run->WaitForLogLine("Loading done", 60000))
        << ReadFile(GameLogPath()) << CrashReports();
    EXPECT_TRUE(ReachScreen(*run, "SwitchToScreen('MenuScreen')\n", "MenuScreen"));
    EXPECT_TRUE(ReachScreen(*run,
                            "GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = "
                            "'Altiplano' } SwitchToScreen('GameScreen')\n",
                            "GameScreen"));
    run->Send("AppQuit()\n");
    EXPECT_EQ(0, run->Wait(60000)) << run->Errors() << CrashReports();
    EXPECT_EQ("", CrashReports());
    const std::string log = ReadFile(GameLogPath());
    EXPECT_EQ(1, Count(log, "Warning: " + line)) << log;
}

INSTANTIATE_TEST_SUITE_P(
    BothPackFormats, FailingMetadata,
    ::testing::Values(Failure{"DoesNotRunInTheFolder", false, "Metadata {", nullptr,
                              "could not be run: "},
                      Failure{"NamesAPictureTheFolderLacksInThePackage", true, nullptr,
                              "Metadata { ['Bling.Gone.png'] = { numFrames = 2 } }",
                              "names \"Bling.Gone.png\", which is no file of its folder; the "
                              "entry is left out"}),
    [](const ::testing::TestParamInfo<Failure>& info) { return std::string(info.param.kind); });
