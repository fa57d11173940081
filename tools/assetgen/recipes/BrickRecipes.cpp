// Bricks: the material textures, the shape outlines and bevels in every resolution and
// rotation the bricks search, whole-block sheets with their own damage frames, crack
// strips, edge strips (steel, weak, spring), vines and the ball-eater mouth, the icons
// bricks show, the flash, the placeholder, and the sounds of the materials.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

namespace {

const char* const kImages = "Images/Bricks";
const char* const kSounds = "Sounds/Bricks";

const int kResolutions[] = {16, 24, 32, 48, 64, 96, 128};
const int kRotations[] = {0, 45, 90, 135, 180, 225, 270, 315};
constexpr float kPi = 3.14159265f;

LuaValue Frames(int n, int w, int h)
{
    LuaValue m = LuaValue::Table();
    m.Set("numFrames", n);
    m.Set("width", w);
    m.Set("height", h);
    return m;
}

// ---- Textures ------------------------------------------------------------------------------

enum class Pattern { Speckle, Grain, Streaks, Cells, Smooth, Metal, Glass, Clear };

struct Material
{
    const char* name;
    int r, g, b;
    Pattern pattern;
    float contrast;
    bool variants; // the colour bricks' textures come in variants 1, 2 and 6
};

const Material kMaterials[] = {
    {"Red", 200, 40, 36, Pattern::Speckle, 0.18f, true},
    {"Orange", 232, 128, 28, Pattern::Speckle, 0.18f, true},
    {"Yellow", 236, 204, 48, Pattern::Speckle, 0.16f, true},
    {"Green", 56, 160, 60, Pattern::Speckle, 0.18f, true},
    {"Blue", 44, 92, 200, Pattern::Speckle, 0.18f, true},
    {"Purple", 128, 56, 168, Pattern::Speckle, 0.18f, true},
    {"Stone", 167, 145, 120, Pattern::Cells, 0.35f, false},
    {"Brick", 170, 74, 50, Pattern::Speckle, 0.3f, false},
    {"Gold", 222, 176, 50, Pattern::Metal, 0.3f, false},
    {"Glass", 120, 190, 220, Pattern::Glass, 0.3f, false},
    {"Steel", 150, 158, 170, Pattern::Metal, 0.35f, false},
    {"Metal", 150, 158, 170, Pattern::Metal, 0.35f, false},
    {"Ice", 168, 214, 236, Pattern::Streaks, 0.25f, false},
    {"Snow", 236, 242, 248, Pattern::Smooth, 0.12f, false},
    {"Wood", 183, 102, 6, Pattern::Grain, 0.35f, false},
    {"Crate", 176, 124, 62, Pattern::Grain, 0.35f, false},
    {"JungleWood", 120, 84, 40, Pattern::Grain, 0.4f, false},
    {"OldWood", 132, 112, 86, Pattern::Grain, 0.45f, false},
    {"Chain", 112, 116, 124, Pattern::Metal, 0.4f, false},
    {"Leaf", 76, 150, 56, Pattern::Cells, 0.4f, false},
    {"Jar", 196, 132, 84, Pattern::Smooth, 0.2f, false},
    {"Rubber", 214, 64, 120, Pattern::Smooth, 0.15f, false},
    {"Transparent", 255, 255, 255, Pattern::Clear, 0.0f, false},
};

constexpr int kTexture = 128;

Canvas MaterialTexture(const Material& m, const std::string& seedName)
{
    Rng rng(seedName);
    Canvas c(kTexture, kTexture);
    const Rgba base = Rgba::Bytes(m.r, m.g, m.b);
    if (m.pattern == Pattern::Clear) {
        // Drawn over the brick's own colour: a faint speckle that keeps the colour.
        NoiseField n = NoiseField::Value(rng, kTexture, kTexture, 8, 8, 3, 0.5f);
        for (int y = 0; y < kTexture; ++y)
            for (int x = 0; x < kTexture; ++x)
                c.Set(x, y, Rgba{0, 0, 0, 0.12f * n.At(x, y)});
        return c;
    }
    c.Fill(base);
    NoiseField field = [&] {
        switch (m.pattern) {
        case Pattern::Grain:
            return NoiseField::Streaks(rng, kTexture, kTexture, 24, true);
        case Pattern::Streaks:
            return NoiseField::Streaks(rng, kTexture, kTexture, 12, false);
        case Pattern::Cells:
            return NoiseField::Value(rng, kTexture, kTexture, 16, 16, 3, 0.6f);
        case Pattern::Metal:
            return NoiseField::Streaks(rng, kTexture, kTexture, 48, true);
        case Pattern::Glass:
            return NoiseField::Value(rng, kTexture, kTexture, 4, 4, 2, 0.5f);
        case Pattern::Smooth:
            return NoiseField::Value(rng, kTexture, kTexture, 4, 4, 2, 0.4f);
        default:
            return NoiseField::Value(rng, kTexture, kTexture, 8, 8, 4, 0.55f);
        }
    }();
    ApplyTexture(
        c, [&](int x, int y) { return field.At(x, y); }, m.contrast);
    if (m.pattern == Pattern::Speckle || m.pattern == Pattern::Cells) {
        NoiseField grain = NoiseField::Grain(rng, kTexture, kTexture);
        ApplyTexture(
            c, [&](int x, int y) { return grain.At(x, y); }, m.contrast * 0.4f);
    }
    if (m.pattern == Pattern::Glass)
        for (int y = 0; y < kTexture; ++y)
            for (int x = 0; x < kTexture; ++x)
                c.ScaleAlpha(x, y, 0.78f);
    return c;
}

void Textures(AssetPack& pack)
{
    for (const Material& m : kMaterials) {
        if (m.variants) {
            for (const char* v : {"1", "2", "6"}) {
                const std::string name = std::string("Texture.") + m.name + "." + v + ".png";
                pack.WriteImage(kImages, name, MaterialTexture(m, name));
            }
        } else {
            const std::string name = std::string("Texture.") + m.name + ".png";
            pack.WriteImage(kImages, name, MaterialTexture(m, name));
        }
    }
}

// ---- Shapes: outlines, bevels, whole blocks -------------------------------------------------

struct ShapeKind
{
    const char* name;
    bool circle;
};
const ShapeKind kShapes[] = {{"Rectangle", false}, {"Circle", true}};

Sdf ShapeSdf(bool circle, int w, int h)
{
    if (circle)
        return CircleShape(w / 2.0f, h / 2.0f, w / 2.0f - 0.5f);
    return RoundedRectShape({0, 0, float(w), float(h)}, std::max(1.0f, h / 8.0f));
}

// The light as seen in the picture of a brick turned by rotation degrees: the brick is
// drawn turned, so its light must come from upper left once it is.
void BevelLight(int rotation, float& lx, float& ly)
{
    const float t = -rotation * kPi / 180.0f;
    const float sx = -0.70710678f, sy = -0.70710678f;
    lx = sx * std::cos(t) - sy * std::sin(t);
    ly = sx * std::sin(t) + sy * std::cos(t);
}

Canvas BevelOverlay(const Sdf& shape, int w, int h, int rotation)
{
    Canvas c(w, h);
    float lx, ly;
    BevelLight(rotation, lx, ly);
    const float width = std::max(1.5f, h / 6.0f);
    const float e = 0.5f;
    for (int y = 0; y < h; ++y) {
        for (int x = 0; x < w; ++x) {
            const float px = x + 0.5f, py = y + 0.5f;
            const float d = shape(px, py);
            if (d >= 0.5f || d <= -width)
                continue;
            float nx = shape(px + e, py) - shape(px - e, py);
            float ny = shape(px, py + e) - shape(px, py - e);
            const float len = std::hypot(nx, ny);
            if (len <= 0)
                continue;
            const float lit = (nx * lx + ny * ly) / len;
            const float profile = 1.0f - SmoothStep(-width, 0.0f, std::min(d, 0.0f)) * 0.0f;
            const float fade = 1.0f - (-std::min(d, 0.0f) / width);
            const float alpha =
                Clamp01(std::fabs(lit) * 0.75f * fade * profile) * Clamp01(0.5f - d);
            c.Set(x, y, lit > 0 ? Rgba{1, 1, 1, alpha} : Rgba{0, 0, 0, alpha});
        }
    }
    return c;
}

void Shapes(AssetPack& pack)
{
    for (const ShapeKind& kind : kShapes) {
        for (int res : kResolutions) {
            const int w = res;
            const int h = kind.circle ? res : std::max(1, res / 2);
            const Sdf shape = ShapeSdf(kind.circle, w, h);
            const std::string prefix =
                std::string("Shape.") + kind.name + "." + std::to_string(res);
            Canvas outline(w, h);
            FillShape(outline, shape, Solid(Rgba{1, 1, 1, 1}));
            pack.WriteImage(kImages, prefix + ".Outline.png", outline);
            for (int rot : kRotations)
                pack.WriteImage(kImages, prefix + ".Bevel." + std::to_string(rot) + ".png",
                                BevelOverlay(shape, w, h, rot));
        }
    }
}

// A crack pattern growing with the stage: jagged dark lines from a few seeds.
void DrawCracks(Canvas& c, int ox, int w, int h, int stage, Rng& rng)
{
    const int lines = stage * 2;
    for (int i = 0; i < lines; ++i) {
        float x = ox + float(rng.Range(w * 0.15, w * 0.85));
        float y = float(rng.Range(h * 0.2, h * 0.8));
        float angle = float(rng.Range(0, 2 * kPi));
        const int steps = 3 + stage * 2;
        for (int s = 0; s < steps; ++s) {
            const float len = h * 0.12f;
            const float nx = x + std::cos(angle) * len, ny = y + std::sin(angle) * len;
            FillShape(c, SegmentShape(x, y, nx, ny, 1.2f + stage * 0.2f),
                      Solid(Rgba{0.08f, 0.05f, 0.03f, 0.85f}));
            FillShape(c, SegmentShape(x + 0.8f, y + 0.8f, nx + 0.8f, ny + 0.8f, 0.7f),
                      Solid(Rgba{1, 1, 1, 0.3f}));
            x = nx;
            y = ny;
            angle += float(rng.Range(-0.8, 0.8));
        }
    }
}

// A sheet of stages: frame 0 as drawn, later frames with growing cracks.
void CrackSheet(AssetPack& pack, const std::string& name, int stages)
{
    const int w = 96, h = 48;
    Canvas sheet(w * stages, h);
    Rng rng(name);
    for (int f = 1; f < stages; ++f)
        DrawCracks(sheet, f * w, w, h, f, rng);
    pack.WriteImage(kImages, name, sheet, Frames(stages, w, h));
}

// Whole blocks bring their own damage frames: the material with a bevel and cracks.
void Blocks(AssetPack& pack)
{
    const char* const materials[] = {"Crate", "Jar"};
    for (const char* material : materials) {
        const Material* m = nullptr;
        for (const Material& candidate : kMaterials)
            if (std::string(candidate.name) == material)
                m = &candidate;
        for (int res : {32, 64, 96}) {
            const int w = res, h = res / 2, stages = 4;
            const std::string name =
                "Shape.Rectangle." + std::to_string(res) + ".Block." + material + ".png";
            const Canvas tex = MaterialTexture(*m, name);
            const Sdf shape = ShapeSdf(false, w, h);
            Canvas sheet(w * stages, h);
            Rng rng(name);
            for (int f = 0; f < stages; ++f) {
                Canvas frame(w, h);
                frame.DrawOver(tex, 0, 0);
                Canvas mask(w, h);
                FillShape(mask, shape, Solid(Rgba{1, 1, 1, 1}));
                frame.MaskBy(mask);
                if (std::string(material) == "Crate") {
                    // Planks: two dark seams and corner nails.
                    for (int k = 1; k < 3; ++k)
                        FillShape(frame,
                                  SegmentShape(0, h * k / 3.0f, float(w), h * k / 3.0f,
                                               std::max(1.0f, h / 16.0f)),
                                  Solid(Rgba{0.2f, 0.12f, 0.05f, 0.6f}));
                }
                Bevel(frame, shape, std::max(1.5f, h / 6.0f), 0.5f);
                DrawCracks(frame, 0, w, h, f, rng);
                frame.MaskBy(mask);
                sheet.DrawOver(frame, f * w, 0);
            }
            pack.WriteImage(kImages, name, sheet, Frames(stages, w, h));
        }
    }
}

// ---- Edge strips -------------------------------------------------------------------------------

// A metal band along one side of a 96 x 48 brick: brushed steel with rivets.
Canvas MetalStrip(int w, int h, bool horizontal)
{
    Canvas c(w, h);
    FillShape(c, RoundedRectShape({0, 0, float(w), float(h)}, 1.5f),
              horizontal ? LinearGradient(0, 0, Rgba::Bytes(214, 220, 228), 0, float(h),
                                          Rgba::Bytes(96, 102, 112))
                         : LinearGradient(0, 0, Rgba::Bytes(214, 220, 228), float(w), 0,
                                          Rgba::Bytes(96, 102, 112)));
    const int along = horizontal ? w : h;
    for (int p = 8; p < along - 4; p += 16) {
        const float cx = horizontal ? float(p) : w / 2.0f;
        const float cy = horizontal ? h / 2.0f : float(p);
        DrawSphere(c, cx, cy, 1.6f, Rgba::Bytes(180, 184, 190));
    }
    return c;
}

// A jagged crack line along a side; severity 0..9 widens and multiplies it.
Canvas CrackStrip(int w, int h, bool horizontal, int severity, const std::string& seed)
{
    Canvas c(w, h);
    Rng rng(seed);
    const int along = horizontal ? w : h;
    const float across = float(horizontal ? h : w);
    const int passes = 1 + severity / 3;
    for (int pass = 0; pass < passes; ++pass) {
        float a = 0, b = float(rng.Range(across * 0.3, across * 0.7));
        while (a < along) {
            const float na = a + float(rng.Range(3, 7));
            const float nb = std::min(across - 1, std::max(1.0f, b + float(rng.Range(-2, 2))));
            const float width = 0.8f + severity * 0.15f;
            const Sdf seg =
                horizontal ? SegmentShape(a, b, na, nb, width) : SegmentShape(b, a, nb, na, width);
            FillShape(c, seg, Solid(Rgba{0.1f, 0.06f, 0.04f, 0.6f + severity * 0.04f}));
            a = na;
            b = nb;
        }
    }
    return c;
}

// A coil spring seen from the side, pointing away from the brick.
Canvas SpringPicture(int w, int h, bool horizontal)
{
    Canvas c(w, h);
    const int coils = 4;
    const float len = float(horizontal ? w : h), across = float(horizontal ? h : w);
    for (int i = 0; i < coils * 2; ++i) {
        const float a0 = len * i / (coils * 2), a1 = len * (i + 1) / (coils * 2);
        const float b0 = (i % 2) ? across - 2 : 2, b1 = (i % 2) ? 2 : across - 2;
        const Sdf seg =
            horizontal ? SegmentShape(a0, b0, a1, b1, 2.0f) : SegmentShape(b0, a0, b1, a1, 2.0f);
        FillShape(c, seg, Solid(Rgba::Bytes(200, 206, 214)));
        Bevel(c, seg, 1.0f, 0.5f);
    }
    return c;
}

void Edges(AssetPack& pack)
{
    const int W = 96, H = 48, band = 8;
    pack.WriteImage(kImages, "Edge.Metal.Top.png", MetalStrip(W, band, true));
    pack.WriteImage(kImages, "Edge.Metal.Bottom.png", MetalStrip(W, band, true));
    pack.WriteImage(kImages, "Edge.Metal.Left.png", MetalStrip(band, H, false));
    pack.WriteImage(kImages, "Edge.Metal.Right.png", MetalStrip(band, H, false));
    {
        Canvas all(W, H);
        all.DrawOver(MetalStrip(W, band, true), 0, 0);
        all.DrawOver(MetalStrip(W, band, true), 0, H - band);
        all.DrawOver(MetalStrip(band, H, false), 0, 0);
        all.DrawOver(MetalStrip(band, H, false), W - band, 0);
        pack.WriteImage(kImages, "Edge.Metal.All.png", all);
        Canvas ring(H, H);
        const Sdf rim = [](float x, float y) {
            return std::fabs(std::hypot(x - 24, y - 24) - 20.5f) - 3.5f;
        };
        FillShape(
            ring, rim,
            LinearGradient(0, 0, Rgba::Bytes(214, 220, 228), 48, 48, Rgba::Bytes(96, 102, 112)));
        pack.WriteImage(kImages, "Edge.Metal.Circle.png", ring);
    }
    for (int k = 0; k <= 9; ++k) {
        const std::string p = "Edge.Cracked." + std::to_string(k) + ".";
        pack.WriteImage(kImages, p + "Top.png", CrackStrip(W, band, true, k, p + "Top"));
        pack.WriteImage(kImages, p + "Bottom.png", CrackStrip(W, band, true, k, p + "Bottom"));
        pack.WriteImage(kImages, p + "Left.png", CrackStrip(band, H, false, k, p + "Left"));
        pack.WriteImage(kImages, p + "Right.png", CrackStrip(band, H, false, k, p + "Right"));
    }
    {
        Canvas ring(H, H);
        Rng rng("Edge.Cracked.Circle.png");
        float angle = 0;
        while (angle < 2 * kPi) {
            const float next = angle + float(rng.Range(0.15, 0.35));
            const float r0 = 20 + float(rng.Range(-1.5, 1.5)),
                        r1 = 20 + float(rng.Range(-1.5, 1.5));
            FillShape(ring,
                      SegmentShape(24 + r0 * std::cos(angle), 24 + r0 * std::sin(angle),
                                   24 + r1 * std::cos(next), 24 + r1 * std::sin(next), 1.4f),
                      Solid(Rgba{0.1f, 0.06f, 0.04f, 0.85f}));
            angle = next;
        }
        pack.WriteImage(kImages, "Edge.Cracked.Circle.png", ring);
    }
    pack.WriteImage(kImages, "Edge.Spring.Top.png", SpringPicture(32, 12, false));
    pack.WriteImage(kImages, "Edge.Spring.Bottom.png", SpringPicture(32, 12, false));
    pack.WriteImage(kImages, "Edge.Spring.Left.png", SpringPicture(12, 24, true));
    pack.WriteImage(kImages, "Edge.Spring.Right.png", SpringPicture(12, 24, true));
    {
        Canvas ring(H, H);
        for (int i = 0; i < 24; ++i) {
            const float a = 2 * kPi * i / 24, r = (i % 2) ? 19.0f : 23.0f;
            const float b = 2 * kPi * (i + 1) / 24, s = (i % 2) ? 23.0f : 19.0f;
            FillShape(ring,
                      SegmentShape(24 + r * std::cos(a), 24 + r * std::sin(a), 24 + s * std::cos(b),
                                   24 + s * std::sin(b), 1.8f),
                      Solid(Rgba::Bytes(200, 206, 214)));
        }
        pack.WriteImage(kImages, "Edge.Spring.Circle.png", ring);
    }
}

// ---- Overlays, icons, flash and placeholder --------------------------------------------------

void Overlays(AssetPack& pack)
{
    const int W = 96, H = 48;
    {
        Canvas vines(W, H);
        Rng rng("Vines.png");
        for (int stem = 0; stem < 3; ++stem) {
            float x = 0, y = float(rng.Range(8, 40));
            while (x < W) {
                const float nx = x + 6,
                            ny = std::min(44.0f, std::max(4.0f, y + float(rng.Range(-5, 5))));
                FillShape(vines, SegmentShape(x, y, nx, ny, 2.0f), Solid(Rgba::Bytes(52, 110, 36)));
                if (rng.Uniform() < 0.5)
                    FillShape(vines,
                              CircleShape(nx, ny + (rng.Uniform() < 0.5 ? -3.0f : 3.0f), 2.6f),
                              Solid(Rgba::Bytes(90, 170, 60)));
                x = nx;
                y = ny;
            }
        }
        pack.WriteImage(kImages, "Vines.png", vines);
    }
    {
        Canvas mouth(W, H);
        const Sdf lips = [](float x, float y) {
            return std::hypot((x - 48) / 34.0f, (y - 26) / 14.0f) * 14.0f - 14.0f;
        };
        FillShape(mouth, lips, Solid(Rgba::Bytes(70, 10, 20)));
        for (int i = 0; i < 6; ++i) {
            const float tx = 24 + i * 9.6f;
            FillShape(mouth, SegmentShape(tx, 14, tx, 20, 4.0f), Solid(Rgba::Bytes(244, 240, 226)));
            FillShape(mouth, SegmentShape(tx + 4.8f, 38, tx + 4.8f, 32, 4.0f),
                      Solid(Rgba::Bytes(244, 240, 226)));
        }
        pack.WriteImage(kImages, "BallEater.png", mouth);
    }
}

// A round badge with a dark rim, used under most icons.
Canvas Badge(const Rgba& colour)
{
    Canvas c(32, 32);
    const Sdf disc = CircleShape(16, 16, 14);
    FillShape(c, disc, RadialGradient(12, 11, 16, colour.Scaled(1.3f), colour.Scaled(0.7f)));
    Bevel(c, disc, 3, 0.5f);
    return c;
}

// A question mark of strokes on a blue badge: a power-up the brick does not name.
Canvas QuestionMark()
{
    Canvas c = Badge(Rgba::Bytes(120, 120, 200));
    FillShape(c, SegmentShape(11, 11, 16, 7, 3), Solid(Rgba{1, 1, 1, 1}));
    FillShape(c, SegmentShape(16, 7, 21, 11, 3), Solid(Rgba{1, 1, 1, 1}));
    FillShape(c, SegmentShape(21, 11, 16, 17, 3), Solid(Rgba{1, 1, 1, 1}));
    FillShape(c, SegmentShape(16, 17, 16, 20, 3), Solid(Rgba{1, 1, 1, 1}));
    FillShape(c, CircleShape(16, 25, 2), Solid(Rgba{1, 1, 1, 1}));
    return c;
}

// A lightning bolt: a charge that goes off as lightning.
Canvas SparkIcon()
{
    Canvas c(32, 32);
    const Sdf bolt = Union(SegmentShape(19, 3, 11, 17, 4),
                           Union(SegmentShape(11, 17, 21, 15, 4), SegmentShape(21, 15, 13, 29, 4)));
    FillShape(c, bolt,
              LinearGradient(0, 0, Rgba::Bytes(255, 250, 160), 0, 32, Rgba::Bytes(240, 180, 30)));
    return c;
}

// A stick of dynamite with a lit fuse: a charge that explodes.
Canvas TntIcon()
{
    Canvas c(32, 32);
    const Sdf stick = RoundedRectShape({9, 8, 14, 22}, 3);
    FillShape(c, stick,
              LinearGradient(9, 0, Rgba::Bytes(230, 60, 40), 23, 0, Rgba::Bytes(140, 24, 20)));
    Bevel(c, stick, 2, 0.4f);
    FillShape(c, SegmentShape(16, 8, 20, 3, 1.5f), Solid(Rgba::Bytes(60, 50, 40)));
    DrawRadialSprite(c, 21, 3, 3, Rgba::Bytes(255, 220, 80), 1.5f, true);
    return c;
}

// A ring with a dark hollow: a slot of a ball hopper.
Canvas HopperIcon()
{
    Canvas c(32, 32);
    const Sdf cup = [](float x, float y) {
        return std::fabs(std::hypot(x - 16, y - 16) - 12.0f) - 2.5f;
    };
    FillShape(c, cup, Solid(Rgba::Bytes(150, 158, 170)));
    Bevel(c, cup, 1.5f, 0.5f);
    FillShape(c, CircleShape(16, 16, 9.5f), Solid(Rgba{0, 0, 0, 0.45f}));
    return c;
}

// A grey ball: the ball a brick holds.
Canvas TrappedBallIcon()
{
    Canvas c(32, 32);
    DrawSphere(c, 16, 16, 13, Rgba::Bytes(200, 204, 214));
    return c;
}

// A key on a golden badge.
Canvas KeyIcon()
{
    Canvas c = Badge(Rgba::Bytes(200, 160, 40));
    FillShape(c, Union(CircleShape(11, 16, 5), SegmentShape(14, 16, 25, 16, 3)),
              Solid(Rgba::Bytes(90, 60, 10)));
    FillShape(c, SegmentShape(22, 16, 22, 21, 2.5f), Solid(Rgba::Bytes(90, 60, 10)));
    return c;
}

// A round bomb with a lit fuse.
Canvas BombIcon()
{
    Canvas c(32, 32);
    DrawSphere(c, 15, 18, 11, Rgba::Bytes(50, 50, 60));
    FillShape(c, SegmentShape(22, 10, 26, 5, 2), Solid(Rgba::Bytes(120, 100, 80)));
    DrawRadialSprite(c, 26, 5, 3, Rgba::Bytes(255, 200, 60), 1.5f, true);
    return c;
}

// An arrow pointing up on a green badge.
Canvas UpArrowIcon()
{
    Canvas c = Badge(Rgba::Bytes(60, 160, 70));
    FillShape(c,
              Union(SegmentShape(16, 24, 16, 9, 4),
                    Union(SegmentShape(16, 8, 10, 14, 4), SegmentShape(16, 8, 22, 14, 4))),
              Solid(Rgba{1, 1, 1, 1}));
    return c;
}

// The white flash over a struck brick, brightest at its rim.
Canvas BigFlash()
{
    Canvas flash(96, 48);
    const Sdf box = RoundedRectShape({0, 0, 96, 48}, 6);
    for (int y = 0; y < 48; ++y)
        for (int x = 0; x < 96; ++x) {
            const float d = box(x + 0.5f, y + 0.5f);
            if (d < 0.5f)
                flash.Set(x, y,
                          Rgba{1, 1, 1, Clamp01(0.5f - d) * (0.55f + 0.4f * Clamp01(-d / 10.0f))});
        }
    return flash;
}

// The chequered picture shown where a brick's picture could not be made.
Canvas Placeholder()
{
    Canvas c(32, 16);
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 32; ++x)
            c.Set(x, y, ((x / 4 + y / 4) % 2) ? Rgba::Bytes(255, 0, 255) : Rgba::Bytes(20, 20, 20));
    return c;
}

void Icons(AssetPack& pack)
{
    pack.WriteImage(kImages, "Powerup.Anonymous.png", QuestionMark());
    pack.WriteImage(kImages, "SparkIcon.png", SparkIcon());
    pack.WriteImage(kImages, "TNT.png", TntIcon());
    pack.WriteImage(kImages, "BallHopper.png", HopperIcon());
    pack.WriteImage(kImages, "TrappedBall.png", TrappedBallIcon());
    pack.WriteImage(kImages, "Icon.Key.png", KeyIcon());
    pack.WriteImage(kImages, "BombIcon.png", BombIcon());
    pack.WriteImage(kImages, "Icon.UpArrow.png", UpArrowIcon());
    pack.WriteImage(kImages, "Flash.Big.png", BigFlash());
    pack.WriteImage(kImages, "InvalidImagePlaceholder.png", Placeholder());
}

// ---- Sounds
// --------------------------------------------------------------------------------------

enum class Voice { Crack, Shatter, Metal, Glass, Knock, Chime, Thud, Blip, Sweep, Swish, Rattle };

struct SoundRecipe
{
    const char* name;
    Voice voice;
    double pitch;  // Hz: the body of the sound
    double length; // seconds
};

const SoundRecipe kSoundRecipes[] = {
    {"Stone Crack.ogg", Voice::Crack, 900, 0.16},
    {"Stone Shatter.ogg", Voice::Shatter, 700, 0.45},
    {"crashStone.ogg", Voice::Shatter, 900, 0.3},
    {"hitIce.ogg", Voice::Glass, 2400, 0.18},
    {"crashIce.ogg", Voice::Shatter, 2200, 0.4},
    {"crashSnow.ogg", Voice::Swish, 1200, 0.35},
    {"gold.ogg", Voice::Chime, 1320, 0.5},
    {"hitWood.ogg", Voice::Knock, 240, 0.14},
    {"crashWood.ogg", Voice::Shatter, 380, 0.4},
    {"hitChain.ogg", Voice::Rattle, 1800, 0.2},
    {"crashChain.ogg", Voice::Rattle, 1500, 0.45},
    {"crashBush.ogg", Voice::Swish, 2600, 0.35},
    {"crashJar.ogg", Voice::Glass, 1100, 0.4},
    {"Glass.ogg", Voice::Glass, 3000, 0.5},
    {"Metal Bounce.ogg", Voice::Metal, 620, 0.3},
    {"hitBoulder.ogg", Voice::Thud, 90, 0.3},
    {"Smash_StoneColumn1.ogg", Voice::Shatter, 300, 0.6},
    {"Clunk.ogg", Voice::Thud, 150, 0.2},
    {"Spring.ogg", Voice::Sweep, 300, 0.3},
    {"energize.ogg", Voice::Sweep, 500, 0.25},
    {"bumperPinball.ogg", Voice::Chime, 880, 0.25},
    {"Heal.ogg", Voice::Chime, 660, 0.4},
    {"Heal2.ogg", Voice::Chime, 990, 0.3},
    {"pop3.ogg", Voice::Blip, 800, 0.08},
    {"Pickup_GemBells03.ogg", Voice::Chime, 1760, 0.5},
};

Signal BrickSound(const SoundRecipe& r)
{
    Rng rng(r.name);
    Signal s(44100, r.length);
    const double L = r.length;
    auto noise = [&](FilterMode mode, double cutoff, double cutoffEnd, float gain, double decay,
                     double start = 0) {
        NoiseBurst n;
        n.mode = mode;
        n.cutoff = cutoff;
        n.cutoffEnd = cutoffEnd;
        n.gain = gain;
        n.resonance = 0.3f;
        n.env.decay = decay;
        AddNoise(s, start, L - start, n, rng);
    };
    auto tone = [&](Wave wave, double f, double fEnd, float gain, double decay, double start = 0) {
        Tone t;
        t.wave = wave;
        t.freq = f;
        t.freqEnd = fEnd;
        t.gain = gain;
        t.env.decay = decay;
        AddTone(s, start, L - start, t);
    };
    switch (r.voice) {
    case Voice::Crack:
        noise(FilterMode::BandPass, r.pitch * 2, r.pitch, 0.7f, 0.03);
        tone(Wave::Sine, r.pitch / 4, r.pitch / 6, 0.3f, 0.04);
        break;
    case Voice::Shatter:
        noise(FilterMode::LowPass, r.pitch * 4, r.pitch, 0.7f, L / 4);
        for (int i = 0; i < 5; ++i)
            noise(FilterMode::BandPass, r.pitch * rng.Range(1.5, 4), 0, 0.35f, 0.02,
                  rng.Range(0.02, L * 0.6));
        tone(Wave::Sine, r.pitch / 5, r.pitch / 8, 0.35f, L / 5);
        break;
    case Voice::Metal:
        for (double k : {1.0, 2.76, 5.4, 8.93})
            tone(Wave::Sine, r.pitch * k, 0, float(0.4 / k), L / (1 + k * 0.5));
        noise(FilterMode::HighPass, 3000, 0, 0.2f, 0.01);
        break;
    case Voice::Glass:
        for (double k : {1.0, 2.32, 4.25})
            tone(Wave::Sine, r.pitch * k * rng.Range(0.98, 1.02), 0, float(0.35 / k), L / 3);
        noise(FilterMode::HighPass, r.pitch, 0, 0.3f, 0.05);
        break;
    case Voice::Knock:
        tone(Wave::Sine, r.pitch, r.pitch * 0.8, 0.6f, 0.05);
        noise(FilterMode::BandPass, r.pitch * 4, 0, 0.3f, 0.02);
        break;
    case Voice::Chime:
        tone(Wave::Sine, r.pitch, 0, 0.5f, L / 3);
        tone(Wave::Sine, r.pitch * 1.5, 0, 0.3f, L / 4, 0.06);
        tone(Wave::Triangle, r.pitch * 2, 0, 0.15f, L / 5, 0.12);
        break;
    case Voice::Thud:
        tone(Wave::Sine, r.pitch * 1.5, r.pitch, 0.7f, L / 3);
        noise(FilterMode::LowPass, 600, 200, 0.35f, 0.03);
        break;
    case Voice::Blip:
        tone(Wave::Triangle, r.pitch, r.pitch * 0.85, 0.6f, L / 3);
        break;
    case Voice::Sweep:
        tone(Wave::Triangle, r.pitch, r.name[0] == 'l' ? r.pitch / 3 : r.pitch * 3, 0.5f, L / 2);
        break;
    case Voice::Swish:
        noise(FilterMode::BandPass, r.pitch, r.pitch * 0.5, 0.6f, L / 3);
        break;
    case Voice::Rattle:
        for (int i = 0; i < 6; ++i)
            tone(Wave::Square, r.pitch * rng.Range(0.8, 1.3), 0, 0.12f, 0.02,
                 rng.Range(0, L * 0.7));
        noise(FilterMode::HighPass, 2500, 0, 0.25f, 0.03);
        break;
    }
    FadeEdges(s, 0.004);
    return FinishEffect(s);
}

void Sounds(AssetPack& pack)
{
    for (const SoundRecipe& r : kSoundRecipes)
        pack.WriteSound(kSounds, r.name, AudioClip::Mono(BrickSound(r)));
}

} // namespace

void GenerateBrickAssets(AssetPack& pack)
{
    Textures(pack);
    Shapes(pack);
    CrackSheet(pack, "Damage.Default.1.png", 4);
    CrackSheet(pack, "Damage.Default.2.png", 4);
    Blocks(pack);
    Edges(pack);
    Overlays(pack);
    Icons(pack);
    Sounds(pack);
}

} // namespace assetgen
