// Balls in a closed field full of bricks: speed regulation keeps them within their limits,
// and fast or small balls stay outside what they hit, are never flung out faster than the
// fastest speed the regulation allows and never stopped dead by a bounce.
#include "BallFixture.h"

#include "core/FramePeriod.h"
#include "field/Brick.h"
#include "physics/PhysicsGeom.h"
#include "physics/World.h"

#include <algorithm>
#include <cmath>
#include <sstream>
#include <vector>

using namespace fieldtest;

namespace {

const int kLeft = 16, kRight = 624, kTop = 36, kBottom = 470;

// What the field saw: contacts and their depths, balls whose centre lay inside a solid,
// outside the field, or whose speed a step raised above the top or cut to a stop.
struct Findings
{
    long subSteps = 0;
    double deepest = 0.0;
    int centreInside = 0;
    int outside = 0;
    int tooFast = 0;
    int stopped = 0;
    double fastest = 0.0;
    std::string first;

    void Note(const std::string& what)
    {
        if (first.empty())
            first = what;
    }
};

// The field: walls round it, bricks in it, and balls whose every contact and step is
// checked.
class ProbedField : public FieldRoot
{
public:
    std::vector<Ball*> balls;
    std::vector<ArcadeStructure*> solids;
    Findings found;
    double top = 3650.0;

    void Tick() override
    {
        std::vector<double> before;
        for (Ball* b : balls)
            before.push_back(SpeedOf(b));
        world.Step(FRAME_PERIOD_SECONDS, &ProbedField::Contact, this);
        found.subSteps += world.GetLastSubSteps();
        for (std::size_t i = 0; i < balls.size(); ++i) {
            Ball* b = balls[i];
            const double v = SpeedOf(b);
            const Point<double> c = b->GetGeom()->GetCenter();
            found.fastest = std::max(found.fastest, v);
            // The flat-path kick may add up to 30 after the contact's cap.
            if (v > top + 30.0) {
                ++found.tooFast;
                Note(b, "flung out at " + std::to_string(v));
            }
            // Contacts may shed speed down to the ball's target speed, never more.
            if (v < 0.5 * std::min(before[i], b->GetSpeed())) {
                ++found.stopped;
                Note(b, "slowed from " + std::to_string(before[i]) + " to " + std::to_string(v));
            }
            if (c.x < kLeft || c.x > kRight || c.y < kTop || c.y > kBottom) {
                ++found.outside;
                Note(b, "outside the field");
            }
        }
        Actor::Tick();
    }

private:
    void Note(Ball* b, const std::string& what)
    {
        std::ostringstream s;
        s << "radius " << b->GetRadius() << ": " << what;
        found.Note(s.str());
    }

    static bool Contact(PhysicsGeom* g1, PhysicsGeom* g2, const ContactData* contact, void* self)
    {
        ProbedField* field = static_cast<ProbedField*>(self);
        for (PhysicsGeom* g : {g1, g2}) {
            Ball* ball = dynamic_cast<Ball*>(g->GetOwner());
            ArcadeStructure* other =
                dynamic_cast<ArcadeStructure*>((g == g1 ? g2 : g1)->GetOwner());
            if (!ball || !other || dynamic_cast<Ball*>(other))
                continue;
            field->found.deepest = std::max(field->found.deepest, double(contact->depth));
            const Point<double> c = ball->GetGeom()->GetCenter();
            const Point<double> o = other->GetGeom()->GetCenter();
            if (std::fabs(c.x - o.x) < other->GetShapeWidth() / 2 &&
                std::fabs(c.y - o.y) < other->GetShapeHeight() / 2) {
                ++field->found.centreInside;
                field->Note(ball, "centre inside a solid");
            }
        }
        return ArcadeStructure::OnWorldContact(g1, g2, contact, field->logic);
    }
};

class BallPhysicsTest : public BallTest
{
protected:
    ProbedField* field = new ProbedField();

    BallPhysicsTest()
    {
        passes.SetRoot(field);
        field->logic = &logic;
        logic.SetField(field, &field->world);
        // The walls round the field, and 200 bricks of 28 x 14 in 10 rows of 20.
        const int walls[][4] = {
            {0, 0, 16, 480}, {624, 0, 16, 480}, {0, 20, 640, 16}, {0, 470, 640, 16}};
        for (const auto& w : walls) {
            ArcadeStructure* wall = MakeBox(w[0], w[1], w[2], w[3]);
            wall->SetCategoryBits(128);
            field->solids.push_back(field->Place(wall));
        }
        for (int row = 0; row < 10; ++row)
            for (int col = 0; col < 20; ++col) {
                Brick* brick = new Brick();
                brick->SetRectangle(28, 14, false);
                brick->SetPosition(20 + 30 * col, 70 + 16 * row);
                brick->SetCategoryBits(2);
                field->solids.push_back(field->Place(brick));
            }
    }
    ~BallPhysicsTest() override
    {
        passes.SetRoot(nullptr);
        delete field;
    }
};

} // namespace

TEST_F(BallPhysicsTest, FastAndSmallBallsStayOutsideWhatTheyHit)
{
    Ball::SetLowEffects(true); // no particles: only the motion counts here
    gBallSpeed.maxBallSpeed = 1200;
    const double top = 3 * gBallSpeed.maxBallSpeed + 50;
    field->top = top;
    for (int size = 0; size < 7; ++size) {
        for (double speed : {400.0, 1800.0, top}) {
            // One ball at a time: balls striking each other trade speed as they should.
            const double r = BallRadii[size];
            const double angle = 0.7 + 0.9 * size + 0.4 * speed / top;
            Ball* ball = AddBall(320, 380, speed * std::cos(angle), speed * std::sin(angle));
            ball->SetSize(r, r, size);
            SetSpeedAndEnergy(ball, gBallSpeed.maxBallSpeed, 3);
            field->balls.assign(1, ball);
            for (int tick = 0; tick < 480; ++tick) {
                field->Tick();
                // Held at the test speed, as a ball at the top of the regulation is.
                PhysicsBody* body = ball->GetPhysicsBody();
                const Vector2D v = body->GetLinearVel();
                const double l = std::sqrt(v.x * v.x + v.y * v.y);
                body->SetLinearVel(v.x * speed / l, v.y * speed / l);
            }
            ball->Kill();
            field->balls.clear();
            passes.DeleteDeadActors();
        }
    }
    const Findings& f = field->found;
    EXPECT_GE(f.subSteps, 100000);
    EXPECT_EQ(0, f.centreInside) << f.first;
    EXPECT_EQ(0, f.outside) << f.first;
    EXPECT_EQ(0, f.tooFast) << f.first << " (fastest " << f.fastest << ")";
    EXPECT_EQ(0, f.stopped) << f.first;
    Ball::SetLowEffects(false);
    std::printf("deepest contact %.2f px, fastest %.0f px/s, sub-steps %ld, inside %d, outside %d, "
                "too fast %d, stopped %d\n",
                f.deepest, f.fastest, f.subSteps, f.centreInside, f.outside, f.tooFast, f.stopped);
}
