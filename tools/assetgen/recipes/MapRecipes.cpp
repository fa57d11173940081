// The adventure map screen: the leather backdrop, the sea chart of the voyage with an
// island under every stop, the pins and their name tags, the route's dots, the episode
// plate and arrows, the level plaques, the notepad and its stars.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <vector>

namespace assetgen {

namespace {

const char* const kImages = "Images/Map";

constexpr float kPi = 3.14159265f;

// The chart: placed at (8, 8) on the screen, 424 x 360.
constexpr int kChartX = 8;
constexpr int kChartY = 8;
constexpr int kChartW = 424;
constexpr int kChartH = 360;

// The stops of the voyage in screen pixels, kept in step with PinLocations in Level.lua:
// each gets an island of its own radius so that its pin stands on land.
struct Stop
{
    float x, y, radius;
};
const Stop kStops[] = {
    {102, 173, 34}, {60, 90, 30},   {150, 52, 28},  {262, 42, 30},  {368, 82, 34},
    {380, 200, 32}, {350, 306, 34}, {222, 330, 32}, {130, 270, 30}, {273, 159, 36},
};
// Islets that are no stop, for a fuller sea.
const Stop kIslets[] = {{200, 110, 12}, {320, 250, 10}, {60, 220, 9}, {410, 140, 8}};

const Rgba kInk = Rgba::Bytes(58, 40, 26);

// Signed distance to a closed polygon (negative inside).
Sdf PolygonShape(std::vector<std::pair<float, float>> points)
{
    return [points](float x, float y) {
        float best = 1e9f;
        bool inside = false;
        const std::size_t n = points.size();
        for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
            const float ax = points[j].first, ay = points[j].second;
            const float bx = points[i].first, by = points[i].second;
            const float ex = bx - ax, ey = by - ay;
            const float t =
                std::clamp(((x - ax) * ex + (y - ay) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            const float dx = x - (ax + ex * t), dy = y - (ay + ey * t);
            best = std::min(best, std::sqrt(dx * dx + dy * dy));
            if ((ay > y) != (by > y) && x < ax + (y - ay) * ex / (ey == 0 ? 1e-6f : ey))
                inside = !inside;
        }
        return inside ? -best : best;
    };
}

Sdf StarShape(float cx, float cy, float outer, float inner)
{
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < 10; ++i) {
        const float r = i % 2 == 0 ? outer : inner;
        const float a = -kPi / 2 + i * kPi / 5;
        points.emplace_back(cx + r * std::cos(a), cy + r * std::sin(a));
    }
    return PolygonShape(points);
}

// A ring along a shape's edge, `width` pixels wide.
Sdf Ring(Sdf shape, float width)
{
    return [shape, width](float x, float y) { return std::fabs(shape(x, y)) - width / 2; };
}

// ---- The leather backdrop -----------------------------------------------------------------

void Leather(AssetPack& pack)
{
    const int w = 640, h = 480;
    Rng rng("bkgLeather.jpg");
    const NoiseField mottle = NoiseField::Value(rng, w, h, 10, 8, 4, 0.55f);
    const NoiseField pebble = NoiseField::Value(rng, w, h, 160, 120, 1, 0.5f);
    const NoiseField grain = NoiseField::Grain(rng, w, h);
    const Rgba hide = Rgba::Bytes(96, 60, 38);
    Canvas canvas(w, h);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            float shade =
                0.8f + 0.3f * mottle.At(x, y) + 0.1f * pebble.At(x, y) + 0.05f * grain.At(x, y);
            const float dx = (x - w / 2.0f) / (w / 2.0f), dy = (y - h / 2.0f) / (h / 2.0f);
            shade *= 1.0f - 0.35f * std::min(1.0f, (dx * dx + dy * dy) * 0.55f);
            canvas.Set(x, y, hide.Scaled(shade));
        }
    // Stitching along the edge: short light dashes with a dark hole at each end.
    const int inset = 7;
    auto stitch = [&](float x0, float y0, float x1, float y1) {
        FillShape(canvas, SegmentShape(x0 + 1, y0 + 1, x1 + 1, y1 + 1, 2.2f),
                  Solid(Rgba{0, 0, 0, 0.45f}));
        FillShape(canvas, SegmentShape(x0, y0, x1, y1, 2.0f), Solid(Rgba::Bytes(214, 186, 134)));
    };
    for (int x = inset + 4; x < w - inset - 8; x += 14) {
        stitch(x, inset, x + 7, inset);
        stitch(x, h - inset, x + 7, h - inset);
    }
    for (int y = inset + 4; y < h - inset - 8; y += 14) {
        stitch(inset, y, inset, y + 7);
        stitch(w - inset, y, w - inset, y + 7);
    }
    pack.WriteImage(folders::kScreens, "bkgLeather.jpg", canvas);
}

// ---- The sea chart ------------------------------------------------------------------------

// Height of the land at a chart pixel: above 0 on land, rising inland; below 0 at sea.
float LandHeight(float x, float y, const NoiseField& coast)
{
    float height = -1.0f;
    auto island = [&](const Stop& stop) {
        const float sx = stop.x - kChartX, sy = stop.y - kChartY;
        const float dx = x - sx, dy = y - sy;
        const float d = std::sqrt(dx * dx + dy * dy);
        // The coast wanders by up to a third of the radius.
        const float wobble = 0.72f + 0.56f * coast.At(static_cast<int>(x), static_cast<int>(y));
        height = std::max(height, 1.0f - d / (stop.radius * wobble));
    };
    for (const Stop& stop : kStops)
        island(stop);
    for (const Stop& islet : kIslets)
        island(islet);
    return height;
}

void DrawCompass(Canvas& chart, float cx, float cy, float r)
{
    FillShape(chart, CircleShape(cx, cy, r), Solid(Rgba::Bytes(240, 226, 190, 200)));
    FillShape(chart, Ring(CircleShape(cx, cy, r), 1.2f), Solid(kInk.WithAlpha(0.8f)));
    for (int i = 0; i < 4; ++i) {
        const float a = -kPi / 2 + i * kPi / 2;
        const float tx = cx + r * 0.95f * std::cos(a), ty = cy + r * 0.95f * std::sin(a);
        const float lx = cx + r * 0.22f * std::cos(a - kPi / 2);
        const float ly = cy + r * 0.22f * std::sin(a - kPi / 2);
        const float rx = cx + r * 0.22f * std::cos(a + kPi / 2);
        const float ry = cy + r * 0.22f * std::sin(a + kPi / 2);
        const Rgba colour = i == 0 ? Rgba::Bytes(168, 44, 34) : kInk;
        FillShape(chart, PolygonShape({{tx, ty}, {lx, ly}, {cx, cy}}), Solid(colour));
        FillShape(chart, PolygonShape({{tx, ty}, {cx, cy}, {rx, ry}}), Solid(colour.Scaled(1.6f)));
    }
    FillShape(chart, CircleShape(cx, cy, 2.0f), Solid(Rgba::Bytes(214, 170, 60)));
}

// ---- Landmarks: each stop's island carries a small picture of its place --------------------

// Paints a shape with a fill and a thin ink outline, as the chart's drawings are.
void Inked(Canvas& chart, const Sdf& shape, const Rgba& fill)
{
    FillShape(chart, shape, Solid(fill));
    FillShape(chart, Ring(shape, 0.9f), Solid(kInk.WithAlpha(0.85f)));
}

using Landmark = void (*)(Canvas& chart, float x, float y);

// x, y: the foot of the picture (its lower middle).
void Lighthouse(Canvas& c, float x, float y)
{
    Inked(c, PolygonShape({{x - 4, y}, {x + 4, y}, {x + 2.5f, y - 14}, {x - 2.5f, y - 14}}),
          Rgba::Bytes(236, 232, 220));
    FillShape(c,
              PolygonShape({{x - 3.4f, y - 4}, {x + 3.4f, y - 4}, {x + 3, y - 8}, {x - 3, y - 8}}),
              Solid(Rgba::Bytes(186, 50, 40)));
    Inked(c, RoundedRectShape({x - 3, y - 18, 6, 4}, 1), Rgba::Bytes(250, 220, 110));
    DrawRadialSprite(c, x, y - 16, 7, Rgba::Bytes(255, 236, 150), 2.0f, true);
}

void Mountains(Canvas& c, float x, float y)
{
    Inked(c, PolygonShape({{x - 10, y}, {x - 3, y - 13}, {x + 4, y}}), Rgba::Bytes(150, 128, 100));
    Inked(c, PolygonShape({{x - 2, y}, {x + 5, y - 16}, {x + 12, y}}), Rgba::Bytes(132, 112, 88));
    FillShape(c, PolygonShape({{x + 2.6f, y - 11}, {x + 5, y - 16}, {x + 7.4f, y - 11}}),
              Solid(Rgba::Bytes(250, 250, 246)));
}

void Dome(Canvas& c, float x, float y)
{
    Inked(c, RoundedRectShape({x - 9, y - 6, 18, 6}, 0.5f), Rgba::Bytes(238, 234, 224));
    Inked(
        c,
        [=](float px, float py) {
            const float d = std::sqrt((px - x) * (px - x) + (py - (y - 6)) * (py - (y - 6))) - 6;
            return std::max(d, py - (y - 6));
        },
        Rgba::Bytes(244, 240, 230));
    FillShape(c, SegmentShape(x, y - 12, x, y - 15, 1.2f), Solid(kInk));
}

void Volcano(Canvas& c, float x, float y)
{
    Inked(c, PolygonShape({{x - 11, y}, {x - 3, y - 12}, {x + 3, y - 12}, {x + 11, y}}),
          Rgba::Bytes(110, 96, 90));
    FillShape(c, CircleShape(x - 1, y - 16, 3), Solid(Rgba::Bytes(246, 246, 250, 220)));
    FillShape(c, CircleShape(x + 2, y - 20, 2.6f), Solid(Rgba::Bytes(246, 246, 250, 190)));
}

void Tower(Canvas& c, float x, float y)
{
    Inked(c,
          PolygonShape({{x - 6, y},
                        {x - 1, y - 18},
                        {x + 1, y - 18},
                        {x + 6, y},
                        {x + 3, y},
                        {x, y - 6},
                        {x - 3, y}}),
          Rgba::Bytes(120, 100, 80));
    FillShape(c, SegmentShape(x - 4, y - 7, x + 4, y - 7, 1.0f), Solid(kInk));
}

void Pyramids(Canvas& c, float x, float y)
{
    Inked(c, PolygonShape({{x - 11, y}, {x - 3, y - 11}, {x + 5, y}}), Rgba::Bytes(226, 190, 110));
    Inked(c, PolygonShape({{x - 1, y}, {x + 6, y - 8}, {x + 13, y}}), Rgba::Bytes(212, 176, 98));
}

void Baobab(Canvas& c, float x, float y)
{
    Inked(c, PolygonShape({{x - 3.5f, y}, {x + 3.5f, y}, {x + 2, y - 12}, {x - 2, y - 12}}),
          Rgba::Bytes(150, 110, 80));
    Inked(c, RoundedRectShape({x - 9, y - 16, 18, 5}, 2.5f), Rgba::Bytes(84, 132, 64));
}

void Pagoda(Canvas& c, float x, float y)
{
    for (int tier = 0; tier < 3; ++tier) {
        const float base = y - tier * 6.0f, half = 9.0f - tier * 2.0f;
        Inked(c, RoundedRectShape({x - half * 0.55f, base - 5, half * 1.1f, 5}, 0.5f),
              Rgba::Bytes(196, 70, 50));
        Inked(c, PolygonShape({{x - half, base - 4}, {x + half, base - 4}, {x, base - 8}}),
              Rgba::Bytes(60, 100, 80));
    }
}

void Pines(Canvas& c, float x, float y)
{
    for (const float dx : {-6.0f, 2.0f, 9.0f}) {
        const float h = dx == 2.0f ? 15.0f : 11.0f;
        Inked(c, PolygonShape({{x + dx - 4.5f, y}, {x + dx + 4.5f, y}, {x + dx, y - h}}),
              Rgba::Bytes(52, 96, 66));
    }
}

void GumTree(Canvas& c, float x, float y)
{
    FillShape(c, SegmentShape(x, y, x, y - 9, 2.2f), Solid(Rgba::Bytes(196, 184, 170)));
    Inked(c, CircleShape(x - 3, y - 12, 4.5f), Rgba::Bytes(110, 150, 120));
    Inked(c, CircleShape(x + 3.5f, y - 13, 5), Rgba::Bytes(100, 142, 112));
}

const Landmark kLandmarks[] = {Lighthouse, Mountains, Dome,   Volcano, Tower,
                               Pyramids,   Baobab,    Pagoda, Pines,   GumTree};

void DrawLandmarks(Canvas& chart)
{
    for (std::size_t i = 0; i < std::size(kStops); ++i) {
        // To the right of the pin, clear of the name tag that hangs below the point.
        const float x = kStops[i].x - kChartX + 25;
        const float y = kStops[i].y - kChartY - 2;
        kLandmarks[i](chart, x, y);
    }
}

void SeaChart(AssetPack& pack)
{
    Rng rng("objMapWorld.png");
    const NoiseField coast = NoiseField::Value(rng, kChartW, kChartH, 12, 10, 3, 0.5f);
    const NoiseField tint = NoiseField::Value(rng, kChartW, kChartH, 6, 5, 3, 0.5f);
    const NoiseField grain = NoiseField::Grain(rng, kChartW, kChartH);
    const Rgba sea = Rgba::Bytes(134, 168, 164);
    const Rgba shallow = Rgba::Bytes(178, 204, 186);
    const Rgba sand = Rgba::Bytes(224, 204, 150);
    const Rgba green = Rgba::Bytes(118, 146, 84);
    const Rgba hills = Rgba::Bytes(140, 116, 80);

    Canvas chart(kChartW, kChartH);
    for (int y = 0; y < kChartH; ++y)
        for (int x = 0; x < kChartW; ++x) {
            const float fx = x + 0.5f, fy = y + 0.5f;
            const float height = LandHeight(fx, fy, coast);
            const float paper = 0.9f + 0.14f * tint.At(x, y) + 0.04f * grain.At(x, y);
            Rgba colour;
            if (height < 0) {
                // Shallows ring every coast; faint wave hatching across the open sea.
                const float shore = SmoothStep(-0.28f, 0.0f, height);
                colour = Mix(sea, shallow, shore);
                const float wave = std::sin(fx * 0.35f + std::sin(fy * 0.09f) * 3.0f + fy * 0.9f);
                if (shore < 0.2f && wave > 0.93f)
                    colour = colour.Scaled(0.88f);
            } else {
                const float inland = SmoothStep(0.0f, 0.35f, height);
                colour = Mix(sand, green, inland);
                // Hills in patches rather than one mound in the middle.
                const float patch =
                    SmoothStep(0.45f, 0.75f, tint.At(x * 3 % kChartW, y * 3 % kChartH));
                colour = Mix(colour, hills, SmoothStep(0.45f, 0.85f, height) * patch * 0.7f);
            }
            colour = colour.Scaled(paper);
            // The coastline in ink.
            if (std::fabs(height) < 0.035f)
                colour = Mix(colour, kInk, 0.75f);
            chart.Set(x, y, colour);
        }

    DrawLandmarks(chart);
    DrawCompass(chart, 40, 322, 22);

    // The chart's frame: a dark rule inside a burnt edge.
    const Sdf sheet = RoundedRectShape({0, 0, float(kChartW), float(kChartH)}, 3);
    for (int y = 0; y < kChartH; ++y)
        for (int x = 0; x < kChartW; ++x) {
            const float d = -sheet(x + 0.5f, y + 0.5f);
            if (d < 10)
                chart.Shade(x, y, Rgba::Bytes(70, 44, 24), (1.0f - d / 10) * 0.55f);
        }
    FillShape(chart, Ring(RoundedRectShape({5, 5, kChartW - 10.0f, kChartH - 10.0f}, 2), 1.4f),
              Solid(kInk.WithAlpha(0.7f)));
    pack.WriteImage(kImages, "objMapWorld.png", chart);
}

// ---- Pins, tags and the route -------------------------------------------------------------

void Pushpins(AssetPack& pack)
{
    const int w = 16, h = 24;
    const Rgba heads[] = {Rgba::Bytes(206, 52, 40), Rgba::Bytes(232, 186, 62),
                          Rgba::Bytes(86, 118, 170)};
    Canvas sheet(w * 3, h);
    for (int frame = 0; frame < 3; ++frame) {
        Canvas pin(w, h);
        FillShape(pin, SegmentShape(8.5f, 11, 8, 22.5f, 1.6f), Solid(Rgba::Bytes(120, 124, 132)));
        FillShape(pin, SegmentShape(9.1f, 12, 9.1f, 21, 0.6f), Solid(Rgba::Bytes(220, 224, 230)));
        DrawSphere(pin, 8, 7, 6.2f, heads[frame]);
        if (frame == 0)
            DrawRadialSprite(pin, 8, 7, 8, Rgba::Bytes(255, 120, 90), 2.0f, true);
        sheet.DrawOver(pin, frame * w, 0);
    }
    pack.WriteImage(kImages, "objMapPushpin.png", sheet, SheetMetadata(3, w, h));

    Canvas dot(5, 5);
    FillShape(dot, CircleShape(2.5f, 2.5f, 1.9f), Solid(Rgba::Bytes(150, 46, 34, 230)));
    pack.WriteImage(kImages, "objMapRouteDot.png", dot);
}

// The plate of a tag or plaque as DrawPlate lays it in a button frame.
Sdf FramePlate(int frameW, int frameH, float radius)
{
    const int room = frameH >= 32 ? 3 : 2;
    return RoundedRectShape({0.5f, 0.5f, frameW - room - 1.0f, frameH - room - 1.0f}, radius);
}

void Marker(AssetPack& pack, const std::string& name, int w, int h, float radius,
            const Rgba& colour, float width)
{
    Canvas marker(w, h);
    FillShape(marker, Ring(FramePlate(w, h, radius), width), Solid(colour));
    pack.WriteImage(kImages, name, marker);
}

void Tags(AssetPack& pack)
{
    // Tall enough that a caption keeps clear of the marker rings drawn inside the tag.
    const int w = 92, h = 24;
    PlateStyle parchment;
    parchment.base = Rgba::Bytes(236, 222, 186);
    parchment.radius = 5;
    parchment.bevel = 1.5f;
    parchment.texture = 0.05f;
    pack.WriteImage(kImages, "btnMapTag.png", ButtonSheet(w, h, parchment, "btnMapTag.png"),
                    ButtonSheetMetadata(w, h, parchment));
    Marker(pack, "objMapTagSelected.png", w, h, 5, Rgba::Bytes(226, 178, 40), 2.4f);
    Marker(pack, "objMapTagNewest.png", w, h, 5, Rgba::Bytes(190, 30, 24), 2.4f);
}

// ---- The episode plate, arrows and level plaques ------------------------------------------

Sdf Chevron(bool left, float shift)
{
    const float tip = left ? 10.0f : 17.0f, back = left ? 17.0f : 10.0f;
    return Union(SegmentShape(back + shift, 7.5f + shift, tip + shift, 13.5f + shift, 3.2f),
                 SegmentShape(tip + shift, 13.5f + shift, back + shift, 19.5f + shift, 3.2f));
}

void Arrows(AssetPack& pack)
{
    PlateStyle wood;
    wood.base = Rgba::Bytes(150, 112, 70);
    wood.radius = 8;
    for (bool left : {true, false}) {
        const std::string name = left ? "btnMapArrowLeft.png" : "btnMapArrowRight.png";
        const FaceDecoration glyph = [left](Canvas& face, ButtonLook look) {
            const float shift = look == ButtonLook::Pressed ? 1.0f : 0.0f;
            const Rgba ink = look == ButtonLook::Disabled ? Rgba::Bytes(170, 170, 170)
                                                          : Rgba::Bytes(248, 240, 214);
            FillShape(face, Chevron(left, shift + 1), Solid(Rgba{0, 0, 0, 0.5f}));
            FillShape(face, Chevron(left, shift), Solid(ink));
        };
        pack.WriteImage(kImages, name, ButtonSheet(30, 30, wood, name, glyph),
                        SheetMetadata(kButtonFrames, 30, 30));
    }

    Canvas plate(192, 34);
    PlateStyle dark;
    dark.base = Rgba::Bytes(84, 56, 34);
    dark.radius = 9;
    DrawPlate(plate, 0.5f, 0.5f, 189, 31, dark, ButtonLook::Normal, "objMapEpisodePlate.png");
    pack.WriteImage(kImages, "objMapEpisodePlate.png", plate);
}

void LevelPlaques(AssetPack& pack)
{
    const int w = 184, h = 30;
    PlateStyle wood;
    wood.base = Rgba::Bytes(122, 82, 46);
    wood.radius = 8;
    wood.texture = 0.08f;
    pack.WriteImage(kImages, "btnMapLevel.png", ButtonSheet(w, h, wood, "btnMapLevel.png"),
                    ButtonSheetMetadata(w, h, wood));
    Marker(pack, "objMapLevelSelected.png", w, h, 8, Rgba::Bytes(236, 190, 52), 2.6f);

    // The newest level: a red seal at the plaque's left end, clear of the caption.
    Canvas seal(w, h);
    DrawSphere(seal, 13.0f, h / 2.0f - 1, 5.5f, Rgba::Bytes(196, 36, 28));
    pack.WriteImage(kImages, "objMapLevelNewest.png", seal);
}

// ---- The notepad and its stars ------------------------------------------------------------

// The notepad's rules: the first under the level's title, one for every row of the notepad
// (its small handwriting's line height), the last under the secret's row.
constexpr int kNoteRuleTop = 56;
constexpr int kNoteRulePitch = 19;
constexpr int kNoteRuleLast = 170;

void Notepad(AssetPack& pack)
{
    const int w = 188, h = 222;
    Rng rng("objMapNotepad.png");
    const NoiseField fibre = NoiseField::Value(rng, w, h, 12, 12, 3, 0.5f);
    Canvas paper(w, h);
    const Sdf sheet = RoundedRectShape({1, 8, w - 6.0f, h - 12.0f}, 3);
    FillShape(paper, sheet, [&](int x, int y) {
        return Rgba::Bytes(252, 247, 228).Scaled(0.95f + 0.06f * fibre.At(x, y));
    });
    // Ruled lines, the margin, and the rings of the binding. The rules end above the row of
    // big stars at the foot of the page; the metadata names them for the code that writes
    // on them.
    for (int y = kNoteRuleTop; y <= kNoteRuleLast; y += kNoteRulePitch)
        FillShape(paper, SegmentShape(6, y + 0.5f, w - 9.0f, y + 0.5f, 0.9f),
                  Solid(Rgba::Bytes(120, 160, 206, 150)));
    FillShape(paper, SegmentShape(13.5f, 12, 13.5f, h - 6.0f, 1.0f),
              Solid(Rgba::Bytes(206, 84, 84, 150)));
    for (int x = 18; x < w - 12; x += 16) {
        FillShape(paper, CircleShape(x + 0.5f, 14, 2.6f), Solid(Rgba::Bytes(60, 50, 40, 200)));
        FillShape(paper, Ring(CircleShape(x + 0.5f, 9, 5.2f), 1.6f), [](int, int y) {
            return Rgba::Bytes(176, 180, 188).Scaled(y < 9 ? 1.1f : 0.8f);
        });
    }
    Canvas out(w, h);
    DrawWithShadow(out, paper, 0, 0, 3, 3, 3.0f, 0.5f);
    const LuaValue metadata = RuledPaperMetadata(kNoteRuleTop, kNoteRulePitch, kNoteRuleLast);
    pack.WriteImage(kImages, "objMapNotepad.png", out, metadata);
}

void Stars(AssetPack& pack, const std::string& name, int size)
{
    Canvas sheet(size * 2, size);
    const float c = size / 2.0f, outer = size * 0.47f, inner = size * 0.2f;
    for (int frame = 0; frame < 2; ++frame) {
        Canvas star(size, size);
        const Sdf shape = StarShape(c, c + 0.5f, outer, inner);
        if (frame == 0) {
            FillShape(star, shape,
                      RadialGradient(c - 2, c - 2, outer * 1.4f, Rgba::Bytes(255, 230, 120),
                                     Rgba::Bytes(206, 140, 24)));
            Bevel(star, shape, 1.5f, 0.5f);
        } else {
            FillShape(star, shape, Solid(Rgba::Bytes(190, 182, 168, 150)));
        }
        FillShape(star, Ring(shape, 0.9f), Solid(Rgba::Bytes(96, 64, 24, frame == 0 ? 200 : 140)));
        sheet.DrawOver(star, frame * size, 0);
    }
    pack.WriteImage(kImages, name, sheet, SheetMetadata(2, size, size));
}

} // namespace

void GenerateMapAssets(AssetPack& pack)
{
    Leather(pack);
    SeaChart(pack);
    Pushpins(pack);
    Tags(pack);
    Arrows(pack);
    LevelPlaques(pack);
    Notepad(pack);
    Stars(pack, "objMapStar.png", 24);
    Stars(pack, "objMapStarSmall.png", 14);
}

} // namespace assetgen
