// The level check plays the pack's songs under the game's bounds: a song that promises
// endless work (a tune at a microsecond a quarter note) is named as the game names it, once
// for what reading it changed and once for being too dense to play at its pace, and the
// check ends in bounded time with its standard error quiet.
#include "support/EndlessSong.h"
#include "support/LevelCheckRun.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <sys/wait.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace fs = std::filesystem;

namespace {

std::size_t Count(const std::string& text, const std::string& part)
{
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

} // namespace

TEST(SongCheck, ASongOfEndlessWorkIsNamedOnceForEachBoundAndTheCheckEnds)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Altiplano.lua", "asset pack's levels");
    bbtest::TempHome home;
    const std::string pack = home.Path() + "/pack";
    fs::copy(bbtest::AssetPackFolder(), pack, fs::copy_options::recursive);
    bbtest::KeepOnlyLevel(pack, "Altiplano.lua");
    // Altiplano's own song.
    bbtest::WriteFile(pack + "/Music/Andes.mid", bbtest::EndlessSong());

    const bbtest::LevelCheckRun run = bbtest::RunLevelCheck(home.Path(), pack);
    ASSERT_NE(-1, run.status) << "the check was ended";
    const std::string& report = run.report;
    EXPECT_EQ("", run.errors);
    for (const std::string line :
         {"pack: warning: the song \"Music/Andes.mid\" is played within the music's bounds: its "
          "tempo of 1 microseconds a quarter note plays at 50000",
          "pack: warning: the song \"Music/Andes.mid\" is denser than the music plays"}) {
        EXPECT_EQ(1u, Count(report, line)) << line << "\n" << report;
    }
    // No other song of the pack is named: they play as written.
    EXPECT_EQ(2u, Count(report, "the song \"")) << report;
}
