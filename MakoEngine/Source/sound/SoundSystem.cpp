// The static side of Sound: the audio device, the music player, the pause layers and the
// global volumes.
#include "sound/Sound.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "sound/BassErrorText.h"
#include "sound/DirectMusic.h"
#include "sound/SoundConfigHelper.h"

#include "bass/DriverMessages.h"

#include <boost/format.hpp>

#include <memory>

namespace {

bool s_Active = false;
bool s_GamePaused = false;
bool s_AppPaused = false;
int s_SavedMasterVolume = 0;
unsigned s_DSVersion = 0;
// Made by Init and GetDirectMusic, deleted by Quit in its logged order.
std::unique_ptr<SoundConfigHelper> s_ConfigHelper;
Config* s_ObservedConfig = nullptr; // the configuration s_ConfigHelper is attached to
std::unique_ptr<DirectMusic> s_DirectMusic;
std::unique_ptr<Sound::DeviceAccess> s_DeviceAccess; // null: the audio layer's own devices

// The (rate, flags) pairs tried on each device, in order: full quality at 22050 Hz, then
// at 44100 Hz, then reduced quality (8-bit, mono, both) at 44100 Hz before 22050 Hz.
struct DeviceMode
{
    std::uint32_t freq;
    std::uint32_t flags;
};
const DeviceMode kDeviceModes[] = {{22050, 0}, {44100, 0}, {44100, 1}, {44100, 2},
                                   {44100, 3}, {22050, 1}, {22050, 2}, {22050, 3}};

const char* DescribeDevice(int device)
{
    return s_DeviceAccess ? s_DeviceAccess->describe(device) : BASS_GetDeviceDescription(device);
}

bool OpenDevice(int device, std::uint32_t freq, std::uint32_t flags)
{
    return s_DeviceAccess ? s_DeviceAccess->open(device, freq, flags)
                          : BASS_Init(device, freq, flags, nullptr, nullptr);
}

// Logs the devices and returns how many there are (device 0 included).
int ListDevices()
{
    int count = 0;
    while (const char* description = DescribeDevice(count)) {
        Log("Audio Device %d: %s\n", count, description);
        ++count;
    }
    return count;
}

// Tries every mode on every real device; true when one opened.
bool OpenFirstWorkingDevice(int devCount)
{
    for (int device = 1; device < devCount; ++device) {
        for (const DeviceMode& mode : kDeviceModes) {
            if (OpenDevice(device, mode.freq, mode.flags)) {
                // The rate the device really runs at, which need not be the one asked for.
                BASS_INFO info = {};
                std::uint32_t freq = BASS_GetInfo(&info) && info.freq ? info.freq : mode.freq;
                Log("Audio initialized: device=%d, freq=%d, flags=%d\n", device,
                    static_cast<int>(freq), static_cast<int>(mode.flags));
                return true;
            }
            int code = BASS_ErrorGetCode();
            Log("%s\n", boost::str(boost::format("WARNING: Couldn't initialize BASS, device=%1%, "
                                                 "freq=%2%, flags=%3%, error={%4%: %5%}") %
                                   device % mode.freq % mode.flags % GetBassErrorName(code) %
                                   GetBassErrorDescription(code))
                            .c_str());
        }
    }
    return false;
}

void LogDeviceInfo()
{
    BASS_INFO info = {};
    BASS_GetInfo(&info);
    if (info.flags & BASS_INFO_EMULATED) {
        Log("Audio initialized: device does NOT have DirectSound support\n");
    }
    Log("BASS_INFO: flags: %d\n", static_cast<int>(info.flags));
    Log("BASS_INFO: hwsize: %d\n", static_cast<int>(info.hwsize));
    Log("BASS_INFO: hwfree: %d\n", static_cast<int>(info.hwfree));
    Log("BASS_INFO: free3d: %d\n", static_cast<int>(info.free3d));
    Log("BASS_INFO: minrate: %d\n", static_cast<int>(info.minrate));
    Log("BASS_INFO: maxrate: %d\n", static_cast<int>(info.maxrate));
    Log("BASS_INFO: eax: %d\n", info.eax ? 1 : 0);
    Log("BASS_INFO: minbuf: %d\n", static_cast<int>(info.minbuf));
    Log("BASS_INFO: dsver: %d\n", static_cast<int>(info.dsver));
    Log("BASS_INFO: latency: %d\n", static_cast<int>(info.latency));
    Log("BASS_INFO: speakers: %d\n", static_cast<int>(info.speakers));
    Log("BASS_INFO: driver: %s\n", info.driver ? info.driver : "");
    s_DSVersion = info.dsver;
}

// A message of the system's sound library, which would otherwise reach standard error.
void LogDriverMessage(const char* line)
{
    Log("%s\n", line);
}

void AttachConfigHelper()
{
    if (!s_ConfigHelper) {
        s_ConfigHelper = std::make_unique<SoundConfigHelper>();
    }
    s_ObservedConfig = Config::GetCurrent();
    if (s_ObservedConfig) {
        s_ObservedConfig->AttachObserver(s_ConfigHelper.get(), "music_volume");
        s_ObservedConfig->AttachObserver(s_ConfigHelper.get(), "sfx_volume");
    }
}

void DeleteConfigHelper()
{
    if (!s_ConfigHelper) {
        return;
    }
    // A deleted observer must not stay on the configuration's lists (when that
    // configuration still exists).
    if (s_ObservedConfig && s_ObservedConfig == Config::GetCurrent()) {
        s_ObservedConfig->DetachObserver(s_ConfigHelper.get(), "music_volume");
        s_ObservedConfig->DetachObserver(s_ConfigHelper.get(), "sfx_volume");
    }
    s_ObservedConfig = nullptr;
    s_ConfigHelper.reset();
}

void ThrowVolumeError(const char* format, unsigned volume)
{
    int code = BASS_ErrorGetCode();
    MAKO_THROW(Exception, boost::str(boost::format(format) % volume % GetBassErrorName(code) %
                                     GetBassErrorDescription(code)));
}

} // namespace

void Sound::SetDeviceAccess(const DeviceAccess* access)
{
    s_DeviceAccess = access ? std::make_unique<DeviceAccess>(*access) : nullptr;
}

void Sound::Init(bool enableSound)
{
    if (s_Active) {
        return;
    }
    bassx::DriverMessages::SetSink(&LogDriverMessage);
    int devCount = ListDevices();
    MAKO_ASSERT_MSG(devCount >= 1,
                    "No audio devices were found, including the \"no sound\" device");
    if (devCount == 1) {
        Log("No real audio devices were found.  All sounds are being disabled.\n");
        return;
    }
    if (!enableSound) {
        Log("Audio was disabled via the command line or a startup script.  Cancelling audio "
            "initialization.\n");
        return;
    }
    if (!OpenFirstWorkingDevice(devCount)) {
        Log("WARNING: Could not initialize audio on any device.  All sounds are being "
            "disabled.\n");
        return;
    }
    s_Active = true;
    s_GamePaused = false;
    s_AppPaused = false;
    AttachConfigHelper();
    LogDeviceInfo();
    BASS_SetConfig(BASS_CONFIG_PAUSE_NOPLAY, 0);
}

void Sound::InitDirectMusic(bool enableMusic)
{
    LogAtLevel(3, "Sound::InitDirectMusic\n");
    if (IsMusicActive()) {
        return;
    }
    if (s_Active && enableMusic) {
        if (dmusic::Succeeded(
                GetDirectMusic()->Init(BASS_GetDSoundObject(BASS_OBJECT_DS), s_DSVersion))) {
            // The volume observers were signalled before the music existed: start at the
            // music volume they set.
            s_DirectMusic->SetMasterVolume(MusicMasterVolume(GetMusicVolume()));
            return;
        }
        Log("Sound::InitDirectMusic Init Filed DirectMusic System Not Active\n");
    } else {
        Log("Sound::InitDirectMusic Sound System Not Active\n");
    }
    // The player stays, inactive: every music call returns at once.
}

void Sound::Quit()
{
    LogAtLevel(3, "Sound::Quit Active: %d\n", s_Active ? 1 : 0);
    if (s_Active) {
        // The music plays on the audio device: it goes first.
        LogAtLevel(3, "Sound::Quit SAFE_DELETE s_DirectMusic\n");
        if (s_DirectMusic)
            s_DirectMusic->ReportPlaying();
        s_DirectMusic.reset();
        LogAtLevel(3, "Sound::BASS_Free\n");
        BASS_Free();
        LogAtLevel(3, "Sound::Quit SAFE_DELETE s_ConfigHelper\n");
        DeleteConfigHelper();
        LogAtLevel(3, "Sound::Quit Finished\n");
    }
    // Without audio the inactive player is freed all the same, without a trace.
    s_DirectMusic.reset();
    DeleteConfigHelper();
    s_Active = false;
    s_GamePaused = false;
    s_AppPaused = false;
}

bool Sound::IsActive()
{
    return s_Active;
}

bool Sound::IsMusicActive()
{
    return s_DirectMusic && s_DirectMusic->IsActive();
}

DirectMusic* Sound::GetDirectMusic()
{
    if (!s_DirectMusic) {
        s_DirectMusic = std::make_unique<DirectMusic>();
    }
    return s_DirectMusic.get();
}

// --- Pausing ------------------------------------------------------------------------

void Sound::Pause()
{
    if (s_Active) {
        s_GamePaused = true;
        BASS_Pause();
    }
}

void Sound::Resume()
{
    if (s_Active) {
        s_GamePaused = false;
        // The window without the focus keeps the output held until ResumeApp.
        if (!s_AppPaused) {
            BASS_Start();
        }
    }
}

void Sound::PauseApp()
{
    if (!s_Active) {
        return;
    }
    BASS_Pause();
    if (!s_AppPaused) {
        // A second pause must not save the silenced volume over the real one.
        s_SavedMasterVolume = s_DirectMusic ? s_DirectMusic->GetMasterVolume() : 0;
        s_AppPaused = true;
    }
    if (IsMusicActive()) {
        s_DirectMusic->SetMasterVolume(-20000);
    }
}

void Sound::ResumeApp()
{
    if (!s_Active) {
        return;
    }
    if (!s_GamePaused) {
        BASS_Start();
    }
    if (s_AppPaused) {
        s_AppPaused = false;
        if (IsMusicActive()) {
            s_DirectMusic->SetMasterVolume(s_SavedMasterVolume);
        }
    } else if (IsMusicActive()) {
        s_DirectMusic->SetMasterVolume(MusicMasterVolume(GetMusicVolume()));
    }
}

bool Sound::IsGamePaused()
{
    return s_GamePaused;
}

bool Sound::IsAppPaused()
{
    return s_AppPaused;
}

// --- Global volumes -----------------------------------------------------------------

int Sound::MusicMasterVolume(unsigned volume)
{
    return volume == 0 ? -20000 : static_cast<int>(volume) * 22 - 2000;
}

unsigned Sound::GetMusicVolume()
{
    if (!s_Active) {
        return 0;
    }
    std::uint32_t volume = BASS_GetConfig(BASS_CONFIG_GVOL_STREAM);
    if (volume == BASS_DWORD_ERROR) {
        int code = BASS_ErrorGetCode();
        MAKO_THROW(Exception, boost::str(boost::format("Couldn't get music volume: %1%, \"%2%\"") %
                                         GetBassErrorName(code) % GetBassErrorDescription(code)));
    }
    return volume;
}

void Sound::SetMusicVolume(unsigned volume)
{
    if (!s_Active) {
        return;
    }
    MAKO_ASSERT(volume <= 100);
    if (BASS_SetConfig(BASS_CONFIG_GVOL_STREAM, volume) == BASS_DWORD_ERROR) {
        ThrowVolumeError("Couldn't set music volume to %1%: %2%, \"%3%\"", volume);
    }
    if (s_AppPaused) {
        // The music stays silent until the application resumes, then takes this volume.
        s_SavedMasterVolume = MusicMasterVolume(volume);
    } else if (IsMusicActive()) {
        s_DirectMusic->SetMasterVolume(MusicMasterVolume(volume));
    }
}

void Sound::SetSFXVolume(unsigned volume)
{
    if (!s_Active) {
        return;
    }
    MAKO_ASSERT(volume <= 100);
    if (BASS_SetConfig(BASS_CONFIG_GVOL_SAMPLE, volume) == BASS_DWORD_ERROR) {
        ThrowVolumeError("Couldn't set sfx volume to %1%: %2%, \"%3%\"", volume);
    }
}
