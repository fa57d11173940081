// The screen manager: registering and switching screens, the notices every screen gets,
// routing and ticking, the window buttons and the script function SwitchToScreen.
#include "ScreenTestSupport.h"

#include "core/OutputCapture.h"
#include "lua/MakoLuaState.h"
#include "screens/ScreenManager.h"

using namespace screentest;

namespace {

class ScreenManagerTest : public ScreenTest
{
};

} // namespace

TEST_F(ScreenManagerTest, ReservedAndTakenNamesAreRefusedAndUnknownSwitchesChangeNothing)
{
    std::vector<std::string> log;
    auto* first = new RecordingScreen("Menu", &log);
    manager->AddScreen(first);
    manager->SwitchToScreen("Menu");

    std::unique_ptr<RecordingScreen> reserved(new RecordingScreen("current", &log));
    EXPECT_NE(std::string::npos,
              MessageOf([&] {
                  manager->AddScreen(reserved.get());
              }).find("The screen name of \"current\" is reserved for use by Mako."));
    std::unique_ptr<RecordingScreen> twin(new RecordingScreen("Menu", &log));
    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     manager->AddScreen(twin.get());
                                 }).find("A Screen with name \"Menu\" already exists."));
    EXPECT_EQ(first, manager->GetScreen("Menu"));

    EXPECT_NE(std::string::npos, MessageOf([&] {
                                     manager->SwitchToScreen("Nowhere");
                                 }).find("A Screen with name \"Nowhere\" does not exist."));
    EXPECT_EQ(first, manager->GetCurrentScreen());
}

TEST_F(ScreenManagerTest, EverySwitchTellsEveryScreenOnceWithNewAndOld)
{
    auto* a = new RecordingScreen("A", nullptr);
    auto* b = new RecordingScreen("B", nullptr);
    manager->AddScreen(a);
    manager->AddScreen(b);
    EXPECT_EQ(nullptr, manager->GetCurrentScreen());

    manager->SwitchToScreen("A");
    manager->SwitchToScreen(b);
    DispatchPosted();
    const std::vector<std::pair<void*, void*>> expected = {{a, nullptr}, {b, a}};
    EXPECT_EQ(expected, a->changes);
    EXPECT_EQ(expected, b->changes);

    // Switching to the shown screen (also by the name "current") still tells everyone.
    manager->SwitchToScreen("current");
    DispatchPosted();
    EXPECT_EQ(3u, a->changes.size());
    EXPECT_EQ(std::make_pair(static_cast<void*>(b), static_cast<void*>(b)), a->changes.back());

    // A screen that was never registered is not shown, though every registered screen
    // still hears of the switch.
    std::unique_ptr<RecordingScreen> stranger(new RecordingScreen("Stranger", nullptr));
    manager->SwitchToScreen(stranger.get());
    EXPECT_EQ(nullptr, manager->GetCurrentScreen());
    DispatchPosted();
    EXPECT_EQ(std::make_pair(static_cast<void*>(stranger.get()), static_cast<void*>(b)),
              a->changes.back());
    EXPECT_TRUE(stranger->changes.empty());

    // No screen: only the manager and the overlay see events.
    manager->SwitchToScreen(static_cast<Screen*>(nullptr));
    EXPECT_EQ(nullptr, manager->GetCurrentScreen());
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("Screens")["current"].IsNil());
    Event key = KeyDown(SDLK_a);
    EXPECT_FALSE(manager->OnEvent(key));
}

TEST_F(ScreenManagerTest, EventsReachChildrenTopmostFirstThenTheScreenThenItsLogic)
{
    std::vector<std::string> log;
    auto* logic = new RecordingLogic(&log);
    auto* screen = new RecordingScreen("Game", &log, logic);
    EXPECT_EQ(screen, logic->GetScreen());
    screen->AddChild(new KeyActor("low", &log, 5, false), "");
    screen->AddChild(new KeyActor("high", &log, 500, false), "");
    manager->AddScreen(screen);
    manager->SwitchToScreen("Game");

    EXPECT_FALSE(app->OfferToScreens(KeyDown(SDLK_a)));
    const std::vector<std::string> walk = {"high:key", "low:key", "Game:key", "logic:key"};
    EXPECT_EQ(walk, log);

    // The first consumer ends the walk.
    log.clear();
    logic->consumeKeys = true;
    EXPECT_TRUE(app->OfferToScreens(KeyDown(SDLK_a)));
    EXPECT_EQ(walk, log);

    // A pass ticks the screen's actors, then its logic.
    log.clear();
    app->Tick();
    const std::vector<std::string> ticks = {"Game:tick", "low:tick", "high:tick", "logic:tick"};
    EXPECT_EQ(ticks, log);
}

TEST_F(ScreenManagerTest, DestroyingTheManagerDeletesEveryScreenAndClearsTheTable)
{
    manager->AddScreen(new RecordingScreen("A", nullptr));
    manager->AddScreen(new RecordingScreen("B", nullptr));
    manager->SwitchToScreen("B");
    EXPECT_EQ(2, RecordingScreen::s_Live);
    app.reset();
    EXPECT_EQ(0, RecordingScreen::s_Live);
    EXPECT_TRUE(GetGlobalLuaState()->GetGlobal("Screens").IsNil());
}

TEST_F(ScreenManagerTest, WindowButtonsSitInTheCornerAndShowOnlyFullScreen)
{
    Actor* group = manager->GetGlobalOverlay()->GetChild("WindowButtons", false);
    ASSERT_NE(nullptr, group);
    const char* names[] = {"MinimizeButton", "RestoreButton", "CloseButton"};
    const int xs[] = {577, 597, 617};
    for (int i = 0; i < 3; ++i) {
        Actor* button = group->GetChild(names[i], false);
        ASSERT_NE(nullptr, button) << names[i];
        EXPECT_EQ(xs[i], button->GetX()) << names[i];
        EXPECT_EQ(5, button->GetY()) << names[i];
    }
    EXPECT_TRUE(group->IsVisible()); // until the first display change

    Event change = MakeEvent(MAKO_DISPLAYCHANGE);
    EXPECT_FALSE(manager->OnEvent(change));
    EXPECT_FALSE(group->IsVisible());
    app->SetFullScreen(true);
    manager->OnEvent(change);
    EXPECT_TRUE(group->IsVisible());
    manager->ShowWindowButtons(false);
    EXPECT_FALSE(group->IsVisible());

    // Restore and close act only full screen.
    Object* restore = group->GetChild("RestoreButton", false);
    Object* close = group->GetChild("CloseButton", false);
    Event restoreClick = MakeEvent(MAKO_BUTTONCLICK, 0, restore);
    Event closeClick = MakeEvent(MAKO_BUTTONCLICK, 0, close);
    EXPECT_TRUE(manager->OnEvent(restoreClick));
    EXPECT_TRUE(app->DisplayToggleRequested());
    app->SetFullScreen(false);
    app->StartRunning();
    EXPECT_FALSE(manager->OnEvent(closeClick));
    EXPECT_TRUE(app->IsRunning());
    app->SetFullScreen(true);
    EXPECT_TRUE(manager->OnEvent(closeClick));
    EXPECT_FALSE(app->IsRunning());
}

TEST_F(ScreenManagerTest, ScriptSwitchTakesNamesAndReportsBadArguments)
{
    manager->AddScreen(new RecordingScreen("A", nullptr));
    manager->AddScreen(new RecordingScreen("B", nullptr));
    Run("SwitchToScreen('B')");
    EXPECT_EQ("B", manager->GetCurrentScreen()->GetName());

    std::string output;
    {
        bbtest::OutputCapture capture(1);
        Run("SwitchToScreen()");
        Run("SwitchToScreen({})");
        output = capture.Text();
    }
    EXPECT_EQ("B", manager->GetCurrentScreen()->GetName());
    const std::string usage =
        "ERROR: Bad parameter(s) to SwitchToScreen.\nUsage: SwitchToScreen(\"name of screen\")\n";
    EXPECT_EQ(usage + usage, output);

    // A number is taken as its text.
    EXPECT_NE(std::string::npos, MessageOf([] {
                                     Run("SwitchToScreen(5)");
                                 }).find("A Screen with name \"5\" does not exist."));
}
