#include "geometry/Intersection.h"

#include "core/Exception.h"

#include <cmath>

bool IntersectLineSegments(const Point2f& p1, const Point2f& p2, const Point2f& p3,
                           const Point2f& p4, Point2f* out)
{
    const float d = (p2.x - p1.x) * (p4.y - p3.y) - (p4.x - p3.x) * (p2.y - p1.y);
    if (d == 0)
        return false;
    const float ua = ((p1.y - p3.y) * (p4.x - p3.x) - (p1.x - p3.x) * (p4.y - p3.y)) / d;
    const float ub = ((p1.y - p3.y) * (p2.x - p1.x) - (p1.x - p3.x) * (p2.y - p1.y)) / d;
    if (!(ua > 0 && ua <= 1 && ub >= 0 && ub <= 1))
        return false;
    if (out) {
        out->x = p1.x + ua * (p2.x - p1.x);
        out->y = p1.y + ua * (p2.y - p1.y);
    }
    return true;
}

int IntersectLineCircle(const Point2f& p1, const Point2f& p2, const Point2f& center, float radius,
                        Point2f* intersectPt1, Point2f* intersectPt2)
{
    MAKO_ASSERT(intersectPt1 != 0);
    MAKO_ASSERT(intersectPt2 != 0);
    const float x1 = p1.x - center.x;
    const float y1 = p1.y - center.y;
    const float x2 = p2.x - center.x;
    const float y2 = p2.y - center.y;
    const float dx = x2 - x1;
    const float dy = y2 - y1;
    const float dr2 = dx * dx + dy * dy;
    // Two equal points define no line: no crossing, rather than a tangent point of 0 / 0.
    if (dr2 == 0)
        return 0;
    const float D = x1 * y2 - x2 * y1;
    const float sgn = dy < 0 ? -1.0f : 1.0f;
    const float disc = radius * radius * dr2 - D * D;
    if (disc < 0)
        return 0;
    if (disc == 0) {
        *intersectPt1 = Point2f(D * dy / dr2 + center.x, -D * dx / dr2 + center.y);
        return 1;
    }
    const float s = std::sqrt(disc);
    *intersectPt1 = Point2f((D * dy + sgn * dx * s) / dr2 + center.x,
                            (-D * dx + std::fabs(dy) * s) / dr2 + center.y);
    *intersectPt2 = Point2f((D * dy - sgn * dx * s) / dr2 + center.x,
                            (-D * dx - std::fabs(dy) * s) / dr2 + center.y);
    return 2;
}

void Matrix3x3::SetRotation(float degrees)
{
    const float a = static_cast<float>(degrees * 0.017453292519943295);
    const float c = std::cos(a);
    const float s = std::sin(a);
    const float rows[9] = {c, -s, 0, s, c, 0, 0, 0, 1};
    for (int i = 0; i < 9; ++i)
        m[i] = rows[i];
}
