// The adventure map: what it shows a player from the Adventure table, how its arrows, keys
// and pins move the selection (only over unlocked places), and what Play starts.
#include "GameApp.h"
#include "ScreenProbe.h"

#include "core/Event.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "resources/ResourceManager.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/Dialog.h"
#include "screens/MapProgress.h"
#include "screens/ScreenManager.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"
#include "widgets/Button.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>

using namespace bbtest;

namespace {

class MapTest : public ::testing::Test, protected ScreenProbe
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->Screens()->AddScreen(new ArcadeMapScreen());
        map = static_cast<ArcadeMapScreen*>(app->Screens()->GetScreen("MapScreen"));
        Probe(app.get(), map);
        // The map's tip letter has been read (its own test shows it).
        app->CurrentPlayer()->GetOptionsTable().SetBoolean("gametip.map.shown", true);
    }
    void TearDown() override { app.reset(); }

    // The Adventure of a player who has played it.
    LuaPlus::LuaObject Adventure() { return app->CurrentPlayer()->MakeGameModeTable("Adventure"); }
    void Store(int episode, int level, int openEpisode, int openLevel)
    {
        LuaPlus::LuaObject table = Adventure();
        table.SetInteger("EpisodeSelected", episode);
        table.SetInteger("LevelSelected", level);
        table.SetInteger("EpisodeUnlocked", openEpisode);
        table.SetInteger("LevelUnlocked", openLevel);
    }
    // The place the map shows selected, held to what exists.
    std::pair<int, int> Selected()
    {
        const MapPlace place = MapProgress::Read(Adventure()).selected;
        return {place.episode, place.level};
    }
    void Open() { app->SwitchTo("MapScreen"); }

    Button* LevelButton(int list, int i)
    {
        Actor* view = map->GetChild("LevelListView" + std::to_string(list), true);
        return dynamic_cast<Button*>(view->GetChild("buttonLevel" + std::to_string(i), true));
    }
    void KeyUp(int sym)
    {
        ButtonClickLatch() = true; // one click per pass, as the main loop allows
        Event event{};
        event.key.type = SDL_KEYUP;
        event.key.keysym.sym = static_cast<SDLKey>(sym);
        map->OnEvent(event);
        app->Pass();
    }

    std::unique_ptr<GameApp> app;
    ArcadeMapScreen* map = nullptr;
};

} // namespace

TEST_F(MapTest, APlayersFirstVisitBringsTheMapsTipAndLaterVisitsDoNot)
{
    LuaPlus::LuaObject options = app->CurrentPlayer()->GetOptionsTable();
    options.SetNil("gametip.map.shown");
    Open();
    ASSERT_EQ(1u, map->GetDialogs().size());
    Dialog* tip = map->GetDialogs().front();
    EXPECT_EQ("gametip.map", tip->GetName());
    EXPECT_TRUE(app->CurrentPlayer()->WasShown("gametip.map.shown"));
    EXPECT_TRUE(options["gametip.map.shown"].IsNil()) << "a tip shown changes no card";
    map->StopDialog(tip);
    app->DispatchPosted();

    app->SwitchTo("Elsewhere");
    Open();
    EXPECT_TRUE(map->GetDialogs().empty());
}

TEST_F(MapTest, NewPlayerSeesCapeHornAndPlayStartsWelcome)
{
    LuaPlus::LuaObject table = Adventure();
    for (const char* key : {"LevelSelected", "EpisodeSelected", "LevelUnlocked", "EpisodeUnlocked"})
        table.SetNil(key);
    Open();

    EXPECT_EQ(std::make_pair(1, 1), Selected());
    // Shown, the table gains nothing.
    EXPECT_TRUE(table["LevelUnlocked"].IsNil());
    EXPECT_TRUE(table["EpisodeSelected"].IsNil());
    EXPECT_EQ("Cape Horn", Text("labelEpisodeName"));
    EXPECT_EQ("Welcome Aboard", Text("labelLevelName"));
    EXPECT_EQ("$0", Text("labelScoreValue"));

    // Only the first pin, the newest episode: red head, flashing, its newest marker.
    Button* cape = ButtonNamed("buttonCapeHorn");
    EXPECT_TRUE(cape->IsVisible());
    EXPECT_EQ("Cape Horn", cape->GetLabel()->GetText());
    EXPECT_EQ(0, Frame("pushpinCapeHorn"));
    EXPECT_TRUE(cape->IsFlashing());
    EXPECT_TRUE(cape->GetTextBackground2()->IsVisible());
    EXPECT_FALSE(cape->GetTextBackground1()->IsVisible());
    EXPECT_FALSE(ButtonNamed("buttonPeru")->IsVisible());
    EXPECT_FALSE(map->GetChild("actorLinePeru", true)->IsVisible());

    // Five levels listed, only the first open, selected and flashing as the newest.
    EXPECT_FALSE(map->GetChild("LevelListView6", true)->IsVisible());
    EXPECT_TRUE(LevelButton(5, 1)->IsEnabled());
    EXPECT_TRUE(LevelButton(5, 1)->IsFlashing());
    EXPECT_TRUE(LevelButton(5, 1)->GetTextBackground1()->IsVisible());
    EXPECT_TRUE(LevelButton(5, 1)->GetTextBackground2()->IsVisible());
    for (int i = 2; i <= 5; ++i)
        EXPECT_FALSE(LevelButton(5, i)->IsEnabled()) << i;
    EXPECT_EQ("Crates", LevelButton(5, 2)->GetLabel()->GetText().substr(0, 6));

    // The casual player's targets for the first level (fast time 2 minutes + a quarter).
    EXPECT_EQ("03:15 Time Bonus:", Text("timeLabel"));
    EXPECT_EQ("1 Ball Used:", Text("ballLabel"));
    EXPECT_EQ("95% Loot Caught:", Text("lootLabel"));
    EXPECT_EQ(0u, Text("scoreNeededLabel").find("Over "));
    EXPECT_EQ(0, LitStars());

    EXPECT_TRUE(ButtonNamed("PlayButton")->IsEnabled());
    Click("PlayButton");
    LuaPlus::LuaObject options = GetGlobalLuaState()->GetGlobal("GameOptions");
    ASSERT_TRUE(options.IsTable());
    EXPECT_EQ("Adventure", std::string(options["gameType"].GetString()));
    EXPECT_EQ(1, options["episodeNumber"].GetNumber());
    EXPECT_EQ(1, options["levelNumber"].GetNumber());
    EXPECT_EQ("EMPTY", std::string(options["levelName"].GetString()));
    EXPECT_EQ(app->GameScreen(), app->Screens()->GetCurrentScreen());
    auto* logic = static_cast<ArcadeGameLogic*>(app->GameScreen()->GetLogic());
    ASSERT_NE(nullptr, logic);
    app->Pass(3);
    ASSERT_NE(nullptr, logic->GetLevel());
    EXPECT_EQ("Welcome", logic->GetLevel()->GetLevelName());
}

TEST_F(MapTest, TargetsFollowThePlayersSkill)
{
    Store(1, 1, 1, 1);
    Open();
    const std::string casualScore = Text("scoreNeededLabel");

    app->CurrentPlayer()->GetOptionsTable().SetString("player.skill", "kid");
    map->Update();
    EXPECT_EQ("04:00 Time Bonus:", Text("timeLabel"));
    EXPECT_EQ("3 Balls Used:", Text("ballLabel"));
    EXPECT_EQ("90% Loot Caught:", Text("lootLabel"));
    EXPECT_NE(casualScore, Text("scoreNeededLabel"));

    app->CurrentPlayer()->GetOptionsTable().SetString("player.skill", "gamer");
    map->Update();
    EXPECT_EQ("03:00 Time Bonus:", Text("timeLabel"));
    EXPECT_EQ("100% Loot Caught:", Text("lootLabel"));
}

TEST_F(MapTest, StoredSelectionsOutOfRangeAreHeldToWhatExists)
{
    struct Case
    {
        double episode, level;
        int wantEpisode, wantLevel;
    };
    const Case cases[] = {
        {0, 1, 1, 1},  {-3, 2, 1, 1}, {99, 3, 1, 1},    {1, 0, 1, 1},     {1, -3, 1, 1},
        {1, 99, 1, 1}, {2, 9, 2, 1},  {2.9, 3.7, 2, 3}, {1e300, 1, 1, 1}, {2, -1e300, 2, 1},
    };
    for (const Case& c : cases) {
        Store(1, 1, 10, 6);
        Adventure().SetNumber("EpisodeSelected", c.episode);
        Adventure().SetNumber("LevelSelected", c.level);
        map->Update();
        EXPECT_EQ(std::make_pair(c.wantEpisode, c.wantLevel), Selected())
            << c.episode << ", " << c.level;
        // The card keeps what it holds until the player chooses.
        EXPECT_EQ(c.level, Adventure()["LevelSelected"].GetNumber());
    }

    // Unlocked values beyond the end open everything without reaching past it.
    Store(10, 6, 99, 99);
    map->Update();
    EXPECT_EQ(std::make_pair(10, 6), Selected());
    EXPECT_TRUE(map->GetChild("LevelListView6", true)->IsVisible());
    EXPECT_TRUE(ButtonNamed("buttonTasmania")->IsVisible());
}

TEST_F(MapTest, ArrowsMoveOnlyOverUnlockedLevels)
{
    Store(1, 1, 1, 3);
    Open();
    Click("LevelRightButton");
    EXPECT_EQ(std::make_pair(1, 2), Selected());
    Click("LevelRightButton");
    Click("LevelRightButton");
    EXPECT_EQ(std::make_pair(1, 1), Selected()) << "past the newest level back to the first";
    Click("LevelLeftButton");
    EXPECT_EQ(std::make_pair(1, 3), Selected()) << "before the first is the newest";
    Click("EpisodeRightButton");
    EXPECT_EQ(std::make_pair(1, 1), Selected()) << "no other episode is open";
    {
        SoundLog sounds;
        EXPECT_FALSE(Key(SDLK_UP)) << "the arrow keys leave the event to others";
        ASSERT_EQ(1u, sounds.Plays().size());
        EXPECT_EQ("click2.ogg", sounds.Plays()[0].name);
    }
    EXPECT_EQ(std::make_pair(1, 1), Selected());

    // The arrow keys press the level arrows.
    Key(SDLK_RIGHT);
    KeyUp(SDLK_RIGHT);
    EXPECT_EQ(std::make_pair(1, 2), Selected());
    Key(SDLK_LEFT);
    KeyUp(SDLK_LEFT);
    EXPECT_EQ(std::make_pair(1, 1), Selected());

    // Across episodes: the last level of the first leads to the second.
    Store(1, 5, 2, 2);
    map->Update();
    Click("LevelRightButton");
    EXPECT_EQ(std::make_pair(2, 1), Selected());
    Click("LevelLeftButton");
    EXPECT_EQ(std::make_pair(1, 5), Selected());
    Click("EpisodeLeftButton");
    EXPECT_EQ(std::make_pair(2, 1), Selected()) << "before the first episode is the newest";
    Click("EpisodeRightButton");
    EXPECT_EQ(std::make_pair(1, 1), Selected());
    Key(SDLK_DOWN);
    EXPECT_EQ(std::make_pair(2, 1), Selected());

    // A locked selection (from an older card) steps back to open ground.
    Store(3, 2, 2, 2);
    map->Update();
    Click("LevelLeftButton");
    EXPECT_EQ(std::make_pair(2, 2), Selected());
    Store(3, 2, 2, 2);
    Click("LevelRightButton");
    EXPECT_EQ(std::make_pair(1, 1), Selected());
    Store(4, 1, 2, 2);
    Click("EpisodeLeftButton");
    EXPECT_EQ(std::make_pair(2, 1), Selected());

    // Pins and level buttons of locked places are refused even when clicked.
    Store(1, 1, 1, 2);
    map->Update();
    Click("buttonPeru");
    EXPECT_EQ(std::make_pair(1, 1), Selected());
    map->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(LevelButton(5, 4))));
    EXPECT_EQ(std::make_pair(1, 1), Selected());
    map->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(LevelButton(5, 2))));
    EXPECT_EQ(std::make_pair(1, 2), Selected());
}

TEST_F(MapTest, PlayOnALockedSelectionDoesNothing)
{
    Store(1, 3, 1, 1);
    Open();
    EXPECT_EQ(std::make_pair(1, 3), Selected());
    EXPECT_FALSE(ButtonNamed("PlayButton")->IsEnabled());
    EXPECT_FALSE(map->CanPlaySelection());
    Click("PlayButton");
    EXPECT_EQ(map, app->Screens()->GetCurrentScreen());
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("GameOptions").IsNil());

    // An open level whose table is missing cannot be started either: the first level of
    // the second episode, its table taken away for the while.
    LuaPlus::LuaObject levels = GetGlobalLuaState()->GetGlobal("Levels");
    const LuaPlus::LuaObject condor = levels["Condor"];
    levels.SetNil("Condor");
    Store(2, 1, 2, 1);
    map->Update();
    EXPECT_FALSE(LevelButton(5, 1)->IsEnabled());
    EXPECT_EQ("Condor", LevelButton(5, 1)->GetLabel()->GetText());
    Click("PlayButton");
    EXPECT_EQ(map, app->Screens()->GetCurrentScreen());
    levels.SetObject("Condor", condor);
    EXPECT_EQ("Cape Horn", ButtonNamed("buttonCapeHorn")->GetLabel()->GetText());
    EXPECT_EQ(2, Frame("pushpinCapeHorn")) << "an open episode, not selected";
    EXPECT_EQ(0, Frame("pushpinPeru")) << "the newest episode";
    Store(1, 1, 2, 1);
    map->Update();
    EXPECT_EQ(1, Frame("pushpinCapeHorn")) << "the selected episode";
    EXPECT_TRUE(ButtonNamed("buttonCapeHorn")->GetTextBackground1()->IsVisible());
    EXPECT_TRUE(ButtonNamed("buttonPeru")->IsFlashing());
}

TEST_F(MapTest, NotepadShowsTheRecordAndItsStars)
{
    Store(1, 2, 1, 3);
    RunLua("local t = Players[1].Game_Modes.Adventure.LevelRecords "
           "t.Crates = { score = 12345, gotBigScore = 1, noBallsLost = 0, fastTime = 1, "
           "allLoot = 0, secret = true }");
    Open();
    EXPECT_EQ("$12,345", Text("labelScoreValue"));
    EXPECT_EQ(3, LitStars());
    EXPECT_EQ(0, Frame("actorScoreStar"));
    EXPECT_EQ(1, Frame("actorBallStar"));
    EXPECT_EQ(0, Frame("actorTimeStar"));
    EXPECT_EQ(1, Frame("actorLootStar"));
    EXPECT_EQ(0, Frame("actorSecretStar"));
    // A played level is not the flashing newest one; the third is.
    EXPECT_FALSE(LevelButton(5, 2)->IsFlashing());
    EXPECT_TRUE(LevelButton(5, 3)->IsFlashing());

    Click("LevelRightButton");
    EXPECT_EQ("$0", Text("labelScoreValue"));
    EXPECT_EQ(0, LitStars());
}

TEST_F(MapTest, DeveloperKeysUnlockAndTheFinalLevelEndsTheFlashing)
{
    SoundLog sounds;
    Store(1, 1, 1, 1);
    Open();
    EXPECT_TRUE(Key('\\', KMOD_LCTRL | KMOD_LALT));
    EXPECT_EQ(10, Adventure()["EpisodeUnlocked"].GetNumber());
    EXPECT_EQ(6, Adventure()["LevelUnlocked"].GetNumber());
    EXPECT_TRUE(ButtonNamed("buttonTasmania")->IsVisible());
    EXPECT_TRUE(map->GetChild("actorLineTasmania", true)->IsVisible());

    // The last episode lists six levels once its sixth is open, five before.
    Click("buttonTasmania");
    EXPECT_EQ(std::make_pair(10, 1), Selected());
    EXPECT_TRUE(map->GetChild("LevelListView6", true)->IsVisible());
    EXPECT_FALSE(map->GetChild("LevelListView5", true)->IsVisible());
    EXPECT_FALSE(LevelButton(5, 1)->IsVisible());
    EXPECT_TRUE(ButtonNamed("buttonTasmania")->IsFlashing());
    Adventure().SetInteger("LevelUnlocked", 5);
    map->Update();
    EXPECT_TRUE(map->GetChild("LevelListView5", true)->IsVisible());
    EXPECT_TRUE(LevelButton(5, 5)->IsVisible());

    // '=' at the very end changes nothing but still answers.
    Adventure().SetInteger("LevelUnlocked", 6);
    EXPECT_TRUE(Key('=', KMOD_RCTRL | KMOD_RALT));
    EXPECT_EQ(6, Adventure()["LevelUnlocked"].GetNumber());
    EXPECT_EQ(10, Adventure()["EpisodeUnlocked"].GetNumber());

    // Once the final level has a record no pin flashes.
    RunLua("Players[1].Game_Modes.Adventure.LevelRecords.EndOfTheWorld = { score = 1 }");
    map->Update();
    EXPECT_FALSE(ButtonNamed("buttonTasmania")->IsFlashing());
    EXPECT_TRUE(ButtonNamed("buttonTasmania")->GetTextBackground1()->IsVisible());

    EXPECT_TRUE(Key('-', KMOD_LCTRL | KMOD_LALT));
    EXPECT_EQ(1, Adventure()["EpisodeUnlocked"].GetNumber());
    EXPECT_FALSE(ButtonNamed("buttonTasmania")->IsVisible());
    EXPECT_FALSE(Key('-', KMOD_LCTRL)) << "Ctrl alone is no developer key";

    std::vector<std::string> names;
    for (const SoundLog::Play& play : sounds.Plays())
        names.push_back(play.name);
    for (const char* sound : {"attention5.ogg", "attention1.ogg", "attention3.ogg"})
        EXPECT_NE(names.end(), std::find(names.begin(), names.end(), sound)) << sound;
}

TEST(MapNames, EpisodeNamesAreSpacedBeforeInnerCapitals)
{
    EXPECT_EQ("Cape Horn", ArcadeMapScreen::SpacedName("CapeHorn"));
    EXPECT_EQ("End Of The World", ArcadeMapScreen::SpacedName("EndOfTheWorld"));
    EXPECT_EQ("Peru", ArcadeMapScreen::SpacedName("Peru"));
    EXPECT_EQ("TNT Bay", ArcadeMapScreen::SpacedName("TNT Bay"));
}

TEST_F(MapTest, HelpShowsTheMapLetterEveryTime)
{
    if (!TestResources().FindInfo("bkgLetter.png", true))
        GTEST_SKIP() << "the letters' pictures are not in the pack yet";
    Store(1, 1, 1, 1);
    Open();
    SoundLog sounds;
    for (int shown = 1; shown <= 2; ++shown) {
        Click("HelpButton");
        ASSERT_EQ(static_cast<std::size_t>(shown), map->GetDialogs().size());
        EXPECT_TRUE(map->IsDialogVisible());
    }
    EXPECT_EQ(2u, sounds.Plays().size());
}

TEST_F(MapTest, OptionsOpenOverThePausedMapAndTheSkillShowsWhenTheyClose)
{
    Store(1, 1, 1, 1);
    Open();
    Click("OptionsButton");
    ASSERT_EQ(1u, map->GetDialogs().size());
    EXPECT_EQ("OptionsDialog", map->GetDialogs().front()->GetName());
    EXPECT_TRUE(app->GamePauseAsked());

    app->CurrentPlayer()->GetOptionsTable().SetString("player.skill", "kid");
    map->StopDialog(map->GetDialogs().front());
    app->Pass(2);
    EXPECT_TRUE(map->GetDialogs().empty());
    EXPECT_EQ("04:00 Time Bonus:", Text("timeLabel"));
}
