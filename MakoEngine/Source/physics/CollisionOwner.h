#pragma once
// What the world asks of the object that owns a geometry (the play-field objects
// implement it). The world never owns its owners; an owner must outlive its geometry.
#include "physics/Vector2D.h"

#include <cstdint>

// A set of edges of a shape, bit i standing for edge i (a rectangle: top 1, right 2,
// bottom 4, left 8). Wide enough for the 64 edges of the largest polygon.
using EdgeMask = std::uint64_t;

class CollisionOwner
{
public:
    // True when this object lets a contact with `other` at (x, y) pass without a
    // physical response from its side. A contact gets a contact joint unless both owners
    // answer true; the second owner is asked only when the first answered true. It is
    // asked during the world's step and may make and delete bodies and geometries (World
    // says when that takes effect); a pair either of whose geometries was deleted while
    // it was asked makes no contact.
    virtual bool AcceptsCollision(CollisionOwner* other, double x, double y) = 0;

    // Number of edges that NormalAtEdge answers for. Owners without edges answer 0, and
    // the contact pass then leaves the normals of their neighbouring contacts alone.
    virtual int GetNumEdges() const { return 0; }

    // The outward unit normal of edge i, where i is the lowest set bit of edgeMask, near
    // the point (x, y) of the play field. It is given in play-field (world) coordinates:
    // a rotated shape turns its own edge normals by its rotation before answering, since
    // the contact pass compares them with the normals of world contacts.
    virtual Vector2D NormalAtEdge(EdgeMask edgeMask, double x, double y) const;

protected:
    ~CollisionOwner() = default;
};
