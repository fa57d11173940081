#pragma once
// One playing of a Segment on a Performance: a copy of the segment's settings taken when it
// started, and the sequencer cursor that walks its events as the performance renders.
//
// The query functions may be called from any thread at any time. Everything else belongs
// to the Performance, which calls it under its lock.
#include "dmusic/EventSink.h"
#include "dmusic/Segment.h"

#include <array>
#include <atomic>
#include <bitset>
#include <memory>

namespace dmusic {

class SegmentState
{
public:
    SegmentState(const Segment& segment, MusicTime performanceTime);
    SegmentState(const SegmentState&) = delete;
    SegmentState& operator=(const SegmentState&) = delete;

    std::uint64_t GetSegmentId() const { return m_SegmentId; }
    // The performance's music time when this playing began.
    MusicTime GetStartTime() const { return m_StartTime; }
    // The segment's start point when this playing began.
    MusicTime GetStartPoint() const { return m_StartPoint; }
    // The current place in the segment, in music time.
    MusicTime GetPosition() const { return m_PositionNow.load(); }
    // Loop repeats still to come (REPEAT_INFINITE when looping until stopped).
    std::int32_t GetRepeatsLeft() const { return m_RepeatsLeftNow.load(); }
    // True from PlaySegment until the segment ends or is stopped.
    bool IsPlaying() const { return m_Playing.load(); }

private:
    friend class Performance;

    // What a call of Sequence did.
    enum class Progress { Playing, Looped, Ended };

    // Resets the channels to General MIDI defaults, brings controllers and programs up to
    // the start point and places the cursor there.
    void Begin(EventSink& sink);
    // Sends every event that is due at the current position, restarts the loop when its
    // end is reached, and ends the playing (releasing every note) at the segment's end.
    Progress Sequence(EventSink& sink);
    // The next music time at which Sequence has something to do; always after Position().
    double NextStop() const;
    // Speed of the segment at its current position, in music time per second.
    double MusicTimePerSecond(double masterTempo) const;
    void Advance(double musicTime);
    // Releases every sounding note and pedal and marks the playing over.
    void Finish(EventSink& sink);
    double Position() const { return m_Position; }

    bool LoopActive() const { return m_RepeatsLeft != 0 && m_BeforeLoopEnd; }
    void Restart(EventSink& sink);
    void Chase(EventSink& sink, MusicTime until);
    void ReleaseNotes(EventSink& sink, MusicTime time);
    void Send(EventSink& sink, const MidiEvent& event);
    void Publish();

    std::shared_ptr<const MidiFile> m_File;
    std::uint64_t m_SegmentId;
    MusicTime m_StartTime;
    MusicTime m_StartPoint;
    MusicTime m_LoopStart;
    MusicTime m_LoopEnd;
    std::int32_t m_RepeatsLeft;

    double m_Position = 0;
    std::size_t m_NextEvent = 0;
    bool m_BeforeLoopEnd = false;
    std::array<std::bitset<128>, 16> m_Sounding;

    std::atomic<MusicTime> m_PositionNow{0};
    std::atomic<std::int32_t> m_RepeatsLeftNow{0};
    std::atomic<bool> m_Playing{true};
};

} // namespace dmusic
