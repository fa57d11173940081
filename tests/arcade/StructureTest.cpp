// Structures on their own: made from Lua tables, their behaviour sets on hits, killing,
// edge queries and outlines, and the stereo pan of play-field sounds.
#include "FieldScene.h"

#include "core/Exception.h"
#include "field/ArcadeActor.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsGeom.h"
#include "support/MessageOf.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace fieldtest;

namespace {

class StructureTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::PrepareEngine(); }

    // A structure from a table; fails the test when none is made.
    ArcadeStructure* Make(const std::string& table)
    {
        ArcadeStructure* s = MakeStructure(table);
        EXPECT_NE(nullptr, s) << table;
        return s;
    }
    // A structure that stays a child of the field (deleted with it or when killed).
    ArcadeStructure* Own(ArcadeStructure* s)
    {
        root->AddChild(s, "");
        return s;
    }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root};
    RecordingLogic logic;

    ~StructureTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }
};

// Counts how often it is destroyed or damaged by a structure.
class Target : public ArcadeStructure
{
public:
    void DamagedBy(ArcadeStructure* cause, ArcadeGameLogic* l, double x, double y) override
    {
        ++damaged;
    }
    const char* GetBehaviourAlias() const override { return alias; }
    int damaged = 0;
    const char* alias = nullptr;
};

void Hit(ArcadeStructure* a, ArcadeStructure* b, ArcadeGameLogic* logic)
{
    a->HandleCollision(logic, b, 5.0, 6.0, 0.0, 1.0, 0.5, true);
    b->HandleCollision(logic, a, 5.0, 6.0, 0.0, -1.0, 0.5, true);
}

} // namespace

TEST_F(StructureTest, TablesBuildShapesCollideBitsAndMovability)
{
    ArcadeStructure* brick = Own(Make("{class = 'ArcadeStructure', rectangle = {32, 16}, "
                                      "position = {100, 50}, dieOnCollision = {'Goober'}, "
                                      "takeDamageOnCollision = {'DangerousWall', 'Paddle'}, "
                                      "bounciness = 'BounceNormal', neverSoft = true}"));
    EXPECT_EQ(STRUCTURE_SHAPE_RECTANGLE, brick->GetShape());
    EXPECT_EQ("Rectangle", brick->GetShapeName());
    EXPECT_EQ(32, brick->GetWidth());
    EXPECT_EQ(16, brick->GetHeight());
    EXPECT_EQ(8.0, brick->GetRadius());
    EXPECT_EQ(PhysicsGeom::BounceDont, brick->GetBounciness());
    brick->UpdatePhysics(&root->world);
    EXPECT_EQ(8u | 128u | 16u, brick->GetCollideBits());
    EXPECT_TRUE(brick->IsMovable()) << "DangerousWall makes it movable";
    ASSERT_NE(nullptr, brick->GetGeom());
    EXPECT_NE(nullptr, brick->GetPhysicsBody());
    EXPECT_EQ(116.0, brick->GetGeom()->GetCenter().x);
    EXPECT_EQ(58.0, brick->GetGeom()->GetCenter().y);
    EXPECT_TRUE(brick->GetGeom()->GetNeverSoft());
    EXPECT_EQ(PhysicsGeom::BounceDont, brick->GetGeom()->GetBounciness());

    struct Case
    {
        const char* table;
        unsigned collide;
        bool movable;
    };
    const Case cases[] = {
        {"{class = 'ArcadeStructure', circle = 8, destroyOnCollision = {'Paddle'}}", 16, true},
        {"{class = 'ArcadeStructure', circle = 8, dieOnCollision = {'Paddle'}}", 16, false},
        {"{class = 'ArcadeStructure', circle = 8, dieOnCollision = {'Shield'}}", 64, true},
        {"{class = 'ArcadeStructure', circle = 8, destroyOnCollision = {'Shield'}}", 64, false},
        {"{class = 'ArcadeStructure', circle = 8, damageOnCollision = {'Ball', 'Explosion'}}", 257,
         false},
        {"{class = 'ArcadeStructure', circle = 8, moveOnCollision = {'Brick'}, "
         "soundOnCollision = {'Wall'}, dieOnCollision = {'Nobody'}}",
         0, false},
    };
    for (const Case& c : cases) {
        ArcadeStructure* s = Own(Make(c.table));
        s->SetPosition(200, 200);
        s->UpdatePhysics(&root->world);
        EXPECT_EQ(c.collide, s->GetCollideBits()) << c.table;
        EXPECT_EQ(c.movable, s->IsMovable()) << c.table;
        EXPECT_EQ(c.movable, s->GetPhysicsBody() != nullptr) << c.table;
        EXPECT_EQ(STRUCTURE_SHAPE_CIRCLE, s->GetShape());
        EXPECT_EQ(16, s->GetWidth());
    }

    // Colliders and plain arcade actors are made by class name too.
    ArcadeStructure* sensor = Own(Make("{class = 'Collider', circle = 12}"));
    EXPECT_EQ("Collider", sensor->GetClass()->GetName());
    EXPECT_TRUE(sensor->IsMovable());
    EXPECT_EQ(0u, sensor->GetCollideBits() | sensor->GetCategoryBits());
    EXPECT_TRUE(brick->AcceptsCollision(sensor, 0, 0)) << "sensors pass through structures";
    std::unique_ptr<Object> actor(ClassManager::GetInstance()->InstantiateObject(
        bbtest::EvalLua("{class = 'ArcadeActor', position = {3, 4}}")));
    ASSERT_NE(nullptr, dynamic_cast<ArcadeActor*>(actor.get()));
    EXPECT_EQ(3, static_cast<ArcadeActor*>(actor.get())->GetX());

    // A polygon: its bounding box gives the sizes; it reads back as it was given.
    ArcadeStructure* hex = Own(Make("{class = 'ArcadeStructure', commonName = 'Hexagon', "
                                    "polygon = {{8, 0}, {24, 0}, {32, 14}, {24, 28}, {8, 28}, "
                                    "{0, 14}}, rotation = 30}"));
    EXPECT_EQ(STRUCTURE_SHAPE_TRIMESH, hex->GetShape());
    EXPECT_EQ("Hexagon", hex->GetShapeName());
    EXPECT_EQ(6, hex->GetNumEdges());
    EXPECT_EQ(16.0, hex->GetRadius());
    EXPECT_EQ(30.0, hex->GetRotation());
    LuaPlus::LuaObject read;
    read.AssignNewTable(GetGlobalLuaState());
    hex->RetrieveProperties(read);
    EXPECT_EQ(6, read["polygon"].GetCount());
    EXPECT_EQ("BounceNeutral", read["bounciness"].ToString());
    EXPECT_EQ(30.0, read["rotation"].GetNumber());
}

TEST_F(StructureTest, BadTablesFailWithTheirMessages)
{
    EXPECT_EQ("ArcadeStructure: \"dieOnCollision\" needs a table of class names, not the number 5",
              bbtest::MessageOf(
                  [] { MakeStructure("{class = 'ArcadeStructure', dieOnCollision = 5}"); }));
    EXPECT_EQ("ArcadeStructure: \"soundOnCollision\" needs a table of class names, not the string "
              "\"Ball\"",
              bbtest::MessageOf(
                  [] { MakeStructure("{class = 'ArcadeStructure', soundOnCollision = 'Ball'}"); }));
    EXPECT_EQ("ArcadeStructure has a shape that cannot be scaled.", bbtest::MessageOf([] {
                  MakeStructure("{class = 'ArcadeStructure', polyScale = 2}");
              }));
    std::unique_ptr<ArcadeStructure> s(new ArcadeStructure());
    EXPECT_EQ(
        "ArcadeStructure: \"moveOnCollision\" needs a table of class names, not nil",
        bbtest::MessageOf([&] { s->ApplyProperty("moveOnCollision", bbtest::EvalLua("nil")); }));
    EXPECT_EQ("ArcadeStructure has no edge 0.",
              bbtest::MessageOf([&] { s->NormalAtEdge(1, 0, 0); }));
}

// A shape the physics cannot make (a size that is not a finite number above 0 and at most
// MAX_SHAPE_SIZE, a polygon of fewer than three corners or a corner out of that range) is
// refused with the key, so the structure is never put into a world with it.
TEST_F(StructureTest, ShapesThePhysicsCannotMakeAreRefusedNamingTheKey)
{
    for (const char* table :
         {"{class = 'ArcadeStructure', circle = 0}", "{class = 'ArcadeStructure', circle = -1}",
          "{class = 'ArcadeStructure', circle = 0/0}", "{class = 'ArcadeStructure', circle = 1e308}",
          "{class = 'ArcadeStructure', rectangle = {0, 8}}",
          "{class = 'ArcadeStructure', rectangle = {8, 1/0}}",
          "{class = 'ArcadeStructure', rectangle = {8, -2^31}}",
          "{class = 'ArcadeStructure', polygon = {}}",
          "{class = 'ArcadeStructure', polygon = {{0, 0}, {1, 1}}}",
          "{class = 'ArcadeStructure', polygon = {{0, 0}, {1, 1}, {0/0, 2}}}",
          "{class = 'ArcadeStructure', polygon = {{0, 0}, {1, 1}, {2^31, 2}}}"}) {
        const std::string message = bbtest::MessageOf([&] { MakeStructure(table); });
        EXPECT_NE(std::string::npos, message.find("a shape the physics can make")) << table << "\n"
                                                                                 << message;
    }
    std::unique_ptr<ArcadeStructure> s(Make("{class = 'ArcadeStructure', circle = 0.5}"));
    EXPECT_EQ(STRUCTURE_SHAPE_CIRCLE, s->GetShape());
}

// A turn is kept within one whole turn either way, so any number of degrees stands for the
// same angle and every whole-degree step of it fits an int; NaN and the infinities turn not
// at all.
TEST_F(StructureTest, ATurnIsKeptWithinOneWholeTurn)
{
    std::unique_ptr<ArcadeStructure> s(Make("{class = 'ArcadeStructure', rectangle = {8, 8}}"));
    const struct
    {
        const char* value;
        double degrees;
    } cases[] = {{"30", 30},       {"390", 30},  {"-390", -30}, {"2^31", 128},
                 {"-2^31", -128}, {"1e308", 296}, {"0/0", 0},    {"1/0", 0}};
    for (const auto& c : cases) {
        s->ApplyProperties(bbtest::EvalLua(std::string("{rotation = ") + c.value + "}"));
        EXPECT_NEAR(c.degrees, s->GetRotation(), 1e-6) << c.value;
    }
}

TEST_F(StructureTest, ShapesAndTheirScaleApplyAlikeInEitherKeyOrder)
{
    // The same keys inserted in both orders: the scale always acts on the shape.
    struct Case
    {
        const char* shapeKey;
        const char* shapeValue;
        int width, height;
    };
    const Case cases[] = {{"rectangle", "{32, 16}", 64, 32},
                          {"circle", "8", 32, 32},
                          {"polygon", "{{0, 0}, {20, 0}, {10, 10}}", 40, 20}};
    for (const Case& c : cases) {
        for (bool scaleFirst : {true, false}) {
            std::string table = "(function() local t = {class = 'ArcadeStructure'} ";
            const std::string shape = std::string("t.") + c.shapeKey + " = " + c.shapeValue + " ";
            const std::string scale = "t.polyScale = 2 ";
            table += scaleFirst ? scale + shape : shape + scale;
            table += "return t end)()";
            std::unique_ptr<ArcadeStructure> s(Make(table));
            ASSERT_NE(nullptr, s) << table;
            EXPECT_EQ(c.width, s->GetWidth()) << table;
            EXPECT_EQ(c.height, s->GetHeight()) << table;
        }
    }
    // A scale of exactly 1 leaves every shape alone; bounciness names.
    std::unique_ptr<ArcadeStructure> s(Make(
        "{class = 'ArcadeStructure', circle = 5, polyScale = 1, bounciness = 'BounceAlways'}"));
    EXPECT_EQ(10, s->GetWidth());
    EXPECT_EQ(PhysicsGeom::BounceAlways, s->GetBounciness());
}

TEST_F(StructureTest, BehaviourSetsKillDamageAndDestroyWhomTheyName)
{
    // die: the structure itself is killed once, however many contacts it has.
    ArcadeStructure* victim = Own(Make("{class = 'ArcadeStructure', circle = 8, "
                                       "dieOnCollision = {'ArcadeStructure'}}"));
    victim->SetPosition(100, 100);
    victim->UpdatePhysics(&root->world);
    static int destroyedCalls;
    destroyedCalls = 0;
    victim->AddDestroyedCallback([](ArcadeGameLogic*, ArcadeStructure* other, double, double,
                                    double, double, double, void*) { ++destroyedCalls; },
                                 nullptr);
    Target* other = new Target();
    other->SetCircle(4);
    Own(other);
    Hit(victim, other, &logic);
    Hit(victim, other, &logic); // a second contact in the same sub-step
    EXPECT_TRUE(victim->IsDead());
    EXPECT_FALSE(victim->GetGeom()->IsEnabled());
    EXPECT_EQ(1, destroyedCalls) << "destroyed callbacks ran again for a dead structure";
    EXPECT_FALSE(logic.checks.empty());
    EXPECT_EQ(5.0, logic.checks[0].first);
    EXPECT_FALSE(other->IsDead());

    // damage: applied twice, the set still damages once per hit; the alias is matched.
    ArcadeStructure* hammer = Own(Make("{class = 'ArcadeStructure', circle = 8, "
                                       "damageOnCollision = {'Brick'}}"));
    hammer->ApplyProperty("damageOnCollision", bbtest::EvalLua("{'ActiveBall'}"));
    EXPECT_EQ(1u, hammer->GetHitCallbackCount());
    Target* ball = new Target();
    Own(ball);
    Hit(hammer, ball, &logic);
    EXPECT_EQ(0, ball->damaged) << "the set was replaced: 'Brick' is gone";
    ball->alias = "ActiveBall";
    Hit(hammer, ball, &logic);
    EXPECT_EQ(1, ball->damaged);

    // destroy: other structures are killed and the level checked; the dead are left alone.
    ArcadeStructure* crusher = Own(Make("{class = 'ArcadeStructure', rectangle = {10, 10}, "
                                        "destroyOnCollision = {'ArcadeStructure'}}"));
    ArcadeStructure* crushed = Own(new ArcadeStructure());
    crushed->SetCircle(3);
    static int crushedCalls;
    crushedCalls = 0;
    crushed->AddDestroyedCallback([](ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                     double, double, void*) { ++crushedCalls; },
                                  nullptr);
    const std::size_t checksBefore = logic.checks.size();
    Hit(crusher, crushed, &logic);
    Hit(crusher, crushed, &logic);
    EXPECT_TRUE(crushed->IsDead());
    EXPECT_FALSE(crusher->IsDead());
    EXPECT_EQ(1, crushedCalls);
    EXPECT_EQ(checksBefore + 1, logic.checks.size());

    // takeDamage with an empty set reacts to nobody.
    ArcadeStructure* calm = Own(Make("{class = 'ArcadeStructure', circle = 8, "
                                     "takeDamageOnCollision = {}}"));
    Hit(calm, ball, &logic);
    EXPECT_FALSE(calm->IsDead());
}

TEST_F(StructureTest, EdgeQueriesAnswerInThePlayFieldsFrame)
{
    ArcadeStructure* box = Own(MakeBox(100, 100, 40, 20));
    box->UpdatePhysics(&root->world);
    // Sides and corners of an unturned rectangle.
    EXPECT_EQ(EdgeMask(1 | 2), box->WhichSides(140, 100)) << "top-right corner";
    EXPECT_EQ(EdgeMask(4 | 8), box->WhichSides(100, 120)) << "bottom-left corner";
    EXPECT_EQ(EdgeMask(4), box->WhichSides(120, 120.5));
    EXPECT_EQ(EdgeMask(0), box->WhichSides(120, 110));
    EXPECT_DOUBLE_EQ(100.0, box->GetMinXAtY(110));
    EXPECT_DOUBLE_EQ(140.0, box->GetMaxXAtY(110));
    EXPECT_DOUBLE_EQ(100.0, box->GetMinYAtX(130));
    EXPECT_DOUBLE_EQ(120.0, box->GetMaxYAtX(130));

    // Turned by 90 degrees: the bottom's normal points left, the box stands upright.
    box->SetRotation(90);
    const Vector2D n = box->NormalAtEdge(0b0100, 0, 0);
    EXPECT_NEAR(-1.0, n.x, 1e-12);
    EXPECT_NEAR(0.0, n.y, 1e-12);
    EXPECT_NEAR(90.0, box->GetMinYAtX(120), 1e-9);
    EXPECT_NEAR(130.0, box->GetMaxYAtX(120), 1e-9);
    EXPECT_NEAR(110.0, box->GetMinXAtY(100), 1e-9);
    EXPECT_EQ(EdgeMask(1), box->WhichSides(130, 110)) << "the top now faces right";
    EXPECT_FALSE(box->Intersects(Point<int>(100, 100), Point<int>(5, 5)));
    EXPECT_TRUE(box->Intersects(Point<int>(118, 92), Point<int>(4, 4)));

    // A polygon's edge normals turn with it, as the contact pass compares them with the
    // normals of world contacts.
    ArcadeStructure* tri = Own(Make("{class = 'ArcadeStructure', "
                                    "polygon = {{0, 0}, {0, 20}, {20, 20}}}"));
    tri->SetPosition(300, 300);
    tri->UpdatePhysics(&root->world);
    const EdgeMask bottom = tri->WhichSides(310, 320);
    ASSERT_NE(EdgeMask(0), bottom);
    const Vector2D before = tri->NormalAtEdge(bottom, 0, 0);
    EXPECT_NEAR(0.0, before.x, 1e-6);
    EXPECT_NEAR(1.0, before.y, 1e-6);
    tri->SetRotation(90);
    const Vector2D after = tri->NormalAtEdge(bottom, 0, 0);
    EXPECT_NEAR(-1.0, after.x, 1e-6);
    EXPECT_NEAR(0.0, after.y, 1e-6);
    // The geometry agrees with the turned normal.
    const Vector2D fromGeom = tri->GetGeom()->ToWorldDirection(before);
    EXPECT_NEAR(fromGeom.x, after.x, 1e-6);
    EXPECT_NEAR(fromGeom.y, after.y, 1e-6);
    EXPECT_EQ(bottom, tri->WhichSides(300, 310)) << "the turned bottom edge lies on the left";

    // A circle: one edge, its normal points at the point asked about.
    ArcadeStructure* disc = Own(MakeBallLike(50, 50, 10));
    disc->UpdatePhysics(&root->world);
    EXPECT_EQ(1, disc->GetNumEdges());
    EXPECT_EQ(EdgeMask(1), disc->WhichSides(0, 0));
    const Vector2D radial = disc->NormalAtEdge(1, 50, 80);
    EXPECT_NEAR(1.0, radial.y, 1e-12);
    EXPECT_DOUBLE_EQ(40.0, disc->GetMinXAtY(50));
    EXPECT_DOUBLE_EQ(60.0, disc->GetMaxXAtY(50));
}

// Every edge query of every shape, turned or not, answers a point on the shape's outline:
// the field-frame outline and the inverse turn of WhichSides agree. Each line is asked
// across the whole shape, both ways.
TEST_F(StructureTest, EveryEdgeQueryOfEveryShapeEndsOnItsOutlineAtAnyTurn)
{
    // The paddle asks a triangle brick where it ends at the height of its contact.
    ArcadeStructure* tri = Own(Make("{class = 'ArcadeStructure', "
                                    "polygon = {{0, 0}, {0, 40}, {40, 40}}}"));
    tri->SetPosition(100, 100);
    EXPECT_DOUBLE_EQ(100.0, tri->GetMinXAtY(120));
    EXPECT_DOUBLE_EQ(120.0, tri->GetMaxXAtY(120));
    EXPECT_DOUBLE_EQ(110.0, tri->GetMinYAtX(110));
    EXPECT_DOUBLE_EQ(140.0, tri->GetMaxYAtX(110));
    EXPECT_DOUBLE_EQ(0.0, tri->GetMinXAtY(300)) << "a line that misses the polygon";

    ArcadeStructure* quad = Own(Make("{class = 'ArcadeStructure', "
                                     "polygon = {{0, 0}, {30, 10}, {40, 40}, {5, 30}}}"));
    quad->SetPosition(300, 200);
    ArcadeStructure* box = Own(MakeBox(200, 300, 50, 20));
    ArcadeStructure* disc = Own(MakeBallLike(400, 350, 15));
    const auto onOutline = [&](ArcadeStructure* s, double x, double y) {
        if (s == disc)
            return std::fabs(std::hypot(x - 400, y - 350) - 15) < 1e-6;
        return s->WhichSides(x, y) != EdgeMask(0);
    };
    for (double degrees : {0.0, 30.0, 90.0, 135.0, 250.0}) {
        for (ArcadeStructure* s : {tri, quad, box, disc}) {
            s->SetRotation(degrees);
            double left = 400 - 15, right = 400 + 15, top = 350 - 15, bottom = 350 + 15;
            if (s != disc) {
                const Poly outline = s->GetOutline();
                left = top = 1e9;
                right = bottom = -1e9;
                for (const Point2f& v : outline.GetVertices()) {
                    left = std::min(left, double(v.x));
                    right = std::max(right, double(v.x));
                    top = std::min(top, double(v.y));
                    bottom = std::max(bottom, double(v.y));
                }
            }
            for (int k = 1; k < 8; ++k) {
                const double y = top + (bottom - top) * k / 8.0;
                const double x = left + (right - left) * k / 8.0;
                const double x0 = s->GetMinXAtY(y), x1 = s->GetMaxXAtY(y);
                const double y0 = s->GetMinYAtX(x), y1 = s->GetMaxYAtX(x);
                SCOPED_TRACE(::testing::Message() << "turned " << degrees << ", line " << k
                                                  << " of shape " << s->GetNumEdges());
                EXPECT_LT(x0, x1);
                EXPECT_LT(y0, y1);
                EXPECT_TRUE(onOutline(s, x0, y)) << x0 << ", " << y;
                EXPECT_TRUE(onOutline(s, x1, y)) << x1 << ", " << y;
                EXPECT_TRUE(onOutline(s, x, y0)) << x << ", " << y0;
                EXPECT_TRUE(onOutline(s, x, y1)) << x << ", " << y1;
            }
        }
    }
}

TEST_F(StructureTest, SoundsPanByTheHorizontalCentreWithinTheStereoField)
{
    ArcadeActor actor;
    struct Case
    {
        int x, width, pan;
    };
    const Case cases[] = {{0, 0, -100},     {320, 0, 0},    {630, 20, 100}, {300, 40, 0},
                          {-300, 10, -100}, {900, 10, 100}, {100, 0, -68}};
    for (const Case& c : cases) {
        actor.SetPosition(c.x, 0);
        actor.SetSize(c.width, 10);
        EXPECT_EQ(c.pan, actor.GetSoundPan()) << c.x;
    }
    // Without a geometry the actor stays where it is; with one it follows it.
    actor.SetPosition(7, 9);
    actor.SyncFromPhysics();
    EXPECT_EQ(7, actor.GetX());
    ArcadeStructure* s = Own(MakeBox(0, 20, 10, 10));
    s->UpdatePhysics(&root->world);
    s->GetGeom()->SetPosition(12.5, 40.0);
    s->SyncFromPhysics();
    EXPECT_EQ(8, s->GetX()) << "13 - 5";
    EXPECT_EQ(35, s->GetY());
    // Only colliders pass through play-field objects.
    std::unique_ptr<ArcadeStructure> plain(new ArcadeStructure());
    EXPECT_FALSE(s->AcceptsCollision(plain.get(), 0, 0));
}

TEST_F(StructureTest, TrailEmittersAreChildrenCentredOnTheStructure)
{
    bbtest::TestResources();
    bbtest::EvalLua("(function() Resources.TestTrail = {class = 'ParticleEmitter', "
                    "interval = 0} return 0 end)()");
    ArcadeStructure* s = Own(Make("{class = 'ArcadeStructure', circle = 10, "
                                  "trailEmitter = {'TestTrail', 'TestTrail'}}"));
    ASSERT_EQ(2u, s->GetTrailGroup().GetMembers().size());
    for (Actor* emitter : s->GetTrailGroup().GetMembers()) {
        EXPECT_EQ(s, emitter->GetParent());
        EXPECT_EQ(10, emitter->GetX());
        EXPECT_EQ(10, emitter->GetY());
    }
    s->ApplyProperty("trailEmitter", bbtest::EvalLua("''"));
    EXPECT_EQ(2u, s->GetTrailGroup().GetMembers().size()) << "an empty name makes an emitter";
    // An element that is no name is named and left out; the others stay.
    EXPECT_EQ("",
              bbtest::MessageOf([&] { s->ApplyProperty("trailEmitter", bbtest::EvalLua("{3}")); }));
    EXPECT_EQ(2u, s->GetTrailGroup().GetMembers().size());
}

TEST_F(StructureTest, MovedCallbacksFollowTheBodyAndSoftPeriodsWearOff)
{
    ArcadeStructure* s = Own(MakeBallLike(200, 200, 8));
    s->UpdatePhysics(&root->world);
    static int moves;
    moves = 0;
    s->AddMovedCallback([](ArcadeStructure*, void*) { ++moves; }, nullptr);
    passes.Step(2);
    EXPECT_EQ(0, moves) << "a body at rest does not move";
    s->GetPhysicsBody()->SetLinearVel(50, 0);
    passes.Step(2);
    EXPECT_EQ(2, moves);
    EXPECT_NEAR(200.0 + 50 * 0.064, s->GetGeom()->GetCenter().x, 1e-6);
    EXPECT_EQ(203, s->GetX() + s->GetWidth() / 2) << "the actor follows its geometry";

    // A soft period lasts three ticks unless collisions lengthen it.
    s->StartSoftPeriod();
    EXPECT_FLOAT_EQ(0.997f, s->GetGeom()->GetSoftness());
    passes.Step(2);
    EXPECT_FLOAT_EQ(0.997f, s->GetGeom()->GetSoftness());
    passes.Step();
    EXPECT_FLOAT_EQ(0.0f, s->GetGeom()->GetSoftness());
}
