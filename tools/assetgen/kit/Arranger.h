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
    kCelesta = 8,
    kGlockenspiel = 9,
    kMusicBox = 10,
    kVibraphone = 11,
    kMarimba = 12,
    kXylophone = 13,
    kOrgan = 16,
    kAccordion = 21,
    kNylonGuitar = 24,
    kAcousticBass = 32,
    kFingerBass = 33,
    kFretlessBass = 35,
    kViolin = 40,
    kPizzicato = 45,
    kHarp = 46,
    kStrings = 48,
    kSlowStrings = 49,
    kChoir = 52,
    kTrumpet = 56,
    kTrombone = 57,
    kTuba = 58,
    kHorn = 60,
    kBrass = 61,
    kOboe = 68,
    kBassoon = 70,
    kClarinet = 71,
    kPiccolo = 72,
    kFlute = 73,
    kPanFlute = 75,
    kOcarina = 79,
    kSquareLead = 80,
    kSitar = 104,
    kShamisen = 106,
    kKoto = 107,
    kKalimba = 108,
    kShanai = 111,
    kSteelDrums = 114,
};
enum Drum {
    kBassDrum = 35,
    kKick = 36,
    kSideStick = 37,
    kSnare = 38,
    kClap = 39,
    kLowFloorTom = 41,
    kClosedHat = 42,
    kHighFloorTom = 43,
    kPedalHat = 44,
    kTom = 45,
    kOpenHat = 46,
    kMidTom = 47,
    kCrash = 49,
    kHighTom = 50,
    kRide = 51,
    kChinaCymbal = 52,
    kRideBell = 53,
    kTambourine = 54,
    kSplash = 55,
    kCowbell = 56,
    kHighBongo = 60,
    kLowBongo = 61,
    kMuteConga = 62,
    kOpenConga = 63,
    kLowConga = 64,
    kHighTimbale = 65,
    kLowTimbale = 66,
    kHighAgogo = 67,
    kLowAgogo = 68,
    kCabasa = 69,
    kMaracas = 70,
    kShortGuiro = 73,
    kClaves = 75,
    kHighWoodblock = 76,
    kLowWoodblock = 77,
    kMuteTriangle = 80,
    kOpenTriangle = 81,
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
