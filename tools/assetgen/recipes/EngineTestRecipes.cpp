// Assets the engine's own tests load: a numbered sprite sheet, a short stereo tone and a
// small song with named parts and a tempo change.
#include "kit/Draw.h"
#include "kit/MidiWriter.h"
#include "kit/Synth.h"
#include "recipes/Recipes.h"

namespace assetgen {

namespace {

// TestSheet.png: 100 × 60, seven frames of 30 × 20 in rows 25 pixels apart (gap 5).
// Each frame is one flat key colour (so a test can tell frames apart by any pixel away
// from the digit), a one-pixel darker border and its number 1..7 in white. Gaps and the
// unused columns stay transparent. The seventh frame starts at y = 50, so only its top
// ten rows lie inside the picture: the layout the image tests expect, where the engine
// cuts frames without clipping them.
void TestSheet(AssetPack& pack)
{
    static const int kColours[7][3] = {{220, 50, 50}, {232, 140, 40}, {220, 200, 40},
                                       {60, 170, 70}, {40, 170, 190}, {60, 90, 210},
                                       {150, 70, 190}};
    const int fw = 30, fh = 20, gap = 5;
    Canvas sheet(100, 60);
    for (int i = 0; i < 7; ++i) {
        const int x0 = (i % 3) * fw, y0 = (i / 3) * (fh + gap);
        const Rgba key = Rgba::Bytes(kColours[i][0], kColours[i][1], kColours[i][2]);
        for (int y = 0; y < fh; ++y) {
            for (int x = 0; x < fw; ++x) {
                const bool border = x == 0 || y == 0 || x == fw - 1 || y == fh - 1;
                sheet.Set(x0 + x, y0 + y, border ? key.Scaled(0.6f) : key);
            }
        }
        DrawDigit(sheet, i + 1, x0 + 12, y0 + 5, 2, Rgba{1, 1, 1, 1});
    }
    LuaValue meta = LuaValue::Table();
    meta.Set("numFrames", 7).Set("width", fw).Set("height", fh).Set("gap_y", gap);
    pack.WriteImage(folders::kTest, "TestSheet.png", sheet, meta, true);
}

// TestTone.ogg: half a second, stereo at 22050 Hz, 440 Hz on the left and 660 Hz on the
// right, so channel handling can be told apart.
void TestTone(AssetPack& pack)
{
    Signal left(22050, 0.5), right(22050, 0.5);
    Tone tone;
    tone.env.attack = 0.01;
    tone.env.decay = 0;
    tone.env.sustain = 1;
    tone.env.release = 0.02;
    tone.freq = 440;
    AddTone(left, 0, 0.5, tone);
    tone.freq = 660;
    AddTone(right, 0, 0.5, tone);
    Normalise(left);
    Normalise(right);
    pack.WriteSound(folders::kTest, "TestTone.ogg", AudioClip::Stereo(left, right));
}

// TestSong.mid: eight measures of 4/4 at 120 BPM slowing to 100 from measure 7, with the
// parts "Intro" (1-2), "Main" (3-6) and "End" (7-8); piano, bass and drums.
void TestSong(AssetPack& pack)
{
    MidiSong song("TestSong", 4, 4, 120);
    song.SetTempo(7, 100);
    song.AddPart("Intro", 1, 2);
    song.AddPart("Main", 3, 4);
    song.AddPart("End", 7, 2);
    song.SetLength(8);
    MidiTrack& piano = song.AddTrack("Piano", 0, 0);
    MidiTrack& bass = song.AddTrack("Bass", 1, 33);
    MidiTrack& drums = song.AddTrack("Drums", 9, -1);
    static const int kRoots[8] = {60, 57, 65, 67, 60, 57, 65, 60}; // C Am F G C Am F C
    const long beat = song.TicksPerBeat();
    for (int m = 1; m <= 8; ++m) {
        const int root = kRoots[m - 1];
        const bool minor = root == 57;
        for (int b = 0; b < 4; b += 2)
            for (int interval : {0, minor ? 3 : 4, 7})
                piano.Note(song.At(m, b), 2 * beat - 10, root + interval, b == 0 ? 84 : 70);
        for (int b = 0; b < 4; ++b)
            bass.Note(song.At(m, b), beat - 20, root - 24 + (b == 3 ? 7 : 0), 90);
        if (m == 1 || m == 2)
            continue; // the intro has no drums
        for (int b = 0; b < 4; ++b) {
            drums.Note(song.At(m, b), beat / 2, b % 2 == 0 ? 36 : 38, 100);
            drums.Note(song.At(m, b + 0.5), beat / 2, 42, 64);
        }
    }
    pack.WriteMusic(folders::kTest, "TestSong.mid", song);
}

} // namespace

void GenerateEngineTestAssets(AssetPack& pack)
{
    TestSheet(pack);
    TestTone(pack);
    TestSong(pack);
}

} // namespace assetgen
