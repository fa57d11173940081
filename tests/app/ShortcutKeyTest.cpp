// The application's keys: the Ctrl shortcuts (which act and which let the key travel on
// to the screens), Alt+Return and Alt+F4 by display mode, F10, and the Alt hold that
// arms the keyboard tips.
#include "app/AppTestSupport.h"

using namespace apptest;

namespace {

class ShortcutKeyTest : public AppTest
{
protected:
    void SetUp() override
    {
        AppTest::SetUp();
        app->Parse({"p"});
        app->Settle();
    }
    // Whether the application consumed the key (there are no screens to take it).
    bool Press(SDLKey sym, unsigned mods = 0) { return app->OnEvent(KeyDown(sym, mods)); }
};

} // namespace

TEST_F(ShortcutKeyTest, CtrlShortcutsActAndSayWhetherTheKeyTravelsOn)
{
    // Ctrl+2 toggles the frame-rate cap; Caps Lock and Num Lock do not count as modifiers.
    EXPECT_TRUE(Press(SDLK_2, KMOD_LCTRL));
    EXPECT_FALSE(app->IsFrameRateCapped());
    EXPECT_TRUE(Press(SDLK_2, KMOD_RCTRL | KMOD_CAPS | KMOD_NUM));
    EXPECT_TRUE(app->IsFrameRateCapped());
    // Two modifier groups, or both Ctrl keys, make no shortcut.
    EXPECT_FALSE(Press(SDLK_2, KMOD_LCTRL | KMOD_LALT));
    EXPECT_FALSE(Press(SDLK_2, KMOD_LCTRL | KMOD_RCTRL));
    EXPECT_FALSE(Press(SDLK_2));
    EXPECT_TRUE(app->IsFrameRateCapped());

    // Ctrl+3 reports resource usage and lets the key go on.
    RunLua("_usageReports = 0; function LogResourceUsage() _usageReports = _usageReports + 1 end");
    EXPECT_FALSE(Press(SDLK_3, KMOD_LCTRL));
    EXPECT_EQ(1, GetGlobalLuaState()->GetGlobal("_usageReports").GetInteger());
    RunLua("LogResourceUsage = nil");

    // Ctrl+7 flips the acceleration, asks for a new window and lets the key go on.
    EXPECT_FALSE(Press(SDLK_7, KMOD_LCTRL));
    EXPECT_TRUE(app->IsHWAccelEnabled());
    EXPECT_TRUE(app->IsWindowRecreationRequested());
    EXPECT_TRUE(app->RetrieveBoolProperty("overrideHWAccelInConfig"));

    // Ctrl+8 flips the tick logging and lets the key go on.
    EXPECT_FALSE(Press(SDLK_8, KMOD_RCTRL));
    EXPECT_TRUE(app->IsLoggingTickInfo());
    EXPECT_FALSE(Press(SDLK_8, KMOD_RCTRL));
    EXPECT_FALSE(app->IsLoggingTickInfo());

    // Ctrl+5 and Ctrl+6 stop at the ends of the range but are consumed there too.
    const int level = GetLogLevel();
    SetLogLevel(0);
    EXPECT_TRUE(Press(SDLK_5, KMOD_LCTRL));
    EXPECT_EQ(0, GetLogLevel());
    EXPECT_TRUE(Press(SDLK_6, KMOD_LCTRL));
    EXPECT_EQ(1, GetLogLevel());
    SetLogLevel(4);
    EXPECT_TRUE(Press(SDLK_6, KMOD_LCTRL));
    EXPECT_EQ(4, GetLogLevel());
    EXPECT_TRUE(Press(SDLK_5, KMOD_LCTRL));
    EXPECT_EQ(3, GetLogLevel());
    SetLogLevel(level);

    // Ctrl+P asks for a screenshot; Ctrl+` and Ctrl+0 are taken.
    EXPECT_TRUE(Press(SDLK_p, KMOD_LCTRL));
    EXPECT_TRUE(app->IsScreenshotRequested());
    EXPECT_TRUE(Press(SDLK_BACKQUOTE, KMOD_LCTRL));
    EXPECT_TRUE(Press(SDLK_0, KMOD_LCTRL));

    // Ctrl+9 steps frames only in a run started with --debug, and never takes the key.
    EXPECT_FALSE(Press(SDLK_9, KMOD_LCTRL));
    EXPECT_FALSE(app->IsFrameStepping());
    TestApp& debug = Fresh();
    debug.Parse({"p", "--debug"});
    debug.Settle();
    EXPECT_FALSE(Press(SDLK_9, KMOD_LCTRL));
    EXPECT_TRUE(debug.IsFrameStepping());
}

TEST_F(ShortcutKeyTest, QuitKeysAndTheDisplaySwitchDependOnTheMode)
{
    app->StartRunning();
    // Windowed: Alt+Return asks for the switch, Alt+F4 quits.
    EXPECT_TRUE(Press(SDLK_RETURN, KMOD_LALT | KMOD_CAPS));
    EXPECT_TRUE(app->IsDisplayToggleRequested());
    EXPECT_FALSE(Press(SDLK_F4, KMOD_LCTRL | KMOD_LALT));
    EXPECT_TRUE(app->IsRunning());
    EXPECT_TRUE(Press(SDLK_F4, KMOD_RALT));
    EXPECT_FALSE(app->IsRunning());

    // Full screen without a dialog showing: both are left to the screens.
    TestApp& full = Fresh();
    full.Parse({"p"});
    full.Settle();
    full.SetFullScreen(true);
    full.StartRunning();
    EXPECT_FALSE(Press(SDLK_RETURN, KMOD_LALT));
    EXPECT_FALSE(full.IsDisplayToggleRequested());
    EXPECT_FALSE(Press(SDLK_F4, KMOD_LALT));
    EXPECT_TRUE(full.IsRunning());

    // F10 quits whatever modifiers are held.
    EXPECT_TRUE(Press(SDLK_F10, KMOD_LCTRL | KMOD_LSHIFT | KMOD_RALT));
    EXPECT_FALSE(full.IsRunning());
    EXPECT_FALSE(Press(SDLK_a));
}

TEST_F(ShortcutKeyTest, HoldingAltArmsTheKeyboardTipsAfterTheTimeout)
{
    app->MakeConfig();
    app->MakeTimers();
    RunLua("LoadConfig { ShortcutKeyTimeout = 2000 }");
    TimerManager& timers = *app->GetTimerManager();

    EXPECT_FALSE(Press(SDLK_LALT, KMOD_LALT));
    EXPECT_FALSE(Press(SDLK_RALT, KMOD_LALT | KMOD_RALT)); // no second timer
    timers.SetFrameTime(1999);
    timers.Update();
    EXPECT_EQ(0u, app->GetFlags() & APPFLAG_SHORTCUTS_ARMED);
    timers.SetFrameTime(2000);
    timers.Update();
    EXPECT_NE(0u, app->GetFlags() & APPFLAG_SHORTCUTS_ARMED);
    EXPECT_EQ(1, app->Count(MAKO_TIMER));
    EXPECT_EQ(1u, timers.CountEntries()); // the one timer

    // Letting go of Alt disarms them.
    EXPECT_FALSE(app->OnEvent(KeyUp(SDLK_LALT)));
    EXPECT_EQ(0u, app->GetFlags() & APPFLAG_SHORTCUTS_ARMED);

    // Losing the focus while Alt is held kills the pending timer: nothing arms later.
    Press(SDLK_LALT, KMOD_LALT);
    app->DoPauseApp(true);
    timers.SetFrameTime(10000);
    timers.Update();
    EXPECT_EQ(0u, app->GetFlags() & APPFLAG_SHORTCUTS_ARMED);
    // Coming back with the tips armed and Alt no longer held disarms them.
    app->SetFlags(app->GetFlags() | APPFLAG_SHORTCUTS_ARMED);
    app->DoPauseApp(false);
    EXPECT_EQ(0u, app->GetFlags() & APPFLAG_SHORTCUTS_ARMED);
    // Any timer event that reaches the application is taken.
    EXPECT_TRUE(app->SendEvent(nullptr, MAKO_TIMER, 0, IntToEventData(77)));
}
