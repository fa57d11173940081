// The paddle: its gold bat, the pulsing glow that shows its power, the tint overlays of
// collected power-ups, and the sounds of swinging, charging, serving and striking balls.
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>

namespace assetgen {

namespace {

// The bat's base size: its width is the paddle's normal width; the game scales it on x.
constexpr int kPaddleW = 64;
constexpr int kPaddleH = 16;
// The glow is as wide as the bat and reaches 4 px above and below it.
constexpr int kGlowH = kPaddleH + 8;
constexpr int kGlowFrames = 8;
constexpr double kPi = 3.14159265358979;

const RectF kBody{1.0f, 1.5f, kPaddleW - 2.0f, kPaddleH - 3.0f};
constexpr float kBodyRadius = 6.5f;

void Bat(AssetPack& pack)
{
    Rng rng("Paddle_Gold.png");
    Canvas bat(kPaddleW, kPaddleH);
    const Sdf body = RoundedRectShape(kBody, kBodyRadius);
    FillShape(bat, body,
              LinearGradient(0, 1, Rgba::Bytes(255, 236, 140), 0, kPaddleH - 1.0f,
                             Rgba::Bytes(176, 112, 24)));
    // A brushed-metal grain along the bat.
    const NoiseField grain = NoiseField::Streaks(rng, kPaddleW, kPaddleH, 6, true);
    ApplyTexture(
        bat, [&](int x, int y) { return grain.At(x, y); }, 0.12f);
    // A darker groove marks the striking face's centre line.
    FillShape(bat, RoundedRectShape({6.0f, 7.0f, kPaddleW - 12.0f, 2.0f}, 1.0f),
              Solid(Rgba::Bytes(150, 96, 20, 110)));
    Bevel(bat, body, 2.5f, 0.55f);
    Canvas sheet(kPaddleW, kPaddleH);
    sheet.DrawOver(bat, 0, 0);
    pack.WriteImage(folders::kPaddleImages, "Paddle_Gold.png", sheet);
}

// The glow: a soft additive halo on the bat's outline whose strength pulses over the
// frames; the animation "Pulsate" runs through them and back.
void Glow(AssetPack& pack)
{
    Canvas sheet(kPaddleW * kGlowFrames, kGlowH);
    const RectF core{kBody.x, kBody.y + 4.0f, kBody.w, kBody.h};
    const Sdf shape = RoundedRectShape(core, kBodyRadius);
    for (int f = 0; f < kGlowFrames; ++f) {
        const float pulse = 0.65f + 0.35f * float(std::sin(f * 2 * kPi / kGlowFrames));
        for (int y = 0; y < kGlowH; ++y) {
            for (int x = 0; x < kPaddleW; ++x) {
                // Brightest on the outline, a faint wash inside, fading out 5 px beyond.
                const float d = shape(x + 0.5f, y + 0.5f);
                const float outside = Clamp01(1.0f - d / 5.0f);
                const float t = d <= 0 ? 0.3f + 0.7f * std::exp(d / 2.0f) : outside * outside;
                const float k = t * pulse;
                if (k > 0)
                    sheet.AddLight(f * kPaddleW + x, y, Rgba::Bytes(255, 214, 90), k);
            }
        }
    }
    LuaValue pulsate = LuaValue::Table();
    for (int f = 0; f < kGlowFrames; ++f)
        pulsate.Append(f);
    LuaValue animations = LuaValue::Table();
    animations.Set("Pulsate", pulsate);
    LuaValue meta = LuaValue::Table();
    meta.Set("numFrames", kGlowFrames).Set("width", kPaddleW).Set("height", kGlowH);
    meta.Set("Animations", animations);
    pack.WriteImage(folders::kPaddleImages, "Paddle_Pulsate.png", sheet, meta);
}

// The tint overlays: the bat's shape in a power-up's collection colour, brighter at the
// edge.
struct TintRecipe
{
    const char* colour;
    int r, g, b;
};
const TintRecipe kTints[] = {{"Blue", 90, 150, 255},   {"Red", 255, 80, 64},
                             {"White", 255, 255, 255}, {"Yellow", 255, 240, 80},
                             {"Green", 96, 230, 96},   {"Gold", 255, 210, 64}};

void Tints(AssetPack& pack)
{
    const Sdf body = RoundedRectShape(kBody, kBodyRadius);
    for (const TintRecipe& tint : kTints) {
        Canvas canvas(kPaddleW, kPaddleH);
        FillShape(canvas, body, Solid(Rgba::Bytes(tint.r, tint.g, tint.b, 150)));
        FillShape(
            canvas, [&](float x, float y) { return std::fabs(body(x, y) + 1.0f) - 1.0f; },
            Solid(Rgba::Bytes(std::min(tint.r + 60, 255), std::min(tint.g + 60, 255),
                              std::min(tint.b + 60, 255), 230)));
        pack.WriteImage(folders::kPaddleImages, std::string("Paddle.Tint.") + tint.colour + ".png",
                        canvas);
    }
}

// ---- Sounds -------------------------------------------------------------------------------

using Voice = LayeredVoice;
using SoundRecipe = LayeredSound;
const auto T = ToneVoice;
const auto N = NoiseVoice;

std::vector<SoundRecipe> Sounds()
{
    using W = Wave;
    using F = FilterMode;
    return {
        // The stroke: an airy whoosh with a low thump.
        {"paddleWhack.ogg",
         0.3,
         {N(0, 0.28, MakeNoise(F::BandPass, 600, 2600, 0.5f, 0.03, 0.09)),
          T(0, 0.12, MakeTone(W::Sine, 160, 90, 0.5f, 0.003, 0.05))}},
        // Balls leave the paddle: a rising two-tone chirp.
        {"paddleLaunch.ogg",
         0.22,
         {T(0, 0.1, MakeTone(W::Triangle, 520, 780, 0.45f, 0.002, 0.06)),
          T(0.07, 0.14, MakeTone(W::Triangle, 780, 1170, 0.35f, 0.002, 0.06))}},
        // A plain swing: a short swish.
        {"paddleSwing.ogg",
         0.18,
         {N(0, 0.17, MakeNoise(F::BandPass, 1400, 3800, 0.5f, 0.02, 0.05))}},
        // A ball caught: a soft, sticky plop.
        {"paddleCatch.ogg",
         0.2,
         {T(0, 0.18, MakeTone(W::Sine, 420, 220, 0.6f, 0.002, 0.05)),
          N(0, 0.04, MakeNoise(F::LowPass, 1200, 400, 0.25f, 0.001, 0.01))}},
        // The charge starts: a rising sweep into the loop.
        {"paddleChargeUpStart.ogg",
         0.45,
         {T(0, 0.45, MakeTone(W::Triangle, 180, 440, 0.4f, 0.02, 0.3)),
          T(0, 0.45, MakeTone(W::Sine, 360, 880, 0.2f, 0.02, 0.3))}},
        // The sweet spot of a whack: a bright bell.
        {"paddleSweetSpot.ogg",
         0.4,
         {T(0, 0.4, MakeTone(W::Sine, 1320, 0, 0.4f, 0.002, 0.15)),
          T(0, 0.4, MakeTone(W::Sine, 1980, 0, 0.25f, 0.002, 0.1)),
          T(0, 0.3, MakeTone(W::Sine, 2640, 0, 0.15f, 0.002, 0.06))}},
        // The sweet spot of a swing: a lighter ping.
        {"paddleSweetSpotHit.ogg",
         0.3,
         {T(0, 0.3, MakeTone(W::Sine, 1760, 0, 0.4f, 0.002, 0.09)),
          T(0, 0.2, MakeTone(W::Sine, 2640, 0, 0.2f, 0.002, 0.05))}},
        // A ball on the paddle: a solid, hollow knock.
        {"hitBall.ogg",
         0.14,
         {T(0, 0.13, MakeTone(W::Sine, 300, 240, 0.6f, 0.001, 0.035)),
          N(0, 0.03, MakeNoise(F::BandPass, 2000, 900, 0.3f, 0.0005, 0.008))}},
        // The power a ball takes: a crack whose volume follows the power.
        {"whackBall.ogg",
         0.25,
         {N(0, 0.2, MakeNoise(F::HighPass, 3000, 1200, 0.5f, 0.0005, 0.04)),
          T(0, 0.2, MakeTone(W::Square, 220, 110, 0.2f, 0.001, 0.05))}},
        // The paddle breaks: a crash of shards.
        {"Paddle Shatter.ogg",
         0.6,
         {N(0, 0.55, MakeNoise(F::HighPass, 5000, 1500, 0.55f, 0.001, 0.15)),
          N(0, 0.3, MakeNoise(F::LowPass, 500, 150, 0.45f, 0.001, 0.08)),
          T(0.02, 0.4, MakeTone(W::Sine, 2400, 0, 0.12f, 0.001, 0.08)),
          T(0.06, 0.3, MakeTone(W::Sine, 3100, 0, 0.1f, 0.001, 0.06))}},
        // A small pop.
        {"pop2.ogg",
         0.1,
         {T(0, 0.09, MakeTone(W::Sine, 900, 400, 0.6f, 0.001, 0.02)),
          N(0, 0.02, MakeNoise(F::BandPass, 3000, 0, 0.2f, 0.0005, 0.005))}},
        // A combo: three quick rising notes.
        {"COMBO.ogg",
         0.4,
         {T(0, 0.14, MakeTone(W::Triangle, 660, 0, 0.4f, 0.002, 0.06)),
          T(0.1, 0.14, MakeTone(W::Triangle, 880, 0, 0.4f, 0.002, 0.06)),
          T(0.2, 0.2, MakeTone(W::Triangle, 1320, 0, 0.4f, 0.002, 0.08))}},
    };
}

// The charge hum, which loops while the button is held: a steady chord whose partials
// complete whole cycles over the loop and a slow tremolo of one whole period, so the end
// joins the start without a click.
Signal ChargeLoop()
{
    const double seconds = 1.0;
    Signal s(44100, seconds);
    const double partials[][2] = {{220, 0.35}, {440, 0.2}, {660, 0.1}, {883, 0.06}};
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = double(i) / s.rate;
        const double tremolo = 0.8 + 0.2 * std::sin(2 * kPi * 4.0 * t);
        double v = 0;
        for (const auto& p : partials)
            v += p[1] * std::sin(2 * kPi * p[0] * t);
        s.samples[i] = float(v * tremolo);
    }
    Normalise(s);
    return s;
}

} // namespace

void GeneratePaddleAssets(AssetPack& pack)
{
    Bat(pack);
    Glow(pack);
    Tints(pack);
    for (const SoundRecipe& recipe : Sounds())
        pack.WriteSound(folders::kPaddleSounds, recipe.name, AudioClip::Mono(RenderLayered(recipe)));
    pack.WriteSound(folders::kPaddleSounds, "paddleChargeUpLoop.ogg",
                    AudioClip::Mono(ChargeLoop()));
}

} // namespace assetgen
