// The generated main theme: every part the screens ask for is described by the music's
// metadata, starts at its first measure, sounds, and loops.
#include "PackFile.h"
#include "SoundFixture.h"

#include "dmusic/Performance.h"
#include "sound/DirectMusic.h"
#include "sound/MusicManager.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"

#include <cmath>
#include <fstream>
#include <sstream>

using namespace bbtest;

namespace {

class ThemeTest : public SoundFixture
{
};

} // namespace

TEST_F(ThemeTest, ScreenPartsPlayAndLoop)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Music/Theme.mid", "asset pack's theme");
    BB_REQUIRE_FILE(dmusic::Performance::kDefaultSoundFont, "General MIDI SoundFont");
    std::string theme = ReadPackFile("Music/Theme.mid");
    std::string metadata = ReadPackFile("Music/metadata.cfg");
    StartAudio(true);
    ASSERT_TRUE(Sound::IsMusicActive());
    // The metadata file is a call of Metadata with a table by file name.
    Run("function Metadata(t) themeMetadata = t['Theme.mid'] end");
    Run(metadata);
    ASSERT_TRUE(Global("themeMetadata").IsTable());
    AddResource("Theme.mid", theme, "themeMetadata");

    DirectMusic* music = Sound::GetDirectMusic();
    dmusic::Performance* performance = music->GetMusicManager()->GetPerformance();
    for (const char* part : {"Splash", "EpisodeOver", "FinishedGame", "Lost"}) {
        SCOPED_TRACE(part);
        LuaPlus::LuaObject range = Global("themeMetadata")["parts"][part];
        ASSERT_TRUE(range.IsTable());
        const int first = range[1].GetInteger();
        const int count = range[2].GetInteger();
        music->PlayMidiLooped("Theme.mid", part);
        auto state = performance->GetSegmentState();
        ASSERT_TRUE(state);
        EXPECT_EQ(state->GetStartPoint(), (first - 1) * 3072);

        // Two seconds of the part are heard, and it never leaves its range.
        double sum = 0;
        for (int i = 0; i < 86; ++i) {
            for (short s : Render(1024)) {
                sum += double(s) * s;
            }
            EXPECT_GE(state->GetPosition(), (first - 1) * 3072);
            EXPECT_LT(state->GetPosition(), (first - 1 + count) * 3072);
        }
        EXPECT_GT(std::sqrt(sum / (86.0 * 2048)), 100.0);
        EXPECT_EQ(state->GetRepeatsLeft(), dmusic::REPEAT_INFINITE);
    }
}
