#include "kit/Arranger.h"

namespace assetgen {

namespace {

int Third(const Chord& c)
{
    return c.root + (c.minor ? 3 : 4);
}

} // namespace

void Pad(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity)
{
    const long length = song.TicksPerMeasure() - 12;
    for (int key : {c.root - 12, Third(c) - 12, c.root - 5})
        t.Note(song.At(measure), length, key, velocity);
}

void Bass(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity)
{
    const long beat = song.TicksPerBeat();
    const int root = c.root - 24;
    t.Note(song.At(measure, 0), beat - 24, root, velocity);
    t.Note(song.At(measure, 1), beat / 2 - 12, root, velocity - 14);
    t.Note(song.At(measure, 1.5), beat / 2 - 12, root + 12, velocity - 20);
    t.Note(song.At(measure, 2), beat - 24, root + 7, velocity - 6);
    t.Note(song.At(measure, 3), beat / 2 - 12, root, velocity - 14);
    t.Note(song.At(measure, 3.5), beat / 2 - 12, root + 7, velocity - 18);
}

void Arpeggio(MidiSong& song, MidiTrack& t, int measure, const Chord& c, int velocity)
{
    const int pattern[8] = {c.root,      Third(c),   c.root + 7, Third(c) + 12,
                            c.root + 12, c.root + 7, Third(c),   c.root + 7};
    const long eighth = song.TicksPerBeat() / 2;
    for (int i = 0; i < 8; ++i)
        t.Note(song.At(measure, i * 0.5), eighth - 20, pattern[i], velocity - (i % 2) * 12);
}

void Groove(MidiSong& song, MidiTrack& t, int measure, bool opening, bool fill, bool busy)
{
    const long sixteenth = song.TicksPerBeat() / 4;
    if (opening)
        t.Note(song.At(measure), sixteenth * 4, kCrash, 96);
    for (int b = 0; b < 4; ++b) {
        t.Note(song.At(measure, b), sixteenth, b % 2 == 0 ? kKick : kSnare, b % 2 == 0 ? 100 : 88);
        t.Note(song.At(measure, b), sixteenth, kClosedHat, 70);
        t.Note(song.At(measure, b + 0.5), sixteenth, kClosedHat, 52);
        if (busy) {
            t.Note(song.At(measure, b + 0.25), sixteenth, kClosedHat, 40);
            t.Note(song.At(measure, b + 0.75), sixteenth, kClosedHat, 44);
        }
    }
    if (busy)
        t.Note(song.At(measure, 2.5), sixteenth, kKick, 84);
    if (fill) {
        for (int i = 0; i < 4; ++i)
            t.Note(song.At(measure, 3 + i * 0.25), sixteenth, i < 2 ? kTom : kSnare, 80 + 4 * i);
    }
}

void Melody(MidiSong& song, MidiTrack& t, int measure, const std::vector<Note>& notes, int velocity,
            int transpose)
{
    const long beat = song.TicksPerBeat();
    for (const Note& n : notes) {
        if (n.key > 0)
            t.Note(song.At(measure, n.beat), static_cast<long>(n.length * beat) - 20,
                   n.key + transpose, velocity);
    }
}

} // namespace assetgen
