// Walls of the game's own tables in a stepping field: lava loses free balls once (with its
// sound, splash and level-end check) and never a held one; ordinary walls knock once per
// ball and tick, panned by where the ball struck; the tables, variants and the switch
// between the ordinary and the dangerous form.
#include "FieldScene.h"

#include "field/Wall.h"
#include "physics/PhysicsGeom.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <set>

using namespace fieldtest;

namespace {

class WallTest : public FieldTest
{
protected:

    // The wall of that table in the field, switched to its dangerous form when asked.
    Wall* PlaceWall(const std::string& name, bool dangerous)
    {
        Wall* wall = new Wall(name);
        if (dangerous)
            wall->SetDangerous(true);
        return root->Place(wall);
    }

    // A free ball centred on (x, y) in the field, moving with (vx, vy).
    Ball* FreeBall(double x, double y, double vx, double vy, bool active)
    {
        Ball* ball = new Ball(x, y, vx, vy, active);
        logic.AddBall(ball);
        ball->GetPhysicsBody()->SetLinearVel(vx, vy);
        return ball;
    }

    int EmittersNamed(const std::string& name) const
    {
        int n = 0;
        for (Actor* emitter : logic.emitters.GetMembers())
            n += emitter->GetName() == name;
        return n;
    }

    std::vector<int> PansOf(const std::string& sound) const
    {
        std::vector<int> pans;
        for (const auto& play : sounds.Plays())
            if (play.name == sound)
                pans.push_back(play.pan);
        return pans;
    }
};

} // namespace

TEST_F(WallTest, LavaLosesAFreeBallExactlyOnceAndNeverAHeldOne)
{
    PlaceWall("BottomWall", true);
    ActorLink<Ball> ball;
    ball.Set(FreeBall(320, 470, 0, 300, true));
    const int n = passes.StepUntil([&] { return !ball; }, 10);
    ASSERT_LT(n, 10) << "the ball never reached the lava";
    passes.Step(3);

    EXPECT_EQ(std::vector<int>{0}, PansOf("lostBall.ogg"));
    EXPECT_EQ(1, EmittersNamed("LavaSplashEmitter"));
    EXPECT_GT(logic.particles->GetChildren().size(), 0u) << "the splash sprayed nothing";
    EXPECT_EQ(1, logic.hitCounterResets);
    ASSERT_EQ(1u, logic.checks.size());
    EXPECT_NEAR(320.0, logic.checks[0].first, 1.0);
    EXPECT_NEAR(485.0, logic.checks[0].second, 2.0);

    // A ball on a paddle just above the lava's edge stays, whether or not it touches it.
    Paddle* paddle = new Paddle();
    paddle->SetSize(64, 12);
    paddle->SetPosition(288, 470);
    root->AddChild(paddle, "");
    Ball* held = new Ball(320, 480, 0, 0, false);
    held->AttachToPaddle(paddle, true);
    logic.AddBall(held);
    ASSERT_EQ(paddle, held->GetPaddle());
    sounds.Clear();
    passes.Step(5);
    EXPECT_FALSE(held->IsDead());
    EXPECT_EQ(0, sounds.Count("lostBall.ogg"));
    EXPECT_EQ(1, EmittersNamed("LavaSplashEmitter"));
}

TEST_F(WallTest, WallsLetThroughWhatTheyShouldAndStopFreeBalls)
{
    Wall* lava = PlaceWall("BottomWall", true);
    Ball* free = FreeBall(100, 200, 0, 0, true);
    Paddle* paddle = new Paddle();
    root->AddChild(paddle, "");
    Ball* held = new Ball(200, 200, 0, 0, false);
    held->AttachToPaddle(paddle, true);
    EXPECT_FALSE(lava->AcceptsCollision(free, 100, 485));
    EXPECT_TRUE(lava->AcceptsCollision(held, 200, 485));
    EXPECT_TRUE(lava->AcceptsCollision(paddle, 200, 485));
    ArcadeStructure* plain = MakeBox(0, 0, 10, 10);
    EXPECT_FALSE(lava->AcceptsCollision(plain, 0, 0));
    delete plain;
    delete held;
}

TEST_F(WallTest, OrdinaryWallsKnockForActiveBallsOncePerTickPannedByTheContact)
{
    PlaceWall("TopWall", false);
    // Active balls flying straight up along the field's left wall, in the middle and along
    // its right wall, and an inactive one, which is silent.
    for (double x : {24.0, 320.0, 616.0})
        FreeBall(x, 60, 0, -400, true);
    Ball* quiet = FreeBall(160, 60, 0, -400, false);
    passes.Step(6);
    std::vector<int> pans = PansOf("bounce.ogg");
    std::sort(pans.begin(), pans.end());
    EXPECT_EQ((std::vector<int>{-92, 0, 92}), pans);
    EXPECT_GT(quiet->GetPhysicsBody()->GetLinearVel().y, 0.0) << "the wall let a free ball through";
    EXPECT_EQ(-100, Wall::PanAt(-30.0));
    EXPECT_EQ(100, Wall::PanAt(700.0));

    // A ball pressed into the wall touches it in sub-step after sub-step: one knock a tick.
    sounds.Clear();
    Ball* pressed = FreeBall(400, 40, 0, -60, true);
    for (int tick = 0; tick < 4; ++tick) {
        pressed->GetPhysicsBody()->SetLinearVel(0, -60);
        const int before = sounds.Count("bounce.ogg");
        passes.Step();
        EXPECT_LE(sounds.Count("bounce.ogg") - before, 1) << "tick " << tick;
    }
    EXPECT_GE(sounds.Count("bounce.ogg"), 1);
}

TEST_F(WallTest, WallsAreBuiltFromTheirTablesWithTheirPicturesInPlace)
{
    Wall* left = new Wall("LeftWall");
    root->AddChild(left, "");
    EXPECT_EQ(-2048, left->GetX());
    EXPECT_EQ(2064, left->GetWidth());
    EXPECT_EQ(4576, left->GetHeight());
    Actor* picture = left->GetImageChild();
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ("LeftWall.Brown.png", picture->GetImageName());
    // Its right edge on the field's left edge, centred on the screen's height.
    EXPECT_EQ(16, left->GetX() + picture->GetX() + picture->GetWidth());
    EXPECT_EQ(240, left->GetY() + picture->GetY() + picture->GetHeight() / 2);

    // The lava shows from bottomWallGive above the wall's top and bubbles in a loop.
    Wall* bottom = new Wall("BottomWall");
    root->AddChild(bottom, "");
    EXPECT_EQ(nullptr, bottom->GetImageChild());
    bottom->SetDangerous(true);
    Actor* lava = bottom->GetImageChild();
    ASSERT_NE(nullptr, lava);
    EXPECT_EQ(465, bottom->GetY() + lava->GetY());
    EXPECT_EQ(16, bottom->GetX() + lava->GetX());
    ASSERT_NE(nullptr, lava->GetAnimation());
    std::set<int> frames;
    for (int i = 0; i < 30; ++i) {
        passes.Step();
        frames.insert(lava->GetFrame());
    }
    EXPECT_GE(frames.size(), 4u);
}

TEST_F(WallTest, VariantsPickPicturesOnlyOfOrdinaryWallsAndSurviveADangerousSpell)
{
    Wall* left = new Wall("LeftWall");
    root->AddChild(left, "");
    left->ApplyStringProperty("variant", "Ice");
    EXPECT_EQ("LeftWall.Ice.png", left->GetImageChild()->GetImageName());
    left->ApplyStringProperty("variant", "");
    EXPECT_EQ("LeftWall.png", left->GetImageChild()->GetImageName());
    left->ApplyStringProperty("variant", "Velvet"); // no such picture
    EXPECT_EQ("LeftWall.png", left->GetImageChild()->GetImageName());
    EXPECT_EQ(".Velvet", left->GetVariant());

    left->ApplyStringProperty("variant", "Ice");
    left->ApplyBoolProperty("dangerous", true);
    EXPECT_EQ(nullptr, left->GetImageChild());
    EXPECT_EQ("LeftWallDangerous", left->GetName());
    EXPECT_EQ(Palette::DarkRed, left->GetColor());
    EXPECT_STREQ("DangerousWall", left->GetBehaviourAlias());
    left->ApplyStringProperty("variant", "Brown"); // a dangerous wall shows none
    EXPECT_EQ(nullptr, left->GetImageChild());
    left->ApplyStringProperty("variant", "Ice");
    left->ApplyBoolProperty("dangerous", false);
    ASSERT_NE(nullptr, left->GetImageChild());
    EXPECT_EQ("LeftWall.Ice.png", left->GetImageChild()->GetImageName());
    EXPECT_EQ(nullptr, left->GetBehaviourAlias());
    EXPECT_EQ(0u, left->GetDrawMode() & DRAWMODE_COLORFILL);
}

TEST_F(WallTest, TheWallNamePicksTheTablesOfTheCurrentForm)
{
    Wall* wall = PlaceWall("LeftWall", true);
    wall->ApplyStringProperty("wallName", "TopWall");
    EXPECT_EQ("TopWallDangerous", wall->GetName());
    EXPECT_EQ(4736, wall->GetWidth());
    EXPECT_EQ(2084, wall->GetHeight());
    // The geometry follows the new rectangle and stays on although it lies above the field.
    ASSERT_NE(nullptr, wall->GetGeom());
    EXPECT_TRUE(wall->GetGeom()->IsEnabled());
    EXPECT_NEAR(320.0, wall->GetGeom()->GetCenter().x, 1.0);
    EXPECT_NEAR(-1006.0, wall->GetGeom()->GetCenter().y, 1.0);
    EXPECT_EQ(128u, wall->GetCategoryBits());
    EXPECT_EQ(0u, wall->GetCollideBits());

    wall->ApplyBoolProperty("dangerous", false);
    EXPECT_EQ("TopWall", wall->GetName());
    Actor* picture = wall->GetImageChild();
    ASSERT_NE(nullptr, picture);
    EXPECT_EQ(36, wall->GetY() + picture->GetY() + picture->GetHeight());

    // The bottom wall's two forms differ in their rectangles.
    Wall* bottom = PlaceWall("BottomWall", false);
    EXPECT_NEAR(465.0 + (2528 - 465) / 2.0, bottom->GetGeom()->GetCenter().y, 1.0);
    bottom->SetDangerous(true);
    EXPECT_NEAR(485.0 + (2528 - 485) / 2.0, bottom->GetGeom()->GetCenter().y, 1.0);

    // A wall made by the registry takes its name before its form, whatever the key order.
    std::unique_ptr<ArcadeStructure> made(
        MakeStructure("{class = 'Wall', dangerous = true, wallName = 'RightWall'}"));
    ASSERT_NE(nullptr, made);
    EXPECT_EQ("RightWallDangerous", made->GetName());
    EXPECT_EQ(624, made->GetX());
    LuaPlus::LuaObject value;
    made->RetrieveProperty(value, "wallName");
    EXPECT_EQ(std::string("RightWall"), value.GetString());
}
