// Balls: speed, energy and size arithmetic, the count-down after a pause, paddle holding,
// splitting and script properties.
#include "BallFixture.h"

#include "core/Log.h"
#include "core/Random.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "support/engine/FieldWorld.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fieldtest;

TEST_F(BallTest, AddSpeedStaysBetweenTheLimitsTheEnergyAllows)
{
    struct Row
    {
        double start;
        int energy;
        double amount;
        bool counted;
        double speed;
        double energySpeed;
    };
    const Row rows[] = {
        {165, 0, 1000, false, 600, 0},  // energy below 1: the ordinary maximum
        {165, 1, 2000, false, 1200, 0}, // with energy: the real maximum
        {165, 0, -1000, false, 130, 0}, // never below the minimum
        {165, 0, 0, true, 165, 0},      // nothing at all for 0
        {165, 2, 100, true, 265, 100},  // counted changes are the energy's
        {590, 0, 100, true, 600, 10},   // only what was really added is counted
        {130, -3, 50, false, 180, 0},   // negative energy: the ordinary maximum
    };
    for (const Row& r : rows) {
        Ball* ball = new Ball();
        SetSpeedAndEnergy(ball, r.start, r.energy);
        ball->AddSpeed(r.amount, r.counted);
        EXPECT_DOUBLE_EQ(r.speed, ball->GetSpeed()) << r.start << " + " << r.amount;
        EXPECT_DOUBLE_EQ(r.energySpeed, EnergySpeedOf(ball)) << r.start << " + " << r.amount;
        delete ball;
    }
}

TEST_F(BallTest, EnergyLevelsRiseFallAndCapWithTheirSpeed)
{
    // From energy -2 to 3: two levels below zero at half worth (uncounted), three counted.
    Ball* ball = new Ball();
    SetSpeedAndEnergy(ball, 200, -2);
    ball->RaiseSpeedLevel(3);
    EXPECT_EQ(3, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(200 + 40 + 120, ball->GetSpeed());
    EXPECT_DOUBLE_EQ(120, EnergySpeedOf(ball));
    // A lower level never lowers.
    ball->RaiseSpeedLevel(1);
    EXPECT_EQ(3, ball->GetEnergy());
    // Lowering by 4 takes the three counted levels and one more at half worth.
    ball->LowerSpeedLevel(4);
    EXPECT_EQ(-1, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(200 + 40 - 20, ball->GetSpeed());
    EXPECT_DOUBLE_EQ(0, EnergySpeedOf(ball));
    delete ball;

    // Breakthru only lifts a negative energy to zero.
    ball = new Ball();
    ball->SetCorona("Breakthru");
    SetSpeedAndEnergy(ball, 200, -2);
    ball->RaiseSpeedLevel(5);
    EXPECT_EQ(0, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(240, ball->GetSpeed());
    delete ball;

    // Capping: 5 -> 3, 1 -> 0, -1 stays.
    const int caps[][2] = {{5, 3}, {1, 0}, {-1, -1}};
    for (const auto& c : caps) {
        ball = new Ball();
        SetSpeedAndEnergy(ball, 200, c[0]);
        ball->CapSpeedLevel(2);
        EXPECT_EQ(c[1], ball->GetEnergy()) << "from " << c[0];
        delete ball;
    }
}

TEST_F(BallTest, StrengthAndDensityFollowSizeAndSubstance)
{
    const int normal[] = {1, 1, 1, 2, 2, 3, 3};
    const int lead[] = {2, 2, 2, 3, 3, 5, 5};
    const int air[] = {1, 1, 1, 1, 1, 2, 3};
    for (int size = 0; size < 7; ++size) {
        Ball* ball = new Ball();
        ball->SetSize(BallRadii[size], BallRadii[size], size);
        EXPECT_EQ(normal[size], ball->GetBaseStrength()) << "size " << size;
        EXPECT_DOUBLE_EQ(BallRadii[size] / 8, ball->GetDensity());
        ball->SetSubstance("Lead", false);
        EXPECT_EQ(lead[size], ball->GetBaseStrength()) << "lead size " << size;
        EXPECT_DOUBLE_EQ(BallRadii[size] / 4, ball->GetDensity());
        ball->SetSubstance("Air", false);
        EXPECT_EQ(air[size], ball->GetBaseStrength()) << "air size " << size;
        delete ball;
    }
    // A lead ball of size 5 hits with 5 plus its energy.
    Ball* ball = new Ball();
    ball->SetSize(24, 24, 5);
    ball->SetSubstance("Lead", false);
    ball->RaiseSpeedLevel(2);
    EXPECT_EQ(7, ball->GetHitStrength());
    delete ball;

    // A normal-sized air ball hits with 1 about 35 times in 100, else with 0.
    MakoSrand(11);
    ball = new Ball();
    ball->SetSubstance("Air", false);
    int ones = 0;
    for (int i = 0; i < 2000; ++i) {
        const int s = ball->GetHitStrength();
        ASSERT_TRUE(s == 0 || s == 1);
        ones += s;
    }
    EXPECT_NEAR(0.35, ones / 2000.0, 0.04);
    delete ball;
}

TEST_F(BallTest, ASizeOutsideTheTableIsClampedAndLogged)
{
    Ball* ball = new Ball();
    ball->ApplyProperties(bbtest::EvalLua("{size = 9}"));
    EXPECT_EQ(6, ball->GetSizeIndex());
    EXPECT_DOUBLE_EQ(32, ball->GetRadius());
    ball->ApplyProperties(bbtest::EvalLua("{size = -3}"));
    EXPECT_EQ(0, ball->GetSizeIndex());
    EXPECT_DOUBLE_EQ(4, ball->GetRadius());
    ball->SetSize(8, 8, 12);
    EXPECT_EQ(6, ball->GetSizeIndex());
    delete ball;
}
