#include "field/Ball.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(Ball, "Ball", "ArcadeStructure", nullptr, &InstantiateObjectOfClass<Ball>);

Ball::Ball()
{
    SetCircle(8.0);
    SetMovable(true);
}
