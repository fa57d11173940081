// Sound effects the engine and its widgets play by name: the scroll bar's beep.
#include "recipes/Recipes.h"

#include "kit/Rng.h"
#include "kit/Synth.h"

namespace assetgen {

namespace {

// The scroll bar's tick while its thumb is dragged: a short, soft two-partial blip that
// stays pleasant when repeated five times a second.
Signal Beep01(const std::string& name)
{
    Rng rng(name);
    Signal s(44100, 0.07);
    Tone body;
    body.wave = Wave::Sine;
    body.freq = 1320;
    body.freqEnd = 1250;
    body.gain = 0.6f;
    body.env.attack = 0.002;
    body.env.decay = 0.02;
    AddTone(s, 0, 0.07, body);
    Tone overtone;
    overtone.wave = Wave::Triangle;
    overtone.freq = 2640;
    overtone.gain = 0.15f;
    overtone.env.attack = 0.001;
    overtone.env.decay = 0.008;
    AddTone(s, 0, 0.04, overtone);
    NoiseBurst tick;
    tick.mode = FilterMode::BandPass;
    tick.cutoff = 4000;
    tick.resonance = 0.3f;
    tick.gain = 0.12f;
    tick.env.attack = 0.0005;
    tick.env.decay = 0.002;
    AddNoise(s, 0, 0.01, tick, rng);
    return FinishEffect(s);
}

} // namespace

void GenerateSoundAssets(AssetPack& pack)
{
    pack.WriteSound(folders::kUiSounds, "Beep01.ogg", AudioClip::Mono(Beep01("Beep01.ogg")));
}

} // namespace assetgen
