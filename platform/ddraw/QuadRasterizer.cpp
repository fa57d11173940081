#include "ddraw/QuadRasterizer.h"

#include "ddraw/PixelPipeline.h"
#include "ddraw/Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace ddrawx {

namespace {

// Texel coordinates this far (relative to their size) from a texel boundary are left to
// the general path: far above the rounding of either path's double arithmetic.
constexpr double kBoundaryMargin = 1e-9;
// Larger texel coordinates are left to the general path, which clamps them.
constexpr double kLargestTexelCoordinate = 1e8;

long g_Drawn = 0;

double UsableRhw(double rhw)
{
    return (std::isfinite(rhw) && rhw > 0) ? rhw : 1.0;
}

// The first pixel whose centre lies at or after the subpixel position x.
std::int64_t FirstCentreFrom(std::int64_t x)
{
    return -Rasterizer::FloorDiv(-x, Rasterizer::kSubpixelOne);
}

} // namespace

long QuadRasterizer::DrawnCount()
{
    return g_Drawn;
}

bool QuadRasterizer::FindCorners(const RasterVertex v[4], Corners& c) const
{
    std::int64_t X[4], Y[4];
    for (int i = 0; i < 4; ++i) {
        X[i] = Rasterizer::Snap(v[i].x);
        Y[i] = Rasterizer::Snap(v[i].y);
    }
    c.x0 = std::min({X[0], X[1], X[2], X[3]});
    c.x1 = std::max({X[0], X[1], X[2], X[3]});
    c.y0 = std::min({Y[0], Y[1], Y[2], Y[3]});
    c.y1 = std::max({Y[0], Y[1], Y[2], Y[3]});
    if (c.x0 == c.x1 || c.y0 == c.y1)
        return false;
    bool seen[2][2] = {};
    for (int i = 0; i < 4; ++i) {
        if ((X[i] != c.x0 && X[i] != c.x1) || (Y[i] != c.y0 && Y[i] != c.y1))
            return false;
        c.right[i] = X[i] == c.x1;
        c.bottom[i] = Y[i] == c.y1;
        if (seen[c.right[i]][c.bottom[i]])
            return false;
        seen[c.right[i]][c.bottom[i]] = true;
    }
    // The triangles share the edge v1 v2: it must be a diagonal, so v0 and v3 are opposite.
    return c.right[0] != c.right[3] && c.bottom[0] != c.bottom[3];
}

bool QuadRasterizer::AxisTable(std::int64_t first, std::int64_t last, std::int64_t e0,
                               std::int64_t e1, double c0, double c1, int n, DWORD mode,
                               std::vector<int>& out)
{
    const double s0 = c0 * n, s1 = c1 * n;
    if (!std::isfinite(s0) || !std::isfinite(s1))
        return false;
    const double scale = std::max({1.0, std::abs(s0), std::abs(s1)});
    if (scale > kLargestTexelCoordinate)
        return false;
    const double margin = kBoundaryMargin * scale;
    // The coordinate at a pixel centre: linear between the edges, as both triangles
    // interpolate it when every vertex has the same rhw.
    const double perSubpixel = (c1 - c0) / double(e1 - e0);
    out.resize(std::size_t(last - first + 1));
    // One texel a pixel with the centres well inside their texels (an unscaled draw):
    // the texels follow one another, as the loop below would find them.
    const double step = perSubpixel * double(Rasterizer::kSubpixelOne) * n;
    const double s0First = (c0 + perSubpixel * double(first * Rasterizer::kSubpixelOne - e0)) * n;
    const double cellFirst = std::floor(s0First);
    const double span = double(last - first);
    if (std::abs(step - 1.0) * (span + 1.0) < 1e-6 && s0First - cellFirst > 1e-3 &&
        s0First - cellFirst < 1.0 - 1e-3 && cellFirst >= 0 && cellFirst + span < double(n)) {
        for (std::size_t k = 0; k < out.size(); ++k)
            out[k] = int(cellFirst) + int(k);
        return true;
    }
    for (std::int64_t p = first; p <= last; ++p) {
        const double s = (c0 + perSubpixel * double(p * Rasterizer::kSubpixelOne - e0)) * n;
        // floor(s), exact for coordinates within the largest allowed.
        long cell = long(s);
        cell -= double(cell) > s;
        const double fraction = s - double(cell);
        if (fraction < margin || fraction > 1.0 - margin)
            return false;
        bool border = false;
        const long index = Rasterizer::Address(cell, n, mode, border);
        out[std::size_t(p - first)] = border ? -1 : int(index);
    }
    return true;
}

bool QuadRasterizer::DrawStrip(const RasterVertex v[4])
{
    if (m_State.stageCount > 1)
        return false;
    Corners c;
    if (!FindCorners(v, c))
        return false;
    TriangleSetup first, second;
    const bool drawFirst = Rasterizer::Setup(m_State, v[0], v[1], v[2], first);
    const bool drawSecond = Rasterizer::Setup(m_State, v[2], v[1], v[3], second);
    if (drawFirst != drawSecond)
        return false;
    if (!drawFirst) {
        ++g_Drawn; // both triangles culled
        return true;
    }
    for (int i = 1; i < 4; ++i)
        if (!SameColour(v[i].diffuse, v[0].diffuse))
            return false;
    const PixelPipeline pipeline = PixelPipeline::ForTexels(m_State, v[0].diffuse);
    // A keyed texture decides which pixels are drawn even when its colours are not used.
    const bool textured =
        m_State.stageCount == 1 && (pipeline.ReadsSource() || m_State.stages[0].keyed);
    if (textured) {
        const RasterStage& stage = m_State.stages[0];
        if (stage.texture.pixels == m_State.target.pixels)
            return false; // drawing a surface into itself: leave the order to the general path
        for (const TriangleSetup* t : {&first, &second})
            if ((t->minify[0] ? stage.minFilter : stage.magFilter) == D3DTFG_LINEAR)
                return false;
        const double rhw = UsableRhw(v[0].rhw);
        if (rhw < 1e-30 || rhw > 1e30)
            return false;
        for (int i = 1; i < 4; ++i)
            if (UsableRhw(v[i].rhw) != rhw)
                return false;
    }
    // Pixel centres inside the rectangle: left and top edges in, right and bottom out.
    const std::int64_t x0 = std::max<std::int64_t>(m_State.left, FirstCentreFrom(c.x0));
    const std::int64_t x1 = std::min<std::int64_t>(m_State.right - 1, FirstCentreFrom(c.x1) - 1);
    const std::int64_t y0 = std::max<std::int64_t>(m_State.top, FirstCentreFrom(c.y0));
    const std::int64_t y1 = std::min<std::int64_t>(m_State.bottom - 1, FirstCentreFrom(c.y1) - 1);
    if (textured && x0 <= x1 && y0 <= y1) {
        const RasterStage& stage = m_State.stages[0];
        const int set = stage.texCoordSet;
        float u[2] = {0, 0}, t[2] = {0, 0};
        bool haveU[2] = {false, false}, haveT[2] = {false, false};
        for (int i = 0; i < 4; ++i) {
            // Texture coordinates must follow the axes: u fixed along each vertical edge,
            // v along each horizontal one.
            const int side = c.right[i], edge = c.bottom[i];
            if ((haveU[side] && u[side] != v[i].u[set]) || (haveT[edge] && t[edge] != v[i].v[set]))
                return false;
            u[side] = v[i].u[set];
            t[edge] = v[i].v[set];
            haveU[side] = haveT[edge] = true;
        }
        if (!AxisTable(x0, x1, c.x0, c.x1, u[0], u[1], stage.texture.width, stage.addressU,
                       m_Scratch.columns) ||
            !AxisTable(y0, y1, c.y0, c.y1, t[0], t[1], stage.texture.height, stage.addressV,
                       m_Scratch.lines))
            return false;
    }
    ++g_Drawn;
    if (x0 <= x1 && y0 <= y1)
        DrawRows(pipeline, x0, x1, y0, y1, textured);
    return true;
}

void QuadRasterizer::DrawRows(const PixelPipeline& pipeline, std::int64_t x0, std::int64_t x1,
                              std::int64_t y0, std::int64_t y1, bool textured)
{
    const PixelBuffer& target = m_State.target;
    const int count = int(x1 - x0 + 1);
    if (!textured) {
        for (std::int64_t y = y0; y <= y1; ++y)
            pipeline.Run(target.pixels + y * target.pitch + x0, nullptr, count, 0u);
        return;
    }
    const RasterStage& stage = m_State.stages[0];
    const PixelBuffer& texture = stage.texture;
    const std::uint32_t alphaFill = texture.hasAlpha ? 0u : 0xFF000000u;
    const std::uint32_t border = stage.borderColor;
    const std::vector<int>& columns = m_Scratch.columns;
    if (stage.keyed) {
        DrawKeyedRows(pipeline, x0, count, y0, y1);
        return;
    }
    // Texels one after another, as in an unscaled draw, are read straight from the texture.
    bool contiguous = columns[0] >= 0;
    for (int k = 1; k < count && contiguous; ++k)
        contiguous = columns[std::size_t(k)] == columns[0] + k;
    std::vector<std::uint32_t>& gathered = m_Scratch.row;
    gathered.resize(std::size_t(count));
    for (std::int64_t y = y0; y <= y1; ++y) {
        std::uint32_t* dst = target.pixels + y * target.pitch + x0;
        const int line = m_Scratch.lines[std::size_t(y - y0)];
        if (line < 0) {
            std::fill(gathered.begin(), gathered.end(), border);
            pipeline.Run(dst, gathered.data(), count, 0u);
            continue;
        }
        const std::uint32_t* texels = texture.pixels + std::int64_t(line) * texture.pitch;
        if (contiguous) {
            pipeline.Run(dst, texels + columns[0], count, alphaFill);
            continue;
        }
        for (int k = 0; k < count; ++k) {
            const int column = columns[std::size_t(k)];
            gathered[std::size_t(k)] = column < 0 ? border : texels[column] | alphaFill;
        }
        pipeline.Run(dst, gathered.data(), count, 0u);
    }
}

void QuadRasterizer::DrawKeyedRows(const PixelPipeline& pipeline, std::int64_t x0, int count,
                                   std::int64_t y0, std::int64_t y1)
{
    const PixelBuffer& target = m_State.target;
    const RasterStage& stage = m_State.stages[0];
    const PixelBuffer& texture = stage.texture;
    const std::uint32_t alphaFill = texture.hasAlpha ? 0u : 0xFF000000u;
    std::vector<std::uint32_t>& gathered = m_Scratch.row;
    std::vector<std::uint8_t>& keep = m_Scratch.keep;
    gathered.resize(std::size_t(count));
    keep.resize(std::size_t(count));
    for (std::int64_t y = y0; y <= y1; ++y) {
        const int line = m_Scratch.lines[std::size_t(y - y0)];
        const std::uint32_t* texels =
            line < 0 ? nullptr : texture.pixels + std::int64_t(line) * texture.pitch;
        for (int k = 0; k < count; ++k) {
            const int column = m_Scratch.columns[std::size_t(k)];
            if (!texels || column < 0) {
                // The border colour is never keyed.
                gathered[std::size_t(k)] = stage.borderColor;
                keep[std::size_t(k)] = 1;
                continue;
            }
            const std::uint32_t texel = texels[column];
            gathered[std::size_t(k)] = texel | alphaFill;
            keep[std::size_t(k)] = ((texel ^ stage.keyRgb) & 0xFFFFFFu) != 0;
        }
        pipeline.RunWhere(target.pixels + y * target.pitch + x0, gathered.data(), keep.data(),
                          count, 0u);
    }
}

} // namespace ddrawx
