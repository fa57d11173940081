// Sounds a level plays as it fills the field: a paddle fading in and a ball appearing on
// its paddle (the brick drop's loops are the game's, GameRecipes.cpp).
#include "kit/Rng.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

#include <cmath>

namespace assetgen {

namespace {

const char* const kLevelSounds = "Sounds/Level";

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
}

} // namespace assetgen
