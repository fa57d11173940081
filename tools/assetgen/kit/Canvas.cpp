#include "kit/Canvas.h"

#include <cmath>
#include <stdexcept>

namespace assetgen {

Rgba Rgba::Desaturated(float amount) const
{
    const float y = Luminance();
    return {r + (y - r) * amount, g + (y - g) * amount, b + (y - b) * amount, a};
}

Rgba Mix(const Rgba& a, const Rgba& b, float t)
{
    return {a.r + (b.r - a.r) * t, a.g + (b.g - a.g) * t, a.b + (b.b - a.b) * t,
            a.a + (b.a - a.a) * t};
}

Canvas::Canvas(int width, int height) : m_Width(width), m_Height(height)
{
    if (width <= 0 || height <= 0)
        throw std::invalid_argument("canvas size must be positive");
    m_Pixels.assign(static_cast<std::size_t>(width) * height, Pixel{0, 0, 0, 0});
}

Rgba Canvas::Get(int x, int y) const
{
    if (!Contains(x, y))
        return {};
    const Pixel& p = At(x, y);
    if (p.a <= 0)
        return {};
    return {p.r / p.a, p.g / p.a, p.b / p.a, p.a};
}

void Canvas::Set(int x, int y, const Rgba& c)
{
    if (!Contains(x, y))
        return;
    const float a = Clamp01(c.a);
    At(x, y) = {Clamp01(c.r) * a, Clamp01(c.g) * a, Clamp01(c.b) * a, a};
}

void Canvas::Blend(int x, int y, const Rgba& c, float coverage)
{
    if (!Contains(x, y))
        return;
    const float sa = Clamp01(c.a * coverage);
    if (sa <= 0)
        return;
    Pixel& d = At(x, y);
    const float keep = 1 - sa;
    d.r = Clamp01(c.r) * sa + d.r * keep;
    d.g = Clamp01(c.g) * sa + d.g * keep;
    d.b = Clamp01(c.b) * sa + d.b * keep;
    d.a = sa + d.a * keep;
}

void Canvas::AddLight(int x, int y, const Rgba& c, float coverage)
{
    if (!Contains(x, y))
        return;
    const float k = Clamp01(c.a * coverage);
    Pixel& d = At(x, y);
    d.a = std::min(1.0f, d.a + k);
    d.r = std::min(d.a, d.r + c.r * k);
    d.g = std::min(d.a, d.g + c.g * k);
    d.b = std::min(d.a, d.b + c.b * k);
}

void Canvas::ScaleAlpha(int x, int y, float k)
{
    if (!Contains(x, y))
        return;
    k = Clamp01(k);
    Pixel& d = At(x, y);
    d = {d.r * k, d.g * k, d.b * k, d.a * k};
}

void Canvas::Shade(int x, int y, const Rgba& toward, float t)
{
    if (!Contains(x, y))
        return;
    t = Clamp01(t);
    Pixel& d = At(x, y);
    d.r += (Clamp01(toward.r) * d.a - d.r) * t;
    d.g += (Clamp01(toward.g) * d.a - d.g) * t;
    d.b += (Clamp01(toward.b) * d.a - d.b) * t;
}

void Canvas::Clear()
{
    for (Pixel& p : m_Pixels)
        p = {0, 0, 0, 0};
}

void Canvas::Fill(const Rgba& color)
{
    for (int y = 0; y < m_Height; ++y)
        for (int x = 0; x < m_Width; ++x)
            Set(x, y, color);
}

void Canvas::DrawOver(const Canvas& src, int dx, int dy, float opacity)
{
    opacity = Clamp01(opacity);
    for (int y = 0; y < src.m_Height; ++y) {
        for (int x = 0; x < src.m_Width; ++x) {
            if (!Contains(x + dx, y + dy))
                continue;
            const Pixel& s = src.At(x, y);
            Pixel& d = At(x + dx, y + dy);
            const float keep = 1 - s.a * opacity;
            d.r = s.r * opacity + d.r * keep;
            d.g = s.g * opacity + d.g * keep;
            d.b = s.b * opacity + d.b * keep;
            d.a = s.a * opacity + d.a * keep;
        }
    }
}

void Canvas::MaskBy(const Canvas& mask)
{
    for (int y = 0; y < m_Height; ++y)
        for (int x = 0; x < m_Width; ++x)
            ScaleAlpha(x, y, mask.Contains(x, y) ? mask.At(x, y).a : 0.0f);
}

std::vector<std::uint8_t> Canvas::ToRgba8() const
{
    std::vector<std::uint8_t> out;
    out.reserve(m_Pixels.size() * 4);
    auto byte = [](float v) { return static_cast<std::uint8_t>(std::lround(Clamp01(v) * 255.0f)); };
    for (const Pixel& p : m_Pixels) {
        const std::uint8_t a = byte(p.a);
        if (a == 0) {
            out.insert(out.end(), {0, 0, 0, 0});
            continue;
        }
        out.push_back(byte(p.r / p.a));
        out.push_back(byte(p.g / p.a));
        out.push_back(byte(p.b / p.a));
        out.push_back(a);
    }
    return out;
}

} // namespace assetgen
