// Power-ups and loot: the round capsules of every power-up kind (a shaded disc in the
// kind's family colour, good blue, bad red, neutral silver, with a white symbol), the
// spinning coin and gems, the gold brick, the secret, and the sounds of their appearance.
#include "kit/Draw.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

namespace {

const char* const kImages = "Images/Powerups";
const char* const kSounds = "Sounds/Powerups";

constexpr int kSize = 32;
constexpr int kSpinFrames = 8;
constexpr float kPi = 3.14159265f;

// A stroke of a symbol, in a box of 0..1 on both axes (y down).
struct Stroke
{
    float x0, y0, x1, y1;
};
using Symbol = std::vector<Stroke>;

enum class Family { Good, Bad, Neutral, Gold };

struct Capsule
{
    const char* image;
    Family family;
    Symbol symbol;
};

Rgba FamilyColour(Family family)
{
    switch (family) {
    case Family::Good:
        return Rgba::Bytes(60, 110, 220);
    case Family::Bad:
        return Rgba::Bytes(200, 56, 44);
    case Family::Neutral:
        return Rgba::Bytes(150, 156, 166);
    case Family::Gold:
        return Rgba::Bytes(214, 164, 40);
    }
    return Rgba::Bytes(128, 128, 128);
}

// Letters drawn with straight strokes; curves are a few short strokes.
const Symbol kLetterB = {{.3f, .15f, .3f, .85f},   {.3f, .15f, .6f, .15f}, {.6f, .15f, .7f, .3f},
                         {.7f, .3f, .6f, .5f},     {.3f, .5f, .62f, .5f},  {.62f, .5f, .74f, .67f},
                         {.74f, .67f, .62f, .85f}, {.62f, .85f, .3f, .85f}};
const Symbol kLetterR = {{.3f, .15f, .3f, .85f}, {.3f, .15f, .6f, .15f}, {.6f, .15f, .7f, .32f},
                         {.7f, .32f, .6f, .5f},  {.6f, .5f, .3f, .5f},   {.48f, .5f, .72f, .85f}};
const Symbol kLetterE = {{.32f, .15f, .32f, .85f},
                         {.32f, .15f, .7f, .15f},
                         {.32f, .5f, .62f, .5f},
                         {.32f, .85f, .7f, .85f}};
const Symbol kLetterA = {{.25f, .85f, .5f, .15f}, {.5f, .15f, .75f, .85f}, {.35f, .6f, .65f, .6f}};
const Symbol kLetterK = {{.3f, .15f, .3f, .85f}, {.3f, .55f, .7f, .15f}, {.42f, .45f, .72f, .85f}};
const Symbol kLetterO = {{.5f, .15f, .72f, .3f}, {.72f, .3f, .72f, .7f}, {.72f, .7f, .5f, .85f},
                         {.5f, .85f, .28f, .7f}, {.28f, .7f, .28f, .3f}, {.28f, .3f, .5f, .15f}};
const Symbol kLetterU = {{.3f, .15f, .3f, .7f},
                         {.3f, .7f, .42f, .85f},
                         {.42f, .85f, .58f, .85f},
                         {.58f, .85f, .7f, .7f},
                         {.7f, .7f, .7f, .15f}};
const Symbol kLetterT = {{.25f, .15f, .75f, .15f}, {.5f, .15f, .5f, .85f}};

const Symbol kPlus = {{.5f, .25f, .5f, .75f}, {.25f, .5f, .75f, .5f}};
const Symbol kMinus = {{.25f, .5f, .75f, .5f}};
const Symbol kArrowsOut = {{.15f, .5f, .85f, .5f},
                           {.15f, .5f, .3f, .35f},
                           {.15f, .5f, .3f, .65f},
                           {.85f, .5f, .7f, .35f},
                           {.85f, .5f, .7f, .65f}};
const Symbol kArrowsIn = {{.15f, .5f, .85f, .5f},
                          {.4f, .5f, .25f, .35f},
                          {.4f, .5f, .25f, .65f},
                          {.6f, .5f, .75f, .35f},
                          {.6f, .5f, .75f, .65f}};
const Symbol kBolt = {{.6f, .12f, .35f, .52f}, {.35f, .52f, .62f, .48f}, {.62f, .48f, .4f, .88f}};
const Symbol kSplit = {{.5f, .85f, .5f, .5f}, {.5f, .5f, .25f, .15f}, {.5f, .5f, .75f, .15f}};
const Symbol kLaser = {{.35f, .85f, .35f, .15f}, {.65f, .85f, .65f, .15f}};
const Symbol kShield = {{.2f, .3f, .8f, .3f}, {.2f, .5f, .8f, .5f}, {.2f, .7f, .8f, .7f}};
const Symbol kBreak = {{.2f, .2f, .8f, .8f}, {.8f, .2f, .2f, .8f}};
const Symbol kFast = {
    {.2f, .25f, .5f, .5f}, {.5f, .5f, .2f, .75f}, {.5f, .25f, .8f, .5f}, {.8f, .5f, .5f, .75f}};
const Symbol kSlow = {{.3f, .25f, .3f, .75f}, {.7f, .25f, .7f, .75f}};
const Symbol kCatch = {{.2f, .3f, .2f, .75f}, {.2f, .75f, .8f, .75f}, {.8f, .75f, .8f, .3f}};
const Symbol kGlue = {{.3f, .2f, .3f, .6f}, {.5f, .2f, .5f, .8f}, {.7f, .2f, .7f, .55f}};
const Symbol kBall = {
    {.5f, .3f, .7f, .5f}, {.7f, .5f, .5f, .7f}, {.5f, .7f, .3f, .5f}, {.3f, .5f, .5f, .3f}};
const Symbol kBigBall = {
    {.5f, .15f, .85f, .5f}, {.85f, .5f, .5f, .85f}, {.5f, .85f, .15f, .5f}, {.15f, .5f, .5f, .15f}};
const Symbol kSmallBall = {
    {.5f, .4f, .6f, .5f}, {.6f, .5f, .5f, .6f}, {.5f, .6f, .4f, .5f}, {.4f, .5f, .5f, .4f}};
const Symbol kHeavy = {
    {.3f, .3f, .7f, .3f}, {.3f, .3f, .2f, .8f}, {.7f, .3f, .8f, .8f}, {.2f, .8f, .8f, .8f}};
const Symbol kLight = {{.5f, .2f, .5f, .8f}, {.2f, .5f, .8f, .5f}, {.28f, .28f, .72f, .72f}};
const Symbol kRubber = {
    {.2f, .7f, .35f, .3f}, {.35f, .3f, .5f, .7f}, {.5f, .7f, .65f, .3f}, {.65f, .3f, .8f, .7f}};
const Symbol kPaddle = {{.2f, .5f, .8f, .5f}, {.2f, .6f, .8f, .6f}};
const Symbol kQuestion = {{.32f, .3f, .45f, .18f}, {.45f, .18f, .62f, .22f},
                          {.62f, .22f, .66f, .4f}, {.66f, .4f, .5f, .55f},
                          {.5f, .55f, .5f, .68f},  {.5f, .8f, .5f, .84f}};

const std::vector<Capsule>& Capsules()
{
    static const std::vector<Capsule> capsules = {
        {"Powerup.AddShield.png", Family::Good, kShield},
        {"Powerup.Breakthru.png", Family::Good, kBreak},
        {"Powerup.DecreasePower.png", Family::Bad, kMinus},
        {"Powerup.IncreasePower.png", Family::Good, kPlus},
        {"Powerup.Rubber.png", Family::Bad, kRubber},
        {"Powerup.Glue.png", Family::Good, kGlue},
        {"Powerup.LeadBall.png", Family::Neutral, kHeavy},
        {"Powerup.BeachBall.png", Family::Neutral, kLight},
        {"Powerup.Large.png", Family::Good, kBigBall},
        {"Powerup.Small.png", Family::Bad, kSmallBall},
        {"Powerup.Fast.png", Family::Bad, kFast},
        {"Powerup.Slow.png", Family::Good, kSlow},
        {"Powerup.Divide.png", Family::Good, kSplit},
        {"Powerup.Lightning.png", Family::Good, kBolt},
        {"MOSSGRAIN.1B.png", Family::Good, kLetterB},
        {"MOSSGRAIN.2R.png", Family::Good, kLetterR},
        {"MOSSGRAIN.3E.png", Family::Good, kLetterE},
        {"MOSSGRAIN.4A.png", Family::Good, kLetterA},
        {"MOSSGRAIN.5K.png", Family::Good, kLetterK},
        {"MOSSGRAIN.6O.png", Family::Good, kLetterO},
        {"MOSSGRAIN.7U.png", Family::Good, kLetterU},
        {"MOSSGRAIN.8T.png", Family::Good, kLetterT},
        {"PowerUp.EnlargePaddle.png", Family::Good, kArrowsOut},
        {"Powerup.ContractPaddle.png", Family::Bad, kArrowsIn},
        {"Powerup.BallCatcher.png", Family::Good, kCatch},
        {"PowerUp.Laser.png", Family::Good, kLaser},
        {"Powerup.ExtraBall.png", Family::Good, kBall},
        {"Powerup.NormalBall.png", Family::Neutral, kBall},
        {"Powerup.NormalPaddle.png", Family::Neutral, kPaddle},
        {"Powerup.Secret.png", Family::Gold, kQuestion},
    };
    return capsules;
}

void DrawSymbol(Canvas& canvas, const Symbol& symbol, float ox, float oy, float size,
                const Rgba& colour, float width)
{
    Sdf shape;
    for (const Stroke& s : symbol) {
        Sdf stroke = SegmentShape(ox + s.x0 * size, oy + s.y0 * size, ox + s.x1 * size,
                                  oy + s.y1 * size, width);
        shape = shape ? Union(shape, stroke) : stroke;
    }
    if (shape)
        FillShape(canvas, shape, Solid(colour));
}

// A capsule: shaded disc, a light ring, the symbol with a dark shadow down-right.
Canvas DrawCapsule(const Capsule& capsule)
{
    Canvas layer(kSize, kSize);
    const float c = kSize / 2.0f;
    DrawSphere(layer, c, c, 13.5f, FamilyColour(capsule.family));
    FillShape(
        layer, [&](float x, float y) { return std::fabs(std::hypot(x - c, y - c) - 13.0f) - 0.8f; },
        Solid(Rgba::Bytes(255, 255, 255, 110)));
    DrawSymbol(layer, capsule.symbol, 7.5f, 7.5f, 18.0f, Rgba::Bytes(20, 16, 30, 170), 2.6f);
    DrawSymbol(layer, capsule.symbol, 6.5f, 6.5f, 18.0f, Rgba::Bytes(255, 255, 255), 2.4f);
    return layer;
}

// ---- Coin and gems: eight frames of a turn about the vertical axis ---------------------------

struct Gem
{
    const char* image;
    Rgba colour;
    bool round; // a coin; otherwise a cut gem
};

LuaValue SpinMetadata()
{
    std::vector<LuaValue> forward, backward, fast;
    for (int f = 0; f < kSpinFrames; ++f) {
        forward.push_back(LuaValue(f));
        backward.push_back(LuaValue(kSpinFrames - 1 - f));
    }
    for (int f = 0; f < kSpinFrames; f += 2)
        fast.push_back(LuaValue(f));
    for (int f = 0; f < kSpinFrames; f += 2)
        fast.push_back(LuaValue(f));
    LuaValue animations = LuaValue::Table();
    animations.Set("spin1", LuaValue::Array(forward));
    animations.Set("spin2", LuaValue::Array(backward));
    animations.Set("spin3", LuaValue::Array(fast));
    LuaValue meta = LuaValue::Table();
    meta.Set("numFrames", kSpinFrames).Set("width", kSize).Set("height", kSize);
    meta.Set("Animations", animations);
    return meta;
}

void DrawGems(AssetPack& pack)
{
    const Gem gems[] = {
        {"Bling.Coin.png", Rgba::Bytes(232, 184, 48), true},
        {"Bling.Diamond.png", Rgba::Bytes(220, 236, 255), false},
        {"Bling.Emerald.png", Rgba::Bytes(40, 190, 90), false},
        {"Bling.Ruby.png", Rgba::Bytes(210, 30, 60), false},
    };
    for (const Gem& gem : gems) {
        Canvas sheet(kSize * kSpinFrames, kSize);
        for (int f = 0; f < kSpinFrames; ++f) {
            const float turn = std::cos(f * 2.0f * kPi / kSpinFrames);
            const float squash = std::max(0.15f, std::fabs(turn));
            const float ox = float(f * kSize), c = kSize / 2.0f;
            const float rx = 12.0f * squash, ry = 12.0f;
            Canvas frame(kSize, kSize);
            // An ellipse for the coin, a rhombus with a flat table for the gems.
            const Sdf shape =
                gem.round ? Sdf([=](float x, float y) {
                    return (std::hypot((x - c) / rx, (y - c) / ry) - 1.0f) * std::min(rx, ry);
                })
                          : Sdf([=](float x, float y) {
                                return (std::fabs(x - c) / rx + std::fabs(y - c) / ry - 1.0f) *
                                       std::min(rx, ry) * 0.7f;
                            });
            const Rgba light = gem.colour.Scaled(1.35f), dark = gem.colour.Scaled(0.55f);
            FillShape(frame, shape,
                      LinearGradient(c - rx, c - ry, turn >= 0 ? light : dark, c + rx, c + ry,
                                     turn >= 0 ? dark : light));
            Bevel(frame, shape, 2.0f, 0.6f);
            DrawRadialSprite(frame, c - rx * 0.35f, c - 5.0f, 3.0f, Rgba::Bytes(255, 255, 255),
                             2.0f, true);
            for (int y = 0; y < kSize; ++y)
                for (int x = 0; x < kSize; ++x)
                    sheet.Set(int(ox) + x, y, frame.Get(x, y));
        }
        pack.WriteImage(kImages, gem.image, sheet, SpinMetadata());
    }
}

// The gold brick: a bevelled bar of gold the size of the large brick shape; the game
// shrinks it to a third.
void DrawGoldBrick(AssetPack& pack)
{
    const int w = 96, h = 48;
    Canvas layer(w, h);
    const Sdf shape = RoundedRectShape({3, 3, float(w - 6), float(h - 6)}, 5);
    FillShape(layer, shape,
              LinearGradient(0, 0, Rgba::Bytes(255, 226, 120), float(w), float(h),
                             Rgba::Bytes(170, 118, 24)));
    Bevel(layer, shape, 5.0f, 0.7f);
    DrawRadialSprite(layer, 24, 13, 14, Rgba::Bytes(255, 250, 220, 60), 3.0f, true);
    pack.WriteImage(kImages, "Shape.Rectangle.96.Bevel.0.Sharp.png", layer);
}

// ---- Sounds --------------------------------------------------------------------------------

void DrawSounds(AssetPack& pack)
{
    {
        // A power-up appears: a bright rising sweep with a shimmer on top.
        Signal s(44100, 0.45);
        AddTone(s, 0, 0.4, MakeTone(Wave::Triangle, 330, 1320, 0.45f, 0.003, 0.2));
        AddTone(s, 0.05, 0.35, MakeTone(Wave::Sine, 990, 1980, 0.2f, 0.003, 0.15));
        pack.WriteSound(kSounds, "powerupCreationSound.ogg", AudioClip::Mono(FinishEffect(s)));
    }
    {
        // Money: two quick chimes, the second higher.
        Signal s(44100, 0.4);
        AddTone(s, 0, 0.2, MakeTone(Wave::Sine, 1568, 0, 0.4f, 0.003, 0.08));
        AddTone(s, 0.08, 0.3, MakeTone(Wave::Sine, 2093, 0, 0.4f, 0.003, 0.12));
        AddTone(s, 0.08, 0.3, MakeTone(Wave::Triangle, 4186, 0, 0.08f, 0.003, 0.05));
        pack.WriteSound(kSounds, "cash-heal.ogg", AudioClip::Mono(FinishEffect(s)));
    }
    {
        // A secret: a ripple of bells up an arpeggio.
        Signal s(44100, 0.6);
        const double notes[] = {1046.5, 1318.5, 1568.0, 2093.0};
        for (int i = 0; i < 4; ++i)
            AddTone(s, i * 0.07, 0.6 - i * 0.07,
                    MakeTone(Wave::Sine, notes[i], 0, 0.3f, 0.003, 0.15));
        pack.WriteSound(kSounds, "Pickup_GemBells16.ogg", AudioClip::Mono(FinishEffect(s)));
    }
}

} // namespace

void GeneratePowerupAssets(AssetPack& pack)
{
    for (const Capsule& capsule : Capsules()) {
        Canvas canvas(kSize, kSize);
        DrawWithShadow(canvas, DrawCapsule(capsule), 0, 0, 1, 1, 1.5f, 0.5f);
        pack.WriteImage(kImages, capsule.image, canvas);
    }
    DrawGems(pack);
    DrawGoldBrick(pack);
    DrawSounds(pack);
}

} // namespace assetgen
