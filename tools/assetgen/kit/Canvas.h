#pragma once
// An RGBA picture held as premultiplied floats, so that layering stays alpha-correct;
// converted to 8-bit straight alpha only when written out. Coordinates are pixels,
// (0, 0) the upper-left corner; pixel (x, y) covers [x, x+1) x [y, y+1).
#include "kit/Color.h"

#include <cstdint>
#include <vector>

namespace assetgen {

class Canvas
{
public:
    // A fully transparent canvas. Width and height must be positive.
    Canvas(int width, int height);

    int Width() const { return m_Width; }
    int Height() const { return m_Height; }
    bool Contains(int x, int y) const { return x >= 0 && y >= 0 && x < m_Width && y < m_Height; }

    // Straight-alpha colour of a pixel; transparent black outside the canvas.
    Rgba Get(int x, int y) const;
    // Replaces a pixel; ignored outside the canvas.
    void Set(int x, int y, const Rgba& color);
    // Source-over: paints colour over the pixel, its alpha scaled by coverage (0..1).
    void Blend(int x, int y, const Rgba& color, float coverage = 1.0f);
    // Additive light (glows): adds colour × alpha × coverage, alpha grows the same way.
    void AddLight(int x, int y, const Rgba& color, float coverage = 1.0f);
    // Scales a pixel's opacity (and its premultiplied colour) by k in 0..1.
    void ScaleAlpha(int x, int y, float k);
    // Moves a pixel's colour towards another by t in 0..1, keeping its opacity: the way
    // bevels and lighting touch up what is already drawn without growing its outline.
    void Shade(int x, int y, const Rgba& toward, float t);

    void Clear();
    void Fill(const Rgba& color);

    // Source-over of another canvas placed with its upper-left corner at (dx, dy),
    // scaled by opacity. Parts outside this canvas are dropped.
    void DrawOver(const Canvas& src, int dx, int dy, float opacity = 1.0f);
    // Keeps this canvas's pixels only where the mask is opaque (alpha multiplied).
    void MaskBy(const Canvas& mask);

    // The picture as 8-bit straight RGBA, rows top to bottom, rounded to nearest.
    std::vector<std::uint8_t> ToRgba8() const;

private:
    struct Pixel
    {
        float r, g, b, a; // premultiplied
    };
    Pixel& At(int x, int y) { return m_Pixels[static_cast<std::size_t>(y) * m_Width + x]; }
    const Pixel& At(int x, int y) const
    {
        return m_Pixels[static_cast<std::size_t>(y) * m_Width + x];
    }

    int m_Width;
    int m_Height;
    std::vector<Pixel> m_Pixels;
};

} // namespace assetgen
