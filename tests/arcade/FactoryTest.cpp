// Factories on a structure of the field: when time, hits, destruction and places fire
// them, what they create and where, how delays queue, how the modes pick creations, and
// the limit on live objects they made.
#include "FieldScene.h"

#include "core/Random.h"
#include "core/State.h"
#include "field/Factory.h"
#include "field/Powerup.h"
#include "physics/PhysicsGeom.h"
#include "scene/ActorLink.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"
#include "support/engine/LogCapture.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace fieldtest;

namespace {

class FactoryTest : public FieldTest
{
protected:
    FactoryTest() { MakoSrand(7); }

    // A 32 x 16 box centred on (cx, cy) with the factory table given.
    ArcadeStructure* Target(const std::string& factory, int cx = 320, int cy = 200,
                            bool movable = false)
    {
        ArcadeStructure* s =
            MakeStructure("{class = 'ArcadeStructure', rectangle = {32, 16}, position = {" +
                          std::to_string(cx - 16) + ", " + std::to_string(cy - 8) +
                          "}, factories = {" + factory + "}}");
        s->SetMovable(movable);
        return root->Place(s);
    }

    Factory* FactoryOf(ArcadeStructure* s) { return s->GetFactories().at(0).get(); }

    static Vector2D Centre(const ArcadeStructure* s)
    {
        const auto p = s->GetGeom()->GetPosition();
        return Vector2D(p[0], p[1]);
    }

    // The passes (counted from 1) on which the field gained created objects.
    std::vector<int> CreationPasses(int passCount)
    {
        std::vector<int> at;
        std::size_t seen = logic.extras.GetMembers().size();
        for (int pass = 1; pass <= passCount; ++pass) {
            passes.Step();
            if (logic.extras.GetMembers().size() != seen)
                at.push_back(pass);
            seen = logic.extras.GetMembers().size();
        }
        return at;
    }

    static const char* Box()
    {
        return "{objectSpec = {class = 'ArcadeStructure', rectangle = {8, 8}}}";
    }
};

} // namespace

TEST_F(FactoryTest, TimedFactoryMakesTwoCoinsThenEndsItsTarget)
{
    ArcadeStructure* target =
        Target("{class = 'Factory', timeTriggers = {{duration = 1.0}}, creations = {{objectSpec = "
               "{class = 'BlingCoin'}}}, numCreations = 2, destroyOnLastCreate = true}");
    ActorLink<ArcadeStructure> alive;
    alive.Set(target);
    EXPECT_EQ((std::vector<int>{32, 63}), CreationPasses(70));
    EXPECT_EQ(2, sounds.Count("cash-heal.ogg"));
    for (Actor* made : logic.extras.GetMembers())
        EXPECT_NE(nullptr, dynamic_cast<Powerup*>(made));
    EXPECT_EQ(nullptr, alive.Get()) << "the target lives on";
    EXPECT_FALSE(logic.checks.empty()) << "the end of the level is not checked";
}

TEST_F(FactoryTest, TimeTriggersCarryTheOvershootAndStopWithTheirRepetitions)
{
    Target("{class = 'Factory', timeTriggers = {{duration = 0.1, repetitions = 3}}, "
           "creations = {" +
           std::string(Box()) + "}}");
    // 0.1 s is 3.125 ticks: 4, 7, 10 (each overshoot carries over), then no more.
    EXPECT_EQ((std::vector<int>{4, 7, 10}), CreationPasses(30));
}

TEST_F(FactoryTest, ChanceOfOneAlwaysPassesAndZeroNeverDoes)
{
    ArcadeStructure* sure = Target("{class = 'Factory', timeTriggers = {{duration = 0.0, "
                                   "chance = 1.0}}, creations = {" +
                                   std::string(Box()) + "}}");
    passes.Step(200);
    EXPECT_EQ(200u, logic.extras.GetMembers().size());
    logic.extras.KillAll();
    sure->Kill();
    Target("{class = 'Factory', timeTriggers = {{duration = 0.0, chance = 0.0}}, creations = {" +
           std::string(Box()) + "}}");
    passes.Step(50);
    EXPECT_TRUE(logic.extras.GetMembers().empty());
}

TEST_F(FactoryTest, CreationsSitAtTheTargetWithTheirOffsetAndStayInsideTheWalls)
{
    Target("{class = 'Factory', timeTriggers = {{duration = 0.0, repetitions = 1}}, creations = "
           "{{objectSpec = {class = 'ArcadeStructure', rectangle = {10, 10}, position = {20, -4}}},"
           " {objectSpec = {class = 'ArcadeStructure', rectangle = {40, 40}, position = {-400, "
           "0}}}}}");
    passes.Step();
    const auto& made = logic.extras.GetMembers();
    ASSERT_EQ(2u, made.size());
    const ArcadeStructure* near = static_cast<ArcadeStructure*>(made.front());
    EXPECT_NEAR(340.0, Centre(near).x, 1e-6);
    EXPECT_NEAR(196.0, Centre(near).y, 1e-6);
    const ArcadeStructure* far = static_cast<ArcadeStructure*>(made.back());
    EXPECT_EQ(16, far->GetX()) << "not moved inside the left wall";
}

TEST_F(FactoryTest, SequentialRandomAndEmptyModes)
{
    ArcadeStructure* seq =
        Target("{class = 'Factory', simultaneous = false, timeTriggers = {{duration = 0.0}}, "
               "creations = {{objectSpec = {class = 'ArcadeStructure', rectangle = {2, 2}}}, "
               "{objectSpec = {class = 'ArcadeStructure', rectangle = {4, 4}}}, "
               "{objectSpec = {class = 'ArcadeStructure', rectangle = {6, 6}}}}}");
    passes.Step(5);
    std::vector<int> widths;
    for (Actor* a : logic.extras.GetMembers())
        widths.push_back(a->GetWidth());
    EXPECT_EQ((std::vector<int>{2, 4, 6, 2, 4}), widths);
    seq->Kill();
    logic.extras.KillAll();

    // Random and sequential firings with nothing to choose create nothing, and count down.
    for (const char* mode : {"random = true", "random = false"}) {
        ArcadeStructure* empty =
            Target(std::string("{class = 'Factory', simultaneous = false, ") + mode +
                   ", numCreations = 3, timeTriggers = {{duration = 0.0}}, creations = {}}");
        passes.Step(5);
        EXPECT_TRUE(logic.extras.GetMembers().empty()) << mode;
        EXPECT_EQ(0, FactoryOf(empty)->GetNumCreations()) << mode;
        empty->Kill();
    }
}

TEST_F(FactoryTest, DelayedFiringsQueueOnePerDelayPeriod)
{
    ArcadeStructure* target =
        Target("{class = 'Factory', creationDelay = 10, creations = {" + std::string(Box()) + "}}");
    Factory* factory = FactoryOf(target);
    const Vector2D none;
    factory->Trigger(none, none, Centre(target), &logic);
    passes.Step(3);
    factory->Trigger(none, none, Centre(target), &logic);
    EXPECT_EQ(2u, factory->GetPendingCount());
    EXPECT_TRUE(logic.extras.GetMembers().empty()) << "a firing during the delay made at once";
    // The first at 320 ms, the queued one a delay period after it.
    EXPECT_EQ((std::vector<int>{7, 17}), CreationPasses(30));
    EXPECT_EQ(0u, factory->GetPendingCount());
}

TEST_F(FactoryTest, HitTriggersWatchSidesClassesRearmAndRepetitions)
{
    ArcadeStructure* target = Target("{class = 'Factory', hitTriggers = {{edges = 1, "
                                     "hittableClasses = {'ActiveBall'}, repetitions = 3}}, "
                                     "creations = {" +
                                     std::string(Box()) + "}}");
    Ball* ball = new Ball(320, 150, 0, 0, true);
    logic.AddBall(ball);
    const std::size_t before = logic.extras.GetMembers().size();
    auto hitTop = [&] { target->HandleCollision(&logic, ball, 320, 192, 0, -1, 0, true); };
    // Bit 1 is the top side of an unturned rectangle (the contact's side bits).
    const int top = target->WhichSides(320, 192);
    ASSERT_NE(0, top & 1) << "side numbering changed";
    hitTop();
    hitTop();
    EXPECT_EQ(before + 1, logic.extras.GetMembers().size()) << "the same ball fired twice at once";
    passes.Step(2); // the 40 ms re-arm
    hitTop();
    EXPECT_EQ(before + 2, logic.extras.GetMembers().size());
    target->HandleCollision(&logic, ball, 300, 200, -1, 0, 0, true); // the left side
    passes.Step(2);
    EXPECT_EQ(before + 2, logic.extras.GetMembers().size()) << "fired for another side";
    ball->SetActive(false);
    passes.Step(2);
    hitTop();
    EXPECT_EQ(before + 2, logic.extras.GetMembers().size()) << "fired for an inactive ball";
    EXPECT_EQ(1, FactoryOf(target)->GetHitTriggers()[0].repetitions);
}

TEST_F(FactoryTest, DestroyTriggersFireOnlyWhileALevelIsPlayed)
{
    const std::string table =
        "{class = 'Factory', destroyTriggers = {{}}, creations = {" + std::string(Box()) + "}}";
    logic.AddState(new NamedState("LoadingLevel"));
    logic.SetState("LoadingLevel");
    Target(table)->Kill();
    EXPECT_TRUE(logic.extras.GetMembers().empty()) << "fired while no level is played";
    logic.SetState("Playing");
    Target(table)->Kill();
    EXPECT_EQ(1u, logic.extras.GetMembers().size());
}

TEST_F(FactoryTest, LocationTriggersFireOncePerEntry)
{
    // The area: 20 pixels around x = 400, any height near y = 200; the target starts inside.
    ArcadeStructure* target = Target("{class = 'Factory', locationTriggers = {{center = {400, "
                                     "200}, locationVariance = {0, 50}, distance = 20}}, "
                                     "creations = {" +
                                         std::string(Box()) + "}}",
                                     400, 200, true);
    auto moveTo = [&](double x) {
        target->GetPhysicsBody()->SetPosition(x, 200);
        Factory::FactoryMovedCallback(target, FactoryOf(target));
    };
    moveTo(410);
    EXPECT_TRUE(logic.extras.GetMembers().empty()) << "a target that starts inside fired";
    moveTo(300);
    moveTo(415);
    moveTo(419);
    EXPECT_EQ(1u, logic.extras.GetMembers().size());
    moveTo(500);
    moveTo(385);
    EXPECT_EQ(2u, logic.extras.GetMembers().size());
}

TEST_F(FactoryTest, TriggerVelocityIsCappedTurnedAndTranslatesTheObject)
{
    ArcadeStructure* target = Target(
        "{class = 'Factory', creations = {{objectSpec = {class = 'ArcadeStructure', circle = 4, "
        "motion = {class = 'MotionWait', duration = 100}}, useTriggerVelocity = true, "
        "triggerVelocityLimit = 300, triggerAngleOffset = 90, translateAlongVelocity = 20}}}");
    const Vector2D at = Centre(target);
    FactoryOf(target)->Trigger(Vector2D(), Vector2D(900, 0), at, &logic);
    ASSERT_EQ(1u, logic.extras.GetMembers().size());
    const ArcadeStructure* made = static_cast<ArcadeStructure*>(logic.extras.GetMembers().front());
    const Vector2D v = made->GetPhysicsBody()->GetLinearVel();
    EXPECT_NEAR(0.0, v.x, 1e-6);
    EXPECT_NEAR(300.0, v.y, 1e-6);
    EXPECT_NEAR(at.y + 20.0, Centre(made).y, 1e-6);
}

TEST_F(FactoryTest, LiveObjectsMadeByFactoriesAreCapped)
{
    const int limit = Factory::ObjectLimit();
    ASSERT_GT(limit, 0);
    ArcadeStructure* target = Target("{class = 'Factory', timeTriggers = {{duration = 0.0}}, "
                                     "creations = {{objectSpec = {class = 'ArcadeStructure', "
                                     "rectangle = {4, 4}}, numberCreated = 7}}}");
    passes.Step(limit / 7 + 3);
    EXPECT_EQ(std::size_t(limit), logic.extras.GetMembers().size());
    EXPECT_EQ(limit, Factory::LiveObjectCount());
    // Once some are gone, the factory makes objects again.
    logic.extras.GetMembers().front()->Kill();
    passes.Step();
    EXPECT_EQ(limit, Factory::LiveObjectCount());
    target->Kill();
    logic.extras.KillAll();
    EXPECT_EQ(0, Factory::LiveObjectCount());
}

// What a creation would make is checked as the factory is set up: a table of a class
// that is no structure (or no table) leaves the creation out, named, and nothing is made.
TEST_F(FactoryTest, ObjectsThatAreNotStructuresAreRefused)
{
    bbtest::LogCapture log;
    ArcadeStructure* target = Target("{class = 'Factory', creations = {{objectSpec = {class = "
                                     "'Factory'}}, {objectSpec = 5}}}");
    EXPECT_TRUE(FactoryOf(target)->GetCreations().empty());
    EXPECT_EQ("", bbtest::MessageOf([&] {
                  FactoryOf(target)->Trigger(Vector2D(), Vector2D(), Centre(target), &logic);
              }));
    EXPECT_TRUE(logic.extras.GetMembers().empty());
    for (const char* line : {"creations[1].objectSpec: a table of class \"Factory\" is no "
                             "\"ArcadeStructure\"; it is left out",
                             "creations[2].objectSpec: the number 5 is no \"ArcadeStructure\""})
        EXPECT_NE(std::string::npos, log.Text().find(line)) << line << "\n" << log.Text();
}

TEST_F(FactoryTest, PropertiesReadBackUnderTheKeysTheyAreSetBy)
{
    ArcadeStructure* target = Target(
        "{class = 'Factory', factoryAnimation = 'pulse', creationDelay = 4, numCreations = 3, "
        "timeTriggers = {{duration = 2, chance = 'often'}}, creations = {" +
        std::string(Box()) + "}}");
    Factory* factory = FactoryOf(target);
    // A key of the wrong type keeps its default.
    EXPECT_EQ(1.0, factory->GetTimeTriggers().at(0).chance);
    EXPECT_EQ(2.0, factory->GetTimeTriggers().at(0).remaining);
    LuaPlus::LuaObject table = bbtest::EvalLua("{}");
    factory->RetrieveProperties(table);
    EXPECT_EQ("pulse", std::string(table["factoryAnimation"].GetString()));
    EXPECT_EQ(4, table["creationDelay"].GetInteger());
    EXPECT_EQ(3, table["numCreations"].GetInteger());
    EXPECT_EQ(2.0, table["timeTriggers"][1]["duration"].GetNumber());
}
