// The generated level songs through the game's own music path and synthesizer: the first
// and the last play part of every song are heard, stay clear of clipping, and the last
// drives harder than the first.
#include "PackFile.h"
#include "SoundFixture.h"

#include "dmusic/Performance.h"
#include "sound/DirectMusic.h"
#include "sound/MusicManager.h"
#include "sound/Sound.h"
#include "support/RequiredFiles.h"

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>

using namespace bbtest;

namespace {

struct Loudness
{
    double rms = 0;
    int peak = 0;
    long clipped = 0; // samples at full scale
};

class LevelMusicTest : public SoundFixture
{
protected:
    // Plays a part looped and measures three seconds of the mix, after a moment for the
    // last part's notes to die away.
    Loudness Measure(const std::string& song, const std::string& part)
    {
        DirectMusic* music = Sound::GetDirectMusic();
        music->PlayMidiLooped(song, part);
        Render(44100 / 3);
        Loudness l;
        double sum = 0;
        long count = 0;
        for (int block = 0; block < 3 * 44100 / 1024; ++block) {
            for (short s : Render(1024)) {
                sum += double(s) * s;
                l.peak = std::max(l.peak, std::abs(int(s)));
                l.clipped += std::abs(int(s)) >= 32767;
                ++count;
            }
        }
        l.rms = std::sqrt(sum / count);
        return l;
    }
};

} // namespace

TEST_F(LevelMusicTest, PlayPartsAreHeardUnclippedAndBuildUp)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Music/metadata.cfg", "asset pack's music");
    BB_REQUIRE_FILE(dmusic::Performance::kDefaultSoundFont, "General MIDI SoundFont");
    const std::string metadata = ReadPackFile("Music/metadata.cfg");
    StartAudio(true);
    ASSERT_TRUE(Sound::IsMusicActive());
    Run("function Metadata(t) songMetadata = t end");
    Run(metadata);

    for (const char* song :
         {"Harbour.mid", "Andes.mid", "Capital.mid", "Frost.mid", "Boulevard.mid", "Sands.mid",
          "Jungle.mid", "Lanterns.mid", "Workshop.mid"}) {
        SCOPED_TRACE(song);
        const std::string bytes = ReadPackFile(std::string("Music/") + song);
        ASSERT_FALSE(bytes.empty());
        AddResource(song, bytes, std::string("songMetadata['") + song + "']");

        const Loudness calm = Measure(song, "Play1");
        const Loudness driven = Measure(song, "Play10");
        RecordProperty(std::string(song) + " rms",
                       std::to_string(calm.rms) + " .. " + std::to_string(driven.rms));
        RecordProperty(std::string(song) + " peak", driven.peak);
        EXPECT_GT(calm.rms, 300.0);
        EXPECT_GT(driven.rms, calm.rms * 1.2);
        EXPECT_EQ(calm.clipped, 0);
        EXPECT_EQ(driven.clipped, 0);
        EXPECT_LT(driven.peak, 30000);
    }
}
