// What reaches the output: volume, pan, frequency, slides, looping, global volumes, the
// pause layer and the music source.
#include "TestSounds.h"

#include <cmath>

using namespace bbtest;

namespace {

typedef OfflineAudio Mixing;

// The music source of these tests: adds a constant to both sides and counts its calls.
struct ConstantMusic
{
    float level = 0.25f;
    int calls = 0;
    int lastRate = 0;
    static void Mix(float* stereo, int frames, int sampleRate, void* user)
    {
        ConstantMusic* self = static_cast<ConstantMusic*>(user);
        ++self->calls;
        self->lastRate = sampleRate;
        for (int i = 0; i < frames * 2; ++i) {
            stereo[i] += self->level;
        }
    }
};

int ZeroCrossings(const std::vector<short>& stereo, int side)
{
    int count = 0;
    for (std::size_t i = 2 + side; i < stereo.size(); i += 2) {
        if ((stereo[i - 2] < 0) != (stereo[i] < 0)) {
            ++count;
        }
    }
    return count;
}

} // namespace

TEST_F(Mixing, VolumeAndPanShapeBothSides)
{
    HSAMPLE sample = ConstantSample(16384, 44100); // half of full scale
    HCHANNEL channel = PlayChannel(sample);

    auto out = Render(4);
    EXPECT_EQ(out[2], 16384);
    EXPECT_EQ(out[3], 16384);

    // Half volume, hard left: the right side is silent.
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, -1, 50, -100));
    out = Render(4);
    EXPECT_NEAR(out[2], 8192, 1);
    EXPECT_EQ(out[3], 0);

    // Half right: the left side drops to half, the right keeps its level; the volume
    // stays untouched by the -1 marker.
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, -1, -1, 50));
    out = Render(4);
    EXPECT_NEAR(out[2], 4096, 1);
    EXPECT_NEAR(out[3], 8192, 1);

    std::uint32_t freq = 0, volume = 0;
    int pan = 0;
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan));
    EXPECT_EQ(freq, 44100u);
    EXPECT_EQ(volume, 50u);
    EXPECT_EQ(pan, 50);

    // Out-of-range values are clamped, not refused.
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, 500000, 150, -300));
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan));
    EXPECT_EQ(freq, 100000u);
    EXPECT_EQ(volume, 100u);
    EXPECT_EQ(pan, -100);
}

TEST_F(Mixing, StereoSamplesKeepTheirSidesAndMonoSamplesFeedBoth)
{
    std::vector<std::int16_t> data;
    for (int i = 0; i < 1000; ++i) {
        data.push_back(8000);
        data.push_back(-4000);
    }
    PlayChannel(LoadSample(MakeWav(2, 44100, 16, data)));
    auto out = Render(2);
    EXPECT_EQ(out[0], 8000);
    EXPECT_EQ(out[1], -4000);
}

TEST_F(Mixing, FrequencyResamplesWithLinearInterpolation)
{
    std::vector<std::int16_t> ramp;
    for (int i = 0; i < 4000; ++i) {
        ramp.push_back(static_cast<std::int16_t>(i * 8));
    }
    HCHANNEL channel = BASS_SampleGetChannel(LoadSample(MakeWav(1, 44100, 16, ramp)), false);
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, 22050, -1, -101));
    ASSERT_TRUE(BASS_ChannelPlay(channel, true));

    auto out = Render(200);
    // Output frame i reads the ramp at i / 2: frame 101 lies halfway between 50 and 51.
    EXPECT_EQ(out[2 * 100], 400);
    EXPECT_EQ(out[2 * 101], 404);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 100u * 2);

    // Twice the original rate skips every other frame; 0 returns to the original rate.
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, 88200, -1, -101));
    Render(100);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 300u * 2);
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, 0, -1, -101));
    std::uint32_t freq = 0;
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, &freq, nullptr, nullptr));
    EXPECT_EQ(freq, 44100u);
}

TEST_F(Mixing, SlidesReachTheirTargetsInTheGivenTime)
{
    HSAMPLE sample = ConstantSample(16384, 44100);
    HCHANNEL channel = PlayChannel(sample);
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, -1, 0, -101));
    ASSERT_TRUE(BASS_ChannelSlideAttributes(channel, 22050, 100, 100, 100));
    EXPECT_EQ(BASS_ChannelIsSliding(channel), BASS_SLIDE_FREQ | BASS_SLIDE_VOL | BASS_SLIDE_PAN);

    Render(2205); // half the time
    std::uint32_t freq = 0, volume = 0;
    int pan = 0;
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan));
    EXPECT_NEAR(volume, 50u, 2u);
    EXPECT_NEAR(pan, 50, 2);
    EXPECT_NEAR(freq, 33075u, 400u);
    EXPECT_NE(BASS_ChannelIsSliding(channel), 0u);

    Render(2205);
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, &freq, &volume, &pan));
    EXPECT_EQ(freq, 22050u);
    EXPECT_EQ(volume, 100u);
    EXPECT_EQ(pan, 100);
    EXPECT_EQ(BASS_ChannelIsSliding(channel), 0u);
    auto out = Render(2);
    EXPECT_EQ(out[0], 0); // hard right
    EXPECT_EQ(out[1], 16384);

    // Setting an attribute ends its slide; a slide of no time sets the value at once.
    ASSERT_TRUE(BASS_ChannelSlideAttributes(channel, -1, 0, -101, 1000));
    Render(441);
    ASSERT_TRUE(BASS_ChannelSetAttributes(channel, -1, 70, -101));
    EXPECT_EQ(BASS_ChannelIsSliding(channel), 0u);
    Render(441);
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, nullptr, &volume, nullptr));
    EXPECT_EQ(volume, 70u);
    ASSERT_TRUE(BASS_ChannelSlideAttributes(channel, -1, 20, -101, 0));
    ASSERT_TRUE(BASS_ChannelGetAttributes(channel, nullptr, &volume, nullptr));
    EXPECT_EQ(volume, 20u);
}

TEST_F(Mixing, LoopingIsDecidedAtEveryPlay)
{
    HSAMPLE sample = ConstantSample(10000, 100);

    HCHANNEL looped = BASS_SampleGetChannel(sample, false);
    ASSERT_TRUE(BASS_ChannelSetFlags(looped, BASS_SAMPLE_LOOP));
    ASSERT_TRUE(BASS_ChannelPlay(looped, true));
    HCHANNEL once = PlayChannel(sample); // a new channel starts without the loop flag

    Render(250);
    EXPECT_EQ(BASS_ChannelIsActive(looped), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(BASS_ChannelGetPosition(looped), 50u * 2);
    EXPECT_EQ(BASS_ChannelIsActive(once), BASS_ACTIVE_STOPPED);

    // Clearing the flag lets the looping channel run to its end.
    ASSERT_TRUE(BASS_ChannelSetFlags(looped, 0));
    auto out = Render(100);
    EXPECT_EQ(out[2 * 10], 10000);
    EXPECT_EQ(out[2 * 60], 0);
    EXPECT_EQ(BASS_ChannelIsActive(looped), BASS_ACTIVE_STOPPED);

    // A sample loaded with the loop flag hands it to its channels.
    std::string wav = MakeWav(1, 44100, 16, std::vector<std::int16_t>(100, 10000));
    HSAMPLE loopingSample = LoadSample(wav, 10, BASS_SAMPLE_LOOP);
    HCHANNEL channel = PlayChannel(loopingSample);
    Render(300);
    EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PLAYING);
}

TEST_F(Mixing, GlobalVolumesScaleTheirKindOfSound)
{
    PlayChannel(ConstantSample(16000, 44100));
    std::string wav = MakeWav(1, 44100, 16, std::vector<std::int16_t>(44100, 8000));
    HSTREAM stream = BASS_StreamCreateFile(true, wav.data(), 0, wav.size(), 0);
    ASSERT_NE(stream, 0u);
    ASSERT_TRUE(BASS_ChannelPlay(stream, false));
    EXPECT_EQ(Render(1)[0], 24000);

    EXPECT_EQ(BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, 50), 50u);
    EXPECT_EQ(Render(1)[0], 16000);
    EXPECT_EQ(BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 0), 0u);
    EXPECT_EQ(Render(1)[0], 8000);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 50u);

    // The master volume scales everything, music included.
    ConstantMusic music;
    bassx::SetMusicSource(&ConstantMusic::Mix, &music);
    ASSERT_TRUE(BASS_SetVolume(50));
    EXPECT_EQ(BASS_GetVolume(), 50u);
    EXPECT_NEAR(Render(1)[0], (8000 + 8192) / 2, 1);
}

TEST_F(Mixing, PauseHoldsEffectsWhileMusicPlaysOn)
{
    ConstantMusic music;
    bassx::SetMusicSource(&ConstantMusic::Mix, &music);
    HCHANNEL channel = PlayChannel(ConstantSample(8192, 44100));
    EXPECT_EQ(Render(10)[0], 8192 + 8192);
    EXPECT_EQ(music.lastRate, 44100);

    ASSERT_TRUE(BASS_Pause());
    QWORD before = BASS_ChannelGetPosition(channel);
    auto out = Render(100);
    EXPECT_EQ(out[0], 8192); // music only
    EXPECT_EQ(BASS_ChannelGetPosition(channel), before);
    EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PLAYING);

    // While paused a channel may still be started; it is heard once output resumes.
    HCHANNEL late = PlayChannel(ConstantSample(4096, 44100));
    EXPECT_EQ(BASS_ChannelGetPosition(late), 0u);
    ASSERT_TRUE(BASS_Start());
    EXPECT_EQ(Render(1)[0], 8192 + 8192 + 4096);

    // With "no play while paused" switched on, starting fails with BASS_ERROR_START.
    BASS_SetConfig(BASS_CONFIG_PAUSE_NOPLAY, 1);
    ASSERT_TRUE(BASS_Pause());
    HCHANNEL refused = BASS_SampleGetChannel(ConstantSample(100, 100), false);
    EXPECT_FALSE(BASS_ChannelPlay(refused, true));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_START);

    // Removing the music source stops its calls.
    bassx::SetMusicSource(nullptr, nullptr);
    int calls = music.calls;
    EXPECT_EQ(Render(10)[0], 0);
    EXPECT_EQ(music.calls, calls);
}

TEST_F(Mixing, ChannelPauseResumesWhereItStopped)
{
    HCHANNEL channel = PlayChannel(ConstantSample(1000, 1000));
    Render(100);
    ASSERT_TRUE(BASS_ChannelPause(channel));
    EXPECT_EQ(BASS_ChannelIsActive(channel), BASS_ACTIVE_PAUSED);
    EXPECT_EQ(Render(10)[0], 0);
    EXPECT_FALSE(BASS_ChannelPause(channel));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOPLAY);
    ASSERT_TRUE(BASS_ChannelPlay(channel, false));
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 100u * 2);
}

TEST_F(Mixing, OggStreamsDecodeWhilePlaying)
{
    // Half a second of a 440 Hz tone, stereo at 22050 Hz: played at its own rate it is
    // resampled to the mix rate and keeps its pitch.
    std::string ogg = MakeOgg(2, 22050, Sine(2, 22050, 440, 11025, 0.5f));
    std::string copy = ogg;
    HSTREAM stream = BASS_StreamCreateFile(true, copy.data(), 0, copy.size(), 0);
    ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
    copy.assign(copy.size(), '\0'); // the stream keeps its own bytes

    EXPECT_EQ(BASS_ChannelGetLength(stream), 11025u * 4);
    std::uint32_t freq = 0;
    ASSERT_TRUE(BASS_ChannelGetAttributes(stream, &freq, nullptr, nullptr));
    EXPECT_EQ(freq, 22050u);

    ASSERT_TRUE(BASS_ChannelPlay(stream, false));
    auto out = Render(11025); // a quarter second
    EXPECT_NEAR(ZeroCrossings(out, 0), 220, 4);
    double sum = 0;
    for (std::size_t i = 0; i < out.size(); i += 2) {
        sum += double(out[i]) * out[i];
    }
    EXPECT_NEAR(std::sqrt(sum / (out.size() / 2)) / 32768.0, 0.5 / std::sqrt(2.0), 0.03);
    EXPECT_NEAR(double(BASS_ChannelGetPosition(stream)), 5512.0 * 4, 8);

    // It ends, keeps its position at the end, and plays again once rewound.
    Render(20000);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 11025u * 4);
    ASSERT_TRUE(BASS_ChannelSetPosition(stream, 0));
    ASSERT_TRUE(BASS_ChannelPlay(stream, false));
    Render(4410);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);

    // Looping a stream: it wraps instead of ending.
    ASSERT_TRUE(BASS_ChannelSetFlags(stream, BASS_SAMPLE_LOOP));
    Render(44100);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING);
    ASSERT_TRUE(BASS_StreamFree(stream));
}
