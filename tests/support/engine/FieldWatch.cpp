#include "FieldWatch.h"

#include "field/Ball.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace bbtest {

namespace {

std::string Format(const char* format, double a, double b, double c, double d)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

// The wall whose rectangle holds the point, or null.
const Wall* WallAt(ArcadeGameLogic* logic, double x, double y)
{
    for (const Wall* wall : logic->GetWalls())
        if (wall && !wall->IsDead() && x > wall->GetX() && x < wall->GetX() + wall->GetWidth() &&
            y > wall->GetY() && y < wall->GetY() + wall->GetHeight())
            return wall;
    return nullptr;
}

} // namespace

FieldWatch::FieldWatch(std::string level, unsigned seed, int stallPasses)
    : m_Level(std::move(level)), m_Seed(seed), m_StallPasses(stallPasses)
{
}

bool FieldWatch::Check(ArcadeGameLogic* logic, int pass)
{
    if (m_Fault != NONE)
        return true;
    if (!logic)
        return false;
    return CheckBalls(logic, pass) || CheckProgress(logic, pass);
}

std::string FieldWatch::Where(int pass) const
{
    return m_Level + " seed " + std::to_string(m_Seed) + " pass " + std::to_string(pass);
}

bool FieldWatch::CheckBalls(ArcadeGameLogic* logic, int pass)
{
    const FieldBounds field = FieldBounds::Current();
    for (Actor* actor : logic->GetBalls().GetMembers()) {
        const Ball* ball = dynamic_cast<const Ball*>(actor);
        const PhysicsGeom* geom = ball ? ball->GetGeom() : nullptr;
        if (!geom || !geom->IsEnabled() || ball->IsDead())
            continue;
        const Point<double> c = geom->GetCenter();
        const bool outside =
            c.x < field.left || c.x > field.right || c.y < field.top || c.y > field.bottom;
        const Wall* wall = WallAt(logic, c.x, c.y);
        if (!outside && !wall)
            continue;
        Vector2D v;
        if (const PhysicsBody* body = ball->GetPhysicsBody())
            v = body->GetLinearVel();
        m_Fault = ESCAPE;
        m_Text = Where(pass) + ": escape: a ball at " +
                 Format("(%.2f, %.2f) moving (%.1f, %.1f)", c.x, c.y, v.x, v.y) +
                 (wall ? " inside " + wall->GetName() : std::string(" outside the field")) +
                 (ball->GetPaddle() ? ", held by a paddle" : "");
        return true;
    }
    return false;
}

bool FieldWatch::CheckProgress(ArcadeGameLogic* logic, int pass)
{
    // A paused game is not being played: the count stops where it stands.
    if (logic->GetCurrentState() && logic->GetStateName() == "PausedPlaying") {
        ++m_LastChange;
        if (++m_Paused < m_StallPasses)
            return false;
        return Stalled(logic, pass, "paused for " + std::to_string(m_Paused) + " passes");
    }
    m_Paused = 0;
    // A new state or a ball lost or won starts the least strength afresh (the bricks of a
    // level still being laid out, for one, have less strength than the level will have).
    const Progress now = Measure(logic);
    if (!m_Started || now.state != m_Best.state || now.ballsLeft != m_Best.ballsLeft ||
        now.strengthLeft < m_Best.strengthLeft) {
        m_Started = true;
        m_Best = now;
        m_LastChange = pass;
        return false;
    }
    if (pass - m_LastChange < m_StallPasses)
        return false;
    return Stalled(logic, pass,
                   "no nearer its end since pass " + std::to_string(m_LastChange) + " (state " +
                       now.state + ", bricks' strength left " + std::to_string(now.strengthLeft) +
                       ", least " + std::to_string(m_Best.strengthLeft) + ")");
}

bool FieldWatch::Stalled(ArcadeGameLogic* logic, int pass, const std::string& why)
{
    m_Fault = STALL;
    m_Text = Where(pass) + ": stall: " + why;
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (const Ball* ball = dynamic_cast<const Ball*>(actor); ball && ball->GetGeom()) {
            const Point<double> c = ball->GetGeom()->GetCenter();
            Vector2D v;
            if (const PhysicsBody* body = ball->GetPhysicsBody())
                v = body->GetLinearVel();
            m_Text += Format("; a ball at (%.2f, %.2f) moving (%.1f, %.1f)", c.x, c.y, v.x, v.y);
        }
    return true;
}

FieldWatch::Progress FieldWatch::Measure(ArcadeGameLogic* logic)
{
    Progress progress;
    progress.state = logic->GetCurrentState() ? logic->GetStateName() : std::string();
    progress.ballsLeft = logic->GetBallsLeft();
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (const Brick* brick = dynamic_cast<const Brick*>(actor);
            brick && !brick->IsDead() && brick->GetStrength() > 0)
            progress.strengthLeft += std::max(0, brick->GetStrength() - brick->GetDamage());
    return progress;
}

} // namespace bbtest
