#pragma once
// Intersection tests of segments, lines and circles, and the 2-D rotation matrix.
#include "geometry/Point.h"

// True when segment p1-p2 crosses segment p3-p4 (0 < ua <= 1, 0 <= ub <= 1; parallel
// or degenerate segments never cross). When they cross and out is given, it receives the
// crossing point.
bool IntersectLineSegments(const Point2f& p1, const Point2f& p2, const Point2f& p3,
                           const Point2f& p4, Point2f* out = nullptr);

// Crossings of the infinite line through p1 and p2 with the circle: 0, 1 (tangent, into
// out1) or 2 (out1 and out2). Both outputs are required (assertion); with no crossing
// they are left untouched. Equal p1 and p2 define no line and give 0.
int IntersectLineCircle(const Point2f& p1, const Point2f& p2, const Point2f& center, float radius,
                        Point2f* intersectPt1, Point2f* intersectPt2);

// Nine floats, row-major.
struct Matrix3x3
{
    float m[9] = {1, 0, 0, 0, 1, 0, 0, 0, 1};

    // A rotation by degrees about the origin: rows (cos, -sin, 0), (sin, cos, 0), (0, 0, 1).
    void SetRotation(float degrees);
};
