// What the paddle's contacts mean: deflection by where a ball strikes, power and its
// effects, debounce, passing through the back, catching, blocking bricks and walls, and
// the shatter.
#include "PaddleScene.h"

#include <cmath>

using namespace fieldtest;

namespace {

class PaddleImpactTest : public PaddleTest
{
protected:
    // A ball at rest beside the contact point, moving at (vx, vy), whose last paddle hit is
    // long past.
    Ball* BallAt(double x, double y, double vx, double vy)
    {
        Ball* ball = AddBall(x, y, vx, vy);
        ball->m_TicksSincePaddleHit = 1000;
        return ball;
    }
    // The paddle's contact with the ball at (x, y); the normal points out of the face.
    static void Hit(Paddle* paddle, Ball* ball, double x, double y, double nx, double ny,
                    RecordingLogic* logic)
    {
        paddle->HandleCollision(logic, ball, x, y, nx, ny, 0.5, true);
    }
    // A structure of that name in the field.
    ArcadeStructure* Named(ArcadeStructure* structure, const std::string& name)
    {
        structure->ApplyStringProperty("name", name);
        root->AddChild(structure, name);
        structure->UpdatePhysics(&root->world);
        return structure;
    }
    static Vector2D Velocity(Ball* ball) { return ball->GetPhysicsBody()->GetLinearVel(); }
};

struct Deflection
{
    const char* where;
    double x, y;   // contact point
    double ux, uy; // expected direction of the new velocity
};

} // namespace

TEST_F(PaddleImpactTest, BallsLeaveByWhereTheyStruckEightyFasterAndFasterStillInASwing)
{
    const double s = 200.0, out = s + 80.0;
    const double c60 = 0.5, s60 = std::sqrt(3.0) / 2, c30 = s60, s30 = 0.5;
    // Bottom paddle: x 300..364, face at y 400.
    const Deflection bottom[] = {{"centre", 332, 400, 0, -1},
                                 {"left end", 300, 400, -s60, -c60},
                                 {"right end", 364, 400, s60, -c60},
                                 {"left quarter", 316, 400, -s30, -c30},
                                 {"beyond the end", 290, 404, -s60, -c60}};
    PaddleProbe* paddle = AddPaddle();
    for (const Deflection& d : bottom) {
        Ball* ball = BallAt(d.x, d.y - 8, 0, s);
        Hit(paddle, ball, d.x, d.y, 0, 1, &logic);
        EXPECT_NEAR(d.ux * out, Velocity(ball).x, 0.05) << d.where;
        EXPECT_NEAR(d.uy * out, Velocity(ball).y, 0.05) << d.where;
        ball->Kill();
    }

    // During a swing the same hit is 20 per cent faster.
    paddle->Press();
    ASSERT_EQ(Paddle::SwingStroke, paddle->GetSwingState());
    paddle->SetPowerForTest(0);
    Ball* swung = BallAt(300, 392, 0, s);
    Hit(paddle, swung, 300, 400, 0, 1, &logic);
    EXPECT_NEAR(-s60 * out * 1.2, Velocity(swung).x, 0.05);
    EXPECT_NEAR(-c60 * out * 1.2, Velocity(swung).y, 0.05);

    // The other edges send balls into the field, towards the end that was struck.
    struct Placement
    {
        bool vertical, facePositive;
        Deflection centre, end;
    };
    const Placement placements[] = {
        // Top paddle: x 300..364, face at y 56.
        {false, true, {"top centre", 332, 56, 0, 1}, {"top left end", 300, 56, -s60, c60}},
        // Right paddle: centre (612, 208), length along y 176..240, face at x 604.
        {true, false, {"right centre", 604, 208, -1, 0}, {"right upper end", 604, 176, -c60, -s60}},
        // Left paddle: centre (52, 208), face at x 60.
        {true, true, {"left centre", 60, 208, 1, 0}, {"left upper end", 60, 176, c60, -s60}},
    };
    for (const Placement& p : placements) {
        PaddleProbe* edge = AddPaddle(p.vertical, p.facePositive);
        for (const Deflection& d : {p.centre, p.end}) {
            Ball* ball = BallAt(d.x - 8 * d.ux, d.y - 8 * d.uy, -s * d.ux, -s * d.uy);
            Hit(edge, ball, d.x, d.y, d.ux, d.uy, &logic);
            EXPECT_NEAR(d.ux * out, Velocity(ball).x, 0.05) << d.where;
            EXPECT_NEAR(d.uy * out, Velocity(ball).y, 0.05) << d.where;
            ball->Kill();
        }
        edge->Kill();
    }
}

TEST_F(PaddleImpactTest, PowerSpeedsTheBallUpAndSpraysFromOneWholeUnit)
{
    const double s = 200.0, out = s + 80.0;
    struct Case
    {
        double power;
        int whackVolume;
        std::size_t emitters;
    };
    // Whole units of power spray twice; the whack sound follows the power.
    const Case cases[] = {{0.0, 0, 0}, {0.5, 5, 0}, {1.0, 10, 2}, {2.5, 25, 2}, {12.0, 100, 2}};
    PaddleProbe* paddle = AddPaddle();
    for (const Case& c : cases) {
        logic.emitters.KillAll();
        passes.Step();
        sounds.Clear();
        paddle->SetPowerForTest(c.power);
        Ball* ball = BallAt(332, 392, 0, s);
        Hit(paddle, ball, 332, 400, 0, 1, &logic);
        const double expected = out + c.power * gBallSpeed.speedPerEnergy * 1.5;
        EXPECT_NEAR(expected, Velocity(ball).Length(), 0.05) << c.power;
        EXPECT_NEAR(0.0, Velocity(ball).x, 0.05) << c.power;
        EXPECT_EQ(c.emitters, logic.emitters.GetMembers().size()) << c.power;
        ASSERT_EQ((std::vector<std::string>{"hitBall.ogg", "whackBall.ogg"}), sounds.Names())
            << c.power;
        EXPECT_EQ(c.whackVolume, sounds.Plays()[1].volume) << c.power;
        ball->Kill();
    }
    // No prompts outside strokes.
    EXPECT_TRUE(logic.prompts.empty());
}

TEST_F(PaddleImpactTest, ContactsAreCountedOnceAndTheBackLetsBallsThrough)
{
    PaddleProbe* paddle = AddPaddle();
    Ball* ball = BallAt(332, 392, 0, 200);
    paddle->SetSkipNextHitCount(true);
    Hit(paddle, ball, 332, 400, 0, 1, &logic);
    EXPECT_EQ(0, logic.paddleHits); // the placed ball's first hit is not counted
    EXPECT_FALSE(paddle->GetSkipNextHitCount());

    // A second contact within 6 ticks does nothing; one after 6 ticks counts.
    ball->GetPhysicsBody()->SetLinearVel(0, 200);
    ball->m_TicksSincePaddleHit = 5;
    Hit(paddle, ball, 332, 400, 0, 1, &logic);
    EXPECT_EQ(0, logic.paddleHits);
    EXPECT_NEAR(200.0, Velocity(ball).y, 1e-6);
    ball->m_TicksSincePaddleHit = 6;
    Hit(paddle, ball, 332, 400, 0, 1, &logic);
    EXPECT_EQ(1, logic.paddleHits);
    EXPECT_NEAR(-280.0, Velocity(ball).y, 0.05);

    // From behind: the ball passes while the contact lasts, and is never deflected.
    Ball* behind = BallAt(332, 424, 0, -200);
    EXPECT_FALSE(paddle->AcceptsCollision(behind, 332, 408)); // inside, no side reached
    Hit(paddle, behind, 332, 416, 0, -1, &logic);
    EXPECT_TRUE(behind->m_PaddlePass);
    EXPECT_TRUE(paddle->AcceptsCollision(behind, 340, 405));
    Hit(paddle, behind, 340, 400, 0, 1, &logic); // now touching the face from inside
    EXPECT_NEAR(-200.0, Velocity(behind).y, 1e-6);
    EXPECT_EQ(1, logic.paddleHits);
    // A tick without contact ends the pass.
    behind->GetPhysicsBody()->SetPosition(332, 300);
    passes.Step();
    passes.Step();
    EXPECT_FALSE(behind->m_PaddlePass);
}

TEST_F(PaddleImpactTest, CatchingHoldsBallsOnlyAtRestAndAfterTheCooldown)
{
    PaddleProbe* paddle = AddPaddle();
    paddle->SetCatch(true);

    // During a stroke the ball is struck, not caught.
    paddle->Press();
    Ball* struck = BallAt(332, 392, 0, 200);
    Hit(paddle, struck, 332, 400, 0, 1, &logic);
    EXPECT_EQ(nullptr, struck->GetPaddle());
    EXPECT_EQ(0, sounds.Count("paddleCatch.ogg"));
    paddle->Release();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingIdle; }, 50);
    // The stroke's sweet spot launched (nothing), which blocks catching for 6 ticks.
    EXPECT_GT(paddle->GetCatchCooldown(), 0);
    passes.Step(6);

    // At rest the face catches it.
    Ball* caught = BallAt(340, 392, 0, 200);
    Hit(paddle, caught, 340, 400, 0, 1, &logic);
    EXPECT_EQ(paddle, caught->GetPaddle());
    EXPECT_EQ(1, sounds.Count("paddleCatch.ogg"));
    EXPECT_EQ(1u, paddle->GetHeldBalls().GetMembers().size());

    // Switching catch off lets it go, and for 6 ticks nothing is caught.
    paddle->SetCatch(false);
    EXPECT_EQ(nullptr, caught->GetPaddle());
    paddle->SetCatch(true);
    EXPECT_EQ(6, paddle->GetCatchCooldown());
    Ball* early = BallAt(320, 392, 0, 200);
    Hit(paddle, early, 320, 400, 0, 1, &logic);
    EXPECT_EQ(nullptr, early->GetPaddle());

    // Killing the paddle kills what it holds.
    passes.Step(6);
    Ball* held = BallAt(332, 392, 0, 200);
    Hit(paddle, held, 332, 400, 0, 1, &logic);
    ASSERT_EQ(paddle, held->GetPaddle());
    paddle->Kill();
    EXPECT_TRUE(held->IsDead());
}

TEST_F(PaddleImpactTest, BlocksAndWallsStopThePaddleOnEitherAxis)
{
    // A horizontal paddle sliding left into a block: put beside it, its leftward speed
    // gone, its rightward speed kept.
    PaddleProbe* paddle = AddPaddle();
    paddle->OnPaddleUpdate(Event());
    ArcadeStructure* block = root->Place(MakeBox(260, 396, 48, 24));
    paddle->GetPhysicsBody()->SetLinearVel(-300, 0);
    // A plain structure is neither a brick nor a wall: its contact leaves the paddle alone.
    paddle->HandleCollision(&logic, block, 305, 408, 1, 0, 3, false);
    EXPECT_EQ(300, paddle->GetX());
    EXPECT_NEAR(-300.0, paddle->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    paddle->HitBlock(block, 305, 408, 1, 0, 3);
    EXPECT_EQ(308, paddle->GetX());
    EXPECT_NEAR(0.0, paddle->GetPhysicsBody()->GetLinearVel().x, 1e-9);

    // A vertical paddle moving up into a block above it is put below it, mirrored.
    PaddleProbe* right = AddPaddle(true, false);
    right->OnPaddleUpdate(Event());
    ArcadeStructure* over = root->Place(MakeBox(600, 140, 24, 40));
    right->GetPhysicsBody()->SetLinearVel(0, -300);
    right->HitBlock(over, 612, 178, 0, 1, 2);
    const double top = right->GetPhysicsBody()->GetPosition().y - 32;
    EXPECT_NEAR(180.0, top, 1e-6);
    EXPECT_NEAR(0.0, right->GetPhysicsBody()->GetLinearVel().y, 1e-9);

    // A bottom paddle stroking into a block in front of it stops its stroke.
    ArcadeStructure* front = root->Place(MakeBox(316, 380, 32, 16));
    paddle->GetPhysicsBody()->SetPosition(332, 405);
    paddle->Press();
    paddle->HitBlock(front, 332, 396, 0, 1, 1);
    EXPECT_EQ(0.0, paddle->GetSwingSpeed());
    EXPECT_NEAR(406.01, paddle->GetPhysicsBody()->GetPosition().y, 1e-6);

    // The side walls: the paddle stays inside them.
    ArcadeStructure* wall = Named(MakeBox(0, 0, 20, 480), "LeftWall");
    paddle->GetPhysicsBody()->SetPosition(40, 408);
    paddle->GetPhysicsBody()->SetLinearVel(-100, 0);
    paddle->HitWall(wall);
    EXPECT_EQ(20, paddle->GetX());
    EXPECT_NEAR(0.0, paddle->GetPhysicsBody()->GetLinearVel().x, 1e-9);
    ArcadeStructure* bottomWall = Named(MakeBox(0, 460, 640, 20), "BottomWall");
    right->GetPhysicsBody()->SetLinearVel(0, 50);
    right->HitWall(bottomWall);
    EXPECT_NEAR(460.0 - 32, right->GetPhysicsBody()->GetPosition().y, 1e-6);
    EXPECT_NEAR(0.0, right->GetPhysicsBody()->GetLinearVel().y, 1e-9);
}

TEST_F(PaddleImpactTest, AShatteredPaddleBreaksIntoPiecesOfItsPicture)
{
    PaddleProbe* paddle = AddPaddle();
    paddle->Shatter();
    EXPECT_TRUE(paddle->IsDead());
    EXPECT_EQ(1, sounds.Count("Paddle Shatter.ogg"));
    ASSERT_EQ(1u, logic.emitters.GetMembers().size());
    auto* pieces = static_cast<ParticleEmitter*>(logic.emitters.GetMembers().front());
    EXPECT_EQ(64 * 16 / 40, pieces->GetNumParticles());
    EXPECT_EQ(64 * 16 / 40, int(logic.particles->GetChildren().size()));

    // Until the pass ends, what the controller may still ask of the dead paddle does not
    // reach its lost parts, and the button does nothing.
    paddle->AddPower(1.0);
    paddle->SetLaser(true);
    paddle->Press();
    EXPECT_EQ(Paddle::SwingIdle, paddle->GetSwingState());
}

TEST_F(PaddleImpactTest, InTheWorldTheMouseSlidesThePaddleAndAFallingBallIsSentBack)
{
    PaddleProbe* paddle = AddPaddle();
    // Mouse motion gathers until the per-frame update turns it into a sliding velocity.
    paddle->OnPointerMove(
        MakeEvent(ARCADE_POINTERMOVE, 0, reinterpret_cast<void*>(3), reinterpret_cast<void*>(-7)));
    paddle->OnPointerMove(MakeEvent(ARCADE_POINTERMOVE, 0, reinterpret_cast<void*>(5), nullptr));
    paddle->OnPaddleUpdate(MakeEvent(ARCADE_PADDLEUPDATE));
    EXPECT_NEAR(8 / 0.032, paddle->GetPhysicsBody()->GetLinearVel().x, 1e-6);
    EXPECT_NEAR(0.0, paddle->GetPhysicsBody()->GetLinearVel().y, 1e-6);
    passes.Step();
    EXPECT_EQ(308, paddle->GetX());
    EXPECT_EQ(400, paddle->GetY());
    paddle->OnPaddleUpdate(MakeEvent(ARCADE_PADDLEUPDATE));
    passes.Step();
    EXPECT_EQ(308, paddle->GetX());

    // A ball dropping on its centre goes back up, faster, and the hit is counted once.
    Ball* ball = AddBall(340, 300, 0, 250);
    ball->SetActive(true);
    const int n = passes.StepUntil([&] { return Velocity(ball).y < 0; }, 60);
    ASSERT_LT(n, 60);
    EXPECT_NEAR(0.0, Velocity(ball).x, 1.0);
    EXPECT_GT(-Velocity(ball).y, 250.0) << Velocity(ball).y;
    passes.Step(3);
    EXPECT_EQ(1, logic.paddleHits);
    EXPECT_EQ(1, sounds.Count("hitBall.ogg"));
    EXPECT_EQ(400, paddle->GetY()); // the ball did not push the paddle

    // With catch on, a falling ball is held resting on the face, not sunk into it.
    passes.Step(10);
    paddle->SetCatch(true);
    Ball* caught = AddBall(316, 300, 0, 400);
    caught->SetActive(true);
    passes.StepUntil([&] { return caught->GetPaddle() != nullptr; }, 60);
    ASSERT_EQ(paddle, caught->GetPaddle());
    EXPECT_EQ(1, sounds.Count("paddleCatch.ogg"));
    const double bottom = caught->GetPhysicsBody()->GetPosition().y + caught->GetRadius();
    EXPECT_LE(bottom, 400.5);
    EXPECT_GE(bottom, 396.0);
}

TEST_F(PaddleImpactTest, SweetSpotHitsFlashPromptAndAnnounceThemselves)
{
    PaddleProbe* paddle = AddPaddle();
    // A swing's sweet spot: the small flash, the click and power-hit prompts.
    paddle->Press();
    passes.StepUntil([&] { return paddle->IsSweetSpotHit(); }, 10);
    ASSERT_EQ(Paddle::SwingFollowThrough, paddle->GetSwingState());
    const double swingPower = paddle->GetPower();
    sounds.Clear();
    Ball* ball = BallAt(332, 392, 0, 200);
    Hit(paddle, ball, 332, 400, 0, 1, &logic);
    EXPECT_EQ(3u, logic.emitters.GetMembers().size()); // two sprays and the flash
    EXPECT_EQ((std::vector<std::string>{"click.check", "powerhit.check"}), logic.prompts);
    EXPECT_EQ((std::vector<std::string>{"Power Hit!"}), logic.messages);
    EXPECT_EQ((std::vector<std::string>{"hitBall.ogg", "whackBall.ogg", "paddleSweetSpotHit.ogg"}),
              sounds.Names());
    EXPECT_EQ(int(swingPower * 10), sounds.Plays()[1].volume);
    paddle->Release();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::SwingIdle; }, 50);

    // A whack's sweet spot (after the charge prompt): the smash prompt, "Power Smash!", the
    // louder whack.
    logic.prompts.clear();
    logic.messages.clear();
    paddle->Press();
    passes.StepUntil([&] { return paddle->GetSwingState() == Paddle::WhackCharge; }, 100);
    passes.Step(10);
    paddle->Release();
    passes.StepUntil([&] { return paddle->IsSweetSpotHit(); }, 20);
    ASSERT_EQ(Paddle::WhackFollowThrough, paddle->GetSwingState());
    const double whackPower = paddle->GetPower();
    sounds.Clear();
    Ball* whacked = BallAt(332, 392, 0, 200);
    Hit(paddle, whacked, 332, 400, 0, 1, &logic);
    EXPECT_EQ((std::vector<std::string>{"powerup.check", "smash.check"}), logic.prompts);
    EXPECT_EQ((std::vector<std::string>{"Power Smash!"}), logic.messages);
    EXPECT_EQ((std::vector<std::string>{"hitBall.ogg", "whackBall.ogg", "paddleSweetSpot.ogg"}),
              sounds.Names());
    EXPECT_EQ(int(std::min(whackPower * 20, 100.0)), sounds.Plays()[1].volume);
    EXPECT_NEAR(280 * 1.2 + whackPower * gBallSpeed.speedPerEnergy * 1.5,
                Velocity(whacked).Length(), 0.05);
}

TEST_F(PaddleImpactTest, TintsFollowThePaddleUntilTheyFadeAndKilledBallsAreLetGo)
{
    PaddleProbe* paddle = AddPaddle();
    paddle->ApplyIntProperty("paddleSize", 4); // 88 px: the tint is stretched to match
    paddle->TintFlash("Blue");
    ASSERT_EQ(1u, paddle->GetFollowers().GetMembers().size());
    Actor* tint = paddle->GetFollowers().GetMembers().front();
    EXPECT_EQ(logic.particles, tint->GetParent());
    EXPECT_EQ(88, tint->GetWidth());
    paddle->GetPhysicsBody()->SetLinearVel(250, 0);
    passes.Step(4);
    EXPECT_EQ(paddle->GetX() + 44, tint->GetX() + tint->GetWidth() / 2);
    passes.Step(20); // 500 ms of fade, then the tint is gone
    EXPECT_TRUE(paddle->GetFollowers().IsEmpty());

    // A held ball that is killed leaves the paddle: the next press swings, not serves.
    paddle->GetPhysicsBody()->SetLinearVel(0, 0);
    Ball* held = AddBall(332, 392, 0, 0);
    held->AttachToPaddle(paddle, true);
    held->Kill();
    EXPECT_TRUE(paddle->GetHeldBalls().IsEmpty());
    paddle->Press();
    EXPECT_EQ(Paddle::SwingStroke, paddle->GetSwingState());
}
