// The application shell without a window: command line and start-up properties, the
// posted-event queue and the pass-by-pass main loop.
#include "app/ArcadeApp.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <cstring>
#include <vector>

namespace {

// The game's application, with the loop's inner parts reachable and events recorded.
class TestApp : public ArcadeApp
{
public:
    std::vector<int> seen;
    std::vector<std::intptr_t> words;
    bool quitOnTimer = false;

    bool OnEvent(const Event& event) override
    {
        if (event.type != MAKO_ROUTEDEVENT) {
            seen.push_back(event.type);
            words.push_back(EventData1Int(event));
        }
        if (event.type == MAKO_SELECT) // a handler posting during the event phase
            PostEvent(nullptr, MAKO_RELOAD);
        return Application::OnEvent(event);
    }
    void SetPaused(bool paused) { m_AppPaused = paused; }
    void SetFrameStepping(bool on) { m_FrameStepping = on; }
    // Holds the frame with `key` queued behind whatever is already posted.
    void HoldOnce(const Event& key)
    {
        PostEvent(nullptr, key);
        HoldFrame();
    }
    void Parse(std::vector<std::string> args)
    {
        std::vector<char*> argv;
        for (std::string& a : args)
            argv.push_back(a.data());
        ParseCmdLineArgs(static_cast<int>(argv.size()), argv.data());
    }
    void Settle()
    {
        SetDefaultProperties();
        ConvertCmdLineArgsToProperties();
    }
};

class ApplicationTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        bbtest::PrepareEngine();
        GetPostedEventQueue().Clear();
        app.reset(new TestApp());
    }
    void TearDown() override
    {
        app.reset();
        GetPostedEventQueue().Clear();
    }
    bbtest::TempHome home;
    std::unique_ptr<TestApp> app;
};

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
    EXPECT_TRUE(app->HasCommandLineArg("--test"));
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
        {{"p", "--logfile"}, "logLevel", "nil"},
        {{"p", "--log3"}, "logLevel", "3"},
        {{"p", "--logoff"}, "logLevel", "0"},
        {{"p", "-fast"}, "fullScreen", "true"},
        {{"p", "--windowed"}, "fullScreen", "false"},
        {{"p", "--nohwaccel", "--hwaccel"}, "enableHWAccel", "true"},
        {{"p", "--hwaccel"}, "overrideHWAccelInConfig", "true"},
        {{"p", "--nopkg"}, "usePackageFiles", "false"},
        {{"p", "--multiapp"}, "allowMultipleInstances", "true"},
        {{"p", "--skipdrop"}, "enableBrickDropAnimation", "false"},
        {{"p", "--noprecache"}, "loadAllResources", "false"},
        {{"p"}, "enableStartLevelDialog", "true"},
    };
    for (const Case& c : cases) {
        std::unique_ptr<TestApp> a(new TestApp());
        a->Parse(c.args);
        a->Settle();
        LuaPlus::LuaObject value;
        a->RetrieveProperty(value, c.property);
        std::string text = value.IsNil() ? "nil"
                           : value.IsBoolean() ? (value.GetBoolean() ? "true" : "false")
                                               : value.ToString();
        EXPECT_EQ(c.expected, text) << c.property << " with " << c.args.back();
    }
}

TEST_F(ApplicationTest, ConflictingDisplayOptionsAndBadAppCodesFail)
{
    app->Parse({"p", "-f", "--windowed"});
    try {
        app->Settle();
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (!(full && windowed))\nMessage: Both fullscreen and "
                  "windowed modes were specified on the command line.",
                  e.GetMessage());
        EXPECT_EQ("Application::ConvertCmdLineArgsToProperties", e.GetFunction());
    }
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
