// Shields of the game's own tables: raised level by level to six and no further, drawn as
// bands with the highest level nearest the field (mitred where asked), solid only while
// they have a level, and lowered together, once per tick, by a ball that strikes one.
#include "FieldScene.h"

#include "field/Shield.h"
#include "physics/PhysicsGeom.h"
#include "resources/ResourceManager.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

using namespace fieldtest;

namespace {

class ShieldTest : public FieldTest
{
protected:
    Shield* PlaceShield(const std::string& side, int level)
    {
        Shield* shield = root->Place(new Shield(side));
        shield->SetShieldLevel(level);
        logic.shields.push_back(shield);
        return shield;
    }

    Ball* FreeBall(double x, double y, double vx, double vy)
    {
        Ball* ball = new Ball(x, y, vx, vy, true);
        logic.AddBall(ball);
        ball->GetPhysicsBody()->SetLinearVel(vx, vy);
        return ball;
    }

    // The strongest channel of a canvas pixel: 'r', 'g', 'b', or 0 where nothing is drawn
    // (blits keep the cleared canvas's alpha, so only the colour tells).
    char Hue(int x, int y) const
    {
        const std::uint32_t p = passes.Pixel(x, y);
        const int r = (p >> 16) & 255, g = (p >> 8) & 255, b = p & 255;
        if (r == 0 && g == 0 && b == 0)
            return 0;
        return r >= g && r >= b ? 'r' : g >= b ? 'g' : 'b';
    }
};

} // namespace

TEST_F(ShieldTest, SixRaisesReachTheTopLevelWithTheRedBandNearestTheField)
{
    Shield* shield = PlaceShield("Bottom", 0);
    EXPECT_EQ(8, shield->GetZOrder());
    EXPECT_EQ(16, shield->GetX());
    EXPECT_EQ(452, shield->GetY());
    EXPECT_FALSE(shield->GetGeom()->IsEnabled()) << "a shield without a level collides";
    passes.Step();
    EXPECT_EQ(0, Hue(320, 452)) << "a shield without a level is drawn";

    for (int i = 0; i < 6; ++i)
        shield->IncreaseLevel();
    EXPECT_EQ(6, shield->GetLevel());
    EXPECT_EQ(6, sounds.Count("shield_added.ogg"));
    EXPECT_TRUE(shield->GetGeom()->IsEnabled());
    shield->IncreaseLevel();
    EXPECT_EQ(6, shield->GetLevel());
    EXPECT_EQ(6, sounds.Count("shield_added.ogg"));

    passes.Step();
    EXPECT_EQ('r', Hue(320, 452));             // level 6, innermost
    EXPECT_EQ('g', Hue(320, 452 + 3 * 3 + 1)); // level 3
    EXPECT_EQ('b', Hue(320, 452 + 3 * 5 + 1)); // level 1, outermost
    EXPECT_EQ(0, Hue(320, 452 + 3 * 6));

    EXPECT_EQ("Shield level 7 is out of range; a shield has levels 0 to 6.",
              bbtest::MessageOf([&] { shield->SetShieldLevel(7); }));
    EXPECT_EQ(6, shield->GetLevel());
    shield->Clear();
    EXPECT_FALSE(shield->GetGeom()->IsEnabled());
    passes.Step();
    EXPECT_EQ(0, Hue(320, 452));
}

TEST_F(ShieldTest, BandsShortenAtFlaggedCornersAndMitreOutward)
{
    Shield* bottom = PlaceShield("Bottom", 2);
    bottom->SetCornerStart(true);
    Shield* left = PlaceShield("Left", 2);
    left->SetCornerEnd(true);
    passes.Step();
    // Innermost band (level 2) from 11 pixels in; the next one a thickness earlier.
    EXPECT_EQ(0, Hue(16 + 10, 453));
    EXPECT_NE(0, Hue(16 + 11, 453));
    EXPECT_EQ(0, Hue(16 + 7, 456));
    EXPECT_NE(0, Hue(16 + 8, 456));
    // Upright bands on the left, stacked leftwards, 11 pixels short at their end.
    EXPECT_NE(0, Hue(28, 56 + 380 - 12));
    EXPECT_EQ(0, Hue(28, 56 + 380 - 11));
    EXPECT_NE(0, Hue(25, 56 + 380 - 9));
    EXPECT_EQ(0, Hue(25, 56 + 380 - 8));
}

TEST_F(ShieldTest, ABallTouchingOverSeveralSubStepsLowersEveryRaisedShieldOnce)
{
    Shield* bottom = PlaceShield("Bottom", 3);
    Shield* top = PlaceShield("Top", 3);
    Shield* empty = PlaceShield("Left", 0);
    // Already sunk into the band and pressing on: it touches the shield sub-step after
    // sub-step within the tick.
    Ball* ball = FreeBall(320, 448, 0, 200);
    passes.Step();
    EXPECT_EQ(2, bottom->GetLevel());
    EXPECT_EQ(2, top->GetLevel());
    EXPECT_EQ(0, empty->GetLevel());
    EXPECT_EQ(1, sounds.Count("shield_hit.ogg"));
    ASSERT_EQ(1u, logic.emitters.GetMembers().size());
    EXPECT_EQ("ShieldHitEmitter", logic.emitters.GetMembers().front()->GetName());
    EXPECT_LT(ball->GetPhysicsBody()->GetLinearVel().y, 0.0) << "the ball was not bounced";

    // A hit in a later tick lowers them again; at level 0 balls fly through.
    ball->GetPhysicsBody()->SetLinearVel(0, 200);
    passes.StepUntil([&] { return bottom->GetLevel() < 2; }, 10);
    EXPECT_EQ(1, bottom->GetLevel());
    EXPECT_EQ(1, top->GetLevel());
    bottom->SetShieldLevel(0);
    Ball* through = FreeBall(200, 430, 0, 300);
    passes.Step(4);
    EXPECT_GT(through->GetY(), 452);
    EXPECT_GT(through->GetPhysicsBody()->GetLinearVel().y, 0.0);
}
