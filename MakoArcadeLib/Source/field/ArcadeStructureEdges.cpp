// ArcadeStructure: the geometric questions about a structure's edges and outline that the
// ball, the paddle and the contact pass ask.
#include "field/ArcadeStructure.h"

#include "core/Exception.h"
#include "core/ObjectDescription.h"
#include "physics/EdgeNormal.h"
#include "physics/PhysicsGeom.h"

#include <algorithm>
#include <cmath>

namespace {

// A line that meets no side of a pair of parallel sides is not limited by them.
constexpr double kNoLimit = 10000000.0;

int LowestEdge(EdgeMask mask)
{
    for (int i = 0; i < 64; ++i)
        if (mask & (EdgeMask(1) << i))
            return i;
    return -1;
}

// Distance from p to the segment a-b.
double DistanceToSegment(const Vector2D& p, const Vector2D& a, const Vector2D& b)
{
    const Vector2D ab = b - a;
    const double length2 = ab.Dot(ab);
    double t = length2 > 0.0 ? (p - a).Dot(ab) / length2 : 0.0;
    t = std::clamp(t, 0.0, 1.0);
    return (p - (a + ab * t)).Length();
}

} // namespace

int ArcadeStructure::GetNumEdges() const
{
    switch (m_Shape) {
    case STRUCTURE_SHAPE_RECTANGLE:
        return 4;
    case STRUCTURE_SHAPE_CIRCLE:
        return 1;
    case STRUCTURE_SHAPE_TRIMESH:
        return int(m_Polygon.GetNumEdges());
    default:
        return 0;
    }
}

Vector2D ArcadeStructure::NormalAtEdge(EdgeMask edgeMask, double x, double y) const
{
    const int i = LowestEdge(edgeMask);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE && i >= 0 && i <= 3)
        return TurnToField(BoxEdgeNormal(i), m_Rotation);
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE) {
        Vector2D n = Vector2D(x, y) - GetCentre();
        n.SetLength(1.0);
        return n;
    }
    if (m_Shape == STRUCTURE_SHAPE_TRIMESH && i >= 0 && i < int(m_Polygon.GetNumEdges()))
        return TurnToField(PolygonEdgeNormal(m_Polygon.GetEdges()[i]), m_Rotation);
    MAKO_THROW(Exception, DescribeObject(*this) + " has no edge " + std::to_string(i) + ".");
}

Vector2D ArcadeStructure::ToShapeFrame(double x, double y) const
{
    Vector2D local = TurnToField(Vector2D(x, y) - GetCentre(), -m_Rotation);
    return local + Vector2D(m_ShapeWidth / 2.0, m_ShapeHeight / 2.0);
}

EdgeMask ArcadeStructure::WhichSides(double x, double y) const
{
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        return 1;
    const Vector2D p = ToShapeFrame(x, y);
    EdgeMask mask = 0;
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE) {
        if (std::fabs(p.y) < 1.0)
            mask |= 1;
        if (std::fabs(p.y - m_ShapeHeight) < 1.0)
            mask |= 4;
        if (std::fabs(p.x) < 1.0)
            mask |= 8;
        if (std::fabs(p.x - m_ShapeWidth) < 1.0)
            mask |= 2;
        return mask;
    }
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const auto& edges = m_Polygon.GetEdges();
    for (std::size_t i = 0; i < edges.size() && i < 64; ++i) {
        const Vector2D a(edges[i].start.x, edges[i].start.y);
        const Vector2D b(edges[i].end.x, edges[i].end.y);
        if (DistanceToSegment(p, a, b) <= 0.5)
            mask |= EdgeMask(1) << i;
    }
    return mask;
}

Poly ArcadeStructure::GetOutline() const
{
    std::vector<Point2f> local;
    if (m_Shape == STRUCTURE_SHAPE_TRIMESH) {
        local = m_Polygon.GetVertices();
    } else {
        const float w = float(GetWidth()), h = float(GetHeight());
        local = {{0, 0}, {0, h}, {w, h}, {w, 0}};
    }
    const double halfW = m_Shape == STRUCTURE_SHAPE_TRIMESH ? m_ShapeWidth / 2.0 : GetWidth() / 2.0;
    const double halfH =
        m_Shape == STRUCTURE_SHAPE_TRIMESH ? m_ShapeHeight / 2.0 : GetHeight() / 2.0;
    const Vector2D centre(GetX() + GetWidth() / 2.0, GetY() + GetHeight() / 2.0);
    std::vector<Point2f> placed;
    for (const Point2f& v : local) {
        const Vector2D p = TurnToField(Vector2D(v.x - halfW, v.y - halfH), m_Rotation) + centre;
        placed.emplace_back(float(p.x), float(p.y));
    }
    Poly outline;
    outline.SetVertices(placed);
    return outline;
}

std::vector<double> ArcadeStructure::OutlineCrossings(double at, bool horizontal) const
{
    std::vector<double> crossings;
    const Poly outline = GetOutline();
    for (const Poly::Edge& e : outline.GetEdges()) {
        const double a0 = horizontal ? e.start.y : e.start.x;
        const double a1 = horizontal ? e.end.y : e.end.x;
        const double b0 = horizontal ? e.start.x : e.start.y;
        const double b1 = horizontal ? e.end.x : e.end.y;
        if (a0 == a1) {
            if (a0 == at) {
                crossings.push_back(b0);
                crossings.push_back(b1);
            }
            continue;
        }
        if ((at < std::min(a0, a1)) || (at > std::max(a0, a1)))
            continue;
        crossings.push_back(b0 + (b1 - b0) * (at - a0) / (a1 - a0));
    }
    std::sort(crossings.begin(), crossings.end());
    return crossings;
}

double ArcadeStructure::CircleExtent(double at, bool horizontal, bool maximum) const
{
    const Vector2D c = GetCentre();
    const double d = m_Radius * m_Radius - std::pow(at - (horizontal ? c.y : c.x), 2);
    if (d < 0.0)
        return 0.0;
    const double mid = horizontal ? c.x : c.y;
    return maximum ? mid + std::sqrt(d) : mid - std::sqrt(d);
}

// Each pair of parallel sides of the turned rectangle cuts the line in an interval; the
// line's stretch inside the rectangle runs between the second and third of the four ends.
double ArcadeStructure::RectangleExtent(double at, bool horizontal, bool maximum) const
{
    const Vector2D c = GetCentre();
    const double half[2] = {m_ShapeWidth / 2.0, m_ShapeHeight / 2.0};
    const Vector2D axes[2] = {TurnToField(Vector2D(1, 0), m_Rotation),
                              TurnToField(Vector2D(0, 1), m_Rotation)};
    // Points of the line: along = t, across = at.
    std::vector<double> ends;
    for (int k = 0; k < 2; ++k) {
        const Vector2D& n = axes[k];
        // Projection of a line point onto n, relative to the centre: s = along * ta + tb.
        const double ta = horizontal ? n.x : n.y;
        const double tb = horizontal ? (at - c.y) * n.y - c.x * n.x : (at - c.x) * n.x - c.y * n.y;
        if (std::fabs(ta) < 1e-12) {
            const double mid = horizontal ? c.x : c.y;
            ends.push_back(mid - kNoLimit);
            ends.push_back(mid + kNoLimit);
            continue;
        }
        ends.push_back((-half[k] - tb) / ta);
        ends.push_back((half[k] - tb) / ta);
    }
    std::sort(ends.begin(), ends.end());
    return maximum ? ends[2] : ends[1];
}

double ArcadeStructure::GetMinXAtY(double y) const
{
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        return CircleExtent(y, true, false);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        return RectangleExtent(y, true, false);
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const std::vector<double> c = OutlineCrossings(y, true);
    return c.empty() ? 0.0 : c.front();
}

double ArcadeStructure::GetMaxXAtY(double y) const
{
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        return CircleExtent(y, true, true);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        return RectangleExtent(y, true, true);
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const std::vector<double> c = OutlineCrossings(y, true);
    return c.empty() ? 0.0 : c.back();
}

double ArcadeStructure::GetMinYAtX(double x) const
{
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        return CircleExtent(x, false, false);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        return RectangleExtent(x, false, false);
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const std::vector<double> c = OutlineCrossings(x, false);
    return c.empty() ? 0.0 : c.front();
}

double ArcadeStructure::GetMaxYAtX(double x) const
{
    if (m_Shape == STRUCTURE_SHAPE_CIRCLE)
        return CircleExtent(x, false, true);
    if (m_Shape == STRUCTURE_SHAPE_RECTANGLE)
        return RectangleExtent(x, false, true);
    MAKO_ASSERT(m_Shape == STRUCTURE_SHAPE_TRIMESH);
    const std::vector<double> c = OutlineCrossings(x, false);
    return c.empty() ? 0.0 : c.back();
}
