#pragma once
// Melodies and figures written as text, so that a song reads as a page of data.
//
// A melody is a measure after another, "|" between them: "76:.5 79:.25 81:.25 | 79:3".
// Each note is a MIDI key and its length in beats, a decimal (".5", "1.5") or a fraction
// ("1/3", "2/3"); the notes of a measure follow one another from its first beat, and "-" in
// place of a key is a rest. Beats are counted exactly (three thirds make one beat), so
// triplets land on the beat.
//
// A figure's steps are written the same way with chord tones in place of keys (see Step):
// "-6:.75 -6:.25v-18 -4+2:1v-14" is the root two octaves down for three sixteenths, again
// for one, 18 softer, then the fifth an octave down raised two semitones, 14 softer.
#include "kit/LevelSong.h"

#include <string>
#include <vector>

namespace assetgen {

// The measures of the melody, each a list of notes for LineLayer. Throws
// std::invalid_argument naming the note for a key outside 0..127, a length that is not a
// positive number, text that is not a note, or a measure with neither notes nor rests.
std::vector<std::vector<Note>> Melody(const std::string& text);

// One measure of steps, one after another, each "tone[+semis|-semis]:length[vVelocity]";
// the figure's notes end `gapTicks` plus `gapFraction` of their length early. Throws
// std::invalid_argument as Melody does.
Figure Steps(const std::string& text, long gapTicks = 20, double gapFraction = 0);

// Strokes of one drum, "beat:velocity" one after another ("0:50 1:60 1.5:44"; beats as
// lengths are written, "5/3" for the second triplet of beat two). Throws
// std::invalid_argument naming a stroke that is not beat:velocity.
std::vector<DrumHit> Strokes(int key, const std::string& text, int fromLevel = 0,
                             Where where = Where::kEvery);
// Drum hits of one drum at each of the beats.
std::vector<DrumHit> Hits(int key, const std::vector<double>& beats, int velocity,
                          int fromLevel = 0, Where where = Where::kEvery);
// The hits of every list, in order: a drum pattern made of strokes, rolls and runs.
std::vector<DrumHit> Join(const std::vector<std::vector<DrumHit>>& parts);

} // namespace assetgen
