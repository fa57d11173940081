#include "FieldWatch.h"

#include "field/Ball.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Wall.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"

#include <cstdio>
#include <functional>
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
    // A paused game is not being played: its passes do not count towards a stall.
    if (logic->GetCurrentState() && logic->GetStateName() == "PausedPlaying") {
        m_LastChange = pass;
        return false;
    }
    const std::uint64_t state = PlayState(logic);
    if (!m_Started || state != m_LastState) {
        m_Started = true;
        m_LastState = state;
        m_LastChange = pass;
        return false;
    }
    if (pass - m_LastChange < m_StallPasses)
        return false;
    m_Fault = STALL;
    m_Text = Where(pass) + ": stall: nothing has changed since pass " +
             std::to_string(m_LastChange) + " (state " + logic->GetStateName() + ")";
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

std::uint64_t FieldWatch::PlayState(ArcadeGameLogic* logic)
{
    std::uint64_t hash =
        std::hash<std::string>()(logic->GetCurrentState() ? logic->GetStateName() : std::string());
    auto mix = [&hash](std::uint64_t value) {
        hash ^= value + 0x9e3779b97f4a7c15ULL + (hash << 6) + (hash >> 2);
    };
    mix(std::uint64_t(logic->GetScore()));
    mix(std::uint64_t(logic->GetBallsLeft()));
    for (Actor* actor : logic->GetBricks().GetMembers())
        if (const Brick* brick = dynamic_cast<const Brick*>(actor); brick && !brick->IsDead()) {
            mix(reinterpret_cast<std::uintptr_t>(brick));
            mix(std::uint64_t(brick->GetDamage()));
        }
    return hash;
}

} // namespace bbtest
