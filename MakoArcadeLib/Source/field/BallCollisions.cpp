// Ball: what a ball does when it touches something. Which contacts it lets pass, how its
// speed and energy react to each kind of object, the breaking of endless perpendicular
// bounce loops, the kick out of flat paths and the bounce effects of glue and substances.
#include "field/Ball.h"

#include "core/Class.h"
#include "core/Log.h"
#include "core/Random.h"
#include "core/Utility.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "sound/Sound.h"

#include <cmath>

namespace {

const double kPerpendicular = 0.99999;
const double kDegreesToRadians = 3.14159265358979323846 / 180.0;

bool IsKind(const ArcadeStructure* other, const char* className)
{
    return other && other->GetClass()->DerivesFrom(className);
}

// Scales the body's velocity to at most limit.
void CapVelocity(PhysicsBody* body, double limit)
{
    if (!body)
        return;
    const Vector2D v = body->GetLinearVel();
    const double length = std::sqrt(v.x * v.x + v.y * v.y);
    if (length > limit && length > 0.0)
        body->SetLinearVel(v.x * limit / length, v.y * limit / length);
}

// Scales the body's velocity to length (a zero velocity becomes length along +x).
void SetVelocityLength(PhysicsBody* body, double length)
{
    if (!body)
        return;
    const Vector2D v = body->GetLinearVel();
    const double now = std::sqrt(v.x * v.x + v.y * v.y);
    if (now == 0.0)
        body->SetLinearVel(length, 0.0);
    else
        body->SetLinearVel(v.x * length / now, v.y * length / now);
}

double VelocityLength(const PhysicsBody* body)
{
    if (!body)
        return 0.0;
    const Vector2D v = body->GetLinearVel();
    return std::sqrt(v.x * v.x + v.y * v.y);
}

} // namespace

bool Ball::AcceptsCollision(CollisionOwner* other, double x, double y)
{
    const Object* object = dynamic_cast<const Object*>(other);
    const Class* c = object ? object->GetClass() : nullptr;
    if (!c)
        return false;
    if (c->DerivesFrom("Collider") || c->DerivesFrom("Paddle"))
        return true;
    if (c->DerivesFrom("Brick") || c->DerivesFrom("DropTarget") || c->DerivesFrom("Goober"))
        return m_Active || m_Paddle.Get() != nullptr;
    if (c->DerivesFrom("Ball"))
        return m_BallPass;
    if (!m_Active)
        return false;
    return m_Corona == "Breakthru" || GetHitStrength() >= 2;
}

void Ball::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                           double nx, double ny, double depth, bool solid)
{
    ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
    if (m_Paddle.Get() || !other)
        return;
    m_TouchedThisTick = true;
    if (IsKind(other, "Brick") || IsKind(other, "DropTarget") || IsKind(other, "Goober") ||
        IsKind(other, "Paddle"))
        m_TicksSinceStrike = 0;
    if (solid)
        DetectLoop(other, nx, ny);
    PhysicsBody* body = GetPhysicsBody();
    CapVelocity(body, 3.0 * m_Speed + 50.0);
    // Whatever the effects below add waits for the tick (DeferSpeedGain).
    struct Deferral
    {
        Ball& ball;
        double before;
        ~Deferral() { ball.DeferSpeedGain(before); }
    } deferral{*this, VelocityLength(body)};

    auto withdrawUpwardBonus = [this] {
        if (m_UpwardBonus) {
            m_Speed -= gBallSpeed.extraSpeedUpwards;
            m_UpwardBonus = false;
        }
    };
    if (IsKind(other, "Brick")) {
        KickOutOfFlatPath();
        withdrawUpwardBonus();
        if (solid) {
            ApplyBounceEffects(gBallSpeed.addSpeedOnBrickDestruction, x, y, nx, ny);
            LightningConnect(other, logic);
        }
    } else if (IsKind(other, "DropTarget")) {
        KickOutOfFlatPath();
        withdrawUpwardBonus();
        ShedEnergy(1);
        if (solid) {
            ApplyBounceEffects(gBallSpeed.addSpeedOnBrickDestruction, x, y, nx, ny);
            LightningConnect(other, logic);
        }
    } else if (IsKind(other, "Wall")) {
        KickOutOfFlatPath();
        withdrawUpwardBonus();
        ShedEnergy(1);
        if (solid)
            ApplyBounceEffects(0.0, x, y, nx, ny);
    } else if (IsKind(other, "Paddle")) {
        if (!m_Active)
            SetActive(true);
        if (!m_UpwardBonus) {
            m_Speed += gBallSpeed.extraSpeedUpwards;
            m_UpwardBonus = true;
        }
        if (m_Energy < 0)
            RaiseSpeedLevel(0);
        CapVelocity(body, 3.0 * m_Speed + 50.0);
    } else if (IsKind(other, "Goober")) {
        withdrawUpwardBonus();
        if (solid) {
            ApplyBounceEffects(gBallSpeed.addSpeedOnGooberDestruction, x, y, nx, ny);
            LightningConnect(other, logic);
        }
    } else if (IsKind(other, "Ball")) {
        if (m_BallPass) {
            m_BallPassTouched = true;
            return;
        }
        withdrawUpwardBonus();
        if (solid) {
            if (m_SoundCooldown == 0) {
                PlaySound("bounce2.ogg", false);
                m_SoundCooldown = 10;
            }
            ApplyBounceEffects(0.0, x, y, nx, ny);
            ShedEnergy(1);
        }
    } else {
        withdrawUpwardBonus();
        ShedEnergy(1);
        if (solid)
            ApplyBounceEffects(0.0, x, y, nx, ny);
    }
    if (solid && m_Astray > 0.0 && !IsKind(other, "Paddle"))
        TurnAstray();
}

void Ball::DeferSpeedGain(double before)
{
    PhysicsBody* body = GetPhysicsBody();
    const double now = VelocityLength(body);
    if (!(now > before))
        return;
    m_DeferredSpeed = std::max(m_DeferredSpeed, now);
    SetVelocityLength(body, before);
}

void Ball::ApplyDeferredSpeed()
{
    const double speed = m_DeferredSpeed;
    m_DeferredSpeed = 0.0;
    PhysicsBody* body = GetPhysicsBody();
    if (speed > VelocityLength(body) && !m_Paddle.Get())
        SetVelocityLength(body, speed);
}

void Ball::TurnAstray()
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    // Either way, at least a fifth of the most, so every bounce changes the path.
    const double most = m_Astray;
    const double size = most * (0.2 + RandomDouble(0.8));
    const double angle = (MakoRand() & 1) ? size : -size;
    const Vector2D v = body->GetLinearVel();
    const double a = angle * kDegreesToRadians;
    body->SetLinearVel(v.x * std::cos(a) - v.y * std::sin(a),
                       v.x * std::sin(a) + v.y * std::cos(a));
    LogAtLevel(3, "Ball: astray.  Turning its flight by %f degrees.\n", angle);
}

void Ball::DetectLoop(ArcadeStructure* other, double nx, double ny)
{
    const bool brick = IsKind(other, "Brick");
    if (!brick && !IsKind(other, "Wall")) {
        m_LoopCount = 0;
        return;
    }
    Vector2D v(1.0, 0.0);
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D bv = body->GetLinearVel();
        const double l = std::sqrt(bv.x * bv.x + bv.y * bv.y);
        if (l > 0.0)
            v = Vector2D(bv.x / l, bv.y / l);
    }
    const double d = nx * v.x + ny * v.y;
    if (d < kPerpendicular && d > -kPerpendicular) {
        m_LoopCount = 0;
        return;
    }
    const bool moving = brick && ((other->GetMotion() && other->GetMotion()->IsRunning()) ||
                                  (other->GetHitMotion() && other->GetHitMotion()->IsRunning()));
    if (moving) {
        m_LoopCount = 0;
        return;
    }
    if (++m_LoopCount <= 3)
        return;
    const int k = ++m_LoopEscalation;
    m_LoopCount = 0;
    m_TicksSinceLoop = 0;
    const double angle = RandomDouble(4.0 * k) - 2.0 * k;
    if (PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D bv = body->GetLinearVel();
        const double a = angle * kDegreesToRadians;
        body->SetLinearVel(bv.x * std::cos(a) - bv.y * std::sin(a),
                           bv.x * std::sin(a) + bv.y * std::cos(a));
    }
    LogAtLevel(3, "Ball: Loop detected.  Deflecting angle by %f degrees.\n", angle);
}

void Ball::KickOutOfFlatPath()
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body)
        return;
    const Vector2D v = body->GetLinearVel();
    const bool flat = v.y == 0.0 ? v.x != 0.0 : std::fabs(v.x / v.y) > 5.0;
    if (!flat)
        return;
    const double kick = RandomDouble(30.0);
    body->SetLinearVel(v.x, v.y > 0.0 ? v.y + kick : v.y - kick);
}

void Ball::ApplyBounceEffects(double addSpeed, double x, double y, double nx, double ny)
{
    PhysicsBody* body = GetPhysicsBody();
    if (m_Corona == "Glue") {
        addSpeed -= gBallSpeed.glueSpeed;
        SetVelocityLength(body,
                          std::max(0.7 * VelocityLength(body) - 3.0 * gBallSpeed.glueSpeed, 25.0));
        EmitGlueSplash(x, y, nx, ny);
        if (--m_GlueCharges <= 0) {
            m_GlueCharges = 0;
            SetCorona("None");
        }
    }
    const char* sound = nullptr;
    if (m_Substance == "Rubber") {
        addSpeed += gBallSpeed.rubberSpeed;
        SetVelocityLength(body, VelocityLength(body) + 15.0 * gBallSpeed.rubberSpeed);
        RaiseSpeedLevel(int(gBallSpeed.rubberEnergy));
        sound = "rubber_bounce.ogg";
    } else if (m_Substance == "Air") {
        sound = "beachball_bounce.ogg";
    } else if (m_Substance == "Lead") {
        sound = "lead_bounce.ogg";
    }
    if (sound && m_SoundCooldown == 0) {
        PlaySound(sound, false);
        m_SoundCooldown = 10;
    }
    AddSpeed(addSpeed, false);
}

void Ball::SpringBounce(double nx, double ny)
{
    AddSpeedAlong(gBallSpeed.addSpeedOnSpring * nx, gBallSpeed.addSpeedOnSpring * ny, false);
    PhysicsBody* body = GetPhysicsBody();
    SetVelocityLength(body, VelocityLength(body) + 6.0 * gBallSpeed.addSpeedOnSpring);
}
