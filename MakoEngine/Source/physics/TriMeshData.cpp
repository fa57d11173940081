#include "physics/TriMeshData.h"

#include "core/Exception.h"

namespace {

// Twice the signed area of the polygon (positive when its vertices turn
// counter-clockwise in a y-up frame).
double SignedArea2(const std::vector<Point2f>& v)
{
    double sum = 0.0;
    const std::size_t n = v.size();
    for (std::size_t i = 0; i < n; ++i) {
        const Point2f& a = v[i];
        const Point2f& b = v[(i + 1) % n];
        sum += double(a.x) * b.y - double(b.x) * a.y;
    }
    return sum;
}

} // namespace

TriMeshData::TriMeshData(const Poly& polygon) : m_Polygon(polygon)
{
    std::vector<Point2f> ring = polygon.GetVertices();
    const int n = int(ring.size());
    MAKO_ASSERT_MSG(n >= 3, "a mesh needs a polygon of at least three vertices");

    // The side triangles (k, k + 1, n + k + 1) face along the edge direction turned by
    // +90 degrees, which points out of the prism when the ring has negative signed area.
    // A ring of the other winding is walked backwards.
    if (SignedArea2(ring) > 0.0)
        ring.assign(polygon.GetVertices().rbegin(), polygon.GetVertices().rend());

    m_VertexCount = 2 * n;
    m_Vertices.resize(3 * m_VertexCount);
    for (int i = 0; i < n; ++i) {
        float* top = &m_Vertices[3 * i];
        float* bottom = &m_Vertices[3 * (n + i)];
        top[0] = bottom[0] = ring[i].x;
        top[1] = bottom[1] = ring[i].y;
        top[2] = kHalfDepth;
        bottom[2] = -kHalfDepth;
    }

    m_IndexCount = 6 * n;
    m_Indices.reserve(m_IndexCount);
    auto triangle = [this](int a, int b, int c) {
        m_Indices.push_back(a);
        m_Indices.push_back(b);
        m_Indices.push_back(c);
    };
    for (int k = 0; k + 1 < n; ++k) {
        triangle(k, n + k + 1, n + k);
        triangle(k, k + 1, n + k + 1);
    }
    triangle(n - 1, n, 2 * n - 1);
    triangle(n - 1, 0, n);

    m_Data = dGeomTriMeshDataCreate();
    dGeomTriMeshDataBuildSingle(m_Data, m_Vertices.data(), 3 * sizeof(float), m_VertexCount,
                                m_Indices.data(), m_IndexCount, 3 * sizeof(int));
}

TriMeshData::~TriMeshData()
{
    if (m_Data)
        dGeomTriMeshDataDestroy(m_Data);
}
