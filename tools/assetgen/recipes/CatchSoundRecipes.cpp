// The sounds of caught power-ups: loot jingles and one short cue for each kind of change to
// the balls and the paddle, so that a player hears what was caught (the gems' chimes are
// the tally's, the secret's fanfare the artefact's).
#include "kit/Synth.h"
#include "recipes/Recipes.h"

namespace assetgen {

namespace {

const char* const kCatchSounds = "Sounds/Catches";

std::vector<LayeredSound> CatchSounds()
{
    using W = Wave;
    using F = FilterMode;
    const auto T = ToneVoice;
    const auto N = NoiseVoice;
    return {
        // Coins: two bright clinks and a shimmer.
        {"coins.ogg",
         0.45,
         {T(0, 0.2, MakeTone(W::Square, 2100, 0, 0.2f, 0.001, 0.06)),
          T(0.08, 0.25, MakeTone(W::Square, 2800, 0, 0.18f, 0.001, 0.08)),
          N(0, 0.4, MakeNoise(F::HighPass, 6000, 9000, 0.12f, 0.002, 0.15))}},
        // A gold brick: a heavy, ringing chime.
        {"collectGold.ogg",
         0.7,
         {T(0, 0.7, MakeTone(W::Sine, 880, 0, 0.4f, 0.002, 0.35)),
          T(0, 0.6, MakeTone(W::Sine, 1320, 0, 0.25f, 0.002, 0.25)),
          T(0.05, 0.5, MakeTone(W::Triangle, 1760, 0, 0.15f, 0.002, 0.2))}},
        // An extra ball: a cheerful arpeggio.
        {"score8.ogg",
         0.6,
         {T(0, 0.16, MakeTone(W::Triangle, 523, 0, 0.4f, 0.002, 0.07)),
          T(0.12, 0.16, MakeTone(W::Triangle, 659, 0, 0.4f, 0.002, 0.07)),
          T(0.24, 0.16, MakeTone(W::Triangle, 784, 0, 0.4f, 0.002, 0.07)),
          T(0.36, 0.24, MakeTone(W::Triangle, 1047, 0, 0.4f, 0.002, 0.12))}},
        // The ball grows or shrinks: a sweep down or up.
        {"caughtBig.ogg", 0.4, {T(0, 0.4, MakeTone(W::Triangle, 660, 220, 0.45f, 0.005, 0.2))}},
        {"caughtSmall.ogg", 0.35, {T(0, 0.35, MakeTone(W::Triangle, 330, 1100, 0.4f, 0.005, 0.15))}},
        // Back to normal: two even notes.
        {"caughtNormal.ogg",
         0.35,
         {T(0, 0.15, MakeTone(W::Sine, 660, 0, 0.4f, 0.003, 0.06)),
          T(0.15, 0.18, MakeTone(W::Sine, 660, 0, 0.4f, 0.003, 0.08))}},
        // Faster: a quick rising whoosh; slower: a falling one.
        {"caughtFaster.ogg",
         0.4,
         {N(0, 0.4, MakeNoise(F::BandPass, 600, 5000, 0.4f, 0.01, 0.15, 0.7f)),
          T(0, 0.3, MakeTone(W::Sine, 400, 1200, 0.2f, 0.01, 0.12))}},
        {"caughtSlower.ogg",
         0.5,
         {N(0, 0.5, MakeNoise(F::BandPass, 4000, 500, 0.4f, 0.01, 0.2, 0.7f)),
          T(0, 0.45, MakeTone(W::Sine, 1000, 300, 0.2f, 0.01, 0.2))}},
        // The ball splits: three quick pops spreading apart.
        {"caughtSplit.ogg",
         0.35,
         {T(0, 0.1, MakeTone(W::Sine, 700, 500, 0.4f, 0.001, 0.04)),
          T(0.07, 0.1, MakeTone(W::Sine, 900, 600, 0.35f, 0.001, 0.04)),
          T(0.14, 0.12, MakeTone(W::Sine, 1100, 700, 0.3f, 0.001, 0.05))}},
        // The paddle stretches or shrinks: a rubbery slide.
        {"caughtExpand.ogg",
         0.4,
         {T(0, 0.4, MakeTone(W::Square, 180, 360, 0.25f, 0.01, 0.2)),
          T(0, 0.4, MakeTone(W::Sine, 360, 720, 0.25f, 0.01, 0.2))}},
        {"caughtShrink.ogg",
         0.4,
         {T(0, 0.4, MakeTone(W::Square, 360, 180, 0.25f, 0.01, 0.2)),
          T(0, 0.4, MakeTone(W::Sine, 720, 360, 0.25f, 0.01, 0.2))}},
        // Paddle power lost: a deflating drop.
        {"caughtPowerDown.ogg",
         0.5,
         {T(0, 0.5, MakeTone(W::Triangle, 520, 130, 0.45f, 0.005, 0.25)),
          N(0, 0.2, MakeNoise(F::LowPass, 800, 200, 0.15f, 0.005, 0.1))}},
    };
}

} // namespace

void GenerateCatchSoundAssets(AssetPack& pack)
{
    for (const LayeredSound& sound : CatchSounds())
        pack.WriteSound(kCatchSounds, sound.name, AudioClip::Mono(RenderLayered(sound)));
}

} // namespace assetgen
