#pragma once
// Small arranging helpers for the game's songs: chords, a band of tracks, and the figures
// every song draws on (sustained pads, a walking bass, broken chords, a backbeat, a
// melody line of notes in beats), each filling one measure of a MidiSong.
#include "kit/MidiWriter.h"

#include <vector>

namespace assetgen {

// General MIDI programs and drum keys the songs use.
enum Program {
    kPiano = 0,
    kMarimba = 12,
    kOrgan = 16,
    kFingerBass = 33,
    kStrings = 48,
    kBrass = 61,
    kFlute = 73,
    kSquareLead = 80,
};
enum Drum {
    kKick = 36,
    kSnare = 38,
    kClosedHat = 42,
    kOpenHat = 46,
    kCrash = 49,
    kRide = 51,
    kTom = 45
};

// A chord by its root (a MIDI key) and whether it is minor.
struct Chord
{
    int root;
    bool minor;
};
constexpr Chord C{60, false}, D{62, false}, F{65, false}, G{67, false}, A{69, false}, Am{57, true},
    Bm{59, true}, Dm{62, true}, Em{64, true}, E{64, false};

// A melody note: beat offset within its measure (from 0), length in beats, key (0: rest).
struct Note
{
    double beat;
    double length;
    int key;
};

struct Band
{
    MidiTrack& lead;
    MidiTrack& pad;
    MidiTrack& bass;
    MidiTrack& keys;
    MidiTrack& drums;
};

// Sustained three-note chord over the whole measure.
void Pad(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity);
// Root on the beats, the fifth on the last eighth: a walking feel.
void Bass(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity);
// Broken chord in eighths.
void Arpeggio(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity);
// A steady backbeat; `opening` starts the measure with a crash, `fill` ends it with a tom
// fill; `busy` adds sixteenth hats and a second kick.
void Groove(MidiSong& song, MidiTrack& t, int measure, bool opening, bool fill, bool busy = false);
void Melody(MidiSong& song, MidiTrack& t, int measure, const std::vector<Note>& notes, int velocity,
            int transpose = 0);

} // namespace assetgen
