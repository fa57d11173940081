// The level songs: every song a level can name carries every part a level plays, each a
// whole number of 4/4 measures that loops cleanly, the play parts grow in drive, and no two
// songs sound alike. The song maker itself refuses what would not loop.
#include "kit/LevelSong.h"
#include "Decoders.h"
#include "MidiReader.h"
#include "recipes/Recipes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <map>
#include <regex>
#include <set>
#include <sstream>

namespace fs = std::filesystem;
using namespace assetgen;
using namespace assetgentest;

namespace {

const char* const kSongs[] = {"Harbour.mid", "Andes.mid",     "Capital.mid",
                              "Frost.mid",   "Boulevard.mid", "Sands.mid",
                              "Jungle.mid",  "Lanterns.mid",  "Workshop.mid"};

std::vector<std::string> PartNames()
{
    std::vector<std::string> names{"GetReady", "Letter", "BeatLevel", "LevelComplete", "GameOver"};
    for (int level = 1; level <= 10; ++level)
        names.push_back("Play" + std::to_string(level));
    return names;
}

constexpr long kMeasure = 4 * 480; // ticks of a 4/4 measure at the writer's 480 per quarter

struct SoundingNote
{
    long start;
    long end;
    int channel;
    int key;
    int velocity;
};

struct Song
{
    MidiFile file;
    std::map<std::string, std::pair<int, int>> parts; // name -> first measure, measures
    std::vector<SoundingNote> notes;
    std::set<int> programs;
    std::vector<std::pair<long, long>> tempos; // tick, microseconds per quarter
    long end = 0;

    // The notes starting inside a part.
    std::vector<SoundingNote> In(const std::string& part) const
    {
        const auto& range = parts.at(part);
        const long from = (range.first - 1) * kMeasure;
        const long to = from + range.second * kMeasure;
        std::vector<SoundingNote> out;
        for (const SoundingNote& n : notes)
            if (n.start >= from && n.start < to)
                out.push_back(n);
        return out;
    }
};

// The level songs as the generator writes them into the pack.
class LevelSongs : public ::testing::Test
{
protected:
    static void SetUpTestSuite()
    {
        TempDir dir;
        AssetPack pack(dir.Path());
        GenerateLevelMusicAssets(pack);
        GenerateSongAssets(pack);
        pack.Finish();
        const auto metadata = LoadMetadata(std::string([&] {
            const auto bytes = ReadBytes(dir.Path() + "/Music/metadata.cfg");
            return std::string(bytes.begin(), bytes.end());
        }()));
        s_Songs = new std::map<std::string, Song>();
        for (const auto& entry : fs::directory_iterator(dir.Path() + "/Music")) {
            const std::string name = entry.path().filename().string();
            if (entry.path().extension() != ".mid")
                continue;
            Song& song = (*s_Songs)[name];
            song.file = MidiReader(ReadBytes(entry.path().string())).Read();
            Read(song);
            const auto it = metadata.find(name);
            if (it == metadata.end())
                continue;
            static const std::regex part(R"((\w+)=\{\[1\]=(\d+),\[2\]=(\d+)\})");
            for (std::sregex_iterator m(it->second.begin(), it->second.end(), part), e; m != e; ++m)
                song.parts[(*m)[1]] = {std::stoi((*m)[2]), std::stoi((*m)[3])};
        }
    }
    static void TearDownTestSuite()
    {
        delete s_Songs;
        s_Songs = nullptr;
    }

    static void Read(Song& song)
    {
        std::map<std::pair<int, int>, std::pair<long, int>> on; // channel, key -> tick, velocity
        for (const auto& track : song.file.tracks) {
            for (const MidiEvent& e : track) {
                song.end = std::max(song.end, e.tick);
                const int kind = e.status & 0xF0;
                const int channel = e.status & 0x0F;
                if (e.metaType == 0x51 && e.status == 0xFF)
                    song.tempos.push_back(
                        {e.tick, (e.data[0] << 16) | (e.data[1] << 8) | e.data[2]});
                if (e.status == 0xFF && e.metaType == 0x58) {
                    EXPECT_EQ(e.data[0] * 10 + e.data[1], 42) << "the player counts 4/4 measures";
                }
                if (e.status == 0xFF)
                    continue;
                if (kind == 0xC0)
                    song.programs.insert(e.data[0]);
                const bool noteOn = kind == 0x90 && e.data[1] > 0;
                const bool noteOff = kind == 0x80 || (kind == 0x90 && e.data[1] == 0);
                if (noteOn)
                    on[{channel, e.data[0]}] = {e.tick, e.data[1]};
                if (noteOff) {
                    const auto it = on.find({channel, e.data[0]});
                    ASSERT_NE(it, on.end()) << "a note ends that never started";
                    song.notes.push_back(
                        {it->second.first, e.tick, channel, e.data[0], it->second.second});
                    on.erase(it);
                }
            }
        }
        EXPECT_TRUE(on.empty()) << "a note never ends";
    }

    static const Song& Get(const std::string& name)
    {
        const auto it = s_Songs->find(name);
        if (it == s_Songs->end())
            throw std::runtime_error(name + " was not generated");
        return it->second;
    }

    static std::map<std::string, Song>* s_Songs;
};

std::map<std::string, Song>* LevelSongs::s_Songs = nullptr;

} // namespace

TEST_F(LevelSongs, EveryPartIsWholeMeasuresThatSoundAndLoopCleanly)
{
    for (const char* name : kSongs) {
        SCOPED_TRACE(name);
        const Song& song = Get(name);
        ASSERT_EQ(song.parts.size(), PartNames().size());
        // The parts tile the song from its first measure to its last, which ends the file.
        std::vector<std::pair<int, int>> ranges;
        for (const std::string& part : PartNames()) {
            ASSERT_EQ(song.parts.count(part), 1u) << part;
            ranges.push_back(song.parts.at(part));
        }
        std::sort(ranges.begin(), ranges.end());
        int next = 1;
        for (const auto& r : ranges) {
            EXPECT_EQ(r.first, next);
            EXPECT_GE(r.second, 1);
            next = r.first + r.second;
        }
        EXPECT_EQ(song.end, (next - 1) * kMeasure);

        for (const std::string& part : PartNames()) {
            SCOPED_TRACE(part);
            const auto notes = song.In(part);
            EXPECT_FALSE(notes.empty());
            const long end =
                (song.parts.at(part).first - 1 + song.parts.at(part).second) * kMeasure;
            for (const SoundingNote& n : notes)
                EXPECT_LE(n.end, end) << "key " << n.key << " rings into the next part";
        }
    }
}

TEST_F(LevelSongs, PlayPartsGrowInDrive)
{
    for (const char* name : kSongs) {
        SCOPED_TRACE(name);
        const Song& song = Get(name);
        long previous = 0;
        long first = 0;
        for (int level = 1; level <= 10; ++level) {
            long drive = 0; // every stroke, weighed by how hard it is struck
            for (const SoundingNote& n : song.In("Play" + std::to_string(level)))
                drive += n.velocity;
            EXPECT_GE(drive, previous) << "Play" << level;
            previous = drive;
            if (level == 1)
                first = drive;
        }
        EXPECT_GT(previous, 2 * first);
    }
}

TEST_F(LevelSongs, NoTwoSongsShareTheirBandTheirTuneOrTheirTempo)
{
    auto tempoOf = [](const Song& s) {
        const long at = (s.parts.at("Play1").first - 1) * kMeasure;
        long tempo = 0;
        for (const auto& t : s.tempos)
            if (t.first <= at)
                tempo = t.second;
        return tempo;
    };
    auto tuneOf = [](const Song& s) {
        std::vector<std::pair<long, int>> tune;
        const long from = (s.parts.at("Play10").first - 1) * kMeasure;
        for (const SoundingNote& n : s.In("Play10"))
            if (n.channel != 9)
                tune.push_back({n.start - from, n.key});
        std::sort(tune.begin(), tune.end());
        return tune;
    };
    for (std::size_t a = 0; a < std::size(kSongs); ++a) {
        for (std::size_t b = a + 1; b < std::size(kSongs); ++b) {
            SCOPED_TRACE(std::string(kSongs[a]) + " and " + kSongs[b]);
            const Song& x = Get(kSongs[a]);
            const Song& y = Get(kSongs[b]);
            EXPECT_NE(x.programs, y.programs);
            EXPECT_NE(tuneOf(x), tuneOf(y));
            EXPECT_NE(tempoOf(x), tempoOf(y));
        }
    }
}

// Every level file names one of the generated songs.
TEST_F(LevelSongs, EveryLevelNamesAGeneratedSong)
{
    const std::regex music(R"(\bmusic\s*=\s*"([^"]+)\")");
    int named = 0;
    for (const auto& entry : fs::directory_iterator(ASSETGEN_LEVEL_DIR)) {
        if (entry.path().extension() != ".lua")
            continue;
        std::ifstream in(entry.path());
        std::stringstream text;
        text << in.rdbuf();
        const std::string s = text.str();
        for (std::sregex_iterator m(s.begin(), s.end(), music), e; m != e; ++m) {
            EXPECT_EQ(s_Songs->count((*m)[1]), 1u)
                << entry.path().filename() << " names " << (*m)[1];
            ++named;
        }
    }
    EXPECT_GT(named, 0);
}

namespace {

// A one-track song of the shape every level song has, holding a chord in every section.
LevelSong Minimal()
{
    LevelSong s;
    s.title = "Minimal";
    s.tracks = {{"Keys", kPiano}, {"Drums", -1}};
    const Figure held{{{0, 4, 0}}, 12};
    Section* sections[] = {&s.getReady,  &s.letter,        &s.play,
                           &s.beatLevel, &s.levelComplete, &s.gameOver};
    for (Section* section : sections) {
        section->chords = {C};
        section->layers = {FigureLayer("Keys", held, 60)};
    }
    s.getReady.measures = s.beatLevel.measures = s.gameOver.measures = 2;
    s.getReady.bpm = 110;
    return s;
}

std::vector<SoundingNote> NotesOf(const MidiSong& song)
{
    const MidiFile f = MidiReader(song.Encode()).Read();
    std::vector<SoundingNote> notes;
    for (const auto& track : f.tracks) {
        std::map<int, std::pair<long, int>> on;
        for (const MidiEvent& e : track) {
            if ((e.status & 0xF0) == 0x90)
                on[e.data[0]] = {e.tick, e.data[1]};
            if ((e.status & 0xF0) == 0x80)
                notes.push_back({on[e.data[0]].first, e.tick, e.status & 0x0F, e.data[0],
                                 on[e.data[0]].second});
        }
    }
    std::sort(notes.begin(), notes.end(),
              [](const SoundingNote& a, const SoundingNote& b) { return a.start < b.start; });
    return notes;
}

} // namespace

TEST(LevelSongMaker, LaysOutEveryPartAndLayersPlayByLevel)
{
    LevelSong s = Minimal();
    // A drum that joins at level 4, only in the last measure of each phrase.
    s.play.layers.push_back(DrumLayer("Drums", {{3, kSnare, 80, 4, Where::kLast}}));
    s.play.layers.push_back(FigureLayer("Keys", Figure{{{0, 1, 1}}}, 50).From(9).Louder(5));
    const MidiSong song = MakeLevelSong(s);
    std::map<std::string, std::pair<int, int>> parts;
    for (const auto& p : song.Parts())
        parts[p.name] = {p.firstMeasure, p.numMeasures};
    EXPECT_EQ(parts["GetReady"], std::make_pair(1, 2));
    EXPECT_EQ(parts["Letter"], std::make_pair(3, 4));
    EXPECT_EQ(parts["Play1"], std::make_pair(7, 4));
    EXPECT_EQ(parts["Play10"], std::make_pair(43, 4));
    EXPECT_EQ(parts["BeatLevel"], std::make_pair(47, 2));
    EXPECT_EQ(parts["LevelComplete"], std::make_pair(49, 4));
    EXPECT_EQ(parts["GameOver"], std::make_pair(53, 2));

    int snares = 0;
    std::vector<int> thirds; // velocities of the level 9 and 10 layer
    for (const SoundingNote& n : NotesOf(song)) {
        if (n.channel == 9) {
            ++snares;
            EXPECT_EQ((n.start / kMeasure) % 4, 1)
                << "the fill plays in each phrase's last measure";
            EXPECT_GE(n.start, song.At(19)) << "and only from Play4 (measure 19)";
        }
        if (n.key == 64)
            thirds.push_back(n.velocity);
    }
    EXPECT_EQ(snares, 7);
    EXPECT_EQ(thirds, (std::vector<int>{95, 95, 95, 95, 100, 100, 100, 100}));
}

TEST(LevelSongMaker, SwingDelaysTheOffBeatAndKeepsNotesInsideTheirMeasure)
{
    LevelSong s = Minimal();
    s.swing = 0.2;
    s.play.layers = {
        FigureLayer("Keys", Figure{{{0, 0.5, 0}, {0.5, 0.5, 1}, {3.5, 0.5, 2}}, 0}, 60)};
    const MidiSong song = MakeLevelSong(s);
    const long beat = 480;
    const long play1 = song.At(7);
    std::vector<SoundingNote> first;
    for (const SoundingNote& n : NotesOf(song))
        if (n.start >= play1 && n.start < play1 + kMeasure)
            first.push_back(n);
    ASSERT_EQ(first.size(), 3u);
    EXPECT_EQ(first[0].end - first[0].start, beat * 7 / 10); // the long first eighth
    EXPECT_EQ(first[1].start - play1, beat * 7 / 10);
    EXPECT_EQ(first[1].end - play1, beat);
    EXPECT_EQ(first[2].start - play1, 3 * beat + beat * 7 / 10);
    EXPECT_EQ(first[2].end - play1, kMeasure);
}

TEST(LevelSongMaker, LinesLeanOnBeatsOneAndThree)
{
    LevelSong s = Minimal();
    s.accent = 8;
    s.play.layers = {
        LineLayer("Keys", {{{0, 0.5, 72}, {0.5, 0.5, 74}, {1, 1, 76}, {2, 1, 77}}}, 60)};
    const MidiSong song = MakeLevelSong(s);
    std::vector<int> velocities;
    for (const SoundingNote& n : NotesOf(song))
        if (n.start >= song.At(7) && n.start < song.At(8))
            velocities.push_back(n.velocity);
    EXPECT_EQ(velocities, (std::vector<int>{68, 56, 60, 68}));
}

TEST(LevelSongMaker, RefusesWhatWouldNotLoopOrNamesNothing)
{
    LevelSong ringing = Minimal();
    ringing.gameOver.layers = {FigureLayer("Keys", Figure{{{1.5, 3, 0}}, 0}, 60)};
    ringing.gameOver.measures = 2;
    // The last measure's note would ring past the part's end.
    EXPECT_THROW(MakeLevelSong(ringing), std::invalid_argument);

    LevelSong missing = Minimal();
    missing.letter.layers.push_back(FigureLayer("Horn", Figure{{{0, 1, 0}}}, 60));
    EXPECT_THROW(MakeLevelSong(missing), std::invalid_argument);

    LevelSong shortPlay = Minimal();
    shortPlay.play.measures = 3;
    EXPECT_THROW(MakeLevelSong(shortPlay), std::invalid_argument);
}
