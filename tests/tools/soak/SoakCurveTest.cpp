// The soak's judgement of a run's curve: what counts as growing, and what does not.
#include "SoakCurve.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

soak::Sample At(long actors, long residentKb, long images = 700)
{
    soak::Sample s;
    s.actors = actors;
    s.bodies = 0;
    s.timers = 2;
    s.images = images;
    s.residentKb = residentKb;
    return s;
}

std::vector<soak::Sample> Curve(std::vector<long> actors, long residentKb = 90000)
{
    std::vector<soak::Sample> samples;
    for (long a : actors)
        samples.push_back(At(a, residentKb));
    return samples;
}

} // namespace

TEST(SoakCurve, FlatOrFallingBackCountsPass)
{
    // Flat; a level that ends with more alive now and then; a rise in the middle that falls
    // back before the last third; a rise within the margin.
    for (const std::vector<long>& actors : {std::vector<long>{541, 541, 541, 541, 541, 541},
                                            {541, 541, 700, 541, 541, 900, 541},
                                            {541, 900, 1200, 900, 541, 541},
                                            {541, 545, 548, 548, 549, 549}}) {
        const soak::Verdict verdict = soak::JudgeCurve(Curve(actors));
        EXPECT_TRUE(verdict.judged);
        EXPECT_TRUE(verdict.growing.empty()) << verdict.growing.front();
    }
}

TEST(SoakCurve, ACountThatNeverFallsBackFailsAndIsNamed)
{
    const soak::Verdict verdict = soak::JudgeCurve(Curve({541, 560, 580, 600, 620, 640}));
    ASSERT_EQ(1u, verdict.growing.size());
    EXPECT_EQ(0u, verdict.growing[0].find("actors keep growing (541 after the first level, "
                                          "at least 620 in the last third)"))
        << verdict.growing[0];

    // A small count: the margin is 8, not 5 % of it.
    std::vector<soak::Sample> timers = Curve({541, 541, 541, 541});
    timers[2].timers = timers[3].timers = 10; // 2 at first
    EXPECT_TRUE(soak::JudgeCurve(timers).growing.empty());
    timers[2].timers = timers[3].timers = 11;
    ASSERT_EQ(1u, soak::JudgeCurve(timers).growing.size());
    EXPECT_EQ(0u, soak::JudgeCurve(timers).growing[0].find("timers keep growing"));
}

// The live memory may rise 10 % before it counts as growing; the resident size, which
// also holds what the allocator keeps back, is never judged however far it climbs.
TEST(SoakCurve, LiveMemoryMayRiseTenPerCentAndResidentMemoryIsNotJudged)
{
    std::vector<soak::Sample> samples = Curve({541, 541, 541, 541, 541, 541}, 100000);
    for (soak::Sample& s : samples)
        s.liveKb = 50000;
    samples[4].residentKb = samples[5].residentKb = 150000;
    samples[4].liveKb = samples[5].liveKb = 55000;
    EXPECT_TRUE(soak::JudgeCurve(samples).growing.empty());
    samples[4].liveKb = samples[5].liveKb = 55001;
    const soak::Verdict verdict = soak::JudgeCurve(samples);
    ASSERT_EQ(1u, verdict.growing.size());
    EXPECT_EQ(0u, verdict.growing[0].find("live memory keeps growing (50000 kB"))
        << verdict.growing[0];
    EXPECT_EQ(55001, verdict.least.liveKb);
    EXPECT_EQ(150000, verdict.least.residentKb);
}

TEST(SoakCurve, TooShortARunIsNotJudged)
{
    EXPECT_FALSE(soak::JudgeCurve({}).judged);
    EXPECT_FALSE(soak::JudgeCurve(Curve({541, 2000})).judged);
    EXPECT_TRUE(soak::JudgeCurve(Curve({541, 541, 541})).judged);
}
