// Opening the audio device with its fallbacks, switching sound off, the two pause layers
// and the global volumes that follow the configuration.
#include "SoundFixture.h"

#include "bass/bass.h"
#include "core/Exception.h"
#include "core/OutputCapture.h"
#include "resources/FileReader.h"
#include "resources/ResourceInfo.h"
#include "sound/BASSSoundLoader.h"
#include "sound/BassErrorText.h"
#include "sound/DirectMusic.h"
#include "sound/DirectMusicLoader.h"
#include "sound/Sound.h"

#include <tuple>

using namespace bbtest;

namespace {

using Attempt = std::tuple<int, std::uint32_t, std::uint32_t>;

class SoundDeviceTest : public SoundFixture
{
};

// Position of the channel's playback in bytes.
QWORD Position(std::uint32_t handle)
{
    return BASS_ChannelGetPosition(handle);
}

} // namespace

TEST_F(SoundDeviceTest, FallsBackThroughDevicesAndModesInOrder)
{
    OfflineDevices devices;
    devices.descriptions = {"No sound", "Broken card", "Picky card"};
    devices.anyModeWorks = false;
    devices.working = {Attempt(2, 44100, 1)};
    devices.Install();

    OutputCapture out(1);
    Sound::Init(true);
    std::string log = out.Text();

    ASSERT_TRUE(Sound::IsActive());
    std::vector<Attempt> expected;
    const std::uint32_t modes[8][2] = {{22050, 0}, {44100, 0}, {44100, 1}, {44100, 2},
                                       {44100, 3}, {22050, 1}, {22050, 2}, {22050, 3}};
    for (const auto& mode : modes) {
        expected.emplace_back(1, mode[0], mode[1]);
    }
    expected.emplace_back(2, 22050, 0);
    expected.emplace_back(2, 44100, 0);
    expected.emplace_back(2, 44100, 1);
    EXPECT_EQ(devices.attempts, expected);

    EXPECT_NE(log.find("Audio Device 0: No sound\nAudio Device 1: Broken card\n"
                       "Audio Device 2: Picky card\n"),
              std::string::npos);
    EXPECT_NE(log.find("WARNING: Couldn't initialize BASS, device=1, freq=22050, flags=0, "
                       "error={BASS_ERROR_DEVICE: The device number specified is invalid.}"),
              std::string::npos);
    EXPECT_NE(log.find("Audio initialized: device=2, freq=44100, flags=1\n"), std::string::npos);
    EXPECT_NE(log.find("BASS_INFO: speakers: 2\n"), std::string::npos);
    EXPECT_NE(log.find("BASS_INFO: driver: offline\n"), std::string::npos);
}

TEST_F(SoundDeviceTest, RunsSilentlyWithoutAWorkingDevice)
{
    {
        // Devices that all refuse to open: start-up goes on without sound.
        OfflineDevices devices;
        devices.anyModeWorks = false;
        devices.Install();
        OutputCapture out(1);
        EXPECT_NO_THROW(Sound::Init(true));
        EXPECT_FALSE(Sound::IsActive());
        EXPECT_EQ(devices.attempts.size(), 8u);
        EXPECT_NE(out.Text().find("All sounds are being disabled."), std::string::npos);
    }
    {
        OfflineDevices devices;
        devices.descriptions = {"No sound"};
        devices.Install();
        OutputCapture out(1);
        Sound::Init(true);
        EXPECT_FALSE(Sound::IsActive());
        EXPECT_NE(out.Text().find("No real audio devices were found.  All sounds are being "
                                  "disabled.\n"),
                  std::string::npos);
    }
    {
        OfflineDevices devices;
        devices.descriptions = {};
        devices.Install();
        try {
            Sound::Init(true);
            FAIL() << "no device at all must fail";
        } catch (const Exception& e) {
            EXPECT_EQ(e.GetMessage(), "Assertion failed: (devCount >= 1)\nMessage: No audio "
                                      "devices were found, including the \"no sound\" device");
        }
    }
}

TEST_F(SoundDeviceTest, SwitchedOffSoundLoadsAndPlaysNothing)
{
    AddResource("click.ogg", ConstantWav(1000, 100));
    OfflineDevices devices;
    devices.Install();
    OutputCapture out(1);
    Sound::Init(false);
    Sound::InitDirectMusic(true);
    std::string log = out.Text();
    EXPECT_NE(log.find("Audio was disabled via the command line or a startup script.  "
                       "Cancelling audio initialization.\n"),
              std::string::npos);
    EXPECT_NE(log.find("Sound::InitDirectMusic Sound System Not Active\n"), std::string::npos);
    EXPECT_TRUE(devices.attempts.empty());
    EXPECT_FALSE(Sound::IsActive());
    EXPECT_FALSE(Sound::IsMusicActive());

    BASSSoundLoader loader;
    ResourceInfo info("click.ogg", nullptr);
    EXPECT_FALSE(loader.CanLoad(info));
    EXPECT_EQ(Sound::PlaySound("click.ogg"), 0u);
    EXPECT_NO_THROW(Sound::StopSound("click.ogg"));
    EXPECT_NO_THROW(Sound::SetMusicVolume(500)); // inert, so not even checked
    EXPECT_EQ(Sound::GetMusicVolume(), 0u);
    try {
        Sound::GetSound("click.ogg");
        FAIL() << "GetSound needs audio";
    } catch (const Exception& e) {
        EXPECT_EQ(e.GetMessage(), "Assertion failed: (Sound::IsActive() == true)\nMessage: "
                                  "Sounds cannot be retrieved when the audio subsystem has "
                                  "been disabled.");
    }
}

TEST_F(SoundDeviceTest, GamePauseAndApplicationPauseHoldOutputIndependently)
{
    StartAudio();
    AddResource("hum.wav", ConstantWav(1000, 44100));
    std::uint32_t channel = Sound::PlaySound("hum.wav");
    Render(100);
    ASSERT_EQ(Position(channel), 200u);

    Sound::Pause();
    Sound::PauseApp();
    Render(100);
    EXPECT_EQ(Position(channel), 200u);

    // Back to the window while the game is still paused: still held.
    Sound::ResumeApp();
    EXPECT_FALSE(Sound::IsAppPaused());
    Render(100);
    EXPECT_EQ(Position(channel), 200u);

    // The game resumes while the window has no focus: held until the focus returns.
    Sound::PauseApp();
    Sound::Resume();
    Render(100);
    EXPECT_EQ(Position(channel), 200u);
    Sound::ResumeApp();
    Render(100);
    EXPECT_EQ(Position(channel), 400u);
}

TEST_F(SoundDeviceTest, VolumesFollowTheConfiguration)
{
    StartAudio();
    SetConfigNumber("music_volume", 40);
    SetConfigNumber("sfx_volume", 25.9);
    DeliverPostedEvents();
    EXPECT_EQ(Sound::GetMusicVolume(), 40u);
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 25u);

    AddResource("tone.wav", ConstantWav(16000, 1000));
    Sound::PlaySound("tone.wav");
    EXPECT_EQ(Render(1)[0], 4000);

    try {
        Sound::SetSFXVolume(101);
        FAIL();
    } catch (const Exception& e) {
        EXPECT_EQ(e.GetMessage(), "Assertion failed: (volume <= 100)");
    }

    // After shutdown the configuration no longer reaches the sound system.
    Sound::Quit();
    SetConfigNumber("sfx_volume", 70);
    DeliverPostedEvents();
    EXPECT_EQ(BASS_GetConfig(BASS_CONFIG_GVOL_SAMPLE), 25u);

    EXPECT_EQ(Sound::MusicMasterVolume(0), -20000);
    EXPECT_EQ(Sound::MusicMasterVolume(1), -1978);
    EXPECT_EQ(Sound::MusicMasterVolume(50), -900);
    EXPECT_EQ(Sound::MusicMasterVolume(100), 200);
}

TEST(BassErrorTextTest, NamesAndDescribesEveryCode)
{
    EXPECT_STREQ(GetBassErrorName(18), "BASS_ERROR_NOCHAN");
    EXPECT_STREQ(GetBassErrorName(-1), "BASS_ERROR_UNKNOWN");
    EXPECT_STREQ(GetBassErrorDescription(37),
                 "Sample functions are not available when using the \"no sound\" device.");
    // The hardware-voice text keeps its trailing blank.
    std::string nohw = GetBassErrorDescription(29);
    EXPECT_EQ(nohw.back(), ' ');
    EXPECT_STREQ(GetBassErrorName(24), "UNKNOWN_ERROR");
    EXPECT_STREQ(GetBassErrorDescription(0), "UNKNOWN ERROR!");
}

TEST_F(SoundDeviceTest, MusicSwitchedOffLeavesEffectsPlaying)
{
    StartAudio();
    Sound::InitDirectMusic(false);
    EXPECT_FALSE(Sound::IsMusicActive());
    DirectMusic* music = Sound::GetDirectMusic();
    ASSERT_NE(music, nullptr);
    music->PlayMidiLooped("Theme.mid", "Splash");
    EXPECT_EQ(music->GetLastSegmentName(), "");
    EXPECT_EQ(music->GetMasterVolume(), 0);
    DirectMusicLoader loader;
    EXPECT_FALSE(loader.CanLoad(ResourceInfo("Theme.mid", nullptr)));

    // Application pauses still hold the effects and leave the absent music alone.
    Sound::PauseApp();
    Sound::ResumeApp();
    AddResource("tone.wav", ConstantWav(1000, 100));
    EXPECT_NE(Sound::PlaySound("tone.wav"), 0u);
    EXPECT_EQ(Render(1)[0], 1000);
}
