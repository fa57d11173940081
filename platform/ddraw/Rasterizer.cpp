#include "ddraw/Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace ddrawx {

namespace {

constexpr double kSubpixel = 1 << Rasterizer::kSubpixelBits;
// Vertices are kept within this many pixels of the origin so edge products fit 64 bits.
constexpr double kGuardBand = 1 << 20;

bool g_ReferenceOnly = false;

long FloorIndex(double x)
{
    return long(std::floor(std::clamp(x, -1e9, 1e9)));
}

int Interpolate(const double w[3], int a, int b, int c)
{
    double value = w[0] * a + w[1] * b + w[2] * c;
    return std::clamp(int(std::floor(value + 0.5)), 0, 255);
}

} // namespace

Rasterizer::Rasterizer(const RasterState& state, RasterScratch& scratch)
    : m_State(state), m_Scratch(scratch), m_Reference(g_ReferenceOnly),
      m_Pipeline(m_Reference ? PixelPipeline::Reference(state) : PixelPipeline::ForShaded(state))
{
}

void Rasterizer::SetReferenceOnly(bool on)
{
    g_ReferenceOnly = on;
}

bool Rasterizer::ReferenceOnly()
{
    return g_ReferenceOnly;
}

std::int64_t Rasterizer::Snap(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    value = std::clamp(value, -kGuardBand, kGuardBand);
    return std::llround(value * kSubpixel);
}

std::int64_t Rasterizer::FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

long Rasterizer::Address(long i, long n, DWORD mode, bool& border)
{
    switch (mode) {
    case D3DTADDRESS_WRAP:
        return ((i % n) + n) % n;
    case D3DTADDRESS_MIRROR: {
        long m = ((i % (2 * n)) + 2 * n) % (2 * n);
        return m < n ? m : 2 * n - 1 - m;
    }
    case D3DTADDRESS_BORDER:
        if (i < 0 || i >= n)
            border = true;
        return std::clamp(i, 0L, n - 1);
    default: // D3DTADDRESS_CLAMP
        return std::clamp(i, 0L, n - 1);
    }
}

bool Rasterizer::Setup(const RasterState& state, const RasterVertex& a, const RasterVertex& b,
                       const RasterVertex& c, TriangleSetup& t)
{
    t.v[0] = &a;
    t.v[1] = &b;
    t.v[2] = &c;
    for (int i = 0; i < 3; ++i) {
        t.X[i] = Snap(t.v[i]->x);
        t.Y[i] = Snap(t.v[i]->y);
    }
    // Twice the signed area; positive when the vertices run clockwise on the screen.
    const std::int64_t area =
        (t.X[1] - t.X[0]) * (t.Y[2] - t.Y[0]) - (t.Y[1] - t.Y[0]) * (t.X[2] - t.X[0]);
    if (area == 0)
        return false;
    if ((state.cull == D3DCULL_CW && area > 0) || (state.cull == D3DCULL_CCW && area < 0))
        return false;
    const std::int64_t sign = area > 0 ? 1 : -1;
    t.areaAbs = double(area * sign);
    for (int i = 0; i < 3; ++i) {
        const int p = (i + 1) % 3, q = (i + 2) % 3;
        t.ex[i] = t.X[p];
        t.ey[i] = t.Y[p];
        t.dx[i] = (t.X[q] - t.X[p]) * sign;
        t.dy[i] = (t.Y[q] - t.Y[p]) * sign;
        const bool topLeft = (-t.dy[i] > 0) || (t.dy[i] == 0 && t.dx[i] > 0);
        t.bias[i] = topLeft ? 0 : -1;
    }
    // Magnification or minification per stage, from the texel rate across the triangle.
    for (int s = 0; s < state.stageCount; ++s) {
        const RasterStage& stage = state.stages[s];
        double dudx = 0, dudy = 0, dvdx = 0, dvdy = 0;
        for (int i = 0; i < 3; ++i) {
            const double gx = -double(t.dy[i]) * kSubpixel / t.areaAbs;
            const double gy = double(t.dx[i]) * kSubpixel / t.areaAbs;
            dudx += gx * t.v[i]->u[stage.texCoordSet] * stage.texture.width;
            dudy += gy * t.v[i]->u[stage.texCoordSet] * stage.texture.width;
            dvdx += gx * t.v[i]->v[stage.texCoordSet] * stage.texture.height;
            dvdy += gy * t.v[i]->v[stage.texCoordSet] * stage.texture.height;
        }
        const double rho = std::max(std::hypot(dudx, dvdx), std::hypot(dudy, dvdy));
        t.minify[s] = rho > 1.0;
    }
    return true;
}

bool Rasterizer::RowSpan(const TriangleSetup& t, std::int64_t py, std::int64_t& lo,
                         std::int64_t& hi)
{
    // Edge i at column px is base - dy * 256 * px: solve base + bias - dy * 256 * px >= 0.
    const std::int64_t cy = py << kSubpixelBits;
    for (int i = 0; i < 3 && lo <= hi; ++i) {
        const std::int64_t base = t.dx[i] * (cy - t.ey[i]) + t.dy[i] * t.ex[i] + t.bias[i];
        if (t.dy[i] == 0) {
            if (base < 0)
                return false;
        } else if (t.dy[i] > 0) {
            hi = std::min(hi, FloorDiv(base, t.dy[i] * kSubpixelOne));
        } else {
            lo = std::max(lo, -FloorDiv(base, -t.dy[i] * kSubpixelOne));
        }
    }
    return lo <= hi;
}

void Rasterizer::DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c)
{
    TriangleSetup t;
    if (!Setup(m_State, a, b, c, t))
        return;
    const std::int64_t minX = std::max<std::int64_t>(
        m_State.left, -FloorDiv(-std::min({t.X[0], t.X[1], t.X[2]}), kSubpixelOne));
    const std::int64_t maxX = std::min<std::int64_t>(
        m_State.right - 1, FloorDiv(std::max({t.X[0], t.X[1], t.X[2]}), kSubpixelOne));
    const std::int64_t minY = std::max<std::int64_t>(
        m_State.top, -FloorDiv(-std::min({t.Y[0], t.Y[1], t.Y[2]}), kSubpixelOne));
    const std::int64_t maxY = std::min<std::int64_t>(
        m_State.bottom - 1, FloorDiv(std::max({t.Y[0], t.Y[1], t.Y[2]}), kSubpixelOne));
    if (minX > maxX || minY > maxY)
        return;

    Shading shading;
    shading.factor = PixelPipeline::Unpack(m_State.textureFactor, true);
    for (int i = 0; i < 3; ++i) {
        const double rhw = t.v[i]->rhw;
        shading.rhw[i] = (std::isfinite(rhw) && rhw > 0) ? rhw : 1.0;
    }
    shading.flatDiffuse = SameColour(a.diffuse, b.diffuse) && SameColour(a.diffuse, c.diffuse);

    // Under one diffuse colour and at most one stage every pixel shades alike from its
    // texel alone: rows of sampled texels go through that draw-wide pipeline. Otherwise
    // each pixel is shaded here in full and the rows are only blended.
    const bool flat = shading.flatDiffuse && m_State.stageCount <= 1 && !m_Reference;
    const PixelPipeline pipeline = flat ? PixelPipeline::ForTexels(m_State, a.diffuse) : m_Pipeline;
    const bool keyed = m_State.keyed;
    const bool perPixel = !flat || pipeline.ReadsSource() || keyed;
    std::vector<std::uint32_t>& shaded = m_Scratch.row;
    shaded.resize(std::size_t(maxX - minX + 1));
    std::vector<std::uint8_t>& keep = m_Scratch.keep;
    if (keyed)
        keep.resize(shaded.size());
    const PixelBuffer& target = m_State.target;
    for (std::int64_t py = minY; py <= maxY; ++py) {
        std::int64_t lo = minX, hi = maxX;
        if (!RowSpan(t, py, lo, hi))
            continue;
        std::uint32_t* dst = target.pixels + py * target.pitch + lo;
        if (!perPixel) {
            pipeline.Run(dst, nullptr, int(hi - lo + 1), 0u);
            continue;
        }
        const std::int64_t cy = py << kSubpixelBits, cx = lo << kSubpixelBits;
        std::int64_t e[3];
        for (int i = 0; i < 3; ++i)
            e[i] = t.dx[i] * (cy - t.ey[i]) - t.dy[i] * (cx - t.ex[i]);
        for (std::int64_t px = lo; px <= hi; ++px) {
            const double weights[3] = {e[0] / t.areaAbs, e[1] / t.areaAbs, e[2] / t.areaAbs};
            const Rgba colour =
                flat ? SampleStage(0, weights, t, shading) : Shade(weights, t, shading);
            shaded[std::size_t(px - lo)] = PixelPipeline::Pack(colour);
            if (keyed)
                keep[std::size_t(px - lo)] = !KeyedOut(weights, t, shading);
            for (int i = 0; i < 3; ++i)
                e[i] -= t.dy[i] * kSubpixelOne;
        }
        if (keyed)
            pipeline.RunWhere(dst, shaded.data(), keep.data(), int(hi - lo + 1), 0u);
        else
            pipeline.Run(dst, shaded.data(), int(hi - lo + 1), 0u);
    }
}

bool Rasterizer::KeyedOut(const double w[3], const TriangleSetup& t, const Shading& shading) const
{
    for (int s = 0; s < m_State.stageCount; ++s) {
        const RasterStage& stage = m_State.stages[s];
        if (!stage.keyed)
            continue;
        double u = 0, v = 0;
        StageCoordinates(s, w, t, shading, u, v);
        const PixelBuffer& tex = stage.texture;
        bool border = false;
        const long i = Address(FloorIndex(u * tex.width), tex.width, stage.addressU, border);
        const long j = Address(FloorIndex(v * tex.height), tex.height, stage.addressV, border);
        if (!border && ((tex.pixels[j * tex.pitch + i] ^ stage.keyRgb) & 0xFFFFFFu) == 0)
            return true;
    }
    return false;
}

void Rasterizer::StageCoordinates(int s, const double w[3], const TriangleSetup& t,
                                  const Shading& shading, double& u, double& tv) const
{
    // Texture coordinates are interpolated through rhw (perspective-correct).
    const RasterVertex* const* v = t.v;
    double q[3];
    double qSum = 0;
    for (int i = 0; i < 3; ++i) {
        q[i] = w[i] * shading.rhw[i];
        qSum += q[i];
    }
    if (qSum <= 0)
        qSum = 1;
    const int set = m_State.stages[s].texCoordSet;
    u = (q[0] * v[0]->u[set] + q[1] * v[1]->u[set] + q[2] * v[2]->u[set]) / qSum;
    tv = (q[0] * v[0]->v[set] + q[1] * v[1]->v[set] + q[2] * v[2]->v[set]) / qSum;
}

Rgba Rasterizer::SampleStage(int s, const double w[3], const TriangleSetup& t,
                             const Shading& shading) const
{
    double u = 0, v = 0;
    StageCoordinates(s, w, t, shading, u, v);
    return Sample(m_State.stages[s], u, v, t.minify[s]);
}

Rgba Rasterizer::Shade(const double w[3], const TriangleSetup& t, const Shading& shading) const
{
    const RasterVertex* const* v = t.v;
    // Weights sum to one, so a colour shared by all vertices interpolates to itself.
    const Rgba diffuse =
        shading.flatDiffuse
            ? v[0]->diffuse
            : Rgba{Interpolate(w, v[0]->diffuse.r, v[1]->diffuse.r, v[2]->diffuse.r),
                   Interpolate(w, v[0]->diffuse.g, v[1]->diffuse.g, v[2]->diffuse.g),
                   Interpolate(w, v[0]->diffuse.b, v[1]->diffuse.b, v[2]->diffuse.b),
                   Interpolate(w, v[0]->diffuse.a, v[1]->diffuse.a, v[2]->diffuse.a)};
    Rgba current = diffuse;
    for (int s = 0; s < m_State.stageCount; ++s)
        current = PixelPipeline::CombineStage(m_State.stages[s], current, diffuse,
                                              SampleStage(s, w, t, shading), shading.factor);
    return current;
}

Rgba Rasterizer::Texel(const RasterStage& stage, long i, long j) const
{
    const PixelBuffer& tex = stage.texture;
    bool border = false;
    i = Address(i, tex.width, stage.addressU, border);
    j = Address(j, tex.height, stage.addressV, border);
    if (border)
        return PixelPipeline::Unpack(stage.borderColor, true);
    return PixelPipeline::Unpack(tex.pixels[j * tex.pitch + i], tex.hasAlpha);
}

Rgba Rasterizer::Sample(const RasterStage& stage, double u, double v, bool minify) const
{
    const PixelBuffer& tex = stage.texture;
    const DWORD filter = minify ? stage.minFilter : stage.magFilter;
    if (filter != D3DTFG_LINEAR)
        return Texel(stage, FloorIndex(u * tex.width), FloorIndex(v * tex.height));
    const double fu = u * tex.width - 0.5, fv = v * tex.height - 0.5;
    const long i = FloorIndex(fu), j = FloorIndex(fv);
    const int wx = std::clamp(int((fu - std::floor(fu)) * 256 + 0.5), 0, 256);
    const int wy = std::clamp(int((fv - std::floor(fv)) * 256 + 0.5), 0, 256);
    const Rgba t00 = Texel(stage, i, j), t10 = Texel(stage, i + 1, j);
    const Rgba t01 = Texel(stage, i, j + 1), t11 = Texel(stage, i + 1, j + 1);
    auto mix = [&](int a00, int a10, int a01, int a11) {
        const int top = a00 * (256 - wx) + a10 * wx;
        const int bottom = a01 * (256 - wx) + a11 * wx;
        return (top * (256 - wy) + bottom * wy + 32768) >> 16;
    };
    return Rgba{mix(t00.r, t10.r, t01.r, t11.r), mix(t00.g, t10.g, t01.g, t11.g),
                mix(t00.b, t10.b, t01.b, t11.b), mix(t00.a, t10.a, t01.a, t11.a)};
}

} // namespace ddrawx
