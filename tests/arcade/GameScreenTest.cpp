// The game screen: a game begins when the screen becomes current and ends when it is
// left, restarts on request, keeps the input state around stacked dialogs, pauses sound
// with the game, and leaves nothing behind over many games.
#include "GameApp.h"

#include "core/ClassManager.h"
#include "core/EventQueue.h"
#include "core/TimerManager.h"
#include "display/Image.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/Level.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "players/Player.h"
#include "scene/ArcadeEventHandler.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "screens/RootActor.h"
#include "screens/ScreenManager.h"
#include "sound/Sound.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

// An actor that counts the mouse motion offered to it.
class MotionCounter : public Actor
{
public:
    bool OnMouseMotion(const Event&) override
    {
        ++count;
        return false;
    }
    int count = 0;
};

class GameScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        CreateGameOptionsForCurrentPlayer();
        screen = app->GameScreen();
        // Games here begin without the letter before the level (it frees the cursor).
        app->ApplyBoolProperty("enableStartLevelDialog", false);
    }
    void TearDown() override { app.reset(); }

    // Whether the application's event walk consumed it.
    bool SendMouseMotion()
    {
        Event event{};
        event.type = SDL_MOUSEMOTION;
        event.motion.xrel = 5;
        return app->OnEvent(event);
    }

    std::unique_ptr<GameApp> app;
    ArcadeGameScreen* screen = nullptr;
};

} // namespace

TEST_F(GameScreenTest, EnteringBeginsAGameOnAScreenSizedPlayLayerAndLeavingEndsIt)
{
    EXPECT_EQ(nullptr, screen->GetGameLogic());
    app->SwitchTo("GameScreen");
    ASSERT_NE(nullptr, screen->GetGameLogic());
    EXPECT_EQ(gLogic, screen->GetGameLogic());
    RootActor* root = screen->GetRootActor();
    ASSERT_NE(nullptr, root);
    EXPECT_EQ(screen, root->GetParent());
    EXPECT_EQ("RootActor", root->GetName());
    EXPECT_EQ(640, root->GetWidth());
    EXPECT_EQ(480, root->GetHeight());
    EXPECT_EQ(root, screen->GetGameLogic()->GetPlayLayer());
    EXPECT_FALSE(app->IsCursorShown());

    app->SwitchTo("Elsewhere");
    EXPECT_TRUE(root->IsDead());
    EXPECT_EQ(nullptr, screen->GetRootActor());
    EXPECT_EQ(nullptr, screen->GetGameLogic());
    EXPECT_EQ(nullptr, gLogic);
    EXPECT_TRUE(app->IsCursorShown());
    app->Pass();

    // Leaving again without a game changes nothing.
    app->SwitchTo("Elsewhere");
    EXPECT_EQ(nullptr, screen->GetGameLogic());
}

// However the table was left (none at all, one made by NextLevel alone, another player's),
// the game begins for the current player; only without a player is a table required.
TEST_F(GameScreenTest, AGameBeginsForTheCurrentPlayerWhateverGameOptionsHeld)
{
    Player* player = app->CurrentPlayer();
    const std::pair<const char*, const char*> starts[] = {
        {"GameOptions = nil", "Welcome"},
        {"GameOptions = nil NextLevel('Crates')", "Crates"},
        {"GameOptions = { player = 0, ballsLeft = 0, gameType = '' }", "Welcome"}};
    for (const auto& [options, level] : starts) {
        RunLua(options);
        app->SwitchTo("GameScreen");
        ArcadeGameLogic* logic = screen->GetGameLogic();
        ASSERT_NE(nullptr, logic) << options;
        EXPECT_EQ(player, logic->GetPlayer()) << options;
        EXPECT_EQ("Adventure", logic->GetGameType()) << options;
        EXPECT_GT(logic->GetBallsLeft(), 0) << options;
        ASSERT_NE(nullptr, logic->GetLevel()) << options;
        EXPECT_EQ(level, logic->GetLevel()->GetLevelName()) << options;
        app->SwitchTo("Elsewhere");
    }

    RunLua("SavedCurrent = Players.current Players.current = {} GameOptions = nil");
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     app->SwitchTo("GameScreen");
                                 }).find("Assertion failed: (gameOptions.IsTable())"));
    EXPECT_EQ(nullptr, screen->GetRootActor());
    EXPECT_EQ(nullptr, screen->GetGameLogic());
    GetPostedEventQueue().Clear();
    RunLua("Players.current = SavedCurrent SavedCurrent = nil");
}

// A switch to the game screen while it shows a game (the console's SwitchToScreen) keeps the
// game, its open letter and the free cursor.
TEST_F(GameScreenTest, SwitchingToTheShownGameKeepsIt)
{
    app->ApplyBoolProperty("enableStartLevelDialog", true);
    app->SwitchTo("GameScreen");
    ArcadeGameLogic* logic = screen->GetGameLogic();
    ASSERT_NE(nullptr, logic);
    RootActor* root = screen->GetRootActor();
    app->Pass(5);
    const bool letter = screen->IsDialogVisible();
    const bool cursor = app->IsCursorShown();

    app->SwitchTo("GameScreen");
    app->SwitchTo("current");
    app->Pass();
    EXPECT_EQ(logic, screen->GetGameLogic());
    EXPECT_EQ(root, screen->GetRootActor());
    EXPECT_FALSE(root->IsDead());
    EXPECT_EQ(letter, screen->IsDialogVisible());
    EXPECT_EQ(cursor, app->IsCursorShown());
}

TEST_F(GameScreenTest, RestartReplacesTheGameAndLeavesTheInputStateAlone)
{
    app->SwitchTo("GameScreen");
    RootActor* first = screen->GetRootActor();
    GetPostedEventQueue().Post(screen, ARCADE_RESTARTGAME);
    app->DispatchPosted();
    EXPECT_TRUE(first->IsDead());
    ASSERT_NE(nullptr, screen->GetRootActor());
    EXPECT_NE(first, screen->GetRootActor());
    EXPECT_FALSE(screen->GetRootActor()->IsDead());
    ASSERT_NE(nullptr, screen->GetGameLogic());
    EXPECT_EQ(screen->GetRootActor(), screen->GetGameLogic()->GetPlayLayer());
    EXPECT_FALSE(app->IsCursorShown());
    app->Pass();
}

TEST_F(GameScreenTest, StackedDialogsFreeTheCursorUntilTheLastOneCloses)
{
    app->SwitchTo("GameScreen");
    ASSERT_FALSE(app->IsCursorShown());
    Dialog* lower = new Dialog();
    Dialog* upper = new Dialog();
    screen->StartDialog(lower, false);
    app->DispatchPosted();
    EXPECT_TRUE(app->IsCursorShown());
    EXPECT_TRUE(screen->IsInputStateSaved());

    // The upper dialog must not save the free cursor over the playing state.
    screen->StartDialog(upper, false);
    app->DispatchPosted();
    screen->StopDialog(upper);
    app->DispatchPosted();
    EXPECT_TRUE(app->IsCursorShown());
    EXPECT_TRUE(screen->IsInputStateSaved());

    screen->StopDialog(lower);
    app->DispatchPosted();
    EXPECT_FALSE(app->IsCursorShown());
    EXPECT_FALSE(screen->IsInputStateSaved());
}

TEST_F(GameScreenTest, MouseMotionGoesToTheControllerAloneUnlessADialogShows)
{
    app->SwitchTo("GameScreen");
    auto* field = new MotionCounter();
    screen->GetRootActor()->AddChild(field, "field");
    EXPECT_TRUE(SendMouseMotion());
    EXPECT_EQ(0, field->count);

    // With a dialog up, the screen's children see it as on any screen (the dialog first).
    Dialog* dialog = new Dialog();
    auto* inDialog = new MotionCounter();
    dialog->AddChild(inDialog, "counter");
    screen->StartDialog(dialog, false);
    app->DispatchPosted();
    EXPECT_TRUE(SendMouseMotion());
    EXPECT_EQ(1, inDialog->count);
    EXPECT_EQ(0, field->count);
    screen->StopDialog(dialog);
    app->DispatchPosted();
    EXPECT_TRUE(SendMouseMotion());
    EXPECT_EQ(0, field->count);
}

TEST_F(GameScreenTest, SoundPausesAndResumesWithTheGame)
{
    app->SwitchTo("GameScreen");
    ASSERT_TRUE(Sound::IsActive());
    app->PauseGame(true);
    app->Pass();
    EXPECT_TRUE(Sound::IsGamePaused());
    app->PauseGame(false);
    app->Pass();
    EXPECT_FALSE(Sound::IsGamePaused());
}

TEST_F(GameScreenTest, TheInGameMenuOpensOnceAndOnlyWhenTheGameHasOne)
{
    app->SwitchTo("GameScreen");
    const bool hasMenu = ClassManager::GetInstance()->GetClass("InGameMenuDialog", true) != nullptr;
    screen->ShowInGameMenu();
    app->DispatchPosted();
    screen->ShowInGameMenu();
    app->DispatchPosted();
    int menus = 0;
    for (Dialog* dialog : screen->GetDialogs())
        menus += dialog->GetName() == "InGameMenuDialog";
    EXPECT_EQ(hasMenu ? 1 : 0, menus);
    EXPECT_EQ(hasMenu, app->GamePauseAsked());
    EXPECT_EQ(hasMenu, app->IsCursorShown());
}

TEST_F(GameScreenTest, ADisplayChangeDuringPlayOpensTheMenuButNotTheStartUpsOwn)
{
    if (!ClassManager::GetInstance()->GetClass("InGameMenuDialog", true))
        GTEST_SKIP() << "no in-game menu";
    app->SwitchTo("GameScreen");
    // The start-up's mode setting is delivered before the game's first frame.
    screen->OnEvent(MakeEvent(MAKO_DISPLAYCHANGE));
    app->DispatchPosted();
    EXPECT_FALSE(screen->IsDialogVisible());
    app->Pass();
    screen->OnEvent(MakeEvent(MAKO_DISPLAYCHANGE));
    app->DispatchPosted();
    ASSERT_TRUE(screen->IsDialogVisible());
    EXPECT_EQ(screen->GetTopDialog("")->GetName(), "InGameMenuDialog");
}

TEST_F(GameScreenTest, AHundredGamesLeaveNoTimerActorBodyOrImageBehind)
{
    struct Counts
    {
        int timers, actors, bodies, images;
    };
    auto count = [&] {
        return Counts{app->Timers()->CountLiveTimers(), Actor::GetLiveCount(),
                      PhysicsBody::GetLiveCount(), Image::GetLiveCount()};
    };
    // Half the games skip the brick drop and the letter and are served; the others are
    // left during the brick drop.
    int served = 0;
    auto playAndLeave = [&](bool quick) {
        app->ApplyBoolProperty("enableBrickDropAnimation", !quick);
        app->ApplyBoolProperty("enableStartLevelDialog", !quick);
        app->SwitchTo("GameScreen");
        app->Pass(quick ? 30 : 12);
        if (quick) {
            app->ClickLeft();
            app->Pass(30);
        }
        const std::string state = gLogic ? gLogic->GetStateName() : "";
        served += quick && state != "BrickDrop" && state != "WaitForSpawn" ? 1 : 0;
        app->SwitchTo("Elsewhere");
        app->Pass();
    };
    // One game of each kind first: images and resources that stay cached for the run
    // (the letter's among them) are loaded.
    playAndLeave(true);
    playAndLeave(false);
    const Counts before = count();
    for (int game = 0; game < 100; ++game)
        playAndLeave(game % 2 == 0);
    const Counts after = count();
    EXPECT_EQ(before.timers, after.timers);
    EXPECT_EQ(before.actors, after.actors);
    EXPECT_EQ(before.bodies, after.bodies);
    EXPECT_EQ(before.images, after.images);
    EXPECT_EQ(nullptr, gLogic);
    EXPECT_EQ(51, served);
}
