// Frame deadlines: a steady rate on average however late each wake-up is, and no burst of
// frames after a stall.
#include "app/FramePacer.h"

#include <gtest/gtest.h>

#include <cstdint>

TEST(FramePacerTest, LateWakeUpsAreMadeUpByTheNextWait)
{
    FramePacer pacer(32);
    pacer.Start(1000);
    EXPECT_EQ(32u, pacer.WaitAt(1000));
    EXPECT_EQ(12u, pacer.WaitAt(1020));
    // Each pass takes 10 ms and each sleep overshoots by 1 to 3 ms: 100 frames still
    // begin exactly 3200 ms after the first deadline.
    std::uint32_t now = 1000;
    for (int frame = 0; frame < 100; ++frame) {
        now += 10;
        now += pacer.WaitAt(now) + 1 + frame % 3;
        pacer.Advance(now);
    }
    EXPECT_EQ(1032u + 100 * 32, pacer.GetNextDeadline());
    // A pass that ended after its deadline: the next frame is due sooner.
    EXPECT_LT(pacer.WaitAt(now), 32u);
}

TEST(FramePacerTest, AStallStartsANewGridAndTheClockMayWrap)
{
    FramePacer pacer(32);
    pacer.Start(0);
    pacer.Advance(32 + 31); // 31 ms late: still on the grid
    EXPECT_EQ(64u, pacer.GetNextDeadline());
    pacer.Advance(64 + 500); // a stall: frames go on from its end, one period apart
    EXPECT_EQ(596u, pacer.GetNextDeadline());
    EXPECT_EQ(32u, pacer.WaitAt(564));

    const std::uint32_t nearWrap = 0xFFFFFFF0u;
    pacer.Start(nearWrap);
    EXPECT_EQ(16u, pacer.GetNextDeadline());
    EXPECT_EQ(20u, pacer.WaitAt(nearWrap + 12));
    EXPECT_EQ(0u, pacer.WaitAt(40));
    pacer.Advance(17);
    EXPECT_EQ(48u, pacer.GetNextDeadline());
}
