// The end-of-level letter's tally: the bonus star (frame 0 earned now, 1 not earned, 2
// earned on an earlier play) and the sounds the count plays: three laser zaps that greet a
// new best, a bonus and the top score, a bell run for two award stars, and two magic
// sparkles for a new record and a full row of stars.
#include "kit/Draw.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>
#include <vector>

namespace assetgen {

namespace {

const char* const kImages = "Images/Tally";
const char* const kSounds = "Sounds/Tally";

constexpr int kStar = 24; // one frame, square: the award stars stand 25 pixels apart

// Signed distance to a five-pointed star centred at (cx, cy), points up: the distance to
// its ten-sided outline, negative inside.
Sdf FivePointedStar(float cx, float cy, float outer, float inner)
{
    std::vector<std::pair<float, float>> points;
    for (int i = 0; i < 10; ++i) {
        const float angle = -1.5707963f + i * 0.62831853f;
        const float r = i % 2 ? inner : outer;
        points.emplace_back(cx + r * std::cos(angle), cy + r * std::sin(angle));
    }
    return [points](float x, float y) {
        float nearest = 1e9f;
        bool inside = false;
        for (std::size_t i = 0, j = points.size() - 1; i < points.size(); j = i++) {
            const auto [xi, yi] = points[i];
            const auto [xj, yj] = points[j];
            const float ex = xj - xi, ey = yj - yi;
            const float t =
                std::clamp(((x - xi) * ex + (y - yi) * ey) / (ex * ex + ey * ey), 0.0f, 1.0f);
            nearest = std::min(nearest, std::hypot(x - xi - t * ex, y - yi - t * ey));
            if ((yi > y) != (yj > y) && x < (xj - xi) * (y - yi) / (yj - yi) + xi)
                inside = !inside;
        }
        return inside ? -nearest : nearest;
    };
}

// One frame of the star: a bevelled body with a soft shadow, lit from the upper left.
Canvas StarFrame(const Rgba& light, const Rgba& dark, float glow)
{
    Canvas body(kStar, kStar);
    const Sdf shape = FivePointedStar(kStar / 2.0f - 1, kStar / 2.0f, 10.5f, 4.5f);
    FillShape(body, shape, LinearGradient(4, 4, light, kStar - 4, kStar - 4, dark));
    Bevel(body, shape, 2.0f, 0.45f);
    Canvas frame(kStar, kStar);
    if (glow > 0)
        DrawRadialSprite(frame, kStar / 2.0f, kStar / 2.0f, kStar / 2.0f,
                         Rgba::Bytes(255, 230, 120), 2.0f, false);
    if (glow > 0)
        for (int y = 0; y < kStar; ++y)
            for (int x = 0; x < kStar; ++x)
                frame.ScaleAlpha(x, y, glow);
    DrawWithShadow(frame, body, 0, 0, 1, 1, 1.2f, 0.5f);
    return frame;
}

void StarImage(AssetPack& pack)
{
    Canvas sheet(3 * kStar, kStar);
    // Earned now: bright gold with a glow; not earned: a dull slate outline of a star;
    // earned before: a quieter, deeper gold.
    sheet.DrawOver(StarFrame(Rgba::Bytes(255, 236, 130), Rgba::Bytes(214, 138, 20), 0.55f), 0, 0);
    sheet.DrawOver(StarFrame(Rgba::Bytes(150, 146, 140), Rgba::Bytes(92, 88, 84), 0.0f), kStar, 0,
                   0.6f);
    sheet.DrawOver(StarFrame(Rgba::Bytes(226, 186, 96), Rgba::Bytes(150, 96, 30), 0.0f), 2 * kStar,
                   0);
    LuaValue meta = LuaValue::Table();
    meta.Set("numFrames", 3).Set("width", kStar).Set("height", kStar);
    pack.WriteImage(kImages, "star.png", sheet, meta);
}

// A laser zap: a square tone sweeping down from `from` to `to` over `length` seconds,
// with a thin sine an octave up and a breath of high noise.
Signal Zap(double from, double to, double length, Rng& rng)
{
    Signal s(44100, length + 0.05);
    AddTone(s, 0, length, MakeTone(Wave::Square, from, to, 0.3f, 0.002, length * 0.5));
    AddTone(s, 0, length, MakeTone(Wave::Sine, from * 2, to * 2, 0.2f, 0.002, length * 0.4));
    AddNoise(s, 0, length * 0.5,
             MakeNoise(FilterMode::HighPass, 4000, 2000, 0.08f, 0.001, length * 0.2), rng);
    return FinishEffect(s);
}

// Bells one after another, each an octave pair, `step` seconds apart.
Signal Bells(const std::vector<double>& notes, double step, double ring)
{
    Signal s(44100, step * double(notes.size()) + ring + 0.05);
    for (std::size_t i = 0; i < notes.size(); ++i) {
        AddTone(s, i * step, ring, MakeTone(Wave::Sine, notes[i], 0, 0.45f, 0.002, ring * 0.5));
        AddTone(s, i * step, ring * 0.6,
                MakeTone(Wave::Triangle, notes[i] * 2, 0, 0.12f, 0.002, ring * 0.25));
    }
    return FinishEffect(s);
}

// A shimmer: a fast run of high bells over a soft rising sweep.
Signal Sparkle(const std::vector<double>& notes, double sweepFrom, double sweepTo, Rng& rng)
{
    const double length = 0.07 * double(notes.size()) + 0.6;
    Signal s(44100, length);
    AddTone(s, 0, length - 0.05,
            MakeTone(Wave::Sine, sweepFrom, sweepTo, 0.15f, 0.05, length * 0.6));
    for (std::size_t i = 0; i < notes.size(); ++i)
        AddTone(s, i * 0.07, 0.4, MakeTone(Wave::Sine, notes[i], 0, 0.35f, 0.002, 0.18));
    AddNoise(s, 0, length * 0.6,
             MakeNoise(FilterMode::BandPass, 6000, 9000, 0.05f, 0.05, length * 0.3, 0.3f), rng);
    return FinishEffect(s);
}

} // namespace

void GenerateTallyAssets(AssetPack& pack)
{
    StarImage(pack);
    Rng rng1("laserShot1.ogg"), rng2("laserShot2.ogg"), rng3("laserShot3.ogg");
    pack.WriteSound(kSounds, "laserShot1.ogg", AudioClip::Mono(Zap(1800, 600, 0.22, rng1)));
    pack.WriteSound(kSounds, "laserShot2.ogg", AudioClip::Mono(Zap(1400, 300, 0.32, rng2)));
    pack.WriteSound(kSounds, "laserShot3.ogg", AudioClip::Mono(Zap(2400, 1100, 0.14, rng3)));
    pack.WriteSound(kSounds, "Pickup_GemBells15.ogg",
                    AudioClip::Mono(Bells({1318.5, 1568.0}, 0.08, 0.4)));
    Rng rngMagic1("magic1.ogg"), rngMagic2("magic2.ogg");
    pack.WriteSound(
        kSounds, "magic1.ogg",
        AudioClip::Mono(Sparkle({1046.5, 1318.5, 1568.0, 2093.0, 2637.0}, 400, 900, rngMagic1)));
    pack.WriteSound(kSounds, "magic2.ogg",
                    AudioClip::Mono(Sparkle({1568.0, 1975.5, 2349.3, 2637.0, 3136.0, 3951.1}, 600,
                                            1400, rngMagic2)));
}

} // namespace assetgen
