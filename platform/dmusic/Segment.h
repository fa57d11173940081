#pragma once
// A piece of music that a Performance can play: a sequence read from a Standard MIDI File
// together with its playback settings (start point, loop points, repeats).
//
// Settings are read when the segment starts playing; changing them later affects the next
// PlaySegment, not the music already playing. A Segment is used from one thread (the one
// that calls PlaySegment); the playing copy lives in its SegmentState.
#include "dmusic/MidiFile.h"

#include <atomic>
#include <cstdint>
#include <memory>
#include <vector>

namespace dmusic {

class Performance;

// Repeat count meaning: loop until stopped.
constexpr std::int32_t REPEAT_INFINITE = -1;

class Segment
{
public:
    explicit Segment(std::shared_ptr<const MidiFile> file);
    Segment(const Segment&) = delete;
    Segment& operator=(const Segment&) = delete;

    // A number that names this segment for the performance's queries; unique in the process.
    std::uint64_t GetId() const { return m_Id; }
    const MidiFile& GetMidiFile() const { return *m_File; }
    std::shared_ptr<const MidiFile> GetMidiFilePtr() const { return m_File; }

    // Length in music time (the file's end).
    MusicTime GetLength() const { return m_File->Length(); }

    // Where playback begins. 0 <= start < length (0 is always allowed); else
    // ERR_OUT_OF_RANGE and nothing changes.
    Result SetStartPoint(MusicTime start);
    MusicTime GetStartPoint() const { return m_StartPoint; }

    // The range [start, end) that repeats. (0, 0), the default, stands for the whole
    // segment; otherwise 0 <= start < end <= length, else ERR_OUT_OF_RANGE.
    Result SetLoopPoints(MusicTime start, MusicTime end);
    void GetLoopPoints(MusicTime* start, MusicTime* end) const;

    // How many times the loop range plays again after its first pass: 0 (default) plays it
    // once, REPEAT_INFINITE loops until stopped. After the last repeat playback goes on past
    // the loop end to the end of the segment. Other negative counts: ERR_INVALID_ARG.
    Result SetRepeats(std::int32_t repeats);
    std::int32_t GetRepeats() const { return m_Repeats; }

    // The time signature in force at `time` (4/4 where the file states none).
    Result GetTimeSignature(MusicTime time, TimeSignature* signature) const;

    // Makes the segment's instruments ready on the performance's synthesiser; a segment must
    // be downloaded (or the performance set to download automatically) before it plays.
    // ERR_NOT_INITIALIZED when the performance has not been initialised.
    Result Download(Performance& performance);
    // Undoes Download; RESULT_FALSE when it was not downloaded there.
    Result Unload(Performance& performance);
    bool IsDownloaded(const Performance& performance) const;
    // The instruments the segment plays, each once, in order: every program change (with
    // the bank its channel selected; the drum bank on channel 10), and program 0 of a
    // channel that sounds a note before any program change.
    std::vector<Preset> GetPresets() const;

    // Rendered blocks, over every playing of the segment, in which events that were due
    // waited for a later block because the performance's share of events was spent (see
    // Performance::kEventsPerSecond): nonzero only for a song denser than the bound.
    std::int64_t GetHeldBlocks() const { return m_HeldBlocks->load(); }
    // The counter the playings add to (on the rendering thread).
    std::shared_ptr<std::atomic<std::int64_t>> GetHeldBlocksCounter() const { return m_HeldBlocks; }

private:
    std::uint64_t m_Id;
    std::shared_ptr<const MidiFile> m_File;
    MusicTime m_StartPoint = 0;
    MusicTime m_LoopStart = 0;
    MusicTime m_LoopEnd = 0;
    std::int32_t m_Repeats = 0;
    std::vector<std::uint64_t> m_DownloadedTo;
    std::shared_ptr<std::atomic<std::int64_t>> m_HeldBlocks =
        std::make_shared<std::atomic<std::int64_t>>(0);
};

} // namespace dmusic
