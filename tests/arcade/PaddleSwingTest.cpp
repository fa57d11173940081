// The paddle's swing machine: serves, swings and whacks driven by the button, the power
// they build, the width steps, and the laser switch leaving the swing where it belongs.
#include "PaddleScene.h"

#include "sound/Sound.h"

#include <cmath>

using namespace fieldtest;

namespace {

class PaddleSwingTest : public PaddleTest
{
};

// The last play of a sound in the log; null when it never played.
const bbtest::SoundLog::Play* LastPlay(const bbtest::SoundLog& log, const std::string& name)
{
    const bbtest::SoundLog::Play* last = nullptr;
    for (const auto& play : log.Plays())
        if (play.name == name)
            last = &play;
    return last;
}

} // namespace

TEST_F(PaddleSwingTest, AServeChargesLaunchesTheHeldBallAndBlocksCatchingBriefly)
{
    PaddleProbe* paddle = AddPaddle();
    paddle->SetCatch(true);
    Ball* ball = AddBall(332, 392, 0, 0);
    ball->AttachToPaddle(paddle, true);
    ASSERT_EQ(1u, paddle->GetHeldBalls().GetMembers().size());

    paddle->Press();
    EXPECT_EQ(Paddle::ServePullBack, paddle->GetSwingState());
    EXPECT_EQ(1, sounds.Count("paddleChargeUpStart.ogg"));
    EXPECT_EQ(1, sounds.Count("paddleChargeUpLoop.ogg"));

    // 0.5 px per tick back to 20 px.
    passes.Step(39);
    EXPECT_EQ(Paddle::ServePullBack, paddle->GetSwingState());
    passes.Step();
    EXPECT_EQ(Paddle::ServeCharge, paddle->GetSwingState());
    EXPECT_NEAR(20.0, paddle->GetSwingOffset(), 0.6);
    passes.Step(5);
    const double charge = paddle->GetCharge();
    EXPECT_NEAR(0.25, charge, 1e-9);

    sounds.Clear();
    paddle->Release();
    EXPECT_EQ(Paddle::ServeStroke, paddle->GetSwingState());
    const auto* whack = LastPlay(sounds, "paddleWhack.ogg");
    ASSERT_NE(nullptr, whack);
    EXPECT_EQ(int(std::min(30 * (0.5 + charge), 100.0)), whack->volume);
    EXPECT_EQ((std::vector<std::string>{"serve.check"}), logic.prompts);

    // The stroke launches when it has come 7 px past the rest line, not before.
    int ticks = 0;
    while (sounds.Count("paddleLaunch.ogg") == 0 && ticks++ < 40) {
        EXPECT_GT(paddle->GetSwingOffset(), -7.0);
        passes.Step();
    }
    ASSERT_EQ(1, sounds.Count("paddleLaunch.ogg"));
    EXPECT_LE(paddle->GetSwingOffset(), -7.0);
    EXPECT_EQ(Paddle::ServeFollowThrough, paddle->GetSwingState());
    EXPECT_TRUE(paddle->GetHeldBalls().IsEmpty());
    EXPECT_EQ(nullptr, ball->GetPaddle());
    // The cooldown counts down from 6 (one tick of it went with the launch's own tick).
    EXPECT_EQ(5, paddle->GetCatchCooldown());
    passes.Step(5);
    EXPECT_EQ(0, paddle->GetCatchCooldown());
}

TEST_F(PaddleSwingTest, ButtonTracesRunThroughEveryState)
{
    PaddleProbe* paddle = AddPaddle();
    struct Case
    {
        const char* steps;
        std::vector<int> states;
    };
    const Case cases[] = {
        // A tap: swing, follow-through, return, idle.
        {"PR3", {0, 5, 6, 7, 0}},
        // Held through the return: power delay, draw back, charge; the release whacks.
        {"P9R4", {0, 5, 6, 7, 8, 9, 10, 11, 12, 13, 0}},
        // Released during the power delay: idle at once.
        {"P1R.", {0, 5, 6, 7, 8, 0}},
        // A second press during the stroke keeps the button down: the return ends in the
        // power delay.
        {"PR.P1", {0, 5, 6, 7, 8}},
        // A press during the whack stroke turns it into a swing stroke.
        {"P7R.P", {0, 5, 6, 7, 8, 9, 10, 11, 5}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(c.states, Trace(paddle, c.steps)) << c.steps;
        // Back to rest between cases.
        paddle->Release();
        passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingIdle; }, 200);
        ASSERT_EQ(Paddle::SwingIdle, paddle->GetSwingState()) << c.steps;
        sounds.Clear();
    }

    // A press with a ball held serves, whatever the state.
    Ball* ball = AddBall(332, 392, 0, 0);
    ball->AttachToPaddle(paddle, true);
    EXPECT_EQ((std::vector<int>{0, 1, 2, 3, 4, 7, 0}), Trace(paddle, "P5R5"));

    // Without a power delay the return goes straight to draw back.
    paddle->m_Swing.powerDelay = 0;
    EXPECT_EQ((std::vector<int>{0, 5, 6, 7, 9}), Trace(paddle, "P2"));
    EXPECT_NEAR(-paddle->m_Swing.pullRate, paddle->GetSwingSpeed(), 1e-6);
}

TEST_F(PaddleSwingTest, PowerGrowsDuringStrokesAndDoublesOnlyAtTheSweetSpot)
{
    PaddleProbe* paddle = AddPaddle();
    paddle->Press();
    EXPECT_DOUBLE_EQ(0.5, paddle->GetPower()); // base 0 + the swing's energy gain
    std::vector<double> powers;
    std::vector<bool> sweet;
    for (int i = 0; i < 6; ++i) {
        passes.Step();
        powers.push_back(paddle->GetPower());
        sweet.push_back(paddle->IsSweetSpotHit());
    }
    // One tick of stroke (+0.5, 3 px travelled), then the sweet spot (9 px) doubles the
    // power for one tick, then the follow-through loses 1 per tick down to the base.
    EXPECT_EQ((std::vector<double>{1.0, 2.0, 0.0, 0.0, 0.0, 0.0}), powers);
    EXPECT_EQ((std::vector<bool>{false, true, false, false, false, false}), sweet);

    // The whack's sweet spot is the rest line itself.
    paddle->Press();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::WhackCharge; }, 200);
    paddle->Release();
    passes.StepUntil([&] { return paddle->IsSweetSpotHit(); }, 50);
    ASSERT_TRUE(paddle->IsSweetSpotHit());
    EXPECT_EQ(Paddle::WhackFollowThrough, paddle->GetSwingState());
    EXPECT_LE(paddle->GetSwingOffset(), 0.0);
    EXPECT_GT(paddle->GetSwingOffset(), -paddle->m_Swing.whackAcceleration * 4);
    EXPECT_DOUBLE_EQ(2 * paddle->GetRawPower(), paddle->GetPower());

    // AddPower raises the level the paddle returns to and shows it at both ends.
    paddle->AddPower(2.0);
    EXPECT_DOUBLE_EQ(2.0, paddle->GetBasePower());
    EXPECT_EQ(2u, logic.emitters.GetMembers().size());
}

TEST_F(PaddleSwingTest, TheWidthStepsTwoPixelsPerTickAndSizesStayInTheTable)
{
    PaddleProbe* paddle = AddPaddle();
    ASSERT_EQ(64, paddle->GetWidth());
    const int centre = paddle->GetX() + 32;
    paddle->Expand();
    std::vector<int> widths;
    for (int i = 0; i < 13; ++i) {
        passes.Step();
        widths.push_back(paddle->GetWidth());
    }
    EXPECT_EQ((std::vector<int>{66, 68, 70, 72, 74, 76, 78, 80, 82, 84, 86, 88, 88}), widths);
    EXPECT_NEAR(centre, paddle->GetX() + paddle->GetWidth() / 2, 1);
    EXPECT_NEAR(88.0, paddle->GetShapeWidth(), 1e-9);

    for (int i = 0; i < 4; ++i)
        paddle->Expand();
    EXPECT_EQ(6, paddle->GetSizeIndex());
    EXPECT_EQ(160.0, paddle->GetTargetWidth());
    for (int i = 0; i < 9; ++i)
        paddle->Contract();
    EXPECT_EQ(0, paddle->GetSizeIndex());
    EXPECT_EQ(32.0, paddle->GetTargetWidth());

    // The size property takes effect at once; values outside the table are clamped.
    for (const auto& [size, width] : {std::pair{5, 128}, {9, 160}, {-3, 32}}) {
        paddle->ApplyIntProperty("paddleSize", size);
        EXPECT_EQ(width, paddle->GetWidth()) << size;
        EXPECT_EQ(width, paddle->GetTargetWidth()) << size;
    }
}

TEST_F(PaddleSwingTest, SwitchingTheLaserReturnsTheSwingFromWhereItIs)
{
    PaddleProbe* paddle = AddPaddle();
    // At rest nothing moves.
    paddle->SetLaser(true);
    EXPECT_EQ(Paddle::SwingIdle, paddle->GetSwingState());
    passes.Step(3);
    EXPECT_EQ(Paddle::SwingIdle, paddle->GetSwingState());
    EXPECT_NEAR(0.0, paddle->GetSwingOffset(), 1e-6);
    paddle->SetLaser(false);

    // Pulled back in the draw back, it strokes forwards at the return rate.
    paddle->Press();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::DrawBack; }, 100);
    passes.Step(4);
    ASSERT_GT(paddle->GetSwingOffset(), 0.0);
    paddle->SetLaser(true);
    EXPECT_EQ(Paddle::WhackStroke, paddle->GetSwingState());
    EXPECT_DOUBLE_EQ(paddle->m_Swing.returnRate, paddle->GetSwingSpeed());
    paddle->SetLaser(false);
    paddle->Release();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingIdle; }, 100);

    // Pushed forwards in the follow-through, it returns.
    paddle->Press();
    paddle->Release();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingFollowThrough; }, 20);
    ASSERT_LT(paddle->GetSwingOffset(), 0.0);
    paddle->SetLaser(true);
    EXPECT_EQ(Paddle::SwingReturn, paddle->GetSwingState());
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingIdle; }, 20);
    EXPECT_EQ(Paddle::SwingIdle, paddle->GetSwingState());
}

TEST_F(PaddleSwingTest, LootPhrasesAreTakenAtRandomUntilTheBagIsEmpty)
{
    PaddleProbe* paddle = AddPaddle();
    for (const char* loot : {"BlingCoin", "BlingRuby", "BlingDiamond"})
        paddle->AddPhrase(loot);
    std::vector<std::string> taken;
    for (int i = 0; i < 4; ++i)
        taken.push_back(paddle->TakeRandomPhrase());
    EXPECT_EQ("", taken.back());
    taken.pop_back();
    std::sort(taken.begin(), taken.end());
    EXPECT_EQ((std::vector<std::string>{"BlingCoin", "BlingDiamond", "BlingRuby"}), taken);
}
