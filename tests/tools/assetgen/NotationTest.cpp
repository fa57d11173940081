// Songs written as text: melodies, figure steps and drum strokes read back to the notes,
// steps and hits they stand for, beats counted exactly, and text that is not a note
// refused with the note named.
#include "kit/Notation.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

using namespace assetgen;

TEST(Notation, MelodiesFollowOnFromEachMeasuresFirstBeatWithRestsAndTriplets)
{
    const auto measures =
        Melody("76:.5 79:.25 -:.25 81:3 | 70:1/3 72:1/3 74:1/3 77:2/3 -:1/3 79:2");
    ASSERT_EQ(2u, measures.size());
    ASSERT_EQ(3u, measures[0].size());
    EXPECT_EQ(1.0, measures[0][2].beat) << "the rest moves the next note on";
    EXPECT_EQ(3.0, measures[0][2].length);
    EXPECT_EQ(81, measures[0][2].key);
    ASSERT_EQ(5u, measures[1].size());
    // Three thirds land exactly on the beat, and the last note after a triplet rest on two.
    EXPECT_EQ(1.0, measures[1][3].beat);
    EXPECT_EQ(2.0, measures[1][4].beat);
    EXPECT_DOUBLE_EQ(2.0 / 3, measures[1][3].length);
}

TEST(Notation, StepsCarryToneSemitonesAndVelocity)
{
    const Figure f = Steps("-6:.75 -:.25 -4+2:1v-14 3-1:2v5", 0, 0.1);
    ASSERT_EQ(3u, f.steps.size());
    EXPECT_EQ(0, f.gapTicks);
    EXPECT_EQ(0.1, f.gapFraction);
    EXPECT_EQ(-6, f.steps[0].tone);
    EXPECT_EQ(0, f.steps[0].velocity);
    EXPECT_EQ(1.0, f.steps[1].beat);
    EXPECT_EQ(-4, f.steps[1].tone);
    EXPECT_EQ(2, f.steps[1].semis);
    EXPECT_EQ(-14, f.steps[1].velocity);
    EXPECT_EQ(2.0, f.steps[2].beat);
    EXPECT_EQ(3, f.steps[2].tone);
    EXPECT_EQ(-1, f.steps[2].semis);
    EXPECT_EQ(5, f.steps[2].velocity);
}

TEST(Notation, DrumStrokesAndJoinedPatternsKeepTheirOrder)
{
    const std::vector<DrumHit> hits = Join({Strokes(kSnare, "0:50 1.5:60 5/3:70", 4, Where::kLast),
                                            Hits(kKick, {0, 2}, 90),
                                            {{3, kCrash, 80}}});
    ASSERT_EQ(6u, hits.size());
    EXPECT_EQ(1.5, hits[1].beat);
    EXPECT_DOUBLE_EQ(5.0 / 3, hits[2].beat);
    EXPECT_EQ(70, hits[2].velocity);
    EXPECT_EQ(4, hits[2].fromLevel);
    EXPECT_TRUE(hits[2].where == Where::kLast);
    EXPECT_EQ(kKick, hits[4].key);
    EXPECT_EQ(2.0, hits[4].beat);
    EXPECT_EQ(kCrash, hits[5].key);
}

TEST(Notation, TextThatIsNotANoteIsRefusedByName)
{
    const std::vector<std::pair<std::string, std::string>> cases = {
        {"128:1", "note \"128:1\": the key is not a MIDI key 0 to 127"},
        {"60:0", "note \"60:0\": the length must be more than 0 beats"},
        {"60:1/0", "note \"60:1/0\": the length is not a fraction of whole numbers"},
        {"60:x", "note \"60:x\": the length is not a number of beats"},
        {"60", "note \"60\": a note is key:length"},
        {"60:1 |", "measure \"\" holds no notes"},
        {"60:1v3", "note \"60:1v3\": a melody note has no velocity of its own"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(c.second, bbtest::MessageOf([&c] { Melody(c.first); })) << c.first;
    EXPECT_EQ("note \"x:1\": the tone is not a number", bbtest::MessageOf([] { Steps("x:1"); }));
    EXPECT_EQ("note \"0:1v\": the velocity is not a number",
              bbtest::MessageOf([] { Steps("0:1v"); }));
    EXPECT_EQ("note \"1\": a stroke is beat:velocity",
              bbtest::MessageOf([] { Strokes(kSnare, "1"); }));
}
