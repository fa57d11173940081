#pragma once
// Colours of the drawing kit: straight (not premultiplied) RGBA, each channel in 0..1.
#include <algorithm>
#include <cstdint>

namespace assetgen {

struct Rgba
{
    float r = 0, g = 0, b = 0, a = 0;

    // From 8-bit channels, alpha opaque unless given.
    static Rgba Bytes(int r, int g, int b, int a = 255)
    {
        return {r / 255.0f, g / 255.0f, b / 255.0f, a / 255.0f};
    }
    Rgba WithAlpha(float alpha) const { return {r, g, b, alpha}; }
    // Multiplies the colour channels (light < 1 darkens, > 1 brightens), alpha kept.
    Rgba Scaled(float k) const
    {
        return {std::min(r * k, 1.0f), std::min(g * k, 1.0f), std::min(b * k, 1.0f), a};
    }
    // Moves the colour channels towards grey of the same luminance (0 = unchanged, 1 = grey).
    Rgba Desaturated(float amount) const;
    float Luminance() const { return 0.299f * r + 0.587f * g + 0.114f * b; }
};

// Linear interpolation of all four channels, t in 0..1.
Rgba Mix(const Rgba& a, const Rgba& b, float t);

inline float Clamp01(float v)
{
    return v < 0 ? 0 : (v > 1 ? 1 : v);
}

// Smooth Hermite step between edge0 and edge1.
inline float SmoothStep(float edge0, float edge1, float x)
{
    const float t = Clamp01((x - edge0) / (edge1 - edge0));
    return t * t * (3 - 2 * t);
}

} // namespace assetgen
