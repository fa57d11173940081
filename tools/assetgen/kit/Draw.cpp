#include "kit/Draw.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

namespace {

// Direction towards the light in the picture plane (upper left), unit length.
constexpr float kLightX = -0.70710678f;
constexpr float kLightY = -0.70710678f;

float Coverage(float distance)
{
    return Clamp01(0.5f - distance);
}

} // namespace

Sdf RoundedRectShape(const RectF& r, float radius)
{
    radius = std::min({radius, r.w / 2, r.h / 2});
    const float cx = r.x + r.w / 2, cy = r.y + r.h / 2;
    const float hx = r.w / 2 - radius, hy = r.h / 2 - radius;
    return [=](float x, float y) {
        const float qx = std::fabs(x - cx) - hx, qy = std::fabs(y - cy) - hy;
        const float ox = std::max(qx, 0.0f), oy = std::max(qy, 0.0f);
        return std::sqrt(ox * ox + oy * oy) + std::min(std::max(qx, qy), 0.0f) - radius;
    };
}

Sdf CircleShape(float cx, float cy, float radius)
{
    return [=](float x, float y) { return std::hypot(x - cx, y - cy) - radius; };
}

Sdf SegmentShape(float x0, float y0, float x1, float y1, float width)
{
    return [=](float x, float y) {
        const float dx = x1 - x0, dy = y1 - y0;
        const float len2 = dx * dx + dy * dy;
        float t = len2 > 0 ? ((x - x0) * dx + (y - y0) * dy) / len2 : 0;
        t = Clamp01(t);
        return std::hypot(x - (x0 + t * dx), y - (y0 + t * dy)) - width / 2;
    };
}

Sdf Union(Sdf a, Sdf b)
{
    return [a = std::move(a), b = std::move(b)](float x, float y) {
        return std::min(a(x, y), b(x, y));
    };
}

Shader Solid(const Rgba& color)
{
    return [color](int, int) { return color; };
}

Shader LinearGradient(float x0, float y0, const Rgba& c0, float x1, float y1, const Rgba& c1)
{
    const float dx = x1 - x0, dy = y1 - y0, len2 = dx * dx + dy * dy;
    return [=](int x, int y) {
        const float t = len2 > 0 ? ((x + 0.5f - x0) * dx + (y + 0.5f - y0) * dy) / len2 : 0;
        return Mix(c0, c1, Clamp01(t));
    };
}

Shader RadialGradient(float cx, float cy, float radius, const Rgba& c0, const Rgba& c1)
{
    return [=](int x, int y) {
        return Mix(c0, c1, Clamp01(std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius));
    };
}

void FillShape(Canvas& canvas, const Sdf& shape, const Shader& shader)
{
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float cover = Coverage(shape(x + 0.5f, y + 0.5f));
            if (cover > 0)
                canvas.Blend(x, y, shader(x, y), cover);
        }
    }
}

void Bevel(Canvas& canvas, const Sdf& shape, float width, float strength, bool inverted)
{
    const float e = 0.5f;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = shape(px, py);
            if (d >= 0.5f || d <= -width)
                continue;
            float nx = shape(px + e, py) - shape(px - e, py);
            float ny = shape(px, py + e) - shape(px, py - e);
            const float len = std::hypot(nx, ny);
            if (len <= 0)
                continue;
            nx /= len;
            ny /= len;
            // Outward normal facing the light -> lit. Strongest at the outline.
            float lit = nx * kLightX + ny * kLightY;
            if (inverted)
                lit = -lit;
            const float profile = SmoothStep(-width, 0.0f, std::min(d, 0.0f));
            const float amount = std::fabs(lit) * profile * strength;
            canvas.Shade(x, y, lit > 0 ? Rgba{1, 1, 1, 1} : Rgba{0, 0, 0, 1}, amount);
        }
    }
}

Canvas ShadowOf(const Canvas& layer, float blur, const Rgba& color)
{
    const int w = layer.Width(), h = layer.Height();
    std::vector<float> a(static_cast<std::size_t>(w) * h), tmp(a.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            a[static_cast<std::size_t>(y) * w + x] = layer.Get(x, y).a;
    // Three box passes approximate a Gaussian of about `blur` pixels.
    const int r = std::max(1, static_cast<int>(std::lround(blur / 1.7f)));
    auto pass = [&](std::vector<float>& src, std::vector<float>& dst, bool horizontal) {
        const int n = horizontal ? w : h, lines = horizontal ? h : w;
        for (int l = 0; l < lines; ++l) {
            for (int i = 0; i < n; ++i) {
                float sum = 0;
                for (int k = -r; k <= r; ++k) {
                    const int j = i + k;
                    if (j < 0 || j >= n)
                        continue;
                    sum += horizontal ? src[static_cast<std::size_t>(l) * w + j]
                                      : src[static_cast<std::size_t>(j) * w + l];
                }
                (horizontal ? dst[static_cast<std::size_t>(l) * w + i]
                            : dst[static_cast<std::size_t>(i) * w + l]) = sum / (2 * r + 1);
            }
        }
    };
    for (int i = 0; i < 3; ++i) {
        pass(a, tmp, true);
        pass(tmp, a, false);
    }
    Canvas out(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            out.Set(x, y, color.WithAlpha(color.a * a[static_cast<std::size_t>(y) * w + x]));
    return out;
}

void DrawWithShadow(Canvas& target, const Canvas& layer, int dx, int dy, int offsetX, int offsetY,
                    float blur, float opacity)
{
    target.DrawOver(ShadowOf(layer, blur, Rgba{0, 0, 0, opacity}), dx + offsetX, dy + offsetY);
    target.DrawOver(layer, dx, dy);
}

void DrawSphere(Canvas& canvas, float cx, float cy, float radius, const Rgba& base,
                const SphereStyle& s)
{
    // Towards the light (upper left, in front) and the half vector with the viewer.
    float lx = -0.5f, ly = -0.6f, lz = 0.62f;
    const float ll = std::sqrt(lx * lx + ly * ly + lz * lz);
    lx /= ll, ly /= ll, lz /= ll;
    float hx = lx, hy = ly, hz = lz + 1;
    const float hl = std::sqrt(hx * hx + hy * hy + hz * hz);
    hx /= hl, hy /= hl, hz /= hl;
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float dx = (x + 0.5f - cx) / radius, dy = (y + 0.5f - cy) / radius;
            const float rr = dx * dx + dy * dy;
            const float cover = Coverage(std::sqrt(rr) * radius - radius);
            if (cover <= 0)
                continue;
            const float nz = std::sqrt(std::max(0.0f, 1 - rr));
            const float diffuse = std::max(0.0f, dx * lx + dy * ly + nz * lz);
            const float highlight =
                s.specular * std::pow(std::max(0.0f, dx * hx + dy * hy + nz * hz), s.shininess);
            // A little light bounced back from below right keeps the dark side round.
            const float bounce = 0.12f * std::max(0.0f, 0.6f * dx + 0.6f * dy) * nz;
            const float rim = 1 - s.rim * std::pow(1 - nz, 2.0f);
            const float light = (s.ambient + (1 - s.ambient) * diffuse + bounce) * rim;
            Rgba c = base.Scaled(light);
            c = Mix(c, Rgba{1, 1, 1, base.a}, Clamp01(highlight));
            canvas.Blend(x, y, c.WithAlpha(base.a), cover);
        }
    }
}

void DrawRadialSprite(Canvas& canvas, float cx, float cy, float radius, const Rgba& color,
                      float falloff, bool additive)
{
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float d = std::hypot(x + 0.5f - cx, y + 0.5f - cy) / radius;
            if (d >= 1)
                continue;
            const float k = std::pow(1 - d * d, falloff);
            if (additive)
                canvas.AddLight(x, y, color, k);
            else
                canvas.Blend(x, y, color, k);
        }
    }
}

void ApplyTexture(Canvas& canvas, const std::function<float(int, int)>& texture, float contrast)
{
    for (int y = 0; y < canvas.Height(); ++y) {
        for (int x = 0; x < canvas.Width(); ++x) {
            const float v = (texture(x, y) - 0.5f) * 2 * contrast;
            if (v > 0)
                canvas.Shade(x, y, Rgba{1, 1, 1, 1}, v);
            else if (v < 0)
                canvas.Shade(x, y, Rgba{0, 0, 0, 1}, -v);
        }
    }
}

void DrawDigit(Canvas& canvas, int digit, int x, int y, int scale, const Rgba& color)
{
    static const char* const kFont[10] = {"111101101101111", "010110010010111", "111001111100111",
                                          "111001111001111", "101101111001001", "111100111001111",
                                          "111100111101111", "111001010010010", "111101111101111",
                                          "111101111001111"};
    if (digit < 0 || digit > 9)
        return;
    for (int row = 0; row < 5; ++row)
        for (int col = 0; col < 3; ++col)
            if (kFont[digit][row * 3 + col] == '1')
                for (int sy = 0; sy < scale; ++sy)
                    for (int sx = 0; sx < scale; ++sx)
                        canvas.Set(x + col * scale + sx, y + row * scale + sy, color);
}

} // namespace assetgen
