#pragma once
// Ball: the round projectile of the play field.
#include "field/ArcadeStructure.h"
#include "field/Paddle.h"
#include "scene/ActorLink.h"

class Ball : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    Ball();
    // A ball whose body will be built at (x, y) (its centre) with velocity (vx, vy).
    Ball(double x, double y, double vx, double vy, bool active);

    void SetActive(bool active);
    bool IsActive() const { return m_Active; }
    void AttachToPaddle(Paddle* paddle, bool inactive);
    // The holding paddle; null when free (also once the paddle has been killed).
    Paddle* GetPaddle() const { return m_Paddle.Get(); }
    // Breaks the ball into particles (the controller's emitters).
    virtual void Explode(ArcadeGameLogic* logic);

protected:
    bool m_Active = false;
    ActorLink<Paddle> m_Paddle;
};
