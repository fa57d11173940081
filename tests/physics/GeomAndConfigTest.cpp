// Geometries above the field's top band, gradual shape changes and the world's
// configuration.
#include "PhysicsScene.h"

#include <gtest/gtest.h>

using namespace physics_test;

TEST(PhysicsGeom, AboveTheTopBandNeitherCollidesNorMoves)
{
    World world(GameConfig());
    auto brick = MakeBrick(world, 100, 20, 64, 16);
    auto ball = MakeBall(world, 100, 5, 8, 50, 0);
    EXPECT_FALSE(ball->geom->IsEnabled());
    Recorder recorder;
    for (int i = 0; i < 5; ++i)
        world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_TRUE(recorder.seen.empty());
    EXPECT_EQ(100.0, ball->Body()->GetPosition().x);

    // Placed at y 10 it takes part again: it moves and meets the brick.
    ball->geom->SetPosition(100.0, 10.0);
    EXPECT_TRUE(ball->geom->IsEnabled());
    world.Step(kFrame, &Recorder::Callback, &recorder);
    EXPECT_GT(ball->Body()->GetPosition().x, 100.0);
    EXPECT_FALSE(recorder.seen.empty());

    // The float form re-places even at the same spot; the double form then does nothing.
    ball->geom->SetPosition(100.0f, 9.5f);
    EXPECT_FALSE(ball->geom->IsEnabled());
    ball->geom->Enable();
    ball->geom->SetPosition(100.0, 9.5);
    EXPECT_TRUE(ball->geom->IsEnabled());
}

TEST(PhysicsGeom, GradualChangesCompleteOverTheirSubSteps)
{
    World world(ConfigOf({{"CollisionIterations", 4}}));
    auto ball = MakeBall(world, 100, 100, 8, 0, 0);
    const dGeomID id = ball->geom->GetGeomID();
    const double r0 = dGeomSphereGetRadius(id);

    ball->geom->SetRadiusGradually(r0 + 10.0);
    ball->geom->ShiftGradually(20.0);
    EXPECT_EQ(1u, world.GetGradualCount());
    world.Step(kFrame, nullptr, nullptr); // 4 of 10 steps
    EXPECT_NEAR(r0 + 4.0, dGeomSphereGetRadius(id), 1e-9);
    EXPECT_NEAR(108.0, ball->geom->GetCenter().y, 1e-9);
    ball->geom->ShiftGradually(-50.0); // ignored while the shift runs
    world.Step(kFrame, nullptr, nullptr);
    world.Step(kFrame, nullptr, nullptr); // 12 steps: done
    EXPECT_NEAR(r0 + 10.0, dGeomSphereGetRadius(id), 1e-9);
    EXPECT_NEAR(120.0, ball->geom->GetCenter().y, 1e-9);
    EXPECT_EQ(0u, world.GetGradualCount());
    EXPECT_FALSE(ball->geom->IsChangingGradually());

    // A new radius restarts the ten steps from where the radius is.
    ball->geom->SetRadiusGradually(r0);
    world.Step(kFrame, nullptr, nullptr);
    const double mid = dGeomSphereGetRadius(id);
    ball->geom->SetRadiusGradually(mid + 5.0);
    world.Step(kFrame, nullptr, nullptr);
    world.Step(kFrame, nullptr, nullptr);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_NEAR(mid + 5.0, dGeomSphereGetRadius(id), 1e-9);

    // Nothing to do: not listed.
    ball->geom->ShiftGradually(0.0);
    ball->geom->SetRadiusGradually(dGeomSphereGetRadius(id));
    EXPECT_EQ(0u, world.GetGradualCount());

    // A geometry deleted while it changes leaves the list.
    ball->geom->ShiftGradually(10.0);
    EXPECT_EQ(1u, world.GetGradualCount());
    ball.reset();
    EXPECT_EQ(0u, world.GetGradualCount());
}

TEST(World, ConfigurationIsReadAndUpdatesAreChecked)
{
    {
        World world; // nothing configured
        EXPECT_EQ(10, world.GetCollisionIterations());
    }
    {
        World world(GameConfig());
        EXPECT_EQ(20, world.GetCollisionIterations());
        EXPECT_DOUBLE_EQ(0.0000001, dWorldGetCFM(world.GetWorldID()));
        EXPECT_DOUBLE_EQ(0.8, dWorldGetERP(world.GetWorldID()));
    }
    {
        // Unusable values at set-up: defaults.
        World world(ConfigOf({{"CollisionIterations", 0}, {"GlobalERP", 3.0}}));
        EXPECT_EQ(10, world.GetCollisionIterations());
        EXPECT_DOUBLE_EQ(0.2, dWorldGetERP(world.GetWorldID())); // ODE's default
    }

    World world(GameConfig());
    world.ApplyConfigValue("CollisionIterations", 12.0);
    EXPECT_EQ(12, world.GetCollisionIterations());
    // Not a number, not an integer, out of range: the old value stays.
    for (std::optional<double> bad :
         {std::optional<double>(), std::optional<double>(0.0), std::optional<double>(-3.0),
          std::optional<double>(2.5), std::optional<double>(1e9),
          std::optional<double>(std::nan(""))}) {
        world.ApplyConfigValue("CollisionIterations", bad);
        EXPECT_EQ(12, world.GetCollisionIterations());
    }
    world.ApplyConfigValue("GlobalCFM", 0.001);
    world.ApplyConfigValue("GlobalCFM", -1.0);
    world.ApplyConfigValue("GlobalCFM", std::nullopt);
    EXPECT_DOUBLE_EQ(0.001, dWorldGetCFM(world.GetWorldID()));
    world.ApplyConfigValue("GlobalERP", 0.5);
    world.ApplyConfigValue("GlobalERP", 1.5);
    EXPECT_DOUBLE_EQ(0.5, dWorldGetERP(world.GetWorldID()));
    world.ApplyConfigValue("music_volume", 3.0);
    EXPECT_EQ(12, world.GetCollisionIterations());

    // The new count takes effect at the next step.
    auto ball = MakeBall(world, 100, 100, 8, 0, 0);
    ball->geom->ShiftGradually(10.0);
    world.ApplyConfigValue("CollisionIterations", 3.0);
    world.Step(kFrame, nullptr, nullptr);
    EXPECT_NEAR(103.0, ball->geom->GetCenter().y, 1e-9);
}
