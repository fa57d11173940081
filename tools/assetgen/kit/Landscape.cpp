#include "kit/Landscape.h"

#include "kit/Noise.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace assetgen {

Rgba GradientAt(const std::vector<ColorStop>& stops, float t)
{
    if (stops.empty())
        return Rgba{};
    if (t <= stops.front().at)
        return stops.front().color;
    for (std::size_t i = 1; i < stops.size(); ++i)
        if (t <= stops[i].at) {
            const float span = stops[i].at - stops[i - 1].at;
            const float k = span > 0 ? (t - stops[i - 1].at) / span : 1.0f;
            return Mix(stops[i - 1].color, stops[i].color, k);
        }
    return stops.back().color;
}

void PaintVerticalGradient(Canvas& canvas, int y0, int y1, const std::vector<ColorStop>& stops)
{
    y0 = std::max(0, y0);
    y1 = std::min(canvas.Height(), y1);
    for (int y = y0; y < y1; ++y) {
        const Rgba c = GradientAt(stops, (y - y0 + 0.5f) / std::max(1, y1 - y0));
        for (int x = 0; x < canvas.Width(); ++x)
            canvas.Set(x, y, c);
    }
}

void PaintClouds(Canvas& canvas, Rng& rng, int y0, int y1, const CloudStyle& style)
{
    y0 = std::max(0, y0);
    y1 = std::min(canvas.Height(), y1);
    if (y1 <= y0)
        return;
    const NoiseField noise =
        NoiseField::Value(rng, canvas.Width(), y1 - y0, style.cellsX, style.cellsY, 4, 0.5f);
    const float threshold = 1.0f - style.cover;
    for (int y = y0; y < y1; ++y) {
        const float t = float(y - y0) / (y1 - y0);
        const float fade = SmoothStep(0.0f, 0.2f, t) * (1.0f - SmoothStep(0.6f, 1.0f, t));
        for (int x = 0; x < canvas.Width(); ++x) {
            const float v = noise.At(x, y - y0);
            const float k = SmoothStep(threshold, threshold + 0.25f, v) * style.strength * fade;
            if (k > 0)
                canvas.Shade(x, y, style.color, k);
        }
    }
}

std::vector<float> RidgeProfile(Rng& rng, int width, float base, float amplitude, int cells,
                                int octaves, float persistence)
{
    const NoiseField noise = NoiseField::Value(rng, width, 1, cells, 1, octaves, persistence);
    std::vector<float> profile(static_cast<std::size_t>(width));
    for (int x = 0; x < width; ++x)
        profile[x] = base + (noise.At(x, 0) - 0.5f) * 2.0f * amplitude;
    return profile;
}

void PaintBelow(Canvas& canvas, const std::vector<float>& profile, const Shader& shader,
                float rimLight)
{
    const int width = std::min<int>(canvas.Width(), static_cast<int>(profile.size()));
    for (int x = 0; x < width; ++x) {
        const float top = profile[x];
        for (int y = std::max(0, static_cast<int>(std::floor(top))); y < canvas.Height(); ++y) {
            const float coverage = Clamp01(y + 1.0f - top);
            Rgba c = shader(x, y);
            const float depth = y + 0.5f - top;
            if (rimLight > 0 && depth < 3.0f)
                c = c.Scaled(1.0f + rimLight * (1.0f - depth / 3.0f));
            canvas.Blend(x, y, c, coverage);
        }
    }
}

Sdf PolygonShape(std::vector<Point> points)
{
    return [points = std::move(points)](float x, float y) {
        float d = std::numeric_limits<float>::max();
        bool inside = false;
        const std::size_t n = points.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            const float ex = xj - xi, ey = yj - yi;
            const float len2 = ex * ex + ey * ey;
            const float t = len2 > 0 ? Clamp01(((x - xi) * ex + (y - yi) * ey) / len2) : 0.0f;
            d = std::min(d, std::hypot(x - (xi + t * ex), y - (yi + t * ey)));
            if ((yi > y) != (yj > y) && x < xi + (y - yi) * (xj - xi) / (yj - yi))
                inside = !inside;
        }
        return inside ? -d : d;
    };
}

Sdf EllipseShape(float cx, float cy, float rx, float ry)
{
    // Distance scaled by the smaller radius: exact on circles, close enough for soft edges.
    const float r = std::min(rx, ry);
    return [=](float x, float y) {
        const float u = (x - cx) / rx, v = (y - cy) / ry;
        return (std::sqrt(u * u + v * v) - 1.0f) * r;
    };
}

void FillShapeIn(Canvas& canvas, const RectF& bounds, const Sdf& shape, const Shader& shader)
{
    const int x0 = std::max(0, static_cast<int>(std::floor(bounds.x)) - 1);
    const int y0 = std::max(0, static_cast<int>(std::floor(bounds.y)) - 1);
    const int x1 = std::min(canvas.Width(), static_cast<int>(std::ceil(bounds.x + bounds.w)) + 1);
    const int y1 = std::min(canvas.Height(), static_cast<int>(std::ceil(bounds.y + bounds.h)) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float coverage = Clamp01(0.5f - shape(x + 0.5f, y + 0.5f));
            if (coverage > 0)
                canvas.Blend(x, y, shader(x, y), coverage);
        }
}

void PaintSoftBlob(Canvas& canvas, float cx, float cy, float rx, float ry, const Rgba& color,
                   float opacity)
{
    const int x0 = std::max(0, static_cast<int>(cx - rx)),
              x1 = std::min(canvas.Width(), int(cx + rx) + 1);
    const int y0 = std::max(0, static_cast<int>(cy - ry)),
              y1 = std::min(canvas.Height(), int(cy + ry) + 1);
    for (int y = y0; y < y1; ++y)
        for (int x = x0; x < x1; ++x) {
            const float u = (x + 0.5f - cx) / rx, v = (y + 0.5f - cy) / ry;
            const float k = 1.0f - SmoothStep(0.0f, 1.0f, std::sqrt(u * u + v * v));
            if (k > 0)
                canvas.Blend(x, y, color, k * opacity);
        }
}

void PaintStreaks(Canvas& canvas, Rng& rng, const RectF& box, int count, float length, float angle,
                  float width, const Rgba& color, float opacity)
{
    const float dx = std::sin(angle) * length, dy = std::cos(angle) * length;
    for (int i = 0; i < count; ++i) {
        const float x = static_cast<float>(rng.Range(box.x, box.x + box.w));
        const float y = static_cast<float>(rng.Range(box.y, box.y + box.h));
        const float a = opacity * static_cast<float>(rng.Range(0.5, 1.0));
        const RectF bounds{std::min(x, x + dx) - width, std::min(y, y + dy) - width,
                           std::fabs(dx) + 2 * width, std::fabs(dy) + 2 * width};
        FillShapeIn(canvas, bounds, SegmentShape(x, y, x + dx, y + dy, width),
                    Solid(color.WithAlpha(a)));
    }
}

void AddTexture(Canvas& canvas, Rng& rng, float mottle, float grain)
{
    const int w = canvas.Width(), h = canvas.Height();
    const NoiseField coarse = NoiseField::Value(rng, w, h, 16, 12, 4, 0.55f);
    const NoiseField fine = NoiseField::Grain(rng, w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const float k =
                1.0f + mottle * (coarse.At(x, y) - 0.5f) + grain * (fine.At(x, y) - 0.5f);
            const Rgba c = canvas.Get(x, y);
            canvas.Set(x, y, c.Scaled(k));
        }
}

void Vignette(Canvas& canvas, float strength)
{
    const float cx = canvas.Width() / 2.0f, cy = canvas.Height() / 2.0f;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            const float dx = (x + 0.5f - cx) / cx, dy = (y + 0.5f - cy) / cy;
            const float d = std::min(1.0f, (dx * dx + dy * dy) / 2.0f);
            canvas.Set(x, y, canvas.Get(x, y).Scaled(1.0f - strength * d));
        }
}

void GradeScene(Canvas& canvas, const Grade& grade)
{
    double sum = 0;
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x)
            sum += canvas.Get(x, y).Luminance();
    const float mean = static_cast<float>(sum / (double(canvas.Width()) * canvas.Height()));
    for (int y = 0; y < canvas.Height(); ++y)
        for (int x = 0; x < canvas.Width(); ++x) {
            Rgba c = canvas.Get(x, y).Desaturated(1.0f - grade.saturation);
            const auto tone = [&](float v) {
                return Clamp01((mean + (v - mean) * grade.contrast) * grade.brightness);
            };
            c = {tone(c.r) * grade.tint.r, tone(c.g) * grade.tint.g, tone(c.b) * grade.tint.b,
                 1.0f};
            canvas.Set(x, y, c);
        }
}

namespace {

// A box blur of rows y0.. along x then y, radius r, edges clamped.
std::vector<Rgba> BlurRows(const Canvas& canvas, int y0, int r)
{
    const int w = canvas.Width(), h = canvas.Height() - y0;
    std::vector<Rgba> src(static_cast<std::size_t>(w) * h), tmp(src.size());
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            src[y * w + x] = canvas.Get(x, y0 + y);
    const auto pass = [&](const std::vector<Rgba>& in, std::vector<Rgba>& out, bool alongX) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x) {
                Rgba acc{0, 0, 0, 0};
                for (int k = -r; k <= r; ++k) {
                    const int sx = alongX ? std::clamp(x + k, 0, w - 1) : x;
                    const int sy = alongX ? y : std::clamp(y + k, 0, h - 1);
                    const Rgba& c = in[sy * w + sx];
                    acc.r += c.r, acc.g += c.g, acc.b += c.b;
                }
                const float n = 2.0f * r + 1.0f;
                out[y * w + x] = {acc.r / n, acc.g / n, acc.b / n, 1.0f};
            }
    };
    pass(src, tmp, true);
    pass(tmp, src, false);
    return src;
}

} // namespace

void QuietBelow(Canvas& canvas, int y0, int ramp, int radius, float darken)
{
    y0 = std::clamp(y0, 0, canvas.Height() - 1);
    const std::vector<Rgba> blurred = BlurRows(canvas, y0, std::max(1, radius));
    const int w = canvas.Width();
    for (int y = y0; y < canvas.Height(); ++y) {
        const float k = SmoothStep(0.0f, float(std::max(1, ramp)), float(y - y0));
        for (int x = 0; x < w; ++x) {
            const Rgba c = Mix(canvas.Get(x, y), blurred[(y - y0) * w + x], k);
            canvas.Set(x, y, c.Scaled(1.0f - darken * k));
        }
    }
}

} // namespace assetgen
