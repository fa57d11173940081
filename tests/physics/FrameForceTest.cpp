// Frame forces: a force added between two steps acts over the whole of the next step,
// however many sub-steps the world runs, and is spent afterwards.
#include "PhysicsScene.h"

#include <gtest/gtest.h>

using namespace physics_test;

namespace {

// The velocity a ball gains per step under a force added before each step, with the
// sub-step count set by one of the world's three ways.
enum class SubStepSource { Set, Configured, Requested };

double GainPerStep(int subSteps, SubStepSource source, double radius, double force)
{
    World world(GameConfig());
    auto ball = MakeBall(world, 320, 240, radius, 0, 0);
    PhysicsBody* body = ball->Body();
    const double mass = body->GetMass();
    EXPECT_GT(mass, 1.0);
    if (source == SubStepSource::Set)
        world.SetCollisionIterations(subSteps);
    else if (source == SubStepSource::Configured)
        world.ApplyConfigValue(World::kKeyIterations, subSteps);
    constexpr int kSteps = 5;
    for (int i = 0; i < kSteps; ++i) {
        if (source == SubStepSource::Requested)
            world.RequestSubSteps(subSteps);
        body->AddForce(0.0, force * mass);
        world.Step(kFrame, nullptr, nullptr);
        EXPECT_EQ(subSteps, world.GetLastSubSteps());
    }
    EXPECT_NEAR(0.0, body->GetLinearVel().x, 1e-9);
    return body->GetLinearVel().y / kSteps;
}

} // namespace

TEST(FrameForce, GivesForceOverMassTimesTheFrameWhateverTheSubStepCount)
{
    // force / mass = 700 pixels per second²: 22.4 pixels per second per step.
    const double expected = 700.0 * kFrame;
    struct Row
    {
        int subSteps;
        SubStepSource source;
    };
    for (const Row row : {Row{10, SubStepSource::Set}, Row{20, SubStepSource::Configured},
                          Row{73, SubStepSource::Requested}, Row{200, SubStepSource::Set},
                          Row{200, SubStepSource::Requested}}) {
        for (double radius : {4.0, 12.0}) {
            const double gain = GainPerStep(row.subSteps, row.source, radius, 700.0);
            EXPECT_NEAR(expected, gain, expected * 0.01)
                << row.subSteps << " sub-steps, radius " << radius;
        }
    }
}

TEST(FrameForce, AddsUpWithinAFrameAndIsSpentAfterTheStep)
{
    World world(GameConfig());
    auto ball = MakeBall(world, 320, 240, 8, 0, 0);
    PhysicsBody* body = ball->Body();
    const double mass = body->GetMass();
    body->AddForce(100.0 * mass, 0.0);
    body->AddForce(0.0, -50.0 * mass);
    body->AddAcceleration(100.0, 0.0);
    EXPECT_NEAR(200.0 * mass, body->GetPendingForce().x, 1e-6 * mass);
    world.Step(kFrame, nullptr, nullptr);
    const Vector2D v = body->GetLinearVel();
    EXPECT_NEAR(200.0 * kFrame, v.x, 1e-6);
    EXPECT_NEAR(-50.0 * kFrame, v.y, 1e-6);
    EXPECT_EQ(0.0, body->GetPendingForce().Length());
    EXPECT_EQ(0.0, body->GetStepForce().Length());

    // Nothing added: the body coasts.
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_NEAR(v.x, body->GetLinearVel().x, 1e-9);
    EXPECT_NEAR(v.y, body->GetLinearVel().y, 1e-9);
}

TEST(FrameForce, AForceAddedDuringAStepActsOverTheWholeNextStep)
{
    for (int subSteps : {10, 73}) {
        World world(GameConfig());
        world.SetCollisionIterations(subSteps);
        // The ball lies on a brick that lets it pass: every sub-step reports the contact.
        auto brick = MakeBrick(world, 320, 240, 64, 32);
        brick->accepts = true;
        auto ball = MakeBall(world, 320, 240, 8, 0, 0);
        ball->accepts = true;
        PhysicsBody* body = ball->Body();
        const double mass = body->GetMass();
        int reported = 0;
        Hook hook{[&](PhysicsGeom*, PhysicsGeom*, const ContactData*) {
            // Pushed from the third contact report of the first step only.
            if (++reported == 3)
                body->AddForce(500.0 * mass, 0.0);
            return false;
        }};
        world.Step(kFrame, &Hook::Callback, &hook);
        ASSERT_GE(reported, 3);
        EXPECT_NEAR(0.0, body->GetLinearVel().x, 1e-9) << "held for the next step";
        EXPECT_NEAR(500.0 * mass, body->GetPendingForce().x, 1e-6 * mass);
        world.Step(kFrame, nullptr, nullptr);
        EXPECT_NEAR(500.0 * kFrame, body->GetLinearVel().x, 500.0 * kFrame * 0.01) << subSteps;
    }
}

TEST(FrameForce, ABodyAboveTheTopBandIsNotPushedAndItsForceIsSpent)
{
    World world(GameConfig());
    auto ball = MakeBall(world, 320, 5, 8, 0, 0);
    PhysicsBody* body = ball->Body();
    body->AddAcceleration(0.0, 1000.0);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_EQ(0.0, body->GetLinearVel().y);
    EXPECT_EQ(5.0, body->GetPosition().y);

    // Let into the field, it does not carry the spent force along.
    ball->geom->SetPosition(320.0, 100.0);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_EQ(0.0, body->GetLinearVel().y);
    body->AddAcceleration(0.0, 1000.0);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_NEAR(1000.0 * kFrame, body->GetLinearVel().y, 1e-6);
}
