// The spelling help the level check gives: the known name an author most likely meant.
#include "core/ClosestName.h"

#include <gtest/gtest.h>

TEST(ClosestName, SlipsFindTheNameMeantAndStrangersFindNone)
{
    const std::vector<std::string> keys = {"strength", "initalBallSpeed", "minBallSpeed",
                                           "music",    "stepSize",        "position"};
    // Two letters swapped, one left out, one added, case, one changed.
    EXPECT_EQ("strength", FindClosestName("strenght", keys));
    EXPECT_EQ("initalBallSpeed", FindClosestName("initialBallSpeed", keys));
    EXPECT_EQ("minBallSpeed", FindClosestName("minBallSped", keys));
    EXPECT_EQ("music", FindClosestName("Music", keys));
    EXPECT_EQ("music", FindClosestName("mosic", keys));
    // Nothing near enough, nothing offered.
    EXPECT_EQ("", FindClosestName("gxsxq", keys));
    EXPECT_EQ("", FindClosestName("gravity", keys));
    EXPECT_EQ("", FindClosestName("anything", {}));
    // The same name is not a suggestion for itself.
    EXPECT_EQ("", FindClosestName("position", {"position"}));
}
