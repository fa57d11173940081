// The level songs of the lands after the first and of the lab. Each is a LevelSong: the
// same parts at the same measures as "Harbour.mid", in its own key, mode, tempo, band and
// rhythm, its play parts adding layers and drive level by level.
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

LevelSong Andes()
{
    LevelSong s;
    s.title = "Andes";
    s.accent = 8;
    s.tracks = {{"PanFlute", kPanFlute, 100, 56},
                {"Charango", kNylonGuitar, 84, 84},
                {"Bass", kAcousticBass, 100},
                {"Choir", kChoir, 60, 40},
                {"Drums", -1, 100},
                {"Quena", kFlute, 72, 72},
                {"Piccolo", kPiccolo, 60, 60}};
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
    const std::vector<DrumHit> bombo = Join({{{0, kBassDrum, 100},
                                              {0.75, kBassDrum, 70},
                                              {2, kBassDrum, 92},
                                              {2.75, kBassDrum, 70},
                                              {1, kLowFloorTom, 60, 6},
                                              {3, kLowFloorTom, 64, 6},
                                              {3.5, kLowFloorTom, 56, 6}},
                                             Roll(kMaracas, 0, 0.5, 8, 56, 0, 4),
                                             Roll(kCabasa, 0.25, 0.5, 8, 40, 0, 5),
                                             Hits(kClaves, {0.75, 2.5}, 70, 8),
                                             Roll(kHighBongo, 3, 0.25, 4, 70, 6, 4, Where::kLast)});

    s.getReady = {2, 100, {Em}, {}};
    s.getReady.layers = {FigureLayer("Choir", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kMaracas, 0, 0.25, 16, 34, 2)),
                         DrumLayer("Drums", {{0, kBassDrum, 90}})};

    s.letter = {4, 88, {C, Em, Minor(57), B}, {}};
    s.letter.layers = {FigureLayer("Choir", kHeld, 52), LineLayer("PanFlute",
                                                                  Melody("76:2 79:1 76:1 |"
                                                                         "71:3 74:1 |"
                                                                         "72:2 69:2 |"
                                                                         "71:3"),
                                                                  64)};

    s.play = {4, 100, {Em, D, C, B}, {}};
    s.play.layers = {FigureLayer("Choir", kHeld, 40).Louder(2),
                     FigureLayer("Bass", bass, 86).Louder(2),
                     DrumLayer("Drums", bombo).Louder(1),
                     FigureLayer("Charango", strum, 50).Louder(2).From(2),
                     LineLayer("PanFlute", riff, 84).Louder(1).From(3),
                     LineLayer("Quena", second, 62).Louder(2).From(7),
                     LineLayer("Piccolo", riff, 56).Louder(2).From(9).Transposed(12)};

    s.beatLevel = {2, 0, {Major(67), Em}, {}};
    s.beatLevel.layers = {
        LineLayer("PanFlute",
                  Melody("76:.25 79:.25 81:.25 83:.25 86:1 83:.5 86:.5 88:1 |"
                         "88:3"),
                  100),
        FigureLayer(
            "Charango",
            Stacked({{0, 0.5, 0}, {0.5, 0.25, 0}, {0.75, 0.25, 0}, {1, 1, 0}}, {0, 1, 2, 3}), 70),
        FigureLayer("Choir", kHeld, 64),
        DrumLayer("Drums", {{0, kBassDrum, 100}, {2, kBassDrum, 90}, {0, kMaracas, 70}})};

    s.levelComplete = {4, 92, {D, C, B, Em}, {}};
    s.levelComplete.layers = {FigureLayer("Choir", kHeld, 48), FigureLayer("Charango", strum, 56),
                              FigureLayer("Bass", bass, 70),
                              LineLayer("PanFlute", Rotated(riff, 1), 70)};

    s.gameOver = {2, 76, {Major(67), Em}, {}};
    s.gameOver.layers = {LineLayer("PanFlute",
                                   Melody("79:1 76:1 74:1 71:1 |"
                                          "64:3"),
                                   72),
                         FigureLayer("Choir", kHeld, 50)};
    return s;
}

LevelSong Capital()
{
    LevelSong s;
    s.title = "Capital";
    s.accent = 10;
    s.tracks = {{"Trumpet", kTrumpet, 96, 70},
                {"Brass", kBrass, 78, 50},
                {"Tuba", kTuba, 110},
                {"Piccolo", kPiccolo, 64, 84},
                {"Drums", -1, 100},
                {"Glockenspiel", kGlockenspiel, 64, 90},
                {"Horn", kHorn, 90, 60},
                {"Trombone", kTrombone, 96}};
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
    const std::vector<DrumHit> march = Join({{{0, kBassDrum, 100},
                                              {2, kBassDrum, 90},
                                              {0, kSnare, 84},
                                              {1, kSnare, 60},
                                              {2, kSnare, 80},
                                              {3, kSnare, 60},
                                              {0, kCrash, 70, 2, Where::kFirst, 1}},
                                             Hits(kSnare, {0.5, 1.5, 2.5, 3.5}, 50, 4),
                                             Hits(kSnare, {1.75, 3.25, 3.75}, 46, 5),
                                             Hits(kSplash, {0.0, 2.0}, 56, 6, Where::kButLast),
                                             Hits(kBassDrum, {1.0, 3.0}, 70, 8),
                                             Roll(kSnare, 2, 0.125, 15, 50, 3, 4, Where::kLast),
                                             {{3.875, kSnare, 110, 4, Where::kLast, 0.125}}});

    s.getReady = {2, 126, {Bb}, {}};
    s.getReady.layers = {FigureLayer("Brass", kHeld, 52), FigureLayer("Tuba", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kSnare, 0, 0.125, 32, 30, 1))};

    s.letter = {4, 96, {Eb, Bb, Cm, F}, {}};
    s.letter.layers = {FigureLayer("Brass", kHeld, 44), LineLayer("Horn",
                                                                  Melody("70:2 67:1 70:1 |"
                                                                         "74:3 72:1 |"
                                                                         "75:2 72:1 67:1 |"
                                                                         "72:4"),
                                                                  70)};

    s.play = {4, 126, {Bb, Gm, Eb, F}, {}};
    s.play.layers = {FigureLayer("Tuba", oom, 90).Louder(2).Until(5),
                     FigureLayer("Tuba", oomWalk, 90).Louder(2).From(6),
                     DrumLayer("Drums", march).Louder(1),
                     FigureLayer("Brass", pah, 56).Louder(3).From(2),
                     LineLayer("Trumpet", tune, 84).Louder(2).From(3),
                     FigureLayer("Piccolo", obbligato, 50).Louder(3).From(7),
                     LineLayer("Glockenspiel", tune, 50).Louder(3).From(9).Transposed(12)};

    s.beatLevel = {2, 0, {Bb, Bb}, {}};
    s.beatLevel.layers = {
        LineLayer("Trumpet",
                  Melody("70:1/3 70:1/3 70:1/3 77:1 74:.5 77:.5 82:1 |"
                         "82:3"),
                  104),
        FigureLayer("Brass", kHeld, 70), FigureLayer("Tuba", oom, 96),
        DrumLayer("Drums", {{0, kCrash, 90, 0, Where::kEvery, 1}, {0, kBassDrum, 100}})};

    s.levelComplete = {4, 116, {Gm, Eb, F, Bb}, {}};
    s.levelComplete.layers = {FigureLayer("Tuba", oom, 80), FigureLayer("Brass", pah, 60),
                              LineLayer("Horn", Rotated(tune, 1), 72),
                              DrumLayer("Drums", {{0, kSnare, 50}, {2, kSnare, 44}})};

    s.gameOver = {2, 84, {Eb, F}, {}};
    s.gameOver.layers = {LineLayer("Trombone",
                                   Melody("58:1 57:1 56:1 55:1 |"
                                          "53:3"),
                                   90),
                         FigureLayer("Brass", kHeld, 46)};
    return s;
}

LevelSong Frost()
{
    LevelSong s;
    s.title = "Frost";
    s.accent = 4;
    s.tracks = {{"Celesta", kCelesta, 110, 50, 100},
                {"Strings", kSlowStrings, 84, 64, 90},
                {"Bass", kFretlessBass, 96},
                {"MusicBox", kMusicBox, 76, 90, 100},
                {"Drums", -1, 96},
                {"Choir", kChoir, 64, 30, 90},
                {"Flute", kFlute, 80, 70, 90}};
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
    const std::vector<DrumHit> beat = Join({{{0, kBassDrum, 80},
                                             {0.5, kBassDrum, 56},
                                             {0, kRide, 50, 4},
                                             {1, kRide, 40, 4},
                                             {2, kRide, 46, 4},
                                             {3, kRide, 40, 4},
                                             {2, kSnare, 76, 5},
                                             {1.75, kKick, 60, 5},
                                             {0, kCrash, 76, 10, Where::kFirst, 1}},
                                            Roll(kMuteTriangle, 0.5, 1, 4, 36, 0, 4),
                                            Roll(kCabasa, 0, 0.25, 16, 30, 0, 6),
                                            Hits(kRide, {0.5, 1.5, 2.5, 3.5}, 34, 8),
                                            Roll(kHighTom, 3, 0.25, 2, 60, 6, 7, Where::kLast),
                                            Roll(kTom, 3.5, 0.25, 2, 70, 6, 7, Where::kLast)});

    s.getReady = {2, 84, {Fsm}, {}};
    s.getReady.layers = {FigureLayer("Strings", ninth, 54), FigureLayer("Bass", kHeldRoot, 70),
                         DrumLayer("Drums", Roll(kMuteTriangle, 0, 0.25, 16, 24, 3))};

    s.letter = {4, 72, {D, A, Minor(59), Major(61)}, {}};
    s.letter.layers = {FigureLayer("Strings", ninth, 50), LineLayer("Flute",
                                                                    Melody("78:2 76:2 |"
                                                                           "73:2 76:2 |"
                                                                           "71:3 73:1 |"
                                                                           "77:2 73:2"),
                                                                    58)};

    s.play = {4, 84, {Fsm, D, A, E}, {}};
    s.play.layers = {FigureLayer("Strings", ninth, 46).Louder(2),
                     FigureLayer("Bass", kHeldRoot, 80).Louder(1).Until(4),
                     FigureLayer("Bass", pulse, 84).Louder(2).From(5),
                     DrumLayer("Drums", beat).Louder(2),
                     FigureLayer("MusicBox", quarters, 56).Louder(2).From(1).Until(1),
                     FigureLayer("MusicBox", shimmer, 52).Louder(2).From(2),
                     LineLayer("Celesta", tune, 80).Louder(2).From(3).Until(8),
                     FigureLayer("Choir", ninth, 44).Louder(2).From(7),
                     LineLayer("Celesta", tune, 90).Louder(1).From(9).Transposed(12)};

    s.beatLevel = {2, 0, {D, Major(66)}, {}};
    s.beatLevel.layers = {
        LineLayer("Celesta",
                  Melody("74:.5 78:.5 81:.5 86:.5 88:2 |"
                         "82:.5 85:.5 90:3"),
                  104),
        FigureLayer("Strings", ninth, 62),
        DrumLayer("Drums", {{0, kCrash, 70, 0, Where::kFirst, 1}, {0, kOpenTriangle, 60}})};

    s.levelComplete = {4, 78, {D, A, E, Fsm}, {}};
    s.levelComplete.layers = {FigureLayer("Strings", ninth, 50),
                              FigureLayer("MusicBox", shimmer, 56),
                              LineLayer("Celesta", Rotated(tune, 1), 70)};

    s.gameOver = {2, 66, {E, Fsm}, {}};
    s.gameOver.layers = {LineLayer("Celesta",
                                   Melody("81:1 80:1 78:1 76:1 |"
                                          "73:3"),
                                   80),
                         FigureLayer("Strings", ninth, 46)};
    return s;
}

LevelSong Boulevard()
{
    LevelSong s;
    s.title = "Boulevard";
    s.accent = 8;
    s.swing = 0.16;
    s.tracks = {{"Accordion", kAccordion, 96, 48},
                {"Guitar", kNylonGuitar, 80, 88},
                {"Bass", kAcousticBass, 104},
                {"Vibraphone", kVibraphone, 70, 76},
                {"Drums", -1, 90},
                {"Violin", kViolin, 80, 30}};
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
    const Lines answer = Melody("83:2 81:2 |"
                                "79:2 76:2 |"
                                "76:2 72:2 |"
                                "74:2 78:2");
    // Brushes: the ride's swing pattern, the hi-hat's foot on two and four, a soft kick.
    const std::vector<DrumHit> brushes = Join({{{0, kPedalHat, 50},
                                                {1, kPedalHat, 60},
                                                {2, kPedalHat, 50},
                                                {3, kPedalHat, 60},
                                                {0, kKick, 54},
                                                {2, kKick, 48},
                                                {0, kRide, 56, 2},
                                                {1, kRide, 60, 2},
                                                {1.5, kRide, 44, 2},
                                                {2, kRide, 56, 2},
                                                {3, kRide, 60, 2},
                                                {3.5, kRide, 44, 2},
                                                {1, kSnare, 52, 8},
                                                {3, kSnare, 58, 8},
                                                {0, kCrash, 70, 10, Where::kFirst, 1}},
                                               Roll(kSnare, 0, 0.25, 16, 24, 0, 5, Where::kButLast),
                                               Roll(kSnare, 2.5, 0.5, 3, 60, 10, 4, Where::kLast)});

    s.getReady = {2, 128, {G}, {}};
    s.getReady.layers = {FigureLayer("Accordion", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kSnare, 0, 0.25, 16, 26, 2))};

    s.letter = {4, 104, {C, G, Am, D}, {}};
    s.letter.layers = {FigureLayer("Guitar", offBeats, 50), FigureLayer("Bass", twoBeat, 64),
                       LineLayer("Violin",
                                 Melody("76:1.5 74:.5 72:2 |"
                                        "74:1.5 71:.5 67:2 |"
                                        "69:1 72:1 76:2 |"
                                        "74:3"),
                                 64)};

    s.play = {4, 128, {G, Em, Am, D}, {}};
    s.play.layers = {FigureLayer("Bass", twoBeat, 88).Louder(2).Until(4),
                     FigureLayer("Bass", walk, 90).Louder(2).From(5),
                     FigureLayer("Guitar", offBeats, 54).Louder(2).Until(5),
                     FigureLayer("Guitar", fourToBar, 60).Louder(2).From(6),
                     DrumLayer("Drums", brushes).Louder(2),
                     LineLayer("Accordion", tune, 80).Louder(2).From(3),
                     LineLayer("Violin", answer, 56).Louder(3).From(7).Until(8),
                     LineLayer("Violin", tune, 62).Louder(2).From(9),
                     FigureLayer("Vibraphone", kHeld, 40).Louder(2).From(2).Transposed(12)};

    s.beatLevel = {2, 0, {G, G}, {}};
    s.beatLevel.layers = {
        LineLayer("Accordion",
                  Melody("67:.25 71:.25 74:.25 79:.25 83:.5 86:.5 86:2 |"
                         "91:3"),
                  100),
        FigureLayer("Guitar", fourToBar, 70), FigureLayer("Bass", twoBeat, 90),
        DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kLast, 1}, {0, kKick, 70}})};

    s.levelComplete = {4, 112, {Em, Am, D, G}, {}};
    s.levelComplete.layers = {FigureLayer("Guitar", offBeats, 56), FigureLayer("Bass", twoBeat, 78),
                              LineLayer("Accordion", Rotated(tune, 1), 68),
                              DrumLayer("Drums", {{1, kPedalHat, 50}, {3, kPedalHat, 50}})};

    s.gameOver = {2, 88, {C, G}, {}};
    s.gameOver.layers = {LineLayer("Accordion",
                                   Melody("79:1 78:1 77:1 76:1 |"
                                          "74:3"),
                                   76),
                         FigureLayer("Bass", twoBeat, 60)};
    return s;
}

LevelSong Sands()
{
    LevelSong s;
    s.title = "Sands";
    s.accent = 8;
    s.tracks = {{"Shanai", kShanai, 90, 60, 64},
                {"Drone", kStrings, 66},
                {"Bass", kFretlessBass, 100},
                {"Oud", kShamisen, 92, 84},
                {"Drums", -1, 104},
                {"Strings", kSlowStrings, 76, 40}};
    const Chord D = Major(62), Eb = Major(63), Gm = Minor(67);
    // Root and fifth held: the drone.
    const Figure drone{{{0, 4, -3}, {0, 4, -1}}, 12};
    const Figure bass = Steps("-6:1.5 -6:.5v-14 -6:1v-4 -4:.5v-10 -3:.5v-16", 0, 0.1);
    // The oud's ostinato in the double harmonic scale on D.
    const Lines ostinato =
        Melody("50:.25 50:.25 51:.5 54:.5 51:.5 50:.25 50:.25 57:.5 55:.5 54:.5 |"
               "55:.25 55:.25 57:.5 58:.5 57:.5 55:.25 55:.25 58:.5 62:.5 61:.5 |"
               "50:.25 50:.25 51:.5 54:.5 51:.5 50:.25 50:.25 57:.5 55:.5 54:.5 |"
               "51:.25 51:.25 55:.5 58:.5 55:.5 51:.25 51:.25 54:.5 51:.5 49:.5");
    const Lines tune = Melody("74:1 75:.25 74:.25 73:.5 74:1 79:.5 78:.5 |"
                              "81:1 82:.5 79:.5 82:.5 81:.5 79:1 |"
                              "78:.5 79:.5 78:.5 75:.5 74:2 |"
                              "75:.5 78:.5 79:.5 82:.5 79:1 78:.5 75:.5");
    // Maqsum on the hand drums: doum, tek, -, tek, doum, -, tek, -.
    const std::vector<DrumHit> maqsum =
        Join({{{0, kLowConga, 100},
               {0.5, kHighBongo, 76},
               {1.5, kHighBongo, 80},
               {2, kLowConga, 96},
               {3, kHighBongo, 84},
               {0.75, kMuteConga, 50, 5},
               {2.75, kMuteConga, 50, 5},
               {3.5, kHighBongo, 56, 5},
               {0, kOpenTriangle, 50, 6},
               {2, kOpenTriangle, 44, 6},
               {1, kLowConga, 70, 8},
               {0, kChinaCymbal, 60, 10, Where::kFirst, 1}},
              Roll(kTambourine, 0, 0.5, 8, 50, 0, 4),
              Roll(kTambourine, 0.25, 0.5, 8, 34, 0, 8),
              Roll(kHighBongo, 3, 0.25, 4, 66, 8, 4, Where::kLast)});

    s.getReady = {2, 104, {D}, {}};
    s.getReady.layers = {FigureLayer("Drone", drone, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kHighBongo, 0, 0.25, 16, 36, 3)),
                         DrumLayer("Drums", {{0, kLowConga, 90}})};

    s.letter = {4, 90, {Gm, D, Eb, D}, {}};
    s.letter.layers = {FigureLayer("Drone", drone, 52), LineLayer("Strings",
                                                                  Melody("70:2 69:1 67:1 |"
                                                                         "66:2 69:2 |"
                                                                         "67:1 66:1 63:2 |"
                                                                         "62:4"),
                                                                  70)};

    s.play = {4, 104, {D, Gm, D, Eb}, {}};
    s.play.layers = {FigureLayer("Drone", drone, 46).Louder(2),
                     FigureLayer("Bass", bass, 88).Louder(2),
                     DrumLayer("Drums", maqsum).Louder(1),
                     LineLayer("Oud", ostinato, 64).Louder(3).From(2),
                     LineLayer("Shanai", tune, 76).Louder(2).From(3),
                     LineLayer("Strings", tune, 58).Louder(2).From(7).Until(8).Transposed(-12),
                     LineLayer("Strings", tune, 62).Louder(2).From(9)};

    s.beatLevel = {2, 0, {D, D}, {}};
    s.beatLevel.layers = {
        LineLayer("Shanai",
                  Melody("74:.25 75:.25 78:.25 79:.25 81:.25 82:.25 85:.25 86:.25 86:2 |"
                         "86:3"),
                  96),
        FigureLayer("Drone", drone, 64),
        DrumLayer("Drums", {{0, kLowConga, 100}, {0, kChinaCymbal, 70, 0, Where::kFirst, 1}}),
        DrumLayer("Drums", Roll(kTambourine, 0, 0.25, 8, 50, 4, 0, Where::kFirst))};

    s.levelComplete = {4, 96, {Gm, D, Eb, D}, {}};
    s.levelComplete.layers = {FigureLayer("Drone", drone, 50),
                              LineLayer("Oud", Rotated(ostinato, 1), 64),
                              LineLayer("Shanai", Rotated(tune, 1), 64),
                              DrumLayer("Drums", {{0, kLowConga, 70}, {2, kLowConga, 64}})};

    s.gameOver = {2, 80, {Gm, D}, {}};
    s.gameOver.layers = {LineLayer("Shanai",
                                   Melody("70:1 69:1 67:1 66:1 |"
                                          "63:1 62:3"),
                                   72),
                         FigureLayer("Drone", drone, 50)};
    return s;
}

LevelSong Jungle()
{
    LevelSong s;
    s.title = "Jungle";
    s.accent = 8;
    s.tracks = {{"Marimba", kMarimba, 110, 60},
                {"Kalimba", kKalimba, 90, 90},
                {"Bass", kFingerBass, 100},
                {"SteelDrums", kSteelDrums, 72, 30},
                {"Drums", -1, 100},
                {"Pad", kStrings, 56},
                {"Ocarina", kOcarina, 84, 70}};
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
    const Lines answer = Melody("88:2 83:2 |"
                                "85:2 81:2 |"
                                "80:2 85:2 |"
                                "83:2 78:2");
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

    s.getReady = {2, 132, {E}, {}};
    s.getReady.layers = {FigureLayer("Pad", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 4)),
                         DrumLayer("Drums", Roll(kOpenConga, 3, T, 3, 60, 10))};

    s.letter = {4, 100, {A, E, Minor(66), B}, {}};
    s.letter.layers = {FigureLayer("Pad", kHeld, 52), FigureLayer("Kalimba", ostinato, 44),
                       LineLayer("Ocarina",
                                 Melody("76:2 73:1 76:1 |"
                                        "80:3 76:1 |"
                                        "78:2 81:1 78:1 |"
                                        "75:4"),
                                 66)};

    s.play = {4, 132, {E, A, Csm, B}, {}};
    s.play.layers = {FigureLayer("Pad", kHeld, 40).Louder(2),
                     FigureLayer("Bass", bass, 86).Louder(2),
                     DrumLayer("Drums", groove).Louder(1),
                     FigureLayer("Kalimba", ostinato, 54).Louder(2).From(2),
                     LineLayer("Marimba", tune, 84).Louder(2).From(3),
                     LineLayer("SteelDrums", answer, 60).Louder(2).From(7).Until(8),
                     LineLayer("SteelDrums", tune, 60).Louder(2).From(9)};

    s.beatLevel = {2, 0, {E, E}, {}};
    s.beatLevel.layers = {
        LineLayer("Marimba",
                  Melody("76:1/3 80:1/3 83:1/3 80:1/3 83:1/3 88:1/3 88:2 |"
                         "83:1/3 88:1/3 90:1/3 92:2"),
                  110),
        FigureLayer("Pad", kHeld, 64), FigureLayer("Kalimba", ostinato, 60),
        DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kFirst, 1}, {0, kKick, 96}})};

    s.levelComplete = {4, 120, {A, Csm, B, E}, {}};
    s.levelComplete.layers = {FigureLayer("Pad", kHeld, 48), FigureLayer("Kalimba", ostinato, 56),
                              LineLayer("Marimba", Rotated(tune, 1), 76),
                              DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 0))};

    s.gameOver = {2, 96, {E, A}, {}};
    s.gameOver.layers = {LineLayer("Marimba",
                                   Melody("83:1 80:1 78:1 76:1 |"
                                          "64:3"),
                                   84),
                         FigureLayer("Pad", kHeld, 48)};
    return s;
}

LevelSong Lanterns()
{
    LevelSong s;
    s.title = "Lanterns";
    s.accent = 6;
    s.tracks = {
        {"Koto", kKoto, 110, 70, 70},      {"Harp", kHarp, 84, 40}, {"Bass", kAcousticBass, 96},
        {"Pizzicato", kPizzicato, 76, 96}, {"Drums", -1, 96},       {"Strings", kStrings, 56},
        {"Flute", kFlute, 84, 56, 80}};
    const Chord F = Major(65), Dm = Minor(62), Bb = Major(70), C = Major(72), Gm = Minor(67);
    const Figure ripple = Steps("0:.5 1:.5v-10 2:.5 3:.5v-10 2:.5 1:.5v-10 0:.5 2:.5v-10", 20);
    const Figure plucks =
        Stacked({{0.5, 0.5, 0}, {1.5, 0.5, 0}, {2.5, 0.5, 0}, {3.5, 0.5, 0}}, {-2, -1, 0}, 0, 0.5);
    const Figure bass = Steps("-6:1.5 -6:.5v-16 -4:1v-6 -3:1v-10", 0, 0.1);
    const Lines tune = Melody("72:.5 74:.5 77:1 74:.5 72:.5 69:1 |"
                              "69:.5 72:.5 74:.5 77:.5 74:1.5 72:.5 |"
                              "74:1 77:.5 79:.5 77:1 74:.5 72:.5 |"
                              "67:.5 69:.5 72:.5 74:.5 79:2");
    const Lines answer = Melody("84:2 81:2 |"
                                "86:2 81:2 |"
                                "86:2 89:2 |"
                                "84:2 79:2");
    // Woodblocks, barrel drums on one and three, a gong into the phrase at the top.
    const std::vector<DrumHit> temple =
        Join({{{0, kHighWoodblock, 80},
               {1.5, kHighWoodblock, 64},
               {2, kHighWoodblock, 74},
               {3, kHighWoodblock, 70},
               {1, kLowWoodblock, 70},
               {2.5, kLowWoodblock, 64},
               {0, kLowFloorTom, 84, 4},
               {2, kLowFloorTom, 76, 4},
               {3.5, kHighFloorTom, 60, 8},
               {0.5, kLowFloorTom, 56, 8},
               {1, kSplash, 50, 6, Where::kOdd},
               {0, kChinaCymbal, 70, 10, Where::kFirst, 1}},
              Roll(kHighWoodblock, 0.25, 0.5, 8, 40, 0, 5),
              Roll(kHighFloorTom, 3, 0.25, 4, 64, 8, 4, Where::kLast)});

    s.getReady = {2, 96, {F}, {}};
    s.getReady.layers = {FigureLayer("Strings", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kHighWoodblock, 0, 0.25, 16, 30, 3))};

    s.letter = {4, 84, {Bb, F, Gm, C}, {}};
    s.letter.layers = {FigureLayer("Strings", kHeld, 50), FigureLayer("Harp", ripple, 44),
                       LineLayer("Flute",
                                 Melody("74:2 77:2 |"
                                        "72:1 69:1 72:2 |"
                                        "74:3 72:1 |"
                                        "72:4"),
                                 60)};

    s.play = {4, 96, {F, Dm, Bb, C}, {}};
    s.play.layers = {FigureLayer("Strings", kHeld, 40).Louder(2),
                     FigureLayer("Bass", bass, 84).Louder(2),
                     DrumLayer("Drums", temple).Louder(1),
                     FigureLayer("Harp", ripple, 54).Louder(2).From(2),
                     LineLayer("Koto", tune, 84).Louder(2).From(3).Until(8),
                     FigureLayer("Pizzicato", plucks, 50).Louder(3).From(5),
                     LineLayer("Flute", answer, 56).Louder(2).From(7),
                     LineLayer("Koto", tune, 94).Louder(2).From(9).Transposed(12)};

    s.beatLevel = {2, 0, {F, F}, {}};
    s.beatLevel.layers = {
        LineLayer("Koto",
                  Melody("65:.25 67:.25 69:.25 72:.25 74:.25 77:.25 79:.25 81:.25 84:2 |"
                         "89:3"),
                  110),
        FigureLayer("Strings", kHeld, 64),
        DrumLayer("Drums", {{0, kChinaCymbal, 80, 0, Where::kFirst, 1}, {0, kLowFloorTom, 90}})};

    s.levelComplete = {4, 88, {Dm, Bb, C, F}, {}};
    s.levelComplete.layers = {
        FigureLayer("Strings", kHeld, 48), FigureLayer("Harp", ripple, 56),
        LineLayer("Koto", Rotated(tune, 1), 76),
        DrumLayer("Drums", {{0, kHighWoodblock, 60}, {2, kLowWoodblock, 54}})};

    s.gameOver = {2, 72, {Dm, F}, {}};
    s.gameOver.layers = {LineLayer("Koto",
                                   Melody("81:1 79:1 77:1 74:1 |"
                                          "72:1 65:3"),
                                   84),
                         FigureLayer("Strings", kHeld, 48)};
    return s;
}

LevelSong Workshop()
{
    LevelSong s;
    s.title = "Workshop";
    s.accent = 8;
    s.tracks = {{"Clarinet", kClarinet, 100, 50},
                {"Bassoon", kBassoon, 110, 64},
                {"Pizzicato", kPizzicato, 84, 90},
                {"Xylophone", kXylophone, 70, 30},
                {"Drums", -1, 96},
                {"Oboe", kOboe, 80, 80}};
    const Chord C = Major(60), A = Major(69), Dm = Minor(62), G = Major(67), F = Major(65),
                D = Major(62);
    // Staccato bassoon stepping between root and fifth, with a hiccup on four.
    const Figure hops = Steps("-6:.5 -:.5 -4:.5 -:.5 -6:.5 -6:.5v-20 -4:.5 -5:.5v-12", 0, 0.45);
    const Figure stabs =
        Stacked({{1, 0.5, 0}, {3, 0.5, 0}, {3.5, 0.5, 0, 0, -20}}, {0, 1, 2}, 0, 0.5);
    // The xylophone's gears: chord tones in sixteenths.
    const Figure gearFigure = Steps("3:.25 4:.25v-16 5:.25v-16 4:.25v-16 3:.25 4:.25v-16 "
                                    "5:.25v-16 4:.25v-16 3:.25 4:.25v-16 5:.25v-16 4:.25v-16 "
                                    "3:.25 4:.25v-16 5:.25v-16 4:.25v-16",
                                    30);
    const Lines tune = Melody("72:.5 71:.25 72:.25 76:.5 75:.5 76:.5 79:.5 84:1 |"
                              "85:.5 84:.5 81:.5 76:.5 73:1 76:.5 81:.5 |"
                              "77:.5 76:.25 77:.25 81:.5 80:.5 81:.5 77:.5 74:1 |"
                              "71:.5 74:.5 77:.5 79:.5 79:.5 78:.5 74:.5 71:.5");
    const Lines counter = Melody("79:2 72:2 |"
                                 "76:1 73:1 69:2 |"
                                 "74:1 77:1 81:2 |"
                                 "79:2 77:2");
    // Tick and tock, the side stick, a ratchet winding up at the end of the phrase.
    const std::vector<DrumHit> clock =
        Join({{{0, kHighWoodblock, 76},
               {1, kHighWoodblock, 66},
               {2, kHighWoodblock, 72},
               {3, kHighWoodblock, 66},
               {0.5, kLowWoodblock, 60, 4},
               {1.5, kLowWoodblock, 56, 4},
               {2.5, kLowWoodblock, 60, 4},
               {3.5, kLowWoodblock, 56, 4},
               {0, kKick, 84, 5},
               {2.5, kKick, 70, 5},
               {1, kSideStick, 76, 5},
               {3, kSideStick, 80, 5},
               {0, kOpenTriangle, 56, 8, Where::kFirst},
               {0, kCowbell, 70, 10, Where::kFirst}},
              Roll(kClosedHat, 0, 0.25, 16, 36, 0, 8),
              Roll(kShortGuiro, 3, 0.125, 8, 50, 5, 4, Where::kLast)});

    s.getReady = {2, 120, {C}, {}};
    s.getReady.layers = {FigureLayer("Bassoon", kHeldRoot, 70),
                         DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 60, 0)),
                         DrumLayer("Drums", Roll(kLowWoodblock, 0.5, 1, 4, 50, 0)),
                         DrumLayer("Drums", Roll(kShortGuiro, 2, 0.25, 8, 40, 6, 0, Where::kLast))};

    s.letter = {4, 100, {F, C, D, G}, {}};
    s.letter.layers = {FigureLayer("Pizzicato", stabs, 46), FigureLayer("Bassoon", kHeldRoot, 60),
                       LineLayer("Clarinet",
                                 Melody("69:1 72:1 77:2 |"
                                        "76:1.5 74:.5 72:2 |"
                                        "74:1 78:1 81:2 |"
                                        "79:3 74:1"),
                                 64)};

    s.play = {4, 120, {C, A, Dm, G}, {}};
    s.play.layers = {FigureLayer("Bassoon", hops, 90).Louder(2),
                     DrumLayer("Drums", clock).Louder(1),
                     FigureLayer("Pizzicato", stabs, 56).Louder(3).From(2),
                     LineLayer("Clarinet", tune, 82).Louder(2).From(3),
                     LineLayer("Oboe", counter, 60).Louder(2).From(6).Until(8),
                     FigureLayer("Xylophone", gearFigure, 50).Louder(3).From(7),
                     LineLayer("Oboe", tune, 64).Louder(2).From(9)};

    s.beatLevel = {2, 0, {G, C}, {}};
    s.beatLevel.layers = {
        LineLayer("Clarinet",
                  Melody("60:.25 64:.25 67:.25 72:.25 76:1 -:.5 72:.5 79:1 |"
                         "84:3"),
                  100),
        FigureLayer("Pizzicato", stabs, 70), FigureLayer("Bassoon", hops, 90),
        DrumLayer("Drums", {{0, kCowbell, 80}, {0, kOpenTriangle, 64, 0, Where::kLast}})};

    s.levelComplete = {4, 108, {A, Dm, G, C}, {}};
    s.levelComplete.layers = {FigureLayer("Bassoon", hops, 76), FigureLayer("Pizzicato", stabs, 56),
                              LineLayer("Clarinet", Rotated(tune, 1), 70),
                              DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 50, 0))};

    s.gameOver = {2, 84, {C, C}, {}};
    s.gameOver.layers = {LineLayer("Bassoon",
                                   Melody("55:1 54:1 53:1 52:1 |"
                                          "48:3"),
                                   96),
                         FigureLayer("Pizzicato", Stacked({{0, 0.5, 0}}, {0, 1, 2}, 0, 0.5), 40)};
    return s;
}

} // namespace

void GenerateSongAssets(AssetPack& pack)
{
    const std::pair<const char*, LevelSong (*)()> songs[] = {
        {"Andes.mid", Andes},         {"Capital.mid", Capital},   {"Frost.mid", Frost},
        {"Boulevard.mid", Boulevard}, {"Sands.mid", Sands},       {"Jungle.mid", Jungle},
        {"Lanterns.mid", Lanterns},   {"Workshop.mid", Workshop},
    };
    for (const auto& song : songs)
        pack.WriteMusic(folders::kMusic, song.first, MakeLevelSong(song.second()));
}

} // namespace assetgen
