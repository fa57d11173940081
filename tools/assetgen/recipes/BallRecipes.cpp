// The ball family: the balls of every substance and size, the coronas drawn around them,
// the small particle sprites the field's emitters share, and the sounds balls make.
#include "recipes/Recipes.h"

#include "kit/Draw.h"
#include "kit/Rng.h"
#include "kit/Synth.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

namespace assetgen {

namespace {

const char* const kBallImages = "Images/Balls";
const char* const kParticleImages = "Images/Particles";
const char* const kBallSounds = "Sounds/Balls";

const float kPi = 3.14159265f;

// ---- Balls --------------------------------------------------------------------------------

struct Substance
{
    const char* name;
    Rgba base;
    SphereStyle style;
    bool beachBall; // light, translucent, with coloured panels
};

SphereStyle Style(float ambient, float specular, float shininess, float rim)
{
    SphereStyle s;
    s.ambient = ambient;
    s.specular = specular;
    s.shininess = shininess;
    s.rim = rim;
    return s;
}

const Substance kSubstances[] = {
    // Polished steel.
    {"None", Rgba::Bytes(184, 190, 204), Style(0.3f, 0.95f, 28, 0.35f), false},
    // Dark, heavy metal with a dull highlight.
    {"Lead", Rgba::Bytes(78, 82, 92), Style(0.22f, 0.55f, 18, 0.45f), false},
    // A light beach ball: white with red, yellow and blue panels, a little see-through.
    {"Air", Rgba::Bytes(246, 244, 236), Style(0.45f, 0.7f, 40, 0.25f), true},
    // Matte red-orange rubber: a broad, faint highlight.
    {"Rubber", Rgba::Bytes(214, 78, 36), Style(0.3f, 0.25f, 8, 0.4f), false},
};

const int kDiameters[] = {8, 12, 16, 24, 32, 48, 64};

// Tints the beach ball's panels by the angle around the upper-left pole.
void PaintPanels(Canvas& ball, float c, float radius)
{
    const Rgba panels[] = {Rgba::Bytes(224, 58, 52),  Rgba::Bytes(246, 246, 240),
                           Rgba::Bytes(246, 196, 40), Rgba::Bytes(246, 246, 240),
                           Rgba::Bytes(52, 112, 220), Rgba::Bytes(246, 246, 240)};
    const float px = c - radius * 0.35f, py = c - radius * 0.35f; // the pole
    for (int y = 0; y < ball.Height(); ++y)
        for (int x = 0; x < ball.Width(); ++x) {
            const float dx = x + 0.5f - px, dy = y + 0.5f - py;
            if (std::sqrt(dx * dx + dy * dy) < radius * 0.18f)
                continue; // the white cap
            float a = std::atan2(dy, dx) + kPi;
            const int panel = int(a / (2 * kPi) * 6) % 6;
            ball.Shade(x, y, panels[panel], panel % 2 == 0 ? 0.55f : 0.0f);
        }
}

Canvas DrawBall(const Substance& s, int diameter)
{
    Canvas ball(diameter, diameter);
    const float c = diameter / 2.0f;
    const float radius = c - 0.4f;
    DrawSphere(ball, c, c, radius, s.base, s.style);
    if (s.beachBall) {
        PaintPanels(ball, c, radius);
        for (int y = 0; y < diameter; ++y)
            for (int x = 0; x < diameter; ++x)
                ball.ScaleAlpha(x, y, 0.82f);
    }
    return ball;
}

void Balls(AssetPack& pack)
{
    for (const Substance& s : kSubstances)
        for (int d : kDiameters)
            pack.WriteImage(kBallImages,
                            std::string("Ball.") + s.name + "." + std::to_string(d) + ".png",
                            DrawBall(s, d));
}

// ---- Coronas (drawn for a 64-pixel ball in frames of 96 x 96) ------------------------------

const int kCoronaFrame = 96;
const float kCoronaCentre = 48.0f;

LuaValue RowMetadata(int frames)
{
    LuaValue m = LuaValue::Table();
    m.Set("numFrames", frames).Set("width", kCoronaFrame).Set("height", kCoronaFrame);
    return m;
}

// Mace points: twelve golden spikes standing out of the ball's outline, with a warm glow.
void MaceCorona(AssetPack& pack)
{
    Canvas canvas(kCoronaFrame, kCoronaFrame);
    const int spikes = 12;
    for (int y = 0; y < kCoronaFrame; ++y)
        for (int x = 0; x < kCoronaFrame; ++x) {
            const float dx = x + 0.5f - kCoronaCentre, dy = y + 0.5f - kCoronaCentre;
            const float r = std::sqrt(dx * dx + dy * dy);
            // A soft orange glow just outside the ball.
            if (r > 30 && r < 46)
                canvas.AddLight(x, y, Rgba::Bytes(255, 150, 40),
                                0.35f * std::pow(1.0f - (r - 30) / 16.0f, 2.0f));
            const float sector = 2 * kPi / spikes;
            float a = std::atan2(dy, dx) + kPi / 2;
            a = std::fmod(a + 100 * sector, sector) - sector / 2; // angle from the spike axis
            const float half = sector * 0.32f;
            const float length = 15.0f * std::max(0.0f, 1.0f - std::fabs(a) / half);
            const float coverage = std::clamp(31.0f + length - r + 0.5f, 0.0f, 1.0f) *
                                   std::clamp(r - 29.0f, 0.0f, 1.0f);
            if (coverage <= 0 || length <= 0)
                continue;
            // Lit from the upper left: the side of each spike facing the light is brighter.
            const float lit =
                0.6f + 0.4f * std::clamp(-(dx + dy) / (r * 1.414f) + a * 1.5f, -1.0f, 1.0f);
            canvas.Blend(x, y, Rgba::Bytes(232, 184, 64).Scaled(lit), coverage);
        }
    pack.WriteImage(kBallImages, "Corona.Breakthru.MacePts64.png", canvas, RowMetadata(1));
}

// Adds a glowing stroke along a segment: a bright core of `width` and a soft halo.
void AddBolt(Canvas& canvas, float x0, float y0, float x1, float y1, float width, const Rgba& color,
             float glow, int frameX)
{
    const float pad = width + glow + 1;
    const int minX = std::max(0, int(std::min(x0, x1) - pad));
    const int maxX = std::min(kCoronaFrame - 1, int(std::max(x0, x1) + pad));
    const int minY = std::max(0, int(std::min(y0, y1) - pad));
    const int maxY = std::min(kCoronaFrame - 1, int(std::max(y0, y1) + pad));
    const float vx = x1 - x0, vy = y1 - y0;
    const float len2 = std::max(vx * vx + vy * vy, 1e-6f);
    for (int y = minY; y <= maxY; ++y)
        for (int x = minX; x <= maxX; ++x) {
            const float px = x + 0.5f - x0, py = y + 0.5f - y0;
            const float t = std::clamp((px * vx + py * vy) / len2, 0.0f, 1.0f);
            const float dx = px - t * vx, dy = py - t * vy;
            const float d = std::sqrt(dx * dx + dy * dy);
            const float core = std::clamp(width / 2 - d + 0.5f, 0.0f, 1.0f);
            const float halo = glow > 0 ? 0.3f * std::exp(-d * d / (glow * glow)) : 0.0f;
            const float k = std::max(core, halo);
            if (k > 0.01f)
                canvas.AddLight(frameX + x, y, color, k);
        }
}

// Crackling arcs around the ball: a few jagged bolts per frame that hop between points
// just outside the outline, more and brighter with the strength.
void LightningCorona(AssetPack& pack, int strength)
{
    const int frames = 6;
    const std::string name = "Corona.Lightning." + std::to_string(strength) + ".png";
    Rng rng(name);
    Canvas canvas(kCoronaFrame * frames, kCoronaFrame);
    const Rgba blue = Rgba::Bytes(120, 180, 255);
    const Rgba white = Rgba::Bytes(235, 245, 255);
    for (int f = 0; f < frames; ++f) {
        const int fx = f * kCoronaFrame;
        // A faint glow ring that grows with the strength.
        for (int y = 0; y < kCoronaFrame; ++y)
            for (int x = 0; x < kCoronaFrame; ++x) {
                const float dx = x + 0.5f - kCoronaCentre, dy = y + 0.5f - kCoronaCentre;
                const float r = std::sqrt(dx * dx + dy * dy);
                if (r > 29 && r < 36 + 3 * strength)
                    canvas.AddLight(fx + x, y, blue,
                                    0.05f * strength * (1.0f - (r - 29) / (7.0f + 3 * strength)));
            }
        const int bolts = 2 + 2 * strength;
        for (int b = 0; b < bolts; ++b) {
            float angle = float(rng.Range(0, 2 * kPi));
            const float span = float(rng.Range(0.5, 1.1 + 0.2 * strength));
            const int steps = 5 + strength;
            float px = kCoronaCentre + 33 * std::cos(angle);
            float py = kCoronaCentre + 33 * std::sin(angle);
            for (int s = 1; s <= steps; ++s) {
                angle += span / steps;
                const float reach = 33 + float(rng.Range(0, 4 + 3 * strength));
                const float nx = kCoronaCentre + reach * std::cos(angle);
                const float ny = kCoronaCentre + reach * std::sin(angle);
                AddBolt(canvas, px, py, nx, ny, 0.8f + 0.2f * strength, white,
                        1.5f + 0.5f * strength, fx);
                px = nx;
                py = ny;
            }
            (void)blue;
        }
    }
    pack.WriteImage(kBallImages, name, canvas, RowMetadata(frames));
}

// ---- Particles ------------------------------------------------------------------------------

struct ParticleColour
{
    const char* name;
    Rgba color;
};

const ParticleColour kParticleColours[] = {
    {"White", Rgba::Bytes(255, 255, 255)}, {"Red", Rgba::Bytes(255, 84, 60)},
    {"Gold", Rgba::Bytes(255, 200, 60)},   {"Blue", Rgba::Bytes(90, 160, 255)},
    {"Green", Rgba::Bytes(100, 230, 110)},
};

// A four-pointed star with a soft round glow, alpha falling off to the edge.
Canvas DrawStar(int size, const Rgba& color)
{
    Canvas star(size, size);
    const float c = size / 2.0f;
    DrawRadialSprite(star, c, c, c * 0.7f, color, 2.0f, false);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) {
            const float dx = std::fabs(x + 0.5f - c) / c, dy = std::fabs(y + 0.5f - c) / c;
            // Thin rays along the axes, fading towards their tips.
            const float ray = std::max(std::clamp(1.0f - dy * 6.0f, 0.0f, 1.0f) * (1.0f - dx),
                                       std::clamp(1.0f - dx * 6.0f, 0.0f, 1.0f) * (1.0f - dy));
            if (ray > 0)
                star.Blend(x, y, color.WithAlpha(1.0f), ray);
        }
    // A white-hot centre.
    DrawRadialSprite(star, c, c, std::max(1.0f, c * 0.3f), Rgba::Bytes(255, 255, 255), 1.5f, false);
    return star;
}

void Particles(AssetPack& pack)
{
    for (const ParticleColour& p : kParticleColours) {
        pack.WriteImage(kParticleImages, std::string("Particle_Star_") + p.name + ".png",
                        DrawStar(16, p.color));
        pack.WriteImage(kParticleImages, std::string("Particle_SmallStar_") + p.name + ".png",
                        DrawStar(8, p.color));
    }
    Canvas tiny(3, 3);
    DrawRadialSprite(tiny, 1.5f, 1.5f, 1.6f, Rgba::Bytes(255, 255, 255), 1.0f, false);
    pack.WriteImage(kParticleImages, "Particle_White_Tiny.png", tiny);
}

// ---- Sounds ---------------------------------------------------------------------------------

// Ball on ball: a short, bright metallic click.
Signal Bounce2(Rng& rng)
{
    Signal s(44100, 0.12);
    AddTone(s, 0, 0.12, MakeTone(Wave::Sine, 2400, 2300, 0.4f, 0.002, 0.025));
    AddTone(s, 0, 0.12, MakeTone(Wave::Sine, 3850, 3800, 0.2f, 0.002, 0.018));
    AddNoise(s, 0, 0.02, MakeNoise(FilterMode::HighPass, 3000, 0, 0.3f, 0.001, 0.004, 0.4f), rng);
    return FinishEffect(s);
}

// Rubber: a springy boing that drops in pitch.
Signal RubberBounce(Rng& rng)
{
    Signal s(44100, 0.25);
    AddTone(s, 0, 0.25, MakeTone(Wave::Sine, 330, 150, 0.6f, 0.002, 0.08));
    AddTone(s, 0, 0.15, MakeTone(Wave::Triangle, 660, 300, 0.15f, 0.002, 0.04));
    AddNoise(s, 0, 0.02, MakeNoise(FilterMode::LowPass, 900, 0, 0.2f, 0.001, 0.006, 0.4f), rng);
    return FinishEffect(s);
}

// Beach ball: a soft, hollow thump of air.
Signal BeachBallBounce(Rng& rng)
{
    Signal s(44100, 0.2);
    AddTone(s, 0, 0.2, MakeTone(Wave::Sine, 180, 120, 0.5f, 0.002, 0.05));
    AddNoise(s, 0, 0.15, MakeNoise(FilterMode::LowPass, 700, 300, 0.35f, 0.001, 0.04, 0.4f), rng);
    return FinishEffect(s);
}

// Lead: a heavy, low clank with a few inharmonic partials.
Signal LeadBounce(Rng& rng)
{
    Signal s(44100, 0.35);
    for (const double f : {170.0, 431.0, 797.0, 1290.0})
        AddTone(s, 0, 0.35,
                MakeTone(Wave::Sine, f, f * 0.98, float(0.35 * 170.0 / f + 0.05), 0.002, 0.09));
    AddNoise(s, 0, 0.03, MakeNoise(FilterMode::BandPass, 1200, 0, 0.3f, 0.001, 0.008, 0.4f), rng);
    return FinishEffect(s);
}

// Turning into rubber: a boing that rises.
Signal RubberStart(Rng& rng)
{
    Signal s(44100, 0.4);
    AddTone(s, 0, 0.4, MakeTone(Wave::Sine, 160, 520, 0.6f, 0.002, 0.2));
    AddTone(s, 0.05, 0.3, MakeTone(Wave::Triangle, 320, 1040, 0.15f, 0.002, 0.12));
    AddNoise(s, 0, 0.03, MakeNoise(FilterMode::LowPass, 800, 0, 0.15f, 0.001, 0.01, 0.4f), rng);
    return FinishEffect(s);
}

// Turning into lead: a deep clang that rings out.
Signal LeadStart(Rng& rng)
{
    Signal s(44100, 0.5);
    for (const double f : {110.0, 287.0, 531.0, 860.0})
        AddTone(s, 0, 0.5, MakeTone(Wave::Sine, f, 0, float(0.3 * 110.0 / f + 0.05), 0.002, 0.18));
    AddNoise(s, 0, 0.05, MakeNoise(FilterMode::BandPass, 900, 400, 0.3f, 0.001, 0.015, 0.4f), rng);
    return FinishEffect(s);
}

// Turning into air: a quick inflating hiss that rises.
Signal BeachBallStart(Rng& rng)
{
    Signal s(44100, 0.4);
    NoiseBurst hiss = MakeNoise(FilterMode::BandPass, 600, 3200, 0.5f, 0.001, 0.4, 0.4f);
    hiss.env.attack = 0.08;
    AddNoise(s, 0, 0.4, hiss, rng);
    AddTone(s, 0.25, 0.15, MakeTone(Wave::Sine, 500, 700, 0.2f, 0.002, 0.05));
    return FinishEffect(s);
}

// The breakthru corona: a rising sweep that ends on a ringing metallic chord.
Signal Breakthru(Rng& rng)
{
    Signal s(44100, 0.6);
    AddTone(s, 0, 0.3, MakeTone(Wave::Square, 220, 880, 0.18f, 0.002, 0.3));
    for (const double f : {880.0, 1320.0, 1760.0})
        AddTone(s, 0.25, 0.35, MakeTone(Wave::Sine, f, 0, 0.25f, 0.002, 0.12));
    AddNoise(s, 0, 0.3, MakeNoise(FilterMode::BandPass, 500, 4000, 0.15f, 0.001, 0.3, 0.4f), rng);
    return FinishEffect(s);
}

// Crackle: short bursts of bright noise at random moments.
void AddCrackle(Signal& s, double from, double to, int bursts, float gain, Rng& rng)
{
    for (int i = 0; i < bursts; ++i) {
        const double at = rng.Range(from, to);
        AddNoise(
            s, at, 0.015,
            MakeNoise(FilterMode::HighPass, rng.Range(2500, 6000), 0, gain, 0.001, 0.004, 0.4f),
            rng);
    }
}

// The lightning corona starts: a zap rising into a crackle.
Signal LightningStart(Rng& rng)
{
    Signal s(44100, 0.45);
    AddTone(s, 0, 0.3, MakeTone(Wave::Square, 80, 640, 0.2f, 0.002, 0.25));
    AddNoise(s, 0, 0.4, MakeNoise(FilterMode::BandPass, 800, 5000, 0.25f, 0.001, 0.3, 0.4f), rng);
    AddCrackle(s, 0.05, 0.4, 10, 0.3f, rng);
    return FinishEffect(s);
}

// The lightning corona's hum: a mains-like buzz with crackle, one second that repeats
// without a seam (whole periods of the hum; the end cross-faded into the start).
Signal LightningLoop(Rng& rng)
{
    const double loop = 1.0, overlap = 0.2;
    Signal s(44100, loop + overlap);
    Tone hum = MakeTone(Wave::Square, 60, 0, 0.12f, 0.002, 10.0);
    hum.env.sustain = 1.0f;
    hum.env.attack = 0.0;
    hum.env.release = 0.0;
    hum.env.edge = 0.0;
    AddTone(s, 0, loop + overlap, hum);
    Tone buzz = hum;
    buzz.wave = Wave::Sine;
    buzz.freq = 180;
    buzz.gain = 0.2f;
    AddTone(s, 0, loop + overlap, buzz);
    AddCrackle(s, 0.0, loop + overlap - 0.02, 14, 0.25f, rng);
    const std::size_t n = s.IndexAt(loop);
    const std::size_t m = s.samples.size() - n;
    Signal out(44100, loop);
    out.samples.assign(s.samples.begin(), s.samples.begin() + n);
    for (std::size_t i = 0; i < m && i < n; ++i) {
        const float t = float(i) / float(m);
        out.samples[i] = out.samples[i] * t + s.samples[n + i] * (1.0f - t);
    }
    Normalise(out);
    return out;
}

// A lightning bolt strikes: a sharp crack with a falling zap.
Signal LightningConnect(Rng& rng)
{
    Signal s(44100, 0.3);
    AddNoise(s, 0, 0.25, MakeNoise(FilterMode::HighPass, 5000, 1500, 0.5f, 0.001, 0.06, 0.4f), rng);
    AddTone(s, 0, 0.2, MakeTone(Wave::Square, 1200, 150, 0.2f, 0.002, 0.06));
    AddCrackle(s, 0.02, 0.25, 6, 0.25f, rng);
    return FinishEffect(s);
}

// The count-down's later steps: the same soft blip as the first, higher each time.
Signal CountBeep(double freq, double seconds)
{
    Signal s(44100, seconds);
    AddTone(s, 0, seconds, MakeTone(Wave::Sine, freq, freq * 0.97, 0.6f, 0.002, seconds / 3));
    AddTone(s, 0, seconds * 0.6, MakeTone(Wave::Triangle, freq * 2, 0, 0.15f, 0.002, seconds / 8));
    return FinishEffect(s);
}

void Sounds(AssetPack& pack)
{
    struct Recipe
    {
        const char* name;
        Signal (*make)(Rng&);
    };
    const Recipe recipes[] = {
        {"bounce2.ogg", &Bounce2},
        {"rubber_bounce.ogg", &RubberBounce},
        {"beachball_bounce.ogg", &BeachBallBounce},
        {"lead_bounce.ogg", &LeadBounce},
        {"rubber_start.ogg", &RubberStart},
        {"lead_start.ogg", &LeadStart},
        {"beachball_start.ogg", &BeachBallStart},
        {"Breakthru.ogg", &Breakthru},
        {"LightningStart.ogg", &LightningStart},
        {"LightningLoop.ogg", &LightningLoop},
        {"LightningConnect.ogg", &LightningConnect},
    };
    for (const Recipe& r : recipes) {
        Rng rng(r.name);
        pack.WriteSound(kBallSounds, r.name, AudioClip::Mono(r.make(rng)));
    }
    pack.WriteSound(kBallSounds, "Beep03.ogg", AudioClip::Mono(CountBeep(990, 0.09)));
    pack.WriteSound(kBallSounds, "Beep24.ogg", AudioClip::Mono(CountBeep(1480, 0.14)));
}

} // namespace

void GenerateBallAssets(AssetPack& pack)
{
    Balls(pack);
    MaceCorona(pack);
    for (int strength = 1; strength <= 3; ++strength)
        LightningCorona(pack, strength);
    Particles(pack);
    Sounds(pack);
}

} // namespace assetgen
