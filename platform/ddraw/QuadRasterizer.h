#pragma once
// The fast path for what the game draws most: a four-vertex triangle strip covering a
// screen-aligned rectangle, flat or textured with coordinates that follow the rectangle's
// axes (each texel column fixed along a pixel column, each texel row along a pixel row),
// under one diffuse colour and point sampling. Texel rows and columns are looked up once
// per draw and whole rows go through the pixel pipeline's row loops.
//
// It promises the pixels the general Rasterizer would draw for the strip's two triangles,
// bit for bit. Where it cannot promise that (any other shape or state, or a texel
// coordinate too close to a texel boundary to be sure which side the general path lands
// on) it draws nothing and says so, and the caller draws the triangles the general way.
#include "ddraw/PixelPipeline.h"
#include "ddraw/RasterTypes.h"

namespace ddrawx {

class QuadRasterizer
{
public:
    // Draws with `state` (which must outlive the rasteriser), using `scratch` for tables.
    QuadRasterizer(const RasterState& state, RasterScratch& scratch)
        : m_State(state), m_Scratch(scratch)
    {
    }

    // Draws the strip v[0..3] (triangles v0 v1 v2 and v2 v1 v3) when it can; true when the
    // strip is done (drawn, or culled), false when nothing was drawn and the caller must
    // draw the triangles itself.
    bool DrawStrip(const RasterVertex v[4]);

    // How many strips this path has drawn (or culled) since the program started.
    static long DrawnCount();

private:
    // The corners of the strip on the subpixel grid, each vertex's place among them.
    struct Corners
    {
        std::int64_t x0, x1, y0, y1; // x0 < x1, y0 < y1
        bool right[4], bottom[4];
    };

    bool FindCorners(const RasterVertex v[4], Corners& out) const;
    // Texel index per covered pixel along one axis (-1 for the border colour): pixel
    // centres p = first..last (pixels), edges e0 < e1 (1/256 pixel) carrying texture
    // coordinates c0 and c1, n texels, address mode. False when an index is uncertain.
    static bool AxisTable(std::int64_t first, std::int64_t last, std::int64_t e0, std::int64_t e1,
                          double c0, double c1, int n, DWORD mode, std::vector<int>& out);
    // Runs the pixels x0..x1 of rows y0..y1 through the pipeline, from the texel tables
    // when textured.
    void DrawRows(const PixelPipeline& pipeline, std::int64_t x0, std::int64_t x1, std::int64_t y0,
                  std::int64_t y1, bool textured);
    // DrawRows for a colour-keyed texture: pixels whose texel has the key stay as they are.
    void DrawKeyedRows(const PixelPipeline& pipeline, std::int64_t x0, int count, std::int64_t y0,
                       std::int64_t y1);

    const RasterState& m_State;
    RasterScratch& m_Scratch;
};

} // namespace ddrawx
