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

// The search is bounded whatever a file gives it: a word or name far longer than any slip is
// no candidate (comparing two of 100,000 letters would take ten billion steps), and a list
// of names is looked at only as far as its first few thousand.
TEST(ClosestName, LongWordsAndLongListsCostABoundedSearch)
{
    const std::string longWord(100000, 'a');
    EXPECT_EQ("", FindClosestName(longWord, {longWord + "b", "strength"}));
    EXPECT_EQ("", FindClosestName("strenght", {std::string(100000, 's'), "x"}));
    EXPECT_EQ("strength", FindClosestName("strenght", {std::string(100000, 's'), "strength"}));

    std::vector<std::string> many(kMostCandidates, "zzzzzzzz");
    many.push_back("strength");
    EXPECT_EQ("", FindClosestName("strenght", many));
    many[kMostCandidates - 1] = "strength";
    EXPECT_EQ("strength", FindClosestName("strenght", many));
}
