// The lab: which bonus levels the player's secrets open, what the list and the notepad show,
// how the arrows and the developer key move over the open levels, and what Play starts.
#include "GameApp.h"
#include "ScreenProbe.h"

#include "core/Event.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "resources/ResourceManager.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/Dialog.h"
#include "screens/ScreenManager.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <map>
#include <memory>
#include <string>
#include <tuple>
#include <utility>

using namespace bbtest;

namespace {

class LabTest : public ::testing::Test, protected ScreenProbe
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->Screens()->AddScreen(new ArcadeLabScreen());
        app->Screens()->AddScreen(new ArcadeMapScreen());
        lab = static_cast<ArcadeLabScreen*>(app->Screens()->GetScreen("LabScreen"));
        Probe(app.get(), lab);
        // A new player: no records, no lab progress, no letters read.
        Player* player = app->CurrentPlayer();
        player->GetGameModeTable("Adventure").SetNil("LevelRecords");
        LuaPlus::LuaObject table = player->GetGameModeTable("Lab");
        for (const char* key :
             {"LevelSelected", "EpisodeSelected", "LevelUnlocked", "EpisodeUnlocked"})
            table.SetNil(key);
        table.SetNil("LevelRecords");
        player->GetOptionsTable().SetNil("gametip.lab.shown");
    }
    void TearDown() override { app.reset(); }

    LuaPlus::LuaObject Lab() { return app->CurrentPlayer()->GetGameModeTable("Lab"); }
    int LabValue(const char* key) { return static_cast<int>(Lab()[key].GetNumber()); }
    // Secrets found in the adventure and in the lab, `adventure` + `inLab` in all.
    void GiveSecrets(int adventure, int inLab)
    {
        Player* player = app->CurrentPlayer();
        for (auto [mode, level, secrets] : {std::make_tuple("Adventure", "Welcome", adventure),
                                            std::make_tuple("Lab", "Bonus1", inLab)}) {
            LuaPlus::LuaObject records = player->GetGameModeTable(mode).CreateTable("LevelRecords");
            records.CreateTable(level).SetInteger("secret", secrets);
        }
    }
    void Open()
    {
        app->SwitchTo("LabScreen");
        // The letter, when one came, is read and put away.
        const auto dialogs = lab->GetDialogs();
        for (Dialog* dialog : dialogs)
            lab->StopDialog(dialog);
        app->DispatchPosted();
    }

    Button* LevelButton(int i) { return ButtonNamed("buttonLevel" + std::to_string(i)); }
    Label* Needed(int i)
    {
        return dynamic_cast<Label*>(LevelButton(i)->GetChild("labelSecretsNeeded", true));
    }

    std::unique_ptr<GameApp> app;
    ArcadeLabScreen* lab = nullptr;
};

} // namespace

TEST(LabUnlocks, EachLevelCostsFiveSecretsMoreThanTheOneBefore)
{
    struct Case
    {
        int secrets, levels;
        bool all;
        int unlocked;
    };
    const Case cases[] = {
        {0, 10, false, 0},  {4, 10, false, 0},   {5, 10, false, 1},    {12, 10, false, 2},
        {49, 10, false, 9}, {50, 10, false, 10}, {999, 10, false, 10}, {-3, 10, false, 0},
        {12, 1, false, 1},  {0, 10, true, 10},   {0, 2, true, 2},      {30, 0, false, 0},
    };
    for (const Case& c : cases)
        EXPECT_EQ(c.unlocked, ArcadeLabScreen::LevelsUnlocked(c.secrets, c.levels, c.all))
            << c.secrets << " secrets, " << c.levels << " levels, all " << c.all;
    EXPECT_EQ(5, ArcadeLabScreen::SecretsNeeded(1));
    EXPECT_EQ(50, ArcadeLabScreen::SecretsNeeded(10));
}

TEST_F(LabTest, NoSecretsLocksEveryLevelAndPlayAndTheLetterComesOnce)
{
    const bool letters = TestResources().FindInfo("bkgLetter.png", true) != nullptr;
    app->SwitchTo("LabScreen");
    if (letters) {
        ASSERT_EQ(1u, lab->GetDialogs().size());
        EXPECT_EQ("gametip.lab", lab->GetDialogs().front()->GetName());
    }
    Open();
    EXPECT_EQ("No Secrets Found Yet", Text("labelSecretsFound"));
    EXPECT_EQ("The Lab", Text("labelEpisodeName"));
    for (int i = 1; i <= 10; ++i) {
        EXPECT_FALSE(LevelButton(i)->IsEnabled()) << i;
        EXPECT_EQ(std::to_string(5 * i), Needed(i)->GetText());
        EXPECT_TRUE(Needed(i)->IsDisabled()) << i;
    }
    EXPECT_EQ("The Magnet Test", LevelButton(1)->GetLabel()->GetText());
    EXPECT_FALSE(ButtonNamed("PlayButton")->IsEnabled());
    // Shown, the Lab table gains nothing.
    EXPECT_TRUE(Lab()["LevelUnlocked"].IsNil());
    EXPECT_TRUE(Lab()["EpisodeSelected"].IsNil());
    EXPECT_EQ("Lab", app->CurrentPlayer()->GetMode());

    // Nothing moves and nothing starts.
    Click("LevelRightButton");
    Click("LevelLeftButton");
    Click("buttonLevel2");
    EXPECT_TRUE(Lab()["LevelSelected"].IsNil());
    Click("PlayButton");
    EXPECT_EQ(lab, app->Screens()->GetCurrentScreen());

    // The second visit brings no letter.
    app->SwitchTo("MapScreen");
    app->SwitchTo("LabScreen");
    EXPECT_TRUE(lab->GetDialogs().empty());
}

TEST_F(LabTest, SecretsFromBothModesOpenTheLevelsTheyPayFor)
{
    GiveSecrets(1, 0);
    Open();
    EXPECT_EQ("1 Secret Found!", Text("labelSecretsFound"));
    EXPECT_FALSE(LevelButton(1)->IsEnabled());

    GiveSecrets(9, 3);
    Open();
    EXPECT_EQ("12 Secrets Found!", Text("labelSecretsFound"));
    EXPECT_TRUE(LevelButton(1)->IsEnabled());
    EXPECT_TRUE(LevelButton(2)->IsEnabled());
    EXPECT_FALSE(LevelButton(3)->IsEnabled());
    EXPECT_FALSE(Needed(2)->IsDisabled());
    EXPECT_TRUE(Needed(3)->IsDisabled());
    EXPECT_TRUE(ButtonNamed("PlayButton")->IsEnabled());

    // The arrows wrap over the two open levels.
    Click("LevelRightButton");
    EXPECT_EQ(2, LabValue("LevelSelected"));
    EXPECT_TRUE(LevelButton(2)->GetTextBackground1()->IsVisible());
    EXPECT_FALSE(LevelButton(1)->GetTextBackground1()->IsVisible());
    Click("LevelRightButton");
    EXPECT_EQ(1, LabValue("LevelSelected"));
    Click("LevelLeftButton");
    EXPECT_EQ(2, LabValue("LevelSelected"));
    EXPECT_EQ("The Wind Tunnel", Text("labelLevelName"));
}

TEST_F(LabTest, AReplacedCardKeepsOnlyWhatItsSecretsPayFor)
{
    GiveSecrets(12, 0);
    Lab().SetInteger("LevelUnlocked", 7);
    Lab().SetInteger("LevelSelected", 6);
    Open();
    // Shown held to what the secrets pay for; the card keeps its table until the player
    // chooses.
    EXPECT_FALSE(LevelButton(6)->IsEnabled());
    EXPECT_TRUE(LevelButton(1)->GetTextBackground1()->IsVisible());
    EXPECT_EQ(7, LabValue("LevelUnlocked"));
    EXPECT_EQ(6, LabValue("LevelSelected"));
}

TEST_F(LabTest, PlayStartsTheSelectedLabLevel)
{
    GiveSecrets(12, 0);
    Open();
    Click("buttonLevel2");
    Click("PlayButton");
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobal("GameOptions");
    ASSERT_TRUE(options.IsTable());
    EXPECT_EQ("Lab", std::string(options["gameType"].GetString()));
    EXPECT_EQ(11, options["episodeNumber"].GetNumber());
    EXPECT_EQ(2, options["levelNumber"].GetNumber());
    EXPECT_EQ(3, options["ballsLeft"].GetNumber());
    EXPECT_EQ("EMPTY", std::string(options["levelName"].GetString()));
    EXPECT_EQ(app->GameScreen(), app->Screens()->GetCurrentScreen());
    auto* logic = static_cast<ArcadeGameLogic*>(app->GameScreen()->GetLogic());
    ASSERT_NE(nullptr, logic);
    app->Pass(3);
    ASSERT_NE(nullptr, logic->GetLevel());
    EXPECT_EQ("Bonus2", logic->GetLevel()->GetLevelName());
}

TEST_F(LabTest, TheDeveloperKeyOpensEveryLevelButPlayNeedsALevelTable)
{
    Open();
    SoundLog sounds;
    EXPECT_FALSE(Key('\\', KMOD_LCTRL));
    EXPECT_FALSE(LevelButton(1)->IsEnabled());
    for (int press = 1; press <= 2; ++press) {
        EXPECT_TRUE(Key('\\', KMOD_LCTRL | KMOD_LALT | KMOD_NUM));
        EXPECT_TRUE(LevelButton(10)->IsEnabled());
        ASSERT_EQ(static_cast<std::size_t>(press), sounds.Plays().size());
        EXPECT_EQ("attention5.ogg", sounds.Plays().back().name);
    }
    for (int i = 1; i <= 10; ++i)
        EXPECT_TRUE(LevelButton(i)->IsEnabled()) << i;
    EXPECT_EQ("No Secrets Found Yet", Text("labelSecretsFound"));

    // A listed level without a table is shown by its name and starts nothing.
    if (GetGlobalLuaState()->GetGlobal("Levels")["Bonus9"].IsNil()) {
        Click("buttonLevel9");
        EXPECT_EQ("Bonus9", Text("labelLevelName"));
        EXPECT_EQ(" ", Text("timeLabel"));
        Click("PlayButton");
        EXPECT_EQ(lab, app->Screens()->GetCurrentScreen());
    }
    EXPECT_TRUE(Key(SDLK_ESCAPE));
}

TEST_F(LabTest, TheNotepadShowsTheLevelsTargetsRecordAndStars)
{
    GiveSecrets(5, 0);
    LuaPlus::LuaObject record = Lab()["LevelRecords"]["Bonus1"];
    for (auto [flag, value] : {std::make_pair("score", 12500), std::make_pair("gotBigScore", 1),
                               std::make_pair("noBallsLost", 0), std::make_pair("fastTime", 1),
                               std::make_pair("allLoot", 0), std::make_pair("secret", 1)})
        record.SetInteger(flag, value);
    Open();
    EXPECT_EQ("The Magnet Test", Text("labelLevelName"));
    EXPECT_EQ("$12,500", Text("labelScoreValue"));
    EXPECT_EQ(3, LitStars());
    EXPECT_EQ(0, Frame("actorScoreStar"));
    EXPECT_EQ(1, Frame("actorBallStar"));
    EXPECT_EQ(0, Frame("actorTimeStar"));
    EXPECT_EQ(1, Frame("actorLootStar"));
    EXPECT_EQ(0, Frame("actorSecretStar"));
    EXPECT_EQ(0u, Text("scoreNeededLabel").find("Over "));
    EXPECT_EQ("1 Ball Used:", Text("ballLabel"));
    EXPECT_NE(std::string::npos, Text("timeLabel").find(" Time Bonus:"));
    EXPECT_EQ(':', Text("timeLabel")[2]);
    EXPECT_NE(std::string::npos, Text("lootLabel").find("% Loot Caught:"));
}

// The lab's notepad is the map's, child for child and place for place, the best loot
// written alike.
TEST_F(LabTest, TheNotepadIsTheMaps)
{
    Screen* map = app->Screens()->GetScreen("MapScreen");
    auto layout = [](Actor* notepad) {
        std::map<std::string, std::pair<int, int>> places;
        for (Actor* child : notepad->GetChildren())
            EXPECT_TRUE(
                places.emplace(child->GetName(), std::make_pair(child->GetX(), child->GetY()))
                    .second)
                << child->GetName() << " twice";
        return places;
    };
    ASSERT_NE(nullptr, lab->GetChild("LevelView", true));
    ASSERT_NE(nullptr, map->GetChild("objNotepad", true));
    auto inLab = layout(lab->GetChild("LevelView", true));
    auto onMap = layout(map->GetChild("objNotepad", true));
    EXPECT_EQ(1u, inLab.count("labelScoreValue"));
    // The title is centred on its text, which differs.
    inLab.erase("labelLevelName");
    onMap.erase("labelLevelName");
    EXPECT_EQ(onMap, inLab);
    EXPECT_EQ("Best Loot:", Text("labelScoreText"));
    EXPECT_EQ("Best Loot:", dynamic_cast<Label*>(map->GetChild("labelScoreText", true))->GetText());
}

// The help button and F1 both force the lab's help letter, each time.
TEST_F(LabTest, HelpAndF1BringTheLabsLetterEveryTime)
{
    if (!TestResources().FindInfo("bkgLetter.png", true))
        GTEST_SKIP() << "the letters' pictures are not in the pack yet";
    Open();
    EXPECT_TRUE(Key(SDLK_F1));
    ASSERT_EQ(1u, lab->GetDialogs().size());
    Click("HelpButton");
    EXPECT_EQ(2u, lab->GetDialogs().size());
    EXPECT_TRUE(lab->IsDialogVisible());
}
