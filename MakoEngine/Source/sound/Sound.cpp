// The Sound resource, the by-name functions and the channel functions.
#include "sound/Sound.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "perf/PerformanceCounterManager.h"
#include "perf/ScopedPerformanceTimer.h"
#include "resources/MemoryBudget.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceMemory.h"
#include "resources/ResourceType.h"
#include "sound/BassErrorText.h"

#include <boost/format.hpp>

#include <utility>

namespace {

Sound::PlayListener& PlayListenerSlot()
{
    static Sound::PlayListener listener;
    return listener;
}

// Whether the configuration holds the number 0 for a volume key. Without a
// configuration, or with no number under the key, sounds play.
bool ConfiguredVolumeIsZero(const char* key)
{
    Config* config = Config::GetCurrent();
    if (!config) {
        return false;
    }
    LuaPlus::LuaObject value = config->GetObject(key);
    return value.IsNumber() && value.GetNumber() == 0.0;
}

// Logs a failure of a sample play at level 1: the format's three "%s" are the sound's
// name, then the current error's name and description.
void LogSampleFailure(const char* format, const std::string& name)
{
    int code = BASS_ErrorGetCode();
    LogAtLevel(1, format, name.c_str(), GetBassErrorName(code), GetBassErrorDescription(code));
}

// Throws SoundControlException from a template whose %1% is the handle and %2%, %3% the
// current error's name and description, unless the error is an ended channel's.
void CheckChannelCall(bool ok, const char* format, std::uint32_t handle)
{
    if (ok) {
        return;
    }
    int code = BASS_ErrorGetCode();
    if (code == BASS_ERROR_HANDLE) {
        return;
    }
    MAKO_THROW(SoundControlException,
               boost::str(boost::format(format) % handle % GetBassErrorName(code) %
                          GetBassErrorDescription(code)));
}

} // namespace

Sound::Sound(const std::string& name) : m_Name(name)
{
    Config* config = Config::GetCurrent();
    if (config) {
        LuaPlus::LuaObject range = config->GetObject("soundDoNotPlayAgainRange");
        if (range.IsNumber()) {
            m_DoNotPlayAgainRange = static_cast<float>(range.GetNumber());
        }
    }
}

Sound::~Sound()
{
    MemoryBudget::Hold(-m_DecodedBytes);
    if (m_CountedBytes != 0) {
        AddResourceMemoryUsage(-m_CountedBytes, "Sound");
    }
    // After the device was closed the handles are no longer valid; freeing them then
    // fails harmlessly.
    if (m_Sample) {
        BASS_SampleFree(m_Sample);
    }
    if (m_Stream) {
        BASS_StreamFree(m_Stream);
    }
}

void Sound::CountMemoryUsage()
{
    int bytes = CalcMemoryUsage();
    AddResourceMemoryUsage(bytes - m_CountedBytes, "Sound");
    m_CountedBytes = bytes;
}

void Sound::HoldDecodedBytes(bool decodedWhole)
{
    long long bytes = 0;
    if (m_Sample) {
        BASS_SAMPLE info = {};
        if (BASS_SampleGetInfo(m_Sample, &info))
            bytes = info.length;
    } else if (m_Stream && decodedWhole) {
        const QWORD length = BASS_ChannelGetLength(m_Stream);
        bytes = length == BASS_QWORD_ERROR ? 0 : static_cast<long long>(length);
    }
    MemoryBudget::Hold(bytes - m_DecodedBytes);
    m_DecodedBytes = bytes;
}

long long Sound::ReleasableBytes()
{
    const std::uint32_t channel = m_Stream ? m_Stream : m_Channel;
    if (channel != 0 && BASS_ChannelIsActive(channel) != BASS_ACTIVE_STOPPED)
        return 0;
    return m_DecodedBytes;
}

int Sound::CalcMemoryUsage()
{
    if (m_Stream) {
        // All bits set (-1) reports a failure.
        long long size = static_cast<long long>(BASS_ChannelGetLength(m_Stream));
        int code = BASS_ErrorGetCode();
        MAKO_ASSERT_MSG(size != -1,
                        boost::str(boost::format("A stream's size could not be calculated:\n"
                                                 "name = %1%\nerror = %2%, %3%") %
                                   m_Name % GetBassErrorName(code) %
                                   GetBassErrorDescription(code)));
        return static_cast<int>(size);
    }
    if (m_Sample) {
        BASS_SAMPLE info = {};
        bool result = BASS_SampleGetInfo(m_Sample, &info);
        int code = BASS_ErrorGetCode();
        MAKO_ASSERT_MSG(
            result, boost::str(boost::format("A sample's size could not be calculated:\n"
                                             "name = %1%\nerror = %2%, %3%") %
                               m_Name % GetBassErrorName(code) % GetBassErrorDescription(code)));
        return static_cast<int>((info.flags & BASS_SAMPLE_8BITS) ? info.length : info.length * 2);
    }
    return 0;
}

std::uint32_t Sound::PlaySound(bool loop)
{
    return m_Stream ? PlayStream(loop) : PlaySample(loop);
}

std::uint32_t Sound::PlayStream(bool loop)
{
    std::uint32_t state = BASS_ChannelIsActive(m_Stream);
    if (state == BASS_ACTIVE_STOPPED) {
        BASS_ChannelSetPosition(m_Stream, 0);
    } else if (state > BASS_ACTIVE_PAUSED) {
        MAKO_ASSERT_MSG(
            false, boost::str(boost::format("Unknown return value from BASS_ChannelIsActive: %1%") %
                              state));
    }
    if (ConfiguredVolumeIsZero("music_volume")) {
        return 0;
    }
    // The loop flag is decided by every play, so a stream once looped can play once again.
    if (!BASS_ChannelSetFlags(m_Stream, loop ? BASS_SAMPLE_LOOP : 0)) {
        int code = BASS_ErrorGetCode();
        MAKO_THROW(SoundControlException,
                   boost::str(boost::format("Couldn't BASS_ChannelSetFlags stream, name=%1%, "
                                            "handle=%2%, %3%, %4%") %
                              m_Name % m_Stream % GetBassErrorName(code) %
                              GetBassErrorDescription(code)));
    }
    if (!BASS_ChannelPlay(m_Stream, false)) {
        int code = BASS_ErrorGetCode();
        MAKO_THROW(
            SoundControlException,
            boost::str(boost::format("Couldn't play stream, name=%1%, handle=%2%, %3%, %4%") %
                       m_Name % m_Stream % GetBassErrorName(code) % GetBassErrorDescription(code)));
    }
    return m_Stream;
}

bool Sound::IsRepeatTooSoon()
{
    if (m_Channel == 0 || BASS_ChannelIsActive(m_Channel) != BASS_ACTIVE_PLAYING) {
        LogAtLevel(3, "%s:NOT PLAYING YET\n", m_Name.c_str());
        return false;
    }
    LogAtLevel(3, "%s:ISPLAYING\n", m_Name.c_str());
    QWORD position = BASS_ChannelGetPosition(m_Channel);
    if (position == BASS_QWORD_ERROR) {
        LogSampleFailure("Couldn't get position of  sound: %s, %s, %s\n", m_Name);
    }
    if (static_cast<double>(position) < m_DoNotPlayAgainRange) {
        LogAtLevel(3, "%s:REPEAT NOTPLAYED\n", m_Name.c_str());
        return true;
    }
    return false;
}

std::uint32_t Sound::PlaySample(bool loop)
{
    if (ConfiguredVolumeIsZero("sfx_volume")) {
        return 0;
    }
    LogAtLevel(3, "%s:CHECKING\n", m_Name.c_str());
    if (IsRepeatTooSoon()) {
        return m_Channel;
    }
    ScopedPerformanceTimer timer("Sound");
    m_Channel = BASS_SampleGetChannel(m_Sample, false);
    if (m_Channel == 0) {
        if (BASS_ErrorGetCode() != BASS_ERROR_NOCHAN) {
            LogSampleFailure("Couldn't BASS_SampleGetChannel: %s, %s, %s\n", m_Name);
        }
        return 0;
    }
    PerformanceCounterManager::AddToIntCounter("Sounds Played", 1);
    LogAtLevel(3, "%s:FIRST PLAY\n", m_Name.c_str());
    if (!BASS_ChannelSetAttributes(m_Channel, -1, m_Volume, m_Pan)) {
        LogSampleFailure("Couldn't BASS_ChannelSetAttributes sample: %s, %s, %s\n", m_Name);
        return 0;
    }
    if (loop && !BASS_ChannelSetFlags(m_Channel, BASS_SAMPLE_LOOP)) {
        LogSampleFailure("Couldn't BASS_ChannelSetFlags sample: %s, %s, %s\n", m_Name);
        return 0;
    }
    if (!BASS_ChannelPlay(m_Channel, true)) {
        LogSampleFailure("Couldn't BASS_ChannelPlay sample: %s, %s, %s\n", m_Name);
        return 0;
    }
    return m_Channel;
}

void Sound::StopSound()
{
    std::uint32_t handle = m_Stream ? m_Stream : m_Sample;
    bool ok = m_Stream ? BASS_ChannelStop(m_Stream) : BASS_SampleStop(m_Sample);
    if (!ok) {
        int code = BASS_ErrorGetCode();
        MAKO_THROW(SoundControlException,
                   boost::str(boost::format("Couldn't stop sound, handle=%1%, %2%, %3%") % handle %
                              GetBassErrorName(code) % GetBassErrorDescription(code)));
    }
}

void Sound::SetVolume(int volume)
{
    m_Volume = volume;
    if (m_Sample) {
        BASS_ChannelSetAttributes(m_Channel, -1, volume, kPanUnset);
    }
}

void Sound::SlideVolume(int volume, unsigned milliseconds)
{
    m_Volume = volume;
    if (m_Sample) {
        BASS_ChannelSlideAttributes(m_Channel, -1, volume, kPanUnset, milliseconds);
    }
}

void Sound::PanChannel(int pan)
{
    if (m_Sample) {
        SetChannelPan(m_Channel, pan);
    }
}

bool Sound::IsPlaying()
{
    return m_Channel != 0 && BASS_ChannelIsActive(m_Channel) == BASS_ACTIVE_PLAYING;
}

// --- By resource name ---------------------------------------------------------------

Sound* Sound::GetSound(const std::string& name)
{
    MAKO_ASSERT_MSG(Sound::IsActive() == true,
                    "Sounds cannot be retrieved when the audio subsystem has been disabled.");
    ResourceManager* manager = GetResourceManager();
    MAKO_ASSERT(manager != 0);
    return static_cast<Sound*>(manager->AcquireOfKind(name, RESOURCE_SOUND));
}

Sound* Sound::FindSound(const std::string& name, bool load)
{
    // What the game goes on without is the resource manager's record: a damaged sound is
    // logged there, once, by the load itself; a missing one is logged here, once.
    ResourceManager* manager = GetResourceManager();
    if (!manager || manager->IsLeftOut(name))
        return nullptr;
    if (!load) {
        ResourceInfo* info = manager->FindInfo(name, true);
        return info ? dynamic_cast<Sound*>(info->GetResource()) : nullptr;
    }
    try {
        return GetSound(name);
    } catch (const ResourceKindError& e) {
        if (manager->RecordMissing(name))
            Log("Warning: %s; the game plays without it\n", e.GetMessage().c_str());
    } catch (const ResourceNotFoundException&) {
        if (manager->RecordMissing(name))
            Log("Warning: the sound \"%s\" is not among the resources; the game plays without "
                "it\n",
                name.c_str());
    } catch (const ResourceLoadError&) {
        // Damaged: logged once by the resource manager, which will not load it again.
    }
    return nullptr;
}

std::uint32_t Sound::PlaySound(const std::string& name, bool loop)
{
    if (!IsActive() || name.empty()) {
        return 0;
    }
    Sound* sound = FindSound(name, true);
    if (!sound)
        return 0;
    const std::uint32_t channel = sound->PlaySound(loop);
    if (PlayListenerSlot())
        PlayListenerSlot()(name, channel, sound->GetVolume(), sound->GetPan());
    return channel;
}

void Sound::SetPlayListener(PlayListener listener)
{
    PlayListenerSlot() = std::move(listener);
}

std::uint32_t Sound::PlaySound(const char* name, bool loop)
{
    return PlaySound(std::string(name ? name : ""), loop);
}

void Sound::StopSound(const std::string& name)
{
    // Only a sound that was loaded can be playing: stopping never loads one.
    if (Sound* sound = IsActive() ? FindSound(name, false) : nullptr)
        sound->StopSound();
}

void Sound::SetVolume(const std::string& name, int volume)
{
    if (Sound* sound = IsActive() ? FindSound(name, true) : nullptr)
        sound->SetVolume(volume);
}

void Sound::SlideVolume(const std::string& name, int volume, unsigned milliseconds)
{
    if (Sound* sound = IsActive() ? FindSound(name, true) : nullptr)
        sound->SlideVolume(volume, milliseconds);
}

void Sound::SetPan(const std::string& name, int pan)
{
    if (Sound* sound = IsActive() ? FindSound(name, true) : nullptr)
        sound->m_Pan = pan;
}

void Sound::PanChannel(const std::string& name, int pan)
{
    if (Sound* sound = IsActive() ? FindSound(name, false) : nullptr)
        sound->PanChannel(pan);
}

bool Sound::IsPlaying(const std::string& name)
{
    Sound* sound = IsActive() ? FindSound(name, false) : nullptr;
    return sound && sound->IsPlaying();
}

// --- By channel handle ----------------------------------------------------------------

void Sound::StopChannel(std::uint32_t handle)
{
    if (handle != 0) {
        CheckChannelCall(BASS_ChannelStop(handle), "Couldn't stop channel, handle=%1%, %2%, %3%",
                         handle);
    }
}

std::uint32_t Sound::GetChannelFrequency(std::uint32_t handle)
{
    if (handle == 0) {
        return 0;
    }
    std::uint32_t frequency = 0;
    bool ok = BASS_ChannelGetAttributes(handle, &frequency, nullptr, nullptr);
    CheckChannelCall(ok, "Couldn't get channel frequency, handle=%1%, %2%, %3%", handle);
    return ok ? frequency : 0;
}

void Sound::SetChannelPan(std::uint32_t handle, int pan)
{
    if (handle != 0) {
        CheckChannelCall(BASS_ChannelSetAttributes(handle, -1, -1, pan),
                         "Couldn't set channel panning, handle=%1%, %2%, %3%", handle);
    }
}

void Sound::SetChannelVolume(std::uint32_t handle, int volume)
{
    if (handle != 0) {
        CheckChannelCall(BASS_ChannelSetAttributes(handle, -1, volume, kPanUnset),
                         "Couldn't set channel volume, handle=%1%, %2%, %3%", handle);
    }
}

void Sound::SetChannelFrequency(std::uint32_t handle, int frequency)
{
    if (handle != 0) {
        CheckChannelCall(BASS_ChannelSetAttributes(handle, frequency, -1, kPanUnset),
                         "Couldn't set channel frequency, handle=%1%, %2%, %3%", handle);
    }
}
