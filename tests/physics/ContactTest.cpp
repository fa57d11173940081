// Which contacts the world makes, which of them get a physical response, and how the
// contact pass cleans them up.
#include "PhysicsScene.h"

#include <gtest/gtest.h>

using namespace physics_test;

namespace {

dContactGeom ContactAt(double x, double y, double nx, double ny, double depth)
{
    dContactGeom c = {};
    c.pos[0] = x;
    c.pos[1] = y;
    c.normal[0] = nx;
    c.normal[1] = ny;
    c.depth = depth;
    return c;
}

// A ball touching a brick from above in the first sub-step.
struct Touching
{
    World world;
    std::unique_ptr<Thing> brick = MakeBrick(world, 100, 100, 32, 16);
    std::unique_ptr<Thing> ball = MakeBall(world, 100, 100 - 8 - 7.5, 8, 0, 200);
    Recorder recorder;

    Touching() { world.SetCollisionIterations(1); }
    void Step() { world.Step(kFrame, &Recorder::Callback, &recorder); }
};

} // namespace

TEST(WorldContacts, OwnersDecideWhetherAContactIsPhysical)
{
    {
        Touching t; // neither lets it pass
        t.Step();
        ASSERT_EQ(1u, t.recorder.seen.size());
        EXPECT_TRUE(t.recorder.seen[0].physical);
        EXPECT_TRUE(t.recorder.seen[0].hasJoint);
        EXPECT_EQ(1, t.ball->asked + t.brick->asked) << "the second owner was asked";
        EXPECT_LT(t.ball->Body()->GetLinearVel().y, 0.0) << "the ball did not rebound";
    }
    {
        Touching t; // both let it pass: reported, no joint, the ball goes on
        t.ball->accepts = t.brick->accepts = true;
        t.Step();
        ASSERT_EQ(1u, t.recorder.seen.size());
        EXPECT_FALSE(t.recorder.seen[0].physical);
        EXPECT_FALSE(t.recorder.seen[0].hasJoint);
        EXPECT_EQ(1, t.ball->asked);
        EXPECT_EQ(1, t.brick->asked);
        EXPECT_NEAR(200.0, t.ball->Body()->GetLinearVel().y, 1e-9);
    }
    {
        Touching t; // only one lets it pass: still physical
        t.brick->accepts = true;
        t.Step();
        ASSERT_EQ(1u, t.recorder.seen.size());
        EXPECT_TRUE(t.recorder.seen[0].physical);
    }
}

TEST(WorldContacts, NoContactsBetweenStaticOrJoinedGeometries)
{
    World world;
    auto a = MakeBrick(world, 100, 100, 32, 16);
    auto b = MakeBrick(world, 110, 100, 32, 16); // overlapping, both static
    auto ball1 = MakeBall(world, 300, 300, 8, 0, 0);
    auto ball2 = MakeBall(world, 310, 300, 8, 0, 0); // overlapping, joined below
    dJointID joint = dJointCreateBall(world.GetWorldID(), nullptr);
    dJointAttach(joint, ball1->Body()->GetBodyID(), ball2->Body()->GetBodyID());
    Recorder recorder;
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_EQ(0, a->asked + b->asked + ball1->asked + ball2->asked);
    dJointDestroy(joint);
}

TEST(WorldContacts, GeometryWithoutOwnerFailsTheStepAndTheNextStepRuns)
{
    World world;
    auto brick = MakeBrick(world, 100, 100, 32, 16);
    auto ball = MakeBall(world, 100, 85, 8, 0, 100);
    ball->geom->SetOwner(nullptr);
    try {
        world.Step(kFrame, nullptr, nullptr);
        FAIL() << "no exception";
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (owner1 && owner2)", e.GetMessage());
    }
    ball->geom->SetOwner(ball.get());
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_GT(brick->asked + ball->asked, 0);
}

TEST(WorldContacts, ImmobileBodyIsNotPushedByAMobileOne)
{
    World world;
    world.SetCollisionIterations(1);
    auto paddle = MakeBall(world, 100, 100, 16, 0, 0);
    auto ball = MakeBall(world, 100, 100 - 16 - 7.5, 8, 0, 300);
    paddle->Body()->SetImmobile(true);
    Recorder recorder;
    world.Step(kFrame, &Recorder::Callback, &recorder);
    ASSERT_EQ(1u, recorder.seen.size());
    EXPECT_EQ(0.0, paddle->Body()->GetLinearVel().y);
    EXPECT_LT(ball->Body()->GetLinearVel().y, 0.0);
}

TEST(WorldContacts, CallbackCanStopTheRestOfASubStep)
{
    World world;
    world.SetCollisionIterations(2);
    auto brick = MakeBrick(world, 100, 100, 64, 16);
    auto left = MakeBall(world, 80, 100 - 8 - 7.9, 8, 0, 0);
    auto right = MakeBall(world, 120, 100 - 8 - 7.9, 8, 0, 0);
    Recorder recorder;
    recorder.stopAfter = 1;
    world.Step(kFrame, &Recorder::Callback, &recorder);
    // One report per sub-step: the second contact of each sub-step is not shown.
    EXPECT_EQ(2u, recorder.seen.size());
}

TEST(WorldContacts, BouncinessDecidesTheRebound)
{
    struct Case
    {
        int ball, brick;
        float ballStrength, brickStrength;
        double expectedVy;
    };
    const Case cases[] = {
        {PhysicsGeom::BounceNeutral, PhysicsGeom::BounceNeutral, 1.0f, 1.0f, -300},
        {PhysicsGeom::BounceNeutral, PhysicsGeom::BounceNeutral, 0.5f, 1.0f, -150},
        {PhysicsGeom::BounceNeutral, PhysicsGeom::BounceDont, 1.0f, 1.0f, 0},
        {PhysicsGeom::BounceDont, PhysicsGeom::BounceDont, 1.0f, 1.0f, 0},
        {PhysicsGeom::BounceAlways, PhysicsGeom::BounceDont, 0.5f, 1.0f, -150},
    };
    for (const Case& c : cases) {
        World world(ConfigOf({{"GlobalERP", 0.0}}));
        world.SetCollisionIterations(1);
        auto brick = MakeBrick(world, 100, 100, 64, 16);
        auto ball = MakeBall(world, 100, 100 - 8 - 7.9, 8, 0, 300);
        ball->geom->SetBounciness(c.ball);
        ball->geom->SetBounceStrength(c.ballStrength);
        brick->geom->SetBounciness(c.brick);
        brick->geom->SetBounceStrength(c.brickStrength);
        world.Step(kFrame, nullptr, nullptr);
        EXPECT_NEAR(c.expectedVy, ball->Body()->GetLinearVel().y, 1.0)
            << c.ball << " against " << c.brick;
    }
}

TEST(WorldContacts, DuplicatesOfAPairAreMerged)
{
    World world;
    auto a = MakeBrick(world, 100, 100, 32, 16);
    auto b = MakeBall(world, 100, 80, 8, 0, 0);
    auto c = MakeBall(world, 300, 80, 8, 0, 0);
    PhysicsGeom* ga = a->geom;
    PhysicsGeom* gb = b->geom;
    // Same place and normal: merged, deeper depth kept.
    world.AddContactRecord(gb, ga, ContactAt(100, 92, 0, -1, 0.1), true, nullptr, nullptr);
    world.AddContactRecord(gb, ga, ContactAt(100.5, 92.5, 0.005, -1, 0.3), true, nullptr, nullptr);
    // The same pair reported the other way round, far away: opposite normals, merged.
    world.AddContactRecord(ga, gb, ContactAt(140, 92, 0, 1, 0.2), true, nullptr, nullptr);
    // Same pair, another place and normal: kept.
    world.AddContactRecord(gb, ga, ContactAt(110, 92, 0.6, -0.8, 0.1), true, nullptr, nullptr);
    // Another pair at the same place: kept (no edges shared, balls have none).
    world.AddContactRecord(c->geom, gb, ContactAt(100, 92, 0, -1, 0.1), true, nullptr, nullptr);
    world.ProcessContacts();
    const std::vector<ContactRecord>& contacts = world.GetContacts();
    ASSERT_EQ(3u, contacts.size());
    EXPECT_EQ(0.3, contacts[0].data.depth);
    EXPECT_EQ(100.0, contacts[0].data.position[0]);
    EXPECT_EQ(110.0, contacts[1].data.position[0]);
    EXPECT_EQ(c->geom, contacts[2].geom1);
    // Only physical contacts get joints, and they exist once the pass is done.
    for (const ContactRecord& r : contacts)
        EXPECT_NE(nullptr, r.data.joint);
    world.Step(kFrame, nullptr, nullptr); // clears the hand-made contacts
    EXPECT_TRUE(world.GetContacts().empty());
}

TEST(WorldContacts, NeighbouringNormalsSnapToACommonEdge)
{
    World world;
    auto left = MakeBrick(world, 84, 100, 32, 16);
    auto right = MakeBrick(world, 116, 100, 32, 16);
    auto ball = MakeBall(world, 100, 85, 8, 0, 0);
    // The ball across the seam: the corner contacts lean outwards.
    const double s = std::sqrt(0.5);
    world.AddContactRecord(ball->geom, left->geom, ContactAt(99.99, 92, -0.3, -0.95, 0.1), true,
                           nullptr, nullptr);
    // The pair reported with the brick first: its normal points into the brick.
    world.AddContactRecord(right->geom, ball->geom, ContactAt(100.01, 92, -0.3, 0.95, 0.1), true,
                           nullptr, nullptr);
    world.ProcessContacts();
    const std::vector<ContactRecord>& c = world.GetContacts();
    ASSERT_EQ(2u, c.size());
    EXPECT_EQ(0.0, c[0].data.normal[0]);
    EXPECT_EQ(-1.0, c[0].data.normal[1]);
    EXPECT_EQ(0.0, c[1].data.normal[0]);
    EXPECT_EQ(1.0, c[1].data.normal[1]);

    World world2;
    auto l2 = MakeBrick(world2, 84, 100, 32, 16);
    auto r2 = MakeBrick(world2, 116, 100, 32, 16);
    auto b2 = MakeBall(world2, 100, 85, 8, 0, 0);
    // A neighbour that matches no edge well (45 degrees) takes the snapped normal.
    world2.AddContactRecord(b2->geom, l2->geom, ContactAt(99.99, 92, 0.1, -0.995, 0.1), true,
                            nullptr, nullptr);
    world2.AddContactRecord(b2->geom, r2->geom, ContactAt(100.01, 92, -s, -s, 0.1), true, nullptr,
                            nullptr);
    world2.ProcessContacts();
    const std::vector<ContactRecord>& d = world2.GetContacts();
    ASSERT_EQ(2u, d.size());
    EXPECT_EQ(0.0, d[1].data.normal[0]) << "the unmatched neighbour did not follow";
    EXPECT_EQ(-1.0, d[1].data.normal[1]);

    // Far apart: left alone.
    World world3;
    auto l3 = MakeBrick(world3, 84, 100, 32, 16);
    auto r3 = MakeBrick(world3, 116, 100, 32, 16);
    auto b3 = MakeBall(world3, 100, 85, 8, 0, 0);
    world3.AddContactRecord(b3->geom, l3->geom, ContactAt(90, 92, 0.1, -0.995, 0.1), true, nullptr,
                            nullptr);
    world3.AddContactRecord(b3->geom, r3->geom, ContactAt(110, 92, -0.1, -0.995, 0.1), true,
                            nullptr, nullptr);
    world3.ProcessContacts();
    EXPECT_EQ(0.1, world3.GetContacts()[0].data.normal[0]);
    EXPECT_EQ(-0.1, world3.GetContacts()[1].data.normal[0]);
}

TEST(WorldContacts, RotatedEdgesAreComparedInThePlayFieldFrame)
{
    World world;
    auto left = MakeBrick(world, 84, 100, 32, 16);
    auto right = MakeBrick(world, 116, 100, 32, 16);
    left->geom->SetRotation(90.0f);
    right->geom->SetRotation(90.0f);
    auto ball = MakeBall(world, 100, 85, 8, 0, 0);
    // Turned by 90 degrees the top edge faces +x.
    world.AddContactRecord(ball->geom, left->geom, ContactAt(99.99, 92, 0.95, -0.3, 0.1), true,
                           nullptr, nullptr);
    world.AddContactRecord(ball->geom, right->geom, ContactAt(100.01, 92, 0.95, 0.3, 0.1), true,
                           nullptr, nullptr);
    world.ProcessContacts();
    const std::vector<ContactRecord>& c = world.GetContacts();
    EXPECT_NEAR(1.0, c[0].data.normal[0], 1e-12);
    EXPECT_NEAR(0.0, c[0].data.normal[1], 1e-12);
    EXPECT_NEAR(1.0, c[1].data.normal[0], 1e-12);
    EXPECT_NEAR(0.0, c[1].data.normal[1], 1e-12);
}
