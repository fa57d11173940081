// Sounds of the game's course: the fanfare that opens a level and the two loops that
// accompany the brick drop (the stone sliding down and the column of energy it rides on).
#include "recipes/Recipes.h"

#include "kit/Rng.h"
#include "kit/Synth.h"

namespace assetgen {

namespace {

const char* const kGameSounds = "Sounds/Game";

// A rising three-note call on a warm square voice with a bright triangle on top.
Signal LevelStart(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.9);
    const double notes[] = {392.0, 523.25, 659.25};
    for (int i = 0; i < 3; ++i) {
        const double start = 0.16 * i;
        const double length = i == 2 ? 0.6 : 0.22;
        AddTone(s, start, length, MakeTone(Wave::Square, notes[i], 0, 0.18f, 0.004, 0.25));
        AddTone(s, start, length, MakeTone(Wave::Triangle, notes[i] * 2, 0, 0.12f, 0.002, 0.2));
    }
    AddNoise(s, 0.32, 0.3, MakeNoise(FilterMode::HighPass, 6000, 0, 0.05f, 0.002, 0.08), rng);
    return FinishEffect(s);
}

// Stone grinding on stone: low filtered noise with a slow wobble of its cutoff, even at
// both ends so that it loops without a seam.
Signal SlideDown(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 1.2);
    for (int i = 0; i < 6; ++i) {
        NoiseBurst grind = MakeNoise(FilterMode::LowPass, 260 + 40 * (i % 3), 320 - 30 * (i % 2),
                                     0.35f, 0.08, 10.0, 0.4f);
        grind.env.sustain = 1.0f;
        grind.env.release = 0.08;
        AddNoise(s, 0.2 * i - 0.05, 0.3, grind, rng);
    }
    Signal done = FinishEffect(s);
    FadeEdges(done, 0.03);
    return done;
}

// A humming column of energy: two detuned sines and a soft band of noise, steady so that
// the loop does not pulse where it restarts.
Signal EnergyColumnLoop(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 1.5);
    for (double freq : {110.0, 110.8, 220.4}) {
        Tone hum = MakeTone(Wave::Sine, freq, 0, freq > 200 ? 0.12f : 0.3f, 0.05, 10.0);
        hum.env.sustain = 1.0f;
        hum.env.release = 0.05;
        AddTone(s, 0, 1.5, hum);
    }
    NoiseBurst shimmer = MakeNoise(FilterMode::BandPass, 1800, 0, 0.06f, 0.05, 10.0, 0.7f);
    shimmer.env.sustain = 1.0f;
    shimmer.env.release = 0.05;
    AddNoise(s, 0, 1.5, shimmer, rng);
    Signal done = FinishEffect(s);
    FadeEdges(done, 0.03);
    return done;
}

} // namespace

void GenerateGameAssets(AssetPack& pack)
{
    pack.WriteSound(kGameSounds, "levelStart.ogg", AudioClip::Mono(LevelStart("levelStart.ogg")));
    pack.WriteSound(kGameSounds, "SlideDown.ogg", AudioClip::Mono(SlideDown("SlideDown.ogg")));
    pack.WriteSound(kGameSounds, "Mystical_EnergyColumnLoop1.ogg",
                    AudioClip::Mono(EnergyColumnLoop("Mystical_EnergyColumnLoop1.ogg")));
}

} // namespace assetgen
