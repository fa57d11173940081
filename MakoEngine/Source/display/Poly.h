#pragma once
// A polygon of float vertices with its edge list. The edge list is derived: every change
// of the vertices rebuilds it through BuildEdges, and it is never edited by itself.
#include "display/Point.h"

#include <cstddef>
#include <vector>

class Poly
{
public:
    // One side of the polygon, from its start vertex to its end vertex.
    struct Edge
    {
        Point2f start;
        Point2f end;
    };

    Poly() = default;

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

    const std::vector<Point2f>& GetVertices() const { return m_Vertices; }
    const std::vector<Edge>& GetEdges() const { return m_Edges; }
    std::size_t GetNumVertices() const { return m_Vertices.size(); }
    std::size_t GetNumEdges() const { return m_Edges.size(); }

private:
    std::vector<Point2f> m_Vertices;
    std::vector<Edge> m_Edges;
};
