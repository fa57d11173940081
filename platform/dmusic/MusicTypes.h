#pragma once
// Time units and plain records shared by the music layer.
#include <cstddef>
#include <cstdint>

namespace dmusic {

// Music time: 768 units per quarter note, whatever the resolution of the file the music
// came from. A 4/4 measure is 3072 units.
using MusicTime = std::int64_t;
constexpr MusicTime kMusicTimePerQuarter = 768;

// Reference time: clock time in units of 100 nanoseconds. In this layer it counts the
// frames the performance has rendered, so it is exact and repeatable.
using ReferenceTime = std::int64_t;
constexpr ReferenceTime kReferenceTimePerSecond = 10000000;

// The tempo of a file that states none: 120 quarter notes a minute.
constexpr std::uint32_t kDefaultMicrosecondsPerQuarter = 500000;

// The fastest pace a song plays at: 1200 quarter notes a minute, ten times the default and
// three times the fastest tempo the game's own songs use. A file's faster tempo is read as
// this one (and the reader says so), so the music time a rendered second covers is bounded
// whatever the file states.
constexpr std::uint32_t kMinMicrosecondsPerQuarter = 50000;

// Notes a song may start at one instant, all its tracks and channels together: a key of
// every channel's every octave is far below it. Notes past it at that instant are left out.
constexpr int kMaxNotesAtOnce = 128;

// Events (channel messages, tempo changes and time signatures together) a song may hold;
// a file with more is refused. Far above any song written by hand (the largest of the game's
// own is 30 KB, some ten thousand events) and a bounded 16 MB in memory.
constexpr std::size_t kMaxSongEvents = 1000000;

// One channel message of a sequence, at its time in music time.
// status is 0x80..0xEF (type and channel); data2 is 0 for one-byte messages.
struct MidiEvent
{
    MusicTime time;
    std::uint8_t status;
    std::uint8_t data1;
    std::uint8_t data2;
};

// A tempo that holds from `time` until the next change.
struct TempoChange
{
    MusicTime time;
    std::uint32_t microsecondsPerQuarter;
};

// A time signature that holds from `time` until the next one: `beatsPerMeasure` beats
// of the note value `beat` (4 = quarter, 8 = eighth ...).
struct TimeSignature
{
    MusicTime time;
    std::uint8_t beatsPerMeasure;
    std::uint8_t beat;

    // Length of one measure in music time.
    MusicTime MeasureLength() const { return beatsPerMeasure * kMusicTimePerQuarter * 4 / beat; }
};

// An instrument of the SoundFont: a bank (0..127 melodic, kDrumBank for the percussion
// kits) and a program number (0..127).
struct Preset
{
    int bank;
    int program;

    bool operator<(const Preset& other) const
    {
        return bank != other.bank ? bank < other.bank : program < other.program;
    }
    bool operator==(const Preset& other) const
    {
        return bank == other.bank && program == other.program;
    }
};

// The bank of the percussion kits; MIDI channel 10 (index 9) plays from it.
constexpr int kDrumBank = 128;
constexpr int kDrumChannel = 9;

} // namespace dmusic
