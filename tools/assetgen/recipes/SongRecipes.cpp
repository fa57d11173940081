// The level songs of the lands after the first and of the lab. Each is a LevelSong: the
// same parts at the same measures as "Harbour.mid", in its own key, mode, tempo, band and
// rhythm, its play parts adding layers and drive level by level. A song is a page of data:
// a namespace holding its chords, figures (Steps), melodies (Melody) and drum patterns, and
// kSong, the LevelSong they make, its six parts in order; MakeLevelSong arranges them all.
//   Andes.mid      E minor pentatonic, 100 BPM: pan flute and strummed nylon strings over
//                  a bombo and shakers in a skipping eighth-two-sixteenths rhythm
//   Capital.mid    B flat major, 126 BPM: a march for trumpet, brass and tuba oom-pah,
//                  snare drum rudiments, piccolo and glockenspiel on top
//   Frost.mid      F sharp minor, 84 BPM: celesta and music box over slow strings in
//                  open fifths and ninths, a heartbeat pulse growing into a half-time groove
//   Boulevard.mid  G major, 128 BPM swung: musette accordion, two-beat bass and guitar
//                  on the off-beats, brushes and ride, a violin answering
//   Sands.mid      D double harmonic, 104 BPM: shanai over an oud-like shamisen ostinato
//                  and a drone, hand drums in the maqsum rhythm, riq and finger cymbals
//   Jungle.mid     E major, 132 BPM in triplets: marimba and kalimba, congas, shakers and
//                  the twelve-eight bell pattern, steel drums answering
//   Lanterns.mid   F major pentatonic, 96 BPM: koto and harp, a flute above, woodblocks,
//                  barrel drums and the china cymbal
//   Workshop.mid   C major with chromatic turns, 120 BPM: clarinet over staccato bassoon
//                  and pizzicato, a tick-tock of woodblocks, side stick and ratchet
#include "recipes/Recipes.h"

#include "kit/LevelSong.h"
#include "kit/Notation.h"

namespace assetgen {

namespace {

constexpr double T = 1.0 / 3; // a triplet eighth, in beats

constexpr Chord Major(int root)
{
    return Chord{root, false};
}
constexpr Chord Minor(int root)
{
    return Chord{root, true};
}

// Figures most songs share.
// The chord held over the measure, an octave down.
const Figure kHeld{{{0, 4, -3}, {0, 4, -2}, {0, 4, -1}}, 12};
// The root held over the measure, two octaves down.
const Figure kHeldRoot = Steps("-6:4", 40);

using Lines = std::vector<std::vector<Note>>;

// A part of a song: its measures, tempo (0 keeps the one before), chords and layers.
Section Part(int measures, double bpm, std::vector<Chord> chords, std::vector<Layer> layers)
{
    return {measures, bpm, std::move(chords), std::move(layers)};
}

namespace andes {

const Chord Em = Minor(64), D = Major(62), C = Major(60), B = Major(59);
// Strummed in the skipping rhythm: an eighth and two sixteenths.
const Figure strum = Stacked(Steps("0:.5 0:.25v-16 0:.25v-10 0:.5 0:.25v-16 0:.25v-10 "
                                   "0:.5 0:.25v-16 0:.25v-10 0:.5 0:.25v-16 0:.25v-10")
                                 .steps,
                             {0, 1, 2, 3}, 10);
const Figure bass = Steps("-6:.75 -6:.25v-18 -4:1v-8 -6:.75 -5:.25v-18 -4:1v-8", 0, 0.1);
const Lines riff = Melody("76:.5 79:.25 76:.25 74:.5 71:.5 76:.5 79:.25 81:.25 79:1 |"
                          "81:.5 79:.25 76:.25 74:.5 69:.5 74:.5 76:.25 79:.25 74:1 |"
                          "79:.5 76:.25 74:.25 76:.5 79:.5 81:1 79:.5 76:.5 |"
                          "71:.5 75:.5 78:.5 81:.5 83:1 81:.5 78:.5");
// A second voice under the riff, mostly a third or a fourth below.
const Lines second = Melody("71:1 67:1 71:1 76:1 |"
                            "78:1 74:1 69:1 69:1 |"
                            "76:1 72:1 76:1 72:1 |"
                            "66:1 71:1 78:1 75:1");
const std::vector<DrumHit> bombo = Join(
    {Strokes(kBassDrum, "0:100 .75:70 2:92 2.75:70"), Strokes(kLowFloorTom, "1:60 3:64 3.5:56", 6),
     Roll(kMaracas, 0, 0.5, 8, 56, 0, 4), Roll(kCabasa, 0.25, 0.5, 8, 40, 0, 5),
     Hits(kClaves, {0.75, 2.5}, 70, 8), Roll(kHighBongo, 3, 0.25, 4, 70, 6, 4, Where::kLast)});
const LevelSong kSong{
    "Andes",
    {{"PanFlute", kPanFlute, 100, 56},
     {"Charango", kNylonGuitar, 84, 84},
     {"Bass", kAcousticBass, 100},
     {"Choir", kChoir, 60, 40},
     {"Drums", -1, 100},
     {"Quena", kFlute, 72, 72},
     {"Piccolo", kPiccolo, 60, 60}},
    0, // swing
    8, // accent
    // GetReady
    Part(2, 100, {Em},
         {FigureLayer("Choir", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
          DrumLayer("Drums", Roll(kMaracas, 0, 0.25, 16, 34, 2)),
          DrumLayer("Drums", {{0, kBassDrum, 90}})}),
    // Letter
    Part(4, 88, {C, Em, Minor(57), B},
         {FigureLayer("Choir", kHeld, 52),
          LineLayer("PanFlute", Melody("76:2 79:1 76:1 | 71:3 74:1 | 72:2 69:2 | 71:3"), 64)}),
    // Play1 .. Play10
    Part(4, 100, {Em, D, C, B},
         {FigureLayer("Choir", kHeld, 40).Louder(2), FigureLayer("Bass", bass, 86).Louder(2),
          DrumLayer("Drums", bombo).Louder(1), FigureLayer("Charango", strum, 50).Louder(2).From(2),
          LineLayer("PanFlute", riff, 84).Louder(1).From(3),
          LineLayer("Quena", second, 62).Louder(2).From(7),
          LineLayer("Piccolo", riff, 56).Louder(2).From(9).Transposed(12)}),
    // BeatLevel
    Part(2, 0, {Major(67), Em},
         {LineLayer("PanFlute", Melody("76:.25 79:.25 81:.25 83:.25 86:1 83:.5 86:.5 88:1 | 88:3"),
                    100),
          FigureLayer(
              "Charango",
              Stacked({{0, 0.5, 0}, {0.5, 0.25, 0}, {0.75, 0.25, 0}, {1, 1, 0}}, {0, 1, 2, 3}), 70),
          FigureLayer("Choir", kHeld, 64),
          DrumLayer("Drums", {{0, kBassDrum, 100}, {2, kBassDrum, 90}, {0, kMaracas, 70}})}),
    // LevelComplete
    Part(4, 92, {D, C, B, Em},
         {FigureLayer("Choir", kHeld, 48), FigureLayer("Charango", strum, 56),
          FigureLayer("Bass", bass, 70), LineLayer("PanFlute", Rotated(riff, 1), 70)}),
    // GameOver
    Part(2, 76, {Major(67), Em},
         {LineLayer("PanFlute", Melody("79:1 76:1 74:1 71:1 | 64:3"), 72),
          FigureLayer("Choir", kHeld, 50)})};

} // namespace andes

namespace capital {

const Chord Bb = Major(70), Gm = Minor(67), Eb = Major(63), F = Major(65), Cm = Minor(60);
// Oom-pah: the root on one, the fifth on three; brass chords on two and four.
const Figure oom = Steps("-6:1 -:1 -4:1v-10", 0, 0.35);
const Figure oomWalk = Steps("-6:1 -5:1v-16 -4:1v-10 -5:1v-16", 0, 0.35);
const Figure pah = Stacked({{1, 0.5, 0}, {3, 0.5, 0}}, {-3, -2, -1}, 0, 0.3);
// The piccolo's chord tones in running eighths, two octaves up.
const Figure obbligato = Steps("3:.5 4:.5 5:.5 4:.5 3:.5 4:.5 5:.5 6:.5", 30);
const Lines tune = Melody("65:.75 70:.25 74:.5 77:.5 82:1 77:.5 74:.5 |"
                          "79:.75 77:.25 74:.5 70:.5 67:1.5 74:.5 |"
                          "75:.75 74:.25 72:.5 70:.5 67:1 70:.5 75:.5 |"
                          "77:.75 75:.25 74:.5 72:.5 69:1 72:.5 69:.5");
// Snare rudiments: accented quarters, then taps and sixteenth doubles as it grows.
const std::vector<DrumHit> march = Join({Strokes(kBassDrum, "0:100 2:90"),
                                         Strokes(kSnare, "0:84 1:60 2:80 3:60"),
                                         {{0, kCrash, 70, 2, Where::kFirst, 1}},
                                         Hits(kSnare, {0.5, 1.5, 2.5, 3.5}, 50, 4),
                                         Hits(kSnare, {1.75, 3.25, 3.75}, 46, 5),
                                         Hits(kSplash, {0.0, 2.0}, 56, 6, Where::kButLast),
                                         Hits(kBassDrum, {1.0, 3.0}, 70, 8),
                                         Roll(kSnare, 2, 0.125, 15, 50, 3, 4, Where::kLast),
                                         {{3.875, kSnare, 110, 4, Where::kLast, 0.125}}});
const LevelSong kSong{
    "Capital",
    {{"Trumpet", kTrumpet, 96, 70},
     {"Brass", kBrass, 78, 50},
     {"Tuba", kTuba, 110},
     {"Piccolo", kPiccolo, 64, 84},
     {"Drums", -1, 100},
     {"Glockenspiel", kGlockenspiel, 64, 90},
     {"Horn", kHorn, 90, 60},
     {"Trombone", kTrombone, 96}},
    0,  // swing
    10, // accent
    // GetReady
    Part(2, 126, {Bb},
         {FigureLayer("Brass", kHeld, 52), FigureLayer("Tuba", kHeldRoot, 76),
          DrumLayer("Drums", Roll(kSnare, 0, 0.125, 32, 30, 1))}),
    // Letter
    Part(4, 96, {Eb, Bb, Cm, F},
         {FigureLayer("Brass", kHeld, 44),
          LineLayer("Horn", Melody("70:2 67:1 70:1 | 74:3 72:1 | 75:2 72:1 67:1 | 72:4"), 70)}),
    // Play1 .. Play10
    Part(4, 126, {Bb, Gm, Eb, F},
         {FigureLayer("Tuba", oom, 90).Louder(2).Until(5),
          FigureLayer("Tuba", oomWalk, 90).Louder(2).From(6), DrumLayer("Drums", march).Louder(1),
          FigureLayer("Brass", pah, 56).Louder(3).From(2),
          LineLayer("Trumpet", tune, 84).Louder(2).From(3),
          FigureLayer("Piccolo", obbligato, 50).Louder(3).From(7),
          LineLayer("Glockenspiel", tune, 50).Louder(3).From(9).Transposed(12)}),
    // BeatLevel
    Part(2, 0, {Bb, Bb},
         {LineLayer("Trumpet", Melody("70:1/3 70:1/3 70:1/3 77:1 74:.5 77:.5 82:1 | 82:3"), 104),
          FigureLayer("Brass", kHeld, 70), FigureLayer("Tuba", oom, 96),
          DrumLayer("Drums", {{0, kCrash, 90, 0, Where::kEvery, 1}, {0, kBassDrum, 100}})}),
    // LevelComplete
    Part(4, 116, {Gm, Eb, F, Bb},
         {FigureLayer("Tuba", oom, 80), FigureLayer("Brass", pah, 60),
          LineLayer("Horn", Rotated(tune, 1), 72),
          DrumLayer("Drums", {{0, kSnare, 50}, {2, kSnare, 44}})}),
    // GameOver
    Part(2, 84, {Eb, F},
         {LineLayer("Trombone", Melody("58:1 57:1 56:1 55:1 | 53:3"), 90),
          FigureLayer("Brass", kHeld, 46)})};

} // namespace capital

namespace frost {

const Chord Fsm = Minor(66), D = Major(62), A = Major(69), E = Major(64);
// Root, fifth, ninth and fifth again, held: no third, open and cold.
const Figure ninth{{{0, 4, -3}, {0, 4, -1}, {0, 4, 0, 2}, {0, 4, 2}}, 12};
const Figure shimmer = Steps("0:.5 2:.5v-10 3:.5 4:.5v-10 5:.5 4:.5v-10 3:.5 2:.5v-10", 40);
const Figure quarters = Steps("3:1 5:1 6:1 5:1", 60);
const Figure pulse = Steps("-6:1.5 -6:1v-14 -4:1.5v-8", 0, 0.1);
const Lines tune = Melody("73:1.5 76:.5 78:1 80:1 |"
                          "81:2 78:1 76:1 |"
                          "76:1.5 73:.5 69:2 |"
                          "71:1 73:1 68:2");
// A heartbeat, then a half-time groove: the snare on three only.
const std::vector<DrumHit> beat = Join({Strokes(kBassDrum, "0:80 .5:56"),
                                        Strokes(kRide, "0:50 1:40 2:46 3:40", 4),
                                        Strokes(kSnare, "2:76", 5),
                                        Strokes(kKick, "1.75:60", 5),
                                        {{0, kCrash, 76, 10, Where::kFirst, 1}},
                                        Roll(kMuteTriangle, 0.5, 1, 4, 36, 0, 4),
                                        Roll(kCabasa, 0, 0.25, 16, 30, 0, 6),
                                        Hits(kRide, {0.5, 1.5, 2.5, 3.5}, 34, 8),
                                        Roll(kHighTom, 3, 0.25, 2, 60, 6, 7, Where::kLast),
                                        Roll(kTom, 3.5, 0.25, 2, 70, 6, 7, Where::kLast)});
const LevelSong kSong{
    "Frost",
    {{"Celesta", kCelesta, 110, 50, 100},
     {"Strings", kSlowStrings, 84, 64, 90},
     {"Bass", kFretlessBass, 96},
     {"MusicBox", kMusicBox, 76, 90, 100},
     {"Drums", -1, 96},
     {"Choir", kChoir, 64, 30, 90},
     {"Flute", kFlute, 80, 70, 90}},
    0, // swing
    4, // accent
    // GetReady
    Part(2, 84, {Fsm},
         {FigureLayer("Strings", ninth, 54), FigureLayer("Bass", kHeldRoot, 70),
          DrumLayer("Drums", Roll(kMuteTriangle, 0, 0.25, 16, 24, 3))}),
    // Letter
    Part(4, 72, {D, A, Minor(59), Major(61)},
         {FigureLayer("Strings", ninth, 50),
          LineLayer("Flute", Melody("78:2 76:2 | 73:2 76:2 | 71:3 73:1 | 77:2 73:2"), 58)}),
    // Play1 .. Play10
    Part(4, 84, {Fsm, D, A, E},
         {FigureLayer("Strings", ninth, 46).Louder(2),
          FigureLayer("Bass", kHeldRoot, 80).Louder(1).Until(4),
          FigureLayer("Bass", pulse, 84).Louder(2).From(5), DrumLayer("Drums", beat).Louder(2),
          FigureLayer("MusicBox", quarters, 56).Louder(2).From(1).Until(1),
          FigureLayer("MusicBox", shimmer, 52).Louder(2).From(2),
          LineLayer("Celesta", tune, 80).Louder(2).From(3).Until(8),
          FigureLayer("Choir", ninth, 44).Louder(2).From(7),
          LineLayer("Celesta", tune, 90).Louder(1).From(9).Transposed(12)}),
    // BeatLevel
    Part(2, 0, {D, Major(66)},
         {LineLayer("Celesta", Melody("74:.5 78:.5 81:.5 86:.5 88:2 | 82:.5 85:.5 90:3"), 104),
          FigureLayer("Strings", ninth, 62),
          DrumLayer("Drums", {{0, kCrash, 70, 0, Where::kFirst, 1}, {0, kOpenTriangle, 60}})}),
    // LevelComplete
    Part(4, 78, {D, A, E, Fsm},
         {FigureLayer("Strings", ninth, 50), FigureLayer("MusicBox", shimmer, 56),
          LineLayer("Celesta", Rotated(tune, 1), 70)}),
    // GameOver
    Part(2, 66, {E, Fsm},
         {LineLayer("Celesta", Melody("81:1 80:1 78:1 76:1 | 73:3"), 80),
          FigureLayer("Strings", ninth, 46)})};

} // namespace frost

namespace boulevard {

const Chord G = Major(67), Em = Minor(64), Am = Minor(69), D = Major(62), C = Major(60);
// Two-beat bass, then walking.
const Figure twoBeat = Steps("-6:1 -:1 -4:1v-10", 0, 0.15);
const Figure walk = Steps("-6:1 -5:1v-12 -4:1v-6 -4+2:1v-14", 0, 0.1);
// The guitar's chord on the off-beats, then four to the bar.
const Figure offBeats = Stacked({{1, 0.5, 0}, {3, 0.5, 0}}, {0, 1, 2}, 0, 0.4);
const Figure fourToBar = Stacked(
    {{0, 0.5, 0, 0, -16}, {1, 0.5, 0}, {2, 0.5, 0, 0, -16}, {3, 0.5, 0}}, {0, 1, 2}, 0, 0.4);
const Lines tune = Melody("71:.5 74:.5 79:.5 78:.5 79:1 76:.5 74:.5 |"
                          "71:.5 70:.5 71:.5 76:.5 79:1.5 78:.5 |"
                          "76:.5 75:.5 76:.5 81:.5 84:1 81:.5 76:.5 |"
                          "78:1 74:.5 72:.5 69:1 66:.5 69:.5");
const Lines answer = Melody("83:2 81:2 | 79:2 76:2 | 76:2 72:2 | 74:2 78:2");
// Brushes: the ride's swing pattern, the hi-hat's foot on two and four, a soft kick.
const std::vector<DrumHit> brushes = Join({Strokes(kPedalHat, "0:50 1:60 2:50 3:60"),
                                           Strokes(kKick, "0:54 2:48"),
                                           Strokes(kRide, "0:56 1:60 1.5:44 2:56 3:60 3.5:44", 2),
                                           Strokes(kSnare, "1:52 3:58", 8),
                                           {{0, kCrash, 70, 10, Where::kFirst, 1}},
                                           Roll(kSnare, 0, 0.25, 16, 24, 0, 5, Where::kButLast),
                                           Roll(kSnare, 2.5, 0.5, 3, 60, 10, 4, Where::kLast)});
const LevelSong kSong{
    "Boulevard",
    {{"Accordion", kAccordion, 96, 48},
     {"Guitar", kNylonGuitar, 80, 88},
     {"Bass", kAcousticBass, 104},
     {"Vibraphone", kVibraphone, 70, 76},
     {"Drums", -1, 90},
     {"Violin", kViolin, 80, 30}},
    0.16, // swing
    8,    // accent
    // GetReady
    Part(2, 128, {G},
         {FigureLayer("Accordion", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
          DrumLayer("Drums", Roll(kSnare, 0, 0.25, 16, 26, 2))}),
    // Letter
    Part(4, 104, {C, G, Am, D},
         {FigureLayer("Guitar", offBeats, 50), FigureLayer("Bass", twoBeat, 64),
          LineLayer("Violin",
                    Melody("76:1.5 74:.5 72:2 |"
                           "74:1.5 71:.5 67:2 |"
                           "69:1 72:1 76:2 |"
                           "74:3"),
                    64)}),
    // Play1 .. Play10
    Part(4, 128, {G, Em, Am, D},
         {FigureLayer("Bass", twoBeat, 88).Louder(2).Until(4),
          FigureLayer("Bass", walk, 90).Louder(2).From(5),
          FigureLayer("Guitar", offBeats, 54).Louder(2).Until(5),
          FigureLayer("Guitar", fourToBar, 60).Louder(2).From(6),
          DrumLayer("Drums", brushes).Louder(2), LineLayer("Accordion", tune, 80).Louder(2).From(3),
          LineLayer("Violin", answer, 56).Louder(3).From(7).Until(8),
          LineLayer("Violin", tune, 62).Louder(2).From(9),
          FigureLayer("Vibraphone", kHeld, 40).Louder(2).From(2).Transposed(12)}),
    // BeatLevel
    Part(
        2, 0, {G, G},
        {LineLayer("Accordion", Melody("67:.25 71:.25 74:.25 79:.25 83:.5 86:.5 86:2 | 91:3"), 100),
         FigureLayer("Guitar", fourToBar, 70), FigureLayer("Bass", twoBeat, 90),
         DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kLast, 1}, {0, kKick, 70}})}),
    // LevelComplete
    Part(4, 112, {Em, Am, D, G},
         {FigureLayer("Guitar", offBeats, 56), FigureLayer("Bass", twoBeat, 78),
          LineLayer("Accordion", Rotated(tune, 1), 68),
          DrumLayer("Drums", {{1, kPedalHat, 50}, {3, kPedalHat, 50}})}),
    // GameOver
    Part(2, 88, {C, G},
         {LineLayer("Accordion", Melody("79:1 78:1 77:1 76:1 | 74:3"), 76),
          FigureLayer("Bass", twoBeat, 60)})};

} // namespace boulevard

namespace sands {

const Chord D = Major(62), Eb = Major(63), Gm = Minor(67);
// Root and fifth held: the drone.
const Figure drone{{{0, 4, -3}, {0, 4, -1}}, 12};
const Figure bass = Steps("-6:1.5 -6:.5v-14 -6:1v-4 -4:.5v-10 -3:.5v-16", 0, 0.1);
// The oud's ostinato in the double harmonic scale on D.
const Lines ostinato = Melody("50:.25 50:.25 51:.5 54:.5 51:.5 50:.25 50:.25 57:.5 55:.5 54:.5 |"
                              "55:.25 55:.25 57:.5 58:.5 57:.5 55:.25 55:.25 58:.5 62:.5 61:.5 |"
                              "50:.25 50:.25 51:.5 54:.5 51:.5 50:.25 50:.25 57:.5 55:.5 54:.5 |"
                              "51:.25 51:.25 55:.5 58:.5 55:.5 51:.25 51:.25 54:.5 51:.5 49:.5");
const Lines tune = Melody("74:1 75:.25 74:.25 73:.5 74:1 79:.5 78:.5 |"
                          "81:1 82:.5 79:.5 82:.5 81:.5 79:1 |"
                          "78:.5 79:.5 78:.5 75:.5 74:2 |"
                          "75:.5 78:.5 79:.5 82:.5 79:1 78:.5 75:.5");
// Maqsum on the hand drums: doum, tek, -, tek, doum, -, tek, -.
const std::vector<DrumHit> maqsum = Join({Strokes(kLowConga, "0:100"),
                                          Strokes(kHighBongo, ".5:76 1.5:80"),
                                          Strokes(kLowConga, "2:96"),
                                          Strokes(kHighBongo, "3:84"),
                                          Strokes(kMuteConga, ".75:50 2.75:50", 5),
                                          Strokes(kHighBongo, "3.5:56", 5),
                                          Strokes(kOpenTriangle, "0:50 2:44", 6),
                                          Strokes(kLowConga, "1:70", 8),
                                          {{0, kChinaCymbal, 60, 10, Where::kFirst, 1}},
                                          Roll(kTambourine, 0, 0.5, 8, 50, 0, 4),
                                          Roll(kTambourine, 0.25, 0.5, 8, 34, 0, 8),
                                          Roll(kHighBongo, 3, 0.25, 4, 66, 8, 4, Where::kLast)});
const LevelSong kSong{
    "Sands",
    {{"Shanai", kShanai, 90, 60, 64},
     {"Drone", kStrings, 66},
     {"Bass", kFretlessBass, 100},
     {"Oud", kShamisen, 92, 84},
     {"Drums", -1, 104},
     {"Strings", kSlowStrings, 76, 40}},
    0, // swing
    8, // accent
    // GetReady
    Part(2, 104, {D},
         {FigureLayer("Drone", drone, 56), FigureLayer("Bass", kHeldRoot, 80),
          DrumLayer("Drums", Roll(kHighBongo, 0, 0.25, 16, 36, 3)),
          DrumLayer("Drums", {{0, kLowConga, 90}})}),
    // Letter
    Part(4, 90, {Gm, D, Eb, D},
         {FigureLayer("Drone", drone, 52),
          LineLayer("Strings", Melody("70:2 69:1 67:1 | 66:2 69:2 | 67:1 66:1 63:2 | 62:4"), 70)}),
    // Play1 .. Play10
    Part(4, 104, {D, Gm, D, Eb},
         {FigureLayer("Drone", drone, 46).Louder(2), FigureLayer("Bass", bass, 88).Louder(2),
          DrumLayer("Drums", maqsum).Louder(1), LineLayer("Oud", ostinato, 64).Louder(3).From(2),
          LineLayer("Shanai", tune, 76).Louder(2).From(3),
          LineLayer("Strings", tune, 58).Louder(2).From(7).Until(8).Transposed(-12),
          LineLayer("Strings", tune, 62).Louder(2).From(9)}),
    // BeatLevel
    Part(2, 0, {D, D},
         {LineLayer("Shanai",
                    Melody("74:.25 75:.25 78:.25 79:.25 81:.25 82:.25 85:.25 86:.25 86:2 |"
                           "86:3"),
                    96),
          FigureLayer("Drone", drone, 64),
          DrumLayer("Drums", {{0, kLowConga, 100}, {0, kChinaCymbal, 70, 0, Where::kFirst, 1}}),
          DrumLayer("Drums", Roll(kTambourine, 0, 0.25, 8, 50, 4, 0, Where::kFirst))}),
    // LevelComplete
    Part(4, 96, {Gm, D, Eb, D},
         {FigureLayer("Drone", drone, 50), LineLayer("Oud", Rotated(ostinato, 1), 64),
          LineLayer("Shanai", Rotated(tune, 1), 64),
          DrumLayer("Drums", {{0, kLowConga, 70}, {2, kLowConga, 64}})}),
    // GameOver
    Part(2, 80, {Gm, D},
         {LineLayer("Shanai", Melody("70:1 69:1 67:1 66:1 | 63:1 62:3"), 72),
          FigureLayer("Drone", drone, 50)})};

} // namespace sands

namespace jungle {

const Chord E = Major(64), A = Major(69), Csm = Minor(61), B = Major(59);
// Triplets climbing and falling through the chord.
const Figure ostinato = Steps("0:1/3 1:1/3v-14 2:1/3v-14 3:1/3 2:1/3v-14 1:1/3v-14 "
                              "0:1/3 2:1/3v-14 3:1/3v-14 4:1/3 3:1/3v-14 2:1/3v-14",
                              24);
const Figure bass =
    Steps("-6:2/3 -6:1/3v-20 -4:2/3v-8 -4:1/3v-20 -6:2/3 -5:1/3v-16 -4:1v-8", 0, 0.1);
const Lines tune = Melody("76:1/3 78:1/3 80:1/3 83:1 80:2/3 78:1/3 76:1 |"
                          "81:1/3 80:1/3 78:1/3 76:1 73:2/3 76:1/3 81:1 |"
                          "80:2/3 76:1/3 73:2/3 76:1/3 80:1 83:1/3 81:1/3 80:1/3 |"
                          "78:1 75:1/3 78:1/3 83:1/3 87:1 83:2/3 78:1/3");
const Lines answer = Melody("88:2 83:2 | 85:2 81:2 | 80:2 85:2 | 83:2 78:2");
// Shakers in triplets, the twelve-eight bell, congas, then timbales and claps.
const std::vector<DrumHit> groove =
    Join({{{0, kKick, 96},
           {2, kKick, 90},
           {1, kClap, 64, 6},
           {3, kClap, 70, 6},
           {1 + 2 * T, kKick, 70, 8},
           {3 + 2 * T, kKick, 64, 8},
           {0, kCrash, 80, 10, Where::kFirst, 1}},
          Roll(kMaracas, 0, T, 12, 40, 0),
          Hits(kHighAgogo, {0}, 76, 4),
          Hits(kHighAgogo, {2 * T, 4 * T, 5 * T, 7 * T, 9 * T, 11 * T}, 60, 4),
          {{2 * T, kOpenConga, 70, 5},
           {1, kLowConga, 76, 5},
           {1 + 2 * T, kOpenConga, 60, 5},
           {2 + 2 * T, kMuteConga, 64, 5},
           {3, kLowConga, 80, 5},
           {3 + T, kOpenConga, 60, 5},
           {1 + T, kHighTimbale, 56, 8},
           {3 + 2 * T, kLowTimbale, 64, 8}},
          Roll(kHighBongo, 2, T, 6, 60, 6, 4, Where::kLast)});
const LevelSong kSong{
    "Jungle",
    {{"Marimba", kMarimba, 110, 60},
     {"Kalimba", kKalimba, 90, 90},
     {"Bass", kFingerBass, 100},
     {"SteelDrums", kSteelDrums, 72, 30},
     {"Drums", -1, 100},
     {"Pad", kStrings, 56},
     {"Ocarina", kOcarina, 84, 70}},
    0, // swing
    8, // accent
    // GetReady
    Part(2, 132, {E},
         {FigureLayer("Pad", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
          DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 4)),
          DrumLayer("Drums", Roll(kOpenConga, 3, T, 3, 60, 10))}),
    // Letter
    Part(4, 100, {A, E, Minor(66), B},
         {FigureLayer("Pad", kHeld, 52), FigureLayer("Kalimba", ostinato, 44),
          LineLayer("Ocarina", Melody("76:2 73:1 76:1 | 80:3 76:1 | 78:2 81:1 78:1 | 75:4"), 66)}),
    // Play1 .. Play10
    Part(4, 132, {E, A, Csm, B},
         {FigureLayer("Pad", kHeld, 40).Louder(2), FigureLayer("Bass", bass, 86).Louder(2),
          DrumLayer("Drums", groove).Louder(1),
          FigureLayer("Kalimba", ostinato, 54).Louder(2).From(2),
          LineLayer("Marimba", tune, 84).Louder(2).From(3),
          LineLayer("SteelDrums", answer, 60).Louder(2).From(7).Until(8),
          LineLayer("SteelDrums", tune, 60).Louder(2).From(9)}),
    // BeatLevel
    Part(2, 0, {E, E},
         {LineLayer("Marimba",
                    Melody("76:1/3 80:1/3 83:1/3 80:1/3 83:1/3 88:1/3 88:2 |"
                           "83:1/3 88:1/3 90:1/3 92:2"),
                    110),
          FigureLayer("Pad", kHeld, 64), FigureLayer("Kalimba", ostinato, 60),
          DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kFirst, 1}, {0, kKick, 96}})}),
    // LevelComplete
    Part(4, 120, {A, Csm, B, E},
         {FigureLayer("Pad", kHeld, 48), FigureLayer("Kalimba", ostinato, 56),
          LineLayer("Marimba", Rotated(tune, 1), 76),
          DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 0))}),
    // GameOver
    Part(2, 96, {E, A},
         {LineLayer("Marimba", Melody("83:1 80:1 78:1 76:1 | 64:3"), 84),
          FigureLayer("Pad", kHeld, 48)})};

} // namespace jungle

namespace lanterns {

const Chord F = Major(65), Dm = Minor(62), Bb = Major(70), C = Major(72), Gm = Minor(67);
const Figure ripple = Steps("0:.5 1:.5v-10 2:.5 3:.5v-10 2:.5 1:.5v-10 0:.5 2:.5v-10", 20);
const Figure plucks =
    Stacked({{0.5, 0.5, 0}, {1.5, 0.5, 0}, {2.5, 0.5, 0}, {3.5, 0.5, 0}}, {-2, -1, 0}, 0, 0.5);
const Figure bass = Steps("-6:1.5 -6:.5v-16 -4:1v-6 -3:1v-10", 0, 0.1);
const Lines tune = Melody("72:.5 74:.5 77:1 74:.5 72:.5 69:1 |"
                          "69:.5 72:.5 74:.5 77:.5 74:1.5 72:.5 |"
                          "74:1 77:.5 79:.5 77:1 74:.5 72:.5 |"
                          "67:.5 69:.5 72:.5 74:.5 79:2");
const Lines answer = Melody("84:2 81:2 | 86:2 81:2 | 86:2 89:2 | 84:2 79:2");
// Woodblocks, barrel drums on one and three, a gong into the phrase at the top.
const std::vector<DrumHit> temple = Join({Strokes(kHighWoodblock, "0:80 1.5:64 2:74 3:70"),
                                          Strokes(kLowWoodblock, "1:70 2.5:64"),
                                          Strokes(kLowFloorTom, "0:84 2:76", 4),
                                          Strokes(kHighFloorTom, "3.5:60", 8),
                                          Strokes(kLowFloorTom, ".5:56", 8),
                                          Strokes(kSplash, "1:50", 6, Where::kOdd),
                                          {{0, kChinaCymbal, 70, 10, Where::kFirst, 1}},
                                          Roll(kHighWoodblock, 0.25, 0.5, 8, 40, 0, 5),
                                          Roll(kHighFloorTom, 3, 0.25, 4, 64, 8, 4, Where::kLast)});
const LevelSong kSong{
    "Lanterns",
    {{"Koto", kKoto, 110, 70, 70},
     {"Harp", kHarp, 84, 40},
     {"Bass", kAcousticBass, 96},
     {"Pizzicato", kPizzicato, 76, 96},
     {"Drums", -1, 96},
     {"Strings", kStrings, 56},
     {"Flute", kFlute, 84, 56, 80}},
    0, // swing
    6, // accent
    // GetReady
    Part(2, 96, {F},
         {FigureLayer("Strings", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
          DrumLayer("Drums", Roll(kHighWoodblock, 0, 0.25, 16, 30, 3))}),
    // Letter
    Part(4, 84, {Bb, F, Gm, C},
         {FigureLayer("Strings", kHeld, 50), FigureLayer("Harp", ripple, 44),
          LineLayer("Flute", Melody("74:2 77:2 | 72:1 69:1 72:2 | 74:3 72:1 | 72:4"), 60)}),
    // Play1 .. Play10
    Part(4, 96, {F, Dm, Bb, C},
         {FigureLayer("Strings", kHeld, 40).Louder(2), FigureLayer("Bass", bass, 84).Louder(2),
          DrumLayer("Drums", temple).Louder(1), FigureLayer("Harp", ripple, 54).Louder(2).From(2),
          LineLayer("Koto", tune, 84).Louder(2).From(3).Until(8),
          FigureLayer("Pizzicato", plucks, 50).Louder(3).From(5),
          LineLayer("Flute", answer, 56).Louder(2).From(7),
          LineLayer("Koto", tune, 94).Louder(2).From(9).Transposed(12)}),
    // BeatLevel
    Part(2, 0, {F, F},
         {LineLayer("Koto",
                    Melody("65:.25 67:.25 69:.25 72:.25 74:.25 77:.25 79:.25 81:.25 84:2 |"
                           "89:3"),
                    110),
          FigureLayer("Strings", kHeld, 64),
          DrumLayer("Drums", {{0, kChinaCymbal, 80, 0, Where::kFirst, 1}, {0, kLowFloorTom, 90}})}),
    // LevelComplete
    Part(4, 88, {Dm, Bb, C, F},
         {FigureLayer("Strings", kHeld, 48), FigureLayer("Harp", ripple, 56),
          LineLayer("Koto", Rotated(tune, 1), 76),
          DrumLayer("Drums", {{0, kHighWoodblock, 60}, {2, kLowWoodblock, 54}})}),
    // GameOver
    Part(2, 72, {Dm, F},
         {LineLayer("Koto", Melody("81:1 79:1 77:1 74:1 | 72:1 65:3"), 84),
          FigureLayer("Strings", kHeld, 48)})};

} // namespace lanterns

namespace workshop {

const Chord C = Major(60), A = Major(69), Dm = Minor(62), G = Major(67), F = Major(65),
            D = Major(62);
// Staccato bassoon stepping between root and fifth, with a hiccup on four.
const Figure hops = Steps("-6:.5 -:.5 -4:.5 -:.5 -6:.5 -6:.5v-20 -4:.5 -5:.5v-12", 0, 0.45);
const Figure stabs = Stacked({{1, 0.5, 0}, {3, 0.5, 0}, {3.5, 0.5, 0, 0, -20}}, {0, 1, 2}, 0, 0.5);
// The xylophone's gears: chord tones in sixteenths.
const Figure gearFigure = Steps("3:.25 4:.25v-16 5:.25v-16 4:.25v-16 3:.25 4:.25v-16 "
                                "5:.25v-16 4:.25v-16 3:.25 4:.25v-16 5:.25v-16 4:.25v-16 "
                                "3:.25 4:.25v-16 5:.25v-16 4:.25v-16",
                                30);
const Lines tune = Melody("72:.5 71:.25 72:.25 76:.5 75:.5 76:.5 79:.5 84:1 |"
                          "85:.5 84:.5 81:.5 76:.5 73:1 76:.5 81:.5 |"
                          "77:.5 76:.25 77:.25 81:.5 80:.5 81:.5 77:.5 74:1 |"
                          "71:.5 74:.5 77:.5 79:.5 79:.5 78:.5 74:.5 71:.5");
const Lines counter = Melody("79:2 72:2 | 76:1 73:1 69:2 | 74:1 77:1 81:2 | 79:2 77:2");
// Tick and tock, the side stick, a ratchet winding up at the end of the phrase.
const std::vector<DrumHit> clock =
    Join({Strokes(kHighWoodblock, "0:76 1:66 2:72 3:66"),
          Strokes(kLowWoodblock, ".5:60 1.5:56 2.5:60 3.5:56", 4), Strokes(kKick, "0:84 2.5:70", 5),
          Strokes(kSideStick, "1:76 3:80", 5), Strokes(kOpenTriangle, "0:56", 8, Where::kFirst),
          Strokes(kCowbell, "0:70", 10, Where::kFirst), Roll(kClosedHat, 0, 0.25, 16, 36, 0, 8),
          Roll(kShortGuiro, 3, 0.125, 8, 50, 5, 4, Where::kLast)});
const LevelSong kSong{
    "Workshop",
    {{"Clarinet", kClarinet, 100, 50},
     {"Bassoon", kBassoon, 110, 64},
     {"Pizzicato", kPizzicato, 84, 90},
     {"Xylophone", kXylophone, 70, 30},
     {"Drums", -1, 96},
     {"Oboe", kOboe, 80, 80}},
    0, // swing
    8, // accent
    // GetReady
    Part(2, 120, {C},
         {FigureLayer("Bassoon", kHeldRoot, 70),
          DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 60, 0)),
          DrumLayer("Drums", Roll(kLowWoodblock, 0.5, 1, 4, 50, 0)),
          DrumLayer("Drums", Roll(kShortGuiro, 2, 0.25, 8, 40, 6, 0, Where::kLast))}),
    // Letter
    Part(4, 100, {F, C, D, G},
         {FigureLayer("Pizzicato", stabs, 46), FigureLayer("Bassoon", kHeldRoot, 60),
          LineLayer("Clarinet",
                    Melody("69:1 72:1 77:2 |"
                           "76:1.5 74:.5 72:2 |"
                           "74:1 78:1 81:2 |"
                           "79:3 74:1"),
                    64)}),
    // Play1 .. Play10
    Part(4, 120, {C, A, Dm, G},
         {FigureLayer("Bassoon", hops, 90).Louder(2), DrumLayer("Drums", clock).Louder(1),
          FigureLayer("Pizzicato", stabs, 56).Louder(3).From(2),
          LineLayer("Clarinet", tune, 82).Louder(2).From(3),
          LineLayer("Oboe", counter, 60).Louder(2).From(6).Until(8),
          FigureLayer("Xylophone", gearFigure, 50).Louder(3).From(7),
          LineLayer("Oboe", tune, 64).Louder(2).From(9)}),
    // BeatLevel
    Part(2, 0, {G, C},
         {LineLayer("Clarinet", Melody("60:.25 64:.25 67:.25 72:.25 76:1 -:.5 72:.5 79:1 | 84:3"),
                    100),
          FigureLayer("Pizzicato", stabs, 70), FigureLayer("Bassoon", hops, 90),
          DrumLayer("Drums", {{0, kCowbell, 80}, {0, kOpenTriangle, 64, 0, Where::kLast}})}),
    // LevelComplete
    Part(4, 108, {A, Dm, G, C},
         {FigureLayer("Bassoon", hops, 76), FigureLayer("Pizzicato", stabs, 56),
          LineLayer("Clarinet", Rotated(tune, 1), 70),
          DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 50, 0))}),
    // GameOver
    Part(2, 84, {C, C},
         {LineLayer("Bassoon", Melody("55:1 54:1 53:1 52:1 | 48:3"), 96),
          FigureLayer("Pizzicato", Stacked({{0, 0.5, 0}}, {0, 1, 2}, 0, 0.5), 40)})};

} // namespace workshop

} // namespace

void GenerateSongAssets(AssetPack& pack)
{
    const std::pair<const char*, const LevelSong*> songs[] = {
        {"Andes.mid", &andes::kSong},       {"Capital.mid", &capital::kSong},
        {"Frost.mid", &frost::kSong},       {"Boulevard.mid", &boulevard::kSong},
        {"Sands.mid", &sands::kSong},       {"Jungle.mid", &jungle::kSong},
        {"Lanterns.mid", &lanterns::kSong}, {"Workshop.mid", &workshop::kSong},
    };
    for (const auto& song : songs)
        pack.WriteMusic(folders::kMusic, song.first, MakeLevelSong(*song.second));
}

} // namespace assetgen
