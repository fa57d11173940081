// Paddle: what its contacts mean. A ball is caught, passes through the back, or is
// deflected by where it struck and sped up by the paddle's power, with sprays, prompts and
// sounds; bricks that block the paddle and the side walls stop it; a power-up it touches
// is collected.
#include "field/Paddle.h"

#include "core/Class.h"
#include "field/Ball.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "perf/ScopedPerformanceTimer.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/ParticleEmitter.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>

namespace {

// Every deflection adds this much to the ball's speed (pixels per second).
constexpr double kDeflectionSpeedGain = 80.0;
// A hit during a swing is this much faster.
constexpr double kSwingSpeedFactor = 1.2;
// Contacts with the same ball closer than this many ticks count once.
constexpr int kDebounceTicks = 6;

// Whether the object's class is className or derives from it.
bool IsOfClass(const ArcadeStructure* other, const char* className)
{
    return other->GetClass()->DerivesFrom(className);
}

// Whether a brick stands in the paddle's way (its "blockPaddle" property; a brick without
// one, or with a value that is not a boolean, does not).
bool BlocksPaddle(ArcadeStructure* brick)
{
    if (!brick->GetClass()->FindGetter("blockPaddle", true))
        return false;
    LuaPlus::LuaObject value;
    brick->RetrieveProperty(value, "blockPaddle");
    return value.IsBoolean() && value.GetBoolean();
}

} // namespace

bool Paddle::AcceptsCollision(CollisionOwner* other, double x, double y)
{
    const ArcadeStructure* structure = dynamic_cast<const ArcadeStructure*>(other);
    if (!structure)
        return false;
    for (const char* name : {"Wall", "Brick", "Collider", "Goober", "Powerup"})
        if (IsOfClass(structure, name))
            return true;
    if (IsOfClass(structure, "Ball")) {
        if (WhichSides(x, y) & BackSide())
            return true;
        return static_cast<const Ball*>(structure)->m_PaddlePass;
    }
    return false;
}

void Paddle::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                             double nx, double ny, double depth, bool solid)
{
    if (IsDead())
        return;
    if (IsOfClass(other, "Brick") || IsOfClass(other, "DropTarget")) {
        if (IsOfClass(other, "DropTarget") || BlocksPaddle(other))
            HitBlock(other, x, y, nx, ny, depth);
    } else if (IsOfClass(other, "Wall")) {
        HitWall(other);
    } else if (IsOfClass(other, "Ball")) {
        ScopedPerformanceTimer timer("Ball paddle impact");
        HitBall(logic, static_cast<Ball*>(other), x, y, nx, ny, depth);
    } else if (IsOfClass(other, "Powerup")) {
        // A live power-up is caught: the controller applies it, the combo meter counts it,
        // and it is gone.
        ArcadeGameLogic* controller = logic ? logic : gLogic;
        if (!other->IsDead() && controller) {
            controller->CollectPowerup(static_cast<Powerup*>(other), this);
            controller->OnPaddleCombo(other->GetClass()->GetName(), x, y);
            other->Kill();
            controller->CheckForLevelEnd(x, y);
        }
    }
    ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
}

// ---- Balls ------------------------------------------------------------------------------------

void Paddle::HitBall(ArcadeGameLogic* logic, Ball* ball, double x, double y, double nx, double ny,
                     double depth)
{
    SyncFromPhysics();
    PhysicsBody* ballBody = ball->GetPhysicsBody();
    // Moves the ball out of the paddle along the reversed normal, to just touching.
    auto pushOut = [&] {
        if (!ballBody)
            return;
        Vector2D out(-nx, -ny);
        out.SetLength(depth - 0.01);
        const Vector2D at = ballBody->GetPosition();
        ballBody->SetPosition(at.x + out.x, at.y + out.y);
        ball->SyncFromPhysics();
    };

    if (ball->GetPaddle()) {
        // A held ball that is growing or shrinking is kept clear of the paddle's face.
        if (depth > 0.01 && ball->GetRadius() != ball->GetTargetRadius()) {
            pushOut();
            ball->SetPaddleOffset(
                Point<double>((ball->GetX() + ball->GetWidth() / 2) - (GetX() + GetWidth() / 2),
                              (ball->GetY() + ball->GetHeight() / 2) - (GetY() + GetHeight() / 2)));
        }
        return;
    }

    const bool stroking = m_SwingState == ServeStroke || m_SwingState == ServeFollowThrough ||
                          m_SwingState == SwingStroke || m_SwingState == SwingFollowThrough ||
                          m_SwingState == WhackStroke || m_SwingState == WhackFollowThrough;
    if (m_CatchEnabled && m_CatchCooldown == 0 && !stroking && (WhichSides(x, y) & FaceSide())) {
        ball->SyncFromPhysics();
        PlaySound("paddleCatch.ogg", false);
        if (depth > 0.01)
            pushOut();
        ball->AttachToPaddle(this, true);
    }

    ball->m_PaddlePassTouched = true;
    if (WhichSides(x, y) & BackSide())
        ball->m_PaddlePass = true;
    if (ball->m_PaddlePass)
        return;

    const int sinceLastHit = ball->m_TicksSincePaddleHit;
    ball->m_TicksSincePaddleHit = 0;
    if (sinceLastHit < kDebounceTicks)
        return;

    const bool held = ball->GetPaddle() != nullptr;
    if (!held) {
        if (m_SkipNextHitCount)
            m_SkipNextHitCount = false;
        else if (logic)
            logic->CountPaddleHit();
    }

    DeflectBall(ball, x, y);
    if (!held)
        ball->CapSpeedLevel(1);
    ball->ApplyBounceEffects(0.0, x, y, nx, ny);

    const double power = GetPower();
    if (power > 0 && ballBody) {
        ball->RaiseSpeedLevel(int(std::ceil(power)));
        Vector2D velocity = ballBody->GetLinearVel();
        velocity.SetLength(velocity.Length() + power * gBallSpeed.speedPerEnergy * 1.5);
        ballBody->SetLinearVel(velocity.x, velocity.y);
    }
    if (int(power) > 0)
        WhackEffects(logic, power, x, y);

    const bool whacking = m_SwingState == WhackStroke || m_SwingState == WhackFollowThrough;
    PlaySound("hitBall.ogg", false);
    Sound::SetVolume("whackBall.ogg", int(std::min(power * (whacking ? 20.0 : 10.0), 100.0)));
    PlaySound("whackBall.ogg", false);
    if (m_SweetSpotHit)
        PlaySound(whacking ? "paddleSweetSpot.ogg" : "paddleSweetSpotHit.ogg", false);
}

void Paddle::DeflectBall(Ball* ball, double x, double y)
{
    PhysicsBody* body = ball->GetPhysicsBody();
    if (!body)
        return;
    // Where along the paddle it struck: -1 at the left (upper) end, 0 at the centre, 1 at
    // the right (lower) end.
    const Point<int> local = GlobalToLocal(int(x), int(y));
    const double w = GetWidth(), h = GetHeight();
    double u = m_Vertical ? (local.y + w / 2 - h / 2) / (w / 2) - 1 : local.x / (w / 2) - 1;
    u = std::clamp(u, -1.0, 1.0);
    const Point<float> out =
        DeflectionVelocity(u, body->GetLinearVel().Length() + kDeflectionSpeedGain);
    double vx = out.x, vy = out.y;
    if (m_SwingState != SwingIdle) {
        vx *= kSwingSpeedFactor;
        vy *= kSwingSpeedFactor;
    }
    body->SetLinearVel(vx, vy);
}

Point<float> Paddle::DeflectionVelocity(double u, double speed) const
{
    const float angle = float(u * 3.1415927 * (1.0 / 3.0));
    Point<float> out;
    float turn = angle;
    if (!m_Vertical && !m_FacePositive) {
        out = Point<float>(0.0f, float(-speed));
    } else if (!m_Vertical) {
        out = Point<float>(0.0f, float(speed));
        turn = -angle;
    } else if (!m_FacePositive) {
        out = Point<float>(float(-speed), 0.0f);
        turn = -angle;
    } else {
        out = Point<float>(float(speed), 0.0f);
    }
    out.Rotate(turn);
    return out;
}

void Paddle::WhackEffects(ArcadeGameLogic* logic, double power, double x, double y)
{
    ScopedPerformanceTimer timer("Paddle Whack Effects");
    static const char* const kSprays[2][2][2] = {
        {{"WhackSprayUp1", "WhackSprayUp2"}, {"WhackSprayDown1", "WhackSprayDown2"}},
        {{"WhackSprayLeft1", "WhackSprayLeft2"}, {"WhackSprayRight1", "WhackSprayRight2"}}};
    LuaPlus::LuaState* state = GetGlobalLuaState();
    // White at low power, yellow from power 15.
    LuaPlus::LuaObject colour;
    colour.AssignNewTable(state);
    colour.SetInteger(1, 255);
    colour.SetInteger(2, 255);
    colour.SetInteger(3, 255 - std::min(int(17 * power), 255));
    auto place = [&](ParticleEmitter* emitter) {
        emitter->SetPosition(int(x) - emitter->GetWidth() / 2, int(y) - emitter->GetHeight() / 2);
        if (logic)
            logic->AddEmitter(emitter);
        emitter->Start();
    };
    if (logic) {
        for (const char* spray : kSprays[m_Vertical][m_FacePositive]) {
            ParticleEmitter* emitter = MakeEmitter("PaddleWhackEmitter");
            if (!emitter)
                break;
            emitter->SetParticleProperty("randomizedVelocity", state->GetGlobal(spray));
            emitter->SetParticleProperty("color", colour);
            place(emitter);
        }
    }

    const bool whacking = m_SwingState == WhackStroke || m_SwingState == WhackFollowThrough;
    const bool swinging = m_SwingState == SwingStroke || m_SwingState == SwingFollowThrough;
    if (!logic)
        return;
    if (!m_SweetSpotHit) {
        if (m_SwingState == SwingStroke)
            logic->ShowPrompt("click", "check");
        else if (m_SwingState == WhackStroke)
            logic->ShowPrompt("smash", "check");
        return;
    }
    if (ParticleEmitter* emitter = MakeEmitter(
            m_SwingState == SwingFollowThrough ? "SweetSpotEmitterSmall" : "SweetSpotEmitterBig"))
        place(emitter);
    if (whacking) {
        if (logic->ShowPrompt("smash", "check"))
            logic->ShowMessage("Power Smash!", 1000);
    } else if (swinging) {
        if (logic->ShowPrompt("click", "check") && logic->ShowPrompt("powerhit", "check"))
            logic->ShowMessage("Power Hit!", 1000);
    }
}

// ---- Bricks and walls ------------------------------------------------------------------------

void Paddle::HitBlock(ArcadeStructure* block, double x, double y, double nx, double ny,
                      double depth)
{
    SyncFromPhysics();
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    // s is the swing axis (y for a horizontal paddle, x for a vertical one), t the slide
    // axis; a vertical paddle follows the horizontal rule mirrored on x.
    const Vector2D centre = body->GetPosition();
    const double thickness = m_Vertical ? m_ShapeWidth : m_ShapeHeight;
    const double length = m_Vertical ? m_ShapeHeight : m_ShapeWidth;
    const double centreS = m_Vertical ? centre.x : centre.y;
    const double lo = centreS - thickness / 2, hi = centreS + thickness / 2;
    const double slideAt = m_Vertical ? y : x;
    const double swingAt = m_Vertical ? x : y;
    const double blockMin = m_Vertical ? block->GetMinXAtY(slideAt) : block->GetMinYAtX(slideAt);
    const double blockMax = m_Vertical ? block->GetMaxXAtY(slideAt) : block->GetMaxYAtX(slideAt);
    Vector2D velocity = body->GetLinearVel();
    double& vs = m_Vertical ? velocity.x : velocity.y;
    double& vt = m_Vertical ? velocity.y : velocity.x;

    auto moveAlongSwing = [&](double by) {
        const Vector2D at = body->GetPosition();
        if (m_Vertical)
            body->SetPosition(at.x + by, at.y);
        else
            body->SetPosition(at.x, at.y + by);
        SyncFromPhysics();
    };
    auto stopStroke = [&] {
        m_SwingSpeed = 0;
        m_Power = m_BasePower;
        ApplySwingVelocity();
    };

    if (nx == 0 || ny == 0) {
        if (!m_FacePositive) {
            if (std::fabs(blockMin - hi) < 3.0 && vs > 0) {
                ApplySwingVelocity();
                moveAlongSwing(-depth);
                return;
            }
            if (std::fabs(blockMax - lo) < 6.0 && vs < 0) {
                stopStroke();
                moveAlongSwing(depth + 0.01);
                return;
            }
        } else {
            if (std::fabs(blockMax - lo) < 3.0 && vs < 0) {
                ApplySwingVelocity();
                moveAlongSwing(depth);
                return;
            }
            if (std::fabs(blockMin - hi) < 6.0 && vs > 0) {
                stopStroke();
                moveAlongSwing(-depth - 0.01);
                return;
            }
        }
    }

    // The block stops the slide: the paddle is put beside it.
    const double blockCentre =
        m_Vertical ? block->GetY() + block->GetHeight() / 2 : block->GetX() + block->GetWidth() / 2;
    const double paddleCentre = m_Vertical ? m_CentreY : m_CentreX;
    double start;
    if (blockCentre < paddleCentre) {
        start = int(m_Vertical ? block->GetMaxYAtX(swingAt) : block->GetMaxXAtY(swingAt));
        vt = std::max(vt, 0.0);
    } else if (blockCentre > paddleCentre) {
        start = (m_Vertical ? block->GetMinYAtX(swingAt) : block->GetMinXAtY(swingAt)) - length;
        vt = std::min(vt, 0.0);
    } else {
        return;
    }
    body->SetLinearVel(velocity.x, velocity.y);
    const Vector2D at = body->GetPosition();
    const double slideCentre = int(start) + int(length) / 2;
    if (m_Vertical)
        body->SetPosition(at.x, slideCentre);
    else
        body->SetPosition(slideCentre, at.y);
    SyncFromPhysics();
}

void Paddle::HitWall(ArcadeStructure* wall)
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    const std::string& name = wall->GetName();
    Vector2D velocity = body->GetLinearVel();
    const Vector2D at = body->GetPosition();
    const double half = (m_Vertical ? m_ShapeHeight : m_ShapeWidth) / 2;
    if (!m_Vertical) {
        if (name == "LeftWall" || name == "LeftWallDangerous") {
            body->SetPosition(wall->GetX() + wall->GetWidth() + int(half), at.y);
            velocity.x = std::max(velocity.x, 0.0);
        } else if (name == "RightWall" || name == "RightWallDangerous") {
            body->SetPosition(wall->GetX() - GetWidth() + int(half), at.y);
            velocity.x = std::min(velocity.x, 0.0);
        } else {
            return;
        }
    } else {
        if (name == "TopWall" || name == "TopWallDangerous") {
            body->SetPosition(at.x, wall->GetY() + wall->GetHeight() + int(half));
            velocity.y = std::max(velocity.y, 0.0);
        } else if (name == "BottomWall" || name == "BottomWallDangerous") {
            body->SetPosition(at.x, wall->GetY() - int(2 * half) + int(half));
            velocity.y = std::min(velocity.y, 0.0);
        } else {
            return;
        }
    }
    body->SetLinearVel(velocity.x, velocity.y);
    SyncFromPhysics();
}
