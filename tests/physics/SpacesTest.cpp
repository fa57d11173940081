// The world's two spaces: geometries without a body stay in the static space and are
// never tested against each other, geometries with a body live in the dynamic space, and
// a geometry that gains or loses its body moves between them (while the world steps,
// when the sub-step ends) and still collides with everything it should.
#include "PhysicsScene.h"

#include <gtest/gtest.h>

using namespace physics_test;

namespace {

dSpaceID SpaceOf(const Thing& thing)
{
    return dGeomGetSpace(thing.geom->GetGeomID());
}

// Gives a static brick a body of density 1 that keeps its rotation.
void MakeMovable(World& world, Thing& brick, double vx, double vy)
{
    PhysicsBody* body = new PhysicsBody(&world);
    PhysicsMass mass;
    mass.SetBox(1.0, 32, 16, 100);
    body->SetMass(mass);
    const Point<double> at = brick.geom->GetCenter();
    brick.geom->SetBody(body);
    body->LockRotation();
    body->SetPosition(at.x, at.y);
    body->SetLinearVel(vx, vy);
}

bool Touched(const Recorder& recorder, const Thing& a, const Thing& b)
{
    for (const Recorder::Seen& s : recorder.seen)
        if ((s.geom1 == a.geom && s.geom2 == b.geom) || (s.geom1 == b.geom && s.geom2 == a.geom))
            return true;
    return false;
}

} // namespace

TEST(WorldSpaces, AStaticBrickStaysStaticAndABallStillBouncesOffIt)
{
    World world(GameConfig());
    auto brick = MakeBrick(world, 200, 200, 32, 16);
    auto ball = MakeBall(world, 200, 150, 8, 0, 300);
    EXPECT_EQ(world.GetStaticSpaceID(), SpaceOf(*brick));
    EXPECT_EQ(world.GetDynamicSpaceID(), SpaceOf(*ball));

    Recorder recorder;
    for (int i = 0; i < 20 && recorder.seen.empty(); ++i)
        world.Step(kFrame, &Recorder::Callback, &recorder);
    ASSERT_TRUE(Touched(recorder, *ball, *brick));
    EXPECT_TRUE(recorder.seen.front().physical);
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_LT(ball->Body()->GetLinearVel().y, -200.0);
    EXPECT_EQ(world.GetStaticSpaceID(), SpaceOf(*brick));
}

TEST(WorldSpaces, ABrickThatGetsABodyCollidesWithWallsAndBallsAndReturnsWhenItLosesIt)
{
    World world(GameConfig());
    auto walls = MakeWalls(world);
    auto brick = MakeBrick(world, 100, 200, 32, 16);
    MakeMovable(world, *brick, -300, 0);
    EXPECT_EQ(world.GetDynamicSpaceID(), SpaceOf(*brick));

    // Into the left wall (static) and back.
    Recorder recorder;
    for (int i = 0; i < 30 && !Touched(recorder, *brick, *walls[0]); ++i)
        world.Step(kFrame, &Recorder::Callback, &recorder);
    ASSERT_TRUE(Touched(recorder, *brick, *walls[0]));
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_GT(brick->Body()->GetLinearVel().x, 0.0);

    // A ball (dynamic too) meets it.
    brick->Body()->SetPosition(300, 200);
    brick->Body()->SetLinearVel(0, 0);
    auto ball = MakeBall(world, 300, 150, 8, 0, 300);
    recorder.seen.clear();
    for (int i = 0; i < 20 && !Touched(recorder, *ball, *brick); ++i)
        world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_TRUE(Touched(recorder, *ball, *brick));

    // Without its body the brick is static again and no wall is tested against it.
    delete brick->Body();
    EXPECT_EQ(world.GetStaticSpaceID(), SpaceOf(*brick));
    ball.reset();
    brick->geom->SetPosition(8.0, 250.0);
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_EQ(0u, world.GetLastNearPairCount());
}

TEST(WorldSpaces, StaticPairsAreNeverHandedToTheNearCallback)
{
    World world;
    world.SetCollisionIterations(10);
    auto walls = MakeWalls(world);
    // A wall of bricks that overlap each other and the walls.
    std::vector<std::unique_ptr<Thing>> bricks;
    for (int row = 0; row < 5; ++row)
        for (int column = 0; column < 20; ++column)
            bricks.push_back(MakeBrick(world, 20 + column * 30, 40 + row * 14, 32, 16));
    auto ball = MakeBall(world, 320, 300, 8, 0, 0);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_EQ(0u, world.GetLastNearPairCount());

    // A small ball resting inside one brick that lets it pass: one pair per sub-step.
    bricks[50]->accepts = true;
    const Point<double> c = bricks[50]->geom->GetCenter();
    auto inside = MakeBall(world, c.x, c.y, 3, 0, 0);
    inside->accepts = true;
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_EQ(10u, world.GetLastNearPairCount());
}

TEST(WorldSpaces, ABodyAttachedOrMadeDuringTheStepJoinsTheDynamicSpaceWhenTheSubStepEnds)
{
    World world;
    world.SetCollisionIterations(2);
    auto brick = MakeBrick(world, 100, 100, 32, 16);
    auto ball = MakeBall(world, 100, 100 - 8 - 7.5, 8, 0, 200);
    std::unique_ptr<Thing> spawned;
    Hook hook;
    std::vector<dSpaceID> seen;
    hook.function = [&](PhysicsGeom*, PhysicsGeom*, const ContactData*) {
        if (!spawned) {
            MakeMovable(world, *brick, 0, 0);
            spawned = MakeBall(world, 300, 300, 8, 0, 0);
            // Nothing moves between spaces while the pass may still walk them.
            seen.push_back(SpaceOf(*brick));
            seen.push_back(SpaceOf(*spawned));
        }
        return false;
    };
    world.Step(kFrame, &Hook::Callback, &hook);
    ASSERT_EQ(2u, seen.size());
    EXPECT_EQ(world.GetStaticSpaceID(), seen[0]);
    EXPECT_EQ(nullptr, seen[1]);
    EXPECT_EQ(world.GetDynamicSpaceID(), SpaceOf(*brick));
    EXPECT_EQ(world.GetDynamicSpaceID(), SpaceOf(*spawned));
    EXPECT_EQ(0u, world.GetQueuedChangeCount());
    EXPECT_EQ(3, dSpaceGetNumGeoms(world.GetDynamicSpaceID()));
    EXPECT_EQ(0, dSpaceGetNumGeoms(world.GetStaticSpaceID()));
}

TEST(WorldSpaces, GeometriesAboveTheActiveBandAreTestedAgainstNothing)
{
    World world;
    world.SetCollisionIterations(4);
    auto top = MakeBrick(world, 320, 4, 640, 16);
    auto ball = MakeBall(world, 320, 5, 8, 0, 0);
    auto other = MakeBall(world, 324, 5, 8, 0, 0);
    ASSERT_FALSE(ball->geom->IsEnabled());
    ASSERT_FALSE(other->geom->IsEnabled());
    Recorder recorder;
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_EQ(0u, world.GetLastNearPairCount());
    EXPECT_TRUE(recorder.seen.empty());
}

TEST(WorldSpaces, AGeometryWhoseBodyIsDeletedDuringTheStepIsStaticWhenTheSubStepEnds)
{
    World world;
    world.SetCollisionIterations(3);
    auto brick = MakeBrick(world, 100, 100, 32, 16);
    MakeMovable(world, *brick, 0, 0);
    auto ball = MakeBall(world, 100, 100 - 8 - 7.5, 8, 0, 200);
    ASSERT_EQ(world.GetDynamicSpaceID(), SpaceOf(*brick));
    Hook hook;
    dSpaceID during = nullptr;
    hook.function = [&](PhysicsGeom*, PhysicsGeom*, const ContactData*) {
        if (brick->Body()) {
            delete brick->Body();
            during = SpaceOf(*brick);
        }
        return false;
    };
    world.Step(kFrame, &Hook::Callback, &hook);
    // Nothing moved while the pass could still walk the spaces; afterwards the brick
    // carries no body and the static space holds it.
    EXPECT_EQ(world.GetDynamicSpaceID(), during);
    EXPECT_EQ(nullptr, dGeomGetBody(brick->geom->GetGeomID()));
    EXPECT_EQ(world.GetStaticSpaceID(), SpaceOf(*brick));
    EXPECT_EQ(1, dSpaceGetNumGeoms(world.GetDynamicSpaceID()));
    EXPECT_EQ(0u, world.GetQueuedChangeCount());
    // It is a static brick again: the ball still bounces off it.
    for (int i = 0; i < 5; ++i)
        world.Step(kFrame, &Hook::Callback, &hook);
    EXPECT_LT(ball->Body()->GetPosition().y, 100.0);
}
