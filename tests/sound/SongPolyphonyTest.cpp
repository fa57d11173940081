// Every shipped song fits the synthesiser's polyphony: played whole at the fastest master
// tempo the game sets (which overlaps the most notes), it never needs all the voices, so
// no note is ever cut short to make room for another. And no bound of the music layer
// changes it: it is read as written and never waits for room to send its messages.
#include "PackFile.h"

#include "dmusic/Loader.h"
#include "dmusic/Performance.h"
#include "support/RequiredFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <vector>

using namespace bbtest;

TEST(SongPolyphonyTest, EveryShippedSongFitsThePolyphonyAtTheFastestTempo)
{
    BB_REQUIRE_FILE(dmusic::Performance::kDefaultSoundFont, "General MIDI SoundFont");
    constexpr int kRate = 22050;
    constexpr float kFastestTempo = 2.0f;

    std::vector<std::string> songs;
    for (const auto& entry : std::filesystem::directory_iterator(AssetPackFolder() + "/Music"))
        if (entry.path().extension() == ".mid")
            songs.push_back(entry.path().filename().string());
    std::sort(songs.begin(), songs.end());
    ASSERT_GE(songs.size(), 10u);

    for (const std::string& song : songs) {
        const std::string bytes = ReadPackFile("Music/" + song);
        dmusic::Loader loader;
        std::shared_ptr<dmusic::Segment> segment;
        ASSERT_EQ(loader.LoadSegment(bytes.data(), bytes.size(), &segment), dmusic::RESULT_OK)
            << song;
        dmusic::Performance performance;
        ASSERT_EQ(performance.Init(kRate), dmusic::RESULT_OK);
        ASSERT_EQ(performance.SetMasterTempo(kFastestTempo), dmusic::RESULT_OK);
        ASSERT_EQ(segment->Download(performance), dmusic::RESULT_OK);
        ASSERT_EQ(performance.PlaySegment(*segment, dmusic::SEGF_DEFAULT), dmusic::RESULT_OK);

        int most = 0;
        std::vector<float> block(2 * 512);
        for (int rendered = 0; rendered < 10 * 60 * kRate &&
                               performance.IsPlaying(nullptr, nullptr) == dmusic::RESULT_OK;
             rendered += 512) {
            performance.Render(block.data(), 512);
            most = std::max(most, performance.GetActiveVoiceCount());
        }
        EXPECT_GT(most, 0) << song;
        EXPECT_LT(most, dmusic::Performance::kPolyphony) << song << " needs " << most;
        EXPECT_EQ(segment->GetMidiFile().Bounded(), "") << song;
        EXPECT_EQ(segment->GetHeldBlocks(), 0) << song;
    }
}
