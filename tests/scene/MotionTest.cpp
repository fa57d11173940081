// The primitive motions stepped one update at a time: their steps, when they complete,
// the speed ramp, targets with and without physics, and how scripts build them.
#include "MotionTestSupport.h"

#include "lua/MakoLuaState.h"

#include <cmath>

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

class MotionTest : public SceneTest
{
protected:
    World world;
};

float FloatProperty(Motion& motion, const char* name)
{
    LuaObject value;
    motion.RetrieveProperty(value, name);
    return static_cast<float>(value.GetNumber());
}

} // namespace

TEST_F(MotionTest, RelativeStepsAddUpToTheOffsetAndCompleteOnTheLastStep)
{
    auto motion = MakeMotion("{class = 'MotionRelative', destination = {x = 0, y = 5}, "
                             "speed = 2, start = true}");
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {
        {0, 2, 0, R}, {0, 2, 0, R}, {0, 1, 0, S}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 4));
    EXPECT_EQ(1, done.count);
    EXPECT_EQ(0.0f, FloatProperty(*motion, "progress"));

    // Started again, it travels the whole offset again.
    motion->Start();
    EXPECT_EQ(expected, Trace(*motion, 4));
    EXPECT_EQ(2, done.count);
}

TEST_F(MotionTest, RelativeWithoutEndKeepsMovingAlongTheOffset)
{
    auto motion = MakeMotion("{class = 'MotionRelative', destination = {x = 3, y = 4}, "
                             "speed = 1, infinite = true, start = true}");
    const std::vector<TraceEntry> expected(5, {0.6f, 0.8f, 0, R});
    EXPECT_EQ(expected, Trace(*motion, 5));
    EXPECT_EQ(0.0f, FloatProperty(*motion, "progress"));

    // An offset shorter than the speed still only gives the direction: it never completes.
    auto shortOffset = MakeMotion("{class = 'MotionRelative', destination = {x = 0, y = 1}, "
                                  "speed = 2, infinite = true, start = true}");
    Completions done;
    done.Watch(*shortOffset);
    const std::vector<TraceEntry> endless(4, {0, 2, 0, R});
    EXPECT_EQ(endless, Trace(*shortOffset, 4));
    EXPECT_EQ(0, done.count);
}

TEST_F(MotionTest, AbsoluteHeadsForTheDestinationAndCompletesStandingOnIt)
{
    FieldTarget target(world, 0, 100);
    auto motion = MakeMotion("{class = 'MotionAbsolute', destination = {x = 10, y = 100}, "
                             "speed = 3, start = true}");
    motion->SetTarget(&target);
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {
        {3, 0, 0, R}, {3, 0, 0, R}, {3, 0, 0, R}, {1, 0, 0, R}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 5, &target));
    EXPECT_EQ(1, done.count);
    EXPECT_EQ(Point<float>(10, 100), target.Position());
}

TEST_F(MotionTest, AbsoluteRampsUpToItsSpeed)
{
    FieldTarget target(world, 0, 100);
    auto motion = MakeMotion("{class = 'MotionAbsolute', destination = {x = 100, y = 100}, "
                             "speed = 2, rampUpTicks = 1, start = true}");
    motion->SetTarget(&target);
    const std::vector<TraceEntry> expected = {{1, 0, 0, R}, {2, 0, 0, R}};
    EXPECT_EQ(expected, Trace(*motion, 2, &target));
    EXPECT_NEAR(2.0f, motion->Update().x, 1e-5);
}

// Ramps of any length, the largest an int holds too, step by a sliver of the speed.
TEST_F(MotionTest, RampsOfTheLongestLengthStillStep)
{
    auto motion = MakeMotion("{class = 'MotionRotate', angle = 20, speed = 4, "
                             "rampUpTicks = 2^31, rampDownTicks = 2^31, start = true}");
    for (int i = 0; i < 3; ++i)
        EXPECT_GE(std::fabs(motion->Update().z), 0.0f);
    EXPECT_TRUE(motion->IsRunning());
}

TEST_F(MotionTest, AbsoluteIgnoringAnAxisCompletesWhenTheOtherArrives)
{
    FieldTarget target(world, 0, 100);
    auto motion = MakeMotion("{class = 'MotionAbsolute', destination = {x = 6, y = 50}, "
                             "speed = 3, ignoreVertical = true, start = true}");
    motion->SetTarget(&target);
    const std::vector<TraceEntry> expected = {{3, 0, 0, R}, {3, 0, 0, R}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 3, &target));
    EXPECT_EQ(Point<float>(6, 100), target.Position());
}

TEST_F(MotionTest, PositionMotionsLeaveATargetWithoutPhysicsWhereItIs)
{
    Actor plain;
    for (const char* table :
         {"{class = 'MotionAbsolute', destination = {x = 10, y = 100}, start = true}",
          "{class = 'MotionOrbit', angle = 90, start = true}"}) {
        auto motion = MakeMotion(table);
        motion->SetTarget(&plain);
        const std::vector<TraceEntry> expected(2, {0, 0, 0, R});
        EXPECT_EQ(expected, Trace(*motion, 2)) << table;
    }
}

TEST_F(MotionTest, RotateTurnsTheWholeAngleInTheSpeedsDirection)
{
    auto motion = MakeMotion("{class = 'MotionRotate', angle = 10, speed = -4, start = true}");
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {
        {0, 0, -4, R}, {0, 0, -4, R}, {0, 0, -2, R}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 4));
    EXPECT_EQ(1, done.count);
    EXPECT_EQ(0.0f, FloatProperty(*motion, "progress"));

    auto none = MakeMotion("{class = 'MotionRotate', angle = 0, start = true}");
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*none, 1));
}

TEST_F(MotionTest, RotateBrakesOverItsRampDownTicks)
{
    auto motion = MakeMotion(
        "{class = 'MotionRotate', angle = 20, speed = 4, rampDownTicks = 4, start = true}");
    const float expected[] = {4, 4, 4, 4, 3.2f, 0.8f, 0};
    for (float z : expected)
        EXPECT_NEAR(z, motion->Update().z, 1e-5);
    EXPECT_FALSE(motion->IsRunning());
}

TEST_F(MotionTest, WaitCallsBackEveryDurationPlusOneUpdatesAndKeepsRunning)
{
    auto motion = MakeMotion("{class = 'MotionWait', duration = 2, start = true}");
    Completions done;
    done.Watch(*motion);
    std::vector<int> calls;
    for (int update = 1; update <= 7; ++update) {
        const int before = done.count;
        motion->Update();
        if (done.count != before)
            calls.push_back(update);
    }
    EXPECT_EQ(std::vector<int>({3, 6}), calls);
    EXPECT_TRUE(motion->IsRunning());
    motion->Stop();
    motion->Update();
    EXPECT_EQ(2, done.count);
}

TEST_F(MotionTest, OrbitCarriesTheTargetAroundItsCentre)
{
    FieldTarget target(world, 120, 100);
    auto motion = MakeMotion("{class = 'MotionOrbit', center = {x = 100, y = 100}, angle = 180, "
                             "speed = 90, start = true}");
    motion->SetTarget(&target);
    Trace(*motion, 1, &target);
    EXPECT_NEAR(100, target.Position().x, 1e-3);
    EXPECT_NEAR(120, target.Position().y, 1e-3);
    Trace(*motion, 1, &target);
    EXPECT_NEAR(80, target.Position().x, 1e-3);
    EXPECT_NEAR(100, target.Position().y, 1e-3);
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*motion, 1));

    const Point<float> next = motion->GetNextPosition(120, 100);
    EXPECT_NEAR(80, next.x, 1e-3);
    EXPECT_NEAR(100, next.y, 1e-3);
}

TEST_F(MotionTest, OrbitAboutANamedObjectWaitsWhileItIsMissing)
{
    std::map<std::string, FieldTarget*> field;
    FieldTarget target(world, 110, 200);
    target.field = &field;
    auto motion = MakeMotion("{class = 'MotionOrbit', centerName = 'hub', angle = 90, "
                             "speed = -90, start = true}");
    motion->SetTarget(&target);
    EXPECT_EQ(std::vector<TraceEntry>(3, {0, 0, 0, R}), Trace(*motion, 3, &target));

    FieldTarget hub(world, 100, 200);
    field["hub"] = &hub;
    Trace(*motion, 1, &target);
    EXPECT_NEAR(100, target.Position().x, 1e-3);
    EXPECT_NEAR(190, target.Position().y, 1e-3);
}

TEST_F(MotionTest, ScriptKeysStartTheMotionWhateverTheirValue)
{
    auto motion = MakeMotion("{class = 'MotionRotate', angle = 10, start = false}");
    EXPECT_TRUE(motion->IsRunning());
    motion->ApplyBoolProperty("stop", true);
    EXPECT_FALSE(motion->IsRunning());
}

TEST_F(MotionTest, RetrievedPropertiesDescribeTheMotion)
{
    auto motion = MakeMotion("{class = 'MotionRelative', destination = {x = 1, y = 2}, "
                             "speed = 3, rampUpTicks = 4, start = true}");
    LuaObject table;
    table.AssignNewTable(GetGlobalLuaState());
    motion->RetrieveProperties(table);
    EXPECT_STREQ("MotionRelative", table["class"].GetString());
    EXPECT_EQ(2.0, table["destination"]["y"].GetNumber());
    EXPECT_EQ(3.0, table["speed"].GetNumber());
    EXPECT_EQ(4, table["rampUpTicks"].GetInteger());
    EXPECT_TRUE(table["start"].GetBoolean());
    motion->Stop();
    LuaObject stopped;
    stopped.AssignNewTable(GetGlobalLuaState());
    motion->RetrieveProperties(stopped);
    EXPECT_TRUE(stopped["start"].IsNil());
}

} // namespace scenetest
