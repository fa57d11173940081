#pragma once
// The triangle mesh of a polygon extruded 100 pixels to either side of the play-field
// plane: the sides of a prism, without caps (nothing moves along z, so nothing can
// reach a cap). Owned by the mesh geometry that uses it; the ODE mesh data refers to the
// vertex and index arrays held here, so they live exactly as long as this object.
#include "geometry/Poly.h"

#include <ode/ode.h>

#include <vector>

class TriMeshData
{
public:
    // Builds the mesh of a polygon of at least three vertices, in either winding; the
    // triangles are always wound so that their normals point out of the prism.
    explicit TriMeshData(const Poly& polygon);
    ~TriMeshData();
    TriMeshData(const TriMeshData&) = delete;
    TriMeshData& operator=(const TriMeshData&) = delete;

    dTriMeshDataID GetID() const { return m_Data; }
    // The source polygon as given.
    const Poly& GetPolygon() const MAKO_LIFETIMEBOUND { return m_Polygon; }

    // 2n vertices for n polygon vertices: the polygon at z = 100, then at z = -100.
    int GetVertexCount() const { return m_VertexCount; }
    const std::vector<float>& GetVertices() const MAKO_LIFETIMEBOUND { return m_Vertices; }
    // 6n indices, two triangles per side of the polygon.
    int GetIndexCount() const { return m_IndexCount; }
    const std::vector<int>& GetIndices() const MAKO_LIFETIMEBOUND { return m_Indices; }

    // Half the thickness of the prism, in pixels.
    static constexpr float kHalfDepth = 100.0f;

private:
    dTriMeshDataID m_Data = nullptr;
    Poly m_Polygon;
    int m_VertexCount = 0;
    std::vector<float> m_Vertices;
    int m_IndexCount = 0;
    std::vector<int> m_Indices;
};
