// Ball contacts: which contacts pass, loop detection and its escalation, flat-path kicks,
// the bounce effects of glue and the substances, springs, paddles and other balls, and the
// sounds all of these play.
#include "BallFixture.h"

#include "display/Image.h"
#include "field/Brick.h"
#include "physics/PhysicsGeom.h"
#include "scene/Motion.h"

#include <cmath>
#include <cstdio>
#include <regex>

using namespace fieldtest;

namespace {

class BallCollisionTest : public BallTest
{
protected:
    // A brick above the ball's path (for scripted contacts it need not touch the ball).
    Brick* AddBrick(int x, int y)
    {
        // A brick that bounces balls and does nothing to them: these tests watch the ball.
        struct InertBrick : Brick
        {
            void HandleCollision(ArcadeGameLogic*, ArcadeStructure*, double, double, double, double,
                                 double, bool) override
            {
            }
        };
        Brick* brick = new InertBrick();
        brick->SetStrength(-1);
        brick->SetRectangle(32, 16, false);
        brick->SetPosition(x, y);
        brick->SetCategoryBits(2);
        return root->Place(brick);
    }
    // One solid contact reported to the ball as the collision callback does, the normal
    // pointing towards the ball.
    void Touch(Ball* ball, ArcadeStructure* other, double nx, double ny, bool solid = true)
    {
        const Point<double> c = ball->GetGeom()->GetCenter();
        ball->HandleCollision(&logic, other, c.x - nx * 8, c.y - ny * 8, nx, ny, 0.5, solid);
    }
    void SetVelocity(Ball* ball, double vx, double vy)
    {
        ball->GetPhysicsBody()->SetLinearVel(vx, vy);
    }
    Vector2D Velocity(Ball* ball) { return ball->GetPhysicsBody()->GetLinearVel(); }

    // The deflection angles of the loop lines logged so far.
    static std::vector<double> LoopAngles(const std::string& log)
    {
        std::vector<double> angles;
        const std::regex line(
            "Ball: Loop detected\\.  Deflecting angle by (-?[0-9.]+) degrees\\.\n");
        for (std::sregex_iterator it(log.begin(), log.end(), line), end; it != end; ++it)
            angles.push_back(std::stod((*it)[1]));
        return angles;
    }
};

} // namespace

TEST_F(BallCollisionTest, ABallBouncingStraightBetweenTwoBricksIsDeflectedAfterFourContacts)
{
    bbtest::LogCapture log;
    // Bricks above and below; the ball bounces vertically between them.
    Brick* top = AddBrick(304, 100);
    Brick* bottom = AddBrick(304, 300);
    Ball* ball = AddBall(320, 200, 0, -400);
    int contacts = 0;
    std::size_t linesAtFourth = 0;
    ball->AddHitCallback([](ArcadeGameLogic*, ArcadeStructure* other, double, double, double,
                            double, double, void* count) { ++*static_cast<int*>(count); },
                         &contacts);
    std::size_t lines = 0;
    passes.StepUntil(
        [&] {
            if (contacts == 3)
                linesAtFourth = LoopAngles(log.Text()).size();
            lines = LoopAngles(log.Text()).size();
            return lines > 0;
        },
        400);
    EXPECT_EQ(0u, linesAtFourth) << "no line before the fourth contact";
    ASSERT_EQ(1u, lines);
    EXPECT_EQ(4, contacts);
    const double first = LoopAngles(log.Text())[0];
    EXPECT_LE(std::fabs(first), 2.0);
    // The ball now travels off the vertical by that angle.
    const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
    EXPECT_NEAR(std::fabs(first), std::atan2(std::fabs(v.x), std::fabs(v.y)) * 180 / M_PI, 1e-3);

    // Put back on the straight path, the next deflection ranges over twice as much.
    ball->GetPhysicsBody()->SetLinearVel(0, v.y);
    passes.StepUntil([&] { return LoopAngles(log.Text()).size() == 2; }, 400);
    ASSERT_EQ(2u, LoopAngles(log.Text()).size());
    EXPECT_LE(std::fabs(LoopAngles(log.Text())[1]), 4.0);
    EXPECT_EQ(2, ball->GetLoopEscalation());
    (void)top;
    (void)bottom;
}

TEST_F(BallCollisionTest, LoopCountingEscalatesResetsAndIgnoresMovingBricks)
{
    bbtest::LogCapture log;
    Ball* ball = AddBall(320, 300, 0, -300);
    Brick* brick = AddBrick(100, 100);
    ArcadeStructure* other = AddBox(500, 100, 20, 20); // not a brick or wall
    auto fourContacts = [&](ArcadeStructure* with) {
        for (int i = 0; i < 4; ++i) {
            SetVelocity(ball, 0, -300);
            Touch(ball, with, 0, 1);
        }
    };
    // Escalation: up to 2, 4, 6 degrees.
    for (int k = 1; k <= 3; ++k) {
        fourContacts(brick);
        ASSERT_EQ(std::size_t(k), LoopAngles(log.Text()).size());
        EXPECT_LE(std::fabs(LoopAngles(log.Text()).back()), 2.0 * k);
        EXPECT_EQ(k, ball->GetLoopEscalation());
    }
    // A slanted contact, or one with another kind of object, starts the count again.
    SetVelocity(ball, 0, -300);
    for (int i = 0; i < 3; ++i)
        Touch(ball, brick, 0, 1);
    SetVelocity(ball, 10, -300);
    Touch(ball, brick, 0, 1);
    SetVelocity(ball, 0, -300);
    for (int i = 0; i < 3; ++i)
        Touch(ball, brick, 0, 1);
    Touch(ball, other, 0, 1);
    EXPECT_EQ(3u, LoopAngles(log.Text()).size());
    // Contacts that pass through (not solid) never count.
    SetVelocity(ball, 0, -300);
    for (int i = 0; i < 6; ++i)
        Touch(ball, brick, 0, 1, false);
    EXPECT_EQ(3u, LoopAngles(log.Text()).size());
    // A brick whose motion runs never counts.
    brick->ApplyProperties(bbtest::EvalLua(
        "{motion = {class = 'MotionRelative', destination = {300, 0}, speed = 1}}"));
    ASSERT_TRUE(brick->GetMotion() && brick->GetMotion()->IsRunning());
    fourContacts(brick);
    EXPECT_EQ(3u, LoopAngles(log.Text()).size());
    brick->SetMotion(nullptr);
    // After 900 ticks without a deflection the range starts again at 2.
    Ball::SetLowEffects(true);
    for (int i = 0; i < 899; ++i)
        ball->Tick();
    EXPECT_EQ(3, ball->GetLoopEscalation());
    ball->Tick();
    Ball::SetLowEffects(false);
    EXPECT_EQ(0, ball->GetLoopEscalation());
    fourContacts(brick);
    EXPECT_EQ(1, ball->GetLoopEscalation());
}

TEST_F(BallCollisionTest, FlatPathsAreKickedTowardsTheirVerticalDirection)
{
    Ball* ball = AddBall(320, 300, 600, 100);
    Brick* brick = AddBrick(100, 100);
    struct Row
    {
        double vx, vy, lo, hi;
    };
    const Row rows[] = {{600, 100, 100, 130},    // |vx| = 6 |vy|: kicked on down
                        {600, -100, -130, -100}, // kicked on up
                        {600, 0, -30, 0},        // exactly flat: kicked up
                        {400, 100, 100, 100}};   // |vx| = 4 |vy|: left alone
    for (const Row& r : rows) {
        bool kicked = false;
        for (int i = 0; i < 20; ++i) {
            SetSpeedAndEnergy(ball, 2000, 1);
            SetVelocity(ball, r.vx, r.vy);
            Touch(ball, brick, 0, 1);
            const double vy = Velocity(ball).y;
            EXPECT_GE(vy, r.lo) << r.vx << ", " << r.vy;
            EXPECT_LE(vy, r.hi) << r.vx << ", " << r.vy;
            kicked = kicked || vy != r.vy;
        }
        EXPECT_EQ(r.lo != r.hi, kicked) << r.vx << ", " << r.vy;
    }
}

TEST_F(BallCollisionTest, GlueSlowsTheBallSplashesAndWearsOffAfterTwentyBounces)
{
    Ball* ball = AddBall(320, 300, 0, -400);
    Brick* brick = AddBrick(100, 100);
    ball->SetCorona("Glue");
    EXPECT_EQ(Ball::RetrieveBallImage("None", "None", 16, 0), ball->GetBallImage());
    EXPECT_EQ(20, ball->GetGlueCharges());
    SetSpeedAndEnergy(ball, 400, 0);
    Touch(ball, brick, 0, 1);
    EXPECT_NEAR(0.7 * 400 - 24, Velocity(ball).Length(), 1e-9);
    EXPECT_DOUBLE_EQ(400 - 8, ball->GetSpeed());
    // The splash and its burst go to the controller's emitters.
    EXPECT_EQ(2u, logic.emitters.GetMembers().size());
    SetVelocity(ball, 0, -40);
    Touch(ball, brick, 0, 1);
    EXPECT_NEAR(25, Velocity(ball).Length(), 1e-9);
    for (int i = 2; i < 20; ++i) {
        EXPECT_EQ("Glue", ball->GetCorona());
        Touch(ball, brick, 0, 1);
    }
    EXPECT_EQ("None", ball->GetCorona());
    passes.Step(20); // the splashes play out
}

TEST_F(BallCollisionTest, SubstancesBounceAndSoundTheirWayAtMostOncePerTenTicks)
{
    Ball* ball = AddBall(100, 300, 0, -300);
    Brick* brick = AddBrick(100, 100);
    bbtest::SoundLog sounds;
    ball->SetSubstance("Rubber", true);
    ball->SetSubstance("Rubber", true); // no change: no sound
    EXPECT_EQ(std::vector<std::string>{"rubber_start.ogg"}, sounds.Names());
    sounds.Clear();
    SetSpeedAndEnergy(ball, 300, 0);
    SetVelocity(ball, 0, -300);
    Touch(ball, brick, 0, 1);
    EXPECT_NEAR(300, Velocity(ball).Length(), 1e-9); // +60 after the world's step
    EXPECT_EQ(2, ball->GetEnergy());
    EXPECT_DOUBLE_EQ(300 + 80 + 4, ball->GetSpeed());
    passes.Step(); // the tick gives the 60 and steers 5 towards the speed
    EXPECT_NEAR(300 + 60 + 5, Velocity(ball).Length(), 1e-6);
    Touch(ball, brick, 0, 1);
    EXPECT_EQ(std::vector<std::string>{"rubber_bounce.ogg"}, sounds.Names());
    ASSERT_EQ(1u, sounds.Plays().size());
    EXPECT_EQ(ball->GetSoundPan(), sounds.Plays()[0].pan);
    passes.Step(10);
    Touch(ball, brick, 0, 1);
    EXPECT_EQ(2, sounds.Count("rubber_bounce.ogg"));

    const char* const kinds[][3] = {{"Air", "beachball_start.ogg", "beachball_bounce.ogg"},
                                    {"Lead", "lead_start.ogg", "lead_bounce.ogg"}};
    for (const auto& k : kinds) {
        Ball* b = AddBall(500, 300, 0, -300);
        sounds.Clear();
        b->SetSubstance(k[0], true);
        Touch(b, brick, 0, 1);
        Touch(b, brick, 0, 1);
        EXPECT_EQ((std::vector<std::string>{k[1], k[2]}), sounds.Names()) << k[0];
        EXPECT_EQ(-100 + int(500 * 0.3125), sounds.Plays()[1].pan);
    }
}

TEST_F(BallCollisionTest, CoronasSoundAndLightningStacks)
{
    Ball* ball = AddBall(320, 300, 0, -300);
    bbtest::SoundLog sounds;
    ball->SetCorona("Breakthru");
    ball->SetCorona("Breakthru");
    EXPECT_EQ(std::vector<std::string>{"Breakthru.ogg"}, sounds.Names());
    EXPECT_EQ(Ball::RetrieveBallImage("Breakthru", "None", 16, 0), ball->GetBallImage());
    sounds.Clear();
    for (int i = 0; i < 4; ++i)
        ball->SetCorona("Lightning");
    EXPECT_EQ(3, ball->GetLightningStrength());
    EXPECT_EQ(Ball::RetrieveBallImage("Lightning", "None", 16, 3), ball->GetBallImage());
    EXPECT_EQ(1, sounds.Count("LightningStart.ogg"));
    EXPECT_EQ(1, sounds.Count("LightningLoop.ogg"));
    // The lightning frames run with the ticks.
    passes.Step();
    const int frame = ball->GetFrame();
    passes.Step();
    EXPECT_EQ((frame + 1) % ball->GetBallImage()->GetNumFrames(), ball->GetFrame());
    // Striking a brick connects with a bolt and its sound.
    Brick* brick = AddBrick(100, 100);
    SetSpeedAndEnergy(ball, 300, 0);
    sounds.Clear();
    Touch(ball, brick, 0, 1);
    EXPECT_EQ(1, sounds.Count("LightningConnect.ogg"));
    // Any other corona ends it.
    ball->SetCorona("None");
    EXPECT_EQ(0, ball->GetLightningStrength());
    EXPECT_EQ(0, ball->GetFrame());
}

TEST_F(BallCollisionTest, WhatPassesThroughAndWhatBounces)
{
    Ball* ball = AddBall(320, 300, 0, -300, false);
    Brick* brick = AddBrick(100, 100);
    ArcadeStructure* wall = AddBox(500, 100, 20, 20);
    Paddle* paddle = new Paddle();
    paddle->SetRectangle(64, 12, false);
    paddle->SetPosition(288, 440);
    root->Place(paddle);
    Ball* other = AddBall(200, 300, 0, 300);
    // Inactive: bricks and walls are solid, paddles pass.
    EXPECT_FALSE(ball->AcceptsCollision(brick, 0, 0));
    EXPECT_FALSE(ball->AcceptsCollision(wall, 0, 0));
    EXPECT_TRUE(ball->AcceptsCollision(paddle, 0, 0));
    EXPECT_FALSE(ball->AcceptsCollision(other, 0, 0));
    ball->SetActive(true);
    EXPECT_TRUE(ball->AcceptsCollision(brick, 0, 0));
    EXPECT_FALSE(ball->AcceptsCollision(wall, 0, 0)); // strength 1
    ball->RaiseSpeedLevel(1);
    EXPECT_TRUE(ball->AcceptsCollision(wall, 0, 0)); // strength 2
    ball->LowerSpeedLevel(1);
    ball->SetCorona("Breakthru");
    EXPECT_TRUE(ball->AcceptsCollision(wall, 0, 0));

    // Touching the paddle activates an inactive ball and restores negative energy.
    gBallSpeed.extraSpeedUpwards = 30;
    Ball* idle = AddBall(400, 300, 0, 300, false);
    EXPECT_EQ(128, idle->GetAlpha()); // half transparent while inactive and free
    SetSpeedAndEnergy(idle, 200, -2);
    Touch(idle, paddle, 0, -1);
    EXPECT_TRUE(idle->IsActive());
    EXPECT_EQ(255, idle->GetAlpha());
    EXPECT_EQ(0, idle->GetEnergy());
    EXPECT_DOUBLE_EQ(200 + 30 + 40, idle->GetSpeed());
    Touch(idle, paddle, 0, -1); // the upward bonus only once
    EXPECT_DOUBLE_EQ(270, idle->GetSpeed());
    Touch(idle, brick, 0, 1); // withdrawn on the next brick
    EXPECT_DOUBLE_EQ(240, idle->GetSpeed());

    // Ball on ball: a bounce sound once per ten ticks and one level of energy shed.
    bbtest::SoundLog sounds;
    SetSpeedAndEnergy(other, 300, 2);
    Touch(other, idle, 1, 0);
    Touch(other, idle, 1, 0);
    EXPECT_EQ(std::vector<std::string>{"bounce2.ogg"}, sounds.Names());
    EXPECT_EQ(0, other->GetEnergy());
}

TEST_F(BallCollisionTest, SpringsPushTheBallOutAndFaster)
{
    Ball* ball = AddBall(320, 300, 0, -300);
    SetSpeedAndEnergy(ball, 300, 0);
    ball->SpringBounce(0, 1);
    EXPECT_DOUBLE_EQ(320, ball->GetSpeed());
    EXPECT_NEAR(-280 - 120, Velocity(ball).y, 1e-9); // pushed along the normal, then +120
    EXPECT_NEAR(0, Velocity(ball).x, 1e-9);
}

TEST_F(BallCollisionTest, AnInactiveBallStuckForThirtyTicksBreaksUp)
{
    // Pinned between two bricks that hold it still.
    Ball* ball = AddBall(320, 300, 0, 0, false);
    ActorLink<Ball> link;
    link.Set(ball);
    Brick* brick = AddBrick(100, 100);
    for (int tick = 0; tick < 29; ++tick) {
        Touch(ball, brick, 0, 1);
        passes.Step();
    }
    EXPECT_FALSE(ball->IsDead());
    Touch(ball, brick, 0, 1);
    passes.Step();
    EXPECT_EQ(nullptr, link.Get());
    // Its pieces: at least ten chunks of its image, from the controller's emitters.
    ASSERT_EQ(1u, logic.emitters.GetMembers().size());
    EXPECT_GE(logic.particles->GetChildren().size(), 10u);
    passes.Step(60);
}
