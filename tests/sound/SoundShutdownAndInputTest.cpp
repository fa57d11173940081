// What the sound system does with data it is handed (configuration values, sound
// metadata) and the trace it leaves when it shuts down.
#include "SoundFixture.h"
#include "support/MessageOf.h"

#include "bass/bass.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/OutputCapture.h"
#include "resources/ResourceManager.h"
#include "sound/Sound.h"

#include <fstream>
#include <functional>

using namespace bbtest;

using bbtest::MessageOf;

namespace {

class SoundInputTest : public SoundFixture
{
protected:
    ~SoundInputTest() override { SetLogLevel(m_SavedLevel); }
    int m_SavedLevel = GetLogLevel();
};

} // namespace

TEST_F(SoundInputTest, ConfiguredVolumesOutsideTheirRangeAreBroughtIntoIt)
{
    StartAudio();
    OutputCapture out(1);
    SetConfigNumber("sfx_volume", 150);
    SetConfigNumber("music_volume", -5.5);
    EXPECT_NO_THROW(DeliverPostedEvents());
    std::string log = out.Text();
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 100u);
    EXPECT_EQ(Sound::GetMusicVolume(), 0u);
    EXPECT_NE(log.find("WARNING: Configuration key \"sfx_volume\" holds 150, outside 0..100; "
                       "using 100.\n"),
              std::string::npos);
    EXPECT_NE(log.find("WARNING: Configuration key \"music_volume\" holds -5.5, outside 0..100; "
                       "using 0.\n"),
              std::string::npos);

    // Values in range pass unchanged and without a word; direct calls still check.
    OutputCapture quiet(1);
    SetConfigNumber("sfx_volume", 100);
    DeliverPostedEvents();
    EXPECT_EQ(quiet.Text().find("WARNING"), std::string::npos);
    EXPECT_EQ(MessageOf([] { Sound::SetMusicVolume(101); }), "Assertion failed: (volume <= 100)");
}

TEST_F(SoundInputTest, ChannelCountsOutsideTheLayersRangeFailTheLoadByName)
{
    StartAudio();
    const std::string expected = "BASS_ERROR_ILLPARAM, \"max and/or length is invalid. The "
                                 "length must be specified when loading from memory.\"";
    AddResource("none.wav", ConstantWav(100, 100), "{ maxSamples = 0 }");
    EXPECT_EQ(MessageOf([] { Sound::GetSound("none.wav"); }),
              "Couldn't load sample \"none.wav\", " + expected);
    AddResource("negative.wav", ConstantWav(100, 100), "{ maxSamples = -3 }");
    EXPECT_EQ(MessageOf([] { Sound::GetSound("negative.wav"); }),
              "Couldn't load sample \"negative.wav\", " + expected);
    AddResource("many.wav", ConstantWav(100, 100), "{ maxSamples = 70000 }");
    EXPECT_EQ(MessageOf([] { Sound::GetSound("many.wav"); }),
              "Couldn't load sample \"many.wav\", " + expected);

    // The largest count loads.
    AddResource("most.wav", ConstantWav(100, 100), "{ maxSamples = 65535 }");
    EXPECT_NE(Sound::PlaySound("most.wav"), 0u);
}

TEST_F(SoundInputTest, ShutdownTracesOnlyWhatItCloses)
{
    SetLogLevel(3);
    {
        OfflineDevices devices;
        devices.descriptions = {"No sound"};
        devices.Install();
        Sound::Init(true);
        OutputCapture out(1);
        Sound::Quit();
        EXPECT_EQ(out.Text(), "Sound::Quit Active: 0\n");
    }
    StartAudio(true);
    OutputCapture out(1);
    Sound::Quit();
    EXPECT_EQ(out.Text(), "Sound::Quit Active: 1\n"
                          "Sound::Quit SAFE_DELETE s_DirectMusic\n"
                          "Sound::BASS_Free\n"
                          "Sound::Quit SAFE_DELETE s_ConfigHelper\n"
                          "Sound::Quit Finished\n");
    EXPECT_FALSE(Sound::IsActive());
    EXPECT_FALSE(Sound::IsMusicActive());
}
