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
#include <vector>

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
    // While the sink has no room it stops early and sets *held: the events still due (or
    // the loop's restart) wait, and the caller must not advance the position meanwhile.
    Progress Sequence(EventSink& sink, bool* held);
    // Counts one rendered block in which due events waited (for the segment's record).
    void CountHeldBlock() { ++*m_HeldBlocks; }
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
    // Sends the chase (see ChaseTo) and places the cursor after it.
    void Chase(EventSink& sink, const std::vector<MidiEvent>& chase, std::size_t next);
    void ReleaseNotes(EventSink& sink, MusicTime time);
    void Send(EventSink& sink, const MidiEvent& event);
    void Publish();

    std::shared_ptr<const MidiFile> m_File;
    std::shared_ptr<std::atomic<std::int64_t>> m_HeldBlocks;
    std::uint64_t m_SegmentId;
    MusicTime m_StartTime;
    MusicTime m_StartPoint;
    MusicTime m_LoopStart;
    MusicTime m_LoopEnd;
    std::int32_t m_RepeatsLeft;
    // What brings the channels up to the start point and to the loop start, worked out once
    // when the playing is made, and the index of the first event after each.
    std::vector<MidiEvent> m_StartChase;
    std::size_t m_StartNext = 0;
    std::vector<MidiEvent> m_LoopChase;
    std::size_t m_LoopNext = 0;

    double m_Position = 0;
    std::size_t m_NextEvent = 0;
    bool m_BeforeLoopEnd = false;
    std::array<std::bitset<128>, 16> m_Sounding;

    std::atomic<MusicTime> m_PositionNow{0};
    std::atomic<std::int32_t> m_RepeatsLeftNow{0};
    std::atomic<bool> m_Playing{true};
};

} // namespace dmusic
