// The sounds of the captions that end a stretch of play: a bright rising call for a won
// level ("attention1.ogg"), a falling pair for the last ball lost ("attention4.ogg") and a
// slow falling minor line for the game over ("attention3.ogg").
#include "recipes/Recipes.h"

#include "kit/Synth.h"

#include <vector>

namespace assetgen {

namespace {

const char* const kSounds = "Sounds/Captions";

// Notes one after another, each `step` seconds after the last and ringing `length`.
Signal Call(const std::vector<double>& freqs, double step, double length, Wave wave, float gain)
{
    Signal s(44100, step * double(freqs.size()) + length + 0.05);
    for (std::size_t i = 0; i < freqs.size(); ++i)
        AddTone(s, double(i) * step, length,
                MakeTone(wave, freqs[i], freqs[i], gain, 0.005, length * 0.6));
    return FinishEffect(s);
}

} // namespace

void GenerateCaptionAssets(AssetPack& pack)
{
    pack.WriteSound(
        kSounds, "attention1.ogg",
        AudioClip::Mono(Call({523.3, 659.3, 784.0, 1046.5}, 0.09, 0.35, Wave::Triangle, 0.5f)));
    pack.WriteSound(kSounds, "attention4.ogg",
                    AudioClip::Mono(Call({392.0, 293.7}, 0.16, 0.4, Wave::Square, 0.25f)));
    pack.WriteSound(
        kSounds, "attention3.ogg",
        AudioClip::Mono(Call({440.0, 392.0, 349.2, 329.6}, 0.28, 0.5, Wave::Triangle, 0.45f)));
}

} // namespace assetgen
