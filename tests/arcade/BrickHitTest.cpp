// Bricks in play: balls flown into them in a stepping world (weak and steel edges,
// indestructible materials, invisible bricks, damage per hit), hoppers and carriers that
// catch and relaunch balls, and the paddle's own hits. Sounds are recorded by name.
#include "BallFixture.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Random.h"
#include "field/Brick.h"
#include "field/Explosion.h"
#include "field/FlyingText.h"
#include "field/Spark.h"
#include "physics/PhysicsGeom.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>

using namespace fieldtest;

namespace {

class BrickHitTest : public BallTest
{
protected:
    bbtest::SoundLog sounds;

    BrickHitTest() { MakoSrand(11); }

    // A brick from a Lua table, its top-left corner at (x, y), in the field.
    Brick* AddBrick(const std::string& table, int x, int y)
    {
        Brick* brick = dynamic_cast<Brick*>(MakeStructure(table));
        EXPECT_NE(nullptr, brick) << table;
        brick->SetPosition(x, y);
        return root->Place(brick);
    }
    // Steps until the brick is dead, the predicate holds, or limit passes went by.
    template <typename Pred> int StepUntil(Pred done, int limit = 60)
    {
        return passes.StepUntil(done, limit);
    }
    // Whether the brick is gone: killed (and perhaps already deleted by the pass).
    struct Watch
    {
        ActorLink<Brick> link;
        explicit Watch(Brick* brick) { link.Set(brick); }
        bool Gone() const { return !link.Get(); }
    };

    // What the game's controller does with a caught ball: takes it off the field.
    static void TakeOffField(Ball* ball)
    {
        ball->GetGeom()->Disable();
        ball->GetParent()->RemoveChild(ball);
    }
    // And with a launched one: puts it back.
    void PutBack(Ball* ball)
    {
        root->AddChild(ball, "");
        ball->GetGeom()->Enable();
    }
};

} // namespace

TEST_F(BrickHitTest, WeakEdgesBreakAnIndestructibleBrickThatBouncesBallsElsewhere)
{
    // From below: the weak bottom edge breaks it.
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = -1,"
                            " weakEdges = {bottom = true}}",
                            300, 200);
    const Watch watch(brick);
    AddBall(316, 260, 0, -300);
    EXPECT_LT(StepUntil([&] { return watch.Gone(); }), 60) << "the weak edge did not break it";

    // From above: it bounces the ball and stays.
    Brick* top = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = -1,"
                          " weakEdges = {bottom = true}}",
                          100, 200);
    Ball* ball = AddBall(116, 140, 0, 300);
    sounds.Clear();
    StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y < 0; });
    EXPECT_FALSE(top->IsDead());
    EXPECT_EQ(0, top->GetDamage());
    EXPECT_EQ(1, sounds.Count("bounce.ogg"));
}

TEST_F(BrickHitTest, SteelIsIndestructibleAndRingsAsMetalSteelEdgesToo)
{
    Brick* steel = AddBrick("{class = 'Brick', resources = {'MetalBrick'}}", 300, 200);
    ASSERT_EQ(-1, steel->GetStrength());
    Ball* ball = AddBall(316, 260, 0, -300);
    StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y > 0; });
    EXPECT_FALSE(steel->IsDead());
    EXPECT_EQ(1, sounds.Count("Metal Bounce.ogg"));

    // A steel bottom edge on a breakable brick: no damage from below.
    Brick* edged = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 2,"
                            " steelEdges = {bottom = true}}",
                            100, 200);
    Ball* second = AddBall(116, 260, 0, -300);
    StepUntil([&] { return second->GetPhysicsBody()->GetLinearVel().y > 0; });
    EXPECT_EQ(0, edged->GetDamage());
    EXPECT_EQ(2, sounds.Count("Metal Bounce.ogg"));
}

TEST_F(BrickHitTest, EachBallHitTakesItsHitStrengthUntilTheBrickBreaks)
{
    Brick* brick =
        AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 3, score = 7}", 300, 200);
    const Watch watch(brick);
    std::vector<int> trace;
    for (int hit = 0; hit < 3 && !watch.Gone(); ++hit) {
        Ball* ball = AddBall(316, 260, 0, -300);
        StepUntil([&] { return watch.Gone() || brick->GetDamage() > hit; });
        trace.push_back(watch.Gone() ? 3 : brick->GetDamage());
        ball->Kill();
        passes.Step();
    }
    EXPECT_EQ((std::vector<int>{1, 2, 3}), trace);
    EXPECT_TRUE(watch.Gone());
    EXPECT_EQ(7, logic.score);
    EXPECT_EQ(2, sounds.Count("Stone Crack.ogg"))
        << "a hit sound for each hit that did not break it";
    EXPECT_EQ(1, sounds.Count("Stone Shatter.ogg"));
    EXPECT_EQ((std::vector<int>{0, 0, 0, 1}), logic.brickCombos)
        << "the combo meter hears each active ball's hit, then the destruction";
}

TEST_F(BrickHitTest, ScoresShowAsFlyingTextsWhereTheBrickWasStruckAndBroken)
{
    // An edge that scores: the score at once, shown from the brick's centre.
    Brick* scorer = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 2,"
                             " score = 1234, showScore = true, scoreOnEdges = {bottom = true}}",
                             300, 200);
    AddBall(316, 260, 0, -300);
    StepUntil([&] { return scorer->GetDamage() > 0; });
    ASSERT_EQ(1u, logic.texts.GetMembers().size());
    auto* text = static_cast<FlyingText*>(logic.texts.GetMembers().front());
    EXPECT_EQ("$1,234", text->GetLabel()->GetText());
    EXPECT_EQ(1234, logic.score);

    // Breaking it adds its score again, with a shorter text.
    AddBall(316, 260, 0, -300);
    StepUntil([&] { return logic.score > 1234; });
    EXPECT_EQ(2468 + 1234, logic.score) << "the scoring edge, then the destruction";
    EXPECT_EQ(3u, logic.texts.GetMembers().size());
}

TEST_F(BrickHitTest, InvisibleBricksAreRevealedFreeButNeverRevealedOnesStayHidden)
{
    Brick* hidden = AddBrick(
        "{class = 'Brick', textureOnly = 'Stone', strength = 2, invisible = true}", 300, 200);
    Ball* ball = AddBall(316, 260, 0, -300);
    StepUntil([&] { return !hidden->IsInvisible(); });
    EXPECT_FALSE(hidden->IsInvisible());
    EXPECT_EQ(0, hidden->GetDamage()) << "revealing costs no damage";

    // Strength -2 is never revealed and never broken, not even by a breakthrough ball.
    Brick* never = AddBrick(
        "{class = 'Brick', textureOnly = 'Stone', strength = -2, invisible = true}", 100, 200);
    Ball* through = AddBall(116, 260, 0, -300);
    through->SetCorona("Breakthru");
    StepUntil([&] { return never->IsDead() || through->GetPhysicsBody()->GetLinearVel().y > 0; },
              40);
    EXPECT_TRUE(never->IsInvisible());
    EXPECT_FALSE(never->IsDead());
    EXPECT_EQ(nullptr, never->GetImage()) << "a never-revealed brick composes no image";
    (void)ball;
}

TEST_F(BrickHitTest, AOneSlotHopperCatchesTheFirstBallAndBouncesTheSecond)
{
    Brick* hopper = AddBrick("{class = 'Brick', resources = {'BallHopperBrick'}}", 300, 200);
    Ball* first = AddBall(316, 260, 0, -300);
    StepUntil([&] { return logic.locks == 1; });
    ASSERT_EQ(1, logic.locks);
    EXPECT_EQ(1, sounds.Count("Clunk.ogg"));
    EXPECT_TRUE(hopper->HoldsBall(first));
    EXPECT_EQ(std::make_pair(1, 1), hopper->CountTrappedBalls());
    TakeOffField(first);

    Ball* second = AddBall(316, 260, 0, -300);
    StepUntil([&] { return second->GetPhysicsBody()->GetLinearVel().y > 0; });
    EXPECT_EQ(1, logic.locks);
    EXPECT_EQ(1, sounds.Count("bounce.ogg"));
    EXPECT_FALSE(hopper->HoldsBall(second));
    // The hopper still holds its ball when it goes; it deletes it with itself.
}

TEST_F(BrickHitTest, AFullHopperOfAnySizeBouncesEveryBall)
{
    Brick* hopper = AddBrick("{class = 'Brick', resources = {'TripleBallHopperBrick'}}", 300, 200);
    for (int i = 0; i < 3; ++i) {
        Ball* held = new Ball(0, 0, 0, 0, true);
        ASSERT_TRUE(hopper->CatchBall(held, &logic));
    }
    EXPECT_TRUE(hopper->IsHopperFull());
    Ball* ball = AddBall(316, 260, 0, -300);
    EXPECT_FALSE(hopper->AcceptsCollision(ball, 316, 216));
    StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y > 0; });
    EXPECT_EQ(3, logic.locks);
    EXPECT_FALSE(hopper->HoldsBall(ball));
    EXPECT_GE(sounds.Count("bounce.ogg"), 1);
}

TEST_F(BrickHitTest, ACarrierRelaunchesToTheRightAfterItsTimerAndWearsOut)
{
    Brick* carrier =
        AddBrick("{class = 'Brick', resources = {'BallCarrierBrick', 'HopperLaunchRight'},"
                 " strength = 1}",
                 300, 200);
    Ball* ball = AddBall(316, 260, 0, -300);
    StepUntil([&] { return logic.locks == 1; });
    ASSERT_EQ(1, logic.locks);
    TakeOffField(ball);
    carrier->StartReleaseTimer(&logic, 0);
    const Watch watch(carrier);
    const int ticks = StepUntil([&] { return logic.unlocks == 1; }, 200);
    EXPECT_NEAR(93, ticks, 2) << "three seconds of 32 ms passes";
    ASSERT_EQ(1, logic.unlocks);
    const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
    EXPECT_GT(v.x, 0);
    EXPECT_LE(std::fabs(std::atan2(v.y, v.x)) * 180 / 3.14159265358979, 10.0 + 1e-6);
    EXPECT_NEAR(200, std::hypot(v.x, v.y), 1e-6) << "launch speed 0 sends the ball at 200";
    EXPECT_TRUE(watch.Gone() || carrier->IsDead())
        << "a strength-1 carrier wears out on its launch";
    PutBack(ball);
    passes.Step();
}

TEST_F(BrickHitTest, ACarrierKilledWithItsLevelLaunchesNothingWhenItsTimerComesDue)
{
    // The level is left while the release waits: the world goes, the carrier is killed,
    // and its timer comes due in the pass that deletes it.
    auto* levelWorld = new World();
    Brick* carrier = dynamic_cast<Brick*>(
        MakeStructure("{class = 'Brick', resources = {'BallCarrierBrick'}}"));
    ASSERT_NE(nullptr, carrier);
    carrier->SetPosition(300, 200);
    root->AddChild(carrier, "");
    carrier->UpdatePhysics(levelWorld);
    Ball* held = AddBall(100, 100, 0, 0);
    ASSERT_TRUE(carrier->CatchBall(held, nullptr));
    TakeOffField(held);
    const std::uint32_t timer = carrier->StartReleaseTimer(&logic, 0);
    ASSERT_NE(0u, timer);

    delete levelWorld;
    carrier->Kill();
    EXPECT_NO_THROW(carrier->OnEvent(MakeEvent(MAKO_TIMER, 0, IntToEventData(timer))));
    EXPECT_EQ(0, logic.unlocks);
    EXPECT_TRUE(carrier->HoldsBall(held));
    passes.Step();
}

TEST_F(BrickHitTest, ABrokenHopperLaunchesWhatItHolds)
{
    Brick* hopper = AddBrick(
        "{class = 'Brick', resources = {'DoubleBallHopperBrick'}, strength = 5}", 300, 200);
    Ball* held = AddBall(100, 100, 0, 0);
    passes.Step();
    ASSERT_TRUE(hopper->CatchBall(held, &logic));
    TakeOffField(held);
    hopper->Destroy(nullptr, &logic, 316, 208, true);
    EXPECT_TRUE(hopper->IsDead());
    EXPECT_EQ(1, logic.unlocks);
    EXPECT_FALSE(hopper->HoldsBall(held));
    const Vector2D v = held->GetPhysicsBody()->GetLinearVel();
    EXPECT_NEAR(200, std::hypot(v.x, v.y), 1e-6);
    PutBack(held);
    passes.Step();
}

TEST_F(BrickHitTest, ThePaddleDamagesOncePerTickAndNeverBreaksNegativeStrengths)
{
    Paddle* paddle = new Paddle();
    paddle->SetRectangle(80, 16, false);
    paddle->SetPosition(280, 300);
    root->Place(paddle);
    Brick* brick = AddBrick(
        "{class = 'Brick', textureOnly = 'Stone', strength = 3, blockPaddle = true}", 300, 284);
    brick->HandleCollision(&logic, paddle, 316, 300, 0, 1, 0, true);
    brick->HandleCollision(&logic, paddle, 316, 300, 0, 1, 0, true);
    EXPECT_EQ(1, brick->GetDamage()) << "two contacts in one tick count once";
    EXPECT_EQ(1, sounds.Count("Stone Crack.ogg"));
    passes.Step();
    brick->HandleCollision(&logic, paddle, 316, 300, 0, 1, 0, true);
    EXPECT_EQ(2, brick->GetDamage());

    for (int strength : {-1, -2}) {
        Brick* hard = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = " +
                                   std::to_string(strength) + ", invisible = true}",
                               100, 284);
        hard->HandleCollision(&logic, paddle, 116, 300, 0, 1, 0, true);
        passes.Step();
        hard->HandleCollision(&logic, paddle, 116, 300, 0, 1, 0, true);
        EXPECT_FALSE(hard->IsDead()) << strength;
        EXPECT_EQ(strength == -2, hard->IsInvisible()) << strength;
        hard->Kill();
    }

    // Outside play (a level being laid out or ending) the paddle breaks nothing.
    logic.AddState(new NamedState("LevelCompleted"));
    logic.SetState("LevelCompleted");
    passes.Step();
    brick->HandleCollision(&logic, paddle, 316, 300, 0, 1, 0, true);
    EXPECT_EQ(2, brick->GetDamage());
}

TEST_F(BrickHitTest, PowerupsSpreadOverTheirColumnsInFloatingPoint)
{
    std::set<double> seen;
    for (int i = 0; i < 9; ++i) {
        const double spread = Brick::PowerupSpread(i, 9);
        EXPECT_GE(spread, -100.0);
        EXPECT_LE(spread, 100.0);
        seen.insert(spread);
    }
    EXPECT_EQ(9u, seen.size()) << "every column its own spread";
    EXPECT_DOUBLE_EQ(-100.0, Brick::PowerupSpread(0, 5));
    EXPECT_DOUBLE_EQ(0.0, Brick::PowerupSpread(0, 0));
}

TEST_F(BrickHitTest, ABrokenBrickBreaksIntoChunksOfItsOwnPictureAndItsGroupGoesWithIt)
{
    // Three bricks of group 5 that take their group with them; one of another group.
    std::vector<Brick*> group;
    for (int i = 0; i < 3; ++i) {
        Brick* b = AddBrick("{class = 'Brick', textureOnly = 'Stone', score = 10, destroyGroup = 5,"
                            " groupID = 5}",
                            100 + 40 * i, 100);
        group.push_back(b);
    }
    Brick* other = AddBrick("{class = 'Brick', textureOnly = 'Stone', groupID = 6}", 300, 100);
    passes.Step();
    ASSERT_TRUE(group[0]->GetImage());
    group[0]->Destroy(nullptr, &logic, 116, 108, true);
    for (Brick* b : group)
        EXPECT_TRUE(b->IsDead());
    EXPECT_FALSE(other->IsDead());
    EXPECT_EQ(30, logic.score) << "each brick of the group once";
    std::size_t emitters = logic.emitters.GetMembers().size();
    EXPECT_GE(emitters, 3u) << "chunks of each broken brick";
    EXPECT_EQ(3, sounds.Count("crashStone.ogg") + sounds.Count("Stone Shatter.ogg"))
        << "the crash of each brick";
    passes.Step(3);
}

TEST_F(BrickHitTest, ARegeneratingBrickComesBackOnceAndBreaksForGoodTheSecondTime)
{
    Brick* brick =
        AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 2, necessary = true,"
                 " regenerates = 30, reviveTraits = {reviveTraits = {regenerates = 0}}}",
                 300, 200);
    const Watch watch(brick);
    brick->ApplyIntProperty("damage", 2);
    ASSERT_FALSE(watch.Gone());
    EXPECT_TRUE(brick->IsRegenerating());
    EXPECT_FALSE(brick->IsNecessary()) << "a regenerating brick is not needed for the level";
    EXPECT_EQ(0u, brick->GetCollideBits());
    EXPECT_TRUE(logic.checks.empty()) << "no destroyer, no level-end check";
    passes.Step(29);
    EXPECT_TRUE(brick->IsRegenerating());
    passes.Step();
    EXPECT_FALSE(brick->IsRegenerating());
    EXPECT_EQ(257u, brick->GetCollideBits());
    EXPECT_EQ(2u, brick->GetCategoryBits());
    EXPECT_EQ(1, sounds.Count("pop3.ogg"));
    brick->ApplyIntProperty("damage", 2);
    passes.Step();
    EXPECT_TRUE(watch.Gone());
}

TEST_F(BrickHitTest, ABrokenBrickFreesItsTrappedBallWhereItStood)
{
    Brick* brick = AddBrick("{class = 'Brick', resources = {'TrappedBallBrick'}}", 300, 200);
    Ball* trapped = brick->GetTrappedBall();
    ASSERT_NE(nullptr, trapped);
    brick->ApplyProperty("position", bbtest::EvalLua("{200, 100}"));
    EXPECT_EQ(216, trapped->GetX() + trapped->GetWidth() / 2) << "it follows the brick";
    EXPECT_EQ(108, trapped->GetY() + trapped->GetHeight() / 2);
    const Watch watch(brick);
    // Glass lets the ball through as it breaks.
    Ball* ball = AddBall(216, 160, 0, -300);
    StepUntil([&] { return watch.Gone(); });
    ASSERT_TRUE(watch.Gone());
    EXPECT_TRUE(logic.balls.Contains(trapped));
    EXPECT_TRUE(logic.balls.Contains(ball));
    EXPECT_EQ(1, sounds.Count("Glass.ogg"));
}

TEST_F(BrickHitTest, HealingTakesOnePointBackPerPeriodUntilWhole)
{
    Brick* brick =
        AddBrick("{class = 'Brick', textureOnly = 'Leaf', strength = 4, heals = 5}", 300, 200);
    brick->ApplyIntProperty("damage", 2);
    std::vector<int> trace;
    for (int period = 0; period < 3; ++period) {
        passes.Step(5);
        trace.push_back(brick->GetDamage());
    }
    EXPECT_EQ((std::vector<int>{1, 0, 0}), trace);
    EXPECT_EQ(2, sounds.Count("Heal2.ogg"));

    Brick* quiet = AddBrick("{class = 'Brick', textureOnly = 'Leaf', strength = 4, heals = 5,"
                            " healsSilently = true}",
                            100, 200);
    quiet->ApplyIntProperty("damage", 1);
    passes.Step(5);
    EXPECT_EQ(0, quiet->GetDamage());
    EXPECT_EQ(2, sounds.Count("Heal2.ogg"));
}

TEST_F(BrickHitTest, PhasingBricksTakeDamageOnlyInASettledWeakPhase)
{
    // Weak for 10 ticks, then a 60-tick change, strong for 10, a change back, and so on.
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Blue', strength = 5,"
                            " phases = {x = 10, y = 10}}",
                            300, 200);
    Brick* fading = AddBrick("{class = 'Brick', textureOnly = 'Blue', strength = 5,"
                             " phases = {10, 10}, phaseToInvisible = true}",
                             100, 200);
    passes.Step();
    ASSERT_NE(nullptr, brick->GetChild("phaseEdges", false));
    std::vector<bool> strong;
    for (int tick = 0; tick < 160; ++tick) {
        passes.Step();
        strong.push_back(brick->RetrieveBoolProperty("phaseStrong"));
    }
    // Weak and settled for the first ticks, strong after the first change.
    EXPECT_FALSE(strong[5]);
    EXPECT_TRUE(strong[80]);
    EXPECT_FALSE(strong[155]);

    // Strong: contacts do no damage; the fading brick lets balls pass while strong.
    brick->ApplyBoolProperty("phaseStrong", true);
    fading->ApplyBoolProperty("phaseStrong", true);
    EXPECT_TRUE(fading->RetrieveBoolProperty("noBlockBall"));
    Ball* ball = AddBall(316, 260, 0, -300);
    StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y > 0; }, 10);
    EXPECT_EQ(0, brick->GetDamage());
}

TEST_F(BrickHitTest, EnergyBricksSpeedBallsUpAndSoundByTheirEnergy)
{
    AddBrick("{class = 'Brick', resources = {'RubberBrick'}}", 300, 200);
    Ball* ball = AddBall(316, 260, 0, -300);
    const int before = ball->GetEnergy();
    StepUntil([&] { return ball->GetPhysicsBody()->GetLinearVel().y > 0; });
    ASSERT_EQ(1, sounds.Count("energize.ogg"));
    for (const auto& play : sounds.Plays())
        if (play.name == "energize.ogg") {
            EXPECT_EQ(12, play.volume) << "3 x the brick's energy of 4";
        }
    EXPECT_EQ(1, sounds.Count("bumperPinball.ogg")) << "rubber rings like a bumper";
    EXPECT_GT(ball->GetEnergy(), before);
}

namespace {

// A striker known to bricks only by its class name: explosions, sparks and laser beams
// are matched by name, so a structure answering with that name's class record stands in
// (the registered class when there is one, else a record made for the test).
class Striker : public ArcadeStructure
{
public:
    explicit Striker(const std::string& name)
    {
        m_Record = ClassManager::GetInstance()->GetClass(name, true);
        if (!m_Record) {
            m_Owned.reset(new Class(name, "ArcadeStructure", nullptr, nullptr));
            m_Record = m_Owned.get();
        }
        SetRectangle(8, 8, false);
    }
    Class* GetClass() const override { return m_Record; }
    // Blasts and sparks tell the damage of their blow.
    int GetStrikeDamage(double, double) const override { return damage; }
    int damage = 1;

private:
    std::unique_ptr<Class> m_Owned;
    Class* m_Record = nullptr;
};

} // namespace

TEST_F(BrickHitTest, BlastsSparksAndLasersDamageByTheirOwnRules)
{
    Striker explosion("Explosion"), spark("Spark"), laser("LaserBeam");
    explosion.damage = spark.damage = 3;
    struct Row
    {
        const char* brick;
        ArcadeStructure* striker;
        int damage; // after one blow of 3 points
    };
    const Row rows[] = {
        {"strength = 5", &explosion, 3},
        {"strength = 2", &explosion, 2},
        {"strength = 5, bombProof = true", &explosion, 0},
        {"strength = 5, lightningProof = true", &explosion, 3},
        {"strength = 5, lightningProof = true", &spark, 0},
        {"strength = 5, bombProof = true", &spark, 3},
        {"strength = -1", &explosion, 0},
        {"strength = 5, ballHopperSize = 1", &explosion, 0},
        {"strength = 5, phaseStrong = true, phases = {10, 10}", &spark, 0},
    };
    int x = 0;
    for (const Row& r : rows) {
        Brick* brick = AddBrick(
            std::string("{class = 'Brick', textureOnly = 'Stone', ") + r.brick + "}", x, 100);
        x += 40;
        const Watch watch(brick);
        brick->HandleCollision(&logic, r.striker, x - 24, 108, 0, 0, 0, true);
        EXPECT_EQ(r.damage, watch.Gone() ? 2 : brick->GetDamage()) << r.brick;
    }

    // A laser wears a brick down a point now and then: about one contact in fifty.
    Brick* target = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = 100}", 500, 300);
    for (int i = 0; i < 1000; ++i)
        target->HandleCollision(&logic, &laser, 516, 308, 0, 1, 0.5, true);
    EXPECT_GT(target->GetDamage(), 5);
    EXPECT_LT(target->GetDamage(), 50);
}

TEST_F(BrickHitTest, BricksBrokenByBlastsMostlyBreakQuietly)
{
    Striker explosion("Explosion");
    explosion.SetPosition(300, 300);
    int broken = 0;
    for (int i = 0; i < 40; ++i) {
        Brick* brick =
            AddBrick("{class = 'Brick', textureOnly = 'Stone'}", 16 * (i % 20), 20 * (i / 20));
        brick->HandleCollision(&logic, &explosion, 0, 0, 0, 0, 0, true);
        broken += brick->IsDead();
        passes.Step(9); // past the crash sound's cooldown
    }
    EXPECT_EQ(40, broken);
    const int crashes = sounds.Count("Stone Shatter.ogg");
    EXPECT_GE(crashes, 3) << "about one in four";
    EXPECT_LE(crashes, 20);
}

TEST_F(BrickHitTest, ABallKilledWhileHeldLeavesItsSlotAndIsDeletedOnce)
{
    Brick* hopper = AddBrick("{class = 'Brick', resources = {'DoubleBallHopperBrick'}}", 300, 200);
    Ball* kept = AddBall(100, 100, 0, 0);
    Ball* cleared = AddBall(140, 100, 0, 0);
    passes.Step();
    ASSERT_TRUE(hopper->CatchBall(kept, &logic));
    ASSERT_TRUE(hopper->CatchBall(cleared, &logic));
    TakeOffField(kept);
    // The level clears its balls: the one still on the field goes by the deferred deletion.
    cleared->Kill();
    EXPECT_EQ(std::make_pair(2, 1), hopper->CountTrappedBalls());
    passes.Step();
    // The hopper goes with the ball it still holds off the field.
    hopper->Kill();
    passes.Step();
}

TEST_F(BrickHitTest, ABrokenChargedBrickSetsOffItsBlastOrBoltAndBlastsRunAlongAFuse)
{
    Striker blast("Explosion");
    blast.damage = 3;
    // A fuse of three TNT bricks side by side: breaking the first sets off all three.
    const char* const tnt = "{class = 'Brick', resources = {'TNTBrick'}}";
    Brick* lit = AddBrick(tnt, 100, 100);
    const Watch fuse[] = {Watch(lit), Watch(AddBrick(tnt, 132, 100)),
                          Watch(AddBrick(tnt, 164, 100))};
    passes.Step();
    lit->HandleCollision(&logic, &blast, 116, 108, 0, 0, 0, true);
    ASSERT_TRUE(fuse[0].Gone());
    ASSERT_EQ(1u, logic.explosions.GetMembers().size());
    const auto* first = static_cast<Explosion*>(logic.explosions.GetMembers().front());
    EXPECT_DOUBLE_EQ(40.0, first->GetBlastRadius()) << "8 x power 3 + 16";
    EXPECT_EQ(2, first->GetMinDamage());
    EXPECT_EQ(4, first->GetMaxDamage());
    StepUntil([&] { return fuse[2].Gone(); }, 30);
    EXPECT_TRUE(fuse[1].Gone());
    EXPECT_TRUE(fuse[2].Gone());
    EXPECT_EQ(3, sounds.Count("Big Explosion.ogg"));

    // A lightning brick lets a bolt of its power go from where it stood.
    Brick* lightning = AddBrick("{class = 'Brick', resources = {'LightningBrick'}}", 300, 300);
    lightning->HandleCollision(&logic, &blast, 316, 308, 0, 0, 0, true);
    ASSERT_EQ(1u, logic.sparks.GetMembers().size());
    EXPECT_EQ(2, static_cast<Spark*>(logic.sparks.GetMembers().front())->GetPowerLeft());
    EXPECT_EQ(1, sounds.Count("LightningConnect.ogg"));

    // A charge that nothing broke (crushed by a falling field) goes quietly.
    Brick* crushed = AddBrick(tnt, 400, 400);
    crushed->Destroy(nullptr, &logic, 0, 0, true);
    passes.Step(5);
    EXPECT_EQ(3, sounds.Count("Big Explosion.ogg"));
}
