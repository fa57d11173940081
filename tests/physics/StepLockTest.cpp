// Bodies and geometries made and deleted while the world steps: from the collision
// callback and from an owner that is being asked about a contact. Deleted objects take no
// further part in the step, new ones are usable at once and join the simulation when the
// sub-step ends, and direct ODE calls that would change a stepping world are refused.
#include "PhysicsScene.h"

#include "physics/OdeLockCheck.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace physics_test;

namespace {

// A ball resting across the seam of two bricks, touching both, and one more ball far away.
struct Seam
{
    World world;
    std::unique_ptr<Thing> left = MakeBrick(world, 84, 100, 32, 16);
    std::unique_ptr<Thing> right = MakeBrick(world, 116, 100, 32, 16);
    std::unique_ptr<Thing> ball = MakeBall(world, 100, 100 - 8 - 7.5, 8, 0, 200);
    Hook hook;
    std::vector<std::pair<PhysicsGeom*, PhysicsGeom*>> reported;

    explicit Seam(int subSteps) { world.SetCollisionIterations(subSteps); }

    int SpaceSize() const
    {
        return dSpaceGetNumGeoms(world.GetDynamicSpaceID()) +
               dSpaceGetNumGeoms(world.GetStaticSpaceID());
    }

    // Records each contact it is shown, then runs `react` on it.
    void Step(std::function<void(PhysicsGeom*, PhysicsGeom*)> react)
    {
        hook.function = [this, react](PhysicsGeom* g1, PhysicsGeom* g2, const ContactData*) {
            reported.emplace_back(g1, g2);
            react(g1, g2);
            return false;
        };
        world.Step(kFrame, &Hook::Callback, &hook);
    }

    bool Reported(PhysicsGeom* geom) const
    {
        return std::any_of(reported.begin(), reported.end(),
                           [geom](const auto& r) { return r.first == geom || r.second == geom; });
    }
};

} // namespace

TEST(StepLock, CallbackDeletesTheOtherPartyOrItself)
{
    {
        // Both bricks go at the first contact; the second brick's contact is not shown.
        Seam s(1);
        ASSERT_EQ(3, s.SpaceSize());
        PhysicsGeom* rightGeom = s.right->geom;
        s.Step([&](PhysicsGeom*, PhysicsGeom*) {
            if (!s.left)
                return;
            s.left.reset();
            s.right.reset();
            EXPECT_EQ(1u, s.world.GetGeomCount()) << "the wrappers left the lists at once";
            EXPECT_EQ(2u, s.world.GetQueuedChangeCount());
            EXPECT_EQ(3, s.SpaceSize()) << "the ODE geometries went during the sub-step";
        });
        EXPECT_EQ(1u, s.reported.size());
        EXPECT_TRUE(s.world.GetContacts().empty());
        EXPECT_EQ(0u, s.world.GetQueuedChangeCount());
        EXPECT_EQ(1, s.SpaceSize());
        // The bricks still stopped the ball in the sub-step they were deleted in.
        EXPECT_LE(s.ball->Body()->GetLinearVel().y, 0.0);
        // Then the ball falls through where they were.
        s.ball->Body()->SetLinearVel(0, 300);
        s.reported.clear();
        for (int i = 0; i < 5; ++i)
            s.Step([](PhysicsGeom*, PhysicsGeom*) {});
        EXPECT_TRUE(s.reported.empty());
        EXPECT_GT(s.ball->Body()->GetPosition().y, 120.0);
        EXPECT_FALSE(s.Reported(rightGeom));
    }
    {
        // The ball deletes itself at its first contact over three sub-steps: its other
        // contact is not shown, and the later sub-steps run without it.
        Seam s(3);
        s.Step([&](PhysicsGeom*, PhysicsGeom*) {
            s.ball.reset();
            EXPECT_EQ(0u, s.world.GetBodyCount());
            EXPECT_EQ(2u, s.world.GetQueuedChangeCount()); // geometry and body
        });
        EXPECT_EQ(1u, s.reported.size());
        EXPECT_EQ(2, s.SpaceSize());
        EXPECT_EQ(0u, s.world.GetQueuedChangeCount());
    }
    {
        // A ball deletes the ball it strikes: the contact joint between their bodies is
        // gone with the sub-step, and play goes on.
        World world(GameConfig());
        auto walls = MakeWalls(world);
        auto striker = MakeBall(world, 200, 300, 8, 400, 0);
        auto target = MakeBall(world, 240, 300, 8, -100, 0);
        PhysicsGeom* targetGeom = target->geom;
        Hook hook;
        int hits = 0;
        hook.function = [&](PhysicsGeom* g1, PhysicsGeom* g2, const ContactData* c) {
            EXPECT_NE(nullptr, c->body1);
            EXPECT_NE(nullptr, c->body2);
            EXPECT_TRUE(g1 == targetGeom || g2 == targetGeom);
            ++hits;
            target.reset();
            return false;
        };
        for (int frame = 0; frame < 5 && target; ++frame)
            world.Step(kFrame, &Hook::Callback, &hook);
        EXPECT_EQ(1, hits);
        EXPECT_EQ(1u, world.GetBodyCount());
        hook.function = [](PhysicsGeom*, PhysicsGeom*, const ContactData*) { return false; };
        for (int frame = 0; frame < 50; ++frame)
            world.Step(kFrame, &Hook::Callback, &hook);
        const Vector2D p = striker->Body()->GetPosition();
        EXPECT_TRUE(p.x > 16 && p.x < 624 && p.y > 36 && p.y < 464);
    }
}

TEST(StepLock, OwnerDeletesAGeometryWhileBeingAsked)
{
    // Every owner lets contacts pass, so each of the ball's two pairs asks both. One brick
    // goes at the k-th question: before its pair is found, while one of its owners is
    // asked, or after its contact was recorded (which of these depends on the order of
    // the pairs, so either brick is tried). Its contact is never shown and the contact
    // pass never reads it; the other brick's contact is shown.
    for (bool deleteLeft : {false, true}) {
        for (int k = 1; k <= 4; ++k) {
            Seam s(2);
            s.ball->accepts = s.left->accepts = s.right->accepts = true;
            std::unique_ptr<Thing>& victim = deleteLeft ? s.left : s.right;
            PhysicsGeom* victimGeom = victim->geom;
            int questions = 0;
            for (Thing* thing : {s.left.get(), s.right.get(), s.ball.get()})
                thing->onAsked = [&victim, &questions, k] {
                    if (++questions == k)
                        victim.reset();
                };
            s.Step([](PhysicsGeom*, PhysicsGeom*) {});
            EXPECT_FALSE(victim) << k;
            EXPECT_FALSE(s.Reported(victimGeom)) << k;
            EXPECT_FALSE(s.reported.empty()) << "the other brick's contact was lost at " << k;
            EXPECT_EQ(2, s.SpaceSize());
        }
    }
}

TEST(StepLock, BallMadeInACallbackIsUsableAtOnceAndCollidesLater)
{
    Seam s(4);
    std::unique_ptr<Thing> spawned, high, fleeting;
    auto target = MakeBrick(s.world, 300, 200, 64, 16);
    const int spaceBefore = s.SpaceSize();
    s.Step([&](PhysicsGeom*, PhysicsGeom*) {
        if (spawned)
            return;
        spawned = MakeBall(s.world, 300, 300, 8, 0, -400);
        PhysicsBody* body = spawned->Body();
        EXPECT_TRUE(body->IsJoining());
        EXPECT_EQ(300.0, body->GetPosition().y);
        body->SetLinearVel(0, -500);
        EXPECT_EQ(-500.0, body->GetLinearVel().y);
        EXPECT_EQ(spaceBefore, s.SpaceSize()) << "joined the space during the sub-step";
        // Above the top band: it stays out when the others join.
        high = MakeBall(s.world, 400, 5, 8, 0, 100);
        // Made and deleted in one callback: nothing is left of it.
        fleeting = MakeBall(s.world, 500, 300, 8, 0, 0);
        fleeting.reset();
    });
    ASSERT_TRUE(spawned);
    EXPECT_EQ(0u, s.world.GetQueuedChangeCount());
    EXPECT_EQ(spaceBefore + 2, s.SpaceSize());
    EXPECT_FALSE(spawned->Body()->IsJoining());
    // It moved in the sub-steps after the one it was made in, and not in that one.
    const double y = spawned->Body()->GetPosition().y;
    EXPECT_LT(y, 300.0);
    EXPECT_GT(y, 300.0 - 500.0 * kFrame);
    EXPECT_FALSE(dBodyIsEnabled(high->Body()->GetBodyID()));

    s.reported.clear();
    for (int frame = 0; frame < 8; ++frame)
        s.Step([](PhysicsGeom*, PhysicsGeom*) {});
    EXPECT_TRUE(std::count(s.reported.begin(), s.reported.end(),
                           std::make_pair(spawned->geom, target->geom)) +
                    std::count(s.reported.begin(), s.reported.end(),
                               std::make_pair(target->geom, spawned->geom)) >
                0)
        << "the new ball never met the brick";
    EXPECT_GT(spawned->Body()->GetLinearVel().y, 0.0) << "no rebound";
    EXPECT_EQ(5.0, high->Body()->GetPosition().y);
    high->geom->SetPosition(400.0, 50.0);
    s.Step([](PhysicsGeom*, PhysicsGeom*) {});
    EXPECT_GT(high->Body()->GetPosition().y, 50.0);
}

TEST(StepLock, AbandonedStepAppliesWhatWasQueued)
{
    Seam s(3);
    std::unique_ptr<Thing> spawned;
    s.hook.function = [&](PhysicsGeom*, PhysicsGeom*, const ContactData*) -> bool {
        s.left.reset();
        spawned = MakeBall(s.world, 300, 300, 8, 100, 0);
        MAKO_THROW(Exception, "callback failed");
    };
    EXPECT_THROW(s.world.Step(kFrame, &Hook::Callback, &s.hook), Exception);
    EXPECT_FALSE(s.world.IsLocked());
    EXPECT_EQ(0u, s.world.GetQueuedChangeCount());
    EXPECT_TRUE(s.world.GetContacts().empty());
    EXPECT_EQ(3, s.SpaceSize());
    ASSERT_TRUE(spawned);
    EXPECT_FALSE(spawned->Body()->IsJoining());
    s.Step([](PhysicsGeom*, PhysicsGeom*) {});
    EXPECT_GT(spawned->Body()->GetPosition().x, 300.0);
}

TEST(StepLock, DirectOdeChangesOfASteppingWorldAreRefused)
{
    Seam s(1);
    const dWorldID world = s.world.GetWorldID();
    const dSpaceID space = s.world.GetStaticSpaceID();
    const dSpaceID dynamicSpace = s.world.GetDynamicSpaceID();
    std::vector<std::string> refused;
    auto expectRefused = [&refused](const char* call, const std::function<void()>& f) {
        try {
            f();
            ADD_FAILURE() << call << " was let through";
        } catch (const Exception& e) {
            EXPECT_NE(std::string::npos, e.GetMessage().find(call)) << e.GetMessage();
            refused.push_back(call);
        }
    };
    s.Step([&](PhysicsGeom*, PhysicsGeom*) {
        if (!refused.empty())
            return;
        expectRefused("World::Step", [&] { s.world.Step(kFrame, nullptr, nullptr); });
        if (!OdeLockCheck::IsActive())
            return;
        expectRefused("dBodyCreate", [&] { dBodyCreate(world); });
        expectRefused("dBodyDestroy", [&] { dBodyDestroy(s.ball->Body()->GetBodyID()); });
        expectRefused("dGeomDestroy", [&] { dGeomDestroy(s.left->geom->GetGeomID()); });
        expectRefused("dCreateSphere", [&] { dCreateSphere(space, 2.0); });
        expectRefused("dCreateBox", [&] { dCreateBox(dynamicSpace, 2.0, 2.0, 2.0); });
        expectRefused("dSpaceRemove", [&] { dSpaceRemove(space, s.left->geom->GetGeomID()); });
        // Outside the world's spaces nothing is at stake.
        dGeomID loose = dCreateSphere(nullptr, 2.0);
        dGeomDestroy(loose);
        loose = dCreateSphere(nullptr, 2.0);
        expectRefused("dSpaceAdd", [&] { dSpaceAdd(space, loose); });
        dGeomDestroy(loose);
    });
    EXPECT_EQ(OdeLockCheck::IsActive() ? 8u : 1u, refused.size());
    // Once the step is over the same calls are the caller's business.
    dGeomID free = dCreateSphere(space, 2.0);
    dGeomDestroy(free);
    dBodyDestroy(dBodyCreate(world));
    EXPECT_EQ(3, s.SpaceSize());
}

TEST(StepLockDeathTest, WorldDestroyedFromItsOwnStepEndsTheProgram)
{
    GTEST_FLAG_SET(death_test_style, "threadsafe");
    EXPECT_DEATH(
        {
            World* world = new World;
            auto brick = MakeBrick(*world, 100, 100, 32, 16);
            auto ball = MakeBall(*world, 100, 100 - 8 - 7.5, 8, 0, 200);
            Hook hook;
            hook.function = [world](PhysicsGeom*, PhysicsGeom*, const ContactData*) {
                delete world;
                return false;
            };
            world->Step(kFrame, &Hook::Callback, &hook);
        },
        "destroyed from inside its own step");
}

TEST(WorldLifetime, AGeometryOutlivingItsWorldCanStillBeDisabledAndEnabled)
{
    // A level's actors may be killed after the level's world is gone (the game screen ends
    // a game by killing its field after the controller went); that must stay harmless.
    World* world = new World;
    auto ball = MakeBall(*world, 100, 100, 8, 0, 200);
    delete world;
    EXPECT_NO_THROW(ball->geom->Disable());
    EXPECT_FALSE(ball->geom->IsEnabled());
    EXPECT_NO_THROW(ball->geom->Enable());
    EXPECT_TRUE(ball->geom->IsEnabled());
}
