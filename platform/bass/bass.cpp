// The audio library's device, output and configuration calls.
#include "bass/bass.h"

#include "bass/AudioDevice.h"
#include "bass/ErrorCode.h"
#include "bass/Mixer.h"
#include "bass/MixerSource.h"
#include "bass/SoundDecoder.h"

#include <cstdio>
#include <string>

using bassx::Fail;
using bassx::Mixer;
using bassx::Ok;

namespace {

typedef std::lock_guard<std::mutex> Guard;

Mixer& TheMixer()
{
    return Mixer::Instance();
}

} // namespace

// ---- Devices and output --------------------------------------------------------------

const char* BASS_GetDeviceDescription(int device)
{
    static char description[160];
    if (device == -1) {
        device = 1;
    }
    if (device == 0) {
        Ok();
        return "No sound";
    }
    std::string driver;
    if (device == 1 && bassx::AudioDevice::Probe(driver)) {
        std::snprintf(description, sizeof(description), "Default output (SDL %s driver)",
                      driver.c_str());
        Ok();
        return description;
    }
    Fail(BASS_ERROR_DEVICE);
    return nullptr;
}

bool BASS_Init(int device, std::uint32_t freq, std::uint32_t flags, void*, const void*)
{
    Mixer& mixer = TheMixer();
    {
        Guard guard(mixer.Lock());
        if (mixer.Initialised()) {
            return Fail(BASS_ERROR_ALREADY);
        }
    }
    if (device == -1) {
        device = 1;
    }
    if (device != 0 && device != 1) {
        return Fail(BASS_ERROR_DEVICE);
    }
    std::string driver = "none";
    int bufferFrames = 0;
    if (device == 1) {
        if (flags & bassx::DEVICE_OFFLINE) {
            driver = "offline";
        } else if (!bassx::AudioDevice::Open(driver, bufferFrames)) {
            return Fail(BASS_ERROR_DRIVER);
        }
    }
    Guard guard(mixer.Lock());
    mixer.Start(device, flags, freq, driver, bufferFrames);
    return Ok();
}

bool BASS_Free()
{
    Mixer& mixer = TheMixer();
    {
        Guard guard(mixer.Lock());
        if (!mixer.Initialised()) {
            return Fail(BASS_ERROR_INIT);
        }
    }
    // Closing waits for the audio thread, which takes the lock: it must not be held here.
    bassx::AudioDevice::Close();
    Guard guard(mixer.Lock());
    mixer.Shutdown();
    return Ok();
}

bool BASS_GetInfo(BASS_INFO* info)
{
    Guard guard(TheMixer().Lock());
    if (!info) {
        return Fail(BASS_ERROR_ILLPARAM);
    }
    const Mixer& mixer = TheMixer();
    if (!mixer.Initialised()) {
        return Fail(BASS_ERROR_INIT);
    }
    const std::uint32_t bufferMs =
        (mixer.BufferFrames() * 1000 + bassx::MIX_RATE - 1) / bassx::MIX_RATE;
    *info = BASS_INFO{};
    info->flags = BASS_INFO_STEREO | BASS_INFO_16BIT | BASS_INFO_ANYRATE;
    info->minrate = 100;
    info->maxrate = 100000;
    info->minbuf = bufferMs;
    info->latency = bufferMs;
    info->initflags = mixer.InitFlags();
    info->speakers = 2;
    info->freq = bassx::MIX_RATE;
    info->driver = mixer.Driver().c_str();
    return Ok();
}

int BASS_ErrorGetCode()
{
    return bassx::LastError();
}

const char* BASS_ErrorGetDetail()
{
    return bassx::LastErrorDetail().c_str();
}

void BASS_SetStopCheck(bool (*stopping)())
{
    bassx::SoundDecoder::SetStopCheck(stopping);
}

void BASS_SetMemoryCheck(const char* (*admit)(std::uint64_t bytes))
{
    bassx::SoundDecoder::SetMemoryCheck(admit);
}

void* BASS_GetDSoundObject(std::uint32_t object)
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        Fail(BASS_ERROR_INIT);
        return nullptr;
    }
    if (object != BASS_OBJECT_DS) {
        Fail(BASS_ERROR_ILLPARAM);
        return nullptr;
    }
    Ok();
    return &TheMixer();
}

bool BASS_Start()
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        return Fail(BASS_ERROR_INIT);
    }
    TheMixer().SetPaused(false);
    return Ok();
}

bool BASS_Pause()
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        return Fail(BASS_ERROR_INIT);
    }
    TheMixer().SetPaused(true);
    return Ok();
}

bool BASS_Stop()
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        return Fail(BASS_ERROR_INIT);
    }
    TheMixer().StopAll();
    TheMixer().SetPaused(true);
    return Ok();
}

bool BASS_SetVolume(std::uint32_t volume)
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        return Fail(BASS_ERROR_INIT);
    }
    if (volume > 100) {
        return Fail(BASS_ERROR_ILLPARAM);
    }
    TheMixer().m_OutputVolume = volume;
    return Ok();
}

std::uint32_t BASS_GetVolume()
{
    Guard guard(TheMixer().Lock());
    if (!TheMixer().Initialised()) {
        Fail(BASS_ERROR_INIT);
        return BASS_DWORD_ERROR;
    }
    Ok();
    return TheMixer().m_OutputVolume;
}

std::uint32_t BASS_SetConfig(std::uint32_t option, std::uint32_t value)
{
    Guard guard(TheMixer().Lock());
    Mixer& mixer = TheMixer();
    switch (option) {
    case BASS_CONFIG_GVOL_SAMPLE:
    case BASS_CONFIG_GVOL_STREAM:
        if (value > 100) {
            Fail(BASS_ERROR_ILLPARAM);
            return BASS_DWORD_ERROR;
        }
        (option == BASS_CONFIG_GVOL_SAMPLE ? mixer.m_SampleVolume : mixer.m_StreamVolume) = value;
        Ok();
        return value;
    case BASS_CONFIG_PAUSE_NOPLAY:
        mixer.m_PauseNoPlay = value != 0;
        Ok();
        return mixer.m_PauseNoPlay ? 1 : 0;
    default:
        Fail(BASS_ERROR_ILLPARAM);
        return BASS_DWORD_ERROR;
    }
}

std::uint32_t BASS_GetConfig(std::uint32_t option)
{
    Guard guard(TheMixer().Lock());
    const Mixer& mixer = TheMixer();
    switch (option) {
    case BASS_CONFIG_GVOL_SAMPLE:
        Ok();
        return mixer.m_SampleVolume;
    case BASS_CONFIG_GVOL_STREAM:
        Ok();
        return mixer.m_StreamVolume;
    case BASS_CONFIG_PAUSE_NOPLAY:
        Ok();
        return mixer.m_PauseNoPlay ? 1 : 0;
    default:
        Fail(BASS_ERROR_ILLPARAM);
        return BASS_DWORD_ERROR;
    }
}
