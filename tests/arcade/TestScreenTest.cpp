// The developer test screen: every key test runs on a live screen without a failure, the
// toggling keys add and remove what they made, and the arrows move the test actor by 1
// with Ctrl and by 5 without.
#include "GameApp.h"

#include "scene/ParticleEmitter.h"
#include "screens/ArcadeTestScreen.h"
#include "screens/Screen.h"
#include "screens/ScreenManager.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <memory>

using namespace bbtest;

namespace {

Event ScreenKeyDown(SDLKey key, SDLMod mods = KMOD_NONE)
{
    Event event{};
    event.key.type = SDL_KEYDOWN;
    event.key.keysym.sym = key;
    event.key.keysym.mod = mods;
    return event;
}

class TestScreenTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<GameApp>();
        if (!app->Screens()->GetScreen("TestScreen"))
            app->Screens()->AddScreen(new ArcadeTestScreen());
        if (!app->Screens()->GetScreen("SplashScreen"))
            app->Screens()->AddScreen(new Screen("SplashScreen", "", nullptr));
        screen = dynamic_cast<ArcadeTestScreen*>(app->Screens()->GetScreen("TestScreen"));
        ASSERT_NE(nullptr, screen);
        app->SwitchTo("TestScreen");
    }
    void TearDown() override { app.reset(); }

    // Presses the key, runs a pass, and says whether the press was consumed.
    bool Press(SDLKey key, SDLMod mods = KMOD_NONE)
    {
        const bool consumed = screen->OnEvent(ScreenKeyDown(key, mods));
        app->Pass();
        return consumed;
    }
    Actor* Child(const char* name) const
    {
        Actor* child = screen->Actor::GetChild(name, false);
        return child && !child->IsDead() ? child : nullptr;
    }

    std::unique_ptr<GameApp> app;
    ArcadeTestScreen* screen = nullptr;
};

} // namespace

TEST_F(TestScreenTest, EveryKeyTestRunsAndOnlyReturnAndEscapeAreConsumed)
{
    LogCapture log;
    for (SDLKey key : {SDLK_a, SDLK_b, SDLK_c, SDLK_d, SDLK_d, SDLK_e, SDLK_f, SDLK_g, SDLK_k,
                       SDLK_l, SDLK_r, SDLK_s, SDLK_t, SDLK_u, SDLK_y, SDLK_x, SDLK_RSHIFT})
        EXPECT_FALSE(Press(key)) << key;
    app->Pass(20);
    EXPECT_NE(nullptr, Child("TestAlphaActor"));
    EXPECT_NE(nullptr, Child("TestActor4"));
    EXPECT_NE(nullptr, Child("colorTest"));
    EXPECT_EQ(128, Child("TestActor")->GetAlpha());
    const std::string text = log.Text();
    EXPECT_NE(std::string::npos, text.find("Key Repeat Enabled.\n"));
    EXPECT_NE(std::string::npos, text.find("Key Repeat Disabled.\n"));

    EXPECT_TRUE(Press(SDLK_RETURN));
    app->DispatchPosted();
    EXPECT_EQ(app->Screens()->GetScreen("SplashScreen"), app->Screens()->GetCurrentScreen());
}

TEST_F(TestScreenTest, TogglingKeysAddAndRemoveWhatTheyMade)
{
    LogCapture log;
    // Once made, the button steps through its four frames and wraps round.
    Press(SDLK_b);
    Actor* button = Child("test_actor");
    ASSERT_NE(nullptr, button);
    Press(SDLK_b);
    const int first = button->GetFrame();
    int previous = first;
    for (int step = 1; step <= 4; ++step) {
        Press(SDLK_b);
        EXPECT_NE(previous, button->GetFrame());
        EXPECT_LT(button->GetFrame(), 4);
        previous = button->GetFrame();
    }
    EXPECT_EQ(first, button->GetFrame());

    // The label is made opaque, then fades by steps and comes back.
    Press(SDLK_l);
    ASSERT_NE(nullptr, Child("TestLabel"));
    EXPECT_EQ(255, Child("TestLabel")->GetAlpha());
    for (int i = 0; i < 5; ++i)
        Press(SDLK_l);
    const std::string text = log.Text();
    std::size_t at = 0;
    for (const char* line : {"alpha now: 192\n", "alpha now: 128\n", "alpha now: 64\n",
                             "alpha now: 0\n", "alpha now: 255\n"}) {
        at = text.find(line, at);
        EXPECT_NE(std::string::npos, at) << line;
    }

    // 'e' makes and kills the spark emitter; after 'f' it kills that one instead.
    Press(SDLK_e);
    ParticleEmitter* sparks = screen->GetEmitter();
    ASSERT_NE(nullptr, sparks);
    Press(SDLK_e);
    EXPECT_EQ(nullptr, screen->GetEmitter());
    Press(SDLK_f);
    EXPECT_NE(nullptr, screen->GetEmitter());
    Press(SDLK_e);
    EXPECT_EQ(nullptr, screen->GetEmitter());

    Press(SDLK_u);
    EXPECT_NE(nullptr, Child("colorTest"));
    Press(SDLK_u);
    EXPECT_EQ(nullptr, Child("colorTest"));
}

TEST_F(TestScreenTest, ArrowsMoveTheTestActorByOneWithCtrlAndByFiveWithout)
{
    Press(SDLK_UP, KMOD_LCTRL);
    Actor* actor = Child("TestActor");
    ASSERT_NE(nullptr, actor);
    EXPECT_EQ(10, actor->GetX());
    EXPECT_EQ(9, actor->GetY());
    Press(SDLK_RIGHT);
    EXPECT_EQ(15, actor->GetX());
    Press(SDLK_DOWN, static_cast<SDLMod>(KMOD_RCTRL | KMOD_NUM | KMOD_CAPS));
    EXPECT_EQ(10, actor->GetY());
    Press(SDLK_LEFT, static_cast<SDLMod>(KMOD_LCTRL | KMOD_RCTRL));
    EXPECT_EQ(10, actor->GetX());
    Press(SDLK_RSHIFT);
    EXPECT_EQ(128, actor->GetAlpha());
    Press(SDLK_RSHIFT);
    EXPECT_EQ(255, actor->GetAlpha());
}
