// Balls against the field's walls in a world stepped as a level steps it (20 collision
// iterations a pass): launched from hoppers into bricks and at each wall at the speeds
// levels reach, pulled into a wall while soft, held by a catching paddle pushed into a
// wall, and squeezed against one by a sweeping paddle. Every ball stays inside the field,
// every soft period ends, and the walls keep their places.
#include "BallFixture.h"

#include "StruckStructure.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "physics/PhysicsGeom.h"

#include <gtest/gtest.h>

#include <string>

using namespace fieldtest;

namespace {

// A brick that kicks every ball striking it to `kick` px/s, in the contact, while the world
// steps: what a brick's energy, a spring or a stroke of the paddle does, without bounds.
class Kicker : public StruckStructure
{
public:
    explicit Kicker(double kick) : StruckStructure("Brick"), m_Kick(kick) {}
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override
    {
        StruckStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
        if (PhysicsBody* body = dynamic_cast<Ball*>(other) ? other->GetPhysicsBody() : nullptr)
            body->SetLinearVel(m_Kick * nx, m_Kick * ny + m_Kick / 3);
    }

private:
    double m_Kick;
};

// Counts the balls put back from past a wall's face (Ball::KeepOutOfWalls): a centre
// past the face is a ball on its way out, caught by the field.
struct PutBacksFromOutside : Ball::PutBackObserver
{
    PutBacksFromOutside() { previous = Ball::SetPutBackObserver(this); }
    ~PutBacksFromOutside() override { Ball::SetPutBackObserver(previous); }
    void OnPutBack(const Ball& ball, double, double, double depth, bool) override
    {
        if (depth > ball.GetRadius())
            ++count;
    }
    Ball::PutBackObserver* previous = nullptr;
    int count = 0;
};

class FieldContainmentTest : public BallTest
{
protected:
    FieldContainmentTest()
    {
        root->world.SetCollisionIterations(20);
        for (const char* name : {"TopWall", "LeftWall", "RightWall", "BottomWall"})
            logic.walls.push_back(root->Place(new Wall(name)));
    }

    Brick* AddBrick(const std::string& table, int x, int y)
    {
        Brick* brick = dynamic_cast<Brick*>(MakeStructure(table));
        EXPECT_NE(nullptr, brick) << table;
        brick->SetPosition(x, y);
        return root->Place(brick);
    }

    // Where the ball's centre lies past a wall's inner face; "" while it is inside.
    static std::string Outside(const Ball* ball)
    {
        const FieldBounds field = FieldBounds::Current();
        const Point<double> c = ball->GetGeom()->GetCenter();
        if (c.x >= field.left && c.x <= field.right && c.y >= field.top && c.y <= field.bottom)
            return "";
        return "centre at " + std::to_string(c.x) + ", " + std::to_string(c.y);
    }

    // A hopper's ball launched at the speed towards the launch side (a HopperLaunch
    // resource); the caught ball goes off the field and comes back as the game's
    // controller takes and gives it.
    Ball* LaunchFrom(Brick* hopper, double speed)
    {
        Ball* ball = AddBall(100, 300, 0, 0);
        passes.Step();
        EXPECT_TRUE(hopper->CatchBall(ball, &logic));
        ball->GetGeom()->Disable();
        root->RemoveChild(ball);
        hopper->Launch(&logic, speed);
        root->AddChild(ball, "");
        ball->GetGeom()->Enable();
        return ball;
    }
};

} // namespace

TEST_F(FieldContainmentTest, BallsLaunchedIntoBricksAndAtEachWallStayInsideAndTurnHard)
{
    // A hopper launches out of itself and through a brick on its way to the wall; one that
    // shoots at range from against the wall launches the mirrored way, into the brick
    // beside it. (x, y) is the hopper's corner, (bx, by) the brick's.
    struct Case
    {
        const char* launch;
        const char* range;
        int x, y, bx, by;
        double awayX, awayY; // the launch direction after the mirror, when there is one
    };
    const Case cases[] = {{"HopperLaunchUp", "ShootInPlace", 300, 100, 300, 56, 0, 0},
                          {"HopperLaunchLeft", "ShootInPlace", 100, 200, 56, 200, 0, 0},
                          {"HopperLaunchRight", "ShootInPlace", 508, 200, 552, 200, 0, 0},
                          {"HopperLaunchLeft", "ShootInPlace", 16, 300, 48, 300, 0, 0},
                          {"HopperLaunchUp", "ShootAtRange", 300, 36, 300, 68, 0, 1},
                          {"HopperLaunchLeft", "ShootAtRange", 16, 200, 48, 200, 1, 0},
                          {"HopperLaunchRight", "ShootAtRange", 592, 300, 560, 300, -1, 0}};
    for (const Case& c : cases)
        for (const double speed : {300.0, 600.0, 1200.0}) {
            SCOPED_TRACE(std::string(c.launch) + " from " + std::to_string(c.x) + "," +
                         std::to_string(c.y) + " at " + std::to_string(int(speed)));
            Brick* hopper = AddBrick("{class = 'Brick', resources = {'BallHopperBrick', '" +
                                         std::string(c.launch) + "', '" + c.range +
                                         "', 'HopperNoVariance'}, strength = -1}",
                                     c.x, c.y);
            Brick* brick =
                AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = -1}", c.bx, c.by);
            Ball* ball = LaunchFrom(hopper, speed);
            EXPECT_EQ("", Outside(ball)) << "launched";
            const Vector2D v = ball->GetPhysicsBody()->GetLinearVel();
            if (c.awayX != 0 || c.awayY != 0) {
                EXPECT_GT(v.x * c.awayX + v.y * c.awayY, 0.9 * speed) << "mirrored";
            }
            int soft = 0;
            for (int pass = 0; pass < 120; ++pass) {
                passes.Step();
                ASSERT_EQ("", Outside(ball)) << "after " << pass + 1 << " passes";
                soft += ball->InSoftPeriod() ? 1 : 0;
            }
            EXPECT_LE(soft, 4) << "passes the launched ball was soft";
            for (ArcadeStructure* s : std::initializer_list<ArcadeStructure*>{ball, hopper, brick})
                s->Kill();
            passes.Step();
        }
}

TEST_F(FieldContainmentTest, ASoftPeriodEndsWithinFourPassesEvenInLastingContact)
{
    // A ball held inside a brick touches it in every sub-step of every pass; so does a
    // regenerated brick with the ball inside it.
    Brick* brick = AddBrick("{class = 'Brick', textureOnly = 'Stone', strength = -1}", 300, 200);
    Ball* ball = AddBall(316, 208, 0, 0);
    passes.Step();
    ball->StartSoftPeriod();
    brick->StartSoftPeriod();
    for (int pass = 0; pass < 4; ++pass) {
        ball->GetPhysicsBody()->SetPosition(316, 208);
        passes.Step();
    }
    EXPECT_FALSE(ball->InSoftPeriod());
    EXPECT_FALSE(brick->InSoftPeriod());
    EXPECT_FLOAT_EQ(0.0f, ball->GetGeom()->GetSoftness());
    EXPECT_FLOAT_EQ(0.0f, brick->GetGeom()->GetSoftness());
}

TEST_F(FieldContainmentTest, ASoftBallPulledIntoAWallStaysInside)
{
    // Walls are never soft: a ball in its soft period meets them hard at any speed.
    for (const double speed : {600.0, 1200.0}) {
        Ball* ball = AddBall(320, 60, 30, -speed);
        passes.Step();
        for (int pass = 0; pass < 30; ++pass) {
            // Kept soft throughout, and pulled into the wall as by a strong level gravity.
            ball->StartSoftPeriod();
            ball->GetPhysicsBody()->AddAcceleration(0, -3000);
            passes.Step();
            ASSERT_EQ("", Outside(ball)) << speed << " after " << pass + 1 << " passes";
        }
        ball->Kill();
        passes.Step();
    }
}

// Whatever sets a ball's velocity or pushes it, far past anything a level may ask, and
// whenever it does (between passes, or in a contact while the world steps: a brick's
// addEnergy of 2^31 raises the ball's energy by as many levels): the ball crosses no wall.
TEST_F(FieldContainmentTest, NoSpeedFromAnySourceTakesABallOutOfTheField)
{
    PutBacksFromOutside escapes;
    for (const double speed : {1e4, 1e6, 1e300}) {
        Ball* ball = AddBall(320, 240, 0, 0);
        passes.Step();
        ball->GetPhysicsBody()->SetLinearVel(speed, speed / 3);
        for (int pass = 0; pass < 30; ++pass) {
            passes.Step();
            ASSERT_EQ("", Outside(ball)) << speed << " after " << pass + 1 << " passes";
            ASSERT_EQ(0, escapes.count) << speed << " after " << pass + 1 << " passes";
        }
        ball->Kill();
        passes.Step();
    }
    for (const double kick : {1e4, 1e6, 1e300}) {
        Kicker* kicker = new Kicker(kick);
        kicker->SetRectangle(32, 16, false);
        kicker->SetPosition(304, 200);
        root->Place(kicker);
        Ball* ball = AddBall(320, 400, 0, -600);
        for (int pass = 0; pass < 60; ++pass) {
            passes.Step();
            ASSERT_EQ("", Outside(ball))
                << "kicked to " << kick << " after " << pass + 1 << " passes";
            ASSERT_EQ(0, escapes.count)
                << "kicked to " << kick << " after " << pass + 1 << " passes";
        }
        ball->Kill();
        kicker->Kill();
        passes.Step();
    }
    for (const char* energy : {"40", "2^31"}) {
        AddBrick(std::string("{class = 'Brick', textureOnly = 'Stone', strength = -1, "
                             "addEnergy = ") +
                     energy + "}",
                 304, 200);
        Ball* ball = AddBall(320, 400, 0, -600);
        for (int pass = 0; pass < 60; ++pass) {
            passes.Step();
            ASSERT_EQ("", Outside(ball))
                << "addEnergy " << energy << " after " << pass + 1 << " passes";
            ASSERT_EQ(0, escapes.count)
                << "addEnergy " << energy << " after " << pass + 1 << " passes";
        }
        ball->Kill();
        passes.Step();
    }
}

TEST_F(FieldContainmentTest, AHeldBallIsNeverCarriedOrReleasedIntoASideWall)
{
    Paddle* paddle = new Paddle();
    paddle->SetRectangle(80, 16, false);
    paddle->SetPosition(280, 420);
    root->Place(paddle);
    logic.paddles.push_back(paddle);
    Ball* ball = AddBall(350, 412, 0, 0);
    passes.Step();
    // Held at the paddle's left end, the paddle pushed to the left wall's face and beyond.
    ball->AttachToPaddle(paddle, false);
    ball->SetPaddleOffset(Point<double>(-44, -16));
    for (int pass = 0; pass < 20; ++pass) {
        paddle->GetPhysicsBody()->SetPosition(16 + 40 - pass, 428);
        passes.Step();
        ASSERT_EQ("", Outside(ball)) << "held, after " << pass + 1 << " passes";
        EXPECT_GE(ball->GetGeom()->GetCenter().x, 16 + ball->GetRadius() - 1e-9);
    }
    ball->ReleaseFromPaddle();
    EXPECT_GE(ball->GetGeom()->GetCenter().x, 16 + ball->GetRadius() - 1e-9);
    passes.Step(10);
    EXPECT_EQ("", Outside(ball)) << "released";
}

TEST_F(FieldContainmentTest, APaddleSqueezingABallIntoAWallLeavesItAtTheFace)
{
    Paddle* paddle = new Paddle();
    paddle->SetRectangle(88, 16, false);
    paddle->SetPosition(200, 419);
    root->Place(paddle);
    logic.paddles.push_back(paddle);
    // The ball rides at the paddle's left end as the paddle sweeps into the left wall.
    Ball* ball = AddBall(194, 424, -500, 0);
    for (int pass = 0; pass < 12; ++pass) {
        paddle->GetPhysicsBody()->SetLinearVel(-1500, 0);
        passes.Step();
        const double x = ball->GetGeom()->GetCenter().x;
        ASSERT_GE(x, 16 + ball->GetRadius() / 2) << "sunk after " << pass + 1 << " passes";
    }
    EXPECT_EQ(-2048, logic.walls[1]->GetX()) << "the left wall keeps its place";
}
