// The captions that end a stretch of play: each waits, shows its caption with its sound,
// holds it and tells its receiver it has finished; it runs once, and its timer dies with it.
#include "FieldScene.h"

#include "scene/ArcadeEventHandler.h"
#include "screens/AllBallsLostAnimation.h"
#include "screens/GameOverAnimation.h"
#include "screens/LevelCompleteAnimation.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <vector>

using namespace fieldtest;

namespace {

// Records the play-field events it is sent.
struct EndListener : EventReceiver
{
    bool OnEvent(const Event& event) override
    {
        if (event.type == ARCADE_ANIMFINISH)
            finished.push_back(EventData1(event));
        return true;
    }
    std::vector<void*> finished;
};

class EndOfPlayAnimationTest : public FieldTest
{
};

TEST_F(EndOfPlayAnimationTest, ACaptionWaitsShowsWithItsSoundHoldsAndThenReportsItsEnd)
{
    EndListener listener;
    auto* animation = new AllBallsLostAnimation("Paddle Destroyed!", &listener);
    root->AddChild(animation, "");
    EXPECT_EQ(animation->GetStateName(), "IdleScene");
    animation->Start();
    passes.Step(9); // 288 ms of the 300 ms wait
    EXPECT_EQ(animation->GetCaption(), nullptr);
    passes.Step(1);
    ASSERT_NE(animation->GetCaption(), nullptr);
    EXPECT_EQ(animation->GetCaption()->GetText(), "Paddle Destroyed!"); // not the template's
    EXPECT_EQ(sounds.Count("attention4.ogg"), 1);
    // The 1000 ms hold (32 passes of 32 ms), and the pass that delivers the posted end.
    const int held = passes.StepUntil([&] { return !listener.finished.empty(); }, 40);
    EXPECT_GE(held, 31);
    EXPECT_LE(held, 34);
    ASSERT_EQ(listener.finished.size(), 1u);
    EXPECT_EQ(listener.finished[0], static_cast<void*>(animation));
    EXPECT_EQ(animation->GetStateName(), "SecondScene");
    EXPECT_NE(animation->GetCaption(), nullptr); // the caption stays until the owner goes on

    // Used once: a second start, or a stop before any start, is refused by name.
    EXPECT_THROW(
        {
            try {
                animation->Start();
            } catch (const Exception& e) {
                EXPECT_NE(std::string(e.what()).find("Animation has already been started."),
                          std::string::npos);
                throw;
            }
        },
        Exception);
    LevelCompleteAnimation idle(nullptr);
    EXPECT_THROW(idle.Stop(), Exception);
}

TEST_F(EndOfPlayAnimationTest, EachKindHasItsTimingTextAndSoundAndItsTimerDiesWithIt)
{
    EndListener listener;
    auto* won = new LevelCompleteAnimation(&listener);
    auto* over = new GameOverAnimation("Game Over", &listener);
    root->AddChild(won, "");
    root->AddChild(over, "");
    won->Start();
    over->Start();
    passes.Step(10);
    ASSERT_NE(over->GetCaption(), nullptr);
    EXPECT_EQ(over->GetCaption()->GetText(), "Game Over");
    EXPECT_EQ(won->GetCaption(), nullptr); // the won level's caption waits 500 ms
    passes.Step(6);
    ASSERT_NE(won->GetCaption(), nullptr);
    EXPECT_EQ(won->GetCaption()->GetText(), "Mission Complete!");
    EXPECT_EQ(sounds.Count("attention1.ogg"), 1);
    EXPECT_EQ(sounds.Count("attention3.ogg"), 1);

    // An animation ended early takes its pending timer with it.
    const int live = passes.Timers().CountLiveTimers();
    auto* early = new AllBallsLostAnimation("Ball Lost", &listener);
    root->AddChild(early, "");
    early->Start();
    EXPECT_EQ(passes.Timers().CountLiveTimers(), live + 1);
    early->Kill();
    passes.Step(1);
    EXPECT_EQ(passes.Timers().CountLiveTimers(), live);
}

} // namespace
