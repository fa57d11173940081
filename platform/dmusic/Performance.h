#pragma once
// The music performance: plays one segment at a time through a FluidSynth synthesiser with
// the General MIDI SoundFont, under a master volume and a master tempo, and renders the
// result as interleaved float stereo.
//
// Time advances only by rendering: the sequencer moves by exactly the frames rendered, so
// the same calls and the same renders give the same output. Rendering normally happens on
// the audio thread (RenderInto) while the main thread plays, stops and steers: every public
// function is safe to call from any thread.
#include "dmusic/EventSink.h"
#include "dmusic/Segment.h"
#include "dmusic/SegmentState.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <vector>

typedef struct _fluid_hashtable_t fluid_settings_t;
typedef struct _fluid_synth_t fluid_synth_t;

namespace dmusic {

// PlaySegment flag: start at the default boundary, which in this layer is the next
// rendered frame.
constexpr std::uint32_t SEGF_DEFAULT = 1u << 14;

// Master volume range in hundredths of a decibel. At or below MASTER_VOLUME_SILENT the
// output is exact silence.
constexpr std::int32_t MASTER_VOLUME_MIN = -20000;
constexpr std::int32_t MASTER_VOLUME_SILENT = -10000;
constexpr std::int32_t MASTER_VOLUME_MAX = 2000;
// Master tempo range (a factor on every tempo of the music).
constexpr float MASTER_TEMPO_MIN = 0.01f;
constexpr float MASTER_TEMPO_MAX = 100.0f;

// Kinds of notification a performance can queue.
enum class NotificationType { Segment };

// What happened to a segment's playing.
enum class SegmentNotification {
    Start, // it began playing
    Loop,  // it jumped back from its loop end to its loop start
    End,   // it played to its end
    Abort  // it was stopped, or replaced by another segment
};

struct Notification
{
    SegmentNotification what;
    std::uint64_t segmentId;
    ReferenceTime referenceTime;
    MusicTime musicTime; // the performance's music time
};

// One channel message the performance sent to its synthesiser (for listeners).
struct PerformedEvent
{
    std::int64_t frame;    // output frames rendered before the message took effect
    MusicTime segmentTime; // its place in the segment
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

class Performance : private EventSink
{
public:
    static constexpr const char* kDefaultSoundFont = "/usr/share/sounds/sf2/TimGM6mb.sf2";
    // Voices the synthesiser can sound at once. The busiest shipped song needs 123 at its
    // own tempo and 189 at the fastest master tempo the game sets (2.0); each voice costs
    // about 9 kB whether it sounds or not.
    static constexpr int kPolyphony = 192;
    // Channel messages the performance sends its synthesiser per second of rendered music at
    // most, and at most kEventBurst at once (a chord, a loop's restart): the work a rendered
    // block costs is bounded whatever the song. Events due past the share wait for the next
    // block and the song's place waits with them (Segment::GetHeldBlocks counts such blocks);
    // every shipped song stays within it at the fastest master tempo the game sets.
    // Releasing a song's notes (stopping it, restarting its loop) is at most 16 * 131
    // messages and is never held; a restart waits, as an event does, until there is room.
    // PlaySegment starts the new song with the whole burst.
    static constexpr int kEventsPerSecond = 4000;
    static constexpr int kEventBurst = 512;
    // What releasing a song's notes sends at most (pedals, each key, all notes off; 16
    // channels), and what bringing the channels to a place in it does (the last program,
    // pressure, bend and each controller, and 64 parameter messages; 16 channels).
    static constexpr int kMostReleaseMessages = 16 * (3 + 128);
    static constexpr int kMostChaseMessages = 16 * (123 + 64);

    Performance();
    ~Performance() override;
    Performance(const Performance&) = delete;
    Performance& operator=(const Performance&) = delete;

    // Starts the synthesiser at `sampleRate` (8000..96000 Hz) with the given SoundFont.
    // ERR_INVALID_ARG for another rate, ERR_ALREADY_INITIALIZED when already started,
    // ERR_NO_SYNTHESIZER when the synthesiser cannot start, ERR_SOUNDFONT when the
    // SoundFont cannot be loaded (the performance then stays uninitialised).
    Result Init(int sampleRate = 44100, const std::string& soundFont = kDefaultSoundFont);
    // Stops everything and frees the synthesiser; Init may be called again afterwards.
    void CloseDown();
    bool IsInitialized() const;
    // A number that names this performance; unique in the process.
    std::uint64_t GetId() const { return m_Id; }
    int GetSampleRate() const;

    // Makes `segment` the one playing segment, from its start point, replacing (and
    // silencing) whatever played before. Flags: 0 or SEGF_DEFAULT (else ERR_INVALID_ARG).
    // The segment must be downloaded unless automatic download is on (ERR_NOT_DOWNLOADED).
    // *state (when given) receives the new playing.
    Result PlaySegment(Segment& segment, std::uint32_t flags,
                       std::shared_ptr<SegmentState>* state = nullptr);
    // Stops the playing segment when it matches: the segment given, the state given, or
    // anything when both are null. Its notes and pedals are released at once.
    Result Stop(const Segment* segment = nullptr, const SegmentState* state = nullptr);
    // RESULT_OK when the segment (or state; or anything, both null) is playing, else
    // RESULT_FALSE.
    Result IsPlaying(const Segment* segment, const SegmentState* state) const;
    // The current playing, or null.
    std::shared_ptr<SegmentState> GetSegmentState() const;
    // Time rendered so far: reference time, and music time (which runs at the playing
    // segment's tempo, 120 quarters a minute when idle, times the master tempo).
    Result GetTime(ReferenceTime* referenceTime, MusicTime* musicTime) const;

    // Master volume in hundredths of a decibel, MASTER_VOLUME_MIN..MASTER_VOLUME_MAX (else
    // ERR_INVALID_ARG); 0 is full level, the default.
    Result SetMasterVolume(std::int32_t volume);
    Result GetMasterVolume(std::int32_t* volume) const;
    // Master tempo factor, MASTER_TEMPO_MIN..MASTER_TEMPO_MAX (else ERR_INVALID_ARG);
    // 1 plays the music at its own tempo, 1.5 plays it in two thirds of the time.
    Result SetMasterTempo(float tempo);
    Result GetMasterTempo(float* tempo) const;
    // When on, PlaySegment downloads a segment that is not downloaded. Off by default.
    Result SetAutoDownload(bool on);

    // Queues notifications of this type from now on (at most 64 are kept; the oldest go).
    Result AddNotificationType(NotificationType type);
    Result RemoveNotificationType(NotificationType type);
    // Called (on the rendering thread, under the performance's lock) after each queued
    // notification; it must not call back into the performance. Empty to remove.
    void SetNotificationHandle(std::function<void()> signal);
    // Takes the oldest queued notification; false when there is none.
    bool GetNotification(Notification* notification);

    // Called (on the rendering thread, under the lock) for every channel message sent to
    // the synthesiser; it must not call back into the performance. Empty to remove.
    void SetEventListener(std::function<void(const PerformedEvent&)> listener);
    // Voices the synthesiser is sounding (notes still in their release included).
    int GetActiveVoiceCount() const;

    // The synthesiser holds in memory only the instruments in use. PinPresets loads the
    // samples of these instruments now and keeps them until as many UnpinPresets name them
    // again (pins are counted per instrument, so segments may share one). A bank the
    // SoundFont lacks pins bank 0 of the program instead. Both do nothing before Init.
    void PinPresets(const std::vector<Preset>& presets);
    void UnpinPresets(const std::vector<Preset>& presets);
    // Bytes the synthesiser took from the allocator for itself, its SoundFont and the
    // instruments pinned (measured around those calls, so an estimate); 0 before Init.
    std::int64_t GetSynthBytes() const;

    // Renders `frames` frames at `sampleRate` and ADDS them into the interleaved stereo
    // buffer. A rate other than the current one retunes the synthesiser first; a rate
    // outside 8000..96000 Hz, or an uninitialised performance, leaves the buffer untouched.
    void Render(float* stereo, int frames, int sampleRate);
    // The same at the performance's own rate.
    void Render(float* stereo, int frames);
    // Offline rendering: `frames` frames from silence at the performance's own rate.
    std::vector<float> RenderFrames(int frames);

private:
    void Send(std::uint8_t status, std::uint8_t data1, std::uint8_t data2, MusicTime time) override;
    bool HasRoom() const override { return m_Room >= 1.0; }
    void RenderLocked(float* stereo, int frames);
    void Synthesize(float* stereo, int frames);
    bool SetSampleRateLocked(int sampleRate);
    void StopLocked(SegmentNotification why);
    // The instrument the synthesiser plays for preset: bank 0 of the program when the
    // SoundFont lacks the bank asked for.
    Preset ResolveLocked(const Preset& preset) const;
    void Notify(SegmentNotification what, const SegmentState& state);
    ReferenceTime ReferenceTimeLocked() const;

    const std::uint64_t m_Id;
    mutable std::mutex m_Mutex;
    fluid_settings_t* m_Settings = nullptr;
    fluid_synth_t* m_Synth = nullptr;
    int m_SoundFontId = 0;
    std::map<Preset, int> m_Pins; // pin counts per instrument played
    std::int64_t m_SynthBytes = 0;
    int m_SampleRate = 0;
    std::int32_t m_MasterVolume = 0;
    float m_MasterTempo = 1.0f;
    bool m_AutoDownload = false;
    std::shared_ptr<SegmentState> m_Primary;
    // Messages the synthesiser may still take now (see kEventsPerSecond); below zero after
    // a release that ran past it.
    double m_Room = kEventBurst;

    double m_MusicTime = 0;
    std::int64_t m_FrameCount = 0;   // frames rendered since Init
    std::int64_t m_FramesAtRate = 0; // frames rendered since the last rate change
    ReferenceTime m_ReferenceBase = 0;

    bool m_NotifySegments = false;
    std::deque<Notification> m_Notifications;
    std::function<void()> m_NotificationSignal;
    std::function<void(const PerformedEvent&)> m_Listener;

    std::vector<float> m_Left;
    std::vector<float> m_Right;
};

// The music source for the audio output: renders `frames` frames of the Performance that
// `performance` points at, at `sampleRate`, ADDING them into interleaved stereo.
// Does nothing when `performance` is null.
void RenderInto(float* stereo, int frames, int sampleRate, void* performance);

} // namespace dmusic
