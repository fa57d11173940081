#pragma once
// Level songs as data. A level plays one song in named parts: the serve (GetReady), the
// letter before the level, ten play parts of rising drive (Play1 .. Play10), the win
// (BeatLevel), the tally (LevelComplete) and the last ball lost (GameOver). A LevelSong
// describes each part as a section: its measures, tempo, chords and layers, where a layer
// is one track playing a figure against the chords, a line of notes or a drum pattern.
// The play section is arranged ten times, once per level of drive, and each layer says
// from which level to which it plays and how much louder it gets per level.
//
// The song is always in 4/4 (the music player counts measures of four quarter notes) and
// laid out the same way, so every song has every part at the same measures:
//   GetReady 1-2, Letter 3-6, Play1 .. Play10 four measures each from 7,
//   BeatLevel 47-48, LevelComplete 49-52, GameOver 53-54.
// Every note ends inside the part it starts in, so every part loops without a gap.
#include "kit/Arranger.h"
#include "kit/MidiWriter.h"

#include <string>
#include <vector>

namespace assetgen {

// A note of a figure, placed against the measure's chord. `tone` counts the chord's tones
// (0 root, 1 third, 2 fifth, 3 the root an octave up, -1 the fifth an octave down, ...);
// `semis` then moves the key by semitones (a passing note, a sixth, an octave).
// `velocity` is added to the layer's.
struct Step
{
    double beat;
    double length;
    int tone;
    int semis = 0;
    int velocity = 0;
};

// One measure of a figure: its steps and how short of its full length each note ends
// (`gapTicks` plus `gapFraction` of the length): legato pads, detached plucks.
struct Figure
{
    std::vector<Step> steps;
    long gapTicks = 20;
    double gapFraction = 0;
};

// Where in a section a drum hit plays.
enum class Where {
    kEvery,   // every measure
    kFirst,   // the section's first measure (a crash into the phrase)
    kLast,    // the section's last measure (a fill back to its start)
    kButLast, // every measure but the last (a groove the fill replaces)
    kOdd,     // the first, third, ... measure
    kEven,    // the second, fourth, ... measure
};

struct DrumHit
{
    double beat;
    int key;
    int velocity;
    int fromLevel = 0; // the play level from which the hit joins in
    Where where = Where::kEvery;
    double length = 0.25;
};

// One track's part in a section. Build with FigureLayer, LineLayer or DrumLayer.
struct Layer
{
    std::string track; // the name of one of LevelSong::tracks
    int velocity = 64;
    int perLevel = 0; // velocity added per play level
    int transpose = 0;
    int fromLevel = 0;
    int toLevel = 10;
    Figure figure;                       // against each measure's chord, or
    std::vector<std::vector<Note>> line; // one list of notes per measure, cycled, or
    std::vector<DrumHit> drums;          // keys are drum keys

    // The play levels the layer is heard at.
    Layer& From(int level);
    Layer& Until(int level);
    Layer& Louder(int velocityPerLevel);
    Layer& Transposed(int semitones);
};

Layer FigureLayer(const std::string& track, const Figure& figure, int velocity);
Layer LineLayer(const std::string& track, const std::vector<std::vector<Note>>& line, int velocity);
Layer DrumLayer(const std::string& track, const std::vector<DrumHit>& hits, int velocity = 0);

// The chord tones `tones` struck together at every step of `rhythm` (whose tones and
// semitones are ignored): strums, stabs, held chords.
Figure Stacked(const std::vector<Step>& rhythm, const std::vector<int>& tones, long gapTicks = 20,
               double gapFraction = 0);

struct Section
{
    int measures = 4;
    double bpm = 0;            // 0: keeps the tempo before it
    std::vector<Chord> chords; // one per measure, cycled
    std::vector<Layer> layers;
};

struct SongTrack
{
    std::string name;
    int program;     // General MIDI program; -1 for the drum kit (channel 10)
    int volume = -1; // channel volume 0..127; -1 leaves the synth's default
    int pan = -1;    // 0 left .. 64 centre .. 127 right; -1 leaves the default
    int reverb = -1; // reverb send 0..127; -1 leaves the default
};

struct LevelSong
{
    std::string title;
    std::vector<SongTrack> tracks; // melodic tracks take the channels in order, drums the tenth
    // Delays every off-beat eighth by this fraction of a beat (0.16: a light swing); the
    // sixteenths around it stretch to match.
    double swing = 0;
    // Added to the velocity of line notes on beats one and three, half of it taken from
    // notes off the beat: a line that leans on the strong beats.
    int accent = 0;
    Section getReady, letter, play, beatLevel, levelComplete, gameOver;
};

// The song's MIDI file with every part named. Throws std::invalid_argument for a section
// of the wrong length, a layer naming a missing track, a note out of range or one that
// rings past the end of its part.
MidiSong MakeLevelSong(const LevelSong& song);

// Drum hits helpers: `count` strokes of one drum every `step` beats from `beat`, the
// velocity rising by `rise` per stroke (a roll, a run of woodblocks); each stroke lasts
// the step, a sixteenth at most.
std::vector<DrumHit> Roll(int key, double beat, double step, int count, int velocity, int rise,
                          int fromLevel = 0, Where where = Where::kEvery);
// The lines of `line` rotated to start at measure `first`.
std::vector<std::vector<Note>> Rotated(const std::vector<std::vector<Note>>& line, int first);

} // namespace assetgen
