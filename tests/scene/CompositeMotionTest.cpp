// The composite motions: how children run in sequence, together, in loops and by a
// script's choice, the current child, property tables applied on the way, stopping on
// contact, and the script tables that build them.
#include "MotionTestSupport.h"

#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "scene/AbstractMotion.h"
#include "support/engine/LogCapture.h"

using LuaPlus::LuaObject;

namespace scenetest {

namespace {

class CompositeMotionTest : public SceneTest
{
protected:
    World world;
};

AbstractMotion& AsComposite(Motion& motion)
{
    return dynamic_cast<AbstractMotion&>(motion);
}

std::vector<float> Turns(const std::vector<TraceEntry>& trace)
{
    std::vector<float> turns;
    for (const TraceEntry& entry : trace)
        turns.push_back(entry.z);
    return turns;
}

} // namespace

// ---- Sequences --------------------------------------------------------------------------

TEST_F(CompositeMotionTest, AnEmptySequenceCompletesOnItsFirstUpdate)
{
    auto motion = MakeMotion("{class = 'MotionSequential', start = true}");
    Completions done;
    done.Watch(*motion);
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}, {0, 0, 0, S}}), Trace(*motion, 2));
    EXPECT_EQ(1, done.count);
}

TEST_F(CompositeMotionTest, TheNextChildMakesUpTheStepLostOnTheTickOfTheChange)
{
    auto motion =
        MakeMotion("{class = 'MotionSequential', start = true, addMotionList = {"
                   "{class = 'MotionRelative', destination = {x = 0, y = 4}, speed = 2},"
                   "{class = 'MotionRelative', destination = {x = 4, y = 0}, speed = 2}}}");
    Completions done;
    done.Watch(*motion);
    // The start key is applied after the children, so the sequence runs them.
    const std::vector<TraceEntry> expected = {{0, 2, 0, R}, {0, 2, 0, R}, {4, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 3));
    EXPECT_EQ(1, done.count);
    EXPECT_EQ(-1, AsComposite(*motion).GetCurrentIndex());

    // Completed, it begins again with the first child.
    motion->Start();
    EXPECT_EQ(expected, Trace(*motion, 3));
}

TEST_F(CompositeMotionTest, AStoppedSequenceResumesWithTheSameChild)
{
    auto motion = MakeMotion("{class = 'MotionSequential', start = true, addMotionList = {"
                             "{class = 'MotionRotate', angle = 4, speed = 2},"
                             "{class = 'MotionRotate', angle = 30, speed = 10}}}");
    Trace(*motion, 3);
    motion->Stop();
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*motion, 1));
    motion->Start();
    EXPECT_EQ(1, AsComposite(*motion).GetCurrentIndex());
    // The second child took over on the update before the stop, so it still makes up the
    // step of that update.
    EXPECT_EQ(std::vector<float>({20, 10}), Turns(Trace(*motion, 2)));
}

TEST_F(CompositeMotionTest, CurrentMotionOutsideTheChildrenMeansNone)
{
    const std::string children = "addMotionList = {{class = 'MotionRotate', angle = 10, speed = 1},"
                                 "{class = 'MotionRotate', angle = 10, speed = 7}}";
    // Not running: an index outside 0..1 selects no child, so a start begins with child 0.
    for (int index : {2, 5, -3}) {
        auto motion = MakeMotion("{class = 'MotionSequential', " + children + "}");
        motion->ApplyIntProperty("currentMotion", index);
        EXPECT_EQ(-1, motion->RetrieveIntProperty("currentMotion")) << index;
        motion->Start();
        EXPECT_EQ(1.0f, motion->Update().z) << index;
    }

    // Running: a valid index switches child, one outside stops without a callback.
    auto motion = MakeMotion("{class = 'MotionSequential', start = true, " + children + "}");
    Completions done;
    done.Watch(*motion);
    motion->ApplyIntProperty("currentMotion", 1);
    EXPECT_EQ(7.0f, motion->Update().z);
    motion->ApplyIntProperty("currentMotion", 2);
    EXPECT_FALSE(motion->IsRunning());
    EXPECT_EQ(-1, motion->RetrieveIntProperty("currentMotion"));
    EXPECT_EQ(0, done.count);
}

TEST_F(CompositeMotionTest, TheTargetReachesEveryChildPresentWhenItIsSet)
{
    auto motion = MakeMotion("{class = 'MotionSequential', addMotionList = {"
                             "{class = 'MotionSequential', addMotion = {class = 'MotionWait'}},"
                             "{class = 'MotionWait'}}}");
    Actor target;
    motion->SetTarget(&target);
    const auto children = AsComposite(*motion).GetMotions();
    ASSERT_EQ(2u, children.size());
    EXPECT_EQ(&target, children[1]->GetTarget());
    EXPECT_EQ(&target, AsComposite(*children[0]).GetMotions()[0]->GetTarget());

    // A child added later waits for the next SetTarget.
    auto late = MakeMotion("{class = 'MotionWait'}");
    AsComposite(*motion).AddMotion(late.get(), false);
    EXPECT_EQ(nullptr, late->GetTarget());
}

// ---- Together, looped, chosen ------------------------------------------------------------

TEST_F(CompositeMotionTest, SimultaneousChildrenAddTheirStepsUntilAllHaveFinished)
{
    auto motion = MakeMotion("{class = 'MotionSimultaneous', start = true, addMotionList = {"
                             "{class = 'MotionRelative', destination = {x = 2, y = 0}, speed = 1},"
                             "{class = 'MotionRotate', angle = 3, speed = 1}}}");
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {
        {1, 0, 1, R}, {1, 0, 1, R}, {0, 0, 1, R}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 4));
    EXPECT_EQ(1, done.count);

    auto empty = MakeMotion("{class = 'MotionSimultaneous', start = true}");
    EXPECT_EQ(std::vector<TraceEntry>(3, {0, 0, 0, R}), Trace(*empty, 3));
}

TEST_F(CompositeMotionTest, SimultaneousWithStopOnFirstEndsWithTheFirstChild)
{
    auto motion = MakeMotion("{class = 'MotionSimultaneous', stopOnFirst = true, start = true,"
                             "addMotionList = {{class = 'MotionRotate', angle = 20, speed = 5},"
                             "{class = 'MotionRotate', angle = 1, speed = 1}}}");
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {{0, 0, 6, R}, {0, 0, 5, S}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 3));
    EXPECT_EQ(1, done.count);
    EXPECT_FALSE(AsComposite(*motion).GetMotions()[0]->IsRunning());
}

TEST_F(CompositeMotionTest, LoopRunsItsPassesAndCountsThem)
{
    auto motion = MakeMotion("{class = 'MotionLoop', repetitions = 2, start = true, "
                             "addMotion = {class = 'MotionRotate', angle = 10, speed = 5}}");
    Completions done;
    done.Watch(*motion);
    const std::vector<TraceEntry> expected = {
        {0, 0, 5, R}, {0, 0, 5, R}, {0, 0, 0, R}, {0, 0, 10, R}, {0, 0, 0, S}};
    EXPECT_EQ(expected, Trace(*motion, 5));
    EXPECT_EQ(1, done.count);
    EXPECT_EQ(0, motion->RetrieveIntProperty("repetitionsTaken"));
}

TEST_F(CompositeMotionTest, AnEndlessLoopEndsOnlyWhenAPassTakesNoUpdate)
{
    auto endless = MakeMotion("{class = 'MotionLoop', start = true, "
                              "addMotion = {class = 'MotionRotate', angle = 2, speed = 1}}");
    const auto trace = Trace(*endless, 30);
    EXPECT_TRUE(trace.back().running);
    // The first pass takes three updates, the later ones two (each new pass runs its child
    // twice on its first update).
    EXPECT_EQ(14, endless->RetrieveIntProperty("repetitionsTaken"));

    auto instant = MakeMotion("{class = 'MotionLoop', start = true, "
                              "addMotion = {class = 'MotionRotate', angle = 0}}");
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, R}, {0, 0, 0, S}}), Trace(*instant, 2));
}

TEST_F(CompositeMotionTest, AConditionFunctionChoosesTheOnlyChildToRun)
{
    Run("LevelConditions = LevelConditions or {} "
        "function LevelConditions.PickMotion(args) args.asked = (args.asked or 0) + 1 "
        "return args.pick end");
    const std::string children =
        ", addMotionList = {{class = 'MotionRotate', angle = 1, speed = 1},"
        "{class = 'MotionRotate', angle = 2, speed = 2},"
        "{class = 'MotionRotate', angle = 3, speed = 3}}}";
    auto motion = MakeMotion("{class = 'MotionConditional', condition = {name = 'PickMotion', "
                             "args = {pick = 2}}, start = true" +
                             children);
    Completions done;
    done.Watch(*motion);
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 2, R}, {0, 0, 0, S}}), Trace(*motion, 2));
    EXPECT_EQ(1, done.count);
    LuaObject condition;
    motion->RetrieveProperty(condition, "condition");
    EXPECT_STREQ("PickMotion", condition["name"].GetString());
    EXPECT_EQ(1, condition["args"]["asked"].GetInteger());

    // No choice (0, too large, no such function) completes on the next update.
    for (const char* condition :
         {"{name = 'PickMotion', args = {pick = 0}}", "{name = 'PickMotion', args = {pick = 4}}",
          "{name = 'NoSuchFunction'}"}) {
        auto none = MakeMotion(std::string("{class = 'MotionConditional', condition = ") +
                               condition + ", start = true" + children);
        EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*none, 1)) << condition;
    }
    // Without a name the first child runs.
    auto first = MakeMotion("{class = 'MotionConditional', start = true" + children);
    EXPECT_EQ(1.0f, first->Update().z);
}

TEST_F(CompositeMotionTest, AFailingConditionFailsTheStart)
{
    Run("LevelConditions = LevelConditions or {} "
        "LevelConditions.BrokenPick = function() error('no pick today') end");
    auto motion = MakeMotion("{class = 'MotionConditional', condition = {name = 'BrokenPick'}, "
                             "addMotion = {class = 'MotionWait'}}");
    EXPECT_NE(std::string::npos, MessageOf([&] { motion->Start(); }).find("no pick today"));
}

// A condition's name comes from level data: it names only what LevelConditions holds,
// never a global. An unknown name is reported once and chooses no child.
TEST_F(CompositeMotionTest, AConditionNamesOnlyWhatLevelConditionsHolds)
{
    Run("ConditionTripped = 0 "
        "ConditionSaved = {dofile = dofile, CreateDirectory = CreateDirectory, "
        "ClearPlayer = ClearPlayer} "
        "function ConditionTripWire() ConditionTripped = ConditionTripped + 1 return 1 end "
        "function dofile() ConditionTripped = ConditionTripped + 1 return 1 end "
        "function CreateDirectory() ConditionTripped = ConditionTripped + 1 return 1 end "
        "function ClearPlayer() ConditionTripped = ConditionTripped + 1 return 1 end "
        "LevelConditions = LevelConditions or {} LevelConditions.NotAFunction = 3");
    bbtest::LogCapture log;
    for (const char* name :
         {"ConditionTripWire", "dofile", "CreateDirectory", "ClearPlayer", "NotAFunction"}) {
        for (int again = 0; again < 2; ++again) {
            auto motion = MakeMotion(std::string("{class = 'MotionConditional', start = true, "
                                                 "condition = {name = '") +
                                     name +
                                     "', args = 1}, addMotionList = {"
                                     "{class = 'MotionRotate', angle = 1, speed = 1}}}");
            EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*motion, 1)) << name;
        }
        const std::string text = log.Text();
        const std::string quoted = std::string("\"") + name + "\"";
        const std::size_t first = text.find(quoted);
        EXPECT_NE(std::string::npos, first) << name;
        EXPECT_EQ(std::string::npos, text.find(quoted, first + 1)) << name << " reported twice";
    }
    EXPECT_EQ(0, GetGlobalLuaState()->GetGlobal("ConditionTripped").GetInteger());
    Run("dofile, CreateDirectory, ClearPlayer = ConditionSaved.dofile, "
        "ConditionSaved.CreateDirectory, ConditionSaved.ClearPlayer ConditionSaved = nil");
}

// ---- Property tables ---------------------------------------------------------------------

TEST_F(CompositeMotionTest, PropertyTablesAreAppliedAtStartOnTheWayAndAtEachChildsEnd)
{
    FieldTarget target(world, 50, 100);
    auto motion = MakeMotion(
        "{class = 'MotionProperties', startProperties = {name = 'started'}, "
        "continueProperties = {name = 'continued'}, stopProperties = {name = 'stopped'}, "
        "addMotion = {class = 'MotionRotate', angle = 5, speed = 1}}");
    motion->SetTarget(&target);
    motion->Start();
    EXPECT_EQ("started", target.GetName());
    EXPECT_EQ(1, target.levelChecks);
    std::vector<std::string> names;
    for (int i = 0; i < 6; ++i) {
        motion->Update();
        names.push_back(target.GetName());
    }
    EXPECT_EQ(std::vector<std::string>(
                  {"started", "started", "continued", "continued", "continued", "stopped"}),
              names);
    EXPECT_EQ(3, target.levelChecks);
    EXPECT_FALSE(motion->IsRunning());
}

TEST_F(CompositeMotionTest, StartInTheSameTableSeesThePropertyTables)
{
    Actor target;
    auto motion = MakeMotion("{class = 'MotionProperties', start = true, "
                             "startProperties = {name = 'started'}}");
    // Applied at the start, before the target was set: nothing to apply to yet.
    motion->SetTarget(&target);
    motion->Start(); // running already: re-arms and applies again
    EXPECT_EQ("started", target.GetName());
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 0, S}}), Trace(*motion, 1));
}

// ---- Stopping on contact -----------------------------------------------------------------

class MotionStopTest : public CompositeMotionTest
{
protected:
    MotionStopTest() : target(world, 100, 100), wall(world, 90, 100), brick(world, 120, 100)
    {
        wall.stopClassName = "Wall";
        brick.stopClassName = "Brick";
    }

    std::unique_ptr<Motion> Make(const std::string& stopClasses)
    {
        auto motion =
            MakeMotion("{class = 'MotionStop', stopClasses = " + stopClasses +
                       ", start = true, addMotion = {class = 'MotionWait', duration = 1000}}");
        motion->SetTarget(&target);
        done.Watch(*motion);
        return motion;
    }

    FieldTarget target, wall, brick;
    Completions done;
};

TEST_F(MotionStopTest, SettingTheTargetHooksItsContactsAndCollisionCategories)
{
    target.collideBits = 4;
    auto motion = Make("{'Wall', 'Brick', 'Unknown'}");
    EXPECT_EQ(4u | 128u | 2u, target.collideBits);
    EXPECT_NE(nullptr, target.GetMotionGeom()->GetBody());
    EXPECT_EQ(1u, target.HookCount());
    // Setting it again does not hook twice; the motion's death unhooks it.
    motion->SetTarget(&target);
    EXPECT_EQ(1u, target.HookCount());
    motion.reset();
    EXPECT_EQ(0u, target.HookCount());
}

TEST_F(MotionStopTest, OnlyObjectsOfTheStopClassesStopIt)
{
    auto dangerousOnly = Make("{'DangerousWall'}");
    target.Hit(wall, 1, 0, 0.1);
    EXPECT_TRUE(dangerousOnly->IsRunning());
    wall.stopClassAlias = "DangerousWall";
    target.Hit(brick, -1, 0, 0.1);
    EXPECT_TRUE(dangerousOnly->IsRunning());
    target.Hit(wall, 1, 0, 0.1);
    EXPECT_FALSE(dangerousOnly->IsRunning());
    EXPECT_EQ(1, done.count);
    dangerousOnly.reset();

    auto anyWall = Make("{'Wall'}");
    target.Hit(wall, 1, 0, 0.1);
    EXPECT_FALSE(anyWall->IsRunning());
}

TEST_F(MotionStopTest, ItTakesAwayOnlyVelocityIntoTheContact)
{
    auto motion = Make("{'Wall'}");
    PhysicsBody* body = target.GetMotionGeom()->GetBody();

    // Moving away from the wall (the normal points from the wall to the target): untouched.
    body->SetLinearVel(50, 20);
    target.motionVelocity = Point<double>(50, 20);
    target.Hit(wall, 1, 0, 0.1);
    EXPECT_TRUE(motion->IsRunning());
    EXPECT_EQ(50.0, body->GetLinearVel().x);
    EXPECT_EQ(Point<double>(50, 20), target.motionVelocity);
    EXPECT_NEAR(100, target.Position().x, 1e-6);

    // Moving into it: the component along the normal goes, the target is pushed out.
    body->SetLinearVel(-50, 20);
    target.motionVelocity = Point<double>(-50, 20);
    target.Hit(wall, 1, 0, 0.295);
    EXPECT_FALSE(motion->IsRunning());
    EXPECT_NEAR(0.0, body->GetLinearVel().x, 1e-9);
    EXPECT_NEAR(20.0, body->GetLinearVel().y, 1e-9);
    EXPECT_EQ(Point<double>(0, 20), target.motionVelocity);
    EXPECT_NEAR(100.3, target.Position().x, 1e-4);
}

TEST_F(MotionStopTest, PushesOfOneTickAlongAnAxisAddUpToTheLargestAndStopOnce)
{
    auto motion = Make("{'Brick'}");
    motion->Update();
    target.Hit(brick, -1, 0, 0.295);
    EXPECT_NEAR(99.7, target.Position().x, 1e-4);
    motion->Start(); // a parent starts it again within the same tick
    target.Hit(brick, -1, 0, 0.495);
    EXPECT_NEAR(99.5, target.Position().x, 1e-4);
    // Stopped once this tick already: the restart stands and there is no second callback.
    EXPECT_TRUE(motion->IsRunning());
    EXPECT_EQ(1, done.count);

    // The next tick starts afresh.
    motion->Start();
    motion->Update();
    target.Hit(brick, -1, 0, 0.295);
    EXPECT_NEAR(99.2, target.Position().x, 1e-4);
    EXPECT_EQ(2, done.count);
}

TEST_F(CompositeMotionTest, AStopMotionOnATargetWithoutPhysicsRunsAsASequence)
{
    Actor plain;
    auto motion = MakeMotion("{class = 'MotionStop', stopClasses = {'Wall'}, start = true, "
                             "addMotion = {class = 'MotionRotate', angle = 3, speed = 3}}");
    motion->SetTarget(&plain);
    EXPECT_EQ(std::vector<TraceEntry>({{0, 0, 3, R}, {0, 0, 0, S}}), Trace(*motion, 2));
}

// ---- Script tables -----------------------------------------------------------------------

TEST_F(CompositeMotionTest, EveryMotionClassIsBuiltFromItsTable)
{
    for (const char* name : {"MotionAbsolute", "MotionRelative", "MotionOrbit", "MotionRotate",
                             "MotionWait", "MotionSimultaneous", "MotionSequential",
                             "MotionConditional", "MotionLoop", "MotionStop", "MotionProperties"}) {
        auto motion = MakeMotion(std::string("{class = '") + name + "'}");
        ASSERT_NE(nullptr, motion) << name;
        EXPECT_EQ(name, motion->GetClass()->GetName());
        EXPECT_FALSE(motion->IsRunning()) << name;
    }
}

TEST_F(CompositeMotionTest, BadTablesFailWithTheCheckThatRefusedThem)
{
    const std::pair<const char*, const char*> cases[] = {
        {"{class = 'Motion'}", "Objects of the class \"Motion\" cannot be made by name."},
        {"{class = 'AbstractMotion'}",
         "Objects of the class \"AbstractMotion\" cannot be made by name."},
        {"{class = 'MotionSequential', addMotion = 5}",
         "\"addMotion\" needs a motion table, not the number 5"},
        {"{class = 'MotionSequential', addMotionList = 'x'}",
         "\"addMotionList\" needs a list of motion tables, not the string \"x\""},
    };
    for (const auto& c : cases)
        EXPECT_NE(std::string::npos, MessageOf([&] { MakeMotion(c.first); }).find(c.second))
            << c.first << ": " << MessageOf([&] { MakeMotion(c.first); });
}

TEST_F(CompositeMotionTest, AChildTableFailureNamesTheCompositesKeyHandling)
{
    try {
        MakeMotion("{class = 'MotionSequential', addMotion = 5}");
        FAIL() << "no failure";
    } catch (const Exception& e) {
        EXPECT_NE(std::string::npos, e.GetFunction().find("AbstractMotion::ApplyClassicProperty"))
            << e.GetFunction();
    }
}

TEST_F(CompositeMotionTest, ACompositeDescribesItsChildren)
{
    auto motion = MakeMotion("{class = 'MotionLoop', repetitions = 3, addMotionList = {"
                             "{class = 'MotionWait', duration = 4}, {class = 'MotionRotate'}}}");
    LuaObject table;
    table.AssignNewTable(GetGlobalLuaState());
    motion->RetrieveProperties(table);
    EXPECT_EQ(3, table["repetitions"].GetInteger());
    EXPECT_EQ(-1, table["currentMotion"].GetInteger());
    EXPECT_STREQ("MotionWait", table["addMotionList"][1]["class"].GetString());
    EXPECT_EQ(4, table["addMotionList"][1]["duration"].GetInteger());
    EXPECT_STREQ("MotionRotate", table["addMotionList"][2]["class"].GetString());
}

} // namespace scenetest
