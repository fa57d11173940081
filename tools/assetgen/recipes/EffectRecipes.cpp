// Effects of the play field: the explosion's fireball sheet and its embers and smoke, the
// lightning bolt that sparks stretch between their ends, and the blast's sound.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"
#include "recipes/UiStyle.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace assetgen {

namespace {

// The fireball: frames of 64 x 64, left to right, from the flash to the last wisps of smoke.
constexpr int kFireballSize = 64;
constexpr int kFireballFrames = 8;
// The bolt: frames of 64 x 12; the game stretches a frame along x to the arc's length.
constexpr int kBoltW = 64;
constexpr int kBoltH = 12;
constexpr int kBoltFrames = 4;

// Heat 0..1 to the colour of fire: white-hot core, yellow, orange, deep red, then soot.
Rgba FireRamp(float heat)
{
    struct Stop
    {
        float at;
        Rgba color;
    };
    static const Stop stops[] = {
        {0.00f, Rgba::Bytes(52, 40, 36)},    {0.22f, Rgba::Bytes(120, 36, 18)},
        {0.45f, Rgba::Bytes(214, 84, 20)},   {0.68f, Rgba::Bytes(252, 176, 44)},
        {0.86f, Rgba::Bytes(255, 236, 140)}, {1.00f, Rgba::Bytes(255, 252, 232)},
    };
    heat = Clamp01(heat);
    for (std::size_t i = 1; i < std::size(stops); ++i)
        if (heat <= stops[i].at)
            return Mix(stops[i - 1].color, stops[i].color,
                       (heat - stops[i - 1].at) / (stops[i].at - stops[i - 1].at));
    return stops[std::size(stops) - 1].color;
}

// One frame at time t (0 = the flash, 1 = the end): a billowing ball that grows, cools from
// its rim inwards and thins out into smoke.
void DrawFireballFrame(Canvas& sheet, int frame, const NoiseField& billows, const NoiseField& grain)
{
    const float t = static_cast<float>(frame) / (kFireballFrames - 1);
    const float c = kFireballSize / 2.0f;
    const float radius = 16.0f + 14.0f * std::sqrt(t);
    const float heatScale = 1.25f - 1.05f * t;
    const float opacity = 1.0f - 0.75f * t * t;
    for (int y = 0; y < kFireballSize; ++y) {
        for (int x = 0; x < kFireballSize; ++x) {
            const float dx = x + 0.5f - c, dy = y + 0.5f - c;
            // Billows shift with the frame so the ball seems to roll outwards.
            const float n = billows.At(x + frame * 5, y + frame * 3);
            const float d = std::hypot(dx, dy) / radius + (n - 0.5f) * (0.35f + 0.3f * t);
            if (d >= 1.0f)
                continue;
            const float core = 1.0f - d;
            const float heat = core * heatScale + (grain.At(x, y) - 0.5f) * 0.08f;
            Rgba colour = FireRamp(heat);
            // Light from the upper left: the lit side of the ball is a little brighter.
            colour = colour.Scaled(1.0f + 0.12f * (-dx - dy) / (radius * 1.4f));
            const float edge = SmoothStep(0.0f, 0.25f, core);
            sheet.Blend(frame * kFireballSize + x, y, colour, edge * opacity);
        }
    }
    // The first frames flash: an additive glow over the core.
    if (frame < 3) {
        Canvas flash(kFireballSize, kFireballSize);
        DrawRadialSprite(flash, c, c, radius * 1.3f, Rgba::Bytes(255, 240, 190), 2.0f, true);
        sheet.DrawOver(flash, frame * kFireballSize, 0, 0.7f - 0.25f * frame);
    }
}

void Fireball(AssetPack& pack)
{
    const std::string name = "Explosion.png";
    Rng rng(name);
    const NoiseField billows = NoiseField::Value(rng, 64, 64, 6, 6, 3, 0.55f);
    const NoiseField grain = NoiseField::Grain(rng, 64, 64);
    Canvas sheet(kFireballSize * kFireballFrames, kFireballSize);
    for (int frame = 0; frame < kFireballFrames; ++frame)
        DrawFireballFrame(sheet, frame, billows, grain);
    pack.WriteImage(folders::kEffectImages, name, sheet,
                    SheetMetadata(kFireballFrames, kFireballSize, kFireballSize));
}

// Distance from (x, y) to a polyline.
float DistanceToPath(const std::vector<std::pair<float, float>>& path, float x, float y)
{
    float best = 1e9f;
    for (std::size_t i = 1; i < path.size(); ++i) {
        const auto [x0, y0] = path[i - 1];
        const auto [x1, y1] = path[i];
        const float vx = x1 - x0, vy = y1 - y0;
        const float len2 = vx * vx + vy * vy;
        const float s = len2 > 0 ? Clamp01(((x - x0) * vx + (y - y0) * vy) / len2) : 0.0f;
        best = std::min(best, std::hypot(x - (x0 + s * vx), y - (y0 + s * vy)));
    }
    return best;
}

// One jagged bolt across a frame: both ends on the middle line, so arcs chained end to end
// join; a white core in a pale blue glow that fades out towards the edges of the frame.
void DrawBoltFrame(Canvas& sheet, int frame, Rng& rng)
{
    const float mid = kBoltH / 2.0f;
    std::vector<std::pair<float, float>> path{{0.0f, mid}};
    const int kinks = 7;
    for (int i = 1; i < kinks; ++i)
        path.emplace_back(kBoltW * static_cast<float>(i) / kinks + rng.Range(-2.5, 2.5),
                          mid + rng.Range(-3.6, 3.6));
    path.emplace_back(static_cast<float>(kBoltW), mid);
    const Rgba glow = Rgba::Bytes(150, 190, 255);
    const Rgba core = Rgba::Bytes(250, 252, 255);
    for (int y = 0; y < kBoltH; ++y) {
        for (int x = 0; x < kBoltW; ++x) {
            const float d = DistanceToPath(path, x + 0.5f, y + 0.5f);
            const float halo = std::exp(-d / 2.0f);
            const float hot = SmoothStep(1.1f, 0.3f, d);
            const Rgba colour = Mix(glow, core, hot);
            sheet.Blend(frame * kBoltW + x, y, colour, std::min(1.0f, halo * 0.9f + hot));
        }
    }
}

void Bolt(AssetPack& pack)
{
    const std::string name = "Spark.png";
    Rng rng(name);
    Canvas sheet(kBoltW * kBoltFrames, kBoltH);
    for (int frame = 0; frame < kBoltFrames; ++frame)
        DrawBoltFrame(sheet, frame, rng);
    pack.WriteImage(folders::kEffectImages, name, sheet,
                    SheetMetadata(kBoltFrames, kBoltW, kBoltH));
}

// Small soft sprites the explosion throws: glowing embers and grey puffs of smoke.
struct DebrisSprite
{
    const char* name;
    int size;
    Rgba color;
    float falloff;
    bool additive;
};

const DebrisSprite kDebris[] = {
    {"ExplosionEmber.png", 6, Rgba::Bytes(255, 170, 60), 1.6f, true},
    {"ExplosionSmoke.png", 10, Rgba::Bytes(92, 86, 82, 200), 1.2f, false},
};

void Debris(AssetPack& pack)
{
    for (const DebrisSprite& sprite : kDebris) {
        Canvas canvas(sprite.size, sprite.size);
        const float c = sprite.size / 2.0f;
        DrawRadialSprite(canvas, c, c, c, sprite.color, sprite.falloff, sprite.additive);
        if (sprite.additive)
            DrawRadialSprite(canvas, c, c, c * 0.5f, Rgba::Bytes(255, 240, 200), 2.0f, true);
        pack.WriteImage(folders::kEffectImages, sprite.name, canvas);
    }
}

// The blast: a deep thump under a roar of noise that darkens as it dies away, with a
// crackle of debris on top.
Signal BigExplosion(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.9);
    Tone thump;
    thump.freq = 95;
    thump.freqEnd = 38;
    thump.gain = 0.9f;
    thump.env.attack = 0.003;
    thump.env.decay = 0.16;
    AddTone(s, 0, 0.6, thump);
    NoiseBurst roar;
    roar.mode = FilterMode::LowPass;
    roar.cutoff = 2400;
    roar.cutoffEnd = 160;
    roar.resonance = 0.2f;
    roar.gain = 0.8f;
    roar.env.attack = 0.004;
    roar.env.decay = 0.22;
    roar.env.release = 0.15;
    AddNoise(s, 0, 0.88, roar, rng);
    for (int i = 0; i < 9; ++i) {
        NoiseBurst crack;
        crack.mode = FilterMode::BandPass;
        crack.cutoff = rng.Range(1800, 4200);
        crack.resonance = 0.4f;
        crack.gain = static_cast<float>(rng.Range(0.08, 0.2));
        crack.env.attack = 0.001;
        crack.env.decay = 0.012;
        AddNoise(s, rng.Range(0.03, 0.5), 0.05, crack, rng);
    }
    FadeEdges(s, 0.02);
    return FinishEffect(s);
}

} // namespace

void GenerateEffectAssets(AssetPack& pack)
{
    Fireball(pack);
    Bolt(pack);
    Debris(pack);
    const std::string blast = "Big Explosion.ogg";
    pack.WriteSound(folders::kEffectSounds, blast, AudioClip::Mono(BigExplosion(blast)));
}

} // namespace assetgen
