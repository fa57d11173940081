// The work meter's default is far above what any written level needs: every level file of
// the pack is run and every level checked and built as the game does, and the most units any
// one file's or level's meter used is printed and held well below the default.
#include "LevelCheck.h"

#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "support/RequiredFiles.h"
#include "support/engine/FieldWorld.h"

#include <gtest/gtest.h>
#include <physfs.h>

#include <algorithm>
#include <csignal>
#include <cstdio>
#include <map>
#include <string>
#include <vector>

namespace {

// The most units each meter (by what it names) was seen to have used.
std::map<std::string, long long> s_MostUsed;

void NoteUse(const WorkMeter& meter, long long)
{
    long long& most = s_MostUsed[meter.GetWhat()];
    most = std::max(most, meter.GetUsed());
}

} // namespace

TEST(WrittenLevelWork, EveryWrittenLevelUsesAFractionOfTheMeter)
{
    BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Levels/Welcome.lua", "asset pack's levels");
    bbtest::OpenGameResources();
    const bool started = !PHYSFS_isInit();
    ASSERT_TRUE(PHYSFS_isInit() || PHYSFS_init(nullptr));
    ASSERT_TRUE(PHYSFS_mount(bbtest::AssetPackFolder().c_str(), nullptr, 0));
    const std::vector<levelcheck::LevelSource> sources = levelcheck::ReadPackLevels();
    PHYSFS_unmount(bbtest::AssetPackFolder().c_str());
    if (started)
        PHYSFS_deinit();
    ASSERT_FALSE(sources.empty());

    s_MostUsed.clear();
    WorkMeter::SetProbe(&NoteUse);
    levelcheck::LevelCheck check;
    // Every level is built up to its serve (one frame each); after the last one the check is
    // stopped, since the pack's own files, which it checks next, are no level's work.
    std::size_t built = 0;
    check.Run(sources, [&](const std::string&, Canvas&) {
        if (++built == check.GetLevelFiles().size())
            StopSignal::Request(SIGTERM);
    });
    StopSignal::Reset();
    WorkMeter::SetProbe(nullptr);
    EXPECT_EQ(check.GetLevelFiles().size(), built);

    std::vector<std::pair<long long, std::string>> used;
    for (const auto& [what, most] : s_MostUsed)
        used.emplace_back(most, what);
    std::sort(used.rbegin(), used.rend());
    ASSERT_FALSE(used.empty());
    for (const auto& [most, what] : used)
        std::printf("%9lld units  %s\n", most, what.c_str());
    // Some levels are checked and built: the meters of levels were charged.
    EXPECT_GE(used.size(), sources.size());
    EXPECT_LT(used.front().first, WorkMeter::kDefaultUnits / 20) << used.front().second;
}
