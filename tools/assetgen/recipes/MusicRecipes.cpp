// The main theme, "Theme.mid": one General MIDI song in C with the four parts the screens
// play, each a whole number of measures that loops without a gap:
//   Splash (1-8)        the title and map: a bright adventure tune, 116 BPM
//   EpisodeOver (9-12)  a land finished: a brass fanfare, 120 BPM
//   FinishedGame (13-20) the whole game won: the tune again, fuller and faster, 126 BPM
//   Lost (21-24)        game over: a slow minor lament, 100 BPM
// Every part is played looped, so none runs on into the next.
#include "recipes/Recipes.h"

#include "kit/Arranger.h"

#include <vector>

namespace assetgen {

namespace {

// The theme's melody: two four-measure phrases over C Am F G.
const std::vector<std::vector<Note>> kTheme = {
    {{0, 1, 72}, {1, 0.5, 76}, {1.5, 0.5, 79}, {2, 1.5, 84}, {3.5, 0.5, 79}},
    {{0, 1.5, 81}, {1.5, 0.5, 79}, {2, 1, 76}, {3, 1, 72}},
    {{0, 1, 77}, {1, 0.5, 81}, {1.5, 0.5, 84}, {2, 1, 81}, {3, 0.5, 77}, {3.5, 0.5, 76}},
    {{0, 2, 74}, {2, 1, 79}, {3, 1, 71}},
    {{0, 1, 72}, {1, 0.5, 76}, {1.5, 0.5, 79}, {2, 1.5, 84}, {3.5, 0.5, 86}},
    {{0, 1.5, 88}, {1.5, 0.5, 84}, {2, 1, 81}, {3, 1, 76}},
    {{0, 1, 77}, {1, 1, 81}, {2, 1, 79}, {3, 0.5, 77}, {3.5, 0.5, 74}},
    {{0, 3, 72}, {3, 1, 0}},
};
const Chord kThemeChords[8] = {C, Am, F, G, C, Am, F, C};

void Splash(MidiSong& song, Band& band, int first)
{
    for (int i = 0; i < 8; ++i) {
        const int m = first + i;
        Melody(song, band.lead, m, kTheme[i], 92);
        Pad(song, band.pad, m, kThemeChords[i], 56);
        Bass(song, band.bass, m, kThemeChords[i], 96);
        Arpeggio(song, band.keys, m, kThemeChords[i], 62);
        Groove(song, band.drums, m, i == 0, i == 7);
    }
}

void EpisodeOver(MidiSong& song, Band& band, int first)
{
    const Chord chords[4] = {C, F, G, C};
    const std::vector<std::vector<Note>> fanfare = {
        {{0, 0.5, 67}, {0.5, 0.5, 67}, {1, 0.5, 67}, {1.5, 0.5, 72}, {2, 2, 76}},
        {{0, 0.5, 77}, {0.5, 0.5, 76}, {1, 0.5, 74}, {1.5, 0.5, 72}, {2, 2, 69}},
        {{0, 0.5, 71}, {0.5, 0.5, 72}, {1, 0.5, 74}, {1.5, 0.5, 76}, {2, 1, 79}, {3, 1, 74}},
        {{0, 3, 72}, {3, 1, 0}},
    };
    for (int i = 0; i < 4; ++i) {
        const int m = first + i;
        Melody(song, band.lead, m, fanfare[i], 100);
        Pad(song, band.pad, m, chords[i], 64);
        Bass(song, band.bass, m, chords[i], 100);
        Groove(song, band.drums, m, i == 0, i == 3);
    }
}

void FinishedGame(MidiSong& song, Band& band, int first)
{
    const Chord chords[8] = {F, G, Em, Am, F, G, C, C};
    for (int i = 0; i < 8; ++i) {
        const int m = first + i;
        // The theme returns a fourth higher where its harmony allows, then home.
        Melody(song, band.lead, m, kTheme[i], 100, i < 6 ? 5 : 0);
        Pad(song, band.pad, m, chords[i], 66);
        Bass(song, band.bass, m, chords[i], 104);
        Arpeggio(song, band.keys, m, chords[i], 70);
        Groove(song, band.drums, m, i == 0 || i == 4, i == 7);
    }
}

void Lost(MidiSong& song, Band& band, int first)
{
    const Chord chords[4] = {Am, F, Dm, E};
    const std::vector<std::vector<Note>> lament = {
        {{0, 1.5, 76}, {1.5, 0.5, 74}, {2, 2, 72}},
        {{0, 1, 69}, {1, 1, 72}, {2, 2, 77}},
        {{0, 1.5, 74}, {1.5, 0.5, 72}, {2, 1, 71}, {3, 1, 69}},
        {{0, 3, 68}, {3, 1, 71}},
    };
    const long beat = song.TicksPerBeat();
    for (int i = 0; i < 4; ++i) {
        const int m = first + i;
        Melody(song, band.lead, m, lament[i], 72, -12);
        Pad(song, band.pad, m, chords[i], 58);
        band.bass.Note(song.At(m), 4 * beat - 30, chords[i].root - 24, 84);
        band.drums.Note(song.At(m), beat / 4, kRide, 44);
        band.drums.Note(song.At(m, 2), beat / 4, kRide, 36);
    }
}

} // namespace

void GenerateMusicAssets(AssetPack& pack)
{
    MidiSong song("Theme", 4, 4, 116);
    song.AddPart("Splash", 1, 8);
    song.AddPart("EpisodeOver", 9, 4);
    song.AddPart("FinishedGame", 13, 8);
    song.AddPart("Lost", 21, 4);
    song.SetLength(24);
    song.SetTempo(9, 120);
    song.SetTempo(13, 126);
    song.SetTempo(21, 100);

    Band band{song.AddTrack("Lead", 0, kFlute), song.AddTrack("Strings", 1, kStrings),
              song.AddTrack("Bass", 2, kFingerBass), song.AddTrack("Marimba", 3, kMarimba),
              song.AddTrack("Drums", 9, -1)};
    MidiTrack& brass = song.AddTrack("Brass", 4, kBrass);
    MidiTrack& piano = song.AddTrack("Piano", 5, kPiano);
    band.lead.Controller(0, 7, 100);
    band.pad.Controller(0, 7, 72);
    band.keys.Controller(0, 7, 80);

    Splash(song, band, 1);
    // The fanfare is the brass's: the lead track rests while it plays.
    Band fanfare{brass, band.pad, band.bass, band.keys, band.drums};
    EpisodeOver(song, fanfare, 9);
    FinishedGame(song, band, 13);
    Band lament{piano, band.pad, band.bass, band.keys, band.drums};
    Lost(song, lament, 21);

    pack.WriteMusic(folders::kMusic, "Theme.mid", song);
}

} // namespace assetgen
