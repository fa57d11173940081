// The screens a player starts on: the splash screen's loading (level scripts, then the
// resources, the progress bar, the chime, "start"), its ways out, and the main menu with
// its sign-in, its buttons and the skill it applies.
#include "GameApp.h"

#include "core/AtomicFile.h"
#include "core/TimerManager.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "lua/MakoLuaState.h"
#include "players/GameDataIO.h"
#include "players/Player.h"
#include "players/PlayerManager.h"
#include "resources/ResourceManager.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ArcadeSplashScreen.h"
#include "screens/Artefact.h"
#include "screens/EnterNameAndSkillDialog.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "screens/StartLevelDialog.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/PassHarness.h"
#include "views/CardView.h"
#include "widgets/Label.h"
#include "widgets/TextBox.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <cerrno>
#include <cstdlib>

#include <memory>

using namespace bbtest;

namespace {

Event MenuKeyDown(SDLKey key, SDLMod mods = KMOD_NONE)
{
    Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mods;
    return event;
}

int CountLevels()
{
    RunLua("_menutest_levels = 0 for _ in pairs(Levels or {}) do "
           "_menutest_levels = _menutest_levels + 1 end");
    return static_cast<int>(GetGlobalLuaState()->GetGlobal("_menutest_levels").GetNumber());
}

class SplashTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        splash = new ArcadeSplashScreen();
        app->Screens()->AddScreen(splash);
        // The menu is a plain screen here: the splash only leads to it.
        app->Screens()->AddScreen(new Screen("MenuScreen", "", nullptr));
        RunLua("ClearLevels()");
        // The splash lists the levels of the package file system: the pack's folder.
        if (!PHYSFS_isInit()) {
            ASSERT_NE(0, PHYSFS_init(nullptr));
            mounted = true;
            ASSERT_NE(0, PHYSFS_mount(bbtest::AssetPackFolder().c_str(), nullptr, 1));
        }
    }
    void TearDown() override
    {
        app.reset();
        if (mounted)
            PHYSFS_deinit();
    }

    bool Current(const char* name) const
    {
        return app->Screens()->GetCurrentScreen() == app->Screens()->GetScreen(name);
    }
    // Passes until the splash has loaded (at most `limit`); the passes it took.
    int PassUntilLoaded(int limit)
    {
        int passes = 0;
        while (splash->GetStateName() != "Loaded" && passes < limit) {
            const int before = splash->GetProgressBar()->GetWidth();
            app->Pass();
            ++passes;
            EXPECT_GE(splash->GetProgressBar()->GetWidth(), before);
        }
        return passes;
    }

    std::unique_ptr<GameApp> app;
    ArcadeSplashScreen* splash = nullptr;
    bool mounted = false;
};

} // namespace

TEST_F(SplashTest, LoadingRunsTheLevelsThenCachesEverythingFillsTheBarAndOffersStart)
{
    SoundLog sounds;
    const int files = static_cast<int>(LevelManager::GetLevelFileNames().size());
    ASSERT_GT(files, 0);
    const int timersBefore = app->Timers()->CountLiveTimers();
    app->SwitchTo("SplashScreen");

    ASSERT_EQ("Loading", splash->GetStateName());
    const int total = splash->GetTotalProgress();
    EXPECT_GT(total, 4 * files + 1);
    Actor* back = splash->GetProgressBarBack();
    Actor* bar = splash->GetProgressBar();
    EXPECT_EQ(total / 6, back->GetWidth());
    EXPECT_EQ(0, bar->GetWidth());
    EXPECT_EQ(320 - back->GetWidth() / 2, back->GetX());
    EXPECT_EQ(back->GetX(), bar->GetX());
    EXPECT_EQ(480 - 30 - 15, back->GetY());
    EXPECT_EQ(timersBefore + 1, app->Timers()->CountLiveTimers());

    // One level file per pass first: the levels are there before any resource is cached.
    app->Pass(files);
    EXPECT_EQ(4 * files, splash->GetProgress());
    EXPECT_GT(CountLevels(), 0);
    EXPECT_EQ(0, sounds.Count("Pickup_GemBells16.ogg"));

    PassUntilLoaded(2000);
    ASSERT_EQ("Loaded", splash->GetStateName());
    EXPECT_EQ(total, splash->GetProgress());
    EXPECT_EQ(total / 6, bar->GetWidth());
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells16.ogg"));
    EXPECT_EQ(0u, splash->GetLoadingTimer());
    EXPECT_EQ(timersBefore, app->Timers()->CountLiveTimers());
    EXPECT_FALSE(bar->IsVisible());
    EXPECT_FALSE(back->IsVisible());

    Actor* start = splash->GetChild("StartButton", false);
    ASSERT_NE(nullptr, start);
    EXPECT_EQ(320 - start->GetWidth() / 2, start->GetX());
    EXPECT_EQ(480 - 15, start->GetY() + start->GetHeight());

    // "start" leads to the menu; coming back offers the one start button again.
    Event click = MakeEvent(MAKO_BUTTONCLICK, 0, start, nullptr);
    EXPECT_TRUE(splash->OnEvent(click));
    app->DispatchPosted();
    EXPECT_TRUE(Current("MenuScreen"));
    app->SwitchTo("SplashScreen");
    app->Pass();
    int buttons = 0;
    for (Actor* child : splash->GetChildren())
        buttons += child->GetName() == "StartButton";
    EXPECT_EQ(1, buttons);
}

TEST_F(SplashTest, ReturnSkipsOnlyOnceTheLevelsRanAndNeverUnderAlt)
{
    SoundLog sounds;
    const int files = static_cast<int>(LevelManager::GetLevelFileNames().size());
    app->SwitchTo("SplashScreen");
    EXPECT_FALSE(splash->OnEvent(MenuKeyDown(SDLK_RETURN)));
    app->Pass(files);
    EXPECT_FALSE(splash->OnEvent(MenuKeyDown(SDLK_RETURN, KMOD_LALT)));
    EXPECT_FALSE(splash->OnEvent(MenuKeyDown(SDLK_SPACE)));
    EXPECT_TRUE(Current("SplashScreen"));

    const int timers = app->Timers()->CountLiveTimers();
    EXPECT_TRUE(splash->OnEvent(MenuKeyDown(SDLK_RETURN)));
    app->DispatchPosted();
    EXPECT_TRUE(Current("MenuScreen"));
    EXPECT_EQ("Loaded", splash->GetStateName());
    EXPECT_EQ(timers - 1, app->Timers()->CountLiveTimers());
    app->Pass(5);
    // The chime belongs to a finished loading on the splash itself.
    EXPECT_EQ(0, sounds.Count("Pickup_GemBells16.ogg"));
    EXPECT_GT(CountLevels(), 0);
}

TEST_F(SplashTest, LeavingWhileLoadingStopsTheTimerAndWithoutPreloadingTheLevelsStillLoad)
{
    SoundLog sounds;
    app->SwitchTo("SplashScreen");
    app->Pass(2);
    app->SwitchTo("Elsewhere");
    EXPECT_EQ("Loaded", splash->GetStateName());
    EXPECT_EQ(0u, splash->GetLoadingTimer());
    const int progress = splash->GetProgress();
    app->Pass(3);
    EXPECT_EQ(progress, splash->GetProgress());
    EXPECT_EQ(0, sounds.Count("Pickup_GemBells16.ogg"));

    RunLua("ClearLevels()");
    ASSERT_EQ(0, CountLevels());
    app->ApplyBoolProperty("loadAllResources", false);
    app->SwitchTo("SplashScreen");
    EXPECT_EQ("Loaded", splash->GetStateName());
    EXPECT_NE(nullptr, splash->GetChild("StartButton", false));
    EXPECT_GT(CountLevels(), 0);
}

namespace {

class MenuTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        app->Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
        app->Screens()->AddScreen(new Screen("TestScreen", "", nullptr));
    }
    void TearDown() override { app.reset(); }

    // Whether the pack holds the pictures of the dialogs the menu opens (the sign-in, the
    // player choice and the letters bring their own).
    static bool DialogPicturesExist()
    {
        for (const char* name : {"dlgSquare.png", "bkgLetter.png"})
            if (!TestResources().FindInfo(name, true))
                return false;
        return true;
    }

    // The menu, made after the players are as the test wants them.
    ArcadeMenuScreen* AddMenu()
    {
        menu = new ArcadeMenuScreen();
        app->Screens()->AddScreen(menu);
        return menu;
    }
    bool Current(const char* name) const
    {
        return app->Screens()->GetCurrentScreen() == app->Screens()->GetScreen(name);
    }
    // The open (shown, not stopped) dialog of that name on the menu; null when none.
    Dialog* TopDialog(const char* name) const
    {
        for (Actor* child : menu->GetChildren()) {
            auto* dialog = dynamic_cast<Dialog*>(child);
            if (dialog && dialog->GetName() == name && dialog->IsVisible() && !dialog->IsDead())
                return dialog;
        }
        return nullptr;
    }
    // Clicks the named lower button of the dialog and delivers what follows.
    void Close(Dialog* dialog, const char* button)
    {
        Actor* okay = dialog->Actor::GetChild(button, true);
        ASSERT_NE(nullptr, okay) << button;
        dialog->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, okay, nullptr));
        app->DispatchPosted();
        app->DispatchPosted();
    }
    void Click(const char* button)
    {
        Actor* actor = menu->GetChild(button, false);
        ASSERT_NE(nullptr, actor) << button;
        menu->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, actor, nullptr));
        app->DispatchPosted();
    }
    static void Type(Actor* target, const std::string& text)
    {
        for (char c : text) {
            Event key = MenuKeyDown(static_cast<SDLKey>(c));
            key.key.keysym.unicode = static_cast<Uint16>(c);
            target->OnEvent(key);
        }
    }
    static std::string Text(const char* expression)
    {
        RunLua(std::string("_menutest_text = tostring(") + expression + ")");
        return GetGlobalLuaState()->GetGlobal("_menutest_text").GetString();
    }

    std::unique_ptr<GameApp> app;
    ArcadeMenuScreen* menu = nullptr;
};

} // namespace

TEST_F(MenuTest, ANewPlayerSignsInFromTheMenuAndACancelledFirstSignInIsPlayerOne)
{
    if (!DialogPicturesExist())
        GTEST_SKIP() << "the pack has no pictures for the menu's dialogs";
    RunLua("Players[1].Name = nil Players[1].Options['player.skill'] = nil");
    AddMenu();
    SoundLog sounds;
    app->SwitchTo("MenuScreen");
    EXPECT_EQ(1, sounds.Count("attention4.ogg"));
    EXPECT_EQ(0, sounds.Count("Pickup_GemBells06.ogg"));
    Dialog* signIn = TopDialog("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    EXPECT_TRUE(app->GamePauseAsked());

    // A cancelled first sign-in still names slot 1, and the welcome letter follows once.
    Close(signIn, "CancelButton");
    EXPECT_EQ("Player 1", Text("Players[1].Name"));
    EXPECT_EQ(nullptr, TopDialog("EnterNameAndSkillDialog"));
    auto* letter = dynamic_cast<StartLevelDialog*>(TopDialog("gametip.welcome"));
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Player 1,", letter->GetToLabel()->GetText());
    // Only closing it with its button marks the card.
    EXPECT_EQ("nil", Text("Players[1].Options['gametip.welcome.shown']"));
    menu->StopDialog(letter);
    app->DispatchPosted();

    // Okay takes the typed name, chimes, and the letter greets the player by it.
    RunLua("Players[1].Name = nil Players[1].Options['gametip.welcome.shown'] = nil");
    auto* again = new EnterNameAndSkillDialog("");
    menu->StartDialog(again, true);
    ASSERT_NE(nullptr, again->GetTextBox());
    Type(again->GetTextBox(), "ann");
    Close(again, "OkayButton");
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));
    EXPECT_EQ("ann", Text("Players[1].Name"));
    letter = dynamic_cast<StartLevelDialog*>(TopDialog("gametip.welcome"));
    ASSERT_NE(nullptr, letter);
    EXPECT_EQ("Ann,", letter->GetToLabel()->GetText());
}

TEST_F(MenuTest, ACancelledSignInOfALaterEmptySlotChangesNothingAndBallsComeBackOnlyFromZero)
{
    if (!DialogPicturesExist())
        GTEST_SKIP() << "the pack has no pictures for the menu's dialogs";
    RunLua("Players.current[1] = Players[2] Players[2].Name = nil");
    AddMenu();
    app->SwitchTo("MenuScreen");
    Dialog* signIn = TopDialog("EnterNameAndSkillDialog");
    ASSERT_NE(nullptr, signIn);
    Close(signIn, "CancelButton");
    EXPECT_EQ("nil", Text("Players[2].Name"));
    EXPECT_EQ(nullptr, TopDialog("gametip.welcome"));

    // Signing in gives a player with no balls left the skill's count; other counts stay.
    RunLua("Players[2].Options['player.skill'] = 'kid' "
           "Players[3].Options['player.skill'] = 'gamer' "
           "for i = 2, 3 do Players[i].Game_Modes.Adventure = CreateGameModeTable() end "
           "Players[2].Game_Modes.Adventure.ballsLeft = 0 "
           "Players[3].Game_Modes.Adventure.ballsLeft = 2");
    menu->StartDialog(new EnterNameAndSkillDialog(""), true);
    Close(TopDialog("EnterNameAndSkillDialog"), "OkayButton");
    EXPECT_EQ("Player 2", Text("Players[2].Name"));
    EXPECT_EQ("5", Text("Players[2].Game_Modes.Adventure.ballsLeft"));

    RunLua("Players.current[1] = Players[3]");
    menu->StartDialog(new EnterNameAndSkillDialog(""), true);
    Close(TopDialog("EnterNameAndSkillDialog"), "OkayButton");
    EXPECT_EQ("2", Text("Players[3].Game_Modes.Adventure.ballsLeft"));
    EXPECT_EQ("Player 3", Text("Players[3].Name"));
}

TEST_F(MenuTest, PlayStartsTheFirstLevelWithTheSkillOfThePlayer)
{
    struct Expectation
    {
        const char* skill;
        int paddle;
        double strength;
        int balls;
    };
    for (const Expectation& e : {Expectation{"gamer", 3, 1.25, 3}, Expectation{"kid", 4, 0.5, 5}}) {
        SCOPED_TRACE(e.skill);
        RunLua(std::string("Players[1].Options['player.skill'] = '") + e.skill +
               "' Players[1].Game_Modes.Adventure = nil GameOptions = nil");
        if (!menu)
            AddMenu();
        app->SwitchTo("MenuScreen");
        app->Pass();
        EXPECT_EQ(nullptr, TopDialog("EnterNameAndSkillDialog"));
        Click("PlayButton");
        ASSERT_TRUE(Current("GameScreen"));
        EXPECT_EQ("1", Text("GameOptions.episodeNumber"));
        EXPECT_EQ("1", Text("GameOptions.levelNumber"));
        app->Pass(3);
        EXPECT_EQ(std::to_string(e.paddle), Text("paddleInitialSizeOverride"));
        EXPECT_EQ(e.strength, GetGlobalLuaState()->GetGlobal("brickStrengthOverride").GetNumber());
        EXPECT_EQ(std::to_string(e.balls), Text("GameOptions.ballsLeft"));
        ArcadeGameLogic* logic = app->GameScreen()->GetGameLogic();
        ASSERT_NE(nullptr, logic);
        ASSERT_NE(nullptr, logic->GetLevel());
        EXPECT_EQ("Welcome", logic->GetLevel()->GetLevelName());
        app->SwitchTo("Elsewhere");
    }
}

TEST_F(MenuTest, ComingFromTheSplashChimesAndTheFindCornerShowsTheLastFind)
{
    SoundLog sounds;
    AddMenu();
    app->SwitchTo("SplashScreen");
    app->SwitchTo("MenuScreen");
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));
    EXPECT_EQ(0, sounds.Count("attention4.ogg"));
    EXPECT_EQ(nullptr, TopDialog("EnterNameAndSkillDialog"));
    app->SwitchTo("Elsewhere");
    app->SwitchTo("MenuScreen");
    EXPECT_EQ(1, sounds.Count("Pickup_GemBells06.ogg"));

    auto* artefact = dynamic_cast<Artefact*>(menu->GetChild("artifact", false));
    auto* name = dynamic_cast<Label*>(menu->GetChild("artifactName", false));
    ASSERT_NE(nullptr, artefact);
    ASSERT_NE(nullptr, name);
    EXPECT_EQ("Adventure", Text("Players[1].Options['game.mode']"));
    EXPECT_EQ("artifactScream.jpg", artefact->GetArtefactName());
    EXPECT_TRUE(artefact->IsMissing());
    EXPECT_FALSE(artefact->IsActive());
    EXPECT_TRUE(artefact->IsVisible());
    EXPECT_GT(artefact->GetWidth(), 0);
    EXPECT_EQ("Still Missing!!!", name->GetText());

    RunLua("Players[1].Game_Modes.Adventure = CreateGameModeTable() "
           "Players[1].Game_Modes.Adventure.latestArtifact = 'artifactMona.jpg'");
    menu->Update();
    EXPECT_EQ("artifactMona.jpg", artefact->GetArtefactName());
    EXPECT_TRUE(artefact->IsActive());
    EXPECT_EQ(artefact->GetTitle(), name->GetText());
    EXPECT_TRUE(name->IsVisible());
}

// The card's latest find is a name; one that no entry of Artifacts knows is its own title,
// shown as written, and nothing of it runs, at this start or the next.
TEST_F(MenuTest, AnUnknownLatestFindShowsAsWrittenAndRunsNothing)
{
    RunLua("function MenuTripWire() MenuTripped = (MenuTripped or 0) + 1 return 'x' end");
    AddMenu();
    app->SwitchTo("MenuScreen");
    auto* name = dynamic_cast<Label*>(menu->GetChild("artifactName", false));
    ASSERT_NE(nullptr, name);
    for (const std::string written : {"|MenuTripWire() or 'x'|", "|nil..nil|", "|1\n|",
                                      "|(function() while true do end end)()|"}) {
        SCOPED_TRACE(written);
        app->CurrentPlayer()->GetGameModeTable("Adventure").SetString("latestArtifact", written);
        menu->Update();
        EXPECT_EQ(written, name->GetText());
        EXPECT_GT(name->GetWidth(), 0);
        app->SwitchTo("Elsewhere");
        app->SwitchTo("MenuScreen");
        EXPECT_EQ(written, name->GetText());
    }
    EXPECT_EQ("nil", Text("MenuTripped"));
}

TEST_F(MenuTest, KeysAndButtonsLeadWhereTheirScreensExistAndTheCardChoosesAPlayer)
{
    AddMenu();
    app->SwitchTo("MenuScreen");
    EXPECT_FALSE(menu->OnEvent(MenuKeyDown(SDLK_t)));
    EXPECT_FALSE(menu->OnEvent(MenuKeyDown(SDLK_t, KMOD_LSHIFT)));
    EXPECT_TRUE(Current("MenuScreen"));
    EXPECT_TRUE(menu->OnEvent(MenuKeyDown(SDLK_t, static_cast<SDLMod>(KMOD_LCTRL | KMOD_LALT))));
    app->DispatchPosted();
    EXPECT_TRUE(Current("TestScreen"));

    app->SwitchTo("MenuScreen");
    Click("LabButton");
    Click("FindsButton");
    EXPECT_TRUE(Current("MenuScreen"));

    // Another player becoming current shows on the card.
    RunLua("Players[3].Name = 'cy' Players.current[1] = Players[3]");
    app->PostEvent(nullptr, MAKO_PLAYERCHANGE);
    app->DispatchPosted();
    EXPECT_EQ(static_cast<void*>(app->CurrentPlayer()),
              static_cast<void*>(menu->GetCard()->GetPlayer()));

    if (!DialogPicturesExist())
        GTEST_SKIP() << "the pack has no pictures for the menu's dialogs";
    Click("ChangePlayerButton");
    EXPECT_NE(nullptr, TopDialog("ChooseActivePlayerDialog"));
    Click("HelpButton");
    EXPECT_NE(nullptr, TopDialog("help.menu"));
    Click("OptionsButton");
    EXPECT_NE(nullptr, TopDialog("OptionsDialog"));
}

// A save that finds the card another copy saved says so on the menu's card at once, not
// only once the menu is left and entered again.
TEST_F(MenuTest, TheMenusCardSaysItIsNotSavedFromTheSaveThatFoundIt)
{
    TempHome home;
    GameDataIO cards(home.Path() + "/cards/");
    cards.NoteRead(cards.GetCardPath(1));
    RunLua("Players[1].Name = 'ann' Players[1].Options['player.skill'] = 'gamer'");
    AddMenu();
    app->SwitchTo("MenuScreen");
    CardView* card = nullptr;
    for (Actor* child : menu->GetChildren())
        card = card ? card : dynamic_cast<CardView*>(child);
    ASSERT_NE(nullptr, card);
    EXPECT_EQ("", card->GetLabel(5)->GetText());
    WriteFile(cards.GetCardPath(1), "Player { Name = 'saved by another copy' }\n");
    RunLua("Players[1].Name = 'bo' SaveData()");
    app->DispatchPosted();
    EXPECT_EQ(GameDataIO::kUnsavedNotice, card->GetLabel(5)->GetText());
}

// A card whose play could not be saved shows what its file keeps: the figures of the card
// there, "Not saved: old card kept"; or, where no card file stood, the play's own figures,
// "Not saved", which keep nothing. A save that writes the card shows it as played again.
TEST_F(MenuTest, ACardNotSavedShowsWhatItsFileKeeps)
{
    TempHome home;
    const std::string folder = home.Path() + "/cards/";
    GameDataIO cards(folder);
    WriteFile(cards.GetCardPath(1), "Player { Name = 'ann', guid = 7 }\n");
    RunLua("Paths = Paths or {} Paths.PlayerData = '" + folder + "' LoadGameData()");
    app->DispatchPosted();
    // This run's play on both cards: a level won with every star (the second card is new).
    RunLua("Players[2].Name = 'bo' for i = 1, 2 do "
           "local m = Players[i].Game_Modes.Adventure or CreateGameModeTable() "
           "Players[i].Game_Modes.Adventure = m m.LevelRecords = { Welcome = { score = 4321, "
           "allLoot = 1, gotBigScore = 1, noBallsLost = 1, fastTime = 1, secret = 1 } } end");
    auto view = [](int slot) {
        auto card = std::make_unique<CardView>(PlayerManager::GetInstance()->GetPlayer(slot));
        card->Refresh();
        return card;
    };
    auto loot = [](const CardView& card) {
        const auto* label = dynamic_cast<const Label*>(card.GetChild("cardLootLabel", true));
        return label ? label->GetText() : std::string("<none>");
    };
    auto litStars = [](const CardView& card) {
        int lit = 0;
        for (int i = 1; i <= 5; ++i)
            lit += card.GetChild("cardStar" + std::to_string(i), true)->GetFrame() == 0;
        return lit;
    };
    EXPECT_EQ("$4,321", loot(*view(1)));
    EXPECT_EQ(5, litStars(*view(1)));

    // Another copy saved card 1 meanwhile; card 2 finds the disk full.
    WriteFile(cards.GetCardPath(1), "Player { Name = 'ann', guid = 7 } -- another copy\n");
    SetInjectedWriteFault(ENOSPC);
    RunLua("SaveData()");
    SetInjectedWriteFault(0);
    ASSERT_TRUE(cards.IsSlotUnsaved(1));
    ASSERT_TRUE(cards.IsSlotUnsaved(2));
    const auto kept = view(1);
    EXPECT_EQ(GameDataIO::kUnsavedNotice, kept->GetLabel(5)->GetText());
    EXPECT_EQ("$0", loot(*kept));
    EXPECT_EQ(0, litStars(*kept));
    const auto fresh = view(2);
    EXPECT_EQ(GameDataIO::kUnsavedNewCardNotice, fresh->GetLabel(5)->GetText());
    EXPECT_EQ("$4,321", loot(*fresh));
    EXPECT_EQ(5, litStars(*fresh));
    // The card shown is never the one played: the play's card keeps its own figures.
    EXPECT_EQ(4321, PlayerManager::GetInstance()
                        ->GetPlayer(1)
                        ->GetGameModeTable("Adventure")["LevelRecords"]["Welcome"]["score"]
                        .GetInteger());

    // Card 2 saved at the next save: it shows as played, with no notice.
    RunLua("SaveData()");
    ASSERT_FALSE(cards.IsSlotUnsaved(2));
    EXPECT_EQ("", view(2)->GetLabel(5)->GetText());
    EXPECT_EQ("$4,321", loot(*view(2)));
}
