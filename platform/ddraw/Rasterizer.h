#pragma once
// The device's general triangle rasteriser: coverage, interpolation, the texture stage cascade
// and alpha blending into a 32-bit target (the rules are listed in d3d.h). It draws any
// triangle in any state the device accepts; QuadRasterizer draws the common screen-aligned
// quads faster with the same result.
#include "ddraw/PixelPipeline.h"
#include "ddraw/RasterTypes.h"

#include <cstdint>

namespace ddrawx {

// A triangle snapped to the subpixel grid, with its edge functions and texture filters.
struct TriangleSetup
{
    const RasterVertex* v[3];
    std::int64_t X[3], Y[3]; // 1/256 pixel
    // Edge i runs between the two vertices other than i: e = dx (y - ey) - dy (x - ex) is
    // positive inside, and a pixel centre on the edge counts when e + bias >= 0 (bias 0 for
    // top and left edges, -1 for the others).
    std::int64_t ex[3], ey[3], dx[3], dy[3], bias[3];
    double areaAbs;                   // twice the area, in (1/256 pixel)^2
    bool minify[D3DMAXTEXTURESTAGES]; // per stage: the minification filter applies
};

class Rasterizer
{
public:
    static constexpr int kSubpixelBits = 8;
    // One pixel on the subpixel grid.
    static constexpr std::int64_t kSubpixelOne = std::int64_t(1) << kSubpixelBits;

    // Draws with `state` (which must outlive the rasteriser), using `scratch` for rows.
    Rasterizer(const RasterState& state, RasterScratch& scratch);

    // Snaps and measures a triangle. False when nothing is to be drawn: no area, or culled.
    static bool Setup(const RasterState& state, const RasterVertex& a, const RasterVertex& b,
                      const RasterVertex& c, TriangleSetup& out);
    // A position in pixels on the subpixel grid (1/256 pixel), kept within the guard band.
    static std::int64_t Snap(double value);
    // Texel index i of a row or column of n texels under an address mode; border is set when
    // a border mode leaves the texture.
    static long Address(long i, long n, DWORD mode, bool& border);
    // floor(a / b) for b > 0.
    static std::int64_t FloorDiv(std::int64_t a, std::int64_t b);

    void DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c);

    // Reference drawing (off by default): every pixel shaded and blended one by one by the
    // rules themselves, and devices leave out the quad fast path. For tests comparing the
    // faster ways with the rules.
    static void SetReferenceOnly(bool on);
    static bool ReferenceOnly();

private:
    // What the pixel loop of one triangle reads besides the weights.
    struct Shading
    {
        Rgba factor;
        double rhw[3];    // usable reciprocals of w (1 where a vertex has none)
        bool flatDiffuse; // all three vertices share one diffuse colour
    };

    // The columns of row py inside the triangle, within [lo, hi]; false when there are none.
    static bool RowSpan(const TriangleSetup& t, std::int64_t py, std::int64_t& lo,
                        std::int64_t& hi);
    // The colour of the pixel at `weights` after the whole stage cascade.
    Rgba Shade(const double weights[3], const TriangleSetup& t, const Shading& shading) const;
    // The texel stage s samples at `weights`.
    Rgba SampleStage(int s, const double weights[3], const TriangleSetup& t,
                     const Shading& shading) const;
    // The texture coordinates of stage s at `weights`.
    void StageCoordinates(int s, const double weights[3], const TriangleSetup& t,
                          const Shading& shading, double& u, double& v) const;
    // Whether a colour-keyed stage leaves out the pixel at `weights`.
    bool KeyedOut(const double weights[3], const TriangleSetup& t, const Shading& shading) const;
    Rgba Sample(const RasterStage& stage, double u, double v, bool minify) const;
    Rgba Texel(const RasterStage& stage, long i, long j) const;

    const RasterState& m_State;
    RasterScratch& m_Scratch;
    bool m_Reference;
    PixelPipeline m_Pipeline; // for rows shaded pixel by pixel
};

} // namespace ddrawx
