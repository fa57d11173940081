#include "FieldWatch.h"

#include "PutBackLog.h"

#include "field/Ball.h"
#include "field/FieldBounds.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"

#include <algorithm>
#include <cstdio>
#include <utility>

namespace autoplay {

namespace {

std::string Format(const char* format, double a, double b, double c, double d = 0.0)
{
    char text[160];
    std::snprintf(text, sizeof text, format, a, b, c, d);
    return text;
}

Vector2D VelocityOf(const Ball* ball)
{
    const PhysicsBody* body = ball->GetPhysicsBody();
    return body ? body->GetLinearVel() : Vector2D();
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
    // A new game: put-backs of balls of an earlier one are no longer this watch's.
    PutBackLog::Installed().Clear();
}

bool FieldWatch::Check(ArcadeGameLogic* logic, int pass)
{
    if (m_Fault != NONE)
        return true;
    if (!logic)
        return false;
    // Put-backs first: the balls they moved no longer show where they were.
    return CheckPutBacks(logic, pass) || CheckBalls(logic, pass) || CheckProgress(logic, pass);
}

bool FieldWatch::CheckPutBacks(ArcadeGameLogic* logic, int pass)
{
    PutBackLog& log = PutBackLog::Installed();
    for (Actor* actor : logic->GetBalls().GetMembers()) {
        Ball* ball = dynamic_cast<Ball*>(actor);
        PutBack worst;
        const int count = ball ? log.Take(ball, worst) : 0;
        if (count == 0)
            continue;
        m_PutBacks += count;
        m_DeepestPutBack = std::max(m_DeepestPutBack, worst.depth);
        const std::string line =
            Where(pass) + ": put back " +
            Format("%.1f px from (%.2f, %.2f)", worst.depth, worst.x, worst.y) +
            (worst.pressed ? ", pressed by a paddle" : "");
        if (static_cast<int>(m_PutBackLines.size()) < kPutBackLines)
            m_PutBackLines.push_back(line);
        if (!worst.Escaping() || m_Fault != NONE)
            continue;
        ++m_PutBackEscapes;
        const Vector2D v = VelocityOf(ball);
        m_Fault = ESCAPE;
        m_Text = Where(pass) + ": escape: a ball at " +
                 Format("(%.2f, %.2f) moving (%.1f, %.1f)", worst.x, worst.y, v.x, v.y) +
                 " outside the field, put back " + Format("%.1f px", worst.depth, 0, 0) +
                 " at the wall's face";
    }
    // What is left belongs to balls gone from the field since their put-backs.
    log.Clear();
    return m_Fault != NONE;
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
        const Vector2D v = VelocityOf(ball);
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
    const PlayProgress now = PlayProgress::Measure(logic);
    if (!m_Started || now.NewStretchAfter(m_Best) || now.NearerThan(m_Best)) {
        m_Started = true;
        m_Best = now;
        m_LastChange = pass;
        return false;
    }
    m_LongestStill = std::max(m_LongestStill, pass - m_LastChange);
    if (pass - m_LastChange < m_StallPasses)
        return false;
    return Stalled(logic, pass,
                   "no nearer its end since pass " + std::to_string(m_LastChange) + " (state " +
                       now.state + ", bricks' strength left " + std::to_string(now.strengthLeft) +
                       ", least " + std::to_string(m_Best.strengthLeft) +
                       "; left to break: " + PlayProgress::Remaining(logic) + ")");
}

bool FieldWatch::Stalled(ArcadeGameLogic* logic, int pass, const std::string& why)
{
    m_Fault = STALL;
    m_Text = Where(pass) + ": stall: " + why;
    for (Actor* actor : logic->GetBalls().GetMembers())
        if (const Ball* ball = dynamic_cast<const Ball*>(actor); ball && ball->GetGeom()) {
            const Point<double> c = ball->GetGeom()->GetCenter();
            const Vector2D v = VelocityOf(ball);
            m_Text += Format("; a ball at (%.2f, %.2f) moving (%.1f, %.1f)", c.x, c.y, v.x, v.y);
        }
    return true;
}

} // namespace autoplay
