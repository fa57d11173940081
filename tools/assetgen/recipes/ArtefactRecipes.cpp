// The recovered works of art and the dialogs around them: one small painting per entry of
// the game's Artifacts table, each a sheet of two frames (frame 0 the work still under its
// dust sheet, frame 1 the uncovered painting in its gilt frame), the blank plate of a work
// that is missing, the plates of the in-game menu, the artefact card and the options page,
// and the chimes of a reveal and of the artefact letter.
//
// The paintings are one family drawn from data: a sky, a horizon, a low sun or moon and a
// handful of marks (discs, strokes, blocks, peaks), then a brushed-canvas texture and the
// frame, so every work looks hand-made yet belongs to the same gallery.
#include "recipes/Recipes.h"

#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

namespace {

const char* const kImages = "Images/Artefacts";
const char* const kSounds = "Sounds/Artefacts";

// One painting's frame: the picture is 210 x 140 with a 10 px gilt frame inside that.
constexpr int kW = 210;
constexpr int kH = 140;
constexpr int kFrame = 10;

enum class MarkKind { Disc, Stroke, Block, Peak };

struct Mark
{
    MarkKind kind;
    // Disc: centre x, y, radius. Stroke: x0, y0, x1, y1, width. Block: x, y, w, h.
    // Peak: left x, base y, apex x, apex y, right x. In picture coordinates (0..1 of the
    // area inside the frame).
    float a, b, c, d, e;
    Rgba color;
};

struct Painting
{
    const char* name;
    Rgba skyTop, skyBottom;
    float horizon; // 0..1 down the picture
    Rgba groundTop, groundBottom;
    float sunX, sunY, sunR; // 0 radius for none
    Rgba sun;
    float swirl; // strength of wavy bands across the sky (0 none)
    std::vector<Mark> marks;
};

Rgba C(int r, int g, int b)
{
    return Rgba::Bytes(r, g, b);
}

std::vector<Painting> Paintings()
{
    using K = MarkKind;
    return {
        {"artifactScream.jpg", C(214, 96, 40), C(238, 170, 64), 0.58f, C(52, 70, 96),
         C(30, 40, 58), 0, 0, 0, C(0, 0, 0), 0.8f,
         {{K::Stroke, 0.0f, 0.95f, 1.0f, 0.55f, 0.07f, C(118, 78, 46)},
          {K::Stroke, 0.0f, 0.88f, 1.0f, 0.48f, 0.02f, C(70, 44, 28)},
          {K::Block, 0.27f, 0.62f, 0.1f, 0.34f, 0, C(40, 34, 40)},
          {K::Disc, 0.32f, 0.56f, 0.065f, 0, 0, C(228, 214, 168)},
          {K::Disc, 0.30f, 0.55f, 0.012f, 0, 0, C(40, 30, 30)},
          {K::Disc, 0.34f, 0.55f, 0.012f, 0, 0, C(40, 30, 30)},
          {K::Disc, 0.32f, 0.59f, 0.016f, 0, 0, C(40, 30, 30)}}},
        {"artifactLighthouse.jpg", C(40, 52, 92), C(120, 110, 150), 0.62f, C(36, 78, 110),
         C(18, 40, 66), 0.82f, 0.2f, 0.06f, C(240, 236, 210), 0.0f,
         {{K::Peak, 0.45f, 0.75f, 0.62f, 0.6f, 0.85f, C(58, 52, 48)},
          {K::Block, 0.58f, 0.28f, 0.08f, 0.36f, 0, C(236, 232, 222)},
          {K::Block, 0.58f, 0.38f, 0.08f, 0.06f, 0, C(196, 52, 44)},
          {K::Block, 0.58f, 0.52f, 0.08f, 0.06f, 0, C(196, 52, 44)},
          {K::Disc, 0.62f, 0.26f, 0.05f, 0, 0, C(255, 236, 150)},
          {K::Stroke, 0.62f, 0.26f, 0.08f, 0.18f, 0.05f, C(255, 240, 170)},
          {K::Stroke, 0.1f, 0.8f, 0.4f, 0.78f, 0.01f, C(200, 220, 236)}}},
        {"artifactCondor.jpg", C(120, 170, 214), C(214, 210, 180), 0.7f, C(104, 126, 64),
         C(70, 86, 40), 0.2f, 0.22f, 0.07f, C(250, 236, 190), 0.0f,
         {{K::Peak, -0.1f, 0.75f, 0.25f, 0.3f, 0.6f, C(120, 104, 92)},
          {K::Peak, 0.35f, 0.75f, 0.7f, 0.22f, 1.1f, C(96, 84, 80)},
          {K::Peak, 0.6f, 0.36f, 0.7f, 0.22f, 0.8f, C(236, 236, 240)},
          {K::Block, 0.0f, 0.78f, 1.0f, 0.04f, 0, C(140, 158, 78)},
          {K::Block, 0.0f, 0.86f, 1.0f, 0.04f, 0, C(124, 144, 66)},
          {K::Stroke, 0.44f, 0.4f, 0.5f, 0.44f, 0.02f, C(30, 26, 26)},
          {K::Stroke, 0.5f, 0.44f, 0.56f, 0.4f, 0.02f, C(30, 26, 26)}}},
        {"artifactCapitol.jpg", C(150, 170, 196), C(208, 200, 196), 0.72f, C(88, 120, 72),
         C(60, 86, 50), 0, 0, 0, C(0, 0, 0), 0.0f,
         {{K::Block, 0.3f, 0.45f, 0.4f, 0.27f, 0, C(226, 222, 210)},
          {K::Disc, 0.5f, 0.45f, 0.12f, 0, 0, C(232, 228, 218)},
          {K::Block, 0.48f, 0.24f, 0.04f, 0.1f, 0, C(220, 216, 206)},
          {K::Block, 0.34f, 0.5f, 0.02f, 0.2f, 0, C(170, 164, 156)},
          {K::Block, 0.42f, 0.5f, 0.02f, 0.2f, 0, C(170, 164, 156)},
          {K::Block, 0.56f, 0.5f, 0.02f, 0.2f, 0, C(170, 164, 156)},
          {K::Block, 0.64f, 0.5f, 0.02f, 0.2f, 0, C(170, 164, 156)},
          {K::Disc, 0.82f, 0.74f, 0.08f, 0, 0, C(40, 40, 48)},
          {K::Stroke, 0.82f, 0.74f, 0.82f, 0.92f, 0.012f, C(40, 40, 48)}}},
        {"artifactGeyser.jpg", C(236, 150, 120), C(250, 220, 180), 0.74f, C(70, 66, 70),
         C(40, 38, 44), 0.2f, 0.7f, 0.09f, C(255, 220, 160), 0.0f,
         {{K::Disc, 0.55f, 0.62f, 0.12f, 0, 0, C(244, 242, 240)},
          {K::Disc, 0.56f, 0.45f, 0.1f, 0, 0, C(240, 240, 240)},
          {K::Disc, 0.52f, 0.3f, 0.08f, 0, 0, C(236, 236, 238)},
          {K::Disc, 0.58f, 0.18f, 0.06f, 0, 0, C(232, 232, 236)},
          {K::Peak, 0.7f, 0.76f, 0.9f, 0.5f, 1.1f, C(52, 50, 58)},
          {K::Block, 0.0f, 0.8f, 1.0f, 0.05f, 0, C(86, 130, 150)}}},
        {"artifactBaker.jpg", C(96, 70, 48), C(150, 112, 74), 1.0f, C(0, 0, 0), C(0, 0, 0), 0,
         0, 0, C(0, 0, 0), 0.0f,
         {{K::Block, 0.08f, 0.1f, 0.28f, 0.42f, 0, C(236, 222, 170)},
          {K::Block, 0.21f, 0.1f, 0.02f, 0.42f, 0, C(92, 66, 44)},
          {K::Block, 0.08f, 0.3f, 0.28f, 0.02f, 0, C(92, 66, 44)},
          {K::Block, 0.46f, 0.46f, 0.2f, 0.36f, 0, C(46, 70, 120)},
          {K::Disc, 0.56f, 0.36f, 0.08f, 0, 0, C(238, 206, 170)},
          {K::Disc, 0.55f, 0.3f, 0.085f, 0, 0, C(150, 92, 44)},
          {K::Block, 0.5f, 0.56f, 0.14f, 0.08f, 0, C(246, 240, 224)},
          {K::Block, 0.0f, 0.82f, 1.0f, 0.18f, 0, C(118, 84, 54)},
          {K::Disc, 0.82f, 0.78f, 0.07f, 0, 0, C(214, 160, 84)}}},
        {"artifactScarab.jpg", C(40, 86, 120), C(70, 120, 150), 1.0f, C(0, 0, 0), C(0, 0, 0), 0,
         0, 0, C(0, 0, 0), 0.0f,
         {{K::Disc, 0.5f, 0.5f, 0.38f, 0, 0, C(212, 170, 64)},
          {K::Disc, 0.5f, 0.5f, 0.3f, 0, 0, C(40, 86, 120)},
          {K::Stroke, 0.36f, 0.4f, 0.26f, 0.3f, 0.025f, C(30, 40, 40)},
          {K::Stroke, 0.64f, 0.4f, 0.74f, 0.3f, 0.025f, C(30, 40, 40)},
          {K::Stroke, 0.36f, 0.62f, 0.26f, 0.72f, 0.025f, C(30, 40, 40)},
          {K::Stroke, 0.64f, 0.62f, 0.74f, 0.72f, 0.025f, C(30, 40, 40)},
          {K::Disc, 0.5f, 0.56f, 0.13f, 0, 0, C(36, 110, 84)},
          {K::Disc, 0.5f, 0.36f, 0.07f, 0, 0, C(30, 84, 66)},
          {K::Stroke, 0.5f, 0.44f, 0.5f, 0.69f, 0.01f, C(20, 50, 40)}}},
        {"artifactLemur.jpg", C(120, 180, 120), C(220, 210, 140), 0.76f, C(150, 120, 70),
         C(116, 88, 52), 0.84f, 0.2f, 0.06f, C(255, 230, 150), 0.0f,
         {{K::Block, 0.3f, 0.35f, 0.14f, 0.45f, 0, C(132, 100, 80)},
          {K::Disc, 0.37f, 0.3f, 0.2f, 0, 0, C(64, 120, 54)},
          {K::Disc, 0.22f, 0.26f, 0.1f, 0, 0, C(70, 130, 58)},
          {K::Disc, 0.52f, 0.24f, 0.1f, 0, 0, C(58, 112, 50)},
          {K::Disc, 0.66f, 0.66f, 0.05f, 0, 0, C(150, 150, 156)},
          {K::Stroke, 0.69f, 0.7f, 0.8f, 0.5f, 0.02f, C(40, 40, 40)},
          {K::Stroke, 0.71f, 0.66f, 0.77f, 0.55f, 0.02f, C(230, 230, 230)},
          {K::Disc, 0.66f, 0.6f, 0.03f, 0, 0, C(160, 160, 166)}}},
        {"artifactSledge.jpg", C(150, 170, 200), C(226, 230, 238), 0.6f, C(244, 246, 250),
         C(214, 222, 236), 0.75f, 0.3f, 0.05f, C(250, 230, 200), 0.0f,
         {{K::Block, 0.1f, 0.2f, 0.025f, 0.45f, 0, C(236, 232, 226)},
          {K::Block, 0.18f, 0.25f, 0.025f, 0.4f, 0, C(236, 232, 226)},
          {K::Block, 0.86f, 0.22f, 0.025f, 0.44f, 0, C(236, 232, 226)},
          {K::Stroke, 0.35f, 0.78f, 0.62f, 0.78f, 0.015f, C(110, 70, 40)},
          {K::Block, 0.4f, 0.7f, 0.18f, 0.07f, 0, C(168, 52, 40)},
          {K::Disc, 0.7f, 0.72f, 0.05f, 0, 0, C(96, 70, 52)},
          {K::Stroke, 0.62f, 0.75f, 0.68f, 0.73f, 0.008f, C(60, 40, 30)}}},
        {"artifactKite.jpg", C(110, 170, 220), C(200, 226, 240), 0.8f, C(150, 140, 110),
         C(120, 110, 84), 0, 0, 0, C(0, 0, 0), 0.0f,
         {{K::Block, 0.0f, 0.74f, 1.0f, 0.08f, 0, C(168, 150, 116)},
          {K::Block, 0.2f, 0.68f, 0.06f, 0.06f, 0, C(168, 150, 116)},
          {K::Block, 0.7f, 0.68f, 0.06f, 0.06f, 0, C(168, 150, 116)},
          {K::Disc, 0.2f, 0.25f, 0.05f, 0, 0, C(214, 50, 44)},
          {K::Disc, 0.38f, 0.15f, 0.045f, 0, 0, C(244, 200, 60)},
          {K::Disc, 0.56f, 0.3f, 0.05f, 0, 0, C(60, 150, 80)},
          {K::Disc, 0.75f, 0.18f, 0.04f, 0, 0, C(150, 70, 170)},
          {K::Stroke, 0.2f, 0.3f, 0.3f, 0.7f, 0.004f, C(60, 50, 40)},
          {K::Stroke, 0.56f, 0.35f, 0.5f, 0.7f, 0.004f, C(60, 50, 40)}}},
        {"artifactDevil.jpg", C(16, 20, 48), C(50, 46, 96), 0.7f, C(30, 42, 30), C(14, 22, 16),
         0.74f, 0.24f, 0.08f, C(244, 240, 214), 0.0f,
         {{K::Disc, 0.15f, 0.15f, 0.01f, 0, 0, C(255, 255, 230)},
          {K::Disc, 0.3f, 0.3f, 0.008f, 0, 0, C(255, 255, 230)},
          {K::Disc, 0.45f, 0.12f, 0.01f, 0, 0, C(255, 255, 230)},
          {K::Disc, 0.9f, 0.45f, 0.008f, 0, 0, C(255, 255, 230)},
          {K::Peak, -0.1f, 0.75f, 0.3f, 0.55f, 0.7f, C(22, 30, 24)},
          {K::Disc, 0.46f, 0.8f, 0.07f, 0, 0, C(28, 22, 22)},
          {K::Disc, 0.51f, 0.76f, 0.035f, 0, 0, C(28, 22, 22)},
          {K::Disc, 0.52f, 0.75f, 0.008f, 0, 0, C(250, 90, 70)}}},
    };
}

// A filled triangle-like peak: the area under the two slopes from the apex.
Sdf PeakShape(float left, float base, float apexX, float apexY, float right)
{
    return [=](float x, float y) {
        if (y > base)
            return y - base;
        const float t = (y - apexY) / std::max(base - apexY, 0.001f);
        if (t < 0)
            return apexY - y;
        const float l = apexX + (left - apexX) * t;
        const float r = apexX + (right - apexX) * t;
        return std::max(l - x, x - r);
    };
}

// The picture inside the frame, width x height.
Canvas PaintPicture(const Painting& p, int w, int h)
{
    Canvas pic(w, h);
    const float horizon = p.horizon * h;
    FillShape(pic, RoundedRectShape({0, 0, float(w), float(h)}, 0),
              LinearGradient(0, 0, p.skyTop, 0, std::max(horizon, 1.0f), p.skyBottom));
    if (p.swirl > 0) {
        for (int y = 0; y < h && y < horizon; ++y)
            for (int x = 0; x < w; ++x) {
                const float wave = std::sin(x * 0.09f + y * 0.16f + std::sin(x * 0.05f) * 2.0f);
                pic.Shade(x, y, wave > 0 ? C(250, 214, 120) : C(150, 60, 40),
                          std::fabs(wave) * 0.25f * p.swirl);
            }
    }
    if (p.horizon < 1.0f)
        FillShape(pic, RoundedRectShape({0, horizon, float(w), h - horizon + 1}, 0),
                  LinearGradient(0, horizon, p.groundTop, 0, float(h), p.groundBottom));
    if (p.sunR > 0) {
        DrawRadialSprite(pic, p.sunX * w, p.sunY * h, p.sunR * w * 2.2f, p.sun.WithAlpha(0.35f),
                         2.0f, true);
        FillShape(pic, CircleShape(p.sunX * w, p.sunY * h, p.sunR * w), Solid(p.sun));
    }
    for (const Mark& m : p.marks) {
        Sdf shape;
        switch (m.kind) {
        case MarkKind::Disc:
            shape = CircleShape(m.a * w, m.b * h, m.c * w);
            break;
        case MarkKind::Stroke:
            shape = SegmentShape(m.a * w, m.b * h, m.c * w, m.d * h, std::max(m.e * w, 1.0f));
            break;
        case MarkKind::Block:
            shape = RoundedRectShape({m.a * w, m.b * h, m.c * w, m.d * h}, 1.0f);
            break;
        case MarkKind::Peak:
            shape = PeakShape(m.a * w, m.b * h, m.c * w, m.d * h, m.e * w);
            break;
        }
        FillShape(pic, shape, Solid(m.color));
    }
    // Brushed canvas: fine streaks across and a faint weave.
    Rng rng(std::string(p.name) + ".brush");
    const NoiseField brush = NoiseField::Streaks(rng, w, h, 24, true);
    const NoiseField grain = NoiseField::Grain(rng, w, h);
    ApplyTexture(
        pic, [&](int x, int y) { return 0.6f * brush.At(x, y) + 0.4f * grain.At(x, y); }, 0.16f);
    return pic;
}

// The gilt frame around a picture area of the painting's size.
void DrawGiltFrame(Canvas& canvas, int ox, const std::string& seed)
{
    const Sdf outer = RoundedRectShape({float(ox), 0, float(kW), float(kH)}, 2);
    PlateStyle gilt;
    gilt.base = C(196, 154, 64);
    gilt.radius = 2;
    gilt.bevel = 3;
    gilt.texture = 0.12f;
    gilt.gloss = true;
    DrawPlate(canvas, float(ox), 0, float(kW), float(kH), gilt, ButtonLook::Normal, seed);
    Bevel(canvas, outer, 3, 0.45f);
    const Sdf inner =
        RoundedRectShape({float(ox + kFrame - 2), float(kFrame - 2), float(kW - 2 * kFrame + 4),
                          float(kH - 2 * kFrame + 4)},
                         1);
    FillShape(canvas, inner, Solid(C(110, 80, 30)));
}

// Frame 0: the work under a dust sheet, folds falling from the top edge.
Canvas DustSheet(const std::string& seed)
{
    Canvas sheet(kW, kH);
    const Sdf body = RoundedRectShape({2, 2, kW - 4.0f, kH - 4.0f}, 6);
    FillShape(sheet, body,
              LinearGradient(0, 0, C(214, 200, 170), 0, float(kH), C(170, 154, 124)));
    for (int y = 0; y < kH; ++y)
        for (int x = 0; x < kW; ++x) {
            const float fold = std::sin(x * 0.11f + std::sin(y * 0.03f) * 1.5f);
            sheet.Shade(x, y, fold > 0 ? C(240, 230, 206) : C(120, 104, 80),
                        std::fabs(fold) * 0.22f);
        }
    Rng rng(seed + ".sheet");
    const NoiseField grain = NoiseField::Grain(rng, kW, kH);
    ApplyTexture(sheet, [&](int x, int y) { return grain.At(x, y); }, 0.1f);
    Bevel(sheet, body, 3, 0.35f);
    return sheet;
}

void WritePainting(AssetPack& pack, const Painting& p)
{
    Canvas sheet(2 * kW, kH);
    // Frame 1: the painting in its frame.
    DrawGiltFrame(sheet, kW, p.name);
    sheet.DrawOver(PaintPicture(p, kW - 2 * kFrame, kH - 2 * kFrame), kW + kFrame, kFrame);
    // Frame 0: the same frame, the dust sheet over it.
    DrawGiltFrame(sheet, 0, p.name);
    sheet.DrawOver(DustSheet(p.name), 0, 0);
    pack.WriteImage(kImages, p.name, sheet, SheetMetadata(2, kW, kH));
}

// A work that is missing: an empty frame on a pale wall with a question mark of chalk.
void GonePlate(AssetPack& pack)
{
    Canvas gone(kW, kH);
    DrawGiltFrame(gone, 0, "artifactGone.png");
    const Sdf inner = RoundedRectShape(
        {float(kFrame), float(kFrame), float(kW - 2 * kFrame), float(kH - 2 * kFrame)}, 0);
    FillShape(gone, inner, LinearGradient(0, 0, C(96, 90, 84), 0, float(kH), C(66, 62, 58)));
    const Rgba chalk = C(226, 222, 210);
    const float cx = kW / 2.0f;
    const float cy = kH / 2.0f;
    FillShape(gone,
              Union(Union(SegmentShape(cx - 14, cy - 20, cx - 4, cy - 30, 5),
                          SegmentShape(cx - 4, cy - 30, cx + 12, cy - 24, 5)),
                    Union(SegmentShape(cx + 12, cy - 24, cx + 10, cy - 8, 5),
                          SegmentShape(cx + 10, cy - 8, cx, cy + 4, 5))),
              Solid(chalk));
    FillShape(gone, CircleShape(cx, cy + 20, 4), Solid(chalk));
    pack.WriteImage(kImages, "artifactGone.png", gone);
}

// A dialog plate: a bevelled panel with a soft shadow, in the warm paper-and-wood look of
// the letters.
void DialogPlate(AssetPack& pack, const char* name, int w, int h, const Rgba& base)
{
    Canvas plate(w, h);
    Canvas body(w - 8, h - 8);
    PlateStyle style;
    style.base = base;
    style.radius = 14;
    style.bevel = 3;
    style.texture = 0.05f;
    style.gloss = false;
    DrawPlate(body, 0, 0, float(w - 8), float(h - 8), style, ButtonLook::Normal, name);
    // A thin inset line a little inside the edge.
    const Sdf line = RoundedRectShape({10, 10, w - 28.0f, h - 28.0f}, 8);
    const Sdf lineInner = RoundedRectShape({12, 12, w - 32.0f, h - 32.0f}, 6);
    FillShape(
        body, [&](float x, float y) { return std::max(line(x, y), -lineInner(x, y)); },
        Solid(base.Scaled(0.7f).WithAlpha(0.6f)));
    DrawWithShadow(plate, body, 0, 0, 4, 4, 3, 0.5f);
    pack.WriteImage(folders::kUiImages, name, plate);
}

// The reveal: a rising shimmer of bell tones over a breath of bright noise.
Signal RevealChime()
{
    Signal s(44100, 0.9);
    const double notes[] = {784.0, 987.8, 1174.7, 1568.0, 1975.5};
    for (int i = 0; i < 5; ++i)
        AddTone(s, i * 0.07, 0.6, MakeTone(Wave::Sine, notes[i], notes[i], 0.35f, 0.004, 0.45));
    Rng rng("Pickup_Magic34.ogg");
    AddNoise(s, 0.0, 0.5, MakeNoise(FilterMode::HighPass, 5000, 9000, 0.06f, 0.02, 0.4), rng);
    return FinishEffect(s);
}

// The artefact letter: a low warm chord that opens into a bright fifth.
Signal SecretFanfare()
{
    Signal s(44100, 1.2);
    const double low[] = {261.6, 329.6, 392.0};
    for (double f : low)
        AddTone(s, 0.0, 0.9, MakeTone(Wave::Triangle, f, f, 0.25f, 0.01, 0.7));
    AddTone(s, 0.25, 0.8, MakeTone(Wave::Sine, 784.0, 784.0, 0.3f, 0.01, 0.6));
    AddTone(s, 0.35, 0.8, MakeTone(Wave::Sine, 1174.7, 1174.7, 0.22f, 0.01, 0.6));
    return FinishEffect(s);
}

} // namespace

void GenerateArtefactAssets(AssetPack& pack)
{
    for (const Painting& p : Paintings())
        WritePainting(pack, p);
    GonePlate(pack);
    DialogPlate(pack, "bkgAreYouSureDlg.png", 360, 260, C(222, 204, 166));
    DialogPlate(pack, "bkgArtifactCard.png", 540, 400, C(232, 220, 190));
    DialogPlate(pack, "bkgOptionsDlg.png", 520, 440, C(222, 206, 172));
    pack.WriteSound(kSounds, "Pickup_Magic34.ogg", AudioClip::Mono(RevealChime()));
    pack.WriteSound(kSounds, "Pickup_Secret03.ogg", AudioClip::Mono(SecretFanfare()));
}

} // namespace assetgen
