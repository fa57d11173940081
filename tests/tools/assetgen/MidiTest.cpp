// Standard MIDI File output, read back by a small independent reader.
#include "MidiReader.h"
#include "kit/MidiWriter.h"

#include <gtest/gtest.h>

#include <stdexcept>

using namespace assetgen;
using namespace assetgentest;

TEST(Midi, SongReadsBackWithTempoMapPartsAndTracks)
{
    MidiSong song("Theme", 3, 4, 120);
    song.SetTempo(5, 100);
    song.AddPart("Intro", 1, 2);
    song.AddPart("Loop", 3, 4);
    song.SetLength(6);
    MidiTrack& lead = song.AddTrack("Lead", 0, 73);
    MidiTrack& drums = song.AddTrack("Drums", 9, -1);
    lead.Note(song.At(1), song.TicksPerBeat(), 72, 90);
    lead.Note(song.At(1, 1), song.TicksPerBeat(), 74, 90); // starts as the first ends
    drums.Note(song.At(3, 2.5), 60, 42, 70);
    lead.Controller(0, 7, 100);

    const MidiFile f = MidiReader(song.Encode()).Read();
    EXPECT_EQ(f.format, 1);
    EXPECT_EQ(f.division, 480);
    ASSERT_EQ(f.tracks.size(), 3u);
    const long measure = 3 * 480;
    const long end = 6 * measure;

    // Conductor: title, 3/4, tempo map, one marker per part at its first measure.
    std::vector<std::pair<long, long>> tempos;
    std::vector<std::pair<long, std::string>> markers;
    for (const MidiEvent& e : f.tracks[0]) {
        if (e.metaType == 0x58) {
            EXPECT_EQ(e.data, (std::vector<std::uint8_t>{3, 2, 24, 8}));
        }
        if (e.metaType == 0x51)
            tempos.push_back({e.tick, (e.data[0] << 16) | (e.data[1] << 8) | e.data[2]});
        if (e.metaType == 0x06)
            markers.push_back({e.tick, Text(e)});
    }
    EXPECT_EQ(Text(f.tracks[0][0]), "Theme");
    EXPECT_EQ(tempos, (std::vector<std::pair<long, long>>{{0, 500000}, {4 * measure, 600000}}));
    EXPECT_EQ(markers,
              (std::vector<std::pair<long, std::string>>{{0, "Intro"}, {2 * measure, "Loop"}}));

    // Every track ends at the song's end, so the loop restarts without a gap.
    for (const auto& track : f.tracks)
        EXPECT_EQ(track.back().tick, end);

    // Instrument tracks: name, program first; at a shared tick the old note ends first.
    const auto& l = f.tracks[1];
    EXPECT_EQ(Text(l[0]), "Lead");
    EXPECT_EQ(l[1].status, 0xC0);
    EXPECT_EQ(l[1].data[0], 73);
    std::vector<int> order;
    for (const MidiEvent& e : l)
        if (e.tick == 480)
            order.push_back(e.status & 0xF0);
    EXPECT_EQ(order, (std::vector<int>{0x80, 0x90}));
    const auto& d = f.tracks[2];
    for (const MidiEvent& e : d) {
        EXPECT_NE(e.status & 0xF0, 0xC0) << "drums need no program change";
    }
    bool hat = false;
    for (const MidiEvent& e : d)
        hat = hat || (e.status == 0x99 && e.tick == 2 * measure + 1200 && e.data[0] == 42);
    EXPECT_TRUE(hat);

    const std::string parts = song.PartsTable().ToLua();
    EXPECT_EQ(parts, "{\n    Intro = { 1, 2 },\n    Loop = { 3, 4 },\n}");
}

TEST(Midi, RefusesWhatCannotBePlayed)
{
    MidiSong song("x", 4, 4, 110);
    song.AddPart("A", 1, 4);
    EXPECT_THROW(song.AddPart("A", 5, 1), std::invalid_argument);
    EXPECT_THROW(song.AddPart("B", 0, 1), std::invalid_argument);
    song.SetLength(3);
    EXPECT_THROW(song.Encode(), std::logic_error); // part A runs past the end
    MidiTrack& t = song.AddTrack("t", 0, 0);
    EXPECT_THROW(t.Note(0, 0, 60, 90), std::invalid_argument);
    EXPECT_THROW(t.Note(0, 10, 128, 90), std::invalid_argument);
    EXPECT_THROW(song.AddTrack("bad", 16, 0), std::invalid_argument);
    EXPECT_THROW(MidiSong("y", 4, 3, 120), std::invalid_argument);
}
