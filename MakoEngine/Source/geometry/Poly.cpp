#include "geometry/Poly.h"

#include "core/Exception.h"
#include "core/ValueTypeError.h"
#include "geometry/Intersection.h"
#include "lua/MakoLuaState.h"

#include <array>
#include <string>

using LuaPlus::LuaObject;

namespace {

// A script list seen the way the polygon reader checks it: GetN is the list's length.
struct VertexList
{
    const LuaObject& table;
    bool IsTable() const { return table.IsTable(); }
    int GetN() const { return table.GetCount(); }
};

} // namespace

Poly::Poly(const LuaObject& vertexTable)
{
    SetPoly(vertexTable);
}

void Poly::SetPoly(const LuaObject& vertexTableObject)
{
    const VertexList vertexTable{vertexTableObject};
    const int n = vertexTable.GetN();
    if (n == 0)
        return;
    // The points may come from data: what is not a polygon is a type error.
    if (!vertexTable.IsTable())
        MAKO_THROW_VALUE_TYPE("a table of at most 64 points", vertexTableObject);
    if (n > kMaxLuaVertices)
        throw ValueTypeError(MAKO_WHERE, "a table of at most 64 points",
                             "a table of " + std::to_string(n) + " points");
    // Read everything first, so a failing entry leaves the polygon as it was.
    std::array<Point2f, kMaxLuaVertices> scratch;
    for (int i = 1; i <= n; ++i) {
        LuaObject vertexSpec = vertexTableObject[i];
        if (!Point2f::IsPoint(vertexSpec))
            MAKO_THROW_VALUE_TYPE("a table of points { x, y }", vertexSpec);
        scratch[i - 1].SetPoint(vertexSpec);
    }
    SetVertices(scratch.data(), scratch.data() + n);
}

void Poly::SetFromRect(const SDL_Rect& rect)
{
    const float x = rect.x;
    const float y = rect.y;
    const float r = static_cast<float>(rect.x + rect.w);
    const float b = static_cast<float>(rect.y + rect.h);
    const Point2f corners[4] = {{x, y}, {x, b}, {r, b}, {r, y}};
    SetVertices(corners, corners + 4);
}

void Poly::SetVertices(const Point2f* first, const Point2f* last)
{
    m_Vertices.assign(first, last);
    BuildEdges();
}

void Poly::SetVertices(const std::vector<Point2f>& vertices)
{
    m_Vertices = vertices;
    BuildEdges();
}

void Poly::Clear()
{
    m_Vertices.clear();
    m_Edges.clear();
}

void Poly::BuildEdges()
{
    m_Edges.clear();
    const std::size_t n = m_Vertices.size();
    if (n == 0)
        return;
    m_Edges.reserve(n);
    for (std::size_t i = 1; i < n; ++i)
        m_Edges.push_back(Edge{m_Vertices[i - 1], m_Vertices[i]});
    m_Edges.push_back(Edge{m_Vertices[n - 1], m_Vertices[0]});
}

LuaObject Poly::ToLuaObject(LuaPlus::LuaState* state) const
{
    if (!state)
        state = GetGlobalLuaState();
    LuaObject list;
    list.AssignNewTable(state, static_cast<int>(m_Vertices.size()), 0);
    for (std::size_t i = 0; i < m_Vertices.size(); ++i)
        list.SetObject(static_cast<int>(i + 1), m_Vertices[i].ToLuaObject(state));
    return list;
}

bool Poly::ContainsPoint(float px, float py) const
{
    bool inside = false;
    for (const Edge& edge : m_Edges) {
        const Point2f& s = edge.start;
        const Point2f& e = edge.end;
        const bool endAtOrAbove = e.y <= py;
        if ((s.y <= py) == endAtOrAbove)
            continue;
        const float D = s.y - e.y;
        const bool test = D * (e.x - px) <= (e.y - py) * (s.x - e.x);
        if (test == endAtOrAbove)
            inside = !inside;
    }
    return inside;
}

bool Poly::IntersectsRect(const SDL_Rect& rect) const
{
    const int left = rect.x;
    const int top = rect.y;
    const int right = rect.x + rect.w;
    const int bottom = rect.y + rect.h;
    for (const Point2f& v : m_Vertices) {
        const int vx = static_cast<int>(v.x);
        const int vy = static_cast<int>(v.y);
        if (left <= vx && vx < right && top <= vy && vy < bottom)
            return true;
    }
    const Point2f corners[4] = {Point2f(static_cast<float>(left), static_cast<float>(top)),
                                Point2f(static_cast<float>(left), static_cast<float>(bottom)),
                                Point2f(static_cast<float>(right), static_cast<float>(bottom)),
                                Point2f(static_cast<float>(right), static_cast<float>(top))};
    for (const Point2f& c : corners)
        if (ContainsPoint(c.x, c.y))
            return true;
    for (int i = 0; i < 4; ++i) {
        const Point2f& a = corners[i];
        const Point2f& b = corners[(i + 1) % 4];
        for (const Edge& edge : m_Edges)
            if (IntersectLineSegments(a, b, edge.start, edge.end))
                return true;
    }
    return false;
}
