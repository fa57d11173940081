// The meter of the work done on one file's values: every walk over a Lua table charges the
// innermost open meter without asking to, so a walk written without a bound of its own is
// cut short and named; a spent meter raises at every charge after, whoever caught the first
// error; a stop is answered at the next step; with no meter open nothing is counted.
#include "core/WorkMeter.h"
#include "core/StopSignal.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <csignal>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

class WorkMeterTest : public bbtest::LuaFixture
{
protected:
    ~WorkMeterTest() override { StopSignal::Reset(); }

    // Walks every entry of the table, and every table in it, as any code may: through the
    // iterator, with no bound of its own. The number of entries seen.
    static long long WalkAll(const LuaObject& table)
    {
        long long seen = 0;
        for (LuaTableIterator it(table); it; it.Next()) {
            ++seen;
            if (it.GetValue().IsTable())
                seen += WalkAll(it.GetValue());
        }
        return seen;
    }
};

int s_StopAt = 0;
void StopAtCount(const WorkMeter& meter, long long)
{
    if (s_StopAt > 0 && meter.GetUsed() == s_StopAt)
        StopSignal::Request(SIGTERM);
}

} // namespace

TEST_F(WorkMeterTest, AWalkOverABigTableIsCutShortAndNamed)
{
    Run("Big = {} for i = 1, 100000 do Big[i] = { i } end");
    // Outside every meter the walk is the program's own: it goes to the end.
    EXPECT_EQ(200000, WalkAll(Global("Big")));

    WorkMeter meter("level file \"Big.lua\"", 5000);
    long long seen = 0;
    try {
        seen = WalkAll(Global("Big"));
    } catch (const WorkSpent& e) {
        EXPECT_EQ("level file \"Big.lua\" needs more than 5000 steps of work", e.GetMessage());
    }
    EXPECT_EQ(0, seen) << "the walk was not metered";
    EXPECT_TRUE(meter.IsSpent());
    EXPECT_LE(meter.GetUsed(), 5001);
    // Whoever caught the error cannot go on working on the file's values.
    EXPECT_THROW(WalkAll(Global("Big")), WorkSpent);
    EXPECT_THROW(WorkMeter::Charge(), WorkSpent);
}

TEST_F(WorkMeterTest, EveryOpenMeterIsChargedAndAStopEndsTheWalk)
{
    Run("Small = { 1, 2, 3 } Big = {} for i = 1, 100000 do Big[i] = i end");
    {
        WorkMeter outer("outer", 20);
        {
            WorkMeter inner("inner");
            EXPECT_EQ(3, WalkAll(Global("Small")));
            EXPECT_EQ(4, inner.GetUsed()); // the three entries and the step past the last
            EXPECT_EQ(4, outer.GetUsed());
            EXPECT_EQ(WorkMeter::Current(), &inner);
            // The outer meter running out ends the inner one's work too.
            EXPECT_THROW(WalkAll(Global("Big")), WorkSpent);
            EXPECT_TRUE(inner.IsSpent());
            EXPECT_EQ("inner needs more than 20 steps of work", inner.Describe());
        }
        EXPECT_EQ("outer needs more than 20 steps of work", outer.Describe());
        EXPECT_EQ(WorkMeter::Current(), &outer);
        // A meter opened inside the spent one (whoever caught its end goes on to another
        // file) works no more than its outer meter allows.
        WorkMeter later("later");
        EXPECT_THROW(WalkAll(Global("Small")), WorkSpent);
        EXPECT_EQ("later needs more than 20 steps of work", later.Describe());
    }

    // A stop asked for in the middle of a walk ends it at the next step.
    WorkMeter meter("level \"Big\"");
    s_StopAt = 1000;
    WorkMeter::SetProbe(&StopAtCount);
    EXPECT_THROW(WalkAll(Global("Big")), WorkSpent);
    WorkMeter::SetProbe(nullptr);
    s_StopAt = 0;
    EXPECT_EQ(1000, meter.GetUsed());
    EXPECT_EQ("level \"Big\" was stopped by SIGTERM", meter.Describe());
}
