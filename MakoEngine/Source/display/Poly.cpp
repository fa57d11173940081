#include "display/Poly.h"

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
