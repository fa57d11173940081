#include "ddraw/Rasterizer.h"

#include <algorithm>
#include <cmath>

namespace ddrawx {

namespace {

// Positions are snapped to 1/256 pixel; a pixel centre (px, py) is (px * 256, py * 256).
constexpr int kSubpixelBits = 8;
constexpr double kSubpixel = 1 << kSubpixelBits;
// Vertices are kept within this many pixels of the origin so edge products fit 64 bits.
constexpr double kGuardBand = 1 << 20;

std::int64_t Snap(double value)
{
    if (!std::isfinite(value))
        value = 0.0;
    value = std::clamp(value, -kGuardBand, kGuardBand);
    return std::llround(value * kSubpixel);
}

std::int64_t FloorDiv(std::int64_t a, std::int64_t b)
{
    std::int64_t q = a / b;
    return (a % b != 0 && (a < 0) != (b < 0)) ? q - 1 : q;
}

// x in 0-255 as a factor in 0-256: 255 is exactly 1.
inline int Scale(int x)
{
    return x + (x >> 7);
}

inline int Mul(int a, int b)
{
    return (a * Scale(b)) >> 8;
}

Rgba Unpack(std::uint32_t p, bool hasAlpha)
{
    return Rgba{int((p >> 16) & 0xFF), int((p >> 8) & 0xFF), int(p & 0xFF),
                hasAlpha ? int(p >> 24) : 255};
}

long Address(long i, long n, DWORD mode, bool& border)
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

long FloorIndex(double x)
{
    return long(std::floor(std::clamp(x, -1e9, 1e9)));
}

int BlendFactor(DWORD factor, int channel, const Rgba& src, const Rgba& dst)
{
    const int s[4] = {src.r, src.g, src.b, src.a};
    const int d[4] = {dst.r, dst.g, dst.b, dst.a};
    switch (factor) {
    case D3DBLEND_ZERO:
        return 0;
    case D3DBLEND_ONE:
        return 256;
    case D3DBLEND_SRCCOLOR:
        return Scale(s[channel]);
    case D3DBLEND_INVSRCCOLOR:
        return 256 - Scale(s[channel]);
    case D3DBLEND_SRCALPHA:
        return Scale(src.a);
    case D3DBLEND_INVSRCALPHA:
        return 256 - Scale(src.a);
    case D3DBLEND_DESTALPHA:
        return Scale(dst.a);
    case D3DBLEND_INVDESTALPHA:
        return 256 - Scale(dst.a);
    case D3DBLEND_DESTCOLOR:
        return Scale(d[channel]);
    case D3DBLEND_INVDESTCOLOR:
        return 256 - Scale(d[channel]);
    default:
        return 0;
    }
}

int Interpolate(const double w[3], int a, int b, int c)
{
    double value = w[0] * a + w[1] * b + w[2] * c;
    return std::clamp(int(std::floor(value + 0.5)), 0, 255);
}

} // namespace

void Rasterizer::DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c)
{
    const RasterVertex* const v[3] = {&a, &b, &c};
    std::int64_t X[3], Y[3];
    for (int i = 0; i < 3; ++i) {
        X[i] = Snap(v[i]->x);
        Y[i] = Snap(v[i]->y);
    }
    // Twice the signed area; positive when the vertices run clockwise on the screen.
    const std::int64_t area = (X[1] - X[0]) * (Y[2] - Y[0]) - (Y[1] - Y[0]) * (X[2] - X[0]);
    if (area == 0)
        return;
    if ((m_State.cull == D3DCULL_CW && area > 0) || (m_State.cull == D3DCULL_CCW && area < 0))
        return;
    const std::int64_t sign = area > 0 ? 1 : -1;
    const double areaAbs = double(area * sign);

    // Edge i runs between the two vertices other than i; it is positive inside. A centre on
    // an edge counts only for top and left edges (bias 0), else the edge needs > 0.
    std::int64_t ex[3], ey[3], dx[3], dy[3], bias[3];
    for (int i = 0; i < 3; ++i) {
        const int p = (i + 1) % 3, q = (i + 2) % 3;
        ex[i] = X[p];
        ey[i] = Y[p];
        dx[i] = (X[q] - X[p]) * sign;
        dy[i] = (Y[q] - Y[p]) * sign;
        const bool topLeft = (-dy[i] > 0) || (dy[i] == 0 && dx[i] > 0);
        bias[i] = topLeft ? 0 : -1;
    }

    // Magnification or minification per stage, from the texel rate across the triangle.
    bool minify[D3DMAXTEXTURESTAGES] = {};
    for (int s = 0; s < m_State.stageCount; ++s) {
        const RasterStage& stage = m_State.stages[s];
        double dudx = 0, dudy = 0, dvdx = 0, dvdy = 0;
        for (int i = 0; i < 3; ++i) {
            const double gx = -double(dy[i]) * kSubpixel / areaAbs;
            const double gy = double(dx[i]) * kSubpixel / areaAbs;
            dudx += gx * v[i]->u[stage.texCoordSet] * stage.texture.width;
            dudy += gy * v[i]->u[stage.texCoordSet] * stage.texture.width;
            dvdx += gx * v[i]->v[stage.texCoordSet] * stage.texture.height;
            dvdy += gy * v[i]->v[stage.texCoordSet] * stage.texture.height;
        }
        const double rho = std::max(std::hypot(dudx, dvdx), std::hypot(dudy, dvdy));
        minify[s] = rho > 1.0;
    }

    const std::int64_t minX = std::max<std::int64_t>(
        m_State.left, -FloorDiv(-std::min({X[0], X[1], X[2]}), 1 << kSubpixelBits));
    const std::int64_t maxX = std::min<std::int64_t>(
        m_State.right - 1, FloorDiv(std::max({X[0], X[1], X[2]}), 1 << kSubpixelBits));
    const std::int64_t minY = std::max<std::int64_t>(
        m_State.top, -FloorDiv(-std::min({Y[0], Y[1], Y[2]}), 1 << kSubpixelBits));
    const std::int64_t maxY = std::min<std::int64_t>(
        m_State.bottom - 1, FloorDiv(std::max({Y[0], Y[1], Y[2]}), 1 << kSubpixelBits));

    const PixelBuffer& target = m_State.target;
    for (std::int64_t py = minY; py <= maxY; ++py) {
        std::uint32_t* row = target.pixels + py * target.pitch;
        const std::int64_t cy = py << kSubpixelBits;
        for (std::int64_t px = minX; px <= maxX; ++px) {
            const std::int64_t cx = px << kSubpixelBits;
            std::int64_t e[3];
            bool inside = true;
            for (int i = 0; i < 3 && inside; ++i) {
                e[i] = dx[i] * (cy - ey[i]) - dy[i] * (cx - ex[i]);
                inside = e[i] + bias[i] >= 0;
            }
            if (!inside)
                continue;
            const double weights[3] = {e[0] / areaAbs, e[1] / areaAbs, e[2] / areaAbs};
            Blend(row[px], Shade(weights, v, minify));
        }
    }
}

Rgba Rasterizer::Shade(const double w[3], const RasterVertex* const v[3], const bool minify[]) const
{
    const Rgba diffuse{Interpolate(w, v[0]->diffuse.r, v[1]->diffuse.r, v[2]->diffuse.r),
                       Interpolate(w, v[0]->diffuse.g, v[1]->diffuse.g, v[2]->diffuse.g),
                       Interpolate(w, v[0]->diffuse.b, v[1]->diffuse.b, v[2]->diffuse.b),
                       Interpolate(w, v[0]->diffuse.a, v[1]->diffuse.a, v[2]->diffuse.a)};
    const Rgba factor = Unpack(m_State.textureFactor, true);
    // Texture coordinates are interpolated through rhw (perspective-correct).
    double q[3];
    double qSum = 0;
    for (int i = 0; i < 3; ++i) {
        const double rhw = v[i]->rhw;
        q[i] = w[i] * ((std::isfinite(rhw) && rhw > 0) ? rhw : 1.0);
        qSum += q[i];
    }
    if (qSum <= 0)
        qSum = 1;

    Rgba current = diffuse;
    for (int s = 0; s < m_State.stageCount; ++s) {
        const RasterStage& stage = m_State.stages[s];
        const int set = stage.texCoordSet;
        const double u = (q[0] * v[0]->u[set] + q[1] * v[1]->u[set] + q[2] * v[2]->u[set]) / qSum;
        const double t = (q[0] * v[0]->v[set] + q[1] * v[1]->v[set] + q[2] * v[2]->v[set]) / qSum;
        const Rgba texel = Sample(stage, u, t, minify[s]);
        auto arg = [&](DWORD which) {
            Rgba x = current;
            switch (which & D3DTA_SELECTMASK) {
            case D3DTA_DIFFUSE:
                x = diffuse;
                break;
            case D3DTA_TEXTURE:
                x = texel;
                break;
            case D3DTA_TFACTOR:
                x = factor;
                break;
            default:
                break;
            }
            if (which & D3DTA_COMPLEMENT)
                x = Rgba{255 - x.r, 255 - x.g, 255 - x.b, 255 - x.a};
            if (which & D3DTA_ALPHAREPLICATE)
                x = Rgba{x.a, x.a, x.a, x.a};
            return x;
        };
        auto apply = [](DWORD op, int first, int second) {
            switch (op) {
            case D3DTOP_SELECTARG1:
                return first;
            case D3DTOP_SELECTARG2:
                return second;
            default: // D3DTOP_MODULATE
                return Mul(first, second);
            }
        };
        const Rgba c1 = arg(stage.colorArg1), c2 = arg(stage.colorArg2);
        Rgba next{apply(stage.colorOp, c1.r, c2.r), apply(stage.colorOp, c1.g, c2.g),
                  apply(stage.colorOp, c1.b, c2.b), current.a};
        if (stage.alphaOp != D3DTOP_DISABLE)
            next.a = apply(stage.alphaOp, arg(stage.alphaArg1).a, arg(stage.alphaArg2).a);
        current = next;
    }
    return current;
}

Rgba Rasterizer::Texel(const RasterStage& stage, long i, long j) const
{
    const PixelBuffer& tex = stage.texture;
    bool border = false;
    i = Address(i, tex.width, stage.addressU, border);
    j = Address(j, tex.height, stage.addressV, border);
    if (border)
        return Unpack(stage.borderColor, true);
    return Unpack(tex.pixels[j * tex.pitch + i], tex.hasAlpha);
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

void Rasterizer::Blend(std::uint32_t& pixel, const Rgba& src) const
{
    const bool hasAlpha = m_State.target.hasAlpha;
    Rgba out = src;
    if (m_State.blend) {
        const Rgba dst = Unpack(pixel, hasAlpha);
        const int s[4] = {src.r, src.g, src.b, src.a};
        const int d[4] = {dst.r, dst.g, dst.b, dst.a};
        int o[4];
        for (int ch = 0; ch < 4; ++ch) {
            const int fs = BlendFactor(m_State.srcBlend, ch, src, dst);
            const int fd = BlendFactor(m_State.destBlend, ch, src, dst);
            o[ch] = std::min(255, (s[ch] * fs + d[ch] * fd) >> 8);
        }
        out = Rgba{o[0], o[1], o[2], o[3]};
    }
    pixel = (hasAlpha ? std::uint32_t(out.a) << 24 : 0u) | std::uint32_t(out.r) << 16 |
            std::uint32_t(out.g) << 8 | std::uint32_t(out.b);
}

} // namespace ddrawx
