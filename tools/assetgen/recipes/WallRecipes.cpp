// The play field's frame and what lives along it: the walls in their material variants,
// the lava of the dangerous bottom wall (a looping sheet), the shield bands, the laser
// beam and its emitter, the lava drops of the splashes, and their sounds.
//
// The field is 640 x 480 with the play area x 16..624, y 36..485: the top wall's picture
// fills y 0..36 across the whole width (corners included), the side walls' pictures are
// 16 wide and start below it, and the lava shows from y 465 to the bottom of the screen.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

namespace {

constexpr float kPi = 3.14159265f;

constexpr int kScreenW = 640;
constexpr int kScreenH = 480;
constexpr int kSideW = 16;
constexpr int kTopH = 36;

// ---- Walls ---------------------------------------------------------------------------------

enum class Grain { Wood, Stone, Ice };

// One material family of wall pictures: <Side>Wall<suffix>.png.
struct WallMaterial
{
    const char* suffix; // "" for the plain walls, else ".<Variant>"
    Grain grain;
    Rgba base;
    float texture; // contrast of the material's texture
};

const WallMaterial kWallMaterials[] = {
    {"", Grain::Stone, Rgba::Bytes(92, 94, 104), 0.22f},
    {".Brown", Grain::Wood, Rgba::Bytes(128, 84, 46), 0.28f},
    {".Ice", Grain::Ice, Rgba::Bytes(150, 192, 220), 0.18f},
};

// The material's texture over a w x h piece, seeded by the picture's name; wood and ice
// run their streaks along the piece.
NoiseField MaterialTexture(const WallMaterial& m, const std::string& name, int w, int h,
                           bool alongX)
{
    Rng rng(name);
    switch (m.grain) {
    case Grain::Wood:
        return NoiseField::Streaks(rng, w, h, alongX ? std::max(2, h / 3) : std::max(2, w / 3),
                                   alongX);
    case Grain::Ice:
        return NoiseField::Streaks(rng, w, h, alongX ? 3 : 2, alongX);
    case Grain::Stone:
    default:
        return NoiseField::Value(rng, w, h, std::max(1, w / 8), std::max(1, h / 8), 3, 0.55f);
    }
}

// Joints between planks or blocks, every `spacing` pixels along the piece: a dark line with
// a light line after it, as a groove lit from the upper left.
void DrawJoints(Canvas& c, const RectF& r, int spacing, bool alongX)
{
    const int length = int(alongX ? r.w : r.h);
    for (int at = spacing; at < length; at += spacing) {
        for (int across = 0; across < int(alongX ? r.h : r.w); ++across) {
            const int x0 = int(r.x) + (alongX ? at : across);
            const int y0 = int(r.y) + (alongX ? across : at);
            c.Shade(x0, y0, Rgba::Bytes(20, 14, 10), 0.45f);
            c.Shade(alongX ? x0 + 1 : x0, alongX ? y0 : y0 + 1, Rgba::Bytes(255, 240, 220), 0.18f);
        }
    }
}

// A raised, textured bar filling r, bevelled towards the light.
void DrawWallBar(Canvas& c, const RectF& r, const WallMaterial& m, const std::string& name,
                 bool alongX)
{
    const Sdf bar = RoundedRectShape(r, 1.5f);
    const Rgba light = m.base.Scaled(1.12f), dark = m.base.Scaled(0.82f);
    FillShape(c, bar,
              alongX ? LinearGradient(0, r.y, light, 0, r.y + r.h, dark)
                     : LinearGradient(r.x, 0, light, r.x + r.w, 0, dark));
    const NoiseField tex = MaterialTexture(m, name, c.Width(), c.Height(), alongX);
    ApplyTexture(
        c, [&](int x, int y) { return tex.At(x, y); }, m.texture);
    DrawJoints(c, r, m.grain == Grain::Stone ? 48 : 96, alongX);
    Bevel(c, bar, 2.5f, 0.5f);
}

// A square boss where the top wall meets a side wall, with a rivet.
void DrawCorner(Canvas& c, float x, const WallMaterial& m)
{
    const Sdf block = RoundedRectShape({x, 2, float(kSideW), float(kTopH) - 4}, 2);
    FillShape(c, block, Solid(m.base.Scaled(0.9f)));
    Bevel(c, block, 2.0f, 0.5f);
    const float cx = x + kSideW / 2.0f;
    DrawSphere(c, cx, kTopH / 2.0f, 3.0f, Rgba::Bytes(170, 160, 140));
}

void TopWallPicture(AssetPack& pack, const WallMaterial& m)
{
    const std::string name = std::string("TopWall") + m.suffix + ".png";
    Canvas c(kScreenW, kTopH);
    DrawWallBar(c, {0, 0, float(kScreenW), float(kTopH)}, m, name, true);
    // A rail along the inner edge that the play area starts below.
    const Sdf rail =
        RoundedRectShape({float(kSideW), kTopH - 7.0f, float(kScreenW - 2 * kSideW), 6}, 2);
    FillShape(c, rail, Solid(m.base.Scaled(0.7f)));
    Bevel(c, rail, 1.5f, 0.45f);
    DrawCorner(c, 0, m);
    DrawCorner(c, float(kScreenW - kSideW), m);
    pack.WriteImage("Images/Walls", name, c);
}

void SideWallPicture(AssetPack& pack, const WallMaterial& m, bool left)
{
    const std::string name = std::string(left ? "LeftWall" : "RightWall") + m.suffix + ".png";
    Canvas c(kSideW, kScreenH);
    // The top wall covers the corner: the side wall starts below it.
    DrawWallBar(c, {0, float(kTopH), float(kSideW), float(kScreenH - kTopH)}, m, name, false);
    // A darker rail along the inner edge.
    const float railX = left ? kSideW - 5.0f : 0.0f;
    const Sdf rail = RoundedRectShape({railX, float(kTopH), 5, float(kScreenH - kTopH)}, 2);
    FillShape(c, rail, Solid(m.base.Scaled(0.7f)));
    Bevel(c, rail, 1.5f, 0.45f);
    pack.WriteImage("Images/Walls", name, c);
}

// ---- Lava ----------------------------------------------------------------------------------

constexpr int kLavaW = 608;
constexpr int kLavaH = 20;
constexpr int kLavaFrames = 8;

// One frame of the lava's surface at phase 0..1 of the loop. The waves complete whole
// periods over the loop and the hot spots pulse each on its own beat, so the last frame
// runs into the first without a jump.
void DrawLavaFrame(Canvas& c, int top, float phase, const NoiseField& glow, const NoiseField& beat,
                   const NoiseField& grain)
{
    const Rgba deep = Rgba::Bytes(112, 18, 8), hot = Rgba::Bytes(232, 92, 18);
    const Rgba crust = Rgba::Bytes(255, 196, 84);
    for (int x = 0; x < kLavaW; ++x) {
        const float surface = 4.0f + 1.8f * std::sin(2 * kPi * (x / 76.0f + phase)) +
                              1.1f * std::sin(2 * kPi * (x / 38.0f - 2 * phase)) +
                              0.5f * std::sin(2 * kPi * (x / 19.0f + 3 * phase));
        for (int y = 0; y < kLavaH; ++y) {
            const float cover = Clamp01(y + 0.5f - surface + 0.5f);
            if (cover <= 0)
                continue;
            const float depth = (y - surface) / kLavaH;
            const float pulse = 0.5f + 0.5f * std::sin(2 * kPi * (phase + beat.At(x, y) * 3.0f));
            const float g = glow.At(x, y) * (0.55f + 0.45f * pulse);
            Rgba colour = Mix(hot, deep, Clamp01(depth * 1.6f + 0.2f));
            colour = Mix(colour, crust, SmoothStep(0.5f, 0.85f, g) * 0.8f);
            // The bright skin at the surface.
            colour = Mix(colour, crust, Clamp01(1.0f - (y - surface) / 2.0f) * 0.7f);
            colour = colour.Scaled(0.94f + 0.12f * grain.At(x, y));
            c.Blend(x, top + y, colour, cover);
        }
    }
}

void LavaSheet(AssetPack& pack)
{
    const std::string name = "BottomWallDangerous.Vert.png";
    Rng rng(name);
    const NoiseField glow = NoiseField::Value(rng, kLavaW, kLavaH, 32, 2, 3, 0.5f);
    const NoiseField beat = NoiseField::Value(rng, kLavaW, kLavaH, 16, 2, 2, 0.5f);
    const NoiseField grain = NoiseField::Grain(rng, kLavaW, kLavaH);
    Canvas sheet(kLavaW, kLavaH * kLavaFrames);
    std::vector<LuaValue> loop;
    for (int f = 0; f < kLavaFrames; ++f) {
        DrawLavaFrame(sheet, f * kLavaH, float(f) / kLavaFrames, glow, beat, grain);
        loop.push_back(LuaValue(f));
    }
    LuaValue meta = SheetMetadata(kLavaFrames, kLavaW, kLavaH);
    meta.Set("Animations", LuaValue::Table().Set("loop", LuaValue::Array(loop)));
    pack.WriteImage("Images/Walls", name, sheet, meta);
}

void LavaDrop(AssetPack& pack)
{
    Canvas c(6, 6);
    DrawRadialSprite(c, 3, 3, 3, Rgba::Bytes(240, 100, 24), 1.2f, false);
    DrawRadialSprite(c, 2.6f, 2.6f, 1.6f, Rgba::Bytes(255, 214, 110), 1.5f, true);
    pack.WriteImage("Images/Walls", "LavaDrop.png", c);
}

// ---- Shields -------------------------------------------------------------------------------

struct ShieldBand
{
    const char* name;
    Rgba colour;
};

// Level 1 (outermost when full) to 6 (nearest the field): a rainbow from indigo to red.
const ShieldBand kShieldBands[] = {
    {"Shield.Indigo.png", Rgba::Bytes(88, 60, 190)},
    {"Shield.Blue.png", Rgba::Bytes(50, 120, 230)},
    {"Shield.Green.png", Rgba::Bytes(60, 190, 90)},
    {"Shield.Yellow.png", Rgba::Bytes(240, 210, 60)},
    {"Shield.Orange.png", Rgba::Bytes(240, 140, 40)},
    {"Shield.Red.png", Rgba::Bytes(220, 54, 48)},
};

// A band 640 long and 3 thick, lit along its upper edge; the shield draws as much of it
// as its side is long.
void ShieldBandPicture(AssetPack& pack, const ShieldBand& band)
{
    Canvas c(kScreenW, 3);
    const Rgba rows[] = {band.colour.Scaled(1.3f), band.colour, band.colour.Scaled(0.62f)};
    for (int x = 0; x < kScreenW; ++x) {
        // A faint shimmer along the band.
        const float shimmer = 0.96f + 0.06f * std::sin(x * 0.35f);
        for (int y = 0; y < 3; ++y)
            c.Set(x, y, rows[y].Scaled(shimmer));
    }
    pack.WriteImage("Images/Walls", band.name, c);
}

// ---- Laser ---------------------------------------------------------------------------------

// The beam runs upright, long enough to cross the field; beams are cut and stretched to
// the length they need. A white-hot core in a red glow.
void LaserBeamPicture(AssetPack& pack)
{
    const int w = 8, h = kScreenW;
    Canvas c(w, h);
    const Rgba glow = Rgba::Bytes(255, 60, 48), core = Rgba::Bytes(255, 246, 236);
    for (int y = 0; y < h; ++y) {
        const float pulse = 0.9f + 0.1f * std::sin(y * 0.21f);
        for (int x = 0; x < w; ++x) {
            const float d = std::fabs(x + 0.5f - w / 2.0f) / (w / 2.0f); // 0 centre .. 1 edge
            const float alpha = Clamp01((1.0f - d * d) * pulse);
            const Rgba colour = Mix(core, glow, SmoothStep(0.15f, 0.7f, d));
            c.Set(x, y, colour.WithAlpha(alpha));
        }
    }
    pack.WriteImage("Images/Walls", "Laser.Beam.png", c);
}

// The nozzle on the paddle: a steel housing with a glowing red lens.
void LaserEmitterPicture(AssetPack& pack)
{
    Canvas c(14, 10);
    const Sdf housing = RoundedRectShape({1, 1, 12, 8}, 2.5f);
    FillShape(c, housing,
              LinearGradient(0, 1, Rgba::Bytes(200, 204, 214), 0, 9, Rgba::Bytes(96, 100, 112)));
    Bevel(c, housing, 1.5f, 0.5f);
    DrawRadialSprite(c, 7, 5, 3.2f, Rgba::Bytes(255, 70, 50), 1.0f, false);
    DrawRadialSprite(c, 6.5f, 4.5f, 1.5f, Rgba::Bytes(255, 230, 220), 1.5f, true);
    pack.WriteImage("Images/Walls", "Laser.Emitter.png", c);
}

// ---- Sounds --------------------------------------------------------------------------------

// Sizzling lava: noise falling from bright to dull.
void AddSizzle(Signal& s, Rng& rng, double start, double length, float gain)
{
    NoiseBurst sizzle;
    sizzle.mode = FilterMode::HighPass;
    sizzle.cutoff = 5200;
    sizzle.cutoffEnd = 1800;
    sizzle.resonance = 0.2f;
    sizzle.gain = gain;
    sizzle.env.attack = 0.01;
    sizzle.env.decay = length / 2.5;
    sizzle.env.release = 0.05;
    AddNoise(s, start, length, sizzle, rng);
}

// A ball falling into lava: a deep plop, then the sizzle.
Signal LostBall(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.55);
    Tone plop;
    plop.freq = 190;
    plop.freqEnd = 60;
    plop.gain = 0.8f;
    plop.env.decay = 0.09;
    AddTone(s, 0, 0.25, plop);
    NoiseBurst thud;
    thud.cutoff = 500;
    thud.gain = 0.5f;
    thud.env.decay = 0.03;
    AddNoise(s, 0, 0.08, thud, rng);
    AddSizzle(s, rng, 0.03, 0.5, 0.35f);
    return FinishEffect(s);
}

// A ball off a wall: a short hollow knock.
Signal Bounce(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.12);
    Tone knock;
    knock.freq = 420;
    knock.freqEnd = 360;
    knock.gain = 0.7f;
    knock.env.decay = 0.025;
    AddTone(s, 0, 0.12, knock);
    Tone body;
    body.wave = Wave::Triangle;
    body.freq = 210;
    body.gain = 0.35f;
    body.env.decay = 0.03;
    AddTone(s, 0, 0.1, body);
    NoiseBurst click;
    click.mode = FilterMode::BandPass;
    click.cutoff = 2500;
    click.gain = 0.3f;
    click.env.decay = 0.004;
    AddNoise(s, 0, 0.02, click, rng);
    return FinishEffect(s);
}

// Loot or a brick sinking: a falling "bloop" with a short sizzle.
Signal LostLoot(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.4);
    Tone bloop;
    bloop.freq = 520;
    bloop.freqEnd = 140;
    bloop.gain = 0.6f;
    bloop.env.decay = 0.1;
    AddTone(s, 0, 0.3, bloop);
    AddSizzle(s, rng, 0.05, 0.35, 0.25f);
    return FinishEffect(s);
}

// A power-up lost: a sad falling two-note sweep into the sizzle.
Signal LostPowerup(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.45);
    Tone first;
    first.wave = Wave::Square;
    first.freq = 660;
    first.freqEnd = 520;
    first.gain = 0.25f;
    first.env.decay = 0.06;
    AddTone(s, 0, 0.14, first);
    Tone second = first;
    second.freq = 440;
    second.freqEnd = 200;
    second.env.decay = 0.1;
    AddTone(s, 0.12, 0.28, second);
    AddSizzle(s, rng, 0.15, 0.3, 0.2f);
    return FinishEffect(s);
}

// A goober's steel in lava: clanging inharmonic partials over a noise crash.
Signal SmashMetal(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.45);
    const double partials[] = {310, 587, 833, 1213, 1687};
    for (int i = 0; i < 5; ++i) {
        Tone p;
        p.freq = partials[i];
        p.gain = 0.35f / (1 + i * 0.5f);
        p.env.decay = 0.16 / (1 + i * 0.4);
        AddTone(s, 0, 0.45, p);
    }
    NoiseBurst crash;
    crash.mode = FilterMode::BandPass;
    crash.cutoff = 3500;
    crash.cutoffEnd = 1500;
    crash.resonance = 0.3f;
    crash.gain = 0.4f;
    crash.env.decay = 0.05;
    AddNoise(s, 0, 0.2, crash, rng);
    return FinishEffect(s);
}

// A shield level added: a bright rising shimmer.
Signal ShieldAdded(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.4);
    Tone sweep;
    sweep.wave = Wave::Triangle;
    sweep.freq = 440;
    sweep.freqEnd = 1320;
    sweep.gain = 0.45f;
    sweep.env.attack = 0.02;
    sweep.env.decay = 0.25;
    AddTone(s, 0, 0.38, sweep);
    Tone sparkle;
    sparkle.freq = 1760;
    sparkle.freqEnd = 2640;
    sparkle.gain = 0.15f;
    sparkle.env.attack = 0.05;
    sparkle.env.decay = 0.12;
    AddTone(s, 0.12, 0.26, sparkle);
    return FinishEffect(s);
}

// A ball striking a shield: an electric zap falling away.
Signal ShieldHit(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.22);
    Tone zap;
    zap.wave = Wave::Square;
    zap.freq = 1400;
    zap.freqEnd = 300;
    zap.gain = 0.3f;
    zap.env.decay = 0.06;
    AddTone(s, 0, 0.2, zap);
    NoiseBurst crackle;
    crackle.mode = FilterMode::BandPass;
    crackle.cutoff = 4000;
    crackle.cutoffEnd = 1200;
    crackle.resonance = 0.5f;
    crackle.gain = 0.3f;
    crackle.env.decay = 0.04;
    AddNoise(s, 0, 0.15, crackle, rng);
    return FinishEffect(s);
}

// A ball about to appear: a soft rising swell that gathers to a point.
Signal BallSpawn(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.7);
    Tone swell;
    swell.freq = 330;
    swell.freqEnd = 990;
    swell.gain = 0.4f;
    swell.env.attack = 0.35;
    swell.env.decay = 0.3;
    swell.env.sustain = 0.6f;
    swell.env.release = 0.12;
    AddTone(s, 0, 0.7, swell);
    Tone fifth = swell;
    fifth.freq = 495;
    fifth.freqEnd = 1485;
    fifth.gain = 0.18f;
    AddTone(s, 0, 0.7, fifth);
    NoiseBurst air;
    air.mode = FilterMode::BandPass;
    air.cutoff = 1200;
    air.cutoffEnd = 5000;
    air.gain = 0.12f;
    air.env.attack = 0.3;
    air.env.decay = 0.3;
    air.env.release = 0.15;
    AddNoise(s, 0, 0.7, air, rng);
    return FinishEffect(s);
}

struct SoundRecipe
{
    const char* name;
    Signal (*make)(const std::string& name);
};

const SoundRecipe kWallSounds[] = {
    {"lostBall.ogg", &LostBall},     {"bounce.ogg", &Bounce},
    {"lostLoot.ogg", &LostLoot},     {"lostPowerup.ogg", &LostPowerup},
    {"smashMetal.ogg", &SmashMetal}, {"shield_added.ogg", &ShieldAdded},
    {"shield_hit.ogg", &ShieldHit},  {"ballspawn.ogg", &BallSpawn},
};

} // namespace

void GenerateWallAssets(AssetPack& pack)
{
    for (const WallMaterial& m : kWallMaterials) {
        TopWallPicture(pack, m);
        SideWallPicture(pack, m, true);
        SideWallPicture(pack, m, false);
    }
    LavaSheet(pack);
    LavaDrop(pack);
    for (const ShieldBand& band : kShieldBands)
        ShieldBandPicture(pack, band);
    LaserBeamPicture(pack);
    LaserEmitterPicture(pack);
    for (const SoundRecipe& sound : kWallSounds)
        pack.WriteSound("Sounds/Walls", sound.name, AudioClip::Mono(sound.make(sound.name)));
}

} // namespace assetgen
