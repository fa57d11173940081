// Everything written on ruled paper stands on its rules: the end-of-level tally with every
// level's targets and the longest results it shows, the notepads of the map and the lab
// for every level they list, and every letter and tip the game writes.
#include "RuledPaper.h"
#include "GameApp.h"

#include "display/Font.h"
#include "logic/GameProgress.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/EndLevelBonusDialog.h"
#include "screens/GameOverDialog.h"
#include "screens/GameTips.h"
#include "screens/LevelNotepad.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <memory>
#include <set>
#include <string>
#include <vector>

using bbtest::RuledPaper;

namespace {

class RuledPaperTest : public ::testing::Test
{
protected:
    void SetUp() override { app = std::make_unique<bbtest::GameApp>(); }
    void TearDown() override { app.reset(); }

    // Fails for each fault of the sheet, and when it held fewer lines than it must.
    static void Expect(const Actor* sheet, const std::string& place, int atLeast)
    {
        ASSERT_NE(nullptr, sheet) << place;
        for (const std::string& fault : RuledPaper::Faults(*sheet, place))
            ADD_FAILURE() << fault;
        EXPECT_GE(RuledPaper::LinesChecked(), atLeast) << place << ": too few lines seen";
    }
    static Label* LabelIn(Actor* root, const std::string& name)
    {
        auto* label = dynamic_cast<Label*>(root->GetChild(name, true));
        EXPECT_NE(nullptr, label) << name;
        return label;
    }

    std::unique_ptr<bbtest::GameApp> app;
};

} // namespace

// The tally as it ends: every row's caption and result, the amount, the best and the
// message line, for each level's targets. The row captions share one size.
TEST_F(RuledPaperTest, TheTallyStandsOnTheLettersRules)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    auto* tally = new EndLevelBonusDialog("Mission", 0);
    screen->StartDialog(tally, false);
    tally->SetScore(9999999);
    tally->SetTopScore(9999999, false);
    tally->ShowMessageLine("New Record!");
    tally->SetLabelText("secretLabel", "Secret Found:");
    const char* const results[][2] = {{"ballLabel", "You Used 99"},
                                      {"timeLabel", "You Took 59:59"},
                                      {"lootLabel", "You Caught 100%"},
                                      {"secretLabel", "Keep Looking!"},
                                      {"scoreLabel", "Way Over!"}};
    for (const auto& result : results)
        tally->SetMessage(result[0], result[1]);
    int shown = 0;
    for (const std::string& name : bbtest::TableKeys("Levels")) {
        LevelNotepad::ShowTargets(tally, name, true);
        Expect(tally, "tally of " + name, 14);
        std::set<int> sizes;
        for (const char* row : {"scoreNeededLabel", "ballLabel", "timeLabel", "lootLabel"})
            sizes.insert(LabelIn(tally, row)->GetFont()->GetPointSize());
        EXPECT_EQ(1u, sizes.size()) << "the captions of " << name << " differ in size";
        ++shown;
    }
    EXPECT_GT(shown, 50);
    screen->StopDialog(tally);
    app->Pass();
}

// The notepad the map and the lab share, for every level each lists, with a best of seven
// figures: on its rules, and the best written the same way on both.
TEST_F(RuledPaperTest, BothNotepadsStandOnTheirRulesAndReadAlike)
{
    auto* map =
        static_cast<ArcadeMapScreen*>(app->ShowWithoutItsTip(new ArcadeMapScreen(), "MapScreen"));
    LuaPlus::LuaObject adventure = app->CurrentPlayer()->GetGameModeTable("Adventure");
    adventure.SetInteger("EpisodeUnlocked", GameProgress::EpisodeCount());
    adventure.SetInteger("LevelUnlocked", 99);
    LuaPlus::LuaObject records = adventure.CreateTable("LevelRecords");
    for (const std::string& name : bbtest::TableKeys("Levels"))
        records.CreateTable(name.c_str()).SetInteger("score", 2003);
    int shown = 0;
    for (int episode = 1; episode <= GameProgress::EpisodeCount(); ++episode)
        for (int level = 1; !LevelManager::GetLevelNameAt(episode, level).empty(); ++level) {
            adventure.SetInteger("EpisodeSelected", episode);
            adventure.SetInteger("LevelSelected", level);
            map->Update();
            Expect(map->GetChild("objNotepad", true),
                   "map notepad at " + LevelManager::GetLevelNameAt(episode, level), 6);
            ++shown;
        }
    EXPECT_GT(shown, 50);
    const std::string mapCaption = LabelIn(map, "labelScoreText")->GetText();
    const std::string mapBest = LabelIn(map, "labelScoreValue")->GetText();

    LuaPlus::LuaObject lab = app->CurrentPlayer()->GetGameModeTable("Lab");
    LuaPlus::LuaObject labRecords = lab.CreateTable("LevelRecords");
    for (const std::string& name : bbtest::TableKeys("Levels"))
        labRecords.CreateTable(name.c_str()).SetInteger("score", 2003);
    records.CreateTable("Welcome").SetInteger("secret", 60);
    Screen* labScreen = app->ShowWithoutItsTip(new ArcadeLabScreen(), "LabScreen");
    for (int i = 1; i <= ArcadeLabScreen::kLevelCount; ++i) {
        auto* button = labScreen->GetChild("buttonLevel" + std::to_string(i), true);
        ASSERT_NE(nullptr, button);
        labScreen->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(button)));
        app->DispatchPosted();
        Expect(labScreen->GetChild("LevelView", true), "lab notepad at level " + std::to_string(i),
               6);
        EXPECT_EQ(mapCaption, LabelIn(labScreen, "labelScoreText")->GetText());
        EXPECT_EQ(mapBest, LabelIn(labScreen, "labelScoreValue")->GetText()) << "level " << i;
    }
}

// Every letter before a level, the letter after a lost game and every tip and closing
// letter the configuration holds.
TEST_F(RuledPaperTest, EveryLetterStandsOnItsRules)
{
    Screen* screen = app->Screens()->GetScreen("Elsewhere");
    auto check = [&](Dialog* letter, const std::string& place) {
        screen->StartDialog(letter, false);
        Expect(letter, place, 2);
        screen->StopDialog(letter);
        app->Pass();
    };
    for (const std::string& name : bbtest::TableKeys("Levels")) {
        std::unique_ptr<Level> level(LevelManager::GetLevelManager()->GetLevel(name));
        if (level && !level->GetNoteText().empty())
            check(new StartLevelDialog("WWWWWWWWW", level->GetNoteText(), level->GetFromText(),
                                       level->GetFullName()),
                  "letter of " + name);
    }
    check(new GameOverDialog("WWWWWWWWW", bbtest::ConfigText("gameOverNoteText"),
                             bbtest::ConfigText("gameOverFromText"),
                             bbtest::ConfigText("gameOverTitleText")),
          "game-over letter");
    int tips = 0;
    for (const std::string& key : bbtest::TableKeys("ConstConfig")) {
        const bool tip = key.rfind("gametip.", 0) == 0 || key.rfind("help.", 0) == 0 ||
                         key.rfind("finished.", 0) == 0;
        if (!tip || key.find(".Title") != std::string::npos ||
            key.find(".Character") != std::string::npos || bbtest::ConfigText(key).empty())
            continue;
        ASSERT_TRUE(ShowGameTip(screen, key, "Congrats!", true)) << key;
        for (Dialog* letter : screen->GetDialogs()) {
            Expect(letter, "tip " + key, 2);
            screen->StopDialog(letter);
        }
        app->Pass();
        ++tips;
    }
    EXPECT_GT(tips, 15);
}
