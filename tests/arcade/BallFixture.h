#pragma once
// The ball tests' field: a stepping world with the recording controller (and its particle
// manager), the game's resources and sounds, the default speed limits and a seeded random
// generator; plus a few ways to set and read a ball's inner state.
#include "FieldScene.h"

#include "core/Log.h"
#include "core/Random.h"
#include "field/Ball.h"
#include "physics/PhysicsBody.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>

namespace fieldtest {

// Reaches the ball's protected state through member pointers (no object of this type is
// ever made).
struct BallAccess : Ball
{
    static constexpr int Ball::*Energy() { return &BallAccess::m_Energy; }
    static constexpr double Ball::*Speed() { return &BallAccess::m_Speed; }
    static constexpr double Ball::*EnergySpeed() { return &BallAccess::m_EnergySpeed; }
    static constexpr int Ball::*SoundCooldown() { return &BallAccess::m_SoundCooldown; }
    static constexpr int Ball::*LoopCount() { return &BallAccess::m_LoopCount; }
};

inline void SetSpeedAndEnergy(Ball* ball, double speed, int energy)
{
    ball->*BallAccess::Speed() = speed;
    ball->*BallAccess::Energy() = energy;
}

inline double EnergySpeedOf(const Ball* ball)
{
    return ball->*BallAccess::EnergySpeed();
}

inline double SpeedOf(const ArcadeStructure* s)
{
    const Vector2D v = s->GetPhysicsBody()->GetLinearVel();
    return std::sqrt(v.x * v.x + v.y * v.y);
}

class BallTest : public FieldTest
{
protected:
    BallTest()
    {
        gBallSpeed = BallSpeedLimits();
        MakoSrand(7);
    }

    // An active free ball centred on (x, y) moving with (vx, vy), in the field.
    Ball* AddBall(double x, double y, double vx, double vy, bool active = true)
    {
        Ball* ball = new Ball(x, y, vx, vy, active);
        logic.AddBall(ball);
        return ball;
    }
    // A wall-like box (top-left corner) of the given class bit, in the field.
    ArcadeStructure* AddBox(int x, int y, double w, double h)
    {
        ArcadeStructure* box = MakeBox(x, y, w, h);
        box->SetCategoryBits(128);
        return root->Place(box);
    }
};

} // namespace fieldtest
