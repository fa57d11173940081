#include "kit/LevelSong.h"

#include <algorithm>
#include <cmath>
#include <map>
#include <stdexcept>

namespace assetgen {

namespace {

constexpr int kDrumChannel = 9;
constexpr int kPlayLevels = 10;

// The key of chord tone `tone` (0 root, 1 third, 2 fifth, then the next octave).
int ChordTone(const Chord& c, int tone)
{
    const int offsets[3] = {0, c.minor ? 3 : 4, 7};
    const int octave = tone >= 0 ? tone / 3 : -((-tone + 2) / 3);
    return c.root + 12 * octave + offsets[tone - 3 * octave];
}

int Clamp(int v, int lo, int hi)
{
    return v < lo ? lo : v > hi ? hi : v;
}

bool Plays(Where where, int measure, int measures)
{
    switch (where) {
    case Where::kEvery:
        return true;
    case Where::kFirst:
        return measure == 0;
    case Where::kLast:
        return measure == measures - 1;
    case Where::kButLast:
        return measure != measures - 1;
    case Where::kOdd:
        return measure % 2 == 0;
    case Where::kEven:
        return measure % 2 == 1;
    }
    return false;
}

class Arrangement
{
public:
    Arrangement(const LevelSong& song, MidiSong& midi) : m_Song(song), m_Midi(midi)
    {
        int channel = 0;
        for (const SongTrack& t : song.tracks) {
            const bool drums = t.program < 0;
            if (!drums && channel == kDrumChannel)
                ++channel;
            if (!drums && channel > 15)
                throw std::invalid_argument(song.title + ": too many tracks");
            MidiTrack& track = midi.AddTrack(t.name, drums ? kDrumChannel : channel++, t.program);
            m_Tracks.push_back(&track);
        }
        m_Pending.resize(m_Tracks.size());
        for (std::size_t i = 0; i < song.tracks.size(); ++i) {
            if (song.tracks[i].volume >= 0)
                m_Tracks[i]->Controller(0, 7, song.tracks[i].volume);
            if (song.tracks[i].pan >= 0)
                m_Tracks[i]->Controller(0, 10, song.tracks[i].pan);
            if (song.tracks[i].reverb >= 0)
                m_Tracks[i]->Controller(0, 91, song.tracks[i].reverb);
        }
    }

    // Arranges `section` from measure `first` at play level `level`.
    void Arrange(const Section& section, int first, int level)
    {
        m_PartEnd = m_Midi.At(first + section.measures);
        if (section.bpm > 0 && section.bpm != m_Bpm) {
            if (first > 1)
                m_Midi.SetTempo(first, section.bpm);
            m_Bpm = section.bpm;
        }
        for (const Layer& layer : section.layers) {
            if (level < layer.fromLevel || level > layer.toLevel)
                continue;
            const std::size_t track = Track(layer.track);
            for (int i = 0; i < section.measures; ++i) {
                const Chord& chord = section.chords.empty()
                                         ? Chord{60, false}
                                         : section.chords[i % section.chords.size()];
                Measure(layer, track, first + i, i, section.measures, chord, level);
            }
        }
    }

    // Writes the notes placed so far. Where a track strikes a key that still sounds, the
    // sounding note ends there; two strikes of one key at once sound as the stronger one.
    void Write()
    {
        for (std::size_t t = 0; t < m_Tracks.size(); ++t) {
            std::vector<Pending>& notes = m_Pending[t];
            std::vector<std::size_t> order(notes.size());
            for (std::size_t i = 0; i < order.size(); ++i)
                order[i] = i;
            std::stable_sort(order.begin(), order.end(), [&](std::size_t a, std::size_t b) {
                return notes[a].tick < notes[b].tick;
            });
            std::map<int, std::size_t> sounding; // key -> note
            for (std::size_t i : order) {
                Pending& n = notes[i];
                const auto it = sounding.find(n.key);
                if (it != sounding.end() && notes[it->second].end > n.tick) {
                    Pending& before = notes[it->second];
                    if (before.tick == n.tick) {
                        before.end = std::max(before.end, n.end);
                        before.velocity = std::max(before.velocity, n.velocity);
                        n.dropped = true;
                        continue;
                    }
                    before.end = n.tick;
                }
                sounding[n.key] = i;
            }
            for (const Pending& n : notes) {
                if (!n.dropped)
                    m_Tracks[t]->Note(n.tick, n.end - n.tick, n.key, n.velocity);
            }
            notes.clear();
        }
    }

private:
    struct Pending
    {
        long tick;
        long end;
        int key;
        int velocity;
        bool dropped = false;
    };

    std::size_t Track(const std::string& name)
    {
        for (std::size_t i = 0; i < m_Tracks.size(); ++i) {
            if (m_Tracks[i]->Name() == name)
                return i;
        }
        throw std::invalid_argument(m_Song.title + ": a layer names the missing track " + name);
    }

    void Measure(const Layer& layer, std::size_t t, int measure, int index, int measures,
                 const Chord& chord, int level)
    {
        const int velocity = layer.velocity + layer.perLevel * level;
        const double beat = static_cast<double>(m_Midi.TicksPerBeat());
        for (const Step& s : layer.figure.steps) {
            const long gap =
                layer.figure.gapTicks + std::lround(s.length * beat * layer.figure.gapFraction);
            Place(t, measure, s.beat, s.length, gap,
                  ChordTone(chord, s.tone) + s.semis + layer.transpose, velocity + s.velocity);
        }
        if (!layer.line.empty()) {
            for (const Note& n : layer.line[index % layer.line.size()]) {
                if (n.key > 0)
                    Place(t, measure, n.beat, n.length, 20, n.key + layer.transpose,
                          velocity + Accent(n.beat));
            }
        }
        for (const DrumHit& h : layer.drums) {
            if (level >= h.fromLevel && Plays(h.where, index, measures))
                Place(t, measure, h.beat, h.length, 0, h.key, h.velocity + velocity);
        }
    }

    // A note from a beat of a measure for `length` beats less `gap` ticks, both ends swung.
    // It must end inside its part, or the part would not loop cleanly.
    void Place(std::size_t t, int measure, double beat, double length, long gap, int key,
               int velocity)
    {
        const long tick = m_Midi.At(measure, Swung(beat));
        const long end = m_Midi.At(measure, Swung(beat + length)) - gap;
        if (end > m_PartEnd)
            throw std::invalid_argument(m_Song.title + ": a note of track " + m_Tracks[t]->Name() +
                                        " in measure " + std::to_string(measure) +
                                        " rings past the end of its part");
        m_Pending[t].push_back({tick, end, key, Clamp(velocity, 1, 127)});
    }

    int Accent(double beat) const
    {
        const double whole = std::floor(beat);
        if (beat != whole)
            return -m_Song.accent / 2;
        return static_cast<int>(whole) % 2 == 0 ? m_Song.accent : 0;
    }

    double Swung(double beat) const
    {
        if (m_Song.swing == 0)
            return beat;
        const double whole = std::floor(beat);
        const double f = beat - whole;
        const double mid = 0.5 + m_Song.swing;
        return whole + (f <= 0.5 ? f / 0.5 * mid : mid + (f - 0.5) / 0.5 * (1 - mid));
    }

    const LevelSong& m_Song;
    MidiSong& m_Midi;
    std::vector<MidiTrack*> m_Tracks;
    std::vector<std::vector<Pending>> m_Pending; // by track, in the order placed
    double m_Bpm = 0;
    long m_PartEnd = 0;
};

struct PartPlan
{
    const char* name;
    const Section* section;
    int measures;
};

} // namespace

Layer& Layer::From(int level)
{
    fromLevel = level;
    return *this;
}

Layer& Layer::Until(int level)
{
    toLevel = level;
    return *this;
}

Layer& Layer::Louder(int velocityPerLevel)
{
    perLevel = velocityPerLevel;
    return *this;
}

Layer& Layer::Transposed(int semitones)
{
    transpose = semitones;
    return *this;
}

Layer FigureLayer(const std::string& track, const Figure& figure, int velocity)
{
    Layer layer;
    layer.track = track;
    layer.figure = figure;
    layer.velocity = velocity;
    return layer;
}

Layer LineLayer(const std::string& track, const std::vector<std::vector<Note>>& line, int velocity)
{
    Layer layer;
    layer.track = track;
    layer.line = line;
    layer.velocity = velocity;
    return layer;
}

Layer DrumLayer(const std::string& track, const std::vector<DrumHit>& hits, int velocity)
{
    Layer layer;
    layer.track = track;
    layer.drums = hits;
    layer.velocity = velocity;
    return layer;
}

MidiSong MakeLevelSong(const LevelSong& song)
{
    const PartPlan plan[] = {
        {"GetReady", &song.getReady, 2},
        {"Letter", &song.letter, 4},
        {"Play", &song.play, 4},
        {"BeatLevel", &song.beatLevel, 2},
        {"LevelComplete", &song.levelComplete, 4},
        {"GameOver", &song.gameOver, 2},
    };
    MidiSong midi(song.title, 4, 4, song.getReady.bpm > 0 ? song.getReady.bpm : 120);
    Arrangement arrangement(song, midi);
    int measure = 1;
    for (const PartPlan& part : plan) {
        if (part.section->measures != part.measures)
            throw std::invalid_argument(song.title + ": " + part.name + " must last " +
                                        std::to_string(part.measures) + " measures");
        const bool play = part.section == &song.play;
        for (int level = play ? 1 : 0; level <= (play ? kPlayLevels : 0); ++level) {
            midi.AddPart(play ? "Play" + std::to_string(level) : std::string(part.name), measure,
                         part.measures);
            arrangement.Arrange(*part.section, measure, level);
            measure += part.measures;
        }
    }
    arrangement.Write();
    midi.SetLength(measure - 1);
    return midi;
}

Figure Stacked(const std::vector<Step>& rhythm, const std::vector<int>& tones, long gapTicks,
               double gapFraction)
{
    Figure figure{{}, gapTicks, gapFraction};
    for (const Step& s : rhythm) {
        for (int tone : tones)
            figure.steps.push_back({s.beat, s.length, tone, 0, s.velocity});
    }
    return figure;
}

std::vector<DrumHit> Roll(int key, double beat, double step, int count, int velocity, int rise,
                          int fromLevel, Where where)
{
    std::vector<DrumHit> hits;
    for (int i = 0; i < count; ++i)
        hits.push_back(
            {beat + i * step, key, velocity + i * rise, fromLevel, where, std::min(step, 0.25)});
    return hits;
}

std::vector<std::vector<Note>> Rotated(const std::vector<std::vector<Note>>& line, int first)
{
    std::vector<std::vector<Note>> out;
    for (std::size_t i = 0; i < line.size(); ++i)
        out.push_back(line[(first + i) % line.size()]);
    return out;
}

} // namespace assetgen
