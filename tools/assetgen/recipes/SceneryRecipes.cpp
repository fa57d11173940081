// The play backgrounds of the ten lands and the lab. Each is a 640 x 480 scene painted in
// plain shapes from the landscape kit (sky, layered silhouettes, a landmark or two), then
// graded calm: muted, darkened and low in contrast, its lower third (where the paddle
// plays) blurred and dimmed, its corners darkened, so that bricks, balls and power-ups
// read clearly over it. The walls cover 16 px at either side and the top 36 px (the
// status bar), as over the default backdrop; nothing that tells the place lies there.
#include "kit/Landscape.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "recipes/Recipes.h"

#include <algorithm>
#include <cmath>
#include <functional>
#include <string>

namespace assetgen {

namespace {

constexpr int kW = 640;
constexpr int kH = 480;
constexpr float kPi = 3.14159265f;

Shader Vertical(float y0, const Rgba& c0, float y1, const Rgba& c1)
{
    return LinearGradient(0, y0, c0, 0, y1, c1);
}

// Shading of a round body lit from the left: 1 + light at its left edge, 1 - light at
// its right, for a body centred at cx with half-width r.
float SideLight(float x, float cx, float r, float light)
{
    return 1.0f - light * std::clamp((x - cx) / r, -1.0f, 1.0f);
}

// ---- Landmarks and props shared by several lands ----------------------------------------

// A tapering tower in white and red bands with a glowing lantern and a faint beam.
void DrawLighthouse(Canvas& c, float x, float baseY, float height, float width, float beamSide)
{
    const float top = baseY - height, wb = width / 2, wt = width * 0.34f;
    const Rgba white = Rgba::Bytes(214, 212, 204), red = Rgba::Bytes(170, 52, 44);
    const float bandH = height / 5;
    FillShapeIn(c, {x - wb, top, width, height},
                PolygonShape({{x - wb, baseY}, {x - wt, top}, {x + wt, top}, {x + wb, baseY}}),
                [=](int px, int py) {
                    const bool band = static_cast<int>((py - top) / bandH) % 2 == 1;
                    return (band ? red : white).Scaled(SideLight(px + 0.5f, x, wb, 0.35f));
                });
    // Gallery, lantern room and roof.
    const Rgba dark = Rgba::Bytes(40, 40, 44);
    FillShapeIn(c, {x - wt - 4, top - 3, 2 * wt + 8, 4},
                RoundedRectShape({x - wt - 4, top - 3, 2 * wt + 8, 4}, 1), Solid(dark));
    const float lanternH = std::max(6.0f, height * 0.12f);
    FillShapeIn(c, {x - wt + 1, top - 3 - lanternH, 2 * wt - 2, lanternH},
                RoundedRectShape({x - wt + 1, top - 3 - lanternH, 2 * wt - 2, lanternH}, 1),
                Solid(Rgba::Bytes(255, 228, 150)));
    const float roofY = top - 3 - lanternH;
    FillShapeIn(c, {x - wt - 2, roofY - wt * 1.2f, 2 * wt + 4, wt * 1.2f},
                PolygonShape({{x - wt - 2, roofY}, {x, roofY - wt * 1.2f}, {x + wt + 2, roofY}}),
                Solid(red.Scaled(0.7f)));
    const float ly = top - 3 - lanternH / 2;
    DrawRadialSprite(c, x, ly, width * 2.2f, Rgba::Bytes(255, 220, 150), 2.0f, true);
    // The beam: a long faint wedge fading with distance.
    const float reach = 260, spread = 26;
    const float ex = x + beamSide * reach;
    FillShapeIn(c, {std::min(x, ex), ly - spread, reach, 2 * spread},
                PolygonShape({{x, ly - 2}, {ex, ly - spread}, {ex, ly + spread}, {x, ly + 2}}),
                [=](int px, int) {
                    const float t = std::fabs(px + 0.5f - x) / reach;
                    return Rgba::Bytes(255, 236, 190).WithAlpha(0.22f * (1 - t) * (1 - t));
                });
}

// A branch and its twigs: a tapering stroke that forks `depth` more times.
void DrawBranch(Canvas& c, Rng& rng, float x, float y, float angle, float length, float width,
                int depth, const Rgba& color, const std::function<void(float, float)>& atTip)
{
    const float ex = x + std::sin(angle) * length, ey = y - std::cos(angle) * length;
    FillShapeIn(c,
                {std::min(x, ex) - width, std::min(y, ey) - width, std::fabs(ex - x) + 2 * width,
                 std::fabs(ey - y) + 2 * width},
                SegmentShape(x, y, ex, ey, width), Solid(color));
    if (depth == 0) {
        if (atTip)
            atTip(ex, ey);
        return;
    }
    const int forks = 2 + (rng.Uniform() < 0.4 ? 1 : 0);
    for (int i = 0; i < forks; ++i) {
        const float turn = static_cast<float>(rng.Range(-0.7, 0.7));
        DrawBranch(c, rng, ex, ey, angle + turn, length * static_cast<float>(rng.Range(0.6, 0.8)),
                   std::max(1.0f, width * 0.65f), depth - 1, color, atTip);
    }
}

// A cluster of soft leafy blobs around a point, shaded lighter towards the upper left.
void DrawFoliage(Canvas& c, Rng& rng, float x, float y, float size, const Rgba& color, int blobs,
                 float opacity)
{
    for (int i = 0; i < blobs; ++i) {
        const float bx = x + static_cast<float>(rng.Range(-size, size));
        const float by = y + static_cast<float>(rng.Range(-size * 0.7, size * 0.5));
        const float r = size * static_cast<float>(rng.Range(0.35, 0.7));
        const float light = 1.0f + 0.25f * ((x - bx) + (y - by)) / (2 * size);
        PaintSoftBlob(c, bx, by, r, r * 0.85f, color.Scaled(light * rng.Range(0.85, 1.1)), opacity);
    }
}

// A toothed wheel lit from the upper left, with a hub hole and a groove round its web.
void DrawCog(Canvas& c, float cx, float cy, float radius, int teeth, const Rgba& color)
{
    const float depth = radius * 0.16f, hole = radius * 0.28f;
    const Sdf cog = [=](float x, float y) {
        const float dx = x - cx, dy = y - cy, d = std::hypot(dx, dy);
        const float s = 0.5f + 0.5f * std::cos(std::atan2(dy, dx) * teeth);
        const float outer = d - (radius - depth + depth * SmoothStep(0.35f, 0.65f, s));
        return std::max(outer, hole - d);
    };
    FillShapeIn(c, {cx - radius, cy - radius, 2 * radius, 2 * radius}, cog, [=](int x, int y) {
        const float dx = x + 0.5f - cx, dy = y + 0.5f - cy, d = std::max(1.0f, std::hypot(dx, dy));
        const float lit = -(dx + dy) / (d * 1.4142f);
        const float groove = std::fabs(d - radius * 0.6f) < 1.5f ? 0.75f : 1.0f;
        return color.Scaled((1.0f + 0.3f * lit * std::min(1.0f, d / radius * 2)) * groove);
    });
}

// A pressure gauge: brass rim, pale face with ticks, a needle.
void DrawGauge(Canvas& c, Rng& rng, float cx, float cy, float radius)
{
    const Rgba brass = Rgba::Bytes(176, 138, 70);
    FillShapeIn(c, {cx - radius, cy - radius, 2 * radius, 2 * radius}, CircleShape(cx, cy, radius),
                LinearGradient(cx - radius, cy - radius, brass.Scaled(1.25f), cx + radius,
                               cy + radius, brass.Scaled(0.6f)));
    const float face = radius * 0.8f;
    FillShapeIn(c, {cx - face, cy - face, 2 * face, 2 * face}, CircleShape(cx, cy, face),
                RadialGradient(cx - face * 0.3f, cy - face * 0.3f, face * 1.4f,
                               Rgba::Bytes(226, 218, 192), Rgba::Bytes(160, 150, 128)));
    const Rgba ink = Rgba::Bytes(50, 44, 40);
    for (int i = 0; i <= 8; ++i) {
        const float a = kPi * (0.75f + 1.5f * i / 8.0f);
        const float x0 = cx + std::cos(a) * face * 0.7f, y0 = cy + std::sin(a) * face * 0.7f;
        const float x1 = cx + std::cos(a) * face * 0.88f, y1 = cy + std::sin(a) * face * 0.88f;
        FillShapeIn(c,
                    {std::min(x0, x1) - 2, std::min(y0, y1) - 2, std::fabs(x1 - x0) + 4,
                     std::fabs(y1 - y0) + 4},
                    SegmentShape(x0, y0, x1, y1, std::max(1.0f, radius * 0.06f)), Solid(ink));
    }
    const float a = kPi * static_cast<float>(rng.Range(0.9, 2.1));
    const float nx = cx + std::cos(a) * face * 0.8f, ny = cy + std::sin(a) * face * 0.8f;
    FillShapeIn(c,
                {std::min(cx, nx) - 3, std::min(cy, ny) - 3, std::fabs(nx - cx) + 6,
                 std::fabs(ny - cy) + 6},
                SegmentShape(cx, cy, nx, ny, std::max(1.5f, radius * 0.08f)),
                Solid(Rgba::Bytes(170, 40, 30)));
    FillShapeIn(c, {cx - 4, cy - 4, 8, 8}, CircleShape(cx, cy, radius * 0.1f), Solid(ink));
}

// A round pipe along a segment, shaded across its width as lit from above-left.
void DrawPipe(Canvas& c, float x0, float y0, float x1, float y1, float width, const Rgba& color)
{
    const float dx = x1 - x0, dy = y1 - y0, len = std::max(1.0f, std::hypot(dx, dy));
    const float nx = -dy / len, ny = dx / len;       // across the pipe
    const float sign = (nx + ny) < 0 ? 1.0f : -1.0f; // the side facing the light
    FillShapeIn(c,
                {std::min(x0, x1) - width, std::min(y0, y1) - width, std::fabs(dx) + 2 * width,
                 std::fabs(dy) + 2 * width},
                SegmentShape(x0, y0, x1, y1, width), [=](int px, int py) {
                    const float across =
                        ((px + 0.5f - x0) * nx + (py + 0.5f - y0) * ny) / (width / 2) * sign;
                    const float k = 0.55f + 0.6f * (1.0f - std::fabs(across + 0.35f));
                    return color.Scaled(std::max(0.35f, k));
                });
}

// How a painted scene is calmed before it is written; every land shares the passes and
// tunes their strength.
struct Finish
{
    int quietFrom = 320; // the lower third, where the paddle plays
    float quietDarken = 0.35f;
    Grade grade;
    float vignette = 0.35f;
};

// Calms the scene and writes it. The picture is encoded as PNG under its ".jpg" name; the
// image loader recognises the format by content.
void Write(AssetPack& pack, const std::string& name, Canvas& canvas, Rng& rng, const Finish& f)
{
    QuietBelow(canvas, f.quietFrom, 70, 6, f.quietDarken);
    AddTexture(canvas, rng, 0.12f, 0.02f);
    GradeScene(canvas, f.grade);
    Vignette(canvas, f.vignette);
    pack.WriteImage(folders::kScreens, name, canvas);
}

// ---- The lands -----------------------------------------------------------------------------

// A stormy cape: heavy cloud over a grey sea, a dark headland with its lighthouse.
void CapeHorn(AssetPack& pack)
{
    const std::string name = "bkgLevelCapeHorn.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const int horizon = 262;
    PaintVerticalGradient(c, 0, horizon,
                          {{0, Rgba::Bytes(46, 52, 62)},
                           {0.7f, Rgba::Bytes(92, 100, 110)},
                           {1, Rgba::Bytes(130, 138, 144)}});
    PaintClouds(c, rng, 0, horizon, {Rgba::Bytes(28, 32, 40), 0.6f, 0.75f, 5, 2});
    PaintClouds(c, rng, 20, horizon, {Rgba::Bytes(150, 156, 164), 0.3f, 0.35f, 8, 3});
    PaintStreaks(c, rng, {40, 60, 300, 200}, 160, 60, 0.35f, 1.0f, Rgba::Bytes(120, 128, 138),
                 0.25f);
    // A far island and the headland, rising to the right.
    std::vector<float> island = RidgeProfile(rng, kW, 0, 5, 6);
    for (int x = 0; x < kW; ++x) {
        const float t = (x - 40) / 190.0f;
        island[x] = t <= 0 || t >= 1
                        ? kH + 2.0f
                        : horizon + 3 - 26 * std::pow(std::sin(kPi * t), 0.7f) + island[x];
    }
    PaintBelow(c, island, Solid(Rgba::Bytes(76, 84, 94)));
    // The sea: grey swell, lighter crests in long strokes.
    PaintVerticalGradient(c, horizon, kH,
                          {{0, Rgba::Bytes(84, 96, 104)}, {1, Rgba::Bytes(34, 44, 52)}});
    for (int i = 0; i < 220; ++i) {
        const float y = static_cast<float>(horizon + 4 + std::pow(rng.Uniform(), 1.6) * 180);
        const float x = static_cast<float>(rng.Range(0, kW));
        const float len = 8 + (y - horizon) * 0.35f;
        FillShapeIn(c, {x - 2, y - 2, len + 4, 4}, SegmentShape(x, y, x + len, y, 1.4f),
                    Solid(Rgba::Bytes(170, 180, 186).WithAlpha(0.35f)));
    }
    std::vector<float> cape = RidgeProfile(rng, kW, 0, 16, 6);
    for (int x = 0; x < kW; ++x) {
        const float t = Clamp01((x - 360) / 240.0f);
        cape[x] = x < 360 ? kH + 2.0f : horizon + 30 - 120 * std::sqrt(t) + cape[x] * t;
    }
    const NoiseField crags = NoiseField::Value(rng, kW, kH, 20, 14, 3, 0.6f);
    PaintBelow(
        c, cape,
        [&](int x, int y) {
            return Mix(Rgba::Bytes(100, 98, 94), Rgba::Bytes(52, 52, 56),
                       Clamp01((y - 150) / 240.0f))
                .Scaled(0.8f + 0.35f * crags.At(x, y));
        },
        0.3f);
    // Surf at the headland's foot.
    for (int i = 0; i < 30; ++i)
        PaintSoftBlob(c, static_cast<float>(rng.Range(360, 470)),
                      static_cast<float>(rng.Range(horizon + 24, horizon + 44)), 18, 5,
                      Rgba::Bytes(200, 206, 210), 0.25f);
    const float lx = 560;
    DrawLighthouse(c, lx, cape[static_cast<int>(lx)] + 4, 92, 20, -1);
    Finish f;
    f.grade.saturation = 0.55f;
    f.grade.brightness = 0.74f;
    Write(pack, name, c, rng, f);
}

// Terraced mountains in the morning mist, and stone ruins on a saddle.
void Peru(AssetPack& pack)
{
    const std::string name = "bkgLevelPeru.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    PaintVerticalGradient(c, 0, kH,
                          {{0, Rgba::Bytes(70, 100, 130)},
                           {0.45f, Rgba::Bytes(170, 176, 168)},
                           {1, Rgba::Bytes(120, 120, 100)}});
    PaintClouds(c, rng, 40, 220, {Rgba::Bytes(220, 222, 220), 0.35f, 0.4f, 6, 2});
    // Far peaks, sharp and blue.
    PaintBelow(c, RidgeProfile(rng, kW, 150, 70, 4, 4, 0.6f),
               Vertical(80, Rgba::Bytes(110, 124, 140), 300, Rgba::Bytes(130, 140, 146)));
    // Mist between the ranges.
    for (int i = 0; i < 14; ++i)
        PaintSoftBlob(c, static_cast<float>(rng.Range(0, kW)), 215, 90, 22,
                      Rgba::Bytes(200, 204, 200), 0.35f);
    // The green ranges, cut into terraces that follow the slope.
    const Rgba greens[] = {Rgba::Bytes(90, 110, 70), Rgba::Bytes(72, 96, 56)};
    for (int layer = 0; layer < 2; ++layer) {
        const std::vector<float> ridge =
            RidgeProfile(rng, kW, 200 + layer * 50.0f, 60 - layer * 15.0f, 3 + layer, 3, 0.55f);
        const NoiseField sway = NoiseField::Value(rng, kW, 1, 4, 1, 2, 0.5f);
        const float step = 9.0f + layer * 4;
        PaintBelow(
            c, ridge,
            [&, layer, step](int x, int y) {
                const float v = std::fmod(y + sway.At(x, 0) * 30.0f - x * 0.04f, step);
                const float lip = v < 2 ? 0.72f : (v < 3.5f ? 1.12f : 1.0f);
                return greens[layer].Scaled(lip * (1.05f - 0.12f * layer));
            },
            0.2f);
    }
    // The ruins: stone walls of fitted blocks on the near saddle, a doorway, a stair.
    const Rgba stone = Rgba::Bytes(150, 140, 120);
    const float ruinX = 170, ruinY = 270;
    const RectF walls[] = {{ruinX, ruinY - 40, 90, 40},
                           {ruinX + 100, ruinY - 28, 60, 28},
                           {ruinX - 50, ruinY - 22, 40, 22},
                           {ruinX + 20, ruinY - 62, 40, 22},
                           {ruinX + 170, ruinY - 14, 70, 14}};
    for (const RectF& w : walls) {
        FillShapeIn(c, w, RoundedRectShape(w, 1), [&](int x, int y) {
            const int row = static_cast<int>((y - w.y) / 7);
            const float sx = std::fmod(x - w.x + row * 5.0f + (row % 2) * 6, 12.0f);
            const float sy = std::fmod(y - w.y, 7.0f);
            const float seam = (sx < 1 || sy < 1) ? 0.7f : 1.0f;
            return stone.Scaled(seam * SideLight(x + 0.5f, w.x + w.w / 2, w.w / 2, 0.15f));
        });
    }
    FillShapeIn(c, {ruinX + 36, ruinY - 30, 18, 30},
                PolygonShape({{ruinX + 38, ruinY},
                              {ruinX + 40, ruinY - 28},
                              {ruinX + 50, ruinY - 28},
                              {ruinX + 52, ruinY}}),
                Solid(Rgba::Bytes(40, 38, 34)));
    for (int i = 0; i < 5; ++i)
        FillShapeIn(c, {ruinX - 40 + i * 8.0f, ruinY - 4.0f - i * 4, 60, 4},
                    RoundedRectShape({ruinX - 40 + i * 8.0f, ruinY - 4.0f - i * 4, 30, 4}, 1),
                    Solid(stone.Scaled(0.85f)));
    // Near meadow.
    PaintBelow(c, RidgeProfile(rng, kW, 300, 12, 3),
               Vertical(300, Rgba::Bytes(88, 104, 62), kH, Rgba::Bytes(60, 70, 44)));
    Finish f;
    Write(pack, name, c, rng, f);
}

// A white dome among cherry trees in flower, under a spring rain.
void Washington(AssetPack& pack)
{
    const std::string name = "bkgLevelWashington.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const int ground = 300;
    PaintVerticalGradient(c, 0, ground,
                          {{0, Rgba::Bytes(70, 80, 100)}, {1, Rgba::Bytes(150, 156, 168)}});
    PaintClouds(c, rng, 0, ground, {Rgba::Bytes(110, 116, 130), 0.5f, 0.5f, 5, 2});
    // The capitol: a long colonnaded front, a drum of columns, the dome, its lantern.
    const Rgba marble = Rgba::Bytes(222, 220, 214);
    const float cx = 320;
    const auto lit = [&](float x0, float w) {
        return [=](int x, int y) {
            return marble.Scaled(SideLight(x + 0.5f, x0 + w / 2, w / 2, 0.18f));
        };
    };
    FillShapeIn(c, {cx - 200, ground - 50, 400, 50},
                RoundedRectShape({cx - 200, ground - 50.0f, 400, 50}, 1), lit(cx - 200, 400));
    FillShapeIn(
        c, {cx - 60, ground - 74, 120, 28},
        PolygonShape({{cx - 60, ground - 50.0f}, {cx, ground - 74.0f}, {cx + 60, ground - 50.0f}}),
        lit(cx - 60, 120));
    for (float x = cx - 190; x <= cx + 190; x += 12)
        FillShapeIn(c, {x, ground - 44.0f, 3, 40}, RoundedRectShape({x, ground - 44.0f, 3, 40}, 1),
                    Solid(Rgba::Bytes(120, 120, 124)));
    FillShapeIn(c, {cx - 70, ground - 110, 140, 40},
                RoundedRectShape({cx - 70, ground - 110.0f, 140, 40}, 1), lit(cx - 70, 140));
    for (float x = cx - 64; x <= cx + 62; x += 9)
        FillShapeIn(c, {x, ground - 104.0f, 3, 30},
                    RoundedRectShape({x, ground - 104.0f, 3, 30}, 1),
                    Solid(Rgba::Bytes(130, 130, 136)));
    FillShapeIn(
        c, {cx - 62, ground - 186, 124, 80},
        [=](float x, float y) {
            const float base = ground - 108.0f;
            const float u = (x - cx) / 62, v = (base - y) / 76;
            return y > base ? y - base : (std::sqrt(u * u + v * v) - 1) * 62;
        },
        [=](int x, int y) {
            const float rib = std::fabs(std::fmod(std::fabs(x - cx) + 3, 14.0f) - 7);
            return marble.Scaled(SideLight(x + 0.5f, cx, 62, 0.3f) * (rib < 1 ? 0.85f : 1.0f));
        });
    FillShapeIn(c, {cx - 10, ground - 212, 20, 30},
                RoundedRectShape({cx - 9, ground - 208.0f, 18, 26}, 3), lit(cx - 9, 18));
    FillShapeIn(c, {cx - 3, ground - 226, 6, 20},
                RoundedRectShape({cx - 2, ground - 224.0f, 4, 18}, 2),
                Solid(Rgba::Bytes(100, 100, 104)));
    // Lawn and path.
    PaintVerticalGradient(c, ground, kH,
                          {{0, Rgba::Bytes(70, 92, 64)}, {1, Rgba::Bytes(40, 52, 40)}});
    FillShapeIn(c, {cx - 200, ground, 400, kH - ground},
                PolygonShape({{cx - 30, ground + 0.0f},
                              {cx + 30, ground + 0.0f},
                              {cx + 180, kH + 0.0f},
                              {cx - 180, kH + 0.0f}}),
                Vertical(ground, Rgba::Bytes(150, 144, 130), kH, Rgba::Bytes(90, 86, 80)));
    // Cherry trees in blossom at both sides.
    const Rgba bark = Rgba::Bytes(50, 34, 32), blossom = Rgba::Bytes(236, 168, 190);
    const float trees[][3] = {
        {70, 330, 1.0f}, {170, 310, 0.7f}, {560, 335, 1.05f}, {470, 312, 0.68f}};
    for (const auto& t : trees) {
        const float s = t[2];
        const std::function<void(float, float)> bloom = [&](float x, float y) {
            DrawFoliage(c, rng, x, y, 22 * s, blossom, 5, 0.75f);
        };
        DrawBranch(c, rng, t[0], t[1], static_cast<float>(rng.Range(-0.15, 0.15)), 70 * s, 9 * s, 3,
                   bark, bloom);
    }
    PaintStreaks(c, rng, {0, -40, kW, kH}, 700, 26, 0.18f, 1.0f, Rgba::Bytes(200, 210, 225), 0.22f);
    Finish f;
    Write(pack, name, c, rng, f);
}

// Glaciers under a night sky with the aurora, and a geyser's plume rising.
void Iceland(AssetPack& pack)
{
    const std::string name = "bkgLevelIceland.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    PaintVerticalGradient(c, 0, 300, {{0, Rgba::Bytes(10, 18, 40)}, {1, Rgba::Bytes(40, 66, 92)}});
    for (int i = 0; i < 160; ++i)
        c.AddLight(rng.Int(0, kW - 1), rng.Int(0, 220), Rgba::Bytes(220, 230, 255),
                   static_cast<float>(rng.Range(0.2, 0.7)));
    // Aurora: curtains of green light swaying across the sky, streaked upwards.
    const NoiseField rays = NoiseField::Value(rng, kW, 1, 40, 1, 2, 0.5f);
    for (int band = 0; band < 2; ++band) {
        const float phase = static_cast<float>(rng.Range(0, 6.28));
        const float base = 110.0f + band * 50;
        for (int x = 0; x < kW; ++x) {
            const float edge = base + 34 * std::sin(x * 0.011f + phase) + 12 * std::sin(x * 0.031f);
            const float power = (0.6f + 0.4f * rays.At(x + band * 90, 0)) * (band ? 0.55f : 0.8f);
            for (int y = std::max(0, static_cast<int>(edge - 90)); y < edge + 6 && y < kH; ++y) {
                const float d = (edge - y) / 90.0f;
                const float k = d < 0 ? std::max(0.0f, 1 + d * 15) : (1 - d) * (1 - d);
                const Rgba col = Mix(Rgba::Bytes(90, 240, 160), Rgba::Bytes(140, 90, 200), d);
                c.AddLight(x, y, col, k * power * 0.55f);
            }
        }
    }
    // Glaciers: pale blue-white ice over dark rock, with crevasse streaks.
    const NoiseField streaks = NoiseField::Streaks(rng, kW, kH, 30, false);
    PaintBelow(c, RidgeProfile(rng, kW, 196, 50, 3, 5, 0.65f), [&](int x, int y) {
        return Rgba::Bytes(176, 198, 220)
            .Scaled(0.92f + 0.1f * streaks.At(x, y) - (y - 160) * 0.0015f);
    });
    // Dark foothills, their tops under snow.
    const std::vector<float> foothills = RidgeProfile(rng, kW, 262, 22, 5);
    PaintBelow(c, foothills, [&](int x, int y) {
        const float depth = y - foothills[x] - 10 * streaks.At(x * 3, 0);
        return Mix(Rgba::Bytes(178, 192, 208), Rgba::Bytes(62, 66, 74), SmoothStep(2, 14, depth));
    });
    // The geyser's plume, billowing as it rises.
    const float gx = 210, gy = 300;
    for (int i = 0; i < 60; ++i) {
        const float t = static_cast<float>(i) / 60;
        const float y = gy - t * 190;
        const float w = 6 + t * 40;
        PaintSoftBlob(c, gx + static_cast<float>(rng.Range(-w, w) * 0.5) + t * 25, y,
                      w * static_cast<float>(rng.Range(0.8, 1.2)), w * 0.8f,
                      Rgba::Bytes(230, 236, 240), 0.35f * (1 - t * 0.6f));
    }
    // Dark lava plain with snow patches.
    const NoiseField snow = NoiseField::Value(rng, kW, kH, 28, 20, 3, 0.5f);
    PaintBelow(c, RidgeProfile(rng, kW, 300, 6, 4), [&](int x, int y) {
        return Mix(Rgba::Bytes(120, 130, 142), Rgba::Bytes(56, 58, 62),
                   SmoothStep(0.45f, 0.75f, snow.At(x, y)) * 0.4f);
    });
    PaintSoftBlob(c, gx, gy, 30, 8, Rgba::Bytes(220, 226, 230), 0.5f);
    Finish f;
    f.grade.brightness = 0.7f;
    Write(pack, name, c, rng, f);
}

// A chateau on its hill above vineyard rows, a lavender field below, at dusk.
void France(AssetPack& pack)
{
    const std::string name = "bkgLevelFrance.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    PaintVerticalGradient(c, 0, 280,
                          {{0, Rgba::Bytes(64, 62, 110)},
                           {0.6f, Rgba::Bytes(176, 130, 150)},
                           {1, Rgba::Bytes(236, 176, 130)}});
    PaintClouds(c, rng, 20, 220, {Rgba::Bytes(240, 190, 180), 0.3f, 0.35f, 5, 2});
    PaintBelow(c, RidgeProfile(rng, kW, 236, 14, 3), Solid(Rgba::Bytes(110, 104, 136)));
    // The hill, and vineyard rows running down its flank.
    std::vector<float> hill(kW);
    for (int x = 0; x < kW; ++x)
        hill[x] = 270 - 80 * std::exp(-std::pow((x - 430) / 170.0f, 2.0f));
    PaintBelow(
        c, hill,
        [&](int x, int y) {
            const float slope = (x - 430) * 0.25f;
            const float row = std::fmod(std::fabs(x * 0.5f + slope + (y - hill[x]) * 0.2f), 8.0f);
            return Rgba::Bytes(82, 110, 56).Scaled(row < 3 ? 0.7f : 1.05f);
        },
        0.2f);
    // The chateau: a main house with a slate roof, two round towers with cones.
    const float cx = 430, base = hill[430] + 6;
    const Rgba wall = Rgba::Bytes(214, 196, 160), slate = Rgba::Bytes(66, 72, 92);
    FillShapeIn(c, {cx - 50, base - 44, 100, 44},
                RoundedRectShape({cx - 50, base - 44, 100, 44}, 1),
                [&](int x, int) { return wall.Scaled(SideLight(x + 0.5f, cx, 50, 0.15f)); });
    FillShapeIn(c, {cx - 54, base - 70, 108, 28},
                PolygonShape({{cx - 54, base - 44},
                              {cx - 36, base - 70},
                              {cx + 36, base - 70},
                              {cx + 54, base - 44}}),
                Solid(slate));
    for (float wx = cx - 40; wx < cx + 40; wx += 14)
        for (float wy : {base - 36, base - 20})
            FillShapeIn(c, {wx, wy, 6, 10}, RoundedRectShape({wx, wy, 6, 10}, 1),
                        Solid(Rgba::Bytes(250, 210, 130)));
    for (float tx : {cx - 62, cx + 62}) {
        FillShapeIn(c, {tx - 13, base - 66, 26, 66},
                    RoundedRectShape({tx - 12, base - 66, 24, 66}, 2),
                    [&](int x, int) { return wall.Scaled(SideLight(x + 0.5f, tx, 12, 0.35f)); });
        FillShapeIn(c, {tx - 16, base - 104, 32, 40},
                    PolygonShape({{tx - 16, base - 64}, {tx, base - 104}, {tx + 16, base - 64}}),
                    [&](int x, int) { return slate.Scaled(SideLight(x + 0.5f, tx, 16, 0.3f)); });
    }
    // The lavender field: purple rows running to a point on the horizon, the furrows
    // between them fading as the field nears the paddle.
    const float vx = 200, vy = 280;
    std::vector<float> field(kW, 300.0f);
    PaintBelow(c, field, [&](int x, int y) {
        const float a = std::atan2(x - vx, y - vy + 1.0f);
        const float row = std::fabs(std::sin(a * 26));
        const float furrow =
            (1.0f - SmoothStep(0.2f, 0.6f, row)) * (1.0f - 0.7f * (y - 300) / 180.0f);
        return Mix(Rgba::Bytes(140, 106, 176), Rgba::Bytes(74, 70, 50), furrow);
    });
    Finish f;
    f.quietDarken = 0.3f;
    Write(pack, name, c, rng, f);
}

// Pyramids over rolling dunes under a hot sky.
void Egypt(AssetPack& pack)
{
    const std::string name = "bkgLevelEgypt.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    PaintVerticalGradient(c, 0, 290,
                          {{0, Rgba::Bytes(140, 80, 50)},
                           {0.6f, Rgba::Bytes(230, 140, 60)},
                           {1, Rgba::Bytes(250, 206, 120)}});
    PaintVerticalGradient(c, 288, kH,
                          {{0, Rgba::Bytes(214, 164, 104)}, {1, Rgba::Bytes(170, 120, 76)}});
    PaintSoftBlob(c, 470, 120, 160, 160, Rgba::Bytes(255, 180, 100), 0.8f);
    FillShapeIn(c, {440, 90, 60, 60}, CircleShape(470, 120, 26), Solid(Rgba::Bytes(255, 214, 150)));
    // Heat haze: faint horizontal bands near the horizon.
    for (int y = 240; y < 290; y += 5)
        for (int x = 0; x < kW; ++x)
            c.Shade(x, y, Rgba::Bytes(255, 230, 180), 0.08f);
    // Pyramids: the sunlit face to the left, the shaded to the right, courses of blocks.
    const float pyramids[][3] = {{240, 280, 130}, {390, 284, 90}, {120, 286, 55}};
    for (const auto& p : pyramids) {
        const float x = p[0], base = p[1], h = p[2], half = h * 1.05f;
        const float apexX = x + h * 0.12f;
        const auto courses = [=](int, int py, const Rgba& face) {
            return face.Scaled(std::fmod(base - py, 6.0f) < 1 ? 0.86f : 1.0f);
        };
        FillShapeIn(c, {x - half, base - h, 2 * half, h},
                    PolygonShape({{x - half, base}, {apexX, base - h}, {x + h * 0.25f, base}}),
                    [=](int px, int py) { return courses(px, py, Rgba::Bytes(226, 180, 116)); });
        FillShapeIn(c, {x, base - h, 2 * half, h},
                    PolygonShape({{x + h * 0.25f, base}, {apexX, base - h}, {x + half, base}}),
                    [=](int px, int py) { return courses(px, py, Rgba::Bytes(146, 100, 66)); });
    }
    // Dunes: smooth swells with a lit crest and a shaded lee.
    for (int layer = 0; layer < 3; ++layer) {
        const std::vector<float> dune =
            RidgeProfile(rng, kW, 290 + layer * 38.0f, 16, 2 + layer, 2, 0.3f);
        const Rgba sand = Rgba::Bytes(210, 160, 100).Scaled(1.0f - layer * 0.1f);
        PaintBelow(
            c, dune,
            [&, sand](int x, int y) {
                const float slope = dune[std::min(x + 1, kW - 1)] - dune[std::max(x - 1, 0)];
                return sand.Scaled(1.0f + std::clamp(slope * 0.25f, -0.2f, 0.2f) -
                                   (y - dune[x]) * 0.002f);
            },
            0.25f);
    }
    Finish f;
    f.grade.brightness = 0.55f;
    f.grade.saturation = 0.85f;
    Write(pack, name, c, rng, f);
}

// Baobabs in a row against the sunset, on red earth.
void Madagascar(AssetPack& pack)
{
    const std::string name = "bkgLevelMadagascar.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const int horizon = 300;
    PaintVerticalGradient(c, 0, horizon,
                          {{0, Rgba::Bytes(60, 40, 80)},
                           {0.55f, Rgba::Bytes(200, 90, 70)},
                           {1, Rgba::Bytes(250, 170, 80)}});
    PaintSoftBlob(c, 330, 282, 200, 150, Rgba::Bytes(255, 150, 60), 0.8f);
    FillShapeIn(c, {290, 240, 80, 80}, CircleShape(330, 282, 34),
                Solid(Rgba::Bytes(255, 206, 120)));
    PaintClouds(c, rng, 60, 220, {Rgba::Bytes(120, 50, 70), 0.35f, 0.5f, 4, 3});
    PaintBelow(c, RidgeProfile(rng, kW, horizon - 4, 6, 6), Solid(Rgba::Bytes(90, 50, 50)));
    // Red earth and a track between the trees.
    PaintVerticalGradient(c, horizon, kH,
                          {{0, Rgba::Bytes(150, 70, 46)}, {1, Rgba::Bytes(100, 44, 30)}});
    FillShapeIn(
        c, {0, horizon, kW, kH - horizon},
        PolygonShape(
            {{318, horizon + 0.0f}, {342, horizon + 0.0f}, {520, kH + 0.0f}, {140, kH + 0.0f}}),
        Vertical(horizon, Rgba::Bytes(180, 96, 60), kH, Rgba::Bytes(130, 66, 44)));
    // The baobabs: bottle trunks with a tuft of short branches, smaller towards the horizon.
    const Rgba dark = Rgba::Bytes(36, 22, 26);
    const float trees[][2] = {{80, 1.0f},  {200, 0.7f},  {270, 0.48f},
                              {390, 0.5f}, {455, 0.72f}, {575, 1.05f}};
    for (const auto& t : trees) {
        const float s = t[1], x = t[0];
        const float base = horizon + 8 + 120 * (s - 0.45f), h = 210 * s, w = 34 * s;
        FillShapeIn(
            c, {x - w, base - h, 2 * w, h + 2},
            PolygonShape({{x - w * 0.75f, base},
                          {x - w * 0.62f, base - h * 0.5f},
                          {x - w * 0.38f, base - h},
                          {x + w * 0.38f, base - h},
                          {x + w * 0.62f, base - h * 0.5f},
                          {x + w * 0.75f, base}}),
            [&](int px, int) { return dark.Scaled(SideLight(px + 0.5f, x, w * 0.6f, 0.2f)); });
        const std::function<void(float, float)> leaves = [&](float lx, float ly) {
            DrawFoliage(c, rng, lx, ly, 8 * s, Rgba::Bytes(40, 36, 26), 3, 0.9f);
        };
        for (int b = 0; b < 6; ++b)
            DrawBranch(c, rng, x + static_cast<float>(rng.Range(-w * 0.3, w * 0.3)), base - h + 2,
                       static_cast<float>(-1.1 + 2.2 * b / 5.0 + rng.Range(-0.1, 0.1)), 34 * s,
                       6 * s, 1, dark, leaves);
    }
    Finish f;
    f.grade.saturation = 0.65f;
    f.grade.brightness = 0.58f;
    Write(pack, name, c, rng, f);
}

// A wall with watchtowers winding over green hills in the mist; red lanterns above.
void China(AssetPack& pack)
{
    const std::string name = "bkgLevelChina.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    PaintVerticalGradient(c, 0, kH,
                          {{0, Rgba::Bytes(120, 140, 130)},
                           {0.5f, Rgba::Bytes(200, 206, 190)},
                           {1, Rgba::Bytes(140, 150, 120)}});
    const Rgba hills[] = {Rgba::Bytes(140, 164, 150), Rgba::Bytes(90, 130, 100),
                          Rgba::Bytes(60, 104, 70), Rgba::Bytes(44, 80, 52)};
    for (int layer = 0; layer < 4; ++layer) {
        const std::vector<float> ridge =
            RidgeProfile(rng, kW, 160 + layer * 48.0f, 55 - layer * 8.0f, 3 + layer, 3, 0.5f);
        PaintBelow(
            c, ridge,
            Vertical(ridge[0] - 60, hills[layer].Scaled(1.1f), kH, hills[layer].Scaled(0.8f)),
            0.1f);
        if (layer == 1) {
            // The wall rides this ridge: a stone band with battlements and towers.
            const Rgba stone = Rgba::Bytes(170, 158, 132);
            for (int x = 0; x < kW; ++x) {
                const float top = ridge[x] - 9;
                const bool merlon = (x / 4) % 2 == 0;
                for (int y = static_cast<int>(top - (merlon ? 3 : 0)); y < ridge[x] + 3; ++y)
                    c.Blend(x, y, stone.Scaled(y < top ? 0.9f : 1.0f));
                c.Blend(x, static_cast<int>(ridge[x] + 3), stone.Scaled(0.6f));
            }
            for (int tx = 60; tx < kW; tx += 140) {
                const float ty = ridge[tx] - 26;
                FillShapeIn(c, {tx - 10.0f, ty, 20, 28},
                            RoundedRectShape({tx - 10.0f, ty, 20, 28}, 1),
                            Solid(stone.Scaled(0.95f)));
                FillShapeIn(c, {tx - 14.0f, ty - 8, 28, 9},
                            PolygonShape({{tx - 14.0f, ty + 1},
                                          {tx - 8.0f, ty - 7},
                                          {tx + 8.0f, ty - 7},
                                          {tx + 14.0f, ty + 1}}),
                            Solid(Rgba::Bytes(70, 60, 54)));
                FillShapeIn(c, {tx - 3.0f, ty + 10, 6, 9},
                            RoundedRectShape({tx - 3.0f, ty + 10, 6, 9}, 2),
                            Solid(Rgba::Bytes(50, 44, 40)));
            }
        }
        PaintClouds(c, rng, static_cast<int>(140 + layer * 48), static_cast<int>(230 + layer * 48),
                    {Rgba::Bytes(220, 226, 214), 0.35f, 0.45f, 5, 1});
    }
    // A string of lanterns across the top of the play area.
    const std::vector<float> cord = [] {
        std::vector<float> y(kW);
        for (int x = 0; x < kW; ++x)
            y[x] = 46 + 22 * std::sin(kPi * std::fmod(x, 320.0f) / 320.0f);
        return y;
    }();
    for (int x = 0; x < kW; ++x)
        c.Blend(x, static_cast<int>(cord[x]), Rgba::Bytes(40, 30, 30), 0.8f);
    for (int i = 0; i < 8; ++i) {
        const float lx = 40 + i * 80.0f, ly = cord[static_cast<int>(lx)] + 14;
        DrawRadialSprite(c, lx, ly, 30, Rgba::Bytes(200, 100, 60), 2.0f, true);
        FillShapeIn(c, {lx - 13, ly - 12, 26, 24}, EllipseShape(lx, ly, 12, 11), [=](int x, int) {
            return Rgba::Bytes(210, 50, 40).Scaled(SideLight(x + 0.5f, lx, 12, 0.3f));
        });
        for (float cy : {ly - 11, ly + 10})
            FillShapeIn(c, {lx - 6, cy - 1, 12, 3}, RoundedRectShape({lx - 6, cy - 1, 12, 3}, 1),
                        Solid(Rgba::Bytes(220, 180, 70)));
        FillShapeIn(c, {lx - 1, ly + 12, 3, 12}, SegmentShape(lx, ly + 13, lx, ly + 22, 2),
                    Solid(Rgba::Bytes(220, 180, 70)));
    }
    Finish f;
    Write(pack, name, c, rng, f);
}

// A birch forest in the snow, a railway running away between the trees.
void Siberia(AssetPack& pack)
{
    const std::string name = "bkgLevelSiberia.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const int horizon = 270;
    PaintVerticalGradient(c, 0, horizon,
                          {{0, Rgba::Bytes(110, 120, 140)}, {1, Rgba::Bytes(196, 200, 208)}});
    PaintClouds(c, rng, 0, horizon, {Rgba::Bytes(150, 156, 170), 0.5f, 0.4f, 4, 2});
    // Far taiga: a dark band of spruce tips.
    std::vector<float> taiga(kW);
    for (int x = 0; x < kW; ++x)
        taiga[x] = horizon - 14 - 14 * std::fabs(std::fmod(x + 3.0f, 9.0f) - 4.5f) / 4.5f -
                   static_cast<float>(rng.Range(0, 5));
    PaintBelow(c, taiga, Solid(Rgba::Bytes(60, 72, 74)));
    // Snow, and the railway running to a point on the horizon.
    PaintVerticalGradient(c, horizon, kH,
                          {{0, Rgba::Bytes(200, 208, 220)}, {1, Rgba::Bytes(150, 160, 176)}});
    const float vx = 330;
    for (float z = 1; z < 60; z *= 1.12f) {
        const float y = horizon + 210 / z;
        const float half = 150 / z;
        if (y > kH + 4)
            continue;
        FillShapeIn(
            c, {vx - half * 1.4f, y - 3, half * 2.8f, 6},
            RoundedRectShape({vx - half * 1.35f, y - 3 / z - 1, half * 2.7f, 6 / z + 1}, 0.5f),
            Solid(Rgba::Bytes(70, 56, 48)));
    }
    for (float side : {-1.0f, 1.0f})
        FillShapeIn(c, {0, horizon, kW, kH - horizon},
                    SegmentShape(vx, horizon, vx + side * 150, kH + 0.0f + 210, 3.0f),
                    Solid(Rgba::Bytes(90, 92, 100)));
    // Birches at both sides: white trunks with dark marks, a hint of bare twigs.
    const Rgba bark = Rgba::Bytes(226, 224, 216), mark = Rgba::Bytes(40, 38, 36);
    for (int i = 0; i < 14; ++i) {
        const bool left = i % 2 == 0;
        const float near = static_cast<float>(rng.Range(0.4, 1.0));
        const float x =
            left ? static_cast<float>(rng.Range(20, 230)) : static_cast<float>(rng.Range(420, 620));
        const float w = 6 + 12 * near, foot = horizon + 20 + 150 * near * near;
        FillShapeIn(c, {x - w, 0, 2 * w, foot},
                    RoundedRectShape({x - w / 2, -10, w, foot + 10}, w / 3),
                    [&](int px, int) { return bark.Scaled(SideLight(px + 0.5f, x, w / 2, 0.3f)); });
        for (int m = 0; m < 10; ++m) {
            const float my = static_cast<float>(rng.Range(0, foot - 10));
            const float mw = w * static_cast<float>(rng.Range(0.3, 0.7));
            const float mx = x - w / 2 + (rng.Uniform() < 0.5 ? 0 : w - mw);
            FillShapeIn(c, {mx, my, mw, 3}, RoundedRectShape({mx, my, mw, 2.5f}, 1), Solid(mark));
        }
        DrawBranch(c, rng, x, foot * 0.3f, left ? 0.7f : -0.7f, 30 * near, 2, 2,
                   Rgba::Bytes(80, 70, 64), nullptr);
    }
    PaintStreaks(c, rng, {0, 0, kW, kH}, 300, 2, 0.3f, 2.2f, Rgba::Bytes(240, 244, 250), 0.5f);
    Finish f;
    f.grade.brightness = 0.5f;
    f.grade.contrast = 0.6f;
    Write(pack, name, c, rng, f);
}

// A cliff coast of tall rock columns with a lighthouse, and the gum forest inland.
void Tasmania(AssetPack& pack)
{
    const std::string name = "bkgLevelTasmania.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const int horizon = 250;
    PaintVerticalGradient(c, 0, horizon,
                          {{0, Rgba::Bytes(50, 90, 120)}, {1, Rgba::Bytes(170, 196, 200)}});
    PaintClouds(c, rng, 20, horizon, {Rgba::Bytes(220, 230, 230), 0.3f, 0.4f, 6, 2});
    PaintVerticalGradient(c, horizon, kH,
                          {{0, Rgba::Bytes(60, 110, 130)}, {1, Rgba::Bytes(30, 60, 76)}});
    for (int i = 0; i < 120; ++i) {
        const float y = static_cast<float>(horizon + 3 + std::pow(rng.Uniform(), 1.5) * 200);
        const float x = static_cast<float>(rng.Range(0, 360));
        const float len = 6 + (y - horizon) * 0.25f;
        FillShapeIn(c, {x - 2, y - 2, len + 4, 4}, SegmentShape(x, y, x + len, y, 1.2f),
                    Solid(Rgba::Bytes(170, 210, 220).WithAlpha(0.3f)));
    }
    // The cliff: organ pipes of dolerite, each column rounded and lit from the left, their
    // tops broken at different heights.
    struct Column
    {
        int x0, width;
        float top;
        Rgba rock;
        float cracks[3];
    };
    std::vector<Column> columns;
    for (int x = 120; x < kW;) {
        Column col;
        col.x0 = x;
        col.width = rng.Int(8, 17);
        const float slope = x < 190 ? (190 - x) * 2.2f : 0.0f;
        col.top = 168 + 8 * std::sin(x * 0.02f) + static_cast<float>(rng.Range(0, 16)) + slope;
        col.rock = Mix(Rgba::Bytes(112, 114, 116), Rgba::Bytes(132, 118, 102),
                       static_cast<float>(rng.Range(0, 1)))
                       .Scaled(static_cast<float>(rng.Range(0.85, 1.1)));
        for (float& crack : col.cracks)
            crack = col.top + static_cast<float>(rng.Range(10, 200));
        columns.push_back(col);
        x += col.width;
    }
    std::vector<int> columnAt(kW, -1);
    std::vector<float> cliffTop(kW, kH + 2.0f);
    for (std::size_t i = 0; i < columns.size(); ++i)
        for (int x = columns[i].x0; x < std::min(kW, columns[i].x0 + columns[i].width); ++x) {
            columnAt[x] = static_cast<int>(i);
            cliffTop[x] = columns[i].top;
        }
    const NoiseField lichen = NoiseField::Value(rng, kW, kH, 24, 18, 3, 0.6f);
    PaintBelow(
        c, cliffTop,
        [&](int x, int y) {
            const Column& col = columns[columnAt[x]];
            const float u = (x + 0.5f - col.x0) / col.width; // across the column, 0..1
            const float round = u < 0.1f ? 0.72f : 1.15f - 0.35f * u;
            float crack = 1.0f;
            for (float cy : col.cracks)
                if (std::fabs(y - cy) < 1.0f)
                    crack = 0.6f;
            // Orange lichen in patches, broad bulges of light and shade along the face.
            const Rgba stone = Mix(col.rock, Rgba::Bytes(176, 120, 60),
                                   SmoothStep(0.6f, 0.8f, lichen.At(x, y)) * 0.6f);
            const float bulge = 0.82f + 0.3f * lichen.At(x / 4, 7);
            return stone.Scaled(round * crack * bulge * (1.1f - (y - 150) * 0.0022f));
        },
        0.3f);
    // Scrub on the cliff top and the forest behind.
    for (int x = 112; x < kW; ++x) {
        const int depth = 3 + (x * 7 % 5);
        for (int y = static_cast<int>(cliffTop[x]) - 2; y < cliffTop[x] + depth; ++y)
            c.Blend(x, y, Rgba::Bytes(70, 100, 66), 0.9f);
    }
    // Gum trees: pale, smooth trunks, blue-green crowns.
    const Rgba trunk = Rgba::Bytes(200, 190, 170), leaves = Rgba::Bytes(104, 146, 132);
    for (int i = 0; i < 7; ++i) {
        const float x = 330 + i * 48.0f + static_cast<float>(rng.Range(-12, 12));
        const float s = static_cast<float>(rng.Range(0.7, 1.0));
        const std::function<void(float, float)> crown = [&](float tx, float ty) {
            DrawFoliage(c, rng, tx, ty, 30 * s, leaves, 7, 0.9f);
        };
        DrawBranch(c, rng, x, cliffTop[std::min(kW - 1, static_cast<int>(x))] + 8,
                   static_cast<float>(rng.Range(-0.12, 0.12)), 52 * s, 7 * s, 2, trunk, crown);
    }
    DrawLighthouse(c, 180, cliffTop[180] + 4, 70, 16, 1);
    // The sea at the cliff's foot, breaking white against it; calm water below.
    PaintVerticalGradient(c, 318, kH,
                          {{0, Rgba::Bytes(56, 100, 118)}, {1, Rgba::Bytes(28, 54, 68)}});
    for (int i = 0; i < 40; ++i)
        PaintSoftBlob(c, static_cast<float>(rng.Range(110, kW)),
                      static_cast<float>(rng.Range(312, 326)),
                      static_cast<float>(rng.Range(14, 30)), 5, Rgba::Bytes(220, 232, 236), 0.35f);
    Finish f;
    Write(pack, name, c, rng, f);
}

// The inventor's workshop: a panelled wall with pipes, gauges and cogs, a bench below.
void Lab(AssetPack& pack)
{
    const std::string name = "bkgLevelLab.jpg";
    Rng rng(name);
    Canvas c(kW, kH);
    const NoiseField grain = NoiseField::Streaks(rng, kW, kH, 80, false);
    const Rgba wood = Rgba::Bytes(120, 80, 50);
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float seam =
                std::fmod(x, 64.0f) < 2 ? 0.6f : (std::fmod(x, 64.0f) < 4 ? 1.12f : 1.0f);
            c.Set(x, y,
                  wood.Scaled((0.85f + 0.25f * grain.At(x, y)) * seam *
                              (0.94f + 0.06f * ((x / 64) % 2))));
        }
    // A wainscot rail.
    DrawPipe(c, 0, 300, kW, 300, 10, Rgba::Bytes(90, 58, 36));
    // Copper pipework along the wall, with flanges.
    const Rgba copper = Rgba::Bytes(196, 112, 70);
    DrawPipe(c, 16, 90, 420, 90, 14, copper);
    DrawPipe(c, 420, 90, 420, 230, 14, copper);
    DrawPipe(c, 420, 230, 624, 230, 14, copper);
    DrawPipe(c, 120, 90, 120, 280, 10, copper);
    DrawPipe(c, 540, 60, 540, 230, 10, Rgba::Bytes(150, 150, 160));
    for (const Point& p : std::vector<Point>{{420, 90}, {420, 230}, {120, 90}, {540, 230}})
        FillShapeIn(c, {p.first - 10, p.second - 10, 20, 20}, CircleShape(p.first, p.second, 9),
                    RadialGradient(p.first - 3, p.second - 3, 12, copper.Scaled(1.2f),
                                   copper.Scaled(0.6f)));
    for (float x : {60.0f, 250.0f, 360.0f})
        FillShapeIn(c, {x - 4, 80, 8, 20}, RoundedRectShape({x - 4, 80, 8, 20}, 2),
                    Solid(copper.Scaled(0.75f)));
    // Gauges on the pipes, cogs on the wall.
    DrawGauge(c, rng, 250, 140, 26);
    DrawGauge(c, rng, 470, 170, 20);
    DrawGauge(c, rng, 80, 200, 18);
    const Rgba brass = Rgba::Bytes(184, 146, 70), iron = Rgba::Bytes(110, 110, 116);
    DrawCog(c, 320, 200, 54, 14, brass);
    DrawCog(c, 386, 150, 30, 9, iron);
    DrawCog(c, 200, 240, 34, 10, iron);
    DrawCog(c, 590, 130, 40, 12, brass);
    // The bench: a dark top and its shadow.
    FillShapeIn(c, {0, 340, kW, 20}, RoundedRectShape({-4, 344, kW + 8.0f, 14}, 2),
                Vertical(344, Rgba::Bytes(100, 70, 44), 358, Rgba::Bytes(60, 40, 26)));
    PaintVerticalGradient(c, 358, kH, {{0, Rgba::Bytes(40, 28, 20)}, {1, Rgba::Bytes(30, 22, 16)}});
    Finish f;
    f.quietFrom = 330;
    Write(pack, name, c, rng, f);
}

} // namespace

void GenerateSceneryAssets(AssetPack& pack)
{
    CapeHorn(pack);
    Peru(pack);
    Washington(pack);
    Iceland(pack);
    France(pack);
    Egypt(pack);
    Madagascar(pack);
    China(pack);
    Siberia(pack);
    Tasmania(pack);
    Lab(pack);
}

} // namespace assetgen
