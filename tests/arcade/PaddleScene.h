#pragma once
// A field with one paddle for the paddle's tests: the game's resources and sounds, a
// recording controller, and a probe that reaches the paddle's own rules (its swing
// parameters, its block and wall handling) without the classes that trigger them.
#include "FieldScene.h"

#include "physics/PhysicsBody.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace fieldtest {

class PaddleProbe : public Paddle
{
public:
    using Paddle::HitBlock;
    using Paddle::HitWall;
    using Paddle::m_Swing;
    using Paddle::Paddle;
    // Forces the power without a stroke (as collected power-ups and strokes would).
    void SetPowerForTest(double power) { m_Power = power; }
};

class PaddleTest : public FieldTest
{
protected:
    // A paddle of that placement put into the field; a bottom paddle's centre is at
    // (332, 408).
    PaddleProbe* AddPaddle(bool vertical = false, bool facePositive = false)
    {
        PaddleProbe* paddle = new PaddleProbe(vertical, facePositive);
        if (vertical)
            paddle->SetPosition(facePositive ? 20 : 580, 200);
        else if (facePositive)
            paddle->SetPosition(300, 40);
        return root->Place(paddle);
    }

    // A free ball centred on (cx, cy) moving at (vx, vy), in the field.
    Ball* AddBall(double cx, double cy, double vx, double vy)
    {
        Ball* ball = new Ball();
        ball->SetPosition(int(cx) - 8, int(cy) - 8);
        root->Place(ball);
        ball->GetPhysicsBody()->SetPosition(cx, cy);
        ball->GetPhysicsBody()->SetLinearVel(vx, vy);
        return ball;
    }

    // The swing states a paddle goes through while the steps run, one entry per change.
    // Steps: 'P' press, 'R' release, '.' one pass, digits n: n passes.
    std::vector<int> Trace(Paddle* paddle, const std::string& steps)
    {
        std::vector<int> states{paddle->GetSwingState()};
        auto note = [&] {
            if (states.back() != paddle->GetSwingState())
                states.push_back(paddle->GetSwingState());
        };
        for (char c : steps) {
            int ticks = 0;
            if (c == 'P')
                paddle->Press();
            else if (c == 'R')
                paddle->Release();
            else if (c == '.')
                ticks = 1;
            else if (c >= '1' && c <= '9')
                ticks = (c - '0') * 10;
            note();
            for (int i = 0; i < ticks; ++i) {
                passes.Step();
                note();
            }
        }
        return states;
    }
};

} // namespace fieldtest
