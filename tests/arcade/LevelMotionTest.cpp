// The moving field of a level on a field the test fills: the progressive slide-down (steps,
// the rest of a step, the end height), the time attack (fall pattern, caps, no cap, the
// rewind, the artefact it carries, the threshold's end), wind (normalised direction, the random
// wandering, the fixed pull back, its sound) and level gravity (fall-off, direction, the centre
// itself).
#include "FieldScene.h"
#include "LevelTestSupport.h"

#include "core/Random.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Goober.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/ActorLink.h"
#include "sound/Sound.h"

#include <cmath>
#include <gtest/gtest.h>

using namespace fieldtest;
using leveltest::MakeLevel;
using leveltest::ServeLogic;

namespace {

class LevelMotionTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { bbtest::OpenGameResources(); }

    LevelMotionTest()
    {
        root->logic = &logic;
        logic.SetField(root, &root->world);
    }
    ~LevelMotionTest() override
    {
        passes.SetRoot(nullptr);
        delete root;
    }

    Brick* AddBrick(int x, int y, bool necessary = false)
    {
        Brick* brick = new Brick("RedBrick");
        brick->ApplyBoolProperty("necessary", necessary);
        brick->SetPosition(x, y);
        root->Place(brick);
        logic.GetBricks().Add(brick);
        return brick;
    }
    Ball* AddBall(int x, int y)
    {
        Ball* ball = new Ball(x, y, 0, 0, true);
        root->Place(ball);
        logic.GetBalls().Add(ball);
        return ball;
    }
    static double GeomY(const Brick* brick) { return brick->GetGeom()->GetPosition()[1]; }
    // The acceleration the forces added to the ball so far will give it over the next step.
    static void Force(Ball* ball, double& fx, double& fy)
    {
        const PhysicsBody* body = ball->GetPhysicsBody();
        fx = body->GetPendingForce().x / body->GetMass();
        fy = body->GetPendingForce().y / body->GetMass();
    }
    static void ClearForce(Ball* ball)
    {
        PhysicsBody* body = ball->GetPhysicsBody();
        body->AddForce(-body->GetPendingForce().x, -body->GetPendingForce().y);
    }
    // A power-up or goober at rest centred on (cx, cy), in the field and in its group.
    template <typename T> T* AddFloater(const std::string& table, ActorGroup& group, int cx, int cy)
    {
        T* object = dynamic_cast<T*>(MakeStructure(table));
        object->SetPosition(cx - object->GetWidth() / 2, cy - object->GetHeight() / 2);
        root->Place(object);
        group.Add(object);
        object->GetPhysicsBody()->SetLinearVel(0, 0);
        return object;
    }
    // The level's tick and the field's pass, n times, with the given sub-step count.
    void Play(Level& level, int n, int subSteps)
    {
        root->world.SetCollisionIterations(subSteps);
        for (int i = 0; i < n; ++i) {
            level.Update(&logic);
            passes.Step();
        }
    }
    static void CentreOf(const Ball* ball, double& x, double& y)
    {
        x = ball->GetX() + ball->GetWidth() / 2;
        y = ball->GetY() + ball->GetHeight() / 2;
    }

    FieldRoot* root = new FieldRoot();
    bbtest::PassHarness passes{root, 640, 480};
    ServeLogic logic;
};

// ---- Slide-down ----------------------------------------------------------------------------

TEST_F(LevelMotionTest, ASlideStepRunsAtItsRateWithTheRestLastThenStopsAtTheStopLine)
{
    bbtest::SoundLog sounds;
    // High above the world the bricks move at once, so each tick's step shows directly.
    Brick* brick = AddBrick(100, -100);
    auto level = MakeLevel(
        "{ progressive = { thresholdLines = 14, stopY = -120, stepSize = 32, rate = 3 } }");
    const double startY = GeomY(brick);

    // A necessary brick on the lower rows holds the field.
    Brick* low = AddBrick(100, 300, true);
    level->CheckProgressive(&logic);
    EXPECT_EQ(level->GetPendingSlide(), 0.0);
    low->Kill();

    level->CheckProgressive(&logic);
    ASSERT_EQ(level->GetPendingSlide(), 32.0);
    EXPECT_EQ(sounds.Count("SlideDown.ogg"), 1);
    std::vector<double> steps;
    double last = startY;
    for (int tick = 0; tick < 11; ++tick) {
        level->Update(&logic);
        steps.push_back(GeomY(brick) - last);
        last = GeomY(brick);
    }
    EXPECT_EQ(steps, (std::vector<double>{3, 3, 3, 3, 3, 3, 3, 3, 3, 3, 2}));
    // Past the stop line: no next step, the slide ends with its crash.
    EXPECT_EQ(level->GetPendingSlide(), 0.0);
    EXPECT_EQ(sounds.Count("Smash_StoneColumn1.ogg"), 1);
    EXPECT_FALSE(Sound::IsPlaying("SlideDown.ogg"));
}

TEST_F(LevelMotionTest, SlidingBricksBelowTheEndHeightAreDestroyed)
{
    Brick* top = AddBrick(100, -200);
    ActorLink<Brick> bottom; // deleted after the pass that follows its death
    bottom.Set(AddBrick(300, 440));
    auto level = MakeLevel("{ progressive = { stopY = -140, stepSize = 48, rate = 8 } }");
    level->CheckProgressive(&logic);
    ASSERT_GT(level->GetPendingSlide(), 0.0);
    for (int tick = 0; tick < 12; ++tick) {
        level->Update(&logic);
        passes.Step();
    }
    EXPECT_EQ(bottom.Get(), nullptr); // pushed past y = 480
    EXPECT_FALSE(top->IsDead());
}

// ---- Time attack ---------------------------------------------------------------------------

TEST_F(LevelMotionTest, TheTimeAttackFallsAPixelEachTimeTheDistanceCrossesAWholeNumber)
{
    Brick* brick = AddBrick(100, -300);
    auto level = MakeLevel("{ timeAttack = { fallRate = 0.25, accel = 0, maxFallRate = 1 } }");
    std::vector<int> moved;
    double last = GeomY(brick);
    for (int tick = 1; tick <= 16; ++tick) {
        level->Update(&logic);
        if (GeomY(brick) != last)
            moved.push_back(tick);
        EXPECT_LE(GeomY(brick) - last, 1.0);
        last = GeomY(brick);
    }
    EXPECT_EQ(moved, (std::vector<int>{1, 4, 8, 12, 16}));
}

TEST_F(LevelMotionTest, TheTimeAttackRateGrowsToItsCapAndWithoutACapFallsAtItsRate)
{
    Brick* brick = AddBrick(100, -600);
    auto capped = MakeLevel("{ timeAttack = { fallRate = 0, accel = 0.5, maxFallRate = 2 } }");
    for (int tick = 0; tick < 10; ++tick)
        capped->Update(&logic);
    EXPECT_EQ(capped->GetTimeAttackRate(), 2.0);

    // No numeric cap: the field still falls, rate pixels a tick.
    auto uncapped = MakeLevel("{ timeAttack = { fallRate = 0.5 } }");
    const double start = GeomY(brick);
    for (int tick = 0; tick < 20; ++tick)
        uncapped->Update(&logic);
    EXPECT_GE(GeomY(brick) - start, 10.0);
    EXPECT_LE(GeomY(brick) - start, 11.0);
}

TEST_F(LevelMotionTest, ALostBallWindsTheTimeAttackBackUntilTheFieldIsAboveTheStopLine)
{
    auto still = MakeLevel("{}");
    still->StartTimeAttackRewind();
    EXPECT_EQ(still->GetTimeAttackRewind(), 0);

    Brick* brick = AddBrick(100, -300);
    auto level = MakeLevel("{ timeAttack = { fallRate = 1, accel = 0.1, maxFallRate = 3 } }");
    for (int tick = 0; tick < 5; ++tick)
        level->Update(&logic);
    const double fallen = GeomY(brick);
    const double rate = level->GetTimeAttackRate();
    level->StartTimeAttackRewind();
    EXPECT_EQ(level->GetTimeAttackRewind(), 30);
    level->Update(&logic);
    EXPECT_LT(GeomY(brick), fallen);             // climbed back
    EXPECT_LT(level->GetTimeAttackRate(), rate); // and slowed down
    EXPECT_EQ(level->GetTimeAttackRewind(), 0);  // every brick is above the stop line
}

TEST_F(LevelMotionTest, TheHiddenArtefactFallsAndClimbsBackWithTheTimeAttack)
{
    Brick* cover = AddBrick(100, -300);
    Actor* artefact = new Actor();
    artefact->SetPosition(100, -300);
    logic.SetArtefact(artefact);
    const double start = GeomY(cover);
    auto level = MakeLevel("{ timeAttack = { fallRate = 1, accel = 0.1, maxFallRate = 3 } }");
    for (int tick = 0; tick < 5; ++tick)
        level->Update(&logic);
    EXPECT_GT(artefact->GetY(), -300);
    EXPECT_EQ(artefact->GetY() + 300, int(GeomY(cover) - start));
    const int fallen = artefact->GetY();
    level->StartTimeAttackRewind();
    level->Update(&logic);
    EXPECT_LT(artefact->GetY(), fallen);
    EXPECT_EQ(artefact->GetY() + 300, int(GeomY(cover) - start));
    logic.SetArtefact(nullptr);
}

TEST_F(LevelMotionTest, BricksPastTheThresholdAreDestroyedAndAnEmptyFieldEndsTheAttack)
{
    Brick* low = AddBrick(100, 200);
    auto level = MakeLevel("{ timeAttack = { fallRate = 1, maxFallRate = 1, thresholdLines = 5, "
                           "endDestroy = true } }");
    level->Update(&logic);
    EXPECT_TRUE(low->IsDead());
    EXPECT_TRUE(level->IsTimeAttackEnded());

    // Without endDestroy a brick past the threshold stays.
    Brick* kept = AddBrick(100, 200);
    auto keep = MakeLevel("{ timeAttack = { fallRate = 1, maxFallRate = 1 } }");
    keep->Update(&logic);
    EXPECT_FALSE(kept->IsDead());
    kept->Kill();

    // The fall that ends the attack counts where it takes the bricks: past the threshold
    // (the brick falls to about 456, the threshold is 447), or past the face of the paddle.
    Paddle* paddle = root->Place(new Paddle(false, false));
    logic.GetPaddleGroup().Add(paddle);
    paddle->SetPosition(288, 416);
    for (const char* rate : {"64", "40"}) {
        SCOPED_TRACE(rate);
        Brick* last = AddBrick(100, 384);
        auto fall = MakeLevel(std::string("{ timeAttack = { fallRate = ") + rate +
                              ", maxFallRate = 64, thresholdLines = 25, stopY = 300, "
                              "endDestroy = true } }");
        fall->Update(&logic);
        EXPECT_TRUE(fall->IsTimeAttackEnded());
        EXPECT_TRUE(last->IsDead());
        passes.Step();
    }
}

// ---- Wind ----------------------------------------------------------------------------------

TEST_F(LevelMotionTest, OnlyABlowingWindIsHeardAndItsSoundStopsWithTheLevel)
{
    bbtest::SoundLog sounds;
    {
        auto still = MakeLevel("{ wind = { strength = 0, direction = { 1, 0 } } }");
        EXPECT_EQ(still->GetWindChannel(), 0u);
        EXPECT_EQ(sounds.Count("wind.ogg"), 0);
    }
    {
        auto windy = MakeLevel("{ wind = { strength = 10, direction = { 1, 0 } } }");
        EXPECT_NE(windy->GetWindChannel(), 0u);
        EXPECT_EQ(sounds.Count("wind.ogg"), 1);
        EXPECT_TRUE(Sound::IsPlaying("wind.ogg"));
    }
    EXPECT_FALSE(Sound::IsPlaying("wind.ogg"));
}

TEST_F(LevelMotionTest, TheWindBlowsAlongItsNormalisedDirectionAndIsPulledBackByAFixedLength)
{
    auto level = MakeLevel(
        "{ wind = { strength = 10, direction = { 3, 4 }, variance = 0, normalization = 0.5 } }");
    EXPECT_DOUBLE_EQ(level->GetWindForceX(), 6.0);
    EXPECT_DOUBLE_EQ(level->GetWindForceY(), 8.0);
    // At its set value exactly, the correction pushes x by the normalisation.
    level->TickWind(&logic);
    EXPECT_DOUBLE_EQ(level->GetWindForceX(), 6.5);
    EXPECT_DOUBLE_EQ(level->GetWindForceY(), 8.0);
    // Off its set value, it is pulled back by 0.5 along the way home (here: all of x).
    level->TickWind(&logic);
    EXPECT_NEAR(level->GetWindForceX(), 6.0, 1e-9);

    // A zero direction blows to the right.
    auto flat = MakeLevel("{ wind = { strength = 4, direction = { 0, 0 } } }");
    EXPECT_DOUBLE_EQ(flat->GetWindForceX(), 4.0);
    EXPECT_DOUBLE_EQ(flat->GetWindForceY(), 0.0);
}

TEST_F(LevelMotionTest, TheWindWandersWithinItsVarianceAndPushesBalls)
{
    MakoSrand(7);
    Ball* ball = AddBall(300, 300);
    auto level = MakeLevel(
        "{ wind = { strength = 20, direction = { 1, 0 }, variance = 3, normalization = 0 } }");
    double largest = 0.0;
    for (int tick = 0; tick < 200; ++tick) {
        const double x = level->GetWindForceX(), y = level->GetWindForceY();
        level->TickWind(&logic);
        const double moved = std::hypot(level->GetWindForceX() - x, level->GetWindForceY() - y);
        EXPECT_LE(moved, 3.0 + 1e-5);
        largest = std::max(largest, moved);
    }
    EXPECT_GT(largest, 1.5); // it does wander
    EXPECT_GE(level->GetWindSoundLevel(), 0.0);
    EXPECT_LE(level->GetWindSoundLevel(), 100.0);

    // A wind that wanders as far as a level may let it, never pulled back, still pushes no
    // harder than the field can play.
    auto gale = MakeLevel(
        "{ wind = { strength = 100, direction = { 1, 0 }, variance = 50, normalization = 0 } }");
    for (int tick = 0; tick < 2000; ++tick)
        gale->TickWind(&logic);
    EXPECT_LE(std::hypot(gale->GetWindForceX(), gale->GetWindForceY()),
              Level::kMostWindForce + 1e-9);

    ClearForce(ball);
    level->TickWind(&logic);
    double fx = 0.0, fy = 0.0;
    Force(ball, fx, fy);
    EXPECT_NEAR(fx, level->GetWindForceX() * Level::kWindOnBalls, 1e-3);
    EXPECT_NEAR(fy, level->GetWindForceY() * Level::kWindOnBalls, 1e-3);
}

// ---- Gravity -------------------------------------------------------------------------------

TEST_F(LevelMotionTest, PointGravityFallsOffWithDistanceAndStaysFiniteAtTheCentre)
{
    Ball* nearBall = AddBall(300, 300);
    double cx = 0.0, cy = 0.0;
    CentreOf(nearBall, cx, cy);
    const std::string centre =
        "{ " + std::to_string(int(cx) - 100) + ", " + std::to_string(int(cy)) + " }";

    struct Row
    {
        const char* decrease;
        double ratio; // near pull / pull twice as far
    };
    for (const Row& row : {Row{"'distanceSquared'", 4.0}, Row{"'distance'", 2.0},
                           Row{"'distanceSqrt'", std::sqrt(2.0)}, Row{"2", 4.0}, Row{"nil", 1.0}}) {
        SCOPED_TRACE(row.decrease);
        auto level = MakeLevel("{ gravity = { strength = 50, center = " + centre +
                               ", decreaseWith = " + row.decrease + " } }");
        ClearForce(nearBall);
        level->TickGravity(&logic);
        double nearX = 0.0, nearY = 0.0;
        Force(nearBall, nearX, nearY);
        EXPECT_LT(nearX, 0.0); // toward the centre, on the left
        EXPECT_NEAR(nearY, 0.0, 1e-6);

        nearBall->GetPhysicsBody()->SetPosition(cx + 100, cy);
        nearBall->SyncFromPhysics();
        ClearForce(nearBall);
        level->TickGravity(&logic);
        double farX = 0.0, farY = 0.0;
        Force(nearBall, farX, farY);
        EXPECT_NEAR(nearX / farX, row.ratio, 1e-3);
        nearBall->GetPhysicsBody()->SetPosition(cx, cy);
        nearBall->SyncFromPhysics();
    }

    // On the centre itself: the strength to the right, at a distance of one pixel.
    auto onTop =
        MakeLevel("{ gravity = { strength = 50, center = { " + std::to_string(int(cx)) + ", " +
                  std::to_string(int(cy)) + " }, decreaseWith = 'distanceSquared' } }");
    ClearForce(nearBall);
    onTop->TickGravity(&logic);
    double fx = 0.0, fy = 0.0;
    Force(nearBall, fx, fy);
    EXPECT_NEAR(fx, 50.0, 1e-6);
    EXPECT_NEAR(fy, 0.0, 1e-6);

    // The strongest pull a level may give, falling off as steeply as it may, a pixel from
    // the ball: no object feels more than the field can play.
    auto well =
        MakeLevel("{ gravity = { strength = 100000, center = { " + std::to_string(int(cx) + 1) +
                  ", " + std::to_string(int(cy)) + " }, decreaseWith = 3 } }");
    ClearForce(nearBall);
    well->TickGravity(&logic);
    Force(nearBall, fx, fy);
    EXPECT_NEAR(std::hypot(fx, fy), Level::kMostPull, 1e-3);
}

TEST_F(LevelMotionTest, DirectionalGravityPullsTheSameEverywhere)
{
    Ball* a = AddBall(40, 40);
    Ball* b = AddBall(500, 400);
    auto level = MakeLevel(
        "{ gravity = { strength = 5, direction = { 0, 2 }, decreaseWith = 'distanceSquared' } }");
    ClearForce(a);
    ClearForce(b);
    level->TickGravity(&logic);
    double ax = 0.0, ay = 0.0, bx = 0.0, by = 0.0;
    Force(a, ax, ay);
    Force(b, bx, by);
    EXPECT_NEAR(bx, 0.0, 1e-6);
    EXPECT_NEAR(by, 5.0, 1e-6);
    EXPECT_NEAR(ay, 5.0 * a->GetDensity() * a->GetDensity(), 1e-6);
}

TEST_F(LevelMotionTest, GravityAndWindLetGoOfABallAdriftUntilItStrikesSomethingAgain)
{
    // A pull or a wind away from the paddle must not hold a ball for ever in a corner of
    // the field where it touches only walls: after ten seconds without striking the paddle
    // or anything breakable, the ball is let go until it strikes again.
    Brick* brick = AddBrick(100, 100);
    const struct
    {
        const char* table;
        void (Level::*tick)(ArcadeGameLogic*);
    } rows[] = {{"{ gravity = { strength = 30, direction = { 0, -1 } } }", &Level::TickGravity},
                {"{ wind = { strength = 30, direction = { 0, -1 } } }", &Level::TickWind}};
    for (const auto& row : rows) {
        SCOPED_TRACE(row.table);
        Ball* ball = AddBall(320, 240);
        auto level = MakeLevel(row.table);
        auto pull = [&] {
            ClearForce(ball);
            ((*level).*row.tick)(&logic);
            double fx = 0.0, fy = 0.0;
            Force(ball, fx, fy);
            return fy;
        };
        passes.Step(Ball::kAdriftTicks - 1);
        EXPECT_LT(pull(), -1.0) << "just before it is adrift";
        passes.Step();
        EXPECT_TRUE(ball->IsAdrift());
        EXPECT_DOUBLE_EQ(0.0, pull()) << "adrift";
        ball->HandleCollision(&logic, brick, 116, 108, 0, -1, 0, false);
        EXPECT_LT(pull(), -1.0) << "after a brick";
        ball->Kill();
        passes.Step();
    }
}

TEST_F(LevelMotionTest, AServeAfterALongWaitIsPulledAtOnce)
{
    // Time on the paddle is no time adrift: a ball held longer than that is served into
    // the level's gravity like any other.
    Paddle* paddle = root->Place(new Paddle(false, false));
    Ball* ball = AddBall(332, 380);
    ball->AttachToPaddle(paddle, false);
    ball->PlaceOnPaddle();
    auto level = MakeLevel("{ gravity = { strength = 30, direction = { 0, -1 } } }");
    passes.Step(Ball::kAdriftTicks + 5);
    ball->ReleaseFromPaddle();
    passes.Step();
    EXPECT_FALSE(ball->IsAdrift());
    ClearForce(ball);
    level->TickGravity(&logic);
    double fx = 0.0, fy = 0.0;
    Force(ball, fx, fy);
    EXPECT_LT(fy, -1.0);
}

// The measured acceleration (pixels per second²) of an object between two moments.
struct Measure
{
    explicit Measure(const ArcadeStructure* o) : object(o), start(Velocity()) {}
    Vector2D Velocity() const { return object->GetPhysicsBody()->GetLinearVel(); }
    Vector2D Since(int passes) const { return (Velocity() - start) * (1.0 / (passes * 0.032)); }
    const ArcadeStructure* object;
    Vector2D start;
};

TEST_F(LevelMotionTest, TheWindAcceleratesPowerupsAndGoobersByItsConstantWhateverTheSubSteps)
{
    // A steady wind of 30 to the right (no wandering, no pull back).
    auto level = MakeLevel(
        "{ wind = { strength = 30, direction = { 1, 0 }, variance = 0, normalization = 0 } }");
    Powerup* coin = AddFloater<Powerup>("{class = 'BlingCoin'}", logic.GetPowerups(), 100, 100);
    Goober* goober = AddFloater<Goober>(
        "{class = 'Goober', resource = 'NormalGoober', randomWalk = 0, gravity = {0, 0}, "
        "speedLimit = 0}",
        logic.GetGoobers(), 100, 300);
    const double expected = 30.0 * Level::kWindOnFloaters;
    Play(*level, 2, 10);
    for (int subSteps : {10, 73, 20}) {
        const Measure onCoin(coin), onGoober(goober);
        Play(*level, 10, subSteps);
        EXPECT_NEAR(expected, onCoin.Since(10).x, expected * 0.01) << subSteps;
        EXPECT_NEAR(Powerup::GetGravity(), onCoin.Since(10).y, Powerup::GetGravity() * 0.01);
        EXPECT_NEAR(expected, onGoober.Since(10).x, expected * 0.01) << subSteps;
        EXPECT_NEAR(0.0, onGoober.Since(10).y, 1e-6);
    }
}

TEST_F(LevelMotionTest, AGravityWellAcceleratesPowerupsByItsStrengthWhateverTheSubSteps)
{
    // A well far to the left of the power-up, at its height, with no fall-off.
    auto level = MakeLevel(
        "{ gravity = { strength = 50, center = { -5000, 210 }, decreaseWith = 'none' } }");
    Powerup* gem = AddFloater<Powerup>("{class = 'BlingRuby'}", logic.GetPowerups(), 300, 200);
    Play(*level, 2, 10);
    for (int subSteps : {10, 200}) {
        const Measure onGem(gem);
        Play(*level, 10, subSteps);
        EXPECT_NEAR(-50.0, onGem.Since(10).x, 0.5) << subSteps;
        EXPECT_NEAR(Powerup::GetGravity(), onGem.Since(10).y, Powerup::GetGravity() * 0.01);
    }
}

} // namespace
