#include "physics/CollisionOwner.h"

#include "core/Exception.h"

Vector2D CollisionOwner::NormalAtEdge(EdgeMask edgeMask, double x, double y) const
{
    // An owner that reports edges must answer for them.
    MAKO_THROW(Exception, "A collision owner reported edges it cannot give the normal of.");
}
