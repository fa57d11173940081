#pragma once
// Edge normals of the play field's shapes, shared by the contact pass's snapping and the
// shapes that answer CollisionOwner::NormalAtEdge, so both agree on one convention.
// Shapes give their normals in their own frame; TurnToField turns them into the play
// field's frame by the shape's rotation, which is how the contact pass compares them.
#include "geometry/Poly.h"
#include "physics/Vector2D.h"

// The outward unit normal of edge 0 (top), 1 (right), 2 (bottom) or 3 (left) of an
// unrotated box; any other index gives the zero vector.
Vector2D BoxEdgeNormal(int edge);

// The unit normal of a polygon edge: its direction (end - start) turned by +90 degrees,
// which points out of a polygon whose vertices run counter-clockwise on the screen
// (y downwards). A degenerate edge gives (1, 0).
Vector2D PolygonEdgeNormal(const Poly::Edge& edge);

// A direction of a shape turned by the shape's rotation in degrees, the way a geometry
// turned by PhysicsGeom::SetRotation turns it: x' = x cos r - y sin r, y' = x sin r + y cos r.
Vector2D TurnToField(const Vector2D& local, double degrees);
