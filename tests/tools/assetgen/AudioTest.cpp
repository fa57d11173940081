// Sound synthesis and Ogg Vorbis output, decoded back with vorbisfile as the game does.
#include "Decoders.h"
#include "kit/OggWriter.h"
#include "kit/Synth.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace assetgen;

namespace {

double Rms(const std::vector<float>& v, std::size_t from, std::size_t to)
{
    double sum = 0;
    for (std::size_t i = from; i < to; ++i)
        sum += static_cast<double>(v[i]) * v[i];
    return std::sqrt(sum / static_cast<double>(to - from));
}

} // namespace

TEST(Synth, VoicesStartAndEndInSilenceAndShareOneLoudness)
{
    Rng rng("burst");
    Signal quiet(44100, 0.2), loud(44100, 0.2);
    Tone tone;
    tone.wave = Wave::Square;
    tone.gain = 0.05f;
    tone.env.decay = 0.05;
    AddTone(quiet, 0, 0.2, tone);
    NoiseBurst noise;
    noise.gain = 2.0f;
    noise.cutoffEnd = 300;
    AddNoise(loud, 0, 0.2, noise, rng);
    Normalise(quiet);
    Normalise(loud);
    // Different sources, one loudness; nothing clips.
    const double rq = Rms(quiet.samples, 0, quiet.samples.size() / 4);
    const double rl = Rms(loud.samples, 0, loud.samples.size() / 4);
    EXPECT_GT(rq, 0.05);
    EXPECT_LT(Peak(quiet), 0.9f);
    EXPECT_LT(Peak(loud), 0.9f);
    EXPECT_LT(std::fabs(20 * std::log10(rq / rl)), 6.0);
    // Envelopes open and close at zero.
    EXPECT_EQ(quiet.samples.front(), 0.0f);
    EXPECT_LT(std::fabs(quiet.samples.back()), 1e-3f);
    EXPECT_LT(std::fabs(loud.samples.back()), 1e-3f);

    Signal silent(22050, 0.1);
    Normalise(silent);
    EXPECT_EQ(Peak(silent), 0.0f);
}

TEST(Ogg, DecodesToTheEncodedLayoutAndDuration)
{
    Signal left(22050, 0.5), right(22050, 0.5);
    Tone tone;
    tone.env.decay = 0;
    tone.env.sustain = 1;
    tone.freq = 440;
    AddTone(left, 0, 0.5, tone);
    const std::vector<std::uint8_t> stereo = EncodeOgg(AudioClip::Stereo(left, right), 7);
    EXPECT_EQ(stereo, EncodeOgg(AudioClip::Stereo(left, right), 7));
    EXPECT_NE(stereo, EncodeOgg(AudioClip::Stereo(left, right), 8)); // serial is in the pages

    const assetgentest::Audio a = assetgentest::DecodeOgg(stereo);
    EXPECT_EQ(a.rate, 22050);
    EXPECT_EQ(a.channels, 2);
    EXPECT_EQ(a.frames, 11025);
    ASSERT_EQ(a.samples.size(), 11025u * 2);
    // The tone is on the left only.
    double l = 0, r = 0;
    for (std::size_t i = 0; i < a.samples.size(); i += 2) {
        l += std::fabs(a.samples[i]);
        r += std::fabs(a.samples[i + 1]);
    }
    EXPECT_GT(l, 50 * r + 1);

    Signal mono(44100, 0.123);
    AddTone(mono, 0, 0.123, tone);
    const assetgentest::Audio m = assetgentest::DecodeOgg(EncodeOgg(AudioClip::Mono(mono), 1));
    EXPECT_EQ(m.rate, 44100);
    EXPECT_EQ(m.channels, 1);
    EXPECT_EQ(m.frames, static_cast<long>(mono.samples.size()));
}

TEST(Ogg, RefusesLayoutsTheGameDoesNotUse)
{
    Signal s(48000, 0.1);
    EXPECT_THROW(EncodeOgg(AudioClip::Mono(s), 1), std::invalid_argument);
    AudioClip empty;
    EXPECT_THROW(EncodeOgg(empty, 1), std::invalid_argument);
    AudioClip three;
    three.channels = 3;
    three.samples.assign(300, 0.0f);
    EXPECT_THROW(EncodeOgg(three, 1), std::invalid_argument);
}
