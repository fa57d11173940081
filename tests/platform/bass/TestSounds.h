#pragma once
// Sound files made in memory for the audio layer's tests, and a fixture that opens the
// layer without an output device so that only RenderMix advances the mix.
#include "bass/MixerSource.h"
#include "bass/bass.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace bbtest {

// A RIFF WAVE file of PCM samples: `samples` are interleaved, 16-bit values; with
// bits == 8 each value is stored as the unsigned byte value / 256 + 128.
std::string MakeWav(int channels, int rate, int bits, const std::vector<std::int16_t>& samples);
// An Ogg Vorbis file of the interleaved float samples.
std::string MakeOgg(int channels, int rate, const std::vector<float>& samples);
// `frames` frames of a sine of `hz` at `rate`, amplitude `amplitude`, on every channel.
std::vector<float> Sine(int channels, int rate, double hz, int frames, float amplitude);

// Renders frames of the mix; the result is interleaved stereo.
std::vector<short> Render(int frames);

// Opens the layer offline (device 1, no output) with default global settings, and
// closes it after the test.
class OfflineAudio : public ::testing::Test
{
protected:
    void SetUp() override;
    void TearDown() override;

    // Loads a sample from memory; fails the test when it cannot.
    HSAMPLE LoadSample(const std::string& file, std::uint32_t max = 65535,
                       std::uint32_t flags = BASS_SAMPLE_SOFTWARE);
    // A mono 44100 Hz sample of `frames` frames all holding `value`.
    HSAMPLE ConstantSample(std::int16_t value, int frames);
    // A channel of the sample, started.
    HCHANNEL PlayChannel(HSAMPLE sample);
};

} // namespace bbtest
