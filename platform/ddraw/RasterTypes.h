#pragma once
// What the device hands its rasterisers for one draw: the target and textures as plain
// pixel buffers, the validated states, the vertices, and scratch memory reused across draws.
#include "ddraw/d3d.h"

#include <cstdint>
#include <vector>

namespace ddrawx {

// One colour with 8-bit channels (0-255 each).
struct Rgba
{
    int r, g, b, a;
};

inline bool SameColour(const Rgba& a, const Rgba& b)
{
    return a.r == b.r && a.g == b.g && a.b == b.b && a.a == b.a;
}

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
    // Colour keying: texels whose red, green and blue equal keyRgb are not drawn.
    bool keyed = false;
    std::uint32_t keyRgb = 0;
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
    bool keyed;     // some active stage is colour-keyed
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

// Memory a device lends its rasterisers so that draws allocate nothing once warmed up.
// Contents are meaningless between draws.
struct RasterScratch
{
    std::vector<RasterVertex> vertices;
    std::vector<std::uint32_t> row;  // one row of shaded colours or gathered texels
    std::vector<int> columns, lines; // texel column per pixel column, texel row per pixel row
    std::vector<std::uint8_t> keep;  // per pixel of a row: not left out by a colour key
};

} // namespace ddrawx
