// Structures moved by their motions in a stepping world: steps become body velocities tick
// by tick, stop motions halt at the classes they name, hit motions start on contacts, and
// motions are set, replaced, read back and removed through the structure's properties.
#include "FieldScene.h"

#include "field/Collider.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsGeom.h"
#include "support/MessageOf.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

using namespace fieldtest;

namespace {

class StructureMotionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::PrepareEngine(); }

    StructureMotionTest()
    {
        root->logic = &logic;
        logic.playLayer = root;
    }
    ~StructureMotionTest() override
    {
        gLogic = nullptr;
        passes.SetRoot(nullptr);
        delete root;
    }

    // A structure from a table, placed into the field's world.
    ArcadeStructure* Place(const std::string& table)
    {
        ArcadeStructure* s = MakeStructure(table);
        EXPECT_NE(nullptr, s) << table;
        return s ? root->Place(s) : nullptr;
    }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root};
    RecordingLogic logic;
};

// A structure that stands for another class in behaviour sets and stop classes.
class StandIn : public ArcadeStructure
{
public:
    explicit StandIn(const char* standsFor) : alias(standsFor) {}
    const char* GetBehaviourAlias() const override { return alias; }
    const char* alias;
};

// Counts completions of a motion.
struct Finishes
{
    int count = 0;
    static void Count(void* self) { ++static_cast<Finishes*>(self)->count; }
};

double CentreX(const ArcadeStructure* s)
{
    return s->GetGeom()->GetCenter().x;
}

} // namespace

TEST_F(StructureMotionTest, AMotionMovesTheStructureByItsStepsTickByTickInAnyKeyOrder)
{
    // The same structure with its keys written in opposite orders moves alike.
    const char* keys[] = {"rectangle = {20, 10}", "position = {100, 100}",
                          "motion = {class = 'MotionRelative', destination = {50, 0}, speed = 4}"};
    const std::string forward = std::string("{class = 'ArcadeStructure', ") + keys[0] + ", " +
                                keys[1] + ", " + keys[2] + "}";
    const std::string backward = std::string("{class = 'ArcadeStructure', ") + keys[2] + ", " +
                                 keys[1] + ", " + keys[0] + "}";
    ArcadeStructure* a = Place(forward);
    ArcadeStructure* b = Place(backward);
    ASSERT_NE(nullptr, a);
    ASSERT_NE(nullptr, b);
    b->SetCategoryBits(0);
    EXPECT_TRUE(a->IsMovable());
    ASSERT_NE(nullptr, a->GetMotion());
    EXPECT_TRUE(a->GetMotion()->IsRunning()) << "a motion starts when its structure is placed";
    Finishes finishes;
    a->GetMotion()->SetFinishedCallback(&Finishes::Count, &finishes);
    static int moves;
    moves = 0;
    a->AddMovedCallback([](ArcadeStructure*, void*) { ++moves; }, nullptr);

    // Each pass the world applies the step of the pass before: twelve steps of 4, then 2.
    for (int pass = 1; pass <= 16; ++pass) {
        passes.Step();
        const double expected = 110.0 + std::min(4.0 * (pass - 1), 50.0);
        ASSERT_NEAR(expected, CentreX(a), 1e-3) << "pass " << pass;
        EXPECT_NEAR(CentreX(a), CentreX(b), 1e-9) << "pass " << pass;
        EXPECT_EQ(std::lround(expected) - 10, a->GetX()) << "shown where it is, pass " << pass;
        EXPECT_NEAR(105.0, a->GetGeom()->GetCenter().y, 1e-9);
        EXPECT_EQ(pass < 13, a->GetMotion()->IsRunning()) << "pass " << pass;
    }
    EXPECT_EQ(1, finishes.count);
    EXPECT_EQ(13, moves) << "moved on every tick that gave a step";
    EXPECT_NEAR(0.0, a->GetPhysicsBody()->GetLinearVel().Length(), 1e-9);

    // Read back as its own table, then removed by nil without a table error.
    LuaPlus::LuaObject read;
    read.AssignNewTable(GetGlobalLuaState());
    a->RetrieveProperties(read);
    ASSERT_TRUE(read["motion"].IsTable());
    EXPECT_EQ("MotionRelative", read["motion"]["class"].ToString());
    EXPECT_TRUE(read["hitMotion"].IsNil());
    EXPECT_EQ("", bbtest::MessageOf([&] { a->ApplyProperty("motion", bbtest::EvalLua("nil")); }));
    EXPECT_EQ(nullptr, a->GetMotion());
    read.AssignNewTable(GetGlobalLuaState());
    a->RetrieveProperties(read);
    EXPECT_TRUE(read["motion"].IsNil());
    passes.Step(2);
    EXPECT_NEAR(160.0, CentreX(a), 1e-3);
}

TEST_F(StructureMotionTest, MotionKeysTakeTablesOfMotionsAndEmptyTablesRemove)
{
    ArcadeStructure* s = Place("{class = 'ArcadeStructure', circle = 5, "
                               "hitMotion = {class = 'MotionWait', duration = 3}}");
    ASSERT_NE(nullptr, s->GetHitMotion());
    EXPECT_FALSE(s->GetHitMotion()->IsRunning()) << "a hit motion waits for a hit";
    EXPECT_TRUE(s->IsMovable());
    EXPECT_NE(nullptr, s->GetPhysicsBody());

    EXPECT_EQ("ArcadeStructure: \"motion\" needs a motion table, not the number 5",
              bbtest::MessageOf([&] { s->ApplyProperty("motion", bbtest::EvalLua("5")); }));
    // A table of another kind than a motion is named and left out.
    bbtest::LogCapture log;
    s->ApplyProperty("hitMotion", bbtest::EvalLua("{class = 'ArcadeActor'}"));
    EXPECT_NE(std::string::npos,
              log.Text().find("hitMotion: a table of class \"ArcadeActor\" is no \"Motion\"; it is "
                              "left out"))
        << log.Text();
    EXPECT_NE(nullptr, s->GetHitMotion()) << "a refused table keeps the motion there was";

    // Set on a structure that has a body, a motion starts at once; a replacement takes over.
    s->ApplyProperty("motion", bbtest::EvalLua("{class = 'MotionRelative', destination = {9, 0}}"));
    ASSERT_NE(nullptr, s->GetMotion());
    EXPECT_TRUE(s->GetMotion()->IsRunning());
    s->ApplyProperty("motion", bbtest::EvalLua("{class = 'MotionRelative', destination = {0, 9}}"));
    LuaPlus::LuaObject read;
    read.AssignNewTable(GetGlobalLuaState());
    s->RetrieveProperties(read);
    EXPECT_EQ(9.0, read["motion"]["destination"]["y"].GetNumber());
    EXPECT_EQ("MotionWait", read["hitMotion"]["class"].ToString());

    s->ApplyProperty("hitMotion", bbtest::EvalLua("{}"));
    EXPECT_EQ(nullptr, s->GetHitMotion());
    s->ApplyProperty("motion", bbtest::EvalLua("{}"));
    EXPECT_EQ(nullptr, s->GetMotion());
}

TEST_F(StructureMotionTest, AStopMotionHaltsAtItsStopClassesAndPassesOthers)
{
    // Moving right at 5 pixels per tick: through a sensor at x 140, then into a wall that
    // stands for "DangerousWall" at x 200. A plain wall in the other lane does not stop it.
    const char* mover = "{class = 'ArcadeStructure', rectangle = {10, 10}, position = {95, %d}, "
                        "motion = {class = 'MotionStop', stopClasses = {'DangerousWall'}, "
                        "addMotionList = {{class = 'MotionRelative', destination = {300, 0}, "
                        "speed = 5}}}}";
    char table[512];
    std::snprintf(table, sizeof table, mover, 95);
    ArcadeStructure* stopped = Place(table);
    std::snprintf(table, sizeof table, mover, 295);
    ArcadeStructure* blocked = Place(table);
    EXPECT_EQ(128u, stopped->GetCollideBits()) << "the stop class's category";

    Collider* sensor = new Collider();
    sensor->SetRectangle(10, 400, false);
    sensor->SetPosition(145.0, 200.0);
    sensor->SetLifetime(1000);
    sensor->SetCategoryBits(128);
    sensor->SetCollisionCallback(
        [](ArcadeGameLogic*, Collider*, ArcadeStructure*, double, double, void*) {}, nullptr);
    root->AddChild(sensor, "");
    sensor->CreateInWorld(&root->world);
    StandIn* dangerous = new StandIn("DangerousWall");
    dangerous->SetRectangle(10, 100, false);
    dangerous->SetPosition(200, 50);
    root->Place(dangerous)->SetCategoryBits(128);
    StandIn* plain = new StandIn(nullptr);
    plain->SetRectangle(10, 100, false);
    plain->SetPosition(200, 250);
    root->Place(plain)->SetCategoryBits(128);

    static std::vector<const ArcadeStructure*> touched;
    touched.clear();
    auto record = [](ArcadeGameLogic*, ArcadeStructure* other, double, double, double, double,
                     double, void*) { touched.push_back(other); };
    stopped->AddHitCallback(record, nullptr);
    Finishes stops, plainStops;
    stopped->GetMotion()->SetFinishedCallback(&Finishes::Count, &stops);
    blocked->GetMotion()->SetFinishedCallback(&Finishes::Count, &plainStops);

    // Through the sensor: touched, not halted, not deflected.
    passes.StepUntil([&] { return CentreX(stopped) > 160; }, 20);
    ASSERT_NE(touched.end(), std::find(touched.begin(), touched.end(), sensor));
    EXPECT_TRUE(stopped->GetMotion()->IsRunning());
    EXPECT_NEAR(0.0, stopped->GetPhysicsBody()->GetLinearVel().y, 1e-9);

    // Into the dangerous wall: the motion completes once, in the tick of the contact.
    const int n = passes.StepUntil([&] { return stops.count > 0; }, 30);
    ASSERT_LT(n, 30) << "never stopped at the dangerous wall";
    EXPECT_EQ(1, stops.count);
    EXPECT_FALSE(stopped->GetMotion()->IsRunning());
    EXPECT_NE(touched.end(), std::find(touched.begin(), touched.end(), dangerous));
    passes.Step();
    const double haltedAt = CentreX(stopped);
    EXPECT_LE(haltedAt + 5.0, 200.0) << "left inside the wall";
    EXPECT_GT(haltedAt + 5.0, 199.0);
    // Only what the contact's separation leaves of the body's speed remains (156 before).
    passes.Step(5);
    EXPECT_LE(CentreX(stopped), haltedAt + 1e-6) << "moved on after the stop";
    EXPECT_LT(stopped->GetPhysicsBody()->GetLinearVel().Length(), 2.0);
    EXPECT_EQ(1, stops.count);

    // The plain wall held the other mover up without stopping its motion.
    EXPECT_EQ(0, plainStops.count);
    EXPECT_TRUE(blocked->GetMotion()->IsRunning());
    EXPECT_LE(CentreX(blocked) + 5.0, 200.5);
}

TEST_F(StructureMotionTest, AHitMotionStartsOnHitsOfTheClassesItMovesFor)
{
    ArcadeStructure* door = Place("{class = 'ArcadeStructure', rectangle = {20, 20}, "
                                  "position = {300, 100}, moveOnCollision = {'ActiveBall'}, "
                                  "hitMotion = {class = 'MotionRelative', destination = {0, 12}, "
                                  "speed = 3}}");
    StandIn idle(nullptr);
    StandIn active("ActiveBall");
    passes.Step(2);
    EXPECT_NEAR(110.0, door->GetGeom()->GetCenter().y, 1e-9) << "moved without a hit";
    door->HandleCollision(&logic, &idle, 0, 0, 0, 1, 0.1, true);
    EXPECT_FALSE(door->GetHitMotion()->IsRunning()) << "started by a class it does not name";
    door->HandleCollision(&logic, &active, 0, 0, 0, 1, 0.1, false);
    EXPECT_TRUE(door->GetHitMotion()->IsRunning()) << "a passing contact is a hit too";
    passes.Step(6);
    EXPECT_NEAR(122.0, door->GetGeom()->GetCenter().y, 1e-3);
    EXPECT_FALSE(door->GetHitMotion()->IsRunning());

    // With an empty moveOnCollision a real contact in the world starts it.
    ArcadeStructure* brick = Place("{class = 'ArcadeStructure', rectangle = {32, 16}, "
                                   "position = {100, 200}, immobileCollisions = true, "
                                   "hitMotion = {class = 'MotionRelative', destination = {-20, "
                                   "0}, speed = 4}}");
    brick->SetCategoryBits(2);
    ArcadeStructure* ball = MakeBallLike(116, 240, 8);
    ball->SetCategoryBits(1);
    ball->SetCollideBits(2);
    root->Place(ball)->GetPhysicsBody()->SetLinearVel(0, -300);
    const int n = passes.StepUntil([&] { return brick->GetHitMotion()->IsRunning(); }, 10);
    ASSERT_LT(n, 10) << "the contact did not start the hit motion";
    passes.Step(8);
    EXPECT_NEAR(96.0, brick->GetGeom()->GetCenter().x, 1e-3);
    EXPECT_NEAR(208.0, brick->GetGeom()->GetCenter().y, 1e-3) << "pushed by the ball";
    EXPECT_GT(ball->GetPhysicsBody()->GetLinearVel().y, 0.0) << "the ball bounced off";
}

TEST_F(StructureMotionTest, OnlyTheChangeOfTheMotionsVelocityReachesTheBody)
{
    ArcadeStructure* s = Place("{class = 'ArcadeStructure', circle = 5, position = {100, 100}, "
                               "motion = {class = 'MotionRelative', destination = {100, 0}, "
                               "speed = 2, infinite = true}}");
    passes.Step(3);
    EXPECT_NEAR(62.5, s->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    EXPECT_DOUBLE_EQ(62.5, s->GetMotionVelocity().x);
    // What a collision gives the body stays beside the motion's part.
    s->GetPhysicsBody()->SetLinearVel(62.5, 40);
    passes.Step(3);
    EXPECT_NEAR(62.5, s->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    EXPECT_NEAR(40.0, s->GetPhysicsBody()->GetLinearVel().y, 1e-9);
    // A rebuilt geometry keeps the velocity, so the motion's part is not given twice.
    s->ApplyProperty("bounciness", bbtest::EvalLua("'BounceAlways'"));
    passes.Step();
    EXPECT_NEAR(62.5, s->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    // Removing the motion takes its part away and leaves the rest.
    s->ApplyProperty("motion", bbtest::EvalLua("{}"));
    passes.Step();
    EXPECT_NEAR(0.0, s->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    EXPECT_NEAR(40.0, s->GetPhysicsBody()->GetLinearVel().y, 1e-9);
    EXPECT_EQ(0.0, s->GetMotionVelocity().x);
}

TEST_F(StructureMotionTest, TurnsAddToTheRotationAndStopMotionsLetGoWhenReplaced)
{
    ArcadeStructure* s = Place("{class = 'ArcadeStructure', rectangle = {20, 10}, "
                               "position = {100, 100}, rotation = 10, motion = {class = "
                               "'MotionStop', stopClasses = {'Wall'}, addMotionList = {{class "
                               "= 'MotionRotate', angle = 30, speed = 10}}}}");
    EXPECT_EQ(1u, s->GetHitCallbackCount()) << "the stop motion hears the contacts";
    passes.Step(5);
    EXPECT_NEAR(40.0, s->GetRotation(), 1e-4);
    EXPECT_NEAR(110.0, s->GetGeom()->GetCenter().x, 1e-9) << "a turn moves nothing";
    // A replaced stop motion takes its hook out; so does one deleted with the structure.
    s->ApplyProperty("motion", bbtest::EvalLua("{class = 'MotionStop', stopClasses = {'Ball'}}"));
    EXPECT_EQ(1u, s->GetHitCallbackCount());
    s->ApplyProperty("hitMotion", bbtest::EvalLua("{class = 'MotionStop'}"));
    EXPECT_EQ(2u, s->GetHitCallbackCount());
    s->ApplyProperty("hitMotion", bbtest::EvalLua("nil"));
    EXPECT_EQ(1u, s->GetHitCallbackCount());
    EXPECT_EQ(129u, s->GetCollideBits()) << "the categories of both stop motions stay";
}

TEST_F(StructureMotionTest, AMotionMayReplaceItselfAndCheckTheLevelAsItEnds)
{
    // When its child ends the motion sets its own key to an empty table: it is removed
    // while it runs, and the level is checked where the structure stands.
    gLogic = &logic;
    ArcadeStructure* s = Place("{class = 'ArcadeStructure', rectangle = {10, 10}, "
                               "position = {45, 45}, motion = {class = 'MotionProperties', "
                               "stopProperties = {motion = {}}, addMotionList = {{class = "
                               "'MotionRelative', destination = {8, 0}, speed = 4}}}}");
    passes.Step();
    EXPECT_NE(nullptr, s->GetMotion());
    passes.Step();
    EXPECT_EQ(nullptr, s->GetMotion()) << "still there after its last step";
    ASSERT_EQ(1u, logic.checks.size());
    EXPECT_NEAR(54.0, logic.checks[0].first, 1e-3);
    EXPECT_NEAR(50.0, logic.checks[0].second, 1e-3);
    passes.Step(2);
    EXPECT_NEAR(58.0, CentreX(s), 1e-3);
    EXPECT_NEAR(0.0, s->GetPhysicsBody()->GetLinearVel().Length(), 1e-9);
}

TEST_F(StructureMotionTest, FieldTargetsAreTheRunningGamesStructuresWithGeometries)
{
    ArcadeStructure* hub = MakeBox(10, 10, 4, 4);
    hub->ApplyProperty("name", bbtest::EvalLua("'hub'"));
    root->AddChild(hub, "");
    ArcadeStructure* s = Place("{class = 'ArcadeStructure', circle = 3}");
    Actor* label = new Actor();
    label->ApplyProperty("name", bbtest::EvalLua("'label'"));
    root->AddChild(label, "");
    EXPECT_EQ(nullptr, s->FindFieldTarget("hub")) << "no game runs";
    gLogic = &logic;
    EXPECT_EQ(nullptr, s->FindFieldTarget("hub")) << "not yet in the world";
    hub->UpdatePhysics(&root->world);
    EXPECT_EQ(static_cast<MotionTarget*>(hub), s->FindFieldTarget("hub"));
    EXPECT_EQ(nullptr, s->FindFieldTarget("label"));
    EXPECT_EQ(nullptr, s->FindFieldTarget("nobody"));
    EXPECT_EQ("ArcadeStructure", s->GetStopClassName());
    EXPECT_EQ("", s->GetStopClassAlias());
    EXPECT_EQ("DangerousWall", StandIn("DangerousWall").GetStopClassAlias());
}
