// Playing and steering sounds by name and by channel, as heard in the rendered mix:
// volume, pan, frequency, slides, the repeat guard, streams, stale handles and loading.
#include "SoundFixture.h"

#include "bass/bass.h"
#include "core/Exception.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceMemory.h"
#include "sound/Sound.h"
#include "support/engine/LogCapture.h"

using namespace bbtest;

namespace {

class SoundPlaybackTest : public SoundFixture
{
protected:
    void SetUp() override { StartAudio(); }
};

} // namespace

TEST_F(SoundPlaybackTest, VolumePanAndFrequencyReachTheMix)
{
    AddResource("tone.wav", ConstantWav(16000, 44100), "{ volume = 50, pan = -100 }");
    std::uint32_t channel = Sound::PlaySound("tone.wav", false);
    ASSERT_NE(channel, 0u);
    std::vector<short> out = Render(4);
    EXPECT_NEAR(out[2], 8000, 1); // half volume, hard left
    EXPECT_EQ(out[3], 0);

    // A pan set by name applies from the next play on; the playing channel keeps its own.
    Sound::SetPan("tone.wav", 100);
    out = Render(2);
    EXPECT_EQ(out[1], 0);
    Sound::PanChannel("tone.wav", 0);
    Sound::SetVolume("tone.wav", 100);
    out = Render(2);
    EXPECT_EQ(out[0], 16000);
    EXPECT_EQ(out[1], 16000);

    Sound::SetChannelFrequency(channel, 22050);
    EXPECT_EQ(Sound::GetChannelFrequency(channel), 22050u);
    QWORD before = BASS_ChannelGetPosition(channel);
    Render(1000);
    EXPECT_EQ(BASS_ChannelGetPosition(channel) - before, 1000u); // half speed: 500 frames

    // A pan stored by name is used by the next channel; right only.
    Sound::StopSound("tone.wav");
    Sound::PlaySound("tone.wav", false);
    out = Render(2);
    EXPECT_EQ(out[0], 0);
    EXPECT_EQ(out[1], 16000);
}

TEST_F(SoundPlaybackTest, SlideReachesItsTargetInTheGivenTime)
{
    AddResource("tone.wav", ConstantWav(10000, 44100), "{ volume = 0 }");
    std::uint32_t channel = Sound::PlaySound("tone.wav", false);
    EXPECT_EQ(Render(1)[0], 0);
    Sound::SlideVolume("tone.wav", 100, 100);
    EXPECT_EQ(Sound::GetSound("tone.wav")->GetVolume(), 100);

    std::vector<short> out = Render(2205); // 50 ms
    EXPECT_NEAR(out[2 * 2204], 5000, 200);
    out = Render(2205);
    EXPECT_NEAR(out[2 * 2204], 10000, 100);
    out = Render(10);
    EXPECT_EQ(out[0], 10000);
    EXPECT_EQ(BASS_ChannelIsSliding(channel), 0u);
}

TEST_F(SoundPlaybackTest, RepeatGuardDropsRetriggersWithinItsWindow)
{
    // 1000 bytes of mono 16-bit playback are 500 frames.
    AddResource("hit.wav", ConstantWav(3000, 2000));
    std::uint32_t first = Sound::PlaySound("hit.wav");
    Render(100);
    EXPECT_EQ(Sound::PlaySound("hit.wav"), first);
    EXPECT_EQ(Render(1)[0], 3000);

    Render(400); // past the window
    std::uint32_t second = Sound::PlaySound("hit.wav");
    EXPECT_NE(second, first);
    EXPECT_EQ(Sound::GetSound("hit.wav")->GetChannel(), second);
    EXPECT_EQ(Render(1)[0], 6000); // both channels play
    EXPECT_TRUE(Sound::IsPlaying("hit.wav"));

    // StopSound stops every channel of the sample.
    Sound::StopSound("hit.wav");
    EXPECT_EQ(Render(1)[0], 0);
    EXPECT_FALSE(Sound::IsPlaying("hit.wav"));

    // A zero effects volume in the configuration starts nothing.
    SetConfigNumber("sfx_volume", 0);
    EXPECT_EQ(Sound::PlaySound("hit.wav"), 0u);
    EXPECT_EQ(Sound::PlaySound("", false), 0u);
}

TEST_F(SoundPlaybackTest, StaleHandlesTouchNothing)
{
    AddResource("blip.wav", ConstantWav(2000, 100));
    AddResource("tone.wav", ConstantWav(4000, 44100));
    std::uint32_t stale = Sound::PlaySound("blip.wav");
    Render(200); // the blip has ended
    std::uint32_t live = Sound::PlaySound("tone.wav");

    EXPECT_NO_THROW(Sound::SetChannelVolume(stale, 0));
    EXPECT_NO_THROW(Sound::SetChannelPan(stale, -100));
    EXPECT_NO_THROW(Sound::SetChannelFrequency(stale, 1000));
    EXPECT_NO_THROW(Sound::StopChannel(stale));
    EXPECT_EQ(Sound::GetChannelFrequency(stale), 0u);
    EXPECT_NO_THROW(Sound::StopChannel(0));
    EXPECT_EQ(Sound::GetChannelFrequency(0), 0u);

    std::vector<short> out = Render(2);
    EXPECT_EQ(out[0], 4000);
    EXPECT_EQ(out[1], 4000);
    EXPECT_EQ(Sound::GetChannelFrequency(live), 44100u);
    Sound::StopChannel(live);
    EXPECT_EQ(Render(1)[0], 0);
}

TEST_F(SoundPlaybackTest, StreamsRewindResumeAndLoopAsAskedEachTime)
{
    AddResource("music.wav", ConstantWav(5000, 1000), "{ stream = true }");
    std::uint32_t stream = Sound::PlaySound("music.wav", true);
    ASSERT_NE(stream, 0u);
    Render(1500);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_PLAYING); // looped past its end
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 1000u);

    // Played again without loop: it goes on from where it is and then stops.
    EXPECT_EQ(Sound::PlaySound("music.wav", false), stream);
    Render(600);
    EXPECT_EQ(BASS_ChannelIsActive(stream), BASS_ACTIVE_STOPPED);

    // A stopped stream starts again from its beginning.
    EXPECT_EQ(Sound::PlaySound("music.wav", false), stream);
    Render(10);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 20u);
    EXPECT_FALSE(Sound::IsPlaying("music.wav")); // only samples report

    // A paused stream resumes where it was.
    BASS_ChannelPause(stream);
    Sound::PlaySound("music.wav", false);
    Render(10);
    EXPECT_EQ(BASS_ChannelGetPosition(stream), 40u);

    SetConfigNumber("music_volume", 0);
    Sound::StopSound("music.wav");
    EXPECT_EQ(Sound::PlaySound("music.wav", false), 0u);
}

TEST_F(SoundPlaybackTest, LoadingCountsMemoryAndReportsBadFiles)
{
    int32_t before = SoundBytes;
    AddResource("tone.wav", ConstantWav(1, 1000));
    Sound* sound = Sound::GetSound("tone.wav");
    EXPECT_EQ(sound->CalcMemoryUsage(), 4000); // 2000 bytes of data, counted twice
    EXPECT_EQ(SoundBytes - before, 4000);

    AddResource("broken.wav", "RIFF nonsense");
    try {
        Sound::GetSound("broken.wav");
        FAIL() << "a broken file must not load";
    } catch (const ResourceLoadError& e) {
        EXPECT_EQ(e.GetMessage(), "Couldn't load sample \"broken.wav\", BASS_ERROR_FILEFORM, "
                                  "\"The file's format is not recognised/supported.\"");
    }
    // Played, stopped or asked about by name, a damaged or missing sound is logged once and
    // the game goes on without it; stopping a sound never loads it.
    AddResource("theme.mp3", "ID3", "{ stream = true }");
    AddResource("slide.ogg", "OggS truncated");
    {
        bbtest::LogCapture log;
        Sound::StopSound("slide.ogg");
        EXPECT_FALSE(Sound::IsPlaying("slide.ogg"));
        EXPECT_EQ("", log.Text());
        EXPECT_EQ(Sound::PlaySound("theme.mp3", false), 0u);
        EXPECT_EQ(Sound::PlaySound("theme.mp3", true), 0u);
        EXPECT_EQ(Sound::PlaySound("nowhere.ogg", false), 0u);
        EXPECT_EQ(Sound::PlaySound("nowhere.ogg", true), 0u);
        Sound::SetVolume("slide.ogg", 50);
        Sound::StopSound("theme.mp3");
        const std::string text = log.Text();
        const std::string theme =
            "Warning: the resource \"theme.mp3\" could not be loaded (Couldn't";
        EXPECT_NE(text.find(theme), std::string::npos) << text;
        EXPECT_EQ(text.find(theme), text.rfind(theme)) << text;
        EXPECT_NE(text.find("Warning: the resource \"slide.ogg\" could not be loaded"),
                  std::string::npos)
            << text;
        const std::string nowhere =
            "Warning: the sound \"nowhere.ogg\" is not among the resources; the game plays "
            "without it";
        EXPECT_NE(text.find(nowhere), std::string::npos) << text;
        EXPECT_EQ(text.find(nowhere), text.rfind(nowhere)) << text;
    }

    // Only two channels of this sample may exist: a third play while both sound is skipped.
    AddResource("busy.wav", ConstantWav(100, 44100), "{ maxSamples = 2 }");
    Sound::PlaySound("busy.wav");
    Render(600);
    Sound::PlaySound("busy.wav");
    Render(600);
    EXPECT_EQ(Sound::PlaySound("busy.wav"), 0u);

    // Destroying the resources takes their bytes off the total.
    DestroyResources();
    EXPECT_EQ(SoundBytes, 0);
}
