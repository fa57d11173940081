// Every screen of the game can be reached from the console and left again, over and over,
// without leaving timers, actors, bodies or images behind.
#include "GameApp.h"

#include "core/TimerManager.h"
#include "display/Image.h"
#include "physics/PhysicsBody.h"
#include "scene/Actor.h"
#include "screens/ArcadeArtifactScreen.h"
#include "screens/ArcadeLabScreen.h"
#include "screens/ArcadeMapScreen.h"
#include "screens/ArcadeMenuScreen.h"
#include "screens/ArcadeSplashScreen.h"
#include "screens/ArcadeTestScreen.h"
#include "screens/GameStart.h"
#include "screens/ScreenManager.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

TEST(ScreenRounds, EveryScreenComesAndGoesFiftyTimesLeavingNothingBehind)
{
    bbtest::GameApp app;
    for (Screen* screen : std::vector<Screen*>{new ArcadeSplashScreen(), new ArcadeMenuScreen(),
                                               new ArcadeMapScreen(), new ArcadeLabScreen(),
                                               new ArcadeArtifactScreen(), new ArcadeTestScreen()})
        app.Screens()->AddScreen(screen);
    CreateGameOptionsForCurrentPlayer();
    app.ApplyBoolProperty("enableBrickDropAnimation", false);
    app.ApplyBoolProperty("enableStartLevelDialog", false);
    // The splash runs the level files of the package again on each visit (and caches no
    // resources here); the tests' levels come from the asset folder, so they are read
    // again after it.
    app.ApplyBoolProperty("loadAllResources", false);
    const std::vector<std::string> names = {"SplashScreen", "MenuScreen",     "MapScreen",
                                            "LabScreen",    "ArtifactScreen", "TestScreen",
                                            "GameScreen"};
    auto round = [&] {
        for (const std::string& name : names) {
            bbtest::RunLua("SwitchToScreen('" + name + "')");
            Screen* screen = app.Screens()->GetScreen(name);
            app.Pass(3);
            // The splash is left once it has run every level file, so the games find them.
            for (int i = 0; name == "SplashScreen" && i < 200 && screen->GetStateName() != "Loaded";
                 ++i)
                app.Pass();
            ASSERT_EQ(screen, app.Screens()->GetCurrentScreen()) << name;
            if (name == "SplashScreen")
                bbtest::LoadGameLevels();
            bbtest::RunLua("SwitchToScreen('Elsewhere')");
            app.Pass(2);
        }
    };
    struct Counts
    {
        int timers, actors, bodies, images;
    };
    auto count = [&] {
        return Counts{app.Timers()->CountLiveTimers(), Actor::GetLiveCount(),
                      PhysicsBody::GetLiveCount(), Image::GetLiveCount()};
    };
    // A first round loads what stays cached for the run (pictures, letters shown once).
    round();
    round();
    const Counts before = count();
    for (int i = 0; i < 50; ++i)
        round();
    const Counts after = count();
    EXPECT_EQ(before.timers, after.timers);
    EXPECT_EQ(before.actors, after.actors);
    EXPECT_EQ(before.bodies, after.bodies);
    EXPECT_EQ(before.images, after.images);
}
