#include "dmusic/Performance.h"

#include "dmusic/SynthLog.h"

#include <fluidsynth.h>

#include <malloc.h>

#include <algorithm>
#include <atomic>
#include <cmath>

namespace dmusic {
namespace {

std::atomic<std::uint64_t> gNextPerformanceId{1};

constexpr int kMinSampleRate = 8000;
constexpr int kMaxSampleRate = 96000;
// Frames synthesised per step at most; steps are shorter where an event falls due.
constexpr int kChunkFrames = 512;
// Music time per second when no segment plays (120 quarters a minute).
constexpr double kIdleMusicTimePerSecond = 2.0 * kMusicTimePerQuarter;
// The synthesiser's own output level: leaves headroom for many voices at master volume 0.
constexpr double kSynthGain = 0.5;
constexpr std::size_t kMaxNotifications = 64;

// Bytes the allocator hands out now (in its arenas and in blocks of their own).
std::int64_t AllocatedBytes()
{
    struct mallinfo2 info = mallinfo2();
    return std::int64_t(info.uordblks) + std::int64_t(info.hblkhd);
}

// Linear gain of a master volume in hundredths of a decibel.
float GainOf(std::int32_t volume)
{
    if (volume <= MASTER_VOLUME_SILENT) {
        return 0.0f;
    }
    return float(std::pow(10.0, volume / 2000.0));
}

} // namespace

Performance::Performance() : m_Id(gNextPerformanceId++) {}

Performance::~Performance()
{
    CloseDown();
}

Result Performance::Init(int sampleRate, const std::string& soundFont)
{
    if (sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate) {
        return ERR_INVALID_ARG;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Synth) {
        return ERR_ALREADY_INITIALIZED;
    }
    // The synthesiser's messages go to the collector, never to standard error.
    CaptureSynthMessages();
    fluid_settings_t* settings = new_fluid_settings();
    if (!settings) {
        return ERR_OUT_OF_MEMORY;
    }
    fluid_settings_setnum(settings, "synth.sample-rate", sampleRate);
    fluid_settings_setnum(settings, "synth.gain", kSynthGain);
    fluid_settings_setint(settings, "synth.cpu-cores", 1);
    fluid_settings_setint(settings, "synth.polyphony", kPolyphony);
    // Only the instruments in use are held in memory: those of the channels' current
    // programs and those pinned by downloaded segments (PinPresets).
    fluid_settings_setint(settings, "synth.dynamic-sample-loading", 1);
    const std::int64_t before = AllocatedBytes();
    fluid_synth_t* synth = new_fluid_synth(settings);
    if (!synth) {
        delete_fluid_settings(settings);
        return ERR_NO_SYNTHESIZER;
    }
    const int soundFontId = fluid_synth_sfload(synth, soundFont.c_str(), 1);
    if (soundFontId == FLUID_FAILED) {
        delete_fluid_synth(synth);
        delete_fluid_settings(settings);
        return ERR_SOUNDFONT;
    }
    m_SynthBytes = std::max<std::int64_t>(0, AllocatedBytes() - before);
    m_Settings = settings;
    m_Synth = synth;
    m_SoundFontId = soundFontId;
    m_Pins.clear();
    m_SampleRate = sampleRate;
    m_MusicTime = 0;
    m_FrameCount = 0;
    m_FramesAtRate = 0;
    m_ReferenceBase = 0;
    m_Room = kEventBurst;
    m_Left.assign(kChunkFrames, 0.0f);
    m_Right.assign(kChunkFrames, 0.0f);
    return RESULT_OK;
}

void Performance::CloseDown()
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return;
    }
    StopLocked(SegmentNotification::Abort);
    delete_fluid_synth(m_Synth);
    delete_fluid_settings(m_Settings);
    m_Synth = nullptr;
    m_Settings = nullptr;
    m_Pins.clear();
    m_SynthBytes = 0;
}

Preset Performance::ResolveLocked(const Preset& preset) const
{
    fluid_sfont_t* soundFont = fluid_synth_get_sfont_by_id(m_Synth, m_SoundFontId);
    if (preset.bank != 0 && preset.bank != kDrumBank && soundFont &&
        !fluid_sfont_get_preset(soundFont, preset.bank, preset.program)) {
        // A bank the SoundFont lacks plays the program of bank 0 instead.
        return {0, preset.program};
    }
    return preset;
}

void Performance::PinPresets(const std::vector<Preset>& presets)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return;
    }
    const std::int64_t before = AllocatedBytes();
    for (const Preset& preset : presets) {
        const Preset played = ResolveLocked(preset);
        if (m_Pins[played]++ == 0) {
            fluid_synth_pin_preset(m_Synth, m_SoundFontId, played.bank, played.program);
        }
    }
    m_SynthBytes += AllocatedBytes() - before;
}

void Performance::UnpinPresets(const std::vector<Preset>& presets)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return;
    }
    const std::int64_t before = AllocatedBytes();
    for (const Preset& preset : presets) {
        const Preset played = ResolveLocked(preset);
        auto pin = m_Pins.find(played);
        if (pin == m_Pins.end() || --pin->second > 0) {
            continue;
        }
        m_Pins.erase(pin);
        fluid_synth_unpin_preset(m_Synth, m_SoundFontId, played.bank, played.program);
    }
    m_SynthBytes = std::max<std::int64_t>(0, m_SynthBytes + AllocatedBytes() - before);
}

std::int64_t Performance::GetSynthBytes() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_SynthBytes;
}

bool Performance::IsInitialized() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Synth != nullptr;
}

int Performance::GetSampleRate() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_SampleRate;
}

Result Performance::PlaySegment(Segment& segment, std::uint32_t flags,
                                std::shared_ptr<SegmentState>* state)
{
    if (state) {
        state->reset();
    }
    if (flags & ~SEGF_DEFAULT) {
        return ERR_INVALID_ARG;
    }
    bool autoDownload;
    {
        std::lock_guard<std::mutex> lock(m_Mutex);
        if (!m_Synth) {
            return ERR_NOT_INITIALIZED;
        }
        autoDownload = m_AutoDownload;
    }
    if (!segment.IsDownloaded(*this)) {
        Result r = autoDownload ? segment.Download(*this) : ERR_NOT_DOWNLOADED;
        if (Failed(r)) {
            return r;
        }
    }
    // Made before the lock is taken: working out its chases reads the whole song.
    auto playing = std::make_shared<SegmentState>(segment, 0);
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    playing->m_StartTime = MusicTime(m_MusicTime);
    StopLocked(SegmentNotification::Abort);
    // A new song starts with the whole share: what the last one sent is not charged to it.
    m_Room = kEventBurst;
    m_Primary = playing;
    playing->Begin(*this);
    Notify(SegmentNotification::Start, *playing);
    if (state) {
        *state = playing;
    }
    return RESULT_OK;
}

Result Performance::Stop(const Segment* segment, const SegmentState* state)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    if (m_Primary && (!segment || segment->GetId() == m_Primary->GetSegmentId()) &&
        (!state || state == m_Primary.get())) {
        StopLocked(SegmentNotification::Abort);
    }
    return RESULT_OK;
}

void Performance::StopLocked(SegmentNotification why)
{
    if (!m_Primary) {
        return;
    }
    if (m_Primary->IsPlaying()) {
        m_Primary->Finish(*this);
    }
    Notify(why, *m_Primary);
    m_Primary.reset();
}

Result Performance::IsPlaying(const Segment* segment, const SegmentState* state) const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    bool match = m_Primary && m_Primary->IsPlaying() &&
                 (!segment || segment->GetId() == m_Primary->GetSegmentId()) &&
                 (!state || state == m_Primary.get());
    return match ? RESULT_OK : RESULT_FALSE;
}

std::shared_ptr<SegmentState> Performance::GetSegmentState() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Primary;
}

Result Performance::GetTime(ReferenceTime* referenceTime, MusicTime* musicTime) const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    if (referenceTime) {
        *referenceTime = ReferenceTimeLocked();
    }
    if (musicTime) {
        *musicTime = MusicTime(m_MusicTime);
    }
    return RESULT_OK;
}

ReferenceTime Performance::ReferenceTimeLocked() const
{
    return m_ReferenceBase + m_FramesAtRate * kReferenceTimePerSecond / m_SampleRate;
}

Result Performance::SetMasterVolume(std::int32_t volume)
{
    if (volume < MASTER_VOLUME_MIN || volume > MASTER_VOLUME_MAX) {
        return ERR_INVALID_ARG;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    m_MasterVolume = volume;
    return RESULT_OK;
}

Result Performance::GetMasterVolume(std::int32_t* volume) const
{
    if (!volume) {
        return ERR_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    *volume = m_MasterVolume;
    return RESULT_OK;
}

Result Performance::SetMasterTempo(float tempo)
{
    if (!(tempo >= MASTER_TEMPO_MIN && tempo <= MASTER_TEMPO_MAX)) {
        return ERR_INVALID_ARG; // also NaN
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    m_MasterTempo = tempo;
    return RESULT_OK;
}

Result Performance::GetMasterTempo(float* tempo) const
{
    if (!tempo) {
        return ERR_POINTER;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    *tempo = m_MasterTempo;
    return RESULT_OK;
}

Result Performance::SetAutoDownload(bool on)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth) {
        return ERR_NOT_INITIALIZED;
    }
    m_AutoDownload = on;
    return RESULT_OK;
}

Result Performance::AddNotificationType(NotificationType type)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_NotifySegments = true;
    return RESULT_OK;
}

Result Performance::RemoveNotificationType(NotificationType type)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_NotifySegments = false;
    return RESULT_OK;
}

void Performance::SetNotificationHandle(std::function<void()> signal)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_NotificationSignal = std::move(signal);
}

bool Performance::GetNotification(Notification* notification)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (m_Notifications.empty()) {
        return false;
    }
    if (notification) {
        *notification = m_Notifications.front();
    }
    m_Notifications.pop_front();
    return true;
}

void Performance::Notify(SegmentNotification what, const SegmentState& state)
{
    if (!m_NotifySegments) {
        return;
    }
    if (m_Notifications.size() >= kMaxNotifications) {
        m_Notifications.pop_front();
    }
    m_Notifications.push_back(
        {what, state.GetSegmentId(), ReferenceTimeLocked(), MusicTime(m_MusicTime)});
    if (m_NotificationSignal) {
        m_NotificationSignal();
    }
}

void Performance::SetEventListener(std::function<void(const PerformedEvent&)> listener)
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    m_Listener = std::move(listener);
}

int Performance::GetActiveVoiceCount() const
{
    std::lock_guard<std::mutex> lock(m_Mutex);
    return m_Synth ? fluid_synth_get_active_voice_count(m_Synth) : 0;
}

void Performance::Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, MusicTime time)
{
    int ch = status & 0x0F;
    switch (status & 0xF0) {
    case 0x80:
        fluid_synth_noteoff(m_Synth, ch, data1);
        break;
    case 0x90:
        fluid_synth_noteon(m_Synth, ch, data1, data2);
        break;
    case 0xA0:
        fluid_synth_key_pressure(m_Synth, ch, data1, data2);
        break;
    case 0xB0:
        fluid_synth_cc(m_Synth, ch, data1, data2);
        break;
    case 0xC0:
        fluid_synth_program_change(m_Synth, ch, data1);
        break;
    case 0xD0:
        fluid_synth_channel_pressure(m_Synth, ch, data1);
        break;
    case 0xE0:
        fluid_synth_pitch_bend(m_Synth, ch, data1 | (data2 << 7));
        break;
    default:
        return;
    }
    m_Room -= 1.0;
    if (m_Listener) {
        m_Listener({m_FrameCount, time, status, data1, data2});
    }
}

void Performance::Render(float* stereo, int frames, int sampleRate)
{
    if (!stereo || frames <= 0) {
        return;
    }
    std::lock_guard<std::mutex> lock(m_Mutex);
    if (!m_Synth || !SetSampleRateLocked(sampleRate)) {
        return;
    }
    RenderLocked(stereo, frames);
}

void Performance::Render(float* stereo, int frames)
{
    Render(stereo, frames, GetSampleRate());
}

std::vector<float> Performance::RenderFrames(int frames)
{
    std::vector<float> out(std::size_t(std::max(frames, 0)) * 2, 0.0f);
    Render(out.data(), frames);
    return out;
}

bool Performance::SetSampleRateLocked(int sampleRate)
{
    if (sampleRate == m_SampleRate) {
        return true;
    }
    if (sampleRate < kMinSampleRate || sampleRate > kMaxSampleRate) {
        return false;
    }
    m_ReferenceBase = ReferenceTimeLocked();
    m_FramesAtRate = 0;
    m_SampleRate = sampleRate;
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Wdeprecated-declarations"
    // Still the way to retune a running synthesiser in this FluidSynth series; it takes
    // effect from the next block rendered.
    fluid_synth_set_sample_rate(m_Synth, float(sampleRate));
#pragma GCC diagnostic pop
    return true;
}

void Performance::RenderLocked(float* stereo, int frames)
{
    while (frames > 0) {
        int step = std::min(frames, kChunkFrames);
        double speed = kIdleMusicTimePerSecond * m_MasterTempo;
        bool held = false;
        if (m_Primary && m_Primary->IsPlaying()) {
            SegmentState::Progress progress = m_Primary->Sequence(*this, &held);
            if (progress == SegmentState::Progress::Looped) {
                Notify(SegmentNotification::Loop, *m_Primary);
            } else if (progress == SegmentState::Progress::Ended) {
                StopLocked(SegmentNotification::End);
            }
        }
        if (held) {
            // The share of messages is spent: the song waits a whole step for room.
            m_Primary->CountHeldBlock();
            speed = 0;
        } else if (m_Primary) {
            speed = m_Primary->MusicTimePerSecond(m_MasterTempo);
            double perFrame = speed / m_SampleRate;
            double ahead = std::ceil((m_Primary->NextStop() - m_Primary->Position()) / perFrame);
            step = int(std::max(1.0, std::min(double(step), ahead)));
        }
        Synthesize(stereo, step);
        m_Room =
            std::min(double(kEventBurst), m_Room + double(kEventsPerSecond) * step / m_SampleRate);
        double advance = speed * step / m_SampleRate;
        if (m_Primary) {
            m_Primary->Advance(advance);
        }
        m_MusicTime += advance;
        m_FrameCount += step;
        m_FramesAtRate += step;
        stereo += 2 * step;
        frames -= step;
    }
}

void Performance::Synthesize(float* stereo, int frames)
{
    fluid_synth_write_float(m_Synth, frames, m_Left.data(), 0, 1, m_Right.data(), 0, 1);
    float gain = GainOf(m_MasterVolume);
    if (gain == 0.0f) {
        return; // the music keeps running, silently
    }
    for (int i = 0; i < frames; ++i) {
        stereo[2 * i] += gain * m_Left[i];
        stereo[2 * i + 1] += gain * m_Right[i];
    }
}

void RenderInto(float* stereo, int frames, int sampleRate, void* performance)
{
    if (performance) {
        static_cast<Performance*>(performance)->Render(stereo, frames, sampleRate);
    }
}

} // namespace dmusic
