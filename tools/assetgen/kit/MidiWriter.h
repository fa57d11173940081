#pragma once
// Standard MIDI Files (format 1) for the game's music: a conductor track with the time
// signature, the tempo map and one marker per named part, then one track per
// instrument with its General MIDI program. Positions are given in measures and beats,
// so a recipe reads like a score; named parts are measure ranges that the music's
// metadata hands to the player.
#include "kit/LuaText.h"

#include <cstdint>
#include <deque>
#include <string>
#include <vector>

namespace assetgen {

class MidiTrack
{
public:
    // channel 0..15 (9 is the General MIDI drum channel); program 0..127, or -1 for none.
    MidiTrack(std::string name, int channel, int program);

    // A note of `length` ticks; key and velocity 0..127. Throws std::invalid_argument
    // for values out of range or a negative position or length.
    void Note(long tick, long length, int key, int velocity);
    void Controller(long tick, int controller, int value);

    const std::string& Name() const { return m_Name; }
    int Channel() const { return m_Channel; }
    long LastTick() const;

    // The track chunk (MTrk and its events), ending at `endTick` or at its last event.
    std::vector<std::uint8_t> Encode(long endTick) const;

private:
    struct Event
    {
        long tick;
        int order; // at one tick: 0 meta and program, 1 controllers, 2 note off, 3 note on
        std::vector<std::uint8_t> bytes;
    };

    std::string m_Name;
    int m_Channel;
    std::vector<Event> m_Events;
};

class MidiSong
{
public:
    struct Part
    {
        std::string name;
        int firstMeasure; // counting from 1
        int numMeasures;
    };

    // beatUnit is a power of two (4 = quarter notes); bpm counts quarter notes per minute.
    MidiSong(std::string title, int beatsPerMeasure, int beatUnit, double bpm,
             int ticksPerQuarter = 480);

    int TicksPerQuarter() const { return m_TicksPerQuarter; }
    long TicksPerBeat() const;
    long TicksPerMeasure() const;
    // Tick of a beat (counting from 0, fractions allowed) of a measure (counting from 1).
    long At(int measure, double beat = 0) const;

    // A tempo change at the start of a measure.
    void SetTempo(int measure, double bpm);
    // Names measures [firstMeasure, firstMeasure + numMeasures). Names are unique.
    void AddPart(const std::string& name, int firstMeasure, int numMeasures);
    // The song's length in measures: every track ends there, so a loop of the whole
    // song restarts without a gap. Parts must lie inside it.
    void SetLength(int measures);
    // The reference stays valid for the song's life.
    MidiTrack& AddTrack(const std::string& name, int channel, int program);

    const std::vector<Part>& Parts() const { return m_Parts; }
    // The metadata `parts` table: part name -> {first measure, number of measures}.
    LuaValue PartsTable() const;

    // The whole file. Throws std::logic_error when a part lies beyond the song's end.
    std::vector<std::uint8_t> Encode() const;

private:
    std::vector<std::uint8_t> EncodeConductor(long endTick) const;

    std::string m_Title;
    int m_BeatsPerMeasure;
    int m_BeatUnit;
    int m_TicksPerQuarter;
    int m_LengthMeasures = 0;
    std::vector<std::pair<int, double>> m_Tempos; // measure, bpm; sorted by measure
    std::vector<Part> m_Parts;
    std::deque<MidiTrack> m_Tracks; // a deque, so AddTrack's references stay valid
};

} // namespace assetgen
