// The serve from the level's start as the player meets it: the level's content drops in,
// the ball appears on the paddle, and a press of the mouse button or of a fire key sends it
// off. Input goes through the application's own event handling, one 32 ms pass at a time.
#include "GameApp.h"

#include "core/Event.h"
#include "field/Ball.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "logic/states/StateSupport.h"
#include "screens/Marquee.h"

#include <gtest/gtest.h>

#include <SDL.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

namespace {

const char kPrompt[] = "Click To Start - Space Bar For Menu";

// The left button as SDL reports it, for the controller's look at a button held.
bool s_MouseDown = false;
bool MouseDown()
{
    return s_MouseDown;
}

enum class Input { Click, MouseHeld, ReturnTap, ReturnHeld };

const char* Describe(Input input)
{
    switch (input) {
    case Input::Click:
        return "click";
    case Input::MouseHeld:
        return "mouse button held";
    case Input::ReturnTap:
        return "Return tapped";
    case Input::ReturnHeld:
        return "Return held";
    }
    return "";
}

class ServeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        app = std::make_unique<bbtest::GameApp>();
        ArcadeGameStates::SetLeftButtonProbe(&MouseDown);
    }
    void TearDown() override
    {
        ArcadeGameStates::SetLeftButtonProbe(nullptr);
        s_MouseDown = false;
        SDL_GetKeyState(nullptr)[SDLK_RETURN] = 0;
        app.reset();
    }

    static std::string State() { return gLogic ? gLogic->GetStateName() : ""; }
    static bool PromptShown() { return gLogic && gLogic->m_Marquee->GetMessage() == kPrompt; }
    // The ball a paddle holds, or null.
    static Ball* HeldBall()
    {
        if (gLogic)
            for (Paddle* paddle : gLogic->GetPaddles())
                for (Actor* actor : paddle->GetHeldBalls().GetMembers())
                    if (auto* ball = dynamic_cast<Ball*>(actor))
                        return ball;
        return nullptr;
    }

    // A fresh game at its level's start: the first pass of the brick drop has run.
    void OpenLevel()
    {
        app->SwitchTo("Elsewhere");
        app->OpenLevel();
        for (int i = 0; i < 50 && State() != "BrickDrop"; ++i)
            app->Pass();
        ASSERT_EQ("BrickDrop", State());
        earlyPrompt.clear();
    }
    // One pass, noting a prompt that stands while the paddle holds no ball to serve.
    void Pass()
    {
        app->Pass();
        if (!HeldBall() && PromptShown() && earlyPrompt.empty())
            earlyPrompt = "the prompt shows in " + State() + " with no ball to serve";
    }

    void Mouse(bool down)
    {
        s_MouseDown = down;
        Event event{};
        event.button.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
        event.button.button = SDL_BUTTON_LEFT;
        event.button.state = down ? SDL_PRESSED : SDL_RELEASED;
        app->OnEvent(event);
        app->DispatchPosted();
    }
    void Return(bool down)
    {
        SDL_GetKeyState(nullptr)[SDLK_RETURN] = down ? 1 : 0;
        Event event{};
        event.key.type = down ? SDL_KEYDOWN : SDL_KEYUP;
        event.key.keysym.sym = SDLK_RETURN;
        app->OnEvent(event);
        app->DispatchPosted();
    }
    void Press(Input input)
    {
        const bool mouse = input == Input::Click || input == Input::MouseHeld;
        mouse ? Mouse(true) : Return(true);
        if (input == Input::Click || input == Input::ReturnTap)
            mouse ? Mouse(false) : Return(false);
    }
    void Release(Input input)
    {
        if (input == Input::MouseHeld)
            Mouse(false);
        else if (input == Input::ReturnHeld)
            Return(false);
    }

    // The pointer moved by dx and the left button clicked, all in one pass's input: the
    // three events go through the application's handling before its posted events.
    void MoveAndClick(int dx)
    {
        Event move{};
        move.motion.type = SDL_MOUSEMOTION;
        move.motion.x = static_cast<Uint16>(320 + dx);
        move.motion.y = 400;
        move.motion.xrel = static_cast<Sint16>(dx);
        app->OnEvent(move);
        for (std::uint8_t type : {SDL_MOUSEBUTTONDOWN, SDL_MOUSEBUTTONUP}) {
            Event click{};
            click.button.type = type;
            click.button.button = SDL_BUTTON_LEFT;
            click.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
            click.button.x = move.motion.x;
            click.button.y = move.motion.y;
            app->OnEvent(click);
        }
        app->DispatchPosted();
    }

    // Passes until a paddle holds the ball (at most limit); the number run.
    int PassUntilHeld(int limit = 200)
    {
        int n = 0;
        while (!HeldBall() && n < limit) {
            Pass();
            ++n;
        }
        return n;
    }

    std::unique_ptr<bbtest::GameApp> app;
    std::string earlyPrompt; // since the level's start; empty while there was none
};

} // namespace

TEST_F(ServeTest, ThePromptWaitsForTheBallAndThenAClickServes)
{
    OpenLevel();
    const int approach = PassUntilHeld();
    ASSERT_NE(nullptr, HeldBall()) << "no ball came to the paddle";
    EXPECT_EQ("", earlyPrompt);
    EXPECT_EQ("WaitForSpawn", State());
    EXPECT_TRUE(PromptShown());
    // The ball waits as long as the player does.
    for (int i = 0; i < 100; ++i)
        Pass();
    EXPECT_NE(nullptr, HeldBall());
    EXPECT_EQ("WaitForSpawn", State());
    Press(Input::Click);
    for (int i = 0; i < 20; ++i)
        Pass();
    EXPECT_EQ("Playing", State());
    EXPECT_EQ(nullptr, HeldBall());
    EXPECT_FALSE(PromptShown());
    // The drop (70 passes) and the ball's approach (27) from the level's start.
    EXPECT_GT(approach, 90);
}

TEST_F(ServeTest, AMoveAndAClickInOnePassServeTheBallAndThenSwingThePaddle)
{
    OpenLevel();
    PassUntilHeld();
    ASSERT_NE(nullptr, HeldBall());
    MoveAndClick(6);
    for (int i = 0; i < 20; ++i)
        Pass();
    EXPECT_EQ("Playing", State());
    EXPECT_EQ(nullptr, HeldBall());

    ASSERT_NE(nullptr, gLogic);
    ASSERT_FALSE(gLogic->GetPaddles().empty());
    Paddle* paddle = gLogic->GetPaddles().front();
    for (int i = 0; i < 100 && paddle->GetSwingState() != Paddle::SwingIdle; ++i)
        Pass();
    ASSERT_EQ(Paddle::SwingIdle, paddle->GetSwingState());
    MoveAndClick(-6);
    EXPECT_NE(Paddle::SwingIdle, paddle->GetSwingState());
}

TEST_F(ServeTest, APressAtAnyMomentBeforeTheBallIsHeldServesItOnceItIsThere)
{
    OpenLevel();
    const int approach = PassUntilHeld();
    ASSERT_NE(nullptr, HeldBall());

    // Every few passes from the level's start to the last pass before the ball, each moment
    // with a mouse and a keyboard press, one a tap and one held past the ball's arrival.
    std::vector<int> moments;
    for (int k = 0; k < approach; k += 9)
        moments.push_back(k);
    moments.push_back(approach - 1);
    for (std::size_t m = 0; m < moments.size(); ++m) {
        const std::vector<Input> inputs =
            m % 2 == 0 ? std::vector<Input>{Input::Click, Input::ReturnHeld}
                       : std::vector<Input>{Input::ReturnTap, Input::MouseHeld};
        for (Input input : inputs) {
            SCOPED_TRACE(std::string(Describe(input)) + " after " + std::to_string(moments[m]) +
                         " passes");
            OpenLevel();
            for (int i = 0; i < moments[m]; ++i)
                Pass();
            ASSERT_EQ(nullptr, HeldBall());
            Press(input);
            // The ball comes, and is served at once: play starts on the pass it appears.
            std::vector<std::string> states;
            for (int i = 0; i < approach - moments[m] + 3; ++i) {
                Pass();
                if (states.empty() || states.back() != State())
                    states.push_back(State());
            }
            Release(input);
            for (int i = 0; i < 20; ++i)
                Pass();
            EXPECT_EQ("Playing", State());
            ASSERT_FALSE(states.empty());
            EXPECT_EQ("Playing", states.back());
            EXPECT_EQ(1, std::count(states.begin(), states.end(), "Playing"));
            // Served once: the one ball flies.
            EXPECT_EQ(nullptr, HeldBall());
            ASSERT_NE(nullptr, gLogic);
            EXPECT_EQ(1u, gLogic->GetBalls().GetMembers().size());
            EXPECT_FALSE(PromptShown());
            EXPECT_EQ("", earlyPrompt);
        }
    }
}
