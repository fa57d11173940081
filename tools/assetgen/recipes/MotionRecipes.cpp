// Sounds of the moving field: the wind that blows through a level, a seamless loop whose
// volume, pitch and pan the level steers while it plays.
#include "recipes/Recipes.h"

#include "kit/Rng.h"
#include "kit/Synth.h"

namespace assetgen {

namespace {

const char* const kMotionSounds = "Sounds/Motion";

// Rushing air: band-passed noise in overlapping gusts whose centre drifts, even at both
// ends so that it loops without a seam.
Signal Wind(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 2.0);
    for (int i = 0; i < 8; ++i) {
        NoiseBurst gust = MakeNoise(FilterMode::BandPass, 500 + 120 * (i % 4), 700 - 90 * (i % 3),
                                    0.22f, 0.15, 10.0, 0.5f);
        gust.env.sustain = 1.0f;
        gust.env.release = 0.15;
        AddNoise(s, 0.25 * i - 0.1, 0.45, gust, rng);
    }
    Signal done = FinishEffect(s);
    FadeEdges(done, 0.05);
    return done;
}

} // namespace

void GenerateMotionAssets(AssetPack& pack)
{
    pack.WriteSound(kMotionSounds, "wind.ogg", AudioClip::Mono(Wind("wind.ogg")));
}

} // namespace assetgen
