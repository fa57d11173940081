// Small sound files that promise huge or endless work (every field of an Ogg Vorbis or WAV
// header at its extremes, lengths that lie both ways), loaded by name as the game loads a
// sound: each loads within the bound on a whole decode or is refused, named once, and no
// load holds more memory than that bound allows, whatever its file claims.
#include "SoundFixture.h"

#include "bass/SoundDecoder.h"
#include "core/Exception.h"
#include "core/StopSignal.h"
#include "sound/Sound.h"
#include "support/CostlyFiles.h"
#include "support/ResidentMemory.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <csignal>
#include <string>

using namespace bbtest;

namespace {

// What a whole decode may hold: its samples, once more while its vector grows, and the
// file's bytes copied on their way in.
long long AllowedBytes(const std::string& file)
{
    return 2 * static_cast<long long>(bassx::SoundDecoder::kMaxBytes) +
           4 * static_cast<long long>(file.size()) + (48ll << 20);
}

struct SoundCase
{
    std::string name; // the resource's name, its extension the file's kind
    std::string bytes;
    bool loads; // loads within the bound (else refused, named)
    // What the game's line naming the refused sound says ("" for anything).
    std::string said = "";
};

std::vector<SoundCase> SweepCases()
{
    const std::int64_t hour = 3600ll * 48000;
    std::vector<SoundCase> cases = {
        // An hour of stereo silence in about 180 KB, as it says and lying either way.
        {"HourOfSilence.ogg", SilentOgg({48000, 2, 3600}), false,
         " frames of 2 channel(s) at 48000 Hz (3600 s); a sound decoded whole may last 180 s and "
         "hold 34 MB of samples; it is not decoded); the game plays without it"},
        {"HourClaimingASecond.ogg", SilentOgg({48000, 2, 3600, 48000}), true},
        // A length claimed past the data: the data ends first.
        {"SecondClaimingAges.ogg", SilentOgg({48000, 2, 1, hour * 1000000}), true},
        {"SecondClaimingAnHour.ogg", SilentOgg({48000, 2, 1, hour}), true},
        {"NearTheBound.ogg", SilentOgg({48000, 2, 170}), true},
        {"MonoHour.ogg", SilentOgg({48000, 1, 3600}), false},
        // Rates and channels at their extremes.
        {"RateOne.ogg", SilentOgg({1, 2, 1}), false},
        {"RateEightThousand.ogg", SilentOgg({8000, 2, 60}), false},
        {"RateHuge.ogg", SilentOgg({0x7FFFFFFF, 2, 1}), false},
        {"RateNegative.ogg", SilentOgg({-1, 2, 1}), false},
        {"ChannelsZero.ogg", SilentOgg({48000, 0, 1}), false},
        {"ChannelsMany.ogg", SilentOgg({48000, 255, 1}), false},
        // WAV: rates that make a small file last for hours, sizes and formats that lie.
        {"RateOne.wav", LyingWav({1, 1, 16, 100000}), false},
        {"RateZero.wav", LyingWav({0, 1, 16, 1000}), false},
        {"RateHuge.wav", LyingWav({0xFFFFFFFF, 1, 16, 1000}), false},
        {"LongAtEightThousand.wav", LyingWav({8000, 1, 8, 1920000}), false},
        {"ShortAtEightThousand.wav", LyingWav({8000, 1, 8, 1000000}), true},
        {"ClaimsTwoGigabytes.wav", LyingWav({22050, 2, 16, 1000, 0x7FFFFFF0}), false},
        {"ClaimsFourGigabytes.wav", LyingWav({22050, 2, 16, 1000, 0xFFFFFFFF}), false},
        {"ChannelsZero.wav", LyingWav({22050, 0, 16, 1000}), false},
        {"ChannelsMany.wav", LyingWav({22050, 255, 16, 1000}), false},
        {"BitsZero.wav", LyingWav({22050, 1, 0, 1000}), false},
        {"BitsThirtyTwo.wav", LyingWav({22050, 1, 32, 1000}), false, "is a WAV file of 32-bit"},
        {"BitsTwentyFour.wav", LyingWav({22050, 1, 24, 1002}), false, "is a WAV file of 24-bit"},
        // Not PCM, though its sizes are PCM's: eight-bit mu-law would play as noise.
        {"MuLaw.wav", LyingWav({8000, 1, 8, 8000, -1, 7}), false, "is a WAV file of format tag 7"},
        {"AdpcmClaims.wav", LyingWav({22050, 2, 4, 4000, -1, 2}), false},
        {"ImaAdpcmClaims.wav", LyingWav({22050, 2, 4, 4000, -1, 0x11}), false},
    };
    return cases;
}

class SoundCostSweep : public SoundFixture
{
protected:
    void SetUp() override { StartAudio(); }
    void TearDown() override { StopSignal::Reset(); }
};

} // namespace

TEST_F(SoundCostSweep, EverySoundLoadsWithinTheBoundOrIsRefusedAndNamedOnce)
{
    for (const SoundCase& sound : SweepCases()) {
        SCOPED_TRACE(sound.name);
        AddResource(sound.name, sound.bytes);
        bool loaded = false;
        std::string refusal;
        LogCapture log;
        ResetPeakResident();
        const long long before = PeakResidentKb() * 1024;
        for (int attempt = 0; attempt < 2; ++attempt) {
            try {
                loaded = Sound::GetSound(sound.name) != nullptr;
            } catch (const ResourceLoadError& e) {
                refusal = e.GetMessage();
            }
        }
        const long long peak = PeakResidentKb() * 1024 - before;
        EXPECT_LE(peak, AllowedBytes(sound.bytes)) << "bytes held while loading";
        EXPECT_EQ(sound.loads, loaded) << refusal;
        if (loaded) {
            EXPECT_LE(Sound::GetSound(sound.name)->CalcMemoryUsage(),
                      2 * static_cast<long long>(bassx::SoundDecoder::kMaxBytes));
            continue;
        }
        const std::string text = log.Text();
        const std::string named =
            "Warning: the resource \"" + sound.name + "\" could not be loaded";
        EXPECT_NE(std::string::npos, text.find(named)) << text;
        EXPECT_EQ(text.find(named), text.rfind(named)) << "named once\n" << text;
        const std::size_t at = std::min(text.find(named), text.size());
        EXPECT_NE(std::string::npos, text.substr(at, text.find('\n', at) - at).find(sound.said))
            << text;
    }
}

// A stop of the program asked for while a sound decodes ends the decode at its next block:
// a long sound within the bound is given up rather than decoded whole.
TEST_F(SoundCostSweep, AStopEndsADecodeAtItsNextBlock)
{
    AddResource("long.ogg", SilentOgg({48000, 2, 170}));
    AddResource("long.wav", LyingWav({8000, 1, 8, 1000000}));
    StopSignal::Request(SIGTERM);
    for (const char* name : {"long.ogg", "long.wav"}) {
        SCOPED_TRACE(name);
        ResetPeakResident();
        const long long before = PeakResidentKb() * 1024;
        try {
            Sound::GetSound(name);
            ADD_FAILURE() << "decoded whole while the program stops";
        } catch (const ResourceLoadError& e) {
            EXPECT_NE(std::string::npos, e.GetMessage().find("was stopped by SIGTERM"))
                << e.GetMessage();
        }
        EXPECT_LE(PeakResidentKb() * 1024 - before, 8ll << 20);
    }
}
