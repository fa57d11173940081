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
const Figure kHeldRoot{{{0, 4, -6}}, 40};

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
    std::vector<Step> skip;
    for (int b = 0; b < 4; ++b) {
        skip.push_back({double(b), 0.5, 0, 0, 0});
        skip.push_back({b + 0.5, 0.25, 0, 0, -16});
        skip.push_back({b + 0.75, 0.25, 0, 0, -10});
    }
    const Figure strum = Stacked(skip, {0, 1, 2, 3}, 10);
    const Figure bass{{{0, 0.75, -6},
                       {0.75, 0.25, -6, 0, -18},
                       {1, 1, -4, 0, -8},
                       {2, 0.75, -6},
                       {2.75, 0.25, -5, 0, -18},
                       {3, 1, -4, 0, -8}},
                      0,
                      0.1};
    const Lines riff = {
        {{0, 0.5, 76},
         {0.5, 0.25, 79},
         {0.75, 0.25, 76},
         {1, 0.5, 74},
         {1.5, 0.5, 71},
         {2, 0.5, 76},
         {2.5, 0.25, 79},
         {2.75, 0.25, 81},
         {3, 1, 79}},
        {{0, 0.5, 81},
         {0.5, 0.25, 79},
         {0.75, 0.25, 76},
         {1, 0.5, 74},
         {1.5, 0.5, 69},
         {2, 0.5, 74},
         {2.5, 0.25, 76},
         {2.75, 0.25, 79},
         {3, 1, 74}},
        {{0, 0.5, 79},
         {0.5, 0.25, 76},
         {0.75, 0.25, 74},
         {1, 0.5, 76},
         {1.5, 0.5, 79},
         {2, 1, 81},
         {3, 0.5, 79},
         {3.5, 0.5, 76}},
        {{0, 0.5, 71},
         {0.5, 0.5, 75},
         {1, 0.5, 78},
         {1.5, 0.5, 81},
         {2, 1, 83},
         {3, 0.5, 81},
         {3.5, 0.5, 78}},
    };
    // A second voice under the riff, mostly a third or a fourth below.
    const Lines second = {
        {{0, 1, 71}, {1, 1, 67}, {2, 1, 71}, {3, 1, 76}},
        {{0, 1, 78}, {1, 1, 74}, {2, 1, 69}, {3, 1, 69}},
        {{0, 1, 76}, {1, 1, 72}, {2, 1, 76}, {3, 1, 72}},
        {{0, 1, 66}, {1, 1, 71}, {2, 1, 78}, {3, 1, 75}},
    };
    std::vector<DrumHit> bombo{{0, kBassDrum, 100},       {0.75, kBassDrum, 70},
                               {2, kBassDrum, 92},        {2.75, kBassDrum, 70},
                               {1, kLowFloorTom, 60, 6},  {3, kLowFloorTom, 64, 6},
                               {3.5, kLowFloorTom, 56, 6}};
    for (const DrumHit& h : Roll(kMaracas, 0, 0.5, 8, 56, 0, 4))
        bombo.push_back(h);
    for (const DrumHit& h : Roll(kCabasa, 0.25, 0.5, 8, 40, 0, 5))
        bombo.push_back(h);
    for (double b : {0.75, 2.5})
        bombo.push_back({b, kClaves, 70, 8});
    for (const DrumHit& h : Roll(kHighBongo, 3, 0.25, 4, 70, 6, 4, Where::kLast))
        bombo.push_back(h);

    s.getReady = {2, 100, {Em}, {}};
    s.getReady.layers = {FigureLayer("Choir", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kMaracas, 0, 0.25, 16, 34, 2)),
                         DrumLayer("Drums", {{0, kBassDrum, 90}})};

    s.letter = {4, 88, {C, Em, Minor(57), B}, {}};
    s.letter.layers = {FigureLayer("Choir", kHeld, 52),
                       LineLayer("PanFlute",
                                 {{{0, 2, 76}, {2, 1, 79}, {3, 1, 76}},
                                  {{0, 3, 71}, {3, 1, 74}},
                                  {{0, 2, 72}, {2, 2, 69}},
                                  {{0, 3, 71}}},
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
                  {{{0, 0.25, 76},
                    {0.25, 0.25, 79},
                    {0.5, 0.25, 81},
                    {0.75, 0.25, 83},
                    {1, 1, 86},
                    {2, 0.5, 83},
                    {2.5, 0.5, 86},
                    {3, 1, 88}},
                   {{0, 3, 88}}},
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
    s.gameOver.layers = {
        LineLayer("PanFlute", {{{0, 1, 79}, {1, 1, 76}, {2, 1, 74}, {3, 1, 71}}, {{0, 3, 64}}}, 72),
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
    const Figure oom{{{0, 1, -6}, {2, 1, -4, 0, -10}}, 0, 0.35};
    const Figure oomWalk{
        {{0, 1, -6}, {1, 1, -5, 0, -16}, {2, 1, -4, 0, -10}, {3, 1, -5, 0, -16}}, 0, 0.35};
    const Figure pah = Stacked({{1, 0.5, 0}, {3, 0.5, 0}}, {-3, -2, -1}, 0, 0.3);
    // The piccolo's chord tones in running eighths, two octaves up.
    const Figure obbligato{{{0, 0.5, 3},
                            {0.5, 0.5, 4},
                            {1, 0.5, 5},
                            {1.5, 0.5, 4},
                            {2, 0.5, 3},
                            {2.5, 0.5, 4},
                            {3, 0.5, 5},
                            {3.5, 0.5, 6}},
                           30};
    const Lines tune = {
        {{0, 0.75, 65},
         {0.75, 0.25, 70},
         {1, 0.5, 74},
         {1.5, 0.5, 77},
         {2, 1, 82},
         {3, 0.5, 77},
         {3.5, 0.5, 74}},
        {{0, 0.75, 79},
         {0.75, 0.25, 77},
         {1, 0.5, 74},
         {1.5, 0.5, 70},
         {2, 1.5, 67},
         {3.5, 0.5, 74}},
        {{0, 0.75, 75},
         {0.75, 0.25, 74},
         {1, 0.5, 72},
         {1.5, 0.5, 70},
         {2, 1, 67},
         {3, 0.5, 70},
         {3.5, 0.5, 75}},
        {{0, 0.75, 77},
         {0.75, 0.25, 75},
         {1, 0.5, 74},
         {1.5, 0.5, 72},
         {2, 1, 69},
         {3, 0.5, 72},
         {3.5, 0.5, 69}},
    };
    // Snare rudiments: accented quarters, then taps and sixteenth doubles as it grows.
    std::vector<DrumHit> march{{0, kBassDrum, 100},
                               {2, kBassDrum, 90},
                               {0, kSnare, 84},
                               {1, kSnare, 60},
                               {2, kSnare, 80},
                               {3, kSnare, 60},
                               {0, kCrash, 70, 2, Where::kFirst, 1}};
    for (double b : {0.5, 1.5, 2.5, 3.5})
        march.push_back({b, kSnare, 50, 4});
    for (double b : {1.75, 3.25, 3.75})
        march.push_back({b, kSnare, 46, 5});
    for (double b : {0.0, 2.0})
        march.push_back({b, kSplash, 56, 6, Where::kButLast});
    for (double b : {1.0, 3.0})
        march.push_back({b, kBassDrum, 70, 8});
    for (const DrumHit& h : Roll(kSnare, 2, 0.125, 15, 50, 3, 4, Where::kLast))
        march.push_back(h);
    march.push_back({3.875, kSnare, 110, 4, Where::kLast, 0.125});

    s.getReady = {2, 126, {Bb}, {}};
    s.getReady.layers = {FigureLayer("Brass", kHeld, 52), FigureLayer("Tuba", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kSnare, 0, 0.125, 32, 30, 1))};

    s.letter = {4, 96, {Eb, Bb, Cm, F}, {}};
    s.letter.layers = {FigureLayer("Brass", kHeld, 44),
                       LineLayer("Horn",
                                 {{{0, 2, 70}, {2, 1, 67}, {3, 1, 70}},
                                  {{0, 3, 74}, {3, 1, 72}},
                                  {{0, 2, 75}, {2, 1, 72}, {3, 1, 67}},
                                  {{0, 4, 72}}},
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
                  {{{0, T, 70},
                    {T, T, 70},
                    {2 * T, T, 70},
                    {1, 1, 77},
                    {2, 0.5, 74},
                    {2.5, 0.5, 77},
                    {3, 1, 82}},
                   {{0, 3, 82}}},
                  104),
        FigureLayer("Brass", kHeld, 70), FigureLayer("Tuba", oom, 96),
        DrumLayer("Drums", {{0, kCrash, 90, 0, Where::kEvery, 1}, {0, kBassDrum, 100}})};

    s.levelComplete = {4, 116, {Gm, Eb, F, Bb}, {}};
    s.levelComplete.layers = {FigureLayer("Tuba", oom, 80), FigureLayer("Brass", pah, 60),
                              LineLayer("Horn", Rotated(tune, 1), 72),
                              DrumLayer("Drums", {{0, kSnare, 50}, {2, kSnare, 44}})};

    s.gameOver = {2, 84, {Eb, F}, {}};
    s.gameOver.layers = {
        LineLayer("Trombone", {{{0, 1, 58}, {1, 1, 57}, {2, 1, 56}, {3, 1, 55}}, {{0, 3, 53}}}, 90),
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
    const Figure shimmer{{{0, 0.5, 0},
                          {0.5, 0.5, 2, 0, -10},
                          {1, 0.5, 3},
                          {1.5, 0.5, 4, 0, -10},
                          {2, 0.5, 5},
                          {2.5, 0.5, 4, 0, -10},
                          {3, 0.5, 3},
                          {3.5, 0.5, 2, 0, -10}},
                         40};
    const Figure quarters{{{0, 1, 3}, {1, 1, 5}, {2, 1, 6}, {3, 1, 5}}, 60};
    const Figure pulse{{{0, 1.5, -6}, {1.5, 1, -6, 0, -14}, {2.5, 1.5, -4, 0, -8}}, 0, 0.1};
    const Lines tune = {
        {{0, 1.5, 73}, {1.5, 0.5, 76}, {2, 1, 78}, {3, 1, 80}},
        {{0, 2, 81}, {2, 1, 78}, {3, 1, 76}},
        {{0, 1.5, 76}, {1.5, 0.5, 73}, {2, 2, 69}},
        {{0, 1, 71}, {1, 1, 73}, {2, 2, 68}},
    };
    // A heartbeat, then a half-time groove: the snare on three only.
    std::vector<DrumHit> beat{
        {0, kBassDrum, 80}, {0.5, kBassDrum, 56}, {0, kRide, 50, 4},
        {1, kRide, 40, 4},  {2, kRide, 46, 4},    {3, kRide, 40, 4},
        {2, kSnare, 76, 5}, {1.75, kKick, 60, 5}, {0, kCrash, 76, 10, Where::kFirst, 1}};
    for (const DrumHit& h : Roll(kMuteTriangle, 0.5, 1, 4, 36, 0, 4))
        beat.push_back(h);
    for (const DrumHit& h : Roll(kCabasa, 0, 0.25, 16, 30, 0, 6))
        beat.push_back(h);
    for (double b : {0.5, 1.5, 2.5, 3.5})
        beat.push_back({b, kRide, 34, 8});
    for (const DrumHit& h : Roll(kHighTom, 3, 0.25, 2, 60, 6, 7, Where::kLast))
        beat.push_back(h);
    for (const DrumHit& h : Roll(kTom, 3.5, 0.25, 2, 70, 6, 7, Where::kLast))
        beat.push_back(h);

    s.getReady = {2, 84, {Fsm}, {}};
    s.getReady.layers = {FigureLayer("Strings", ninth, 54), FigureLayer("Bass", kHeldRoot, 70),
                         DrumLayer("Drums", Roll(kMuteTriangle, 0, 0.25, 16, 24, 3))};

    s.letter = {4, 72, {D, A, Minor(59), Major(61)}, {}};
    s.letter.layers = {FigureLayer("Strings", ninth, 50), LineLayer("Flute",
                                                                    {{{0, 2, 78}, {2, 2, 76}},
                                                                     {{0, 2, 73}, {2, 2, 76}},
                                                                     {{0, 3, 71}, {3, 1, 73}},
                                                                     {{0, 2, 77}, {2, 2, 73}}},
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
                  {{{0, 0.5, 74}, {0.5, 0.5, 78}, {1, 0.5, 81}, {1.5, 0.5, 86}, {2, 2, 88}},
                   {{0, 0.5, 82}, {0.5, 0.5, 85}, {1, 3, 90}}},
                  104),
        FigureLayer("Strings", ninth, 62),
        DrumLayer("Drums", {{0, kCrash, 70, 0, Where::kFirst, 1}, {0, kOpenTriangle, 60}})};

    s.levelComplete = {4, 78, {D, A, E, Fsm}, {}};
    s.levelComplete.layers = {FigureLayer("Strings", ninth, 50),
                              FigureLayer("MusicBox", shimmer, 56),
                              LineLayer("Celesta", Rotated(tune, 1), 70)};

    s.gameOver = {2, 66, {E, Fsm}, {}};
    s.gameOver.layers = {
        LineLayer("Celesta", {{{0, 1, 81}, {1, 1, 80}, {2, 1, 78}, {3, 1, 76}}, {{0, 3, 73}}}, 80),
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
    const Figure twoBeat{{{0, 1, -6}, {2, 1, -4, 0, -10}}, 0, 0.15};
    const Figure walk{
        {{0, 1, -6}, {1, 1, -5, 0, -12}, {2, 1, -4, 0, -6}, {3, 1, -4, 2, -14}}, 0, 0.1};
    // The guitar's chord on the off-beats, then four to the bar.
    const Figure offBeats = Stacked({{1, 0.5, 0}, {3, 0.5, 0}}, {0, 1, 2}, 0, 0.4);
    const Figure fourToBar = Stacked(
        {{0, 0.5, 0, 0, -16}, {1, 0.5, 0}, {2, 0.5, 0, 0, -16}, {3, 0.5, 0}}, {0, 1, 2}, 0, 0.4);
    const Lines tune = {
        {{0, 0.5, 71},
         {0.5, 0.5, 74},
         {1, 0.5, 79},
         {1.5, 0.5, 78},
         {2, 1, 79},
         {3, 0.5, 76},
         {3.5, 0.5, 74}},
        {{0, 0.5, 71}, {0.5, 0.5, 70}, {1, 0.5, 71}, {1.5, 0.5, 76}, {2, 1.5, 79}, {3.5, 0.5, 78}},
        {{0, 0.5, 76},
         {0.5, 0.5, 75},
         {1, 0.5, 76},
         {1.5, 0.5, 81},
         {2, 1, 84},
         {3, 0.5, 81},
         {3.5, 0.5, 76}},
        {{0, 1, 78}, {1, 0.5, 74}, {1.5, 0.5, 72}, {2, 1, 69}, {3, 0.5, 66}, {3.5, 0.5, 69}},
    };
    const Lines answer = {
        {{0, 2, 83}, {2, 2, 81}},
        {{0, 2, 79}, {2, 2, 76}},
        {{0, 2, 76}, {2, 2, 72}},
        {{0, 2, 74}, {2, 2, 78}},
    };
    // Brushes: the ride's swing pattern, the hi-hat's foot on two and four, a soft kick.
    std::vector<DrumHit> brushes{
        {0, kPedalHat, 50}, {1, kPedalHat, 60}, {2, kPedalHat, 50},
        {3, kPedalHat, 60}, {0, kKick, 54},     {2, kKick, 48},
        {0, kRide, 56, 2},  {1, kRide, 60, 2},  {1.5, kRide, 44, 2},
        {2, kRide, 56, 2},  {3, kRide, 60, 2},  {3.5, kRide, 44, 2},
        {1, kSnare, 52, 8}, {3, kSnare, 58, 8}, {0, kCrash, 70, 10, Where::kFirst, 1}};
    for (const DrumHit& h : Roll(kSnare, 0, 0.25, 16, 24, 0, 5, Where::kButLast))
        brushes.push_back(h);
    for (const DrumHit& h : Roll(kSnare, 2.5, 0.5, 3, 60, 10, 4, Where::kLast))
        brushes.push_back(h);

    s.getReady = {2, 128, {G}, {}};
    s.getReady.layers = {FigureLayer("Accordion", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kSnare, 0, 0.25, 16, 26, 2))};

    s.letter = {4, 104, {C, G, Am, D}, {}};
    s.letter.layers = {FigureLayer("Guitar", offBeats, 50), FigureLayer("Bass", twoBeat, 64),
                       LineLayer("Violin",
                                 {{{0, 1.5, 76}, {1.5, 0.5, 74}, {2, 2, 72}},
                                  {{0, 1.5, 74}, {1.5, 0.5, 71}, {2, 2, 67}},
                                  {{0, 1, 69}, {1, 1, 72}, {2, 2, 76}},
                                  {{0, 3, 74}}},
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
                  {{{0, 0.25, 67},
                    {0.25, 0.25, 71},
                    {0.5, 0.25, 74},
                    {0.75, 0.25, 79},
                    {1, 0.5, 83},
                    {1.5, 0.5, 86},
                    {2, 2, 86}},
                   {{0, 3, 91}}},
                  100),
        FigureLayer("Guitar", fourToBar, 70), FigureLayer("Bass", twoBeat, 90),
        DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kLast, 1}, {0, kKick, 70}})};

    s.levelComplete = {4, 112, {Em, Am, D, G}, {}};
    s.levelComplete.layers = {FigureLayer("Guitar", offBeats, 56), FigureLayer("Bass", twoBeat, 78),
                              LineLayer("Accordion", Rotated(tune, 1), 68),
                              DrumLayer("Drums", {{1, kPedalHat, 50}, {3, kPedalHat, 50}})};

    s.gameOver = {2, 88, {C, G}, {}};
    s.gameOver.layers = {LineLayer("Accordion",
                                   {{{0, 1, 79}, {1, 1, 78}, {2, 1, 77}, {3, 1, 76}}, {{0, 3, 74}}},
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
    const Figure bass{{{0, 1.5, -6},
                       {1.5, 0.5, -6, 0, -14},
                       {2, 1, -6, 0, -4},
                       {3, 0.5, -4, 0, -10},
                       {3.5, 0.5, -3, 0, -16}},
                      0,
                      0.1};
    // The oud's ostinato in the double harmonic scale on D.
    const Lines ostinato = {
        {{0, 0.25, 50},
         {0.25, 0.25, 50},
         {0.5, 0.5, 51},
         {1, 0.5, 54},
         {1.5, 0.5, 51},
         {2, 0.25, 50},
         {2.25, 0.25, 50},
         {2.5, 0.5, 57},
         {3, 0.5, 55},
         {3.5, 0.5, 54}},
        {{0, 0.25, 55},
         {0.25, 0.25, 55},
         {0.5, 0.5, 57},
         {1, 0.5, 58},
         {1.5, 0.5, 57},
         {2, 0.25, 55},
         {2.25, 0.25, 55},
         {2.5, 0.5, 58},
         {3, 0.5, 62},
         {3.5, 0.5, 61}},
        {{0, 0.25, 50},
         {0.25, 0.25, 50},
         {0.5, 0.5, 51},
         {1, 0.5, 54},
         {1.5, 0.5, 51},
         {2, 0.25, 50},
         {2.25, 0.25, 50},
         {2.5, 0.5, 57},
         {3, 0.5, 55},
         {3.5, 0.5, 54}},
        {{0, 0.25, 51},
         {0.25, 0.25, 51},
         {0.5, 0.5, 55},
         {1, 0.5, 58},
         {1.5, 0.5, 55},
         {2, 0.25, 51},
         {2.25, 0.25, 51},
         {2.5, 0.5, 54},
         {3, 0.5, 51},
         {3.5, 0.5, 49}},
    };
    const Lines tune = {
        {{0, 1, 74},
         {1, 0.25, 75},
         {1.25, 0.25, 74},
         {1.5, 0.5, 73},
         {2, 1, 74},
         {3, 0.5, 79},
         {3.5, 0.5, 78}},
        {{0, 1, 81}, {1, 0.5, 82}, {1.5, 0.5, 79}, {2, 0.5, 82}, {2.5, 0.5, 81}, {3, 1, 79}},
        {{0, 0.5, 78}, {0.5, 0.5, 79}, {1, 0.5, 78}, {1.5, 0.5, 75}, {2, 2, 74}},
        {{0, 0.5, 75},
         {0.5, 0.5, 78},
         {1, 0.5, 79},
         {1.5, 0.5, 82},
         {2, 1, 79},
         {3, 0.5, 78},
         {3.5, 0.5, 75}},
    };
    // Maqsum on the hand drums: doum, tek, -, tek, doum, -, tek, -.
    std::vector<DrumHit> maqsum{
        {0, kLowConga, 100},       {0.5, kHighBongo, 76},
        {1.5, kHighBongo, 80},     {2, kLowConga, 96},
        {3, kHighBongo, 84},       {0.75, kMuteConga, 50, 5},
        {2.75, kMuteConga, 50, 5}, {3.5, kHighBongo, 56, 5},
        {0, kOpenTriangle, 50, 6}, {2, kOpenTriangle, 44, 6},
        {1, kLowConga, 70, 8},     {0, kChinaCymbal, 60, 10, Where::kFirst, 1}};
    for (const DrumHit& h : Roll(kTambourine, 0, 0.5, 8, 50, 0, 4))
        maqsum.push_back(h);
    for (const DrumHit& h : Roll(kTambourine, 0.25, 0.5, 8, 34, 0, 8))
        maqsum.push_back(h);
    for (const DrumHit& h : Roll(kHighBongo, 3, 0.25, 4, 66, 8, 4, Where::kLast))
        maqsum.push_back(h);

    s.getReady = {2, 104, {D}, {}};
    s.getReady.layers = {FigureLayer("Drone", drone, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kHighBongo, 0, 0.25, 16, 36, 3)),
                         DrumLayer("Drums", {{0, kLowConga, 90}})};

    s.letter = {4, 90, {Gm, D, Eb, D}, {}};
    s.letter.layers = {FigureLayer("Drone", drone, 52),
                       LineLayer("Strings",
                                 {{{0, 2, 70}, {2, 1, 69}, {3, 1, 67}},
                                  {{0, 2, 66}, {2, 2, 69}},
                                  {{0, 1, 67}, {1, 1, 66}, {2, 2, 63}},
                                  {{0, 4, 62}}},
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
                  {{{0, 0.25, 74},
                    {0.25, 0.25, 75},
                    {0.5, 0.25, 78},
                    {0.75, 0.25, 79},
                    {1, 0.25, 81},
                    {1.25, 0.25, 82},
                    {1.5, 0.25, 85},
                    {1.75, 0.25, 86},
                    {2, 2, 86}},
                   {{0, 3, 86}}},
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
    s.gameOver.layers = {
        LineLayer("Shanai",
                  {{{0, 1, 70}, {1, 1, 69}, {2, 1, 67}, {3, 1, 66}}, {{0, 1, 63}, {1, 3, 62}}}, 72),
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
    std::vector<Step> climb;
    const int climbTones[12] = {0, 1, 2, 3, 2, 1, 0, 2, 3, 4, 3, 2};
    for (int i = 0; i < 12; ++i)
        climb.push_back({i * T, T, climbTones[i], 0, i % 3 == 0 ? 0 : -14});
    const Figure ostinato{climb, 24};
    const Figure bass{{{0, 2 * T, -6},
                       {2 * T, T, -6, 0, -20},
                       {1, 2 * T, -4, 0, -8},
                       {1 + 2 * T, T, -4, 0, -20},
                       {2, 2 * T, -6},
                       {2 + 2 * T, T, -5, 0, -16},
                       {3, 1, -4, 0, -8}},
                      0,
                      0.1};
    const Lines tune = {
        {{0, T, 76},
         {T, T, 78},
         {2 * T, T, 80},
         {1, 1, 83},
         {2, 2 * T, 80},
         {2 + 2 * T, T, 78},
         {3, 1, 76}},
        {{0, T, 81},
         {T, T, 80},
         {2 * T, T, 78},
         {1, 1, 76},
         {2, 2 * T, 73},
         {2 + 2 * T, T, 76},
         {3, 1, 81}},
        {{0, 2 * T, 80},
         {2 * T, T, 76},
         {1, 2 * T, 73},
         {1 + 2 * T, T, 76},
         {2, 1, 80},
         {3, T, 83},
         {3 + T, T, 81},
         {3 + 2 * T, T, 80}},
        {{0, 1, 78},
         {1, T, 75},
         {1 + T, T, 78},
         {1 + 2 * T, T, 83},
         {2, 1, 87},
         {3, 2 * T, 83},
         {3 + 2 * T, T, 78}},
    };
    const Lines answer = {
        {{0, 2, 88}, {2, 2, 83}},
        {{0, 2, 85}, {2, 2, 81}},
        {{0, 2, 80}, {2, 2, 85}},
        {{0, 2, 83}, {2, 2, 78}},
    };
    // Shakers in triplets, the twelve-eight bell, congas, then timbales and claps.
    std::vector<DrumHit> groove{{0, kKick, 96},
                                {2, kKick, 90},
                                {1, kClap, 64, 6},
                                {3, kClap, 70, 6},
                                {1 + 2 * T, kKick, 70, 8},
                                {3 + 2 * T, kKick, 64, 8},
                                {0, kCrash, 80, 10, Where::kFirst, 1}};
    for (const DrumHit& h : Roll(kMaracas, 0, T, 12, 40, 0))
        groove.push_back(h);
    for (int slot : {0, 2, 4, 5, 7, 9, 11})
        groove.push_back({slot * T, kHighAgogo, slot == 0 ? 76 : 60, 4});
    for (const DrumHit& h : std::vector<DrumHit>{{2 * T, kOpenConga, 70, 5},
                                                 {1, kLowConga, 76, 5},
                                                 {1 + 2 * T, kOpenConga, 60, 5},
                                                 {2 + 2 * T, kMuteConga, 64, 5},
                                                 {3, kLowConga, 80, 5},
                                                 {3 + T, kOpenConga, 60, 5},
                                                 {1 + T, kHighTimbale, 56, 8},
                                                 {3 + 2 * T, kLowTimbale, 64, 8}})
        groove.push_back(h);
    for (const DrumHit& h : Roll(kHighBongo, 2, T, 6, 60, 6, 4, Where::kLast))
        groove.push_back(h);

    s.getReady = {2, 132, {E}, {}};
    s.getReady.layers = {FigureLayer("Pad", kHeld, 56), FigureLayer("Bass", kHeldRoot, 80),
                         DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 4)),
                         DrumLayer("Drums", Roll(kOpenConga, 3, T, 3, 60, 10))};

    s.letter = {4, 100, {A, E, Minor(66), B}, {}};
    s.letter.layers = {FigureLayer("Pad", kHeld, 52), FigureLayer("Kalimba", ostinato, 44),
                       LineLayer("Ocarina",
                                 {{{0, 2, 76}, {2, 1, 73}, {3, 1, 76}},
                                  {{0, 3, 80}, {3, 1, 76}},
                                  {{0, 2, 78}, {2, 1, 81}, {3, 1, 78}},
                                  {{0, 4, 75}}},
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
                  {{{0, T, 76},
                    {T, T, 80},
                    {2 * T, T, 83},
                    {1, T, 80},
                    {1 + T, T, 83},
                    {1 + 2 * T, T, 88},
                    {2, 2, 88}},
                   {{0, T, 83}, {T, T, 88}, {2 * T, T, 90}, {1, 2, 92}}},
                  110),
        FigureLayer("Pad", kHeld, 64), FigureLayer("Kalimba", ostinato, 60),
        DrumLayer("Drums", {{0, kCrash, 80, 0, Where::kFirst, 1}, {0, kKick, 96}})};

    s.levelComplete = {4, 120, {A, Csm, B, E}, {}};
    s.levelComplete.layers = {FigureLayer("Pad", kHeld, 48), FigureLayer("Kalimba", ostinato, 56),
                              LineLayer("Marimba", Rotated(tune, 1), 76),
                              DrumLayer("Drums", Roll(kMaracas, 0, T, 12, 30, 0))};

    s.gameOver = {2, 96, {E, A}, {}};
    s.gameOver.layers = {
        LineLayer("Marimba", {{{0, 1, 83}, {1, 1, 80}, {2, 1, 78}, {3, 1, 76}}, {{0, 3, 64}}}, 84),
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
    const Figure ripple{{{0, 0.5, 0},
                         {0.5, 0.5, 1, 0, -10},
                         {1, 0.5, 2},
                         {1.5, 0.5, 3, 0, -10},
                         {2, 0.5, 2},
                         {2.5, 0.5, 1, 0, -10},
                         {3, 0.5, 0},
                         {3.5, 0.5, 2, 0, -10}},
                        20};
    const Figure plucks =
        Stacked({{0.5, 0.5, 0}, {1.5, 0.5, 0}, {2.5, 0.5, 0}, {3.5, 0.5, 0}}, {-2, -1, 0}, 0, 0.5);
    const Figure bass{
        {{0, 1.5, -6}, {1.5, 0.5, -6, 0, -16}, {2, 1, -4, 0, -6}, {3, 1, -3, 0, -10}}, 0, 0.1};
    const Lines tune = {
        {{0, 0.5, 72}, {0.5, 0.5, 74}, {1, 1, 77}, {2, 0.5, 74}, {2.5, 0.5, 72}, {3, 1, 69}},
        {{0, 0.5, 69}, {0.5, 0.5, 72}, {1, 0.5, 74}, {1.5, 0.5, 77}, {2, 1.5, 74}, {3.5, 0.5, 72}},
        {{0, 1, 74}, {1, 0.5, 77}, {1.5, 0.5, 79}, {2, 1, 77}, {3, 0.5, 74}, {3.5, 0.5, 72}},
        {{0, 0.5, 67}, {0.5, 0.5, 69}, {1, 0.5, 72}, {1.5, 0.5, 74}, {2, 2, 79}},
    };
    const Lines answer = {
        {{0, 2, 84}, {2, 2, 81}},
        {{0, 2, 86}, {2, 2, 81}},
        {{0, 2, 86}, {2, 2, 89}},
        {{0, 2, 84}, {2, 2, 79}},
    };
    // Woodblocks, barrel drums on one and three, a gong into the phrase at the top.
    std::vector<DrumHit> temple{
        {0, kHighWoodblock, 80},          {1.5, kHighWoodblock, 64},
        {2, kHighWoodblock, 74},          {3, kHighWoodblock, 70},
        {1, kLowWoodblock, 70},           {2.5, kLowWoodblock, 64},
        {0, kLowFloorTom, 84, 4},         {2, kLowFloorTom, 76, 4},
        {3.5, kHighFloorTom, 60, 8},      {0.5, kLowFloorTom, 56, 8},
        {1, kSplash, 50, 6, Where::kOdd}, {0, kChinaCymbal, 70, 10, Where::kFirst, 1}};
    for (const DrumHit& h : Roll(kHighWoodblock, 0.25, 0.5, 8, 40, 0, 5))
        temple.push_back(h);
    for (const DrumHit& h : Roll(kHighFloorTom, 3, 0.25, 4, 64, 8, 4, Where::kLast))
        temple.push_back(h);

    s.getReady = {2, 96, {F}, {}};
    s.getReady.layers = {FigureLayer("Strings", kHeld, 56), FigureLayer("Bass", kHeldRoot, 76),
                         DrumLayer("Drums", Roll(kHighWoodblock, 0, 0.25, 16, 30, 3))};

    s.letter = {4, 84, {Bb, F, Gm, C}, {}};
    s.letter.layers = {FigureLayer("Strings", kHeld, 50), FigureLayer("Harp", ripple, 44),
                       LineLayer("Flute",
                                 {{{0, 2, 74}, {2, 2, 77}},
                                  {{0, 1, 72}, {1, 1, 69}, {2, 2, 72}},
                                  {{0, 3, 74}, {3, 1, 72}},
                                  {{0, 4, 72}}},
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
                  {{{0, 0.25, 65},
                    {0.25, 0.25, 67},
                    {0.5, 0.25, 69},
                    {0.75, 0.25, 72},
                    {1, 0.25, 74},
                    {1.25, 0.25, 77},
                    {1.5, 0.25, 79},
                    {1.75, 0.25, 81},
                    {2, 2, 84}},
                   {{0, 3, 89}}},
                  110),
        FigureLayer("Strings", kHeld, 64),
        DrumLayer("Drums", {{0, kChinaCymbal, 80, 0, Where::kFirst, 1}, {0, kLowFloorTom, 90}})};

    s.levelComplete = {4, 88, {Dm, Bb, C, F}, {}};
    s.levelComplete.layers = {
        FigureLayer("Strings", kHeld, 48), FigureLayer("Harp", ripple, 56),
        LineLayer("Koto", Rotated(tune, 1), 76),
        DrumLayer("Drums", {{0, kHighWoodblock, 60}, {2, kLowWoodblock, 54}})};

    s.gameOver = {2, 72, {Dm, F}, {}};
    s.gameOver.layers = {
        LineLayer("Koto",
                  {{{0, 1, 81}, {1, 1, 79}, {2, 1, 77}, {3, 1, 74}}, {{0, 1, 72}, {1, 3, 65}}}, 84),
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
    const Figure hops{{{0, 0.5, -6},
                       {1, 0.5, -4},
                       {2, 0.5, -6},
                       {2.5, 0.5, -6, 0, -20},
                       {3, 0.5, -4},
                       {3.5, 0.5, -5, 0, -12}},
                      0,
                      0.45};
    const Figure stabs =
        Stacked({{1, 0.5, 0}, {3, 0.5, 0}, {3.5, 0.5, 0, 0, -20}}, {0, 1, 2}, 0, 0.5);
    // The xylophone's gears: chord tones in sixteenths.
    std::vector<Step> gears;
    const int gearTones[4] = {3, 4, 5, 4};
    for (int i = 0; i < 16; ++i)
        gears.push_back({i * 0.25, 0.25, gearTones[i % 4], 0, i % 4 == 0 ? 0 : -16});
    const Figure gearFigure{gears, 30};
    const Lines tune = {
        {{0, 0.5, 72},
         {0.5, 0.25, 71},
         {0.75, 0.25, 72},
         {1, 0.5, 76},
         {1.5, 0.5, 75},
         {2, 0.5, 76},
         {2.5, 0.5, 79},
         {3, 1, 84}},
        {{0, 0.5, 85},
         {0.5, 0.5, 84},
         {1, 0.5, 81},
         {1.5, 0.5, 76},
         {2, 1, 73},
         {3, 0.5, 76},
         {3.5, 0.5, 81}},
        {{0, 0.5, 77},
         {0.5, 0.25, 76},
         {0.75, 0.25, 77},
         {1, 0.5, 81},
         {1.5, 0.5, 80},
         {2, 0.5, 81},
         {2.5, 0.5, 77},
         {3, 1, 74}},
        {{0, 0.5, 71},
         {0.5, 0.5, 74},
         {1, 0.5, 77},
         {1.5, 0.5, 79},
         {2, 0.5, 79},
         {2.5, 0.5, 78},
         {3, 0.5, 74},
         {3.5, 0.5, 71}},
    };
    const Lines counter = {
        {{0, 2, 79}, {2, 2, 72}},
        {{0, 1, 76}, {1, 1, 73}, {2, 2, 69}},
        {{0, 1, 74}, {1, 1, 77}, {2, 2, 81}},
        {{0, 2, 79}, {2, 2, 77}},
    };
    // Tick and tock, the side stick, a ratchet winding up at the end of the phrase.
    std::vector<DrumHit> clock{{0, kHighWoodblock, 76},
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
                               {0, kCowbell, 70, 10, Where::kFirst}};
    for (const DrumHit& h : Roll(kClosedHat, 0, 0.25, 16, 36, 0, 8))
        clock.push_back(h);
    for (const DrumHit& h : Roll(kShortGuiro, 3, 0.125, 8, 50, 5, 4, Where::kLast))
        clock.push_back(h);

    s.getReady = {2, 120, {C}, {}};
    s.getReady.layers = {FigureLayer("Bassoon", kHeldRoot, 70),
                         DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 60, 0)),
                         DrumLayer("Drums", Roll(kLowWoodblock, 0.5, 1, 4, 50, 0)),
                         DrumLayer("Drums", Roll(kShortGuiro, 2, 0.25, 8, 40, 6, 0, Where::kLast))};

    s.letter = {4, 100, {F, C, D, G}, {}};
    s.letter.layers = {FigureLayer("Pizzicato", stabs, 46), FigureLayer("Bassoon", kHeldRoot, 60),
                       LineLayer("Clarinet",
                                 {{{0, 1, 69}, {1, 1, 72}, {2, 2, 77}},
                                  {{0, 1.5, 76}, {1.5, 0.5, 74}, {2, 2, 72}},
                                  {{0, 1, 74}, {1, 1, 78}, {2, 2, 81}},
                                  {{0, 3, 79}, {3, 1, 74}}},
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
                  {{{0, 0.25, 60},
                    {0.25, 0.25, 64},
                    {0.5, 0.25, 67},
                    {0.75, 0.25, 72},
                    {1, 1, 76},
                    {2.5, 0.5, 72},
                    {3, 1, 79}},
                   {{0, 3, 84}}},
                  100),
        FigureLayer("Pizzicato", stabs, 70), FigureLayer("Bassoon", hops, 90),
        DrumLayer("Drums", {{0, kCowbell, 80}, {0, kOpenTriangle, 64, 0, Where::kLast}})};

    s.levelComplete = {4, 108, {A, Dm, G, C}, {}};
    s.levelComplete.layers = {FigureLayer("Bassoon", hops, 76), FigureLayer("Pizzicato", stabs, 56),
                              LineLayer("Clarinet", Rotated(tune, 1), 70),
                              DrumLayer("Drums", Roll(kHighWoodblock, 0, 1, 4, 50, 0))};

    s.gameOver = {2, 84, {C, C}, {}};
    s.gameOver.layers = {
        LineLayer("Bassoon", {{{0, 1, 55}, {1, 1, 54}, {2, 1, 53}, {3, 1, 52}}, {{0, 3, 48}}}, 96),
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
