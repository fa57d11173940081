// Two copies of the real program side by side (--multiapp), one idle and one that changes the
// player's data: for every screen a player reaches without playing, the idle copy opens it
// and ends first; the other copy's change is then saved when it quits, and the idle copy,
// which changed nothing, leaves the card's and the configuration's bytes as they were.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <memory>
#include <string>
#include <vector>

using namespace bbtest;

namespace {

const std::vector<std::string> kArgs = {"--console", "--windowed", "--nosound", "--multiapp"};

// Whether the copy has read its files and answers its console.
bool Ready(ProgramRun& run)
{
    run.Send("io.stderr:write('ready\\n')\n");
    return run.WaitForErrorLine("ready");
}

// A screen of those a player reaches without playing, and what shows it.
struct Sight
{
    const char* name;
    const char* line;   // the console line that opens it
    const char* screen; // the screen that is current once it shows
};

// The card view stands on the menu; the finds are the artifact screen.
const Sight kSights[] = {
    {"menu", "SwitchToScreen('MenuScreen')\n", "MenuScreen"},
    {"map", "SwitchToScreen('MapScreen')\n", "MapScreen"},
    {"lab", "SwitchToScreen('LabScreen')\n", "LabScreen"},
    {"finds", "SwitchToScreen('ArtifactScreen')\n", "ArtifactScreen"},
};

// The saves a player has: card 1 named, in the Adventure, saved by a copy that ended
// without quitting (so with no table of a mode it never played), and a configuration.
struct Saves
{
    std::string card;
    std::string config;
};

Saves MakeSaves()
{
    ProgramRun seed({"--console", "--windowed", "--nosound"});
    seed.Send("local c = Players[1] c.Name = 'p1' c.Game_Modes = { Adventure = "
              "CreateGameModeTable() } c.Game_Modes.Adventure.LevelUnlocked = 2 "
              "local ok = SaveData() WriteConfig() io.stderr:write('seeded ' .. tostring(ok) "
              ".. '\\n')\n");
    EXPECT_TRUE(seed.WaitForErrorLine("seeded true")) << seed.Errors();
    seed.Signal(SIGKILL);
    seed.Wait();
    // The configuration as an older copy left it, without the display setting the start
    // settles when it is missing: that is no change of the player's.
    std::string config = ReadFile(GameConfigPath());
    const std::string settled = "    use_3d_acceleration = true,\n";
    EXPECT_NE(std::string::npos, config.find(settled)) << config;
    config.erase(config.find(settled), settled.size());
    WriteFile(GameConfigPath(), config);
    Saves saves{ReadFile(CardPath(1)), config};
    EXPECT_NE(std::string::npos, saves.card.find("Name = \"p1\"")) << saves.card;
    EXPECT_EQ(std::string::npos, saves.card.find("Lab =")) << saves.card;
    EXPECT_NE("", saves.config);
    return saves;
}

} // namespace

TEST(IdleCopySweep, ACopyThatOnlyLooksNeverWritesAndNeverCostsTheOtherCopyItsChange)
{
    TempHome home;
    const Saves saves = MakeSaves();
    for (const Sight& sight : kSights) {
        SCOPED_TRACE(sight.name);
        WriteFile(CardPath(1), saves.card);
        WriteFile(GameConfigPath(), saves.config);

        ProgramRun idle(kArgs);
        ASSERT_TRUE(Ready(idle)) << idle.Errors();
        ProgramRun changer(kArgs);
        ASSERT_TRUE(Ready(changer)) << changer.Errors();
        EXPECT_TRUE(ReachScreen(idle, sight.line, sight.screen)) << idle.Errors();
        // The other copy renames the player and changes a setting, and keeps them unsaved
        // until it quits.
        changer.Send("Players[1].Name = 'renamed' Config.music_volume = 37 "
                     "io.stderr:write('changed\\n')\n");
        ASSERT_TRUE(changer.WaitForErrorLine("changed")) << changer.Errors();

        // The idle copy ends first, as a session's end stops it.
        idle.Signal(SIGTERM);
        EXPECT_EQ(0, idle.Wait()) << idle.Errors() << CrashReports();
        EXPECT_EQ(saves.card, ReadFile(CardPath(1))) << "the idle copy wrote the card";
        EXPECT_EQ(saves.config, ReadFile(GameConfigPath()))
            << "the idle copy wrote the configuration";

        changer.Send("AppQuit()\n");
        EXPECT_EQ(0, changer.Wait()) << changer.Errors() << CrashReports();
        EXPECT_NE(std::string::npos, ReadFile(CardPath(1)).find("Name = \"renamed\""))
            << ReadFile(GameLogPath());
        EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("music_volume = 37"))
            << ReadFile(GameConfigPath());
    }
}

// Four copies side by side at the menu, each renaming the player of its own card, stopped
// together: every rename is saved, round after round (a copy's quit writes only the card it
// changed).
TEST(IdleCopySweep, FourCopiesStoppedTogetherEachKeepTheirOwnChange)
{
    TempHome home;
    {
        ProgramRun seed({"--console", "--windowed", "--nosound"});
        seed.Send("for s = 1, 4 do Players[s].Name = 'p' .. s end AppQuit()\n");
        ASSERT_EQ(0, seed.Wait()) << seed.Errors();
    }
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        std::vector<std::unique_ptr<ProgramRun>> copies;
        for (int slot = 1; slot <= 4; ++slot) {
            copies.push_back(std::make_unique<ProgramRun>(kArgs));
            ASSERT_TRUE(Ready(*copies.back())) << copies.back()->Errors();
            // Each player stands at the menu, its card shown.
            EXPECT_TRUE(
                ReachScreen(*copies.back(), "SwitchToScreen('MenuScreen')\n", "MenuScreen"));
        }
        for (int slot = 1; slot <= 4; ++slot) {
            ProgramRun& copy = *copies[slot - 1];
            const std::string name = "r" + std::to_string(round) + "s" + std::to_string(slot);
            copy.Send("Players[" + std::to_string(slot) + "].Name = '" + name +
                      "' io.stderr:write('renamed\\n')\n");
            ASSERT_TRUE(copy.WaitForErrorLine("renamed")) << copy.Errors();
        }
        for (auto& copy : copies)
            copy->Signal(SIGTERM);
        for (auto& copy : copies)
            EXPECT_EQ(0, copy->Wait()) << copy->Errors();
        for (int slot = 1; slot <= 4; ++slot)
            EXPECT_NE(std::string::npos, ReadFile(CardPath(slot))
                                             .find("Name = \"r" + std::to_string(round) + "s" +
                                                   std::to_string(slot) + "\""))
                << "card " << slot << ":\n"
                << ReadFile(CardPath(slot));
    }
}
