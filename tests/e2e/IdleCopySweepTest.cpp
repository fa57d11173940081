// Two copies of the real program side by side (--multiapp), one idle and one that changes the
// player's data: for every screen a player reaches without playing, over every form of card
// the game did not write itself, the idle copy opens it and ends (stopped, or quitting); it
// leaves every card's and the configuration's bytes as they were and makes no file, and the
// other copy's change is then saved when it quits.
#include "e2e/ProgramRun.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <signal.h>

#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <vector>

using namespace bbtest;
namespace fs = std::filesystem;

namespace {

const std::vector<std::string> kIdleCopyArgs = {"--console", "--windowed", "--nosound",
                                                "--multiapp"};

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

// Card 1 as this release writes it: named, in the Adventure, saved by a copy that ended
// without quitting (so with no table of a mode it never played).
std::string SeededCard()
{
    ProgramRun seed({"--console", "--windowed", "--nosound"});
    seed.Send("local c = Players[1] c.Name = 'p1' c.Game_Modes = { Adventure = "
              "CreateGameModeTable() } c.Game_Modes.Adventure.LevelUnlocked = 2 "
              "local ok = SaveData() io.stderr:write('seeded ' .. "
              "tostring(ok) .. '\\n')\n");
    EXPECT_TRUE(seed.WaitForErrorLine("seeded true")) << seed.Errors();
    seed.Signal(SIGKILL);
    seed.Wait();
    return ReadFile(CardPath(1));
}

// The text with every "from" replaced by "to".
std::string Replaced(std::string text, const std::string& from, const std::string& to)
{
    for (std::size_t at = text.find(from); at != std::string::npos;
         at = text.find(from, at + to.size()))
        text.replace(at, from.size(), to);
    return text;
}

// Card 1 in each form a card the game did not write itself may have (the other slots have
// no card): as this release writes it, or by an earlier or other release, or by hand.
std::vector<std::pair<std::string, std::string>> CardForms()
{
    const std::string plain = SeededCard();
    const std::string name = "    Name = \"p1\",\n";
    std::string reordered = Replaced(plain, name, "");
    reordered.insert(reordered.find('\n') + 1, name);
    const std::vector<std::pair<std::string, std::string>> forms = {
        {"empty slots 2-4", plain},
        {"stale rank",
         Replaced(plain, "LevelRecords = {\n", "LevelRecords = { Bonus1 = { score = 150000 },\n")},
        {"earlier lab", Replaced(plain, "Game_Modes = {\n",
                                 "Game_Modes = { Lab = { EpisodeSelected = 1, "
                                 "EpisodeUnlocked = 1, LevelSelected = 1, LevelUnlocked = 1 },\n")},
        {"episode past", Replaced(plain, "EpisodeSelected = 1,", "EpisodeSelected = 11,")},
        {"level past", Replaced(plain, "LevelSelected = 1,", "LevelSelected = 99,")},
        {"episode 0", Replaced(plain, "EpisodeSelected = 1,", "EpisodeSelected = 0,")},
        {"BOM", "\xEF\xBB\xBF" + plain},
        {"CRLF", Replaced(plain, "\n", "\r\n")},
        {"key order", reordered},
        {"Card_Version", Replaced(plain, "Card_Version = 4,", "Card_Version = 4.0,")},
    };
    for (std::size_t i = 1; i < forms.size(); ++i)
        EXPECT_NE(plain, forms[i].second) << forms[i].first;
    return forms;
}

// The configuration as an older copy, or a hand, left it: volumes out of range, keys in an
// order of its own, and without the display setting the start settles or a current player,
// which the start chooses.
const char* const kOtherConfig =
    "LoadConfig {\n    sfx_volume = -3,\n    music_volume = 150,\n    full_screen = true,\n}\n";

// Every file under the home but the log and the runs' own output, with its bytes.
std::map<std::string, std::string> FilesUnder(const std::string& home)
{
    std::map<std::string, std::string> files;
    for (const auto& entry : fs::recursive_directory_iterator(home))
        if (entry.is_regular_file() && entry.path() != GameLogPath() &&
            entry.path().parent_path() != home)
            files[entry.path().string()] = ReadFile(entry.path().string());
    return files;
}

} // namespace

class IdleCopySweep : public testing::TestWithParam<Sight>
{
};

TEST_P(IdleCopySweep, ACopyThatOnlyLooksNeverWritesAndNeverCostsTheOtherCopyItsChange)
{
    TempHome home;
    const auto forms = CardForms();
    const std::string config = kOtherConfig;
    const Sight& sight = GetParam();
    for (const auto& [form, card] : forms)
        for (const bool quits : {false, true}) {
            SCOPED_TRACE(std::string(sight.name) + ", " + form + (quits ? ", quit" : ", SIGTERM"));
            for (int slot = 2; slot <= 4; ++slot)
                fs::remove(CardPath(slot));
            WriteFile(CardPath(1), card);
            WriteFile(GameConfigPath(), config);
            const auto before = FilesUnder(home.Path());

            ProgramRun idle(kIdleCopyArgs);
            ASSERT_TRUE(Ready(idle)) << idle.Errors();
            // The other copy renames the player and changes a setting, and keeps them
            // unsaved until it quits (once over the card as this release writes it).
            const bool other = form == forms[0].first && !quits;
            std::unique_ptr<ProgramRun> changer;
            if (other) {
                changer = std::make_unique<ProgramRun>(kIdleCopyArgs);
                ASSERT_TRUE(Ready(*changer)) << changer->Errors();
            }
            EXPECT_TRUE(ReachScreen(idle, sight.line, sight.screen)) << idle.Errors();
            EXPECT_TRUE(Ready(idle)) << idle.Errors();
            if (other) {
                changer->Send("Players[1].Name = 'renamed' Config.music_volume = 37 "
                              "io.stderr:write('changed\\n')\n");
                ASSERT_TRUE(changer->WaitForErrorLine("changed")) << changer->Errors();
            }
            if (quits)
                idle.Send("AppQuit()\n");
            else
                idle.Signal(SIGTERM);
            EXPECT_EQ(0, idle.Wait()) << idle.Errors() << CrashReports();
            const auto after = FilesUnder(home.Path());
            int made = 0, changed = 0;
            std::string names;
            for (const auto& file : after)
                if (before.count(file.first) == 0) {
                    ++made;
                    names += " " + file.first;
                }
            for (const auto& file : before)
                changed += after.count(file.first) == 0 || after.at(file.first) != file.second;
            std::printf("%-6s %-16s %-8s files changed %d, files made %d\n", sight.name,
                        form.c_str(), quits ? "quit" : "SIGTERM", changed, made);
            EXPECT_EQ(card, ReadFile(CardPath(1))) << "the idle copy wrote the card";
            EXPECT_EQ(config, ReadFile(GameConfigPath()))
                << "the idle copy wrote the configuration";
            EXPECT_EQ(0, made) << "the idle copy made" << names;
            if (!other)
                continue;
            changer->Send("AppQuit()\n");
            EXPECT_EQ(0, changer->Wait()) << changer->Errors() << CrashReports();
            EXPECT_NE(std::string::npos, ReadFile(CardPath(1)).find("Name = \"renamed\""))
                << ReadFile(GameLogPath());
            EXPECT_NE(std::string::npos, ReadFile(GameConfigPath()).find("music_volume = 37"))
                << ReadFile(GameConfigPath());
        }
}

INSTANTIATE_TEST_SUITE_P(Screens, IdleCopySweep, testing::ValuesIn(kSights),
                         [](const testing::TestParamInfo<Sight>& info) {
                             return std::string(info.param.name);
                         });

// Four copies side by side at the menu over a home with only card 1, each naming the player
// of its own slot (a new player in the empty slots), stopped together: every name is saved,
// round after round (a copy's stop writes only the card it changed, and no card of a slot it
// left empty).
TEST(IdleCopiesSweep, FourCopiesStoppedTogetherEachKeepTheirOwnChange)
{
    TempHome home;
    {
        ProgramRun seed({"--console", "--windowed", "--nosound"});
        seed.Send("Players[1].Name = 'p1' AppQuit()\n");
        ASSERT_EQ(0, seed.Wait()) << seed.Errors();
    }
    const std::string first = ReadFile(CardPath(1));
    int lost = 0;
    for (int round = 1; round <= 3; ++round) {
        SCOPED_TRACE("round " + std::to_string(round));
        RemoveTree(fs::path(CardPath(1)).parent_path());
        WriteFile(CardPath(1), first);
        std::vector<std::unique_ptr<ProgramRun>> copies;
        for (int slot = 1; slot <= 4; ++slot) {
            copies.push_back(std::make_unique<ProgramRun>(kIdleCopyArgs));
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
        for (int slot = 1; slot <= 4; ++slot) {
            const std::string name =
                "Name = \"r" + std::to_string(round) + "s" + std::to_string(slot) + "\"";
            const bool kept = fs::exists(CardPath(slot)) &&
                              ReadFile(CardPath(slot)).find(name) != std::string::npos;
            lost += !kept;
            EXPECT_TRUE(kept) << "card " << slot;
        }
    }
    std::printf("four copies, only card 1: %d of 12 players lost\n", lost);
}
