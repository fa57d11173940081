#pragma once
// A Standard MIDI File (format 0 or 1) read into one time-ordered list of channel
// messages in music time, with its tempo map and time signatures.
#include "dmusic/MusicTypes.h"
#include "dmusic/Result.h"

#include <cstddef>
#include <string>
#include <vector>

namespace dmusic {

class MidiFile
{
public:
    // Reads a whole Standard MIDI File from memory. On success the file's contents replace
    // this object's; on failure it is left empty, the result is ERR_INVALID_FILE (malformed
    // data), ERR_TOO_MANY_EVENTS (more than kMaxSongEvents events) or ERR_UNSUPPORTED_FORMAT
    // (a well-formed file this layer cannot play: format 2 or SMPTE timing), and *error (when
    // given) says what is wrong and where. Never reads outside [data, data + size); the work and
    // memory are linear in size.
    //
    // What the music layer's bounds change is changed here, as the file is read, and told
    // by Bounded(): a tempo faster than kMinMicrosecondsPerQuarter is read as that one, and
    // notes past kMaxNotesAtOnce at one instant are left out.
    Result Parse(const unsigned char* data, std::size_t size, std::string* error);

    // Channel messages of all tracks, ordered by time; at equal times, earlier tracks first
    // and file order within a track. Times are converted from the file's ticks per quarter
    // note to music time, rounded to the nearest unit.
    const std::vector<MidiEvent>& Events() const { return m_Events; }
    // Tempo changes ordered by time; the first always lies at time 0.
    const std::vector<TempoChange>& Tempos() const { return m_Tempos; }
    // Time signatures ordered by time; the first always lies at time 0 (4/4 when the file
    // states none there).
    const std::vector<TimeSignature>& TimeSignatures() const { return m_TimeSignatures; }
    // Time of the latest end of track (or last event when a track lacks its end marker).
    MusicTime Length() const { return m_Length; }
    int Format() const { return m_Format; }
    int TrackCount() const { return m_TrackCount; }
    int TicksPerQuarter() const { return m_TicksPerQuarter; }

    // What reading changed to keep the song within the bounds, in words ("its tempo of 1
    // microseconds a quarter note plays at 50000; 9900 notes past 128 at one instant are
    // left out"); empty when nothing was changed.
    std::string Bounded() const;
    // Tempo changes read faster than they were stated, and the fastest stated (0: none).
    int RaisedTempos() const { return m_RaisedTempos; }
    std::uint32_t FastestStatedTempo() const { return m_FastestStatedTempo; }
    // Notes left out for starting past kMaxNotesAtOnce at one instant.
    std::int64_t DroppedNotes() const { return m_DroppedNotes; }

    // The tempo in force at `time`.
    std::uint32_t MicrosecondsPerQuarterAt(MusicTime time) const;
    // The time signature in force at `time`.
    const TimeSignature& TimeSignatureAt(MusicTime time) const;

private:
    void Clear();

    std::vector<MidiEvent> m_Events;
    std::vector<TempoChange> m_Tempos{{0, kDefaultMicrosecondsPerQuarter}};
    std::vector<TimeSignature> m_TimeSignatures{{0, 4, 4}};
    MusicTime m_Length = 0;
    int m_Format = 0;
    int m_TrackCount = 0;
    int m_TicksPerQuarter = 0;
    int m_RaisedTempos = 0;
    std::uint32_t m_FastestStatedTempo = 0;
    std::int64_t m_DroppedNotes = 0;
};

} // namespace dmusic
