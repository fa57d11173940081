// Sounds a level plays as it fills the field: a paddle fading in, a ball appearing on its
// paddle, and the loops of a brick field sliding down.
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>

namespace assetgen {

namespace {

const char* const kLevelSounds = "Sounds/Level";
constexpr double kPi = 3.14159265358979;

// A paddle fades in: a soft rising shimmer.
Signal PaddleAppear(Rng& rng)
{
    Signal s(44100, 0.6);
    AddTone(s, 0, 0.55, MakeTone(Wave::Sine, 330, 660, 0.4f, 0.08, 0.25));
    AddTone(s, 0.05, 0.5, MakeTone(Wave::Triangle, 495, 990, 0.2f, 0.08, 0.2));
    AddNoise(s, 0, 0.4, MakeNoise(FilterMode::HighPass, 6000, 3000, 0.08f, 0.05, 0.2), rng);
    return FinishEffect(s);
}

// A ball appears on the paddle: a bright two-note chime.
Signal BallAppear(Rng&)
{
    Signal s(44100, 0.4);
    AddTone(s, 0, 0.2, MakeTone(Wave::Sine, 1046, 0, 0.45f, 0.002, 0.08));
    AddTone(s, 0.09, 0.3, MakeTone(Wave::Sine, 1568, 0, 0.4f, 0.002, 0.12));
    return FinishEffect(s);
}

// A loop whose partials complete whole cycles over its length, so it joins without a
// click: the field's rumble while it slides, and the hum of the energy column.
Signal Loop(const double (*partials)[2], int count, double tremoloHz)
{
    const double seconds = 1.0;
    Signal s(44100, seconds);
    for (std::size_t i = 0; i < s.samples.size(); ++i) {
        const double t = double(i) / s.rate;
        const double tremolo = 0.75 + 0.25 * std::sin(2 * kPi * tremoloHz * t);
        double v = 0;
        for (int p = 0; p < count; ++p)
            v += partials[p][1] * std::sin(2 * kPi * partials[p][0] * t);
        s.samples[i] = float(v * tremolo);
    }
    Normalise(s);
    return s;
}

} // namespace

void GenerateLevelAssets(AssetPack& pack)
{
    struct Recipe
    {
        const char* name;
        Signal (*make)(Rng&);
    };
    const Recipe recipes[] = {
        {"paddleAppear.ogg", &PaddleAppear},
        {"ballAppear.ogg", &BallAppear},
    };
    for (const Recipe& r : recipes) {
        Rng rng(r.name);
        pack.WriteSound(kLevelSounds, r.name, AudioClip::Mono(r.make(rng)));
    }
    const double rumble[][2] = {{55, 0.4}, {82, 0.3}, {110, 0.15}};
    pack.WriteSound(kLevelSounds, "SlideDown.ogg", AudioClip::Mono(Loop(rumble, 3, 6.0)));
    const double column[][2] = {{220, 0.3}, {331, 0.2}, {440, 0.15}, {662, 0.08}};
    pack.WriteSound(kLevelSounds, "Mystical_EnergyColumnLoop1.ogg",
                    AudioClip::Mono(Loop(column, 4, 2.0)));
}

} // namespace assetgen
