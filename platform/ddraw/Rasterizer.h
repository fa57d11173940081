#pragma once
// The device's triangle rasteriser: coverage, interpolation, the texture stage cascade and
// alpha blending into a 32-bit target (the rules are listed in d3d.h).
#include "ddraw/d3d.h"

#include <cstdint>

namespace ddrawx {

// One colour with 8-bit channels (0-255 each).
struct Rgba
{
    int r, g, b, a;
};

// 32-bit pixels, red in bits 16-23, green 8-15, blue 0-7, alpha 24-31 when hasAlpha.
struct PixelBuffer
{
    std::uint32_t* pixels = nullptr;
    int pitch = 0; // in pixels
    int width = 0;
    int height = 0;
    bool hasAlpha = false;
};

// One active texture stage; its values are those the device validated.
struct RasterStage
{
    DWORD colorOp, colorArg1, colorArg2;
    DWORD alphaOp, alphaArg1, alphaArg2;
    DWORD addressU, addressV, borderColor;
    DWORD magFilter, minFilter;
    int texCoordSet;
    PixelBuffer texture;
};

struct RasterState
{
    PixelBuffer target;
    // The viewport: pixels with left <= x < right and top <= y < bottom are drawn.
    int left, top, right, bottom;
    bool blend;
    DWORD srcBlend, destBlend;
    DWORD cull;
    DWORD textureFactor;
    RasterStage stages[D3DMAXTEXTURESTAGES];
    int stageCount; // stages before the first one that ends the cascade
};

constexpr int kMaxTexCoordSets = 8;

struct RasterVertex
{
    double x, y; // pixels
    double rhw;
    Rgba diffuse;
    float u[kMaxTexCoordSets];
    float v[kMaxTexCoordSets];
};

class Rasterizer
{
public:
    explicit Rasterizer(const RasterState& state) : m_State(state) {}

    void DrawTriangle(const RasterVertex& a, const RasterVertex& b, const RasterVertex& c);

private:
    Rgba Shade(const double weights[3], const RasterVertex* const v[3], const bool minify[]) const;
    Rgba Sample(const RasterStage& stage, double u, double v, bool minify) const;
    Rgba Texel(const RasterStage& stage, long i, long j) const;
    void Blend(std::uint32_t& pixel, const Rgba& src) const;

    const RasterState& m_State;
};

} // namespace ddrawx
