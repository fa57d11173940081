// Brick: ball hoppers (bricks that catch balls and shoot them out again on the
// controller's order or when they break), ball carriers (one-slot hoppers that let go
// after a fixed time) and trapped balls (a ball shown inside a brick, freed when it
// breaks).
//
// Ownership of held balls: a caught ball leaves the field (the controller's LockBall) and
// belongs to the hopper until it is launched, when it goes back to the controller
// (UnlockBall). A hopper that is deleted holding balls deletes them with itself; a ball
// killed while held (the level clearing its balls) leaves its slot at once and is deleted
// by the deferred deletion, so nobody deletes it twice. The trapped ball likewise belongs
// to its brick until the brick breaks.
#include "field/Brick.h"

#include "core/Event.h"
#include "core/TimerManager.h"
#include "core/TimerRecord.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "field/Ball.h"
#include "field/FieldBounds.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"
#include "physics/PhysicsBody.h"
#include "scene/SceneHost.h"

#include <algorithm>
#include <cmath>

using LuaPlus::LuaObject;

namespace {
constexpr double kPi = 3.14159265358979323846;
} // namespace

Ball* Brick::SlotBall(std::size_t i) const
{
    return i < m_HopperSlots.size() ? m_HopperSlots[i]->Get() : nullptr;
}

void Brick::DeleteHeldBall(Ball* ball)
{
    // A ball back on the field belongs to its parent, a killed one to the deferred
    // deletion (its link is empty then); only a ball that is still off the field is ours.
    if (ball && !ball->GetParent())
        delete ball;
}

double Brick::PowerupSpread(int i, int m)
{
    if (m <= 0)
        return 0;
    return (double(i) - m / 2.0) / double(m) * 200.0;
}

bool Brick::HoldsBall(const Ball* ball) const
{
    for (std::size_t i = 0; i < m_HopperSlots.size(); ++i)
        if (ball && SlotBall(i) == ball)
            return true;
    return false;
}

bool Brick::IsHopperFull() const
{
    if (m_HopperSlots.empty())
        return false;
    for (std::size_t i = 0; i < m_HopperSlots.size(); ++i)
        if (!SlotBall(i))
            return false;
    return true;
}

bool Brick::CatchBall(Ball* ball, ArcadeGameLogic* logic)
{
    for (std::size_t i = 0; i < m_HopperSlots.size(); ++i) {
        if (SlotBall(i))
            continue;
        InvalidateImage(false);
        m_HopperSlots[i]->Set(ball);
        PlaySound("Clunk.ogg", false);
        if (logic) {
            logic->LockBall(ball, this);
            const Vector2D c = GetCentre();
            logic->CheckForLevelEnd(c.x, c.y);
        }
        return true;
    }
    return false;
}

std::uint32_t Brick::StartReleaseTimer(ArcadeGameLogic*, double speed)
{
    m_ReleaseSpeed = speed;
    const int delayMs = std::max(0, ClampToInt(m_ReleaseBallTimerLength * 1000));
    if (m_ReleaseTimer == 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            m_ReleaseTimer =
                timers->CreateTimer(this, std::uint32_t(delayMs), 1, TIMER_LIMITED_TO_FRAMERATE);
    return m_ReleaseTimer;
}

bool Brick::OnTimer(const Event& event)
{
    if (m_ReleaseTimer == 0 || std::uint32_t(EventData1Int(event)) != m_ReleaseTimer)
        return ArcadeStructure::OnTimer(event);
    // A hopper killed with the level (its world already gone) launches nothing: what it
    // holds goes with it.
    if (IsDead())
        return true;
    while (CountTrappedBalls().second > 0)
        Launch(gLogic, m_ReleaseSpeed);
    m_ReleaseTimer = 0;
    return true;
}

void Brick::Launch(ArcadeGameLogic* logic, double speed)
{
    Ball* ball = nullptr;
    for (std::size_t i = 0; i < m_HopperSlots.size() && !ball; ++i) {
        ball = SlotBall(i);
        if (ball)
            m_HopperSlots[i]->Clear();
    }
    if (!ball)
        return;
    InvalidateImage(false);
    if (speed != 0) {
        ball->AddSpeed(-gBallSpeed.maxBallSpeed, false);
        ball->AddSpeed(speed - gBallSpeed.minBallSpeed, false);
    }
    const double distance =
        m_BallHopperInPlace
            ? 0
            : std::sqrt(GetShapeWidth() * GetShapeWidth() + GetShapeHeight() * GetShapeHeight());
    LuaObject launchAngle;
    GetScriptField(launchAngle, "launchAngle");
    const double angle =
        launchAngle.IsNumber()
            ? launchAngle.GetNumber() + RandomDouble(2.0 * m_BallHopperError) - m_BallHopperError
            : RandomDouble(360.0);
    const double theta = (angle - 90) * kPi / 180;
    const Vector2D c = GetCentre();
    const double reach = distance + ball->GetRadius();
    // A launch that would put the ball past a wall's face goes the mirrored way, as if it
    // had bounced off the wall; the ball is never placed inside a wall.
    double dx = std::cos(theta), dy = std::sin(theta);
    const FieldBounds field = FieldBounds::Current();
    const double r = ball->GetRadius();
    const double x = c.x + dx * reach, y = c.y + dy * reach;
    if (x - r < field.left || x + r > field.right)
        dx = -dx;
    if (y - r < field.top || y + r > field.bottom)
        dy = -dy;
    const Point<double> at = ball->InsideField(c.x + dx * reach, c.y + dy * reach);
    const double v = speed == 0 ? 200 : speed;
    ball->SetPosition(int(std::lround(at.x - ball->GetWidth() / 2.0)),
                      int(std::lround(at.y - ball->GetHeight() / 2.0)));
    ball->SyncToPhysics();
    if (PhysicsBody* body = ball->GetPhysicsBody())
        body->SetLinearVel(dx * v, dy * v);
    ball->StartSoftPeriod();
    if (logic)
        logic->UnlockBall(ball);
    if (m_Strength >= 0 && m_Damage < m_Strength)
        SetDamage(m_Damage + 1, ball, logic, c.x, c.y);
}

void Brick::SetTrappedBall(const LuaObject& params)
{
    InvalidateImage(false);
    delete m_TrappedBall;
    m_TrappedBall = nullptr;
    if (params.IsNil())
        return;
    if (!params.IsTable())
        MAKO_THROW_VALUE_TYPE("a table of the trapped ball's keys", params);
    const bool active = params["activateBall"].IsBoolean() && params["activateBall"].GetBoolean();
    const Vector2D c = GetCentre();
    Ball* ball = new Ball(c.x, c.y, 50, 50, active);
    if (!params["velocity"].IsNil()) {
        const Point<double> velocity(params["velocity"], "velocity");
        delete ball;
        ball = new Ball(c.x, c.y, velocity.x, velocity.y, active);
    }
    m_TrappedBall = ball;
    for (LuaPlus::LuaTableIterator it(params); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (!key.IsString())
            continue;
        const std::string name = key.GetString();
        if (name != "activateBall" && name != "velocity")
            ball->ApplyProperty(name, it.GetValue());
    }
}

void Brick::ReleaseTrappedBall(ArcadeStructure* destroyer, ArcadeGameLogic* logic)
{
    if (!m_TrappedBall || !logic)
        return;
    Ball* ball = m_TrappedBall;
    m_TrappedBall = nullptr;
    const Vector2D c = GetCentre();
    ball->SetPosition(int(c.x - ball->GetWidth() / 2.0), int(c.y - ball->GetHeight() / 2.0));
    logic->AddBall(ball);
    ball->SyncToPhysics();
    if (Ball* striker = dynamic_cast<Ball*>(destroyer)) {
        ball->AddSpeed(-1000000, false);
        if (PhysicsBody* from = striker->GetPhysicsBody())
            if (PhysicsBody* to = ball->GetPhysicsBody()) {
                const Vector2D v = from->GetLinearVel();
                to->SetLinearVel(v.x, v.y);
            }
        ball->AddSpeed(striker->GetSpeed() - gBallSpeed.minBallSpeed, false);
    }
}
