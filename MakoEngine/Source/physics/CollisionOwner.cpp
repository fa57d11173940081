#include "physics/CollisionOwner.h"

#include "core/Exception.h"

Vector2D CollisionOwner::NormalAtEdge(EdgeMask edgeMask, double x, double y) const
{
    // An owner that reports edges must answer for them.
    MAKO_ASSERT(0);
    return Vector2D();
}
