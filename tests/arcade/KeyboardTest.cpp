// The keyboard in play: keys in, synthetic mouse events out (the translator as tables of
// presses, releases and frames), and the controller's menu keys on the game screen: one
// menu, the music lowered while it shows and play resumed after the count-down.
#include "FieldScene.h"
#include "GameApp.h"

#include "core/Event.h"
#include "core/Object.h"
#include "core/State.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/ArcadeKeyboardTranslator.h"
#include "screens/ArcadeGameScreen.h"
#include "screens/Dialog.h"
#include "screens/GameStart.h"
#include "sound/DirectMusic.h"
#include "sound/Sound.h"
#include "widgets/Button.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <cstring>
#include <memory>
#include <string>
#include <vector>

namespace {

using fieldtest::NamedState;

// Stands for the controller: it has the states the translator looks at and writes every
// event it is handed as a line ("down", "up", "move x y b").
class EventLog : public Object
{
public:
    EventLog()
    {
        for (const char* name : {"Playing", "WaitForSpawn", "AllBallsLost", "LevelCompleted",
                                 "PausedPlaying", "ShowEndLevelDialog"})
            AddState(new NamedState(name));
        SetState("Playing");
    }
    bool OnEvent(const Event& event) override
    {
        if (event.type == SDL_MOUSEBUTTONDOWN || event.type == SDL_MOUSEBUTTONUP) {
            EXPECT_EQ(SDL_BUTTON_LEFT, event.button.button);
            EXPECT_EQ(0, event.button.x + event.button.y);
            lines.push_back(event.type == SDL_MOUSEBUTTONDOWN ? "down" : "up");
        } else if (event.type == SDL_MOUSEMOTION) {
            lines.push_back("move " + std::to_string(event.motion.xrel) + " " +
                            std::to_string(event.motion.yrel) + " " +
                            std::to_string(event.motion.state));
        }
        return true;
    }
    std::vector<std::string> Take()
    {
        std::vector<std::string> taken;
        taken.swap(lines);
        return taken;
    }
    std::vector<std::string> lines;
};

using TextLines = std::vector<std::string>;

class KeyboardTranslatorTest : public ::testing::Test
{
protected:
    KeyboardTranslatorTest() { ClearKeys(); }
    ~KeyboardTranslatorTest() override { ClearKeys(); }

    static void ClearKeys()
    {
        int count = 0;
        Uint8* keys = SDL_GetKeyState(&count);
        std::memset(keys, 0, static_cast<std::size_t>(count));
        SDL_SetModState(KMOD_NONE);
    }
    // The key goes down (or up) in SDL's key state, then the translator hears of it.
    bool Press(SDLKey key, SDLMod mods = KMOD_NONE)
    {
        SDL_GetKeyState(nullptr)[key] = 1;
        return keys.OnKeyDown(KeyEvent(SDL_KEYDOWN, key, mods), &target);
    }
    bool Release(SDLKey key, SDLMod mods = KMOD_NONE)
    {
        SDL_GetKeyState(nullptr)[key] = 0;
        return keys.OnKeyUp(KeyEvent(SDL_KEYUP, key, mods), &target);
    }
    static Event KeyEvent(std::uint8_t type, SDLKey key, SDLMod mods)
    {
        Event event{};
        event.key.type = type;
        event.key.keysym.sym = key;
        event.key.keysym.mod = mods;
        return event;
    }
    // One frame's step with these modifiers held.
    TextLines Frame(SDLMod mods = KMOD_NONE)
    {
        SDL_SetModState(mods);
        keys.Update(&target);
        SDL_SetModState(KMOD_NONE);
        return target.Take();
    }

    ArcadeKeyboardTranslator keys;
    EventLog target;
};

} // namespace

TEST_F(KeyboardTranslatorTest, MotionKeysStepThePointerAndShiftDoublesWhileCtrlHalves)
{
    struct Row
    {
        SDLKey key;
        SDLMod mods;
        const char* move;
    };
    const Row rows[] = {
        {SDLK_LEFT, KMOD_NONE, "move -15 0 0"},
        {SDLK_LEFT, KMOD_LSHIFT, "move -30 0 0"},
        {SDLK_LEFT, KMOD_RCTRL, "move -7 0 0"},
        {SDLK_LEFT, SDLMod(KMOD_LCTRL | KMOD_RSHIFT), "move -15 0 0"},
        {SDLK_KP6, KMOD_NONE, "move 15 0 0"},
        {SDLK_l, KMOD_NONE, "move 15 0 0"},
        {SDLK_g, KMOD_NONE, "move -45 0 0"},
        {SDLK_SEMICOLON, KMOD_NONE, "move 45 0 0"},
        {SDLK_j, KMOD_LCTRL, "move -1 0 0"},
        {SDLK_k, KMOD_NONE, "move 3 0 0"},
        {SDLK_KP8, KMOD_NONE, "move 0 -15 0"},
        {SDLK_KP2, KMOD_LSHIFT, "move 0 30 0"},
    };
    for (const Row& row : rows) {
        SCOPED_TRACE(SDL_GetKeyName(row.key));
        EXPECT_TRUE(Press(row.key));
        EXPECT_EQ(TextLines{row.move}, Frame(row.mods));
        EXPECT_EQ(TextLines{row.move}, Frame(row.mods)); // every frame while held
        EXPECT_TRUE(Release(row.key));
        EXPECT_EQ(TextLines{}, Frame(row.mods));
    }
    // Other keys are not the translator's.
    EXPECT_FALSE(Press(SDLK_z));
    EXPECT_FALSE(Release(SDLK_z));
    EXPECT_EQ(TextLines{}, Frame());
}

TEST_F(KeyboardTranslatorTest, TheLatestPressWinsAndAReleaseFallsBackToTheKeysStillHeld)
{
    Press(SDLK_LEFT);
    EXPECT_EQ(TextLines{"move -15 0 0"}, Frame());
    Press(SDLK_RIGHT);
    EXPECT_EQ(TextLines{"move 15 0 0"}, Frame());
    Release(SDLK_RIGHT);
    EXPECT_EQ(TextLines{"move -15 0 0"}, Frame());
    // Both axes at once, each released on its own.
    Press(SDLK_KP8);
    EXPECT_EQ(TextLines{"move -15 -15 0"}, Frame());
    Release(SDLK_LEFT);
    EXPECT_EQ(TextLines{"move 0 -15 0"}, Frame());
    Release(SDLK_KP8);
    EXPECT_EQ(TextLines{}, Frame());
}

TEST_F(KeyboardTranslatorTest, OnlyTheFirstFireKeyPressesAndOnlyTheLastReleaseLetsGo)
{
    EXPECT_TRUE(Press(SDLK_a));
    EXPECT_EQ(TextLines{"down"}, target.Take());
    EXPECT_TRUE(Press(SDLK_RETURN));
    EXPECT_TRUE(Press(SDLK_a)); // key repeat
    EXPECT_EQ(TextLines{}, target.Take());
    // The button state rides on the motion.
    Press(SDLK_h);
    EXPECT_EQ(TextLines{"move -15 0 1"}, Frame());
    Release(SDLK_h);
    EXPECT_TRUE(Release(SDLK_a));
    EXPECT_EQ(TextLines{}, target.Take());
    EXPECT_TRUE(keys.IsButtonDown());
    EXPECT_TRUE(Release(SDLK_RETURN));
    EXPECT_EQ(TextLines{"up"}, target.Take());
    EXPECT_FALSE(keys.IsButtonDown());
}

TEST_F(KeyboardTranslatorTest, KeypadEnterFiresOnlyOnRelease)
{
    EXPECT_FALSE(Press(SDLK_KP_ENTER));
    EXPECT_EQ(TextLines{}, target.Take());
    EXPECT_TRUE(Release(SDLK_KP_ENTER));
    EXPECT_EQ(TextLines{"up"}, target.Take());
    // Released while Up is held it lets nothing go.
    Press(SDLK_UP);
    Press(SDLK_KP_ENTER);
    Release(SDLK_KP_ENTER);
    EXPECT_EQ(TextLines{"down"}, target.Take());
}

TEST_F(KeyboardTranslatorTest, OutsideThePlayStatesAndUnderASingleAltNothingHappens)
{
    EXPECT_FALSE(Press(SDLK_LEFT, KMOD_LALT));
    EXPECT_FALSE(Press(SDLK_RETURN, SDLMod(KMOD_RALT | KMOD_NUM)));
    EXPECT_TRUE(Press(SDLK_LEFT, SDLMod(KMOD_LALT | KMOD_LCTRL)));
    Release(SDLK_LEFT);
    ClearKeys();
    target.Take();

    for (const char* state : {"PausedPlaying", "ShowEndLevelDialog"}) {
        SCOPED_TRACE(state);
        target.SetState(state);
        EXPECT_FALSE(Press(SDLK_a));
        EXPECT_FALSE(Press(SDLK_LEFT));
        EXPECT_FALSE(Release(SDLK_a));
        EXPECT_EQ(TextLines{}, Frame());
    }
    // A step held from play stays quiet while paused and comes back with play.
    target.SetState("WaitForSpawn");
    Press(SDLK_RIGHT);
    target.SetState("PausedPlaying");
    EXPECT_EQ(TextLines{}, Frame());
    target.SetState("LevelCompleted");
    EXPECT_EQ(TextLines{"move 15 0 0"}, Frame());
}

TEST_F(KeyboardTranslatorTest, OnlyAKeyPressedInPlayLetsGoOrChangesTheStep)
{
    // Return of Alt+Return, its release reported without Alt (Alt let go first, or the
    // rebuilt window forgot it): no release of the button.
    EXPECT_FALSE(Press(SDLK_RETURN, KMOD_LALT));
    Release(SDLK_RETURN);
    EXPECT_EQ(TextLines{}, target.Take());
    // Keys pressed before play (behind a dialog) are not play's when let go in it.
    target.SetState("ShowEndLevelDialog");
    Press(SDLK_a);
    Press(SDLK_RIGHT);
    target.SetState("WaitForSpawn");
    Press(SDLK_LEFT);
    Release(SDLK_a);
    Release(SDLK_RIGHT);
    EXPECT_EQ((TextLines{"move -15 0 0"}), Frame());
    Release(SDLK_LEFT);

    // A fire key held through Alt+Return: its release still lets go, though SDL says
    // Return is down.
    Press(SDLK_a);
    Press(SDLK_RETURN, KMOD_RALT);
    Release(SDLK_a);
    EXPECT_EQ((TextLines{"down", "up"}), target.Take());
    ClearKeys();

    // A step let go behind the menu is not taken up again when play comes back; a key held
    // through it (its repeats reported under Alt) still is.
    Press(SDLK_LEFT);
    Press(SDLK_KP8);
    target.SetState("PausedPlaying");
    Release(SDLK_LEFT);
    Press(SDLK_KP8, KMOD_LALT);
    target.SetState("Playing");
    EXPECT_EQ((TextLines{"move 0 -15 0"}), Frame());
    Release(SDLK_KP8);
    EXPECT_EQ(TextLines{}, Frame());
}

// ---- The menu keys on the game screen ---------------------------------------------------

namespace {

class MenuKeysTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<bbtest::GameApp>();
        screen = app->GameScreen();
        app->StartGame();
        app->ClickLeft();
        app->Pass(30);
    }
    void TearDown() override { app.reset(); }

    void SendKey(SDLKey key, SDLMod mods = KMOD_NONE) { app->SendKey(key, mods); }
    int Menus() const
    {
        int menus = 0;
        for (Dialog* dialog : screen->GetDialogs())
            menus += dialog->GetName() == "InGameMenuDialog" && !dialog->IsStopping();
        return menus;
    }
    std::string State() const { return gLogic ? gLogic->GetStateName() : ""; }
    static int Volume() { return Sound::GetDirectMusic()->GetMasterVolume(); }

    std::unique_ptr<bbtest::GameApp> app;
    ArcadeGameScreen* screen = nullptr;
};

} // namespace

TEST_F(MenuKeysTest, EachMenuKeyOpensOneMenuAndCtrlKeepsItShut)
{
    ASSERT_EQ("Playing", State());
    SendKey(SDLK_p, KMOD_LCTRL);
    SendKey(SDLK_z);
    EXPECT_EQ(0, Menus());
    for (SDLKey key : {SDLK_ESCAPE, SDLK_p, SDLK_SPACE, SDLK_F1})
        SendKey(key);
    EXPECT_EQ(1, Menus());
    EXPECT_TRUE(app->GamePauseAsked());
}

TEST_F(MenuKeysTest, TheMenuLowersTheMusicAndClosingItRestoresItAndResumesAfterTheCountDown)
{
    ASSERT_EQ("Playing", State());
    if (!Sound::IsMusicActive())
        Sound::InitDirectMusic(true);
    ASSERT_TRUE(Sound::IsMusicActive());
    const int before = Volume();
    SendKey(SDLK_ESCAPE);
    ASSERT_EQ(1, Menus());
    EXPECT_EQ(before - 1000, Volume());
    app->Pass(2);
    EXPECT_EQ("PausedPlaying", State());

    Dialog* menu = screen->GetDialogs().back();
    auto* resume = dynamic_cast<Button*>(menu->GetChild("ReturnButton"));
    ASSERT_NE(nullptr, resume);
    ASSERT_NE(nullptr, menu->GetChild("RestartButton"));
    ASSERT_NE(nullptr, menu->GetChild("QuitButton"));
    menu->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(resume)));
    app->DispatchPosted();
    EXPECT_EQ(0, Menus());
    EXPECT_EQ(before, Volume());

    // The count-down runs 2250 ms of 32 ms passes before play goes on.
    app->Pass(68);
    EXPECT_EQ("PausedPlaying", State());
    app->Pass(6);
    EXPECT_EQ("Playing", State());
}

TEST_F(MenuKeysTest, TheControllerTogglesFullScreenOnAltReturnOnlyWhileNoDialogShows)
{
    ASSERT_NE(nullptr, gLogic);
    Event altReturn{};
    altReturn.key.type = SDL_KEYDOWN;
    altReturn.key.keysym.sym = SDLK_RETURN;
    altReturn.key.keysym.mod = SDLMod(KMOD_LALT | KMOD_NUM);
    // The key goes the whole way, through the application's own shortcut handling.
    app->TakeDisplayToggle();
    app->OnEvent(altReturn);
    EXPECT_TRUE(app->TakeDisplayToggle());
    EXPECT_EQ(0, Menus());

    SendKey(SDLK_F1);
    ASSERT_EQ(1, Menus());
    app->TakeDisplayToggle();
    app->OnEvent(altReturn);
    EXPECT_FALSE(app->TakeDisplayToggle());
    EXPECT_EQ(1, Menus());
}

TEST_F(MenuKeysTest, ArrowKeysMoveThePaddleEachPassThroughTheMousePath)
{
    ASSERT_EQ("Playing", State());
    ASSERT_FALSE(gLogic->GetPaddles().empty());
    Paddle* paddle = gLogic->GetPaddles().front();
    // The pointer move of one pass reaches the paddle in the next.
    auto stepOfOnePass = [&] {
        app->Pass(1);
        const double before = paddle->GetX();
        app->Pass(1);
        return paddle->GetX() - before;
    };
    SDL_GetKeyState(nullptr)[SDLK_LEFT] = 1;
    SendKey(SDLK_LEFT);
    EXPECT_DOUBLE_EQ(-15.0, stepOfOnePass());
    SDL_SetModState(KMOD_LSHIFT);
    EXPECT_DOUBLE_EQ(-30.0, stepOfOnePass());
    SDL_SetModState(KMOD_NONE);
    SDL_GetKeyState(nullptr)[SDLK_RIGHT] = 1;
    SendKey(SDLK_RIGHT);
    EXPECT_DOUBLE_EQ(15.0, stepOfOnePass());
    SDL_GetKeyState(nullptr)[SDLK_LEFT] = 0;
    SDL_GetKeyState(nullptr)[SDLK_RIGHT] = 0;
}

// ---- Shortcut keys while the serve waits ------------------------------------------------

namespace {

// A key going down or up as SDL delivers it, through the application's own event handling.
void Key(bbtest::GameApp& app, std::uint8_t type, SDLKey key, SDLMod mods)
{
    Event event{};
    event.key.type = type;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mods;
    app.OnEvent(event);
    app.DispatchPosted();
}

} // namespace

TEST(ShortcutKeysTest, NoShortcutServesTheWaitingBallInEitherDisplayMode)
{
    bbtest::GameApp app;
    app.StartGame();
    auto state = [] { return gLogic ? gLogic->GetStateName() : std::string(); };
    ASSERT_EQ("WaitForSpawn", state());
    for (bool fullScreen : {false, true}) {
        SCOPED_TRACE(fullScreen ? "full screen" : "window");
        app.SetFullScreen(fullScreen);
        // Alt+Return, Alt let go first.
        Key(app, SDL_KEYDOWN, SDLK_LALT, KMOD_LALT);
        Key(app, SDL_KEYDOWN, SDLK_RETURN, KMOD_LALT);
        EXPECT_TRUE(app.TakeDisplayToggle());
        Key(app, SDL_KEYUP, SDLK_LALT, KMOD_NONE);
        Key(app, SDL_KEYUP, SDLK_RETURN, KMOD_NONE);
        app.Pass(3);
        EXPECT_EQ("WaitForSpawn", state());
        // Alt+Return, the window rebuilt before Return goes up: the menu opens, and Return
        // comes up without Alt once it has closed.
        Key(app, SDL_KEYDOWN, SDLK_RETURN, KMOD_RALT);
        app.NotifyDisplayChange();
        app.DispatchPosted();
        if (Dialog* menu = app.GameScreen()->IsDialogVisible()
                               ? app.GameScreen()->GetDialogs().back()
                               : nullptr) {
            auto* resume = dynamic_cast<Button*>(menu->GetChild("ReturnButton"));
            ASSERT_NE(nullptr, resume);
            menu->OnEvent(MakeEvent(MAKO_BUTTONCLICK, 0, static_cast<Object*>(resume)));
            app.Pass(80);
        }
        Key(app, SDL_KEYUP, SDLK_RETURN, KMOD_NONE);
        Key(app, SDL_KEYUP, SDLK_RALT, KMOD_NONE);
        app.Pass(3);
        EXPECT_EQ("WaitForSpawn", state());
    }
    // Return on its own is still the fire button: it serves.
    Key(app, SDL_KEYDOWN, SDLK_RETURN, KMOD_NONE);
    Key(app, SDL_KEYUP, SDLK_RETURN, KMOD_NONE);
    app.Pass(3);
    EXPECT_NE("WaitForSpawn", state());
}
