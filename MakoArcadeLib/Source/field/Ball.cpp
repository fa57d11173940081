#include "field/Ball.h"

#include "core/Class.h"
#include "field/Paddle.h"

MAKO_IMPLEMENT_CLASS(Ball, "Ball", "ArcadeStructure", nullptr, &InstantiateObjectOfClass<Ball>);

Ball::Ball()
{
    SetCircle(8.0);
    SetMovable(true);
    SetCategoryBits(1);
    SetCollideBits(219);
}

Ball::Ball(double x, double y, double vx, double vy, bool active) : Ball()
{
    SetPosition(int(x) - 8, int(y) - 8);
    m_Active = active;
}

void Ball::SetActive(bool active)
{
    m_Active = active;
}

void Ball::AttachToPaddle(Paddle* paddle, bool inactive)
{
    m_Paddle.Set(paddle);
    if (paddle)
        paddle->AddHeldBall(this);
    if (inactive)
        m_Active = false;
}

void Ball::Explode(ArcadeGameLogic* logic) {}
