#include "field/Paddle.h"

#include "core/Class.h"
#include "field/Ball.h"

MAKO_IMPLEMENT_CLASS(Paddle, "Paddle", "ArcadeStructure", nullptr,
                     &InstantiateObjectOfClass<Paddle>);

Paddle::Paddle(bool vertical, bool facePositive)
    : m_Vertical(vertical), m_FacePositive(facePositive)
{
}

void Paddle::AddHeldBall(Ball* ball)
{
    if (!m_HeldBalls.Contains(ball))
        m_HeldBalls.Add(ball);
}

void Paddle::RemoveHeldBall(Ball* ball)
{
    m_HeldBalls.Remove(ball);
}
