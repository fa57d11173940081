// The screens a player starts on: the splash screen's loading (level scripts, then the
// resources, the progress bar, the chime, "start"), its ways out, and the main menu with
// its sign-in, its buttons and the skill it applies.
#include "GameApp.h"

#include "core/TimerManager.h"
#include "lua/MakoLuaState.h"
#include "players/Player.h"
#include "resources/ResourceManager.h"
#include "screens/ArcadeSplashScreen.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <cstdlib>

#include <memory>

using namespace bbtest;

namespace {

Event KeyDown(SDLKey key, SDLMod mods = KMOD_NONE)
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
            ASSERT_NE(0, PHYSFS_mount(std::getenv("BB_TEST_ASSET_PACK"), nullptr, 1));
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
    const int files = static_cast<int>(ArcadeApp::GetLevelFileNames().size());
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
    const int files = static_cast<int>(ArcadeApp::GetLevelFileNames().size());
    app->SwitchTo("SplashScreen");
    EXPECT_FALSE(splash->OnEvent(KeyDown(SDLK_RETURN)));
    app->Pass(files);
    EXPECT_FALSE(splash->OnEvent(KeyDown(SDLK_RETURN, KMOD_LALT)));
    EXPECT_FALSE(splash->OnEvent(KeyDown(SDLK_SPACE)));
    EXPECT_TRUE(Current("SplashScreen"));

    const int timers = app->Timers()->CountLiveTimers();
    EXPECT_TRUE(splash->OnEvent(KeyDown(SDLK_RETURN)));
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
