// Structures in a stepping world: contacts reach both structures, seams of neighbouring
// bricks act as one face, colliders sense without pushing and leave on time.
#include "FieldScene.h"

#include "field/Collider.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <set>

using namespace fieldtest;

namespace {

class FieldSceneTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::PrepareEngine(); }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root};
    RecordingLogic logic;

    FieldSceneTest() { root->logic = &logic; }
    ~FieldSceneTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }
};

} // namespace

TEST_F(FieldSceneTest, ABallStrikingTheSeamOfTwoBricksReboundsAsFromOneFace)
{
    for (double vx : {0.0, 150.0, -90.0}) {
        // Two bricks side by side meeting at x = 132, their bottoms at y = 216.
        ArcadeStructure* left = root->Place(MakeBox(100, 200, 32, 16));
        ArcadeStructure* right = root->Place(MakeBox(132, 200, 32, 16));
        left->SetCategoryBits(2);
        right->SetCategoryBits(2);
        // Travelling up so that it reaches the bottoms where they meet.
        const double vy = -300.0;
        const double toContact = (248.0 - 8.0 - 216.0) / -vy;
        ArcadeStructure* ball = MakeBallLike(int(132 - vx * toContact), 248, 8);
        ball->SetCategoryBits(1);
        ball->SetCollideBits(2);
        root->Place(ball);
        ball->GetPhysicsBody()->SetLinearVel(vx, vy);

        const int n =
            passes.StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y > 0; }, 20);
        ASSERT_LT(n, 20) << "vx " << vx << ": the ball never rebounded";
        const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
        EXPECT_NEAR(vx, v.x, 1e-3) << "vx " << vx;
        EXPECT_NEAR(-vy, v.y, 1.0) << "vx " << vx;
        for (ArcadeStructure* s : {left, right, ball})
            s->Kill();
        passes.Step();
    }
}

TEST_F(FieldSceneTest, ContactsReachBothStructuresWithOpposedNormals)
{
    struct Seen
    {
        ArcadeStructure* other;
        double ny;
    };
    static std::vector<std::pair<ArcadeStructure*, Seen>> seen;
    seen.clear();
    auto record = [](ArcadeGameLogic*, ArcadeStructure* other, double, double, double, double ny,
                     double, void* self) {
        seen.push_back({static_cast<ArcadeStructure*>(self), {other, ny}});
    };
    ArcadeStructure* brick = root->Place(MakeBox(100, 200, 32, 16));
    brick->SetCategoryBits(2);
    ArcadeStructure* ball = MakeBallLike(116, 230, 8);
    ball->SetCategoryBits(1);
    ball->SetCollideBits(2);
    root->Place(ball)->GetPhysicsBody()->SetLinearVel(0, -300);
    brick->AddHitCallback(record, brick);
    ball->AddHitCallback(record, ball);
    passes.StepUntil([&] { return !seen.empty(); }, 10);
    ASSERT_GE(seen.size(), 2u);
    double ballNy = 0, brickNy = 0;
    for (const auto& entry : seen) {
        if (entry.first == ball) {
            EXPECT_EQ(brick, entry.second.other);
            ballNy = entry.second.ny;
        } else {
            EXPECT_EQ(ball, entry.second.other);
            brickNy = entry.second.ny;
        }
    }
    EXPECT_NE(0.0, ballNy);
    EXPECT_DOUBLE_EQ(-ballNy, brickNy);
}

TEST_F(FieldSceneTest, AColliderSensesTheClassesItNamesDeflectsNothingAndLeavesOnItsFourthTick)
{
    // A ball-like structure (category 1) flying through, a brick (2) and a structure of
    // category 8 the collider does not name (collide bits 3: balls and bricks).
    ArcadeStructure* ball = MakeBallLike(300, 300, 8);
    ball->SetCategoryBits(1);
    root->Place(ball)->GetPhysicsBody()->SetLinearVel(120, 0);
    ArcadeStructure* brick = root->Place(MakeBox(290, 310, 32, 16));
    brick->SetCategoryBits(2);
    ArcadeStructure* unnamed = root->Place(MakeBox(280, 280, 16, 16));
    unnamed->SetCategoryBits(8);

    static std::set<ArcadeStructure*> reported;
    static bool destroyed;
    reported.clear();
    destroyed = false;
    Collider* collider = new Collider();
    collider->SetCircle(24);
    collider->SetPosition(300.0, 300.0);
    collider->SetLifetime(2);
    collider->SetCollideBits(3);
    collider->SetCollisionCallback([](ArcadeGameLogic*, Collider*, ArcadeStructure* other, double,
                                      double, void*) { reported.insert(other); },
                                   nullptr);
    collider->SetDestroyCallback([](Collider*) { destroyed = true; });
    root->AddChild(collider, "");
    collider->CreateInWorld(&root->world);
    EXPECT_THROW(collider->CreateInWorld(&root->world), Exception);
    EXPECT_THROW(collider->SetPosition(10.0, 10.0), Exception);

    passes.Step(3);
    EXPECT_FALSE(destroyed) << "gone before its fourth tick";
    EXPECT_EQ(3, collider->GetTicks());
    EXPECT_EQ((std::set<ArcadeStructure*>{ball, brick}), reported);
    EXPECT_NEAR(120.0, ball->GetPhysicsBody()->GetLinearVel().x, 1e-9) << "the ball was deflected";
    EXPECT_NEAR(0.0, ball->GetPhysicsBody()->GetLinearVel().y, 1e-9);
    passes.Step();
    EXPECT_TRUE(destroyed) << "still there after its fourth tick";
}

TEST_F(FieldSceneTest, AColliderPushesOnlyItsSolidClassesAndNeedsACallback)
{
    Collider* bare = new Collider();
    bare->SetCircle(10);
    root->AddChild(bare, "");
    EXPECT_EQ("Assertion failed: (m_CollisionProc)",
              bbtest::MessageOf([&] { bare->CreateInWorld(&root->world); }));

    ArcadeStructure* ball = MakeBallLike(300, 300, 8);
    ball->SetCategoryBits(1);
    root->Place(ball)->GetPhysicsBody()->SetLinearVel(200, 0);
    Collider* collider = new Collider();
    collider->SetRectangle(20, 200, false);
    collider->SetPosition(330.0, 300.0);
    collider->SetLifetime(50);
    collider->SetCollideBits(1);
    collider->AddSolidClass("ArcadeStructure");
    collider->SetCollisionCallback(
        [](ArcadeGameLogic*, Collider*, ArcadeStructure*, double, double, void*) {}, nullptr);
    root->AddChild(collider, "");
    collider->CreateInWorld(&root->world);
    // The collider's body is as heavy as the ball's: the ball hands its speed over.
    passes.StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().x < 100; }, 10);
    EXPECT_LT(ball->GetPhysicsBody()->GetLinearVel().x, 1.0) << "a solid class passed through";
}
