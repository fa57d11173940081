// Reading Standard MIDI Files: conversion to music time, track merging, tempo map and
// signatures, and refusal of malformed or unplayable data.
#include "SmfBuilder.h"

#include "dmusic/Loader.h"
#include "dmusic/MidiFile.h"

#include <gtest/gtest.h>

#include <cstdint>

using namespace dmusic;
using dmtest::SmfBuilder;

namespace {

Result ParseBytes(const std::string& bytes, MidiFile* file, std::string* error = nullptr)
{
    return file->Parse(reinterpret_cast<const unsigned char*>(bytes.data()), bytes.size(), error);
}

// Format 1 at 96 ticks a quarter: a tempo track and two note tracks, one using running
// status and a system-exclusive message.
std::string TwoTrackFile()
{
    SmfBuilder smf(1, 96);
    smf.AddTrack().TimeSignature(0, 3, 2).Tempo(0, 600000).Tempo(192, 300000).End(384);
    smf.AddTrack()
        .Program(0, 0, 40)
        .NoteOn(96, 0, 60)
        .At(144, {64, 90})
        .NoteOff(200, 0, 60)
        .End(400);
    smf.AddTrack()
        .At(0, {0xF0, 3, 0x7E, 0x7F, 0xF7})
        .NoteOn(96, 1, 48)
        .At(96, {50, 80}) // running status
        .NoteOff(300, 1, 48)
        .End(300);
    return smf.Bytes();
}

} // namespace

TEST(MidiFile, MergesTracksInMusicTimeWithTempoMapAndSignature)
{
    MidiFile file;
    ASSERT_EQ(ParseBytes(TwoTrackFile(), &file), RESULT_OK);
    EXPECT_EQ(file.Format(), 1);
    EXPECT_EQ(file.TrackCount(), 3);

    struct Expected
    {
        MusicTime time;
        int status, data1, data2;
    };
    const Expected expected[] = {
        {0, 0xC0, 40, 0},     {768, 0x90, 60, 100}, {768, 0x91, 48, 100}, {768, 0x91, 50, 80},
        {1152, 0x90, 64, 90}, {1600, 0x80, 60, 0},  {2400, 0x81, 48, 0},
    };
    ASSERT_EQ(file.Events().size(), std::size(expected));
    for (std::size_t i = 0; i < std::size(expected); ++i) {
        const MidiEvent& e = file.Events()[i];
        EXPECT_EQ(e.time, expected[i].time) << i;
        EXPECT_EQ(e.status, expected[i].status) << i;
        EXPECT_EQ(e.data1, expected[i].data1) << i;
        EXPECT_EQ(e.data2, expected[i].data2) << i;
    }
    EXPECT_EQ(file.Length(), 3200); // the latest end of track, tick 400

    EXPECT_EQ(file.MicrosecondsPerQuarterAt(0), 600000u);
    EXPECT_EQ(file.MicrosecondsPerQuarterAt(1535), 600000u);
    EXPECT_EQ(file.MicrosecondsPerQuarterAt(1536), 300000u);
    EXPECT_EQ(file.TimeSignatureAt(5000).beatsPerMeasure, 3);
    EXPECT_EQ(file.TimeSignatureAt(5000).beat, 4);
    EXPECT_EQ(file.TimeSignatureAt(0).MeasureLength(), 2304);
}

TEST(MidiFile, DefaultsToOneHundredTwentyInFourFourWithoutMetaEvents)
{
    SmfBuilder smf(0, 480);
    smf.AddTrack().NoteOn(0, 9, 36).NoteOff(240, 9, 36); // no end-of-track marker
    MidiFile file;
    ASSERT_EQ(ParseBytes(smf.Bytes(), &file), RESULT_OK);
    EXPECT_EQ(file.MicrosecondsPerQuarterAt(100000), 500000u);
    EXPECT_EQ(file.TimeSignatureAt(0).MeasureLength(), 3072);
    EXPECT_EQ(file.Length(), 384);
}

TEST(MidiFile, RejectsMalformedDataWithAClearMessage)
{
    struct Case
    {
        const char* what;
        std::string bytes;
        Result result;
        const char* message;
    };
    auto track = [](const std::string& raw) {
        SmfBuilder smf(0, 96);
        smf.AddTrack().Raw(raw);
        return smf.Bytes();
    };
    std::string truncatedChunk = track(std::string("\x00\x90\x3C\x40", 4));
    truncatedChunk.resize(truncatedChunk.size() - 2);
    SmfBuilder twoDeclared(1, 96);
    twoDeclared.AddTrack().End(0);
    SmfBuilder format2(2, 96);
    format2.AddTrack().End(0);

    const Case cases[] = {
        {"no header", "RIFX0000", ERR_INVALID_FILE, "no MThd header"},
        {"empty", "", ERR_INVALID_FILE, "no MThd header"},
        {"chunk runs past the file", truncatedChunk, ERR_INVALID_FILE, "truncated"},
        {"event runs past its chunk", track(std::string("\x00\x90\x3C", 3)), ERR_INVALID_FILE,
         "track 1 is truncated"},
        {"running status with no status", track(std::string("\x00\x3C\x40", 3)), ERR_INVALID_FILE,
         "without a running status"},
        {"overlong number", track(std::string("\x81\x81\x81\x81\x01\x90\x3C\x40", 8)),
         ERR_INVALID_FILE, "longer than four bytes"},
        {"status where data belongs", track(std::string("\x00\x90\x3C\x90", 4)), ERR_INVALID_FILE,
         "where a data byte belongs"},
        {"zero tempo", track(std::string("\x00\xFF\x51\x03\x00\x00\x00", 7)), ERR_INVALID_FILE,
         "zero microseconds"},
        {"short tempo", track(std::string("\x00\xFF\x51\x02\x07\xA1", 6)), ERR_INVALID_FILE,
         "3 expected"},
        {"meta longer than its track", track(std::string("\x00\xFF\x01\x7F\x41", 5)),
         ERR_INVALID_FILE, "run past its end"},
        {"system message in a file", track(std::string("\x00\xF8", 2)), ERR_INVALID_FILE,
         "not allowed"},
        {"missing track", twoDeclared.Bytes(2), ERR_INVALID_FILE, "declares 2 tracks"},
        {"format 2", format2.Bytes(), ERR_UNSUPPORTED_FORMAT, "format 2"},
    };
    for (const Case& c : cases) {
        MidiFile file;
        std::string error;
        EXPECT_EQ(ParseBytes(c.bytes, &file, &error), c.result) << c.what;
        EXPECT_NE(error.find(c.message), std::string::npos) << c.what << ": " << error;
        EXPECT_TRUE(file.Events().empty()) << c.what;
    }
}

TEST(MidiFile, SurvivesEveryTruncationAndCorruptionOfAValidFile)
{
    const std::string good = TwoTrackFile();
    for (std::size_t n = 0; n < good.size(); ++n) {
        MidiFile file;
        std::string cut = good.substr(0, n); // a copy of its own, so overreads are caught
        Result r = ParseBytes(cut, &file);
        if (Succeeded(r)) {
            EXPECT_LE(file.Length(), 3200);
        }
    }
    std::uint32_t seed = 12345;
    for (int round = 0; round < 2000; ++round) {
        std::string bad = good;
        for (int k = 0; k < 3; ++k) {
            seed = seed * 214013u + 2531011u;
            bad[(seed >> 8) % bad.size()] = char(seed >> 24);
        }
        MidiFile file;
        Result r = ParseBytes(bad, &file);
        EXPECT_TRUE(r == RESULT_OK || r == ERR_INVALID_FILE || r == ERR_UNSUPPORTED_FORMAT);
    }
}

TEST(Loader, LoadsPlainAndRiffWrappedMidiAndRefusesOtherMusicFormats)
{
    Loader loader;
    std::shared_ptr<Segment> segment;
    const std::string smf = TwoTrackFile();
    ASSERT_EQ(loader.LoadSegment(smf.data(), smf.size(), &segment), RESULT_OK);
    ASSERT_TRUE(segment);
    EXPECT_EQ(segment->GetLength(), 3200);
    EXPECT_TRUE(loader.GetLastError().empty());

    auto riff = [](const char* form, const std::string& body) {
        std::string chunk = std::string("data") + "    " + body;
        std::uint32_t n = std::uint32_t(body.size());
        for (int i = 0; i < 4; ++i) {
            chunk[4 + i] = char((n >> (8 * i)) & 0xFF);
        }
        std::string out = std::string("RIFF") + "    " + form + chunk;
        std::uint32_t total = std::uint32_t(out.size() - 8);
        for (int i = 0; i < 4; ++i) {
            out[4 + i] = char((total >> (8 * i)) & 0xFF);
        }
        return out;
    };
    const std::string rmid = riff("RMID", smf);
    ASSERT_EQ(loader.LoadSegment(rmid.data(), rmid.size(), &segment), RESULT_OK);
    EXPECT_EQ(segment->GetMidiFile().Events().size(), 7u);

    const std::string sgt = riff("DMSG", "xxxx");
    EXPECT_EQ(loader.LoadSegment(sgt.data(), sgt.size(), &segment), ERR_UNSUPPORTED_FORMAT);
    EXPECT_FALSE(segment);
    EXPECT_NE(loader.GetLastError().find("segment file"), std::string::npos);
    EXPECT_STREQ(ResultName(ERR_UNSUPPORTED_FORMAT), "DMUSIC_E_UNSUPPORTED_FORMAT");
    EXPECT_NE(std::string(ResultDescription(ERR_UNSUPPORTED_FORMAT)).find("Standard MIDI"),
              std::string::npos);

    const std::string junk = "MThd\0\0\0\6\0";
    EXPECT_EQ(loader.LoadSegment(junk.data(), junk.size(), &segment), ERR_INVALID_FILE);
    EXPECT_FALSE(loader.GetLastError().empty());
}

TEST(Segment, ValidatesStartLoopAndRepeatSettingsAgainstItsLength)
{
    Loader loader;
    std::shared_ptr<Segment> s;
    const std::string smf = TwoTrackFile();
    ASSERT_EQ(loader.LoadSegment(smf.data(), smf.size(), &s), RESULT_OK);

    EXPECT_EQ(s->SetStartPoint(3199), RESULT_OK);
    EXPECT_EQ(s->SetStartPoint(3200), ERR_OUT_OF_RANGE);
    EXPECT_EQ(s->SetStartPoint(-1), ERR_OUT_OF_RANGE);
    EXPECT_EQ(s->GetStartPoint(), 3199);

    EXPECT_EQ(s->SetLoopPoints(768, 3200), RESULT_OK);
    EXPECT_EQ(s->SetLoopPoints(768, 768), ERR_OUT_OF_RANGE);
    EXPECT_EQ(s->SetLoopPoints(0, 3201), ERR_OUT_OF_RANGE);
    MusicTime a, b;
    s->GetLoopPoints(&a, &b);
    EXPECT_EQ(a, 768);
    EXPECT_EQ(b, 3200);
    EXPECT_EQ(s->SetLoopPoints(0, 0), RESULT_OK);

    EXPECT_EQ(s->SetRepeats(REPEAT_INFINITE), RESULT_OK);
    EXPECT_EQ(s->SetRepeats(-2), ERR_INVALID_ARG);
    EXPECT_EQ(s->GetRepeats(), REPEAT_INFINITE);
}
