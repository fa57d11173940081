// Laser beams fired by paddles at the field's edges: they start at the paddle's centre, run
// towards the field cut to the play area with their picture stretched to fit, follow the
// paddle along its slide axis only, ignore what they hit, and stay put once the paddle dies.
#include "FieldScene.h"

#include "display/Image.h"
#include "physics/PhysicsGeom.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {

class LaserBeamTest : public FieldTest
{
protected:

    // A paddle whose actor has the given rectangle (vertical paddles keep the horizontal
    // layout: width is their length).
    Paddle* MakePaddle(bool vertical, bool facePositive, int x, int y)
    {
        Paddle* paddle = new Paddle(vertical, facePositive);
        paddle->SetPosition(x, y);
        paddle->SetSize(80, 16);
        root->AddChild(paddle, "");
        return paddle;
    }

    LaserBeam* Fire(Paddle* paddle)
    {
        LaserBeam* beam = new LaserBeam(paddle);
        logic.AddLaserBeam(beam);
        return beam;
    }

    static SDL_Rect RectOf(const Actor* a)
    {
        return MakeRect(a->GetX(), a->GetY(), a->GetWidth(), a->GetHeight());
    }
    static std::string Describe(const SDL_Rect& r)
    {
        return std::to_string(r.x) + "," + std::to_string(r.y) + " " + std::to_string(r.w) + "x" +
               std::to_string(r.h);
    }
};

} // namespace

TEST_F(LaserBeamTest, ABottomPaddlesBeamRunsUpToTheTopEdgeAndFollowsThePaddleSideways)
{
    Paddle* paddle = MakePaddle(false, false, 280, 440); // centre (320, 448)
    LaserBeam* beam = Fire(paddle);
    EXPECT_EQ("316,36 8x412", Describe(RectOf(beam)));
    ASSERT_NE(nullptr, beam->GetImage());
    EXPECT_EQ(8, beam->GetImage()->GetFrameSize().x);
    EXPECT_NEAR(412, beam->GetImage()->GetFrameSize().y, 1);
    EXPECT_EQ(256u, beam->GetCategoryBits());
    EXPECT_EQ(10u, beam->GetCollideBits());
    EXPECT_NEAR(320.0, beam->GetGeom()->GetCenter().x, 0.5);
    EXPECT_NEAR(242.0, beam->GetGeom()->GetCenter().y, 0.5);

    for (int x : {300, 360, 420}) {
        paddle->SetPosition(x, 440);
        passes.Step();
        EXPECT_EQ(x + 36, beam->GetX());
        EXPECT_EQ(36, beam->GetY()) << "the beam moved along its length";
        EXPECT_NEAR(x + 40.0, beam->GetGeom()->GetCenter().x, 0.5);
    }

    // The paddle dies: the beam forgets it and stays where it is.
    paddle->Kill();
    passes.Step(2);
    EXPECT_EQ(nullptr, beam->GetPaddle());
    EXPECT_EQ("456,36 8x412", Describe(RectOf(beam)));
}

TEST_F(LaserBeamTest, VerticalPaddlesFireAcrossTheFieldCutAtTheFarWall)
{
    // A left paddle facing right, centre (20, 240): the beam turns and runs right.
    Paddle* left = MakePaddle(true, true, -20, 232);
    LaserBeam* across = Fire(left);
    EXPECT_EQ("20,236 604x8", Describe(RectOf(across)));
    ASSERT_NE(nullptr, across->GetImage());
    EXPECT_NEAR(604, across->GetImage()->GetFrameSize().x, 1);
    EXPECT_EQ(8, across->GetImage()->GetFrameSize().y);
    left->SetPosition(-20, 300);
    passes.Step();
    EXPECT_EQ("20,304 604x8", Describe(RectOf(across)));

    // A right paddle facing left, centre (620, 100): cut at the left wall.
    Paddle* right = MakePaddle(true, false, 580, 92);
    LaserBeam* back = Fire(right);
    EXPECT_EQ("16,96 604x8", Describe(RectOf(back)));
    // A top paddle facing down, centre (200, 40): cut at the bottom of the play area.
    Paddle* top = MakePaddle(false, true, 160, 32);
    LaserBeam* down = Fire(top);
    EXPECT_EQ("196,40 8x445", Describe(RectOf(down)));
}

TEST_F(LaserBeamTest, WhatTheBeamHitsChangesNothingInIt)
{
    Paddle* paddle = MakePaddle(false, false, 280, 440);
    LaserBeam* beam = Fire(paddle);
    static int hits;
    hits = 0;
    beam->AddHitCallback([](ArcadeGameLogic*, ArcadeStructure*, double, double, double, double,
                            double, void*) { ++hits; },
                         nullptr);
    // A brick-like box flying into the beam from the side.
    ArcadeStructure* brick = MakeBox(250, 200, 32, 16);
    brick->SetCategoryBits(2);
    brick->SetMovable(true);
    root->Place(brick)->GetPhysicsBody()->SetLinearVel(400, 0);
    bool touched = false;
    for (int i = 0; i < 8; ++i) {
        passes.Step();
        touched = touched || brick->GetX() + 32 >= 316;
        EXPECT_EQ("316,36 8x412", Describe(RectOf(beam))) << "pass " << i;
    }
    EXPECT_TRUE(touched);
    EXPECT_EQ(0, hits);
}
