// The level song of the first land, "Harbour.mid": A minor at 112 BPM, a square lead and
// marimba over strings, finger bass and a rock backbeat.
//   GetReady       a drum roll over a held chord
//   Letter         strings and a quiet flute, 96 BPM
//   Play1 .. 10    the riff over Am F C G: bass, strings and drums, then the marimba (2),
//                  the lead (3), a crash into each phrase (2) and a fill out of it (4),
//                  sixteenth hats (5), the brass under the lead (7), the lead an octave up (9)
//   BeatLevel      a short brass call, played once
//   LevelComplete  the riff, relaxed, 104 BPM
//   GameOver       a falling line, 84 BPM, played once
#include "recipes/Recipes.h"

#include "kit/LevelSong.h"

namespace assetgen {

namespace {

// Three-note chord held over the measure, an octave down.
const Figure kPad{{{0, 4, -3}, {0, 4, -2}, {0, 4, -1}}, 12};
// Root on the beats, the fifth on the last eighth: a walking feel.
const Figure kWalk{{{0, 1, -6},
                    {1, 0.5, -6, 0, -14},
                    {1.5, 0.5, -3, 0, -20},
                    {2, 1, -4, 0, -6},
                    {3, 0.5, -6, 0, -14},
                    {3.5, 0.5, -4, 0, -18}},
                   0,
                   0.05};
// Broken chord in eighths, the off-beats softer.
const Figure kBroken{{{0, 0.5, 0},
                      {0.5, 0.5, 1, 0, -12},
                      {1, 0.5, 2},
                      {1.5, 0.5, 4, 0, -12},
                      {2, 0.5, 3},
                      {2.5, 0.5, 2, 0, -12},
                      {3, 0.5, 1},
                      {3.5, 0.5, 2, 0, -12}}};

// The backbeat: kick and snare on the beats, eighth hats; from level 5 sixteenth hats and a
// second kick; a crash into the phrase from level 2, a tom fill out of it from level 4.
std::vector<DrumHit> Backbeat(int crashFrom, int fillFrom, int busyFrom)
{
    std::vector<DrumHit> hits{{0, kCrash, 96, crashFrom, Where::kFirst, 1}};
    for (int b = 0; b < 4; ++b) {
        hits.push_back({double(b), b % 2 == 0 ? kKick : kSnare, b % 2 == 0 ? 100 : 88});
        hits.push_back({double(b), kClosedHat, 70});
        hits.push_back({b + 0.5, kClosedHat, 52});
        hits.push_back({b + 0.25, kClosedHat, 40, busyFrom});
        hits.push_back({b + 0.75, kClosedHat, 44, busyFrom});
    }
    hits.push_back({2.5, kKick, 84, busyFrom});
    for (int i = 0; i < 4; ++i)
        hits.push_back({3 + i * 0.25, i < 2 ? kTom : kSnare, 80 + 4 * i, fillFrom, Where::kLast});
    return hits;
}

// The play riff: one measure per chord.
const std::vector<std::vector<Note>> kRiff = {
    {{0, 0.5, 69}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 1, 74}, {2.5, 0.5, 72}, {3, 1, 69}},
    {{0, 0.5, 65}, {0.5, 0.5, 69}, {1, 0.5, 72}, {1.5, 1, 77}, {2.5, 0.5, 76}, {3, 1, 72}},
    {{0, 0.5, 67}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 1, 79}, {2.5, 0.5, 77}, {3, 1, 76}},
    {{0, 1, 74}, {1, 0.5, 71}, {1.5, 0.5, 74}, {2, 1.5, 79}, {3.5, 0.5, 71}},
};

LevelSong Harbour()
{
    LevelSong s;
    s.title = "Harbour";
    s.tracks = {{"Lead", kSquareLead, 88},
                {"Strings", kStrings, 70},
                {"Bass", kFingerBass},
                {"Marimba", kMarimba, 76},
                {"Drums", -1},
                {"Brass", kBrass},
                {"Flute", kFlute}};

    s.getReady = {2, 112, {Am}, {}};
    s.getReady.layers = {FigureLayer("Strings", kPad, 50),
                         FigureLayer("Bass", Figure{{{0, 4, -6}}, 40}, 80),
                         DrumLayer("Drums", Roll(kSnare, 0, 0.25, 16, 40, 2))};

    s.letter = {4, 96, {F, C, Dm, G}, {}};
    s.letter.layers = {FigureLayer("Strings", kPad, 48),
                       LineLayer("Flute",
                                 {{{0, 2, 72}, {2, 2, 69}},
                                  {{0, 1.5, 67}, {1.5, 0.5, 69}, {2, 2, 72}},
                                  {{0, 2, 74}, {2, 1, 72}, {3, 1, 69}},
                                  {{0, 3, 71}}},
                                 60)};

    s.play = {4, 112, {Am, F, C, G}, {}};
    s.play.layers = {FigureLayer("Strings", kPad, 44).Louder(2),
                     FigureLayer("Bass", kWalk, 88).Louder(1),
                     DrumLayer("Drums", Backbeat(2, 4, 5)),
                     FigureLayer("Marimba", kBroken, 50).Louder(2).From(2),
                     LineLayer("Lead", kRiff, 78).Louder(1).From(3).Until(8),
                     LineLayer("Lead", kRiff, 78).Louder(1).From(9).Transposed(12),
                     LineLayer("Brass", kRiff, 60).Louder(2).From(7).Transposed(-12)};

    s.beatLevel = {2, 0, {F, A}, {}};
    s.beatLevel.layers = {LineLayer("Brass",
                                    {{{0, 0.5, 69}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 2.5, 81}},
                                     {{0, 0.5, 79}, {0.5, 0.5, 81}, {1, 3, 84}}},
                                    100),
                          FigureLayer("Strings", kPad, 64), DrumLayer("Drums", Backbeat(0, 0, 99))};

    s.levelComplete = {4, 104, {F, C, G, C}, {}};
    s.levelComplete.layers = {FigureLayer("Strings", kPad, 52), FigureLayer("Marimba", kBroken, 56),
                              LineLayer("Flute", Rotated(kRiff, 1), 64)};

    s.gameOver = {2, 84, {Dm, Am}, {}};
    s.gameOver.layers = {
        LineLayer("Lead", {{{0, 1, 76}, {1, 1, 74}, {2, 1, 72}, {3, 1, 71}}, {{0, 3, 69}}}, 70)
            .Transposed(-12),
        FigureLayer("Strings", kPad, 50)};
    return s;
}

} // namespace

void GenerateLevelMusicAssets(AssetPack& pack)
{
    pack.WriteMusic(folders::kMusic, "Harbour.mid", MakeLevelSong(Harbour()));
}

} // namespace assetgen
