// The instruments a segment names, which its download loads into the synthesiser, and
// music played with the synthesiser holding only those.
#include "SmfBuilder.h"

#include "dmusic/Loader.h"
#include "dmusic/Performance.h"
#include "support/RequiredFiles.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace dmusic;
using dmtest::SmfBuilder;
using dmtest::SmfTrack;

namespace {

constexpr int kSampleRate = 22050;
constexpr int kTicksPerQuarter = 96;

std::shared_ptr<Segment> LoadPresetSegment(const std::string& bytes)
{
    Loader loader;
    std::shared_ptr<Segment> s;
    EXPECT_EQ(loader.LoadSegment(bytes.data(), bytes.size(), &s), RESULT_OK)
        << loader.GetLastError();
    return s;
}

std::vector<Preset> Presets(std::initializer_list<Preset> list)
{
    return std::vector<Preset>(list);
}

double RootMeanSquare(const std::vector<float>& v)
{
    double sum = 0;
    for (float x : v)
        sum += double(x) * x;
    return v.empty() ? 0.0 : std::sqrt(sum / double(v.size()));
}

} // namespace

TEST(SegmentPresetsTest, ProgramsBanksDrumsAndUnprogrammedChannels)
{
    SmfBuilder smf(1, kTicksPerQuarter);
    SmfTrack& t = smf.AddTrack();
    t.Program(0, 0, 40).Program(0, 0, 40);      // named twice, listed once
    t.At(0, {0xB0 | 1, 0, 8}).Program(0, 1, 5); // bank 8 selected first
    t.Program(0, 9, 16);                        // the drum channel: the drum bank
    t.At(0, {0xB0 | 3, 7, 100});                // a channel that never plays
    t.NoteOn(10, 2, 60);                        // notes before any program: program 0
    t.NoteOn(10, 4, 60, 0);                     // a note-on of velocity 0 is a note-off
    t.NoteOff(20, 2, 60);
    t.Program(30, 2, 73);                         // a later change on a played channel
    t.At(40, {0xB0 | 1, 0, 0}).Program(40, 1, 5); // back to bank 0
    t.End(96);
    auto segment = LoadPresetSegment(smf.Bytes());

    EXPECT_EQ(segment->GetPresets(),
              Presets({{0, 0}, {0, 5}, {0, 40}, {0, 73}, {8, 5}, {kDrumBank, 16}}));

    SmfBuilder silent(0, kTicksPerQuarter);
    silent.AddTrack().End(96);
    EXPECT_TRUE(LoadPresetSegment(silent.Bytes())->GetPresets().empty());
}

TEST(SegmentPresetsTest, DownloadedMusicSoundsWithOnlyItsInstrumentsLoaded)
{
    BB_REQUIRE_FILE(Performance::kDefaultSoundFont, "General MIDI SoundFont");
    Performance performance;
    ASSERT_EQ(performance.Init(kSampleRate), RESULT_OK);

    // Two songs sharing an instrument; bank 8 of program 5 does not exist and plays bank 0.
    auto song = [](int program, int bank) {
        SmfBuilder smf(0, kTicksPerQuarter);
        SmfTrack& t = smf.AddTrack();
        t.At(0, {0xB0, 0, bank}).Program(0, 0, program).Program(0, 1, 40);
        t.NoteOn(0, 0, 60).NoteOn(0, 1, 67).Program(0, 9, 0).NoteOn(0, 9, 38);
        t.NoteOff(kTicksPerQuarter, 9, 38)
            .NoteOff(2 * kTicksPerQuarter, 0, 60)
            .NoteOff(2 * kTicksPerQuarter, 1, 67);
        t.End(4 * kTicksPerQuarter);
        return LoadPresetSegment(smf.Bytes());
    };
    auto first = song(73, 0);
    auto second = song(5, 8);
    ASSERT_EQ(first->Download(performance), RESULT_OK);
    ASSERT_EQ(second->Download(performance), RESULT_OK);

    // Unloading one leaves the instruments the other shares; each still plays from its
    // first block on, both melodic channels and the drums.
    ASSERT_EQ(first->Unload(performance), RESULT_OK);
    for (int round = 0; round < 2; ++round) {
        ASSERT_EQ(performance.PlaySegment(*second, SEGF_DEFAULT), RESULT_OK);
        std::vector<float> opening = performance.RenderFrames(kSampleRate / 10);
        EXPECT_GT(RootMeanSquare(opening), 0.005) << round;
        EXPECT_GE(performance.GetActiveVoiceCount(), 3) << round;
        ASSERT_EQ(performance.Stop(), RESULT_OK);
        performance.RenderFrames(kSampleRate);
        // Unloaded and downloaded again, the song sounds the same way.
        ASSERT_EQ(second->Unload(performance), RESULT_OK);
        ASSERT_EQ(second->Download(performance), RESULT_OK);
    }
    EXPECT_EQ(second->Unload(performance), RESULT_OK);
    EXPECT_EQ(second->Unload(performance), RESULT_FALSE);
}
