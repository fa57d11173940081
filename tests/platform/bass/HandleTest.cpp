// Handles, positions, loading and error codes of the audio layer.
#include "TestSounds.h"

#include "support/TempHome.h"

#include <set>

using namespace bbtest;

namespace {

typedef OfflineAudio Handles;

} // namespace

TEST_F(Handles, PositionsAndLengthsAreBytesOfTheDecodedSound)
{
    std::vector<std::int16_t> stereo(2 * 1000);
    for (int i = 0; i < 1000; ++i) {
        stereo[2 * i] = static_cast<std::int16_t>(i * 10);
        stereo[2 * i + 1] = 0;
    }
    HSAMPLE sample = LoadSample(MakeWav(2, 44100, 16, stereo));
    BASS_SAMPLE info;
    ASSERT_TRUE(BASS_SampleGetInfo(sample, &info));
    EXPECT_EQ(info.length, 4000u);
    EXPECT_EQ(info.chans, 2u);
    EXPECT_EQ(info.freq, 44100u);
    EXPECT_EQ(info.flags & BASS_SAMPLE_MONO, 0u);

    HCHANNEL channel = PlayChannel(sample);
    EXPECT_EQ(BASS_ChannelGetLength(channel), 4000u);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 0u);
    Render(250);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 1000u);

    // A position is rounded down to a whole frame, and playing goes on from there.
    ASSERT_TRUE(BASS_ChannelSetPosition(channel, 2002));
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 2000u);
    EXPECT_EQ(Render(1)[0], 5000);

    EXPECT_FALSE(BASS_ChannelSetPosition(channel, 4004));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_POSITION);
    EXPECT_EQ(BASS_ChannelGetPosition(channel), 2004u);

    // A mono 8-bit file is decoded to 16-bit: its positions count two bytes a frame.
    std::string eightBit = MakeWav(1, 11025, 8, std::vector<std::int16_t>(500, 16384));
    HSAMPLE small = LoadSample(eightBit);
    ASSERT_TRUE(BASS_SampleGetInfo(small, &info));
    EXPECT_EQ(info.length, 1000u);
    EXPECT_EQ(info.freq, 11025u);
    EXPECT_NE(info.flags & BASS_SAMPLE_MONO, 0u);
    HCHANNEL low = PlayChannel(small);
    ASSERT_TRUE(BASS_ChannelStop(channel));
    EXPECT_NEAR(Render(4)[4], 16384, 1);
    EXPECT_EQ(BASS_ChannelGetPosition(low), 2u);
}

TEST_F(Handles, StaleHandlesTouchNothing)
{
    HSAMPLE sample = ConstantSample(8000, 44100);
    HCHANNEL first = PlayChannel(sample);
    ASSERT_TRUE(BASS_ChannelStop(first));

    HCHANNEL second = PlayChannel(sample);
    EXPECT_NE(second, first);
    EXPECT_FALSE(BASS_ChannelSetAttributes(first, -1, 0, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_FALSE(BASS_ChannelStop(first));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_ChannelIsActive(first), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_EQ(BASS_ChannelGetPosition(first), BASS_QWORD_ERROR);
    EXPECT_EQ(BASS_ChannelIsActive(second), BASS_ACTIVE_PLAYING);
    EXPECT_EQ(Render(1)[0], 8000);

    // A channel that played to its end is gone too.
    HCHANNEL shortOne = PlayChannel(ConstantSample(100, 10));
    Render(20);
    EXPECT_FALSE(BASS_ChannelSetAttributes(shortOne, -1, 50, -101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);

    // Handles are never handed out twice, even across a restart of the layer.
    std::set<std::uint32_t> seen{sample, first, second, shortOne};
    for (int i = 0; i < 50; ++i) {
        HCHANNEL c = PlayChannel(sample);
        EXPECT_TRUE(seen.insert(c).second);
        BASS_ChannelStop(c);
    }
    ASSERT_TRUE(BASS_Free());
    ASSERT_TRUE(BASS_Init(1, 44100, bassx::DEVICE_OFFLINE, nullptr, nullptr));
    EXPECT_FALSE(BASS_ChannelPlay(second, true));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_FALSE(BASS_SampleGetInfo(sample, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    HSAMPLE fresh = ConstantSample(1, 10);
    EXPECT_TRUE(seen.insert(fresh).second);
}

TEST_F(Handles, FreeingASampleEndsItsChannels)
{
    HSAMPLE sample = ConstantSample(8000, 44100);
    HCHANNEL a = PlayChannel(sample);
    HCHANNEL b = PlayChannel(sample);
    EXPECT_EQ(Render(1)[0], 16000);
    ASSERT_TRUE(BASS_SampleStop(sample));
    EXPECT_EQ(BASS_ChannelIsActive(a), BASS_ACTIVE_STOPPED);
    EXPECT_EQ(Render(1)[0], 0);

    PlayChannel(sample);
    ASSERT_TRUE(BASS_SampleFree(sample));
    EXPECT_EQ(Render(1)[0], 0);
    EXPECT_FALSE(BASS_ChannelPlay(b, true));
    EXPECT_FALSE(BASS_SampleGetChannel(sample, false));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
    EXPECT_FALSE(BASS_SampleFree(sample));
}

TEST_F(Handles, ASampleHasAtMostMaxChannels)
{
    HSAMPLE sample = LoadSample(MakeWav(1, 44100, 16, std::vector<std::int16_t>(100, 1)), 2);
    HCHANNEL a = PlayChannel(sample);
    HCHANNEL b = BASS_SampleGetChannel(sample, false); // taken, not started
    ASSERT_NE(b, 0u);
    // The idle channel is retired to make room; its handle goes stale.
    HCHANNEL c = PlayChannel(sample);
    ASSERT_NE(c, 0u);
    EXPECT_FALSE(BASS_ChannelPlay(b, true));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);

    EXPECT_EQ(BASS_SampleGetChannel(sample, false), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOCHAN);

    // Once they end, channels are free again.
    Render(200);
    EXPECT_EQ(BASS_ChannelIsActive(a), BASS_ACTIVE_STOPPED);
    EXPECT_NE(BASS_SampleGetChannel(sample, false), 0u);
}

TEST_F(Handles, LoadingReportsWhatIsWrong)
{
    const char garbage[] = "this is not a sound file at all";
    EXPECT_EQ(BASS_SampleLoad(true, garbage, 0, sizeof(garbage), 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);
    EXPECT_EQ(BASS_StreamCreateFile(true, garbage, 0, sizeof(garbage), 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);

    // A truncated Ogg file is not a sound either.
    std::string ogg = MakeOgg(1, 44100, Sine(1, 44100, 440, 4410, 0.5f));
    EXPECT_EQ(BASS_StreamCreateFile(true, ogg.data(), 0, 40, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEFORM);

    std::string wav = MakeWav(1, 44100, 16, std::vector<std::int16_t>(10, 1));
    EXPECT_EQ(BASS_SampleLoad(true, wav.data(), 0, 0, 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_SampleLoad(true, wav.data(), 0, wav.size(), 0, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_SampleLoad(false, "/nonexistent/sound.wav", 0, 0, 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_FILEOPEN);

    // From a file, with an offset into it.
    TempHome home;
    const std::string path = home.Path() + "/sounds.bin";
    WriteFile(path, "HEADER" + ogg);
    HSTREAM stream = BASS_StreamCreateFile(false, path.c_str(), 6, 0, 0);
    ASSERT_NE(stream, 0u) << BASS_ErrorGetCode();
    EXPECT_EQ(BASS_ChannelGetLength(stream), 4410u * 2);
    HSAMPLE sample = BASS_SampleLoad(false, path.c_str(), 6, 0, 10, 0);
    ASSERT_NE(sample, 0u) << BASS_ErrorGetCode();
    BASS_SAMPLE info;
    ASSERT_TRUE(BASS_SampleGetInfo(sample, &info));
    EXPECT_EQ(info.length, 4410u * 2);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_OK);
}

TEST(AudioDevice, ErrorCodesOfTheDeviceCalls)
{
    std::string wav = MakeWav(1, 44100, 16, std::vector<std::int16_t>(10, 1));
    EXPECT_EQ(BASS_SampleLoad(true, wav.data(), 0, wav.size(), 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Free());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
    EXPECT_FALSE(BASS_Pause());
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);

    // Configuration works without a device; bad values are refused with all bits set.
    EXPECT_EQ(BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, 101), BASS_DWORD_ERROR);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_GetConfig(99), BASS_DWORD_ERROR);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    EXPECT_EQ(BASS_SetConfig(BASS_CONFIG_PAUSE_NOPLAY, 0), 0u);

    EXPECT_FALSE(BASS_Init(7, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);

    // The "no sound" device: streams work, samples are not available.
    ASSERT_TRUE(BASS_Init(0, 22050, 0, nullptr, nullptr));
    EXPECT_FALSE(BASS_Init(0, 44100, 0, nullptr, nullptr));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ALREADY);
    EXPECT_EQ(BASS_SampleLoad(true, wav.data(), 0, wav.size(), 10, 0), 0u);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_NOTAVAIL);
    HSTREAM stream = BASS_StreamCreateFile(true, wav.data(), 0, wav.size(), 0);
    EXPECT_NE(stream, 0u);
    EXPECT_FALSE(BASS_SetVolume(101));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_ILLPARAM);
    ASSERT_TRUE(BASS_Free());
    EXPECT_FALSE(BASS_StreamFree(stream));
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_HANDLE);
}

TEST(AudioDevice, EnumeratesAndOpensTheSystemOutput)
{
    const char* none = BASS_GetDeviceDescription(0);
    ASSERT_NE(none, nullptr);
    EXPECT_STREQ(none, "No sound");
    // The tests run with SDL's dummy audio driver, which counts as an output.
    ASSERT_NE(BASS_GetDeviceDescription(1), nullptr);
    EXPECT_EQ(BASS_GetDeviceDescription(2), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_DEVICE);

    ASSERT_TRUE(BASS_Init(1, 22050, 0, nullptr, nullptr)) << BASS_ErrorGetCode();
    BASS_INFO info;
    ASSERT_TRUE(BASS_GetInfo(&info));
    EXPECT_STREQ(info.driver, "dummy");
    EXPECT_EQ(info.freq, 44100u);
    EXPECT_EQ(info.flags & BASS_INFO_EMULATED, 0u);
    EXPECT_GT(info.latency, 0u);
    EXPECT_NE(BASS_GetDSoundObject(BASS_OBJECT_DS), nullptr);

    // The device's own thread mixes while the main thread plays and steers channels.
    std::string wav = MakeWav(1, 44100, 16, std::vector<std::int16_t>(44100, 1000));
    HSAMPLE sample = BASS_SampleLoad(true, wav.data(), 0, wav.size(), 100, 0);
    ASSERT_NE(sample, 0u);
    for (int i = 0; i < 50; ++i) {
        HCHANNEL channel = BASS_SampleGetChannel(sample, false);
        BASS_ChannelPlay(channel, true);
        BASS_ChannelSetAttributes(channel, 22050 + i * 100, 50, i - 25);
    }
    ASSERT_TRUE(BASS_Free());
    EXPECT_EQ(BASS_GetDSoundObject(BASS_OBJECT_DS), nullptr);
    EXPECT_EQ(BASS_ErrorGetCode(), BASS_ERROR_INIT);
}
