// The level song "Harbour.mid": one General MIDI song with every part a level plays, each a
// whole number of measures that loops without a gap:
//   GetReady (1-2)        waiting for the serve: a drum roll over a held chord
//   Letter (3-6)          the letter before the level: strings and a quiet flute
//   Play1 .. Play10       play, four measures each from measure 7: the same riff over
//                         Am F C G, with more of the band (and more drive) at every step
//   BeatLevel (47-48)     the level won: a short brass call, played once
//   LevelComplete (49-52) the tally after the level: the riff, relaxed
//   GameOver (53-54)      the last ball lost: a falling line, played once
#include "recipes/Recipes.h"

#include "kit/Arranger.h"

#include <string>
#include <vector>

namespace assetgen {

namespace {

const Chord kPlayChords[4] = {Am, F, C, G};

// Every chord and melody is moved by this many semitones (the song's key).
int g_Shift = 0;

Chord K(const Chord& c)
{
    return Chord{c.root + g_Shift, c.minor};
}

// The play riff: one measure per chord.
const std::vector<std::vector<Note>> kRiff = {
    {{0, 0.5, 69}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 1, 74}, {2.5, 0.5, 72}, {3, 1, 69}},
    {{0, 0.5, 65}, {0.5, 0.5, 69}, {1, 0.5, 72}, {1.5, 1, 77}, {2.5, 0.5, 76}, {3, 1, 72}},
    {{0, 0.5, 67}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 1, 79}, {2.5, 0.5, 77}, {3, 1, 76}},
    {{0, 1, 74}, {1, 0.5, 71}, {1.5, 0.5, 74}, {2, 1.5, 79}, {3.5, 0.5, 71}},
};

void GetReady(MidiSong& song, Band& band, int first)
{
    const long sixteenth = song.TicksPerBeat() / 4;
    for (int m = first; m < first + 2; ++m) {
        Pad(song, band.pad, m, K(Am), 50);
        band.bass.Note(song.At(m), song.TicksPerMeasure() - 40, K(Am).root - 24, 80);
        for (int i = 0; i < 16; ++i)
            band.drums.Note(song.At(m, i * 0.25), sixteenth, kSnare, 40 + i * 2);
    }
}

void Letter(MidiSong& song, Band& band, int first)
{
    const Chord chords[4] = {F, C, Dm, G};
    const std::vector<std::vector<Note>> line = {
        {{0, 2, 72}, {2, 2, 69}},
        {{0, 1.5, 67}, {1.5, 0.5, 69}, {2, 2, 72}},
        {{0, 2, 74}, {2, 1, 72}, {3, 1, 69}},
        {{0, 3, 71}, {3, 1, 0}},
    };
    for (int i = 0; i < 4; ++i) {
        Pad(song, band.pad, first + i, K(chords[i]), 48);
        Melody(song, band.lead, first + i, line[i], 60, g_Shift);
    }
}

// Play part `level` (1 to 10): the band joins in layers, the drums drive harder, and the
// top two parts move the riff up an octave.
void Play(MidiSong& song, Band& band, MidiTrack& brass, int first, int level)
{
    for (int i = 0; i < 4; ++i) {
        const int m = first + i;
        const Chord& chord = kPlayChords[i];
        Pad(song, band.pad, m, K(chord), 44 + level * 2);
        Bass(song, band.bass, m, K(chord), 88 + level);
        Groove(song, band.drums, m, i == 0 && level > 1, i == 3 && level > 3, level >= 5);
        if (level >= 2)
            Arpeggio(song, band.keys, m, K(chord), 50 + level * 2);
        if (level >= 3)
            Melody(song, band.lead, m, kRiff[i], 78 + level, g_Shift + (level >= 9 ? 12 : 0));
        if (level >= 7)
            Melody(song, brass, m, kRiff[i], 60 + level * 2, g_Shift - 12);
    }
}

void BeatLevel(MidiSong& song, Band& band, MidiTrack& brass, int first)
{
    const std::vector<std::vector<Note>> call = {
        {{0, 0.5, 69}, {0.5, 0.5, 72}, {1, 0.5, 76}, {1.5, 2.5, 81}},
        {{0, 0.5, 79}, {0.5, 0.5, 81}, {1, 3, 84}},
    };
    const Chord chords[2] = {F, A};
    for (int i = 0; i < 2; ++i) {
        Melody(song, brass, first + i, call[i], 100, g_Shift);
        Pad(song, band.pad, first + i, K(chords[i]), 64);
        Groove(song, band.drums, first + i, i == 0, i == 1);
    }
}

void LevelComplete(MidiSong& song, Band& band, int first)
{
    const Chord chords[4] = {F, C, G, C};
    for (int i = 0; i < 4; ++i) {
        const int m = first + i;
        Pad(song, band.pad, m, K(chords[i]), 52);
        Arpeggio(song, band.keys, m, K(chords[i]), 56);
        Melody(song, band.lead, m, kRiff[(i + 1) % 4], 64, g_Shift);
    }
}

void GameOver(MidiSong& song, Band& band, int first)
{
    const std::vector<std::vector<Note>> fall = {
        {{0, 1, 76}, {1, 1, 74}, {2, 1, 72}, {3, 1, 71}},
        {{0, 3, 69}, {3, 1, 0}},
    };
    const Chord chords[2] = {Dm, Am};
    for (int i = 0; i < 2; ++i) {
        Melody(song, band.lead, first + i, fall[i], 70, g_Shift - 12);
        Pad(song, band.pad, first + i, K(chords[i]), 50);
    }
}

struct Variant
{
    const char* file;
    double bpm;
    int shift;
    int lead, pad, keys, brass, flute;
};

void WriteVariant(AssetPack& pack, const Variant& v)
{
    g_Shift = v.shift;
    const double bpm = v.bpm;
    MidiSong song(std::string(v.file).substr(0, std::string(v.file).size() - 4), 4, 4, bpm);
    song.AddPart("GetReady", 1, 2);
    song.AddPart("Letter", 3, 4);
    for (int level = 1; level <= 10; ++level)
        song.AddPart("Play" + std::to_string(level), 7 + (level - 1) * 4, 4);
    song.AddPart("BeatLevel", 47, 2);
    song.AddPart("LevelComplete", 49, 4);
    song.AddPart("GameOver", 53, 2);
    song.SetLength(54);
    song.SetTempo(3, bpm * 96 / 112);
    song.SetTempo(7, bpm);
    song.SetTempo(49, bpm * 104 / 112);
    song.SetTempo(53, bpm * 84 / 112);

    Band band{song.AddTrack("Lead", 0, v.lead), song.AddTrack("Strings", 1, v.pad),
              song.AddTrack("Bass", 2, kFingerBass), song.AddTrack("Marimba", 3, v.keys),
              song.AddTrack("Drums", 9, -1)};
    MidiTrack& brass = song.AddTrack("Brass", 4, v.brass);
    MidiTrack& flute = song.AddTrack("Flute", 5, v.flute);
    band.lead.Controller(0, 7, 88);
    band.pad.Controller(0, 7, 70);
    band.keys.Controller(0, 7, 76);

    GetReady(song, band, 1);
    Band quiet{flute, band.pad, band.bass, band.keys, band.drums};
    Letter(song, quiet, 3);
    for (int level = 1; level <= 10; ++level)
        Play(song, band, brass, 7 + (level - 1) * 4, level);
    BeatLevel(song, band, brass, 47);
    LevelComplete(song, quiet, 49);
    GameOver(song, band, 53);

    pack.WriteMusic(folders::kMusic, v.file, song);
    g_Shift = 0;
}

} // namespace

void GenerateLevelMusicAssets(AssetPack& pack)
{
    WriteVariant(pack, {"Harbour.mid", 112, 0, kSquareLead, kStrings, kMarimba, kBrass, kFlute});
}

void GenerateSongAssets(AssetPack& pack)
{
    const Variant songs[] = {
        {"Andes.mid", 104, 2, 75, 48, 24, 73, 75},
        {"Capital.mid", 124, 3, 56, 61, 0, 61, 72},
        {"Frost.mid", 96, -3, 8, 49, 8, 48, 73},
        {"Boulevard.mid", 118, 5, 21, 21, 0, 61, 21},
        {"Sands.mid", 108, 4, 105, 48, 106, 61, 72},
        {"Jungle.mid", 128, -2, 12, 48, 12, 61, 73},
        {"Lanterns.mid", 100, 1, 107, 48, 107, 61, 72},
        {"Workshop.mid", 116, -5, 70, 71, 13, 70, 71},
    };
    for (const Variant& v : songs)
        WriteVariant(pack, v);
}

} // namespace assetgen
