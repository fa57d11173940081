// The application shell without a window: command line and start-up properties, the
// posted-event queue and the pass-by-pass main loop.
#include "app/AppTestSupport.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cstdio>
#include <vector>

using namespace apptest;

namespace {

using ApplicationTest = AppTest;

struct Receiver : EventReceiver
{
    std::vector<int> types;
    bool OnEvent(const Event& e) override
    {
        types.push_back(e.type);
        return true;
    }
};

} // namespace

TEST_F(ApplicationTest, CommandLineEntriesGroupWordsWithTheirOption)
{
    app->Parse({"/games/bumperlux", "alpha", "", "--testscreen", "menu", "two", "-f", "--log3"});
    ASSERT_EQ(5u, app->GetNumArgs());
    EXPECT_EQ("/games/bumperlux", app->GetArg(0));
    EXPECT_EQ("alpha", app->GetArg(1)); // words before the first option form an entry
    EXPECT_EQ("--testscreen menu two", app->GetArg(2));
    EXPECT_EQ("-f", app->GetArg(3));
    // An option is read as the whole first word of its entry.
    EXPECT_TRUE(app->HasCommandLineArg("--testscreen"));
    EXPECT_FALSE(app->HasCommandLineArg("--test"));
    EXPECT_FALSE(app->HasCommandLineArg("--testscreen menu"));
    EXPECT_FALSE(app->HasCommandLineArg("--menuscreen"));
    EXPECT_THROW(app->GetArg(5), Exception);

    std::unique_ptr<TestApp> bare(new TestApp());
    bare->Parse({"prog", "--nosound"});
    ASSERT_EQ(3u, bare->GetNumArgs());
    EXPECT_EQ("", bare->GetArg(1)); // the empty entry before the first option
}

TEST_F(ApplicationTest, OptionsOverrideDefaultsAsTheTableSays)
{
    struct Case
    {
        std::vector<std::string> args;
        const char* property;
        const char* expected; // "nil", "true", "false" or a number
    };
    const Case cases[] = {
        {{"p"}, "allowGrabInputStateChange", "true"},
        {{"p"}, "usePackageFiles", "true"},
        {{"p"}, "logLevel", "nil"},
        {{"p", "--log"}, "logLevel", "4"},
        {{"p", "-log"}, "logLevel", "4"},
        {{"p", "--log3"}, "logLevel", "3"},
        {{"p", "--logoff"}, "logLevel", "0"},
        {{"p", "-f"}, "fullScreen", "true"},
        {{"p", "--windowed"}, "fullScreen", "false"},
        {{"p", "--hwaccel"}, "enableHWAccel", "true"},
        {{"p", "--nohwaccel"}, "enableHWAccel", "false"},
        {{"p", "--hwaccel"}, "overrideHWAccelInConfig", "true"},
        {{"p", "--nopkg"}, "usePackageFiles", "false"},
        {{"p", "--multiapp"}, "allowMultipleInstances", "true"},
        {{"p", "--skipdrop"}, "enableBrickDropAnimation", "false"},
        {{"p", "--noprecache"}, "loadAllResources", "false"},
        {{"p"}, "enableStartLevelDialog", "true"},
        {{"p"}, "luaDebuggerPort", "nil"},
        {{"p", "--luadebugport", "0"}, "luaDebuggerPort", "0"},
        {{"p", "--luadebugport", "00080"}, "luaDebuggerPort", "80"},
        {{"p", "--luadebugport", "65535"}, "enableLuaDebugger", "true"},
        {{"p", "--luadebug"}, "luaDebuggerPort", "nil"},
        {{"p", "--skipletter"}, "enableStartLevelDialog", "false"},
        {{"p", "--console"}, "enableConsole", "true"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TestApp> a(new TestApp());
        a->Parse(c.args);
        a->Settle();
        LuaPlus::LuaObject value;
        a->RetrieveProperty(value, c.property);
        std::string text = value.IsNil()       ? "nil"
                           : value.IsBoolean() ? (value.GetBoolean() ? "true" : "false")
                                               : value.ToString();
        EXPECT_EQ(c.expected, text) << c.property << " with " << c.args.back();
    }
}

TEST_F(ApplicationTest, AppCodesAreFourCharacters)
{
    EXPECT_EQ(0x58554C42u, AppCodeFromString("BLUX"));
    for (const char* bad : {"BLU", "BLUXX"}) {
        try {
            AppCodeFromString(bad);
            FAIL();
        } catch (const Exception& e) {
            EXPECT_NE(std::string::npos,
                      e.GetMessage().find("An app code's string must be exactly four "
                                          "characters long."));
        }
    }
}

TEST_F(ApplicationTest, PostedEventsArriveInOrderIncludingThosePostedDuringThePass)
{
    Receiver target;
    app->SetFrameRateCap(false);
    app->StartRunning();
    app->PostEvent(nullptr, MAKO_SELECT);
    app->PostEvent(&target, MAKO_TIMER, 0, IntToEventData(3));
    app->PostEventByName("MAKO_HIGHSCORESUPDATED");
    app->RunPass();
    EXPECT_EQ((std::vector<int>{MAKO_SELECT, MAKO_HIGHSCORESUPDATED, MAKO_RELOAD}), app->seen);
    EXPECT_EQ((std::vector<int>{MAKO_TIMER}), target.types);
    EXPECT_TRUE(GetPostedEventQueue().IsEmpty());
    EXPECT_TRUE(app->IsRunning());
}

TEST_F(ApplicationTest, QuittingTwiceInOnePassIsHarmlessAndNoticesGoOutOnce)
{
    app->SetFrameRateCap(false);
    app->StartRunning();
    app->Quit();
    app->Quit();
    app->RunPass();
    EXPECT_FALSE(app->IsRunning());
    EXPECT_EQ((std::vector<int>{MAKO_SCREENCHANGE, MAKO_APPQUIT}), app->seen);
}

TEST_F(ApplicationTest, QuitDuringAPausedPassStillSendsTheNotices)
{
    app->SetFrameRateCap(false);
    app->StartRunning();
    app->SetPaused(true);
    app->RunPass(); // the pause notice goes out; this pass is not paused yet
    app->seen.clear();
    app->PostEvent(nullptr, MAKO_SELECT);
    app->Quit();
    app->RunPass(); // a paused pass
    EXPECT_EQ((std::vector<int>{MAKO_SELECT, MAKO_RELOAD, MAKO_SCREENCHANGE, MAKO_APPQUIT}),
              app->seen);
}

TEST_F(ApplicationTest, PauseNoticesFollowThePauseOncePerChange)
{
    app->Parse({"p"});
    app->Settle();
    app->SetFrameRateCap(false);
    app->StartRunning();
    app->DoPauseApp(true);
    app->RunPass();
    app->RunPass();
    app->DoPauseApp(false);
    app->RunPass();
    std::vector<std::intptr_t> pauses; // data1 of each notice: 1 pausing, 0 resuming
    for (std::size_t i = 0; i < app->seen.size(); ++i)
        if (app->seen[i] == MAKO_PAUSEAPP)
            pauses.push_back(app->words[i]);
    EXPECT_EQ((std::vector<std::intptr_t>{1, 0}), pauses);
}

TEST_F(ApplicationTest, RegainingInputFocusResumesTheGame)
{
    app->Parse({"p"});
    app->Settle();
    Event lost;
    std::memset(&lost, 0, sizeof lost);
    lost.type = SDL_ACTIVEEVENT;
    lost.active.gain = 0;
    lost.active.state = SDL_APPINPUTFOCUS;
    app->OnEvent(lost);
    EXPECT_TRUE(app->IsAppPaused());
    Event gained = lost;
    gained.active.gain = 1; // input focus back, the window was never iconified
    app->OnEvent(gained);
    EXPECT_FALSE(app->IsAppPaused());
}

TEST_F(ApplicationTest, FrameSteppingHandlesKeysAndKeepsEngineEventsForTheNextPass)
{
    app->Parse({"p"});
    app->Settle();
    app->SetFrameRateCap(false);
    app->StartRunning();
    app->SetFrameStepping(true);
    Event space;
    std::memset(&space, 0, sizeof space);
    space.type = SDL_KEYDOWN;
    space.key.keysym.sym = SDLK_SPACE;
    // Both wait in the queue when the pass reaches its hold: the engine event is kept,
    // the space bar ends the hold.
    app->PostEvent(nullptr, MAKO_SELECT);
    app->HoldOnce(space);
    EXPECT_EQ((std::vector<int>{SDL_KEYDOWN}), app->seen);
    app->SetFrameStepping(false);
    app->RunPass();
    EXPECT_EQ((std::vector<int>{SDL_KEYDOWN, MAKO_SELECT, MAKO_RELOAD}), app->seen);
}

TEST_F(ApplicationTest, GamePauseIsAskedForThenTakesHoldAtTheNextPass)
{
    app->MakeTimers();
    TimerManager& timers = *app->GetTimerManager();
    std::uint32_t timer = timers.CreateTimer(app.get(), 1000, -1, TIMER_LIMITED_TO_FRAMERATE);
    app->SetFrameRateCap(false);
    app->StartRunning();

    app->PauseGame(true);
    app->PauseGame(true); // already asked: nothing more
    const std::uint32_t pauseBits = APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED;
    EXPECT_EQ(APPFLAG_GAME_PAUSE_REQUESTED, app->GetFlags() & pauseBits);
    EXPECT_NE(0u, timers.FindTimer(timer)->m_Flags & TIMER_PAUSED_GAME);
    app->RunPass();
    EXPECT_EQ(APPFLAG_GAME_PAUSED, app->GetFlags() & pauseBits);
    EXPECT_TRUE(app->IsGamePaused());
    app->PauseGame(false);
    app->PauseGame(false);
    EXPECT_EQ(0u, app->GetFlags() & pauseBits);
    EXPECT_EQ(0u, timers.FindTimer(timer)->m_Flags & TIMER_PAUSED_GAME);
    app->RunPass();
    std::vector<int> notices; // the code of each: 1 pausing, 0 resuming
    for (std::size_t i = 0; i < app->seen.size(); ++i)
        if (app->seen[i] == MAKO_PAUSEGAME)
            notices.push_back(app->codes[i]);
    EXPECT_EQ((std::vector<int>{1, 0}), notices);

    // A pause asked for while the game is already paused is a fault of the caller.
    app->SetFlags(APPFLAG_GAME_PAUSED | APPFLAG_GAME_PAUSE_REQUESTED);
    try {
        app->RunPass();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: ((m_Flags & APPFLAG_GAME_PAUSED) == 0)", e.GetMessage());
        EXPECT_EQ("Application::Run", e.GetFunction());
    }
}

TEST_F(ApplicationTest, BrokenRoutedEventsAndBadArgumentIndexesFailTheirChecks)
{
    Event noDestination = MakeEvent(MAKO_ROUTEDEVENT, 0, nullptr, new Event(MakeEvent(MAKO_TIMER)));
    Receiver target;
    Event noEvent = MakeEvent(MAKO_ROUTEDEVENT, 0, &target, nullptr);
    const std::pair<Event, const char*> cases[] = {
        {noDestination, "Assertion failed: (dest != 0)"},
        {noEvent, "Assertion failed: (realEvent != 0)"},
    };
    for (const auto& [event, message] : cases) {
        try {
            app->OnEvent(event);
            FAIL() << message;
        } catch (const Exception& e) {
            EXPECT_EQ(message, e.GetMessage());
            EXPECT_EQ("Application::OnEvent", e.GetFunction());
        }
    }
    EXPECT_TRUE(target.types.empty());

    app->Parse({"p"});
    try {
        app->GetArg(1);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (index < GetNumArgs())", e.GetMessage());
        EXPECT_EQ("Application::GetArg", e.GetFunction());
    }
}

TEST_F(ApplicationTest, HoldEndsOnSpaceAndKeepsEveryWaitingEngineEventInOrder)
{
    app->Parse({"p"});
    app->Settle();
    app->SetFrameRateCap(false);
    app->StartRunning();
    Receiver target;
    app->PostEvent(nullptr, MAKO_SELECT);
    app->PostEvent(nullptr, KeyDown(SDLK_a)); // handled, does not end the hold
    app->PostEvent(&target, MAKO_TIMER);
    app->PostEvent(nullptr, KeyDown(SDLK_SPACE));
    app->PostEvent(nullptr, MAKO_VALUECHANGE); // still queued when Space ends the hold
    app->HoldFrame();
    EXPECT_EQ((std::vector<int>{SDL_KEYDOWN, SDL_KEYDOWN}), app->seen);
    EXPECT_TRUE(target.types.empty());
    app->seen.clear();
    app->RunPass();
    EXPECT_EQ((std::vector<int>{MAKO_SELECT, MAKO_VALUECHANGE, MAKO_RELOAD}), app->seen);
    EXPECT_EQ((std::vector<int>{MAKO_TIMER}), target.types);
}

TEST_F(ApplicationTest, ScreenshotNamesCountUpAndNeverReuseAName)
{
    const std::string folder = home.Path() + "/shots/";
    EXPECT_EQ(folder + "bumperlux_Screenshot-0000.bmp",
              FindScreenshotFileName(folder, "bumperlux"));
    bbtest::WriteFile(folder + "bumperlux_Screenshot-0000.bmp", "x");
    bbtest::WriteFile(folder + "bumperlux_Screenshot-0002.bmp", "x");
    EXPECT_EQ(folder + "bumperlux_Screenshot-0001.bmp",
              FindScreenshotFileName(folder, "bumperlux"));
    // Whatever stands at a name, a FIFO or a dangling link, is skipped without being opened
    // (the alarm ends a test that waits on the FIFO).
    ASSERT_EQ(0, ::mkfifo((folder + "bumperlux_Screenshot-0001.bmp").c_str(), 0600));
    ASSERT_EQ(0, ::symlink((folder + "gone").c_str(),
                           (folder + "bumperlux_Screenshot-0003.bmp").c_str()));
    ::alarm(20);
    EXPECT_EQ(folder + "bumperlux_Screenshot-0004.bmp",
              FindScreenshotFileName(folder, "bumperlux"));
    ::alarm(0);
    std::remove((folder + "bumperlux_Screenshot-0001.bmp").c_str());
    for (int n = 0; n <= 9998; ++n) {
        char name[64];
        std::snprintf(name, sizeof name, "bumperlux_Screenshot-%04d.bmp", n);
        if (std::FILE* f = std::fopen((folder + name).c_str(), "wb"))
            std::fclose(f);
    }
    EXPECT_EQ("", FindScreenshotFileName(folder, "bumperlux"));
}
