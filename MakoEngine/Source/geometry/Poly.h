#pragma once
// A polygon of float vertices with its edge list. The edge list is derived: every change
// of the vertices rebuilds it through BuildEdges, and it is never edited by itself.
// Script form: a list of point tables, at most kMaxLuaVertices of them.
#include "core/Lifetime.h"
#include "geometry/Point.h"
#include "geometry/Rect.h"

#include <cstddef>
#include <vector>

class Poly
{
public:
    static constexpr int kMaxLuaVertices = 64;

    // One side of the polygon, from its start vertex to its end vertex.
    struct Edge
    {
        Point2f start;
        Point2f end;
    };

    Poly() = default;
    // From a script list of points; an empty list gives an empty polygon.
    explicit Poly(const LuaPlus::LuaObject& vertexTable);

    // Replaces the vertices with those of a script list of points (Point2f::SetPoint).
    // An empty list leaves the polygon as it was. A value that is not a table, more than
    // 64 entries or an entry that is not a table raise the engine's assertion exception
    // and leave the polygon unchanged.
    void SetPoly(const LuaPlus::LuaObject& vertexTable);
    // The four corners (x, y), (x, y + h), (x + w, y + h), (x + w, y).
    void SetFromRect(const SDL_Rect& rect);

    // Replaces the vertex list with [first, last) and rebuilds the edges.
    void SetVertices(const Point2f* first, const Point2f* last);
    void SetVertices(const std::vector<Point2f>& vertices);
    // Empties vertices and edges.
    void Clear();

    // Rebuilds the edge list from the vertex list: edge i (1 <= i < n) runs from vertex
    // i - 1 to vertex i and the last edge closes the polygon from vertex n - 1 back to
    // vertex 0. One vertex gives the single edge from the vertex to itself; no vertex
    // gives no edge.
    void BuildEdges();

    // A new script list of point tables (state null: the engine's script state).
    LuaPlus::LuaObject ToLuaObject(LuaPlus::LuaState* state = nullptr) const;

    // Even-odd rule; a polygon without edges contains nothing.
    bool ContainsPoint(float px, float py) const;
    // A vertex inside the rectangle, a rectangle corner inside the polygon, or a crossing
    // of a rectangle side with an edge.
    bool IntersectsRect(const SDL_Rect& rect) const;

    const std::vector<Point2f>& GetVertices() const MAKO_LIFETIMEBOUND { return m_Vertices; }
    const std::vector<Edge>& GetEdges() const MAKO_LIFETIMEBOUND { return m_Edges; }
    std::size_t GetNumVertices() const { return m_Vertices.size(); }
    std::size_t GetNumEdges() const { return m_Edges.size(); }

private:
    std::vector<Point2f> m_Vertices;
    std::vector<Edge> m_Edges;
};
