// The real program over a copy of its pack with one file damaged, started the default way:
// the splash preloads everything, the menu opens, a level starts, the game quits. A damaged
// picture, sound, song or font (or every picture, or every sound and song, at once) is named
// in the log and the game plays without it (exit 0). (Metadata files that fail:
// FailingMetadataTest.)
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <memory>
#include <ostream>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

struct Damage
{
    const char* kind;  // the case's name
    const char* file;  // under the pack folder
    std::string bytes; // what the file becomes
    bool packed;       // played from a package file rather than the folder
    // Every file of the pack ending so is damaged the same way too.
    std::vector<std::string> alike = {};
};

void PrintTo(const Damage& damage, std::ostream* out)
{
    *out << damage.kind << " (" << damage.file << ")";
}

// The first length bytes of the file ("" while the pack is not built yet).
std::string Head(const std::string& path, std::size_t length)
{
    return fs::exists(path) ? ReadFile(path).substr(0, length) : std::string();
}

std::string PackFile(const std::string& name)
{
    return std::string(BB_BINARY_DIR) + "/Assets/" + name;
}

// A copy of the program's folder as the game reads it (the pack and Site), with the
// damage done, under the temporary home; the folder's path.
std::string DamagedCopy(const TempHome& home, const Damage& damage)
{
    const std::string folder = GameFolderCopy(home.Path());
    WriteFile(folder + "/Assets/" + damage.file, damage.bytes);
    for (const auto& entry : fs::recursive_directory_iterator(folder + "/Assets"))
        for (const std::string& ending : damage.alike)
            if (entry.is_regular_file() && entry.path().extension() == ending)
                WriteFile(entry.path().string(), damage.bytes);
    if (damage.packed) {
        EXPECT_TRUE(PackGameFolder(folder));
    }
    return folder;
}

// Starts the game in folder (its working directory) and waits for the splash's loading.
struct GameInFolder
{
    explicit GameInFolder(const std::string& folder, bool packed)
    {
        std::vector<std::string> args = {"--keepcwd", "--console"};
        if (!packed)
            args.push_back("--nopkg");
        run = std::make_unique<ProgramRun>(args, folder);
    }
    std::unique_ptr<ProgramRun> run;
};

class DamagedPack : public ::testing::TestWithParam<Damage>
{
};

} // namespace

TEST_P(DamagedPack, TheDefaultStartGoesOnWithoutTheFileAndNamesIt)
{
    const Damage& damage = GetParam();
    TempHome home;
    const std::string folder = DamagedCopy(home, damage);
    GameInFolder game(folder, damage.packed);
    ProgramRun& run = *game.run;
    const std::string name = fs::path(damage.file).filename().string();

    ASSERT_TRUE(run.WaitForLogLine("Loading done", 60000))
        << ReadFile(GameLogPath()) << CrashReports();
    EXPECT_TRUE(ReachScreen(run, "SwitchToScreen('MenuScreen')\n", "MenuScreen"));
    EXPECT_TRUE(ReachScreen(run,
                            "GameOptions = { ballsLeft = 3, gameType = 'Adventure', levelName = "
                            "'Altiplano' } SwitchToScreen('GameScreen')\n",
                            "GameScreen"));
    run.Send("AppQuit()\n");
    EXPECT_EQ(0, run.Wait(60000)) << CrashReports();
    const std::string log = ReadFile(GameLogPath());
    const std::string named = "Warning: the resource \"" + name + "\" could not be loaded (";
    EXPECT_NE(std::string::npos, log.find(named)) << log;
    EXPECT_EQ(log.find(named), log.rfind(named)) << "logged once";
    EXPECT_EQ("", CrashReports());
}

INSTANTIATE_TEST_SUITE_P(
    EveryKind, DamagedPack,
    ::testing::Values(
        Damage{"Picture", "Images/Menu/Button.menu.png", "garbage", false},
        Damage{"LevelBackground", "Images/Screens/bkgLevelPeru.jpg",
               Head(PackFile("Images/Screens/bkgLevelPeru.jpg"), 100), false},
        Damage{"Sound", "Sounds/Powerups/Pickup_GemBells16.ogg", "", false},
        Damage{"Song", "Music/Theme.mid", "MThd garbage", false},
        Damage{"LevelSongInPackage", "Music/Andes.mid", Head(PackFile("Music/Andes.mid"), 40),
               true},
        Damage{"Font", "Fonts/DejaVuSans-Bold.ttf",
               Head(PackFile("Fonts/DejaVuSans-Bold.ttf"), 3000), false},
        Damage{"EveryPicture", "Images/Menu/bkgMenu.jpg", "garbage", false, {".png", ".jpg"}},
        Damage{"EverySoundAndSong", "Music/Jungle.mid", "", false, {".ogg", ".mid"}}),
    [](const ::testing::TestParamInfo<Damage>& info) { return std::string(info.param.kind); });
