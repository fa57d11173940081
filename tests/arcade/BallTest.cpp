// Balls: speed, energy and size arithmetic, the count-down after a pause, paddle holding,
// splitting and script properties.
#include "BallFixture.h"

#include "core/Event.h"
#include "core/Log.h"
#include "core/Random.h"
#include "display/Image.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "support/MessageOf.h"
#include "support/engine/FieldWorld.h"
#include "widgets/Label.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace fieldtest;

TEST_F(BallTest, AddSpeedStaysBetweenTheLimitsTheEnergyAllows)
{
    struct Row
    {
        double start;
        int energy;
        double amount;
        bool counted;
        double speed;
        double energySpeed;
    };
    const Row rows[] = {
        {165, 0, 1000, false, 600, 0},  // energy below 1: the ordinary maximum
        {165, 1, 2000, false, 1200, 0}, // with energy: the real maximum
        {165, 0, -1000, false, 130, 0}, // never below the minimum
        {165, 0, 0, true, 165, 0},      // nothing at all for 0
        {165, 2, 100, true, 265, 100},  // counted changes are the energy's
        {590, 0, 100, true, 600, 10},   // only what was really added is counted
        {130, -3, 50, false, 180, 0},   // negative energy: the ordinary maximum
    };
    for (const Row& r : rows) {
        Ball* ball = new Ball();
        SetSpeedAndEnergy(ball, r.start, r.energy);
        ball->AddSpeed(r.amount, r.counted);
        EXPECT_DOUBLE_EQ(r.speed, ball->GetSpeed()) << r.start << " + " << r.amount;
        EXPECT_DOUBLE_EQ(r.energySpeed, EnergySpeedOf(ball)) << r.start << " + " << r.amount;
        delete ball;
    }
}

TEST_F(BallTest, EnergyLevelsRiseFallAndCapWithTheirSpeed)
{
    // From energy -2 to 3: two levels below zero at half worth (uncounted), three counted.
    Ball* ball = new Ball();
    SetSpeedAndEnergy(ball, 200, -2);
    ball->RaiseSpeedLevel(3);
    EXPECT_EQ(3, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(200 + 40 + 120, ball->GetSpeed());
    EXPECT_DOUBLE_EQ(120, EnergySpeedOf(ball));
    // A lower level never lowers.
    ball->RaiseSpeedLevel(1);
    EXPECT_EQ(3, ball->GetEnergy());
    // Lowering by 4 takes the three counted levels and one more at half worth.
    ball->LowerSpeedLevel(4);
    EXPECT_EQ(-1, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(200 + 40 - 20, ball->GetSpeed());
    EXPECT_DOUBLE_EQ(0, EnergySpeedOf(ball));
    delete ball;

    // Breakthru only lifts a negative energy to zero.
    ball = new Ball();
    ball->SetCorona("Breakthru");
    SetSpeedAndEnergy(ball, 200, -2);
    ball->RaiseSpeedLevel(5);
    EXPECT_EQ(0, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(240, ball->GetSpeed());
    delete ball;

    // Capping: 5 -> 3, 1 -> 0, -1 stays.
    const int caps[][2] = {{5, 3}, {1, 0}, {-1, -1}};
    for (const auto& c : caps) {
        ball = new Ball();
        SetSpeedAndEnergy(ball, 200, c[0]);
        ball->CapSpeedLevel(2);
        EXPECT_EQ(c[1], ball->GetEnergy()) << "from " << c[0];
        delete ball;
    }
}

TEST_F(BallTest, StrengthAndDensityFollowSizeAndSubstance)
{
    const int normal[] = {1, 1, 1, 2, 2, 3, 3};
    const int lead[] = {2, 2, 2, 3, 3, 5, 5};
    const int air[] = {1, 1, 1, 1, 1, 2, 3};
    for (int size = 0; size < 7; ++size) {
        Ball* ball = new Ball();
        ball->SetSize(BallRadii[size], BallRadii[size], size);
        EXPECT_EQ(normal[size], ball->GetBaseStrength()) << "size " << size;
        EXPECT_DOUBLE_EQ(BallRadii[size] / 8, ball->GetDensity());
        ball->SetSubstance("Lead", false);
        EXPECT_EQ(lead[size], ball->GetBaseStrength()) << "lead size " << size;
        EXPECT_DOUBLE_EQ(BallRadii[size] / 4, ball->GetDensity());
        ball->SetSubstance("Air", false);
        EXPECT_EQ(air[size], ball->GetBaseStrength()) << "air size " << size;
        delete ball;
    }
    // A lead ball of size 5 hits with 5 plus its energy.
    Ball* ball = new Ball();
    ball->SetSize(24, 24, 5);
    ball->SetSubstance("Lead", false);
    ball->RaiseSpeedLevel(2);
    EXPECT_EQ(7, ball->GetHitStrength());
    delete ball;

    // A normal-sized air ball hits with 1 about 35 times in 100, else with 0.
    MakoSrand(11);
    ball = new Ball();
    ball->SetSubstance("Air", false);
    int ones = 0;
    for (int i = 0; i < 2000; ++i) {
        const int s = ball->GetHitStrength();
        ASSERT_TRUE(s == 0 || s == 1);
        ones += s;
    }
    EXPECT_NEAR(0.35, ones / 2000.0, 0.04);
    delete ball;
}

TEST_F(BallTest, ASizeOutsideTheTableIsClampedAndLogged)
{
    bbtest::LogCapture log;
    Ball* ball = new Ball();
    ball->ApplyProperties(bbtest::EvalLua("{size = 9}"));
    EXPECT_EQ(6, ball->GetSizeIndex());
    EXPECT_DOUBLE_EQ(32, ball->GetRadius());
    ball->ApplyProperties(bbtest::EvalLua("{size = -3}"));
    EXPECT_EQ(0, ball->GetSizeIndex());
    EXPECT_DOUBLE_EQ(4, ball->GetRadius());
    // Numbers past any int and NaN are held like any other.
    ball->ApplyProperties(bbtest::EvalLua("{size = 2^31}"));
    EXPECT_EQ(6, ball->GetSizeIndex());
    ball->ApplyProperties(bbtest::EvalLua("{size = -1/0}"));
    EXPECT_EQ(0, ball->GetSizeIndex());
    ball->ApplyProperties(bbtest::EvalLua("{size = 3}"));
    ball->ApplyProperties(bbtest::EvalLua("{size = 0/0}"));
    EXPECT_EQ(0, ball->GetSizeIndex());
    ball->SetSize(8, 8, 12);
    EXPECT_EQ(6, ball->GetSizeIndex());
    EXPECT_NE(std::string::npos, log.Text().find("\"size\": 9 is outside 0 to 6; 6 is used"));
    EXPECT_NE(std::string::npos, log.Text().find("\"size\": -3 is outside 0 to 6; 0 is used"));
    EXPECT_NE(std::string::npos, log.Text().find("size index 12 is outside 0..6"));
    delete ball;
}

// A ball is round: a rectangle or polygon given to one is refused naming the key, so its
// size can always change its circle.
// A speed or velocity from data is a finite number: NaN and the infinities are refused
// naming the key. One of any finite size asks the world for no more sub-steps than it makes.
TEST_F(BallTest, ASpeedOrVelocityFromDataIsFinite)
{
    std::unique_ptr<Ball> ball(new Ball());
    for (const char* table : {"{speed = 1/0}", "{speed = 0/0}", "{addSpeed = -1/0}",
                              "{velocity = {0/0, 1}}", "{velocity = {1/0, 0}}"}) {
        const std::string message =
            bbtest::MessageOf([&] { ball->ApplyProperties(bbtest::EvalLua(table)); });
        EXPECT_NE(std::string::npos, message.find("a finite speed")) << table << "\n" << message;
        EXPECT_TRUE(std::isfinite(ball->GetSpeed())) << table;
    }
    Ball* fast = AddBall(100, 300, 0, 0);
    fast->ApplyProperties(bbtest::EvalLua("{velocity = {1e300, 1e300}}"));
    fast->ApplyProperties(bbtest::EvalLua("{activateBall = true}"));
    passes.Step(2);
}

TEST_F(BallTest, ABallTakesNoShapeButItsCircle)
{
    for (const char* table : {"{rectangle = {8, 8}}", "{polygon = {{0, 0}, {8, 0}, {0, 8}}}"}) {
        std::unique_ptr<Ball> ball(new Ball());
        const std::string message =
            bbtest::MessageOf([&] { ball->ApplyProperties(bbtest::EvalLua(table)); });
        EXPECT_NE(std::string::npos, message.find("a ball is round")) << table << "\n" << message;
        EXPECT_EQ(STRUCTURE_SHAPE_CIRCLE, ball->GetShape()) << table;
    }
}

TEST_F(BallTest, TheCountDownBeepsThreeTimesAndThenTheBallRegainsItsSpeed)
{
    Ball* ball = AddBall(100, 300, 200, -100);
    passes.Step(2);
    bbtest::SoundLog sounds;
    // The paused state disables the geometry and starts the count-down when play resumes.
    ball->GetGeom()->Disable();
    ball->StartCountDown();
    ASSERT_EQ(std::vector<std::string>{"Beep01.ogg"}, sounds.Names());
    EXPECT_EQ(ball->GetSoundPan(), sounds.Plays()[0].pan); // panned by the ball's place
    EXPECT_EQ(-64, sounds.Plays()[0].pan);
    const auto label = [&]() -> Label* {
        for (Actor* a : logic.extras.GetMembers())
            if (!a->IsDead())
                return dynamic_cast<Label*>(a);
        return nullptr;
    };
    ASSERT_NE(nullptr, label());
    EXPECT_EQ("3", label()->GetText());
    // The label sits centred above the ball.
    EXPECT_EQ(ball->GetY() + ball->GetHeight() / 2 - 8, label()->GetY() + label()->GetHeight());

    // Starting it again while it runs starts again at 3, with one label.
    passes.Step(10);
    ball->StartCountDown();
    EXPECT_EQ(3, ball->GetCountDown());
    passes.Step();
    int live = 0;
    for (Actor* a : logic.extras.GetMembers())
        live += a->IsDead() ? 0 : 1;
    EXPECT_EQ(1, live);

    // 750 ms on a frame-rate timer: a step every 24 passes of 32 ms (never early).
    const int two = 1 + passes.StepUntil([&] { return sounds.Count("Beep03.ogg") == 1; }, 40);
    EXPECT_EQ(24, two);
    EXPECT_EQ("2", label()->GetText());
    const int one = passes.StepUntil([&] { return sounds.Count("Beep24.ogg") == 1; }, 40);
    EXPECT_EQ(24, one);
    EXPECT_EQ("1", label()->GetText());
    EXPECT_FALSE(ball->GetGeom()->IsEnabled());
    const Point<double> frozen = ball->GetGeom()->GetCenter();
    const int go = passes.StepUntil([&] { return ball->GetCountDown() == 0; }, 40);
    EXPECT_EQ(24, go);
    EXPECT_EQ(nullptr, label());
    EXPECT_TRUE(ball->GetGeom()->IsEnabled());
    // It waited where it was; in the last pass it moved on at unit length.
    EXPECT_NEAR(frozen.x, ball->GetGeom()->GetCenter().x, 0.04);
    EXPECT_NEAR(frozen.y, ball->GetGeom()->GetCenter().y, 0.04);
    EXPECT_EQ((std::vector<std::string>{"Beep01.ogg", "Beep01.ogg", "Beep03.ogg", "Beep24.ogg"}),
              sounds.Names());
    // Released at unit length in the pass that ended the count-down, then 5 more per tick.
    EXPECT_NEAR(6.0, SpeedOf(ball), 1e-6);
    passes.Step();
    EXPECT_NEAR(11.0, SpeedOf(ball), 1e-6);
    passes.Step();
    EXPECT_NEAR(16.0, SpeedOf(ball), 1e-6);
    // Timer signals that are not its own leave the ball alone.
    EXPECT_FALSE(ball->OnTimer(MakeEvent(MAKO_TIMER, 0, IntToEventData(12345))));
}

TEST_F(BallTest, GrowingAndShrinkingSwitchTheImageAtOnceAndTheRadiusGradually)
{
    Ball* ball = AddBall(320, 300, 0, -200);
    passes.Step();
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 16, 0), ball->GetBallImage());
    ball->Grow();
    EXPECT_EQ(3, ball->GetSizeIndex());
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 24, 0), ball->GetBallImage());
    EXPECT_DOUBLE_EQ(8.0 / 12.0, ball->GetImageScale());
    EXPECT_EQ(2, ball->GetBaseStrength());
    for (int tick = 1; tick <= 16; ++tick) {
        passes.Step();
        EXPECT_DOUBLE_EQ(8 + 0.25 * tick, ball->GetRadius());
        EXPECT_DOUBLE_EQ((8 + 0.25 * tick) / 12.0, ball->GetImageScale());
    }
    EXPECT_EQ(24, ball->GetWidth());
    passes.Step(5);
    EXPECT_DOUBLE_EQ(12, ball->GetRadius());

    // Two sizes at once: the image leads the radius one size at a time.
    ball->Grow();
    ball->Grow();
    EXPECT_EQ(5, ball->GetSizeIndex());
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 32, 0), ball->GetBallImage());
    passes.Step(16);
    EXPECT_DOUBLE_EQ(16, ball->GetRadius());
    passes.Step();
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 48, 0), ball->GetBallImage());
    passes.Step(40);
    EXPECT_DOUBLE_EQ(24, ball->GetRadius());
    EXPECT_DOUBLE_EQ(1.0, ball->GetImageScale());

    // Shrinking from 12 to 8 shows the 16-pixel image scaled up.
    Ball* big = AddBall(200, 300, 0, 200);
    big->SetSize(12, 12, 3);
    passes.Step();
    big->Shrink();
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 16, 0), big->GetBallImage());
    EXPECT_DOUBLE_EQ(12.0 / 8.0, big->GetImageScale());
    passes.Step(16);
    EXPECT_DOUBLE_EQ(8, big->GetRadius());
    EXPECT_DOUBLE_EQ(1.0, big->GetImageScale());
    // Limits.
    for (int i = 0; i < 5; ++i)
        big->Shrink();
    EXPECT_EQ(0, big->GetSizeIndex());
}

TEST_F(BallTest, AHeldBallRidesThePaddleAndLeavesItAtItsSpeed)
{
    Paddle* paddle = new Paddle(false, false);
    paddle->SetRectangle(64, 12, false);
    paddle->SetPosition(288, 440);
    paddle->SetCategoryBits(16);
    root->Place(paddle);
    Ball* ball = new Ball(paddle);
    logic.AddBall(ball);
    EXPECT_TRUE(paddle->GetSkipNextHitCount());
    EXPECT_TRUE(paddle->GetHeldBalls().Contains(ball));
    EXPECT_EQ(paddle, ball->GetPaddle());
    EXPECT_FALSE(ball->IsActive());
    EXPECT_EQ(255, ball->GetAlpha()); // held: not half transparent
    EXPECT_EQ(0u, ball->GetCategoryBits());
    // On the paddle's top face, centred.
    EXPECT_EQ(Point<double>(0, -14), ball->GetPaddleOffset());
    passes.Step(3);
    paddle->GetGeom()->SetPosition(200.0, 446.0);
    passes.Step();
    EXPECT_EQ(Point<double>(200, 432), ball->GetGeom()->GetCenter());

    SetSpeedAndEnergy(ball, 300, 0);
    ball->GetPhysicsBody()->SetLinearVel(0, -1);
    ball->ReleaseFromPaddle();
    EXPECT_EQ(nullptr, ball->GetPaddle());
    EXPECT_FALSE(paddle->GetHeldBalls().Contains(ball));
    EXPECT_EQ(6, paddle->GetCatchCooldown());
    EXPECT_TRUE(ball->IsActive());
    EXPECT_EQ(1u, ball->GetCategoryBits());
    EXPECT_EQ(219u, ball->GetCollideBits());
    EXPECT_NEAR(432.01, ball->GetGeom()->GetCenter().y, 1e-9); // nudged along the swing axis
    EXPECT_NEAR(300, SpeedOf(ball), 1e-9);

    // A ball forgets a paddle that is killed.
    Ball* second = new Ball(paddle);
    logic.AddBall(second);
    paddle->Kill();
    EXPECT_EQ(nullptr, second->GetPaddle());
    passes.Step(2);
}

TEST_F(BallTest, ASplitBallCopiesTheStateAndKeepsItsOwnSpeedLimits)
{
    Ball* ball = AddBall(320, 300, 100, -200);
    ball->SetSubstance("Rubber", false);
    ball->SetCorona("Lightning");
    ball->SetCorona("Lightning");
    ball->SetSize(12, 16, 4);
    SetSpeedAndEnergy(ball, 900, 0);
    Ball* copy = ball->Split();
    logic.AddBall(copy);
    EXPECT_EQ("Rubber", copy->GetSubstance());
    EXPECT_EQ("Lightning", copy->GetCorona());
    EXPECT_EQ(2, copy->GetLightningStrength());
    EXPECT_DOUBLE_EQ(12, copy->GetRadius());
    EXPECT_DOUBLE_EQ(16, copy->GetTargetRadius());
    EXPECT_EQ(4, copy->GetSizeIndex());
    EXPECT_DOUBLE_EQ(600, copy->GetSpeed()); // energy 0: the ordinary maximum
    EXPECT_TRUE(copy->IsActive());
    EXPECT_EQ(ball->GetGeom()->GetCenter(), copy->GetGeom()->GetCenter());
    EXPECT_NEAR(SpeedOf(ball), SpeedOf(copy), 1e-9);
}

TEST_F(BallTest, ScriptPropertiesSetAndReadTheBall)
{
    gBallSpeed.maxBallSpeed = 1000;
    Ball* ball = new Ball();
    ball->ApplyProperties(
        bbtest::EvalLua("{substance = 'Lead', corona = 'Breakthru', size = 3, activateBall = true,"
                        " velocity = {3000, 0}, position = {100, 200}}"));
    EXPECT_EQ("Lead", ball->GetSubstance());
    EXPECT_EQ("Breakthru", ball->GetCorona());
    EXPECT_DOUBLE_EQ(12, ball->GetRadius());
    EXPECT_TRUE(ball->IsActive());
    EXPECT_DOUBLE_EQ(1000, ball->GetSpeed()); // the velocity's length, clamped
    ball->ApplyProperties(bbtest::EvalLua("{speed = 5000}"));
    EXPECT_DOUBLE_EQ(5000, ball->GetSpeed()); // unclamped
    ball->ApplyProperties(bbtest::EvalLua("{addSpeed = -10000}"));
    EXPECT_DOUBLE_EQ(130, ball->GetSpeed());
    LuaPlus::LuaObject table = bbtest::EvalLua("{}");
    ball->RetrieveProperties(table);
    EXPECT_STREQ("Lead", table["substance"].GetString());
    EXPECT_EQ(3, table["size"].GetInteger());
    EXPECT_TRUE(table["activateBall"].GetBoolean());
    EXPECT_DOUBLE_EQ(3000, table["velocity"]["x"].GetNumber());
    EXPECT_TRUE(table["corona"].IsNil());
    // Placed where the properties say (the actor's rectangle holds the 36-pixel corona):
    // the body is built there.
    logic.AddBall(ball);
    EXPECT_EQ(Point<double>(100 + 18, 200 + 18), ball->GetGeom()->GetCenter());
    EXPECT_NEAR(3000, SpeedOf(ball), 1e-9);

    // Level tables override the globals; a missing key takes the global.
    // (A game played before sets the default for its skill.)
    GetGlobalLuaState()->DoString("defaultMaxBallSpeed = 1500 defaultAddSpeedPerTick = 0.07");
    gBallSpeed.ReadFrom(bbtest::EvalLua("{initalBallSpeed = 200, rubberSpeed = 'fast'}"));
    EXPECT_DOUBLE_EQ(200, gBallSpeed.initialBallSpeed);
    EXPECT_DOUBLE_EQ(1500, gBallSpeed.maxBallSpeed);
    EXPECT_DOUBLE_EQ(4, gBallSpeed.rubberSpeed); // not a number: kept
    EXPECT_DOUBLE_EQ(0.07, gBallSpeed.addSpeedPerTick);
    GetGlobalLuaState()->DoString("defaultMaxBallSpeed = 1200");
}

TEST_F(BallTest, RegulationKeepsBallsInAWalledFieldWithinTheirLimits)
{
    Ball::SetLowEffects(true);
    AddBox(0, 0, 16, 480);
    AddBox(624, 0, 16, 480);
    AddBox(0, 20, 640, 16);
    AddBox(0, 470, 640, 16);
    std::vector<Ball*> balls = {AddBall(100, 100, 300, 250), AddBall(400, 300, -900, 40),
                                AddBall(300, 400, 10, -20)};
    SetSpeedAndEnergy(balls[1], 165, 6); // overdrive up to the maximum
    double slowest = 1e9, fastest = 0;
    for (int tick = 0; tick < 10000; ++tick) {
        passes.Step();
        for (Ball* b : balls) {
            ASSERT_GE(b->GetSpeed(), gBallSpeed.minBallSpeed);
            ASSERT_LE(b->GetSpeed(), gBallSpeed.maxBallSpeed);
            const double v = SpeedOf(b);
            if (tick > 100) {
                slowest = std::min(slowest, v);
                fastest = std::max(fastest, v);
                ASSERT_LE(v, 3 * b->GetSpeed() + 50) << "tick " << tick;
            }
            const Point<double> c = b->GetGeom()->GetCenter();
            ASSERT_TRUE(c.x > 16 && c.x < 624 && c.y > 36 && c.y < 470) << "tick " << tick;
        }
        passes.DeleteDeadActors();
    }
    Ball::SetLowEffects(false);
    // Balls striking each other may trade speed; the regulation brings it back within the
    // limits (the fastest: the maximum, plus what one tick's kick may add).
    EXPECT_GT(slowest, 0.0);
    EXPECT_LE(fastest, gBallSpeed.maxBallSpeed + 30);
}

TEST_F(BallTest, OverdriveAcceleratesAndSheddingSlowsTheBallItself)
{
    Ball::SetLowEffects(true);
    // Above energy 4 a free, active ball speeds up by 1, 2, 3 ... per tick (plus the
    // per-tick gain), counted as the energy's.
    Ball* ball = AddBall(320, 240, 0, -300);
    SetSpeedAndEnergy(ball, 300, 5);
    passes.Step();
    EXPECT_NEAR(300 + 0.07 + 1, ball->GetSpeed(), 1e-9);
    passes.Step();
    EXPECT_NEAR(300 + 0.14 + 1 + 2, ball->GetSpeed(), 1e-9);
    EXPECT_NEAR(3, EnergySpeedOf(ball), 1e-9);
    // Lowering the level ends the overdrive; the counted part becomes the remaining
    // energy's worth (4 x 40 in place of the 3 the overdrive had counted).
    ball->LowerSpeedLevel(1);
    EXPECT_EQ(4, ball->GetEnergy());
    EXPECT_NEAR(300 + 0.14 + 4 * 40, ball->GetSpeed(), 1e-9);
    EXPECT_NEAR(160, EnergySpeedOf(ball), 1e-9);
    passes.Step();
    const double settled = ball->GetSpeed();
    passes.Step();
    EXPECT_NEAR(settled + 0.07, ball->GetSpeed(), 1e-9);

    // Shedding below what the base strength allows slows the body, never below its
    // target speed.
    Ball* slow = AddBall(100, 240, 0, -500);
    SetSpeedAndEnergy(slow, 300, 0);
    slow->ShedEnergy(2);
    EXPECT_EQ(0, slow->GetEnergy()); // base strength 1 keeps energy at 0
    EXPECT_NEAR(500 - 0.5 * 40 * 2, SpeedOf(slow), 1e-9);
    slow->GetPhysicsBody()->SetLinearVel(0, -310);
    slow->ShedEnergy(2);
    EXPECT_NEAR(300, SpeedOf(slow), 1e-9);

    // Raising the level along a direction pushes the ball that way.
    Ball* pushed = AddBall(500, 240, 0, -200);
    SetSpeedAndEnergy(pushed, 200, 0);
    pushed->RaiseSpeedLevelAlong(2, 3, 4);
    EXPECT_DOUBLE_EQ(280, pushed->GetSpeed());
    EXPECT_NEAR(0.6 * 80, pushed->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    EXPECT_NEAR(-200 + 0.8 * 80, pushed->GetPhysicsBody()->GetLinearVel().y, 1e-9);
    Ball::SetLowEffects(false);
}
