// The field mechanics that the levels of the mountains, the capital and the ice are built
// around, seen working in play on the levels themselves: the terraces slide down to meet
// the player and stop, the lake ice creeps down and runs aground, a geyser vent throws a
// caught ball back up clear of itself, and the fjord's snow and rock fall as snowballs
// and boulders.
#include "GameFixture.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "logic/Level.h"
#include "logic/LevelManager.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

using gametest::GameFixture;

namespace {

class LandLevelsTest : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    // Starts the level and serves, keeping the ball on the paddle: the level is in play
    // and nothing but the level itself moves the bricks. No test here looks at pixels, so
    // the passes do not draw.
    void StartPlaying(const std::string& name)
    {
        passes.SetDrawing(false);
        MakoSrand(7);
        NewGame("{gameType = 'Levels', levelName = '" + name + "', ballsLeft = 9}");
        logic->StartGame();
        ASSERT_NE(logic->GetLevel(), nullptr) << name;
        StepUntilState("WaitForSpawn");
        passes.Step(27);
        Click(true);
        ASSERT_EQ("Playing", State()) << name;
    }

    std::vector<Brick*> Bricks()
    {
        std::vector<Brick*> bricks;
        for (Actor* actor : logic->GetBricks().GetMembers())
            if (Brick* brick = dynamic_cast<Brick*>(actor))
                bricks.push_back(brick);
        return bricks;
    }

    // The top and the bottom of the brick field.
    int Top()
    {
        int top = 100000;
        for (Brick* brick : Bricks())
            top = std::min(top, brick->GetY());
        return top;
    }
    int Bottom()
    {
        int bottom = -100000;
        for (Brick* brick : Bricks())
            bottom = std::max(bottom, brick->GetY() + brick->GetHeight());
        return bottom;
    }

    int CountGoobersDrawnAs(const std::string& image)
    {
        int n = 0;
        for (Actor* goober : logic->GetGoobers().GetMembers())
            n += goober->GetImageName() == image ? 1 : 0;
        return n;
    }

    LevelManager m_Manager;
};

TEST_F(LandLevelsTest, TheTerracesSlideDownWholeStepsToMeetThePlayerAndThenHold)
{
    ASSERT_NO_FATAL_FAILURE(StartPlaying("Terraces"));
    const int top = Top();
    const int count = int(Bricks().size());
    passes.Step(600);
    const int settled = Top();
    EXPECT_GT(settled, top);
    EXPECT_EQ(0, (settled - top) % 16) << "the hill moves in whole rows";
    EXPECT_EQ(count, int(Bricks().size())) << "no brick is lost on the way down";
    EXPECT_LT(Bottom(), 300) << "the slope stops well above the paddle";
    passes.Step(300);
    EXPECT_EQ(settled, Top()) << "with nothing cleared the hill stays put";
}

TEST_F(LandLevelsTest, TheLakeIceCreepsSlowlyAndRunsAgroundAboveThePaddle)
{
    ASSERT_NO_FATAL_FAILURE(StartPlaying("ThinIce"));
    const int top = Top();
    passes.Step(250);
    const int early = Top();
    EXPECT_GT(early, top) << "the ice is moving";
    EXPECT_LT(early, top + 24) << "but slowly";

    passes.Step(6000);
    const int aground = Top();
    EXPECT_GE(aground, 200);
    EXPECT_LT(Bottom(), 360) << "the sheet stops short of the paddle";
    passes.Step(200);
    EXPECT_EQ(aground, Top()) << "once aground it moves no more";
}

TEST_F(LandLevelsTest, AGeyserVentThrowsACaughtBallUpClearOfItselfAndKeepsOnDoingSo)
{
    ASSERT_NO_FATAL_FAILURE(StartPlaying("Geyser"));
    std::vector<Brick*> vents;
    for (Brick* brick : Bricks())
        if (brick->CountTrappedBalls().first > 0)
            vents.push_back(brick);
    ASSERT_EQ(3u, vents.size());
    for (Brick* vent : vents)
        EXPECT_FALSE(vent->IsNecessary()) << "the level is won without the vents";

    Brick* vent = vents.front();
    for (int round = 0; round < 3; ++round) {
        Ball* ball = new Ball(vent->GetX(), vent->GetY() + 40, 0, -150, true);
        logic->AddBall(ball);
        ASSERT_TRUE(vent->CatchBall(ball, logic)) << "round " << round;
        // Held for a second, then thrown.
        const int held = passes.StepUntil([&] { return logic->GetBalls().Contains(ball); }, 60);
        EXPECT_GE(held, 25) << "round " << round;
        ASSERT_TRUE(logic->GetBalls().Contains(ball)) << "round " << round;
        EXPECT_EQ(0, vent->CountTrappedBalls().second) << "round " << round;
        EXPECT_LT(ball->GetY() + ball->GetHeight(), vent->GetY()) << "round " << round;
        const int y = ball->GetY();
        passes.Step(2);
        EXPECT_LT(ball->GetY(), y) << "round " << round << ": the ball flies upward";
        EXPECT_TRUE(logic->GetBricks().Contains(vent))
            << "round " << round << ": a vent never wears out";
        ball->Kill();
        passes.Step(40);
    }
}

TEST_F(LandLevelsTest, TheFjordsSnowRollsDownAsSnowballsAndItsRockShedsBoulders)
{
    ASSERT_NO_FATAL_FAILURE(StartPlaying("Fjord"));
    Brick* snow = nullptr;
    std::vector<Brick*> rock; // the cliff stones with open air below them
    for (Brick* brick : Bricks()) {
        if (brick->GetMaterial() == "Snow" && !snow)
            snow = brick;
        if (brick->GetMaterial() != "Stone" || !brick->IsNecessary())
            continue;
        bool open = true;
        for (Brick* other : Bricks())
            open = open && !(other->GetX() == brick->GetX() && other->GetY() == brick->GetY() + 16);
        if (open)
            rock.push_back(brick);
    }
    ASSERT_NE(nullptr, snow);
    ASSERT_GE(rock.size(), 4u);

    snow->Destroy(nullptr, logic, snow->GetX() + 16, snow->GetY() + 8, true);
    passes.Step(2);
    EXPECT_EQ(1, CountGoobersDrawnAs("Goober.Snowball.png"));

    // The stones shed boulders on some of the hits they take.
    int boulders = 0;
    for (Brick* stone : rock)
        for (int i = 0; i < 3 && logic->GetBricks().Contains(stone); ++i) {
            Ball* ball = new Ball(stone->GetX() + 8, stone->GetY() + 20, 0, -200, true);
            logic->AddBall(ball);
            passes.Step(6);
            boulders = std::max(boulders, CountGoobersDrawnAs("Goober.Boulder.png"));
            if (logic->GetBalls().Contains(ball))
                ball->Kill();
            passes.Step(1);
        }
    EXPECT_GT(boulders, 0);
}

} // namespace
