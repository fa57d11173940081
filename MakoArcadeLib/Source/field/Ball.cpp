// Ball: state, speed and energy, size, paddle holding, count-down and split.
#include "field/Ball.h"

#include "core/AppHost.h"
#include "core/Class.h"
#include "core/DataRange.h"
#include "core/DataReport.h"
#include "core/Event.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "field/Brick.h"
#include "field/FieldBounds.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsMass.h"
#include "physics/World.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "sound/Sound.h"
#include "widgets/Label.h"

#include <algorithm>
#include <cmath>

MAKO_IMPLEMENT_CLASS(Ball, "Ball", "ArcadeStructure", &Ball::RegisterProperties,
                     &InstantiateObjectOfClass<Ball>);

BallSpeedLimits gBallSpeed;

const double BallRadii[7] = {4, 6, 8, 12, 16, 24, 32};

namespace {

const unsigned kBallCategory = 1;
const unsigned kBallCollideMask = 219;
// Contacts of balls are hard, whatever the substance: a constraint-force-mixing softness
// (0.00001 for solid balls, 0.3 for air was tried) lets heavy or fast balls sink into what
// they hit and stop dead there, since the give grows with the ball's mass and shrinks with
// the sub-step.
const double kBallSoftness = 0.0;
const double kAirSoftness = 0.0;
// A ball moves at most this share of its radius per sub-step of the world.
const double kTravelPerSubStep = 0.5;
// Headroom for speed a ball gains from contacts during a step.
const double kSpeedHeadroom = 1.25;
const int kCountDownMs = 750;
const int kStuckTicks = 30;
const int kLoopResetTicks = 900;

// A vector of length `length` along v, or along +x for a zero v.
Point<double> WithLength(const Point<double>& v, double length)
{
    const double l = std::sqrt(v.x * v.x + v.y * v.y);
    if (l == 0.0)
        return Point<double>(length, 0.0);
    return Point<double>(v.x * length / l, v.y * length / l);
}

double Length(const Point<double>& v)
{
    return std::sqrt(v.x * v.x + v.y * v.y);
}

// The centre of an actor's geometry, else of its rectangle.
Point<double> CentreOf(const ArcadeActor* actor)
{
    if (const PhysicsGeom* geom = actor->GetGeom())
        return geom->GetCenter();
    return Point<double>(actor->GetX() + actor->GetWidth() / 2,
                         actor->GetY() + actor->GetHeight() / 2);
}

TimerManager* Timers()
{
    AppHost* host = GetAppHost();
    return host ? host->GetTimerManager() : nullptr;
}

// The fastest a ball may be asked to go, pixels per second: twice the game's own top
// speed. A level's speed limits are held below it, and so is every change of speed a level
// sets (per energy level, per brick, per tick ...), so no sum of them takes a ball across
// the field in a pass.
constexpr double kFastest = Ball::kFastestSpeed / 3.0;
// The slowest a level's speeds may be: a ball held below it would hang in the field.
constexpr double kSlowest = 50.0;
constexpr double kMostChange = 200.0;

struct LimitEntry
{
    double BallSpeedLimits::*limit;
    const char* key;
    const char* global;
    double low, high;
};
const LimitEntry kLimitEntries[] = {
    {&BallSpeedLimits::initialBallSpeed, "initalBallSpeed", "defaultInitialBallSpeed", 0, kFastest},
    {&BallSpeedLimits::minBallSpeed, "minBallSpeed", "defaultMinBallSpeed", kSlowest, kFastest},
    {&BallSpeedLimits::maxBallSpeed, "maxBallSpeed", "defaultMaxBallSpeed", kSlowest, kFastest},
    {&BallSpeedLimits::maxBallOrdinarySpeed, "maxBallOrdinarySpeed", "defaultMaxBallOrdinarySpeed",
     kSlowest, kFastest},
    {&BallSpeedLimits::addSpeedOnBrickDestruction, "addSpeedOnBrickDestruction",
     "defaultAddSpeedOnBrickDestruction", -kMostChange, kMostChange},
    {&BallSpeedLimits::addSpeedOnGooberDestruction, "addSpeedOnGooberDestruction",
     "defaultAddSpeedOnGooberDestruction", -kMostChange, kMostChange},
    {&BallSpeedLimits::addSpeedOnLevelUp, "addSpeedOnLevelUp", "defaultAddSpeedOnLevelUp",
     -kMostChange, kMostChange},
    {&BallSpeedLimits::addSpeedPerTick, "addSpeedPerTick", "defaultAddSpeedPerTick", -10, 10},
    {&BallSpeedLimits::addSpeedOnSpring, "addSpeedOnSpring", "defaultAddSpeedOnSpring",
     -kMostChange, kMostChange},
    {&BallSpeedLimits::speedPerEnergy, "ballSpeedPerEnergy", "defaultSpeedPerEnergy", 0, 100},
    {&BallSpeedLimits::extraSpeedUpwards, "ballExtraSpeedUpwards", "defaultExtraSpeedUpwards",
     -kMostChange, kMostChange},
    {&BallSpeedLimits::rubberSpeed, "rubberSpeed", "defaultRubberSpeed", 0, kMostChange},
    {&BallSpeedLimits::rubberEnergy, "rubberEnergy", "defaultRubberEnergy", 0, 16},
    {&BallSpeedLimits::glueSpeed, "glueSpeed", "defaultGlueSpeed", 0, kMostChange},
};

} // namespace

void BallSpeedLimits::ReadFrom(const LuaPlus::LuaObject& levelTable)
{
    const LuaPlus::LuaObject globals = GetGlobalLuaState()->GetGlobals();
    for (const LimitEntry& e : kLimitEntries) {
        LuaPlus::LuaObject value = ReadDataKey(levelTable, e.key, LUA_TNUMBER);
        std::string subject;
        if (value.IsNil()) {
            subject = "The game's defaults";
            value = ReadDataKey(globals, e.global, LUA_TNUMBER, subject);
        }
        if (value.IsNumber())
            this->*e.limit = DataRange::Read(subject, subject.empty() ? e.key : e.global,
                                             value.GetNumber(), e.low, e.high, this->*e.limit);
    }
}

std::vector<const char*> BallSpeedLimits::LevelKeys()
{
    std::vector<const char*> keys;
    for (const LimitEntry& e : kLimitEntries)
        keys.push_back(e.key);
    return keys;
}

// ---- Construction ---------------------------------------------------------------------------

Ball::Ball() : m_Speed(gBallSpeed.initialBallSpeed)
{
    InitBall();
}

Ball::Ball(double x, double y, double vx, double vy, bool active)
    : m_Speed(gBallSpeed.initialBallSpeed)
{
    InitBall();
    // A ball is made inside the field, wherever it was asked for.
    const Point<double> at = InsideField(x, y);
    m_Position = at;
    m_Velocity = Point<double>(vx, vy);
    PlaceCentre(at.x, at.y);
    SyncFromPhysics();
    SetActive(active);
}

Ball::Ball(Paddle* paddle) : m_Speed(gBallSpeed.initialBallSpeed)
{
    InitBall();
    AttachToPaddle(paddle, true);
    PlaceOnPaddle();
    if (paddle)
        paddle->SetSkipNextHitCount(true);
}

Ball::~Ball()
{
    if (m_LightningChannel) {
        // A channel that cannot be stopped any more is no reason to stop the game.
        try {
            Sound::StopChannel(m_LightningChannel);
        } catch (const std::exception& e) {
            Log("Ball: the lightning sound could not be stopped: %s\n", e.what());
        }
    }
    if (m_CountDownTimer)
        if (TimerManager* timers = Timers())
            timers->KillTimer(m_CountDownTimer);
    KillCountDownLabels();
    if (Paddle* paddle = m_Paddle.Get())
        paddle->RemoveHeldBall(this);
}

void Ball::InitBall()
{
    SetMovable(true);
    SetCollideBits(kBallCollideMask);
    SetCategoryBits(kBallCategory);
    SetSoftness(kBallSoftness);
    SetCircle(8.0);
    SetZOrder(8);
    CreateEmitters();
    RefreshImage();
}

void Ball::PlaceCentre(double x, double y)
{
    SetPosition(int(std::lround(x)) - GetWidth() / 2, int(std::lround(y)) - GetHeight() / 2);
    if (m_Geom)
        m_Geom->SetPosition(x, y);
}

// ---- Speed and energy -----------------------------------------------------------------------

double Ball::ClampSpeed(double speed) const
{
    if (speed <= gBallSpeed.minBallSpeed)
        speed = gBallSpeed.minBallSpeed;
    const double top = m_Energy < 1 ? gBallSpeed.maxBallOrdinarySpeed : gBallSpeed.maxBallSpeed;
    return std::min(speed, top);
}

void Ball::AddSpeed(double amount, bool counted)
{
    if (amount == 0.0)
        return;
    const double old = m_Speed;
    m_Speed = ClampSpeed(m_Speed + amount);
    if (counted)
        m_EnergySpeed += m_Speed - old;
}

void Ball::AddSpeedAlong(double vx, double vy, bool counted)
{
    const double old = m_Speed;
    m_Speed = ClampSpeed(m_Speed + std::sqrt(vx * vx + vy * vy));
    if (PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        body->SetLinearVel(v.x + vx, v.y + vy);
    }
    m_Velocity = Point<double>(m_Velocity.x + vx, m_Velocity.y + vy);
    if (counted)
        m_EnergySpeed += m_Speed - old;
}

void Ball::RaiseSpeedLevelBy(int n, const Point<double>* direction)
{
    if (m_Corona == "Breakthru")
        n = 0;
    // Whatever raises it (a brick's addEnergy from data), no ball holds more than the most
    // energy levels, so no sum of them overflows.
    n = std::clamp(n, -kMostEnergy, kMostEnergy);
    const int old = m_Energy;
    const int raised = std::max(n, old);
    const int below = old < 0 ? std::min(raised - old, -old) : 0;
    m_Energy = raised;
    const double uncounted = 0.5 * gBallSpeed.speedPerEnergy * below;
    const double counted = (raised - old - below) * gBallSpeed.speedPerEnergy;
    if (!direction) {
        AddSpeed(uncounted, false);
        AddSpeed(counted, true);
        return;
    }
    const Point<double> unit = WithLength(*direction, 1.0);
    if (uncounted != 0.0)
        AddSpeedAlong(unit.x * uncounted, unit.y * uncounted, false);
    if (counted != 0.0)
        AddSpeedAlong(unit.x * counted, unit.y * counted, true);
}

void Ball::RaiseSpeedLevel(int n)
{
    RaiseSpeedLevelBy(n, nullptr);
}

void Ball::RaiseSpeedLevelAlong(int n, double dx, double dy)
{
    const Point<double> direction(dx, dy);
    RaiseSpeedLevelBy(n, &direction);
}

void Ball::LowerSpeedLevel(int n)
{
    n = std::clamp(n, -2 * kMostEnergy, 2 * kMostEnergy);
    m_Overdrive = 0;
    const int old = m_Energy;
    m_Energy = old - n;
    const int above = old > 0 ? std::min(n, old) : 0;
    const int below = n - above;
    AddSpeed(-0.5 * gBallSpeed.speedPerEnergy * below, false);
    AddSpeed(std::max(m_Energy * gBallSpeed.speedPerEnergy, 0.0) - m_EnergySpeed, true);
    const double loss = 0.5 * gBallSpeed.speedPerEnergy * below + above * gBallSpeed.speedPerEnergy;
    if (loss == 0.0)
        return;
    if (PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        const Point<double> now(v.x, v.y);
        const Point<double> slower = WithLength(now, Length(now) - loss);
        body->SetLinearVel(slower.x, slower.y);
    }
}

void Ball::CapSpeedLevel(int n)
{
    if (m_Energy < 0)
        return;
    m_Energy -= std::min(m_Energy, n);
}

void Ball::ShedEnergy(int n)
{
    if (m_Corona == "Breakthru" && m_Energy >= 0)
        LowerSpeedLevel(m_Energy);
    const int old = m_Energy;
    int target = old - n;
    if (m_BaseStrength + target < 1)
        target = 1 - m_BaseStrength;
    LowerSpeedLevel(m_Energy - target);
    const int rest = n + target - old;
    if (rest <= 0)
        return;
    if (PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        const Point<double> now(v.x, v.y);
        const double length = Length(now);
        if (length >= m_Speed) {
            const double slowed =
                std::max(length - 0.5 * gBallSpeed.speedPerEnergy * rest, m_Speed);
            const Point<double> result = WithLength(now, slowed);
            body->SetLinearVel(result.x, result.y);
        }
    }
}

int Ball::GetHitStrength() const
{
    const int strength = m_BaseStrength + m_Energy;
    if (m_Substance == "Air" && strength == 1)
        return RandomDouble(1.0) < 0.35 ? 1 : 0;
    return strength;
}

void Ball::UpdateDensity()
{
    m_Density = m_TargetRadius / 8.0;
    if (m_Substance == "Lead")
        m_Density *= 2.0;
    else if (m_Substance == "Air")
        m_Density /= 4.0;
    ApplyMass();
}

void Ball::UpdateBaseStrength()
{
    int strength = m_Density < 1.0 ? 0 : 1;
    const int t = (m_SizeIndex - 1) / 2;
    strength += t;
    if (m_Substance == "Lead")
        strength += m_SizeIndex <= 2 ? 1 : t;
    m_BaseStrength = std::max(strength, 1);
}

void Ball::ApplyMass()
{
    if (PhysicsBody* body = GetPhysicsBody()) {
        PhysicsMass mass;
        mass.SetSphere(m_Density, GetRadius());
        body->SetMass(mass);
    }
}

// ---- Appearance and kind --------------------------------------------------------------------

void Ball::SetSubstance(const std::string& name, bool playSound)
{
    if (name != m_Substance && playSound) {
        if (name == "Rubber")
            PlaySound("rubber_start.ogg", false);
        else if (name == "Lead")
            PlaySound("lead_start.ogg", false);
        else if (name == "Air")
            PlaySound("beachball_start.ogg", false);
    }
    m_Substance = name;
    SetSoftness(name == "Air" ? kAirSoftness : kBallSoftness);
    UpdateDensity();
    UpdateBaseStrength();
    RefreshImage();
}

void Ball::SetCorona(const std::string& name)
{
    if (name != m_Corona && name == "Breakthru")
        PlaySound("Breakthru.ogg", false);
    if (name == "Lightning") {
        m_LightningStrength = std::min(m_LightningStrength + 1, 3);
        if (!m_LightningChannel || Sound::GetChannelFrequency(m_LightningChannel) == 0) {
            PlaySound("LightningStart.ogg", false);
            m_LightningChannel = PlaySound("LightningLoop.ogg", true);
        }
        if (m_LightningChannel)
            Sound::SetChannelVolume(m_LightningChannel, 10 * m_LightningStrength);
    } else {
        if (m_LightningChannel)
            Sound::StopChannel(m_LightningChannel);
        m_LightningChannel = 0;
        m_LightningStrength = 0;
        SetFrame(0);
    }
    m_Corona = name;
    if (name == "Glue")
        m_GlueCharges = 20;
    UpdateBaseStrength();
    RefreshImage();
}

void Ball::SetActive(bool active)
{
    m_Active = active;
    RefreshImage();
}

void Ball::SetRadiusNow(double radius)
{
    Point<double> centre = CentreOf(this);
    m_Radius = radius;
    m_ShapeWidth = m_ShapeHeight = 2.0 * radius;
    if (m_Geom)
        m_Geom->SetRadiusGradually(radius - 0.01);
    RescaleImage();
    // A held ball grown against a wall moves out of it (the walls let held balls through).
    if (Paddle* paddle = m_Paddle.Get()) {
        centre = InsideField(centre.x, centre.y);
        const Point<double> c = CentreOf(paddle);
        m_PaddleOffset = Point<double>(centre.x - c.x, centre.y - c.y);
        m_Position = centre;
        if (m_Geom)
            m_Geom->SetPosition(centre.x, centre.y);
    }
    SetPosition(int(std::lround(centre.x)) - GetWidth() / 2,
                int(std::lround(centre.y)) - GetHeight() / 2);
    ApplyMass();
}

void Ball::SetSize(double radius, double targetRadius, int sizeIndex)
{
    if (sizeIndex < 0 || sizeIndex > 6) {
        Log("Ball: size index %d is outside 0..6; using %d.\n", sizeIndex,
            std::clamp(sizeIndex, 0, 6));
        sizeIndex = std::clamp(sizeIndex, 0, 6);
    }
    m_TargetRadius = targetRadius;
    m_ImageRadius = targetRadius;
    m_SizeIndex = m_ImageIndex = sizeIndex;
    SetRadiusNow(radius);
    UpdateDensity();
    UpdateBaseStrength();
    RefreshImage();
}

void Ball::Grow()
{
    m_SizeIndex = std::min(m_SizeIndex + 1, 6);
    m_TargetRadius = BallRadii[m_SizeIndex];
    if (m_ImageRadius == GetRadius() && m_TargetRadius > m_ImageRadius && m_ImageIndex < 6) {
        m_ImageRadius = BallRadii[++m_ImageIndex];
        RefreshImage();
    }
    UpdateBaseStrength();
    UpdateDensity();
}

void Ball::Shrink()
{
    m_SizeIndex = std::max(m_SizeIndex - 1, 0);
    m_TargetRadius = BallRadii[m_SizeIndex];
    if (m_ImageRadius == GetRadius() && m_TargetRadius < m_ImageRadius && m_ImageIndex > 0) {
        m_ImageRadius = BallRadii[--m_ImageIndex];
        RefreshImage();
    }
    UpdateBaseStrength();
    UpdateDensity();
}

void Ball::StepSize()
{
    const double radius = GetRadius();
    if (radius < m_TargetRadius) {
        SetRadiusNow(std::min(radius + 0.25, m_TargetRadius));
        if (m_ImageRadius >= GetRadius() && m_ImageRadius < m_TargetRadius && m_ImageIndex < 6) {
            m_ImageRadius = BallRadii[++m_ImageIndex];
            RefreshImage();
        }
    } else if (radius > m_TargetRadius) {
        SetRadiusNow(std::max(radius - 0.25, m_TargetRadius));
        if (m_ImageRadius <= GetRadius() && m_ImageRadius > m_TargetRadius && m_ImageIndex > 0) {
            m_ImageRadius = BallRadii[--m_ImageIndex];
            RefreshImage();
        }
        if (Paddle* paddle = m_Paddle.Get()) {
            double& along = paddle->IsVertical() ? m_PaddleOffset.x : m_PaddleOffset.y;
            along = along > 0 ? std::max(along - 0.25, 0.0) : std::min(along + 0.25, 0.0);
            PlaceOnPaddle();
        }
    }
}

// ---- Held by a paddle -----------------------------------------------------------------------

void Ball::AttachToPaddle(Paddle* paddle, bool inactive)
{
    m_Velocity = Point<double>();
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetLinearVel(0.0, 0.0);
    if (paddle)
        paddle->AddHeldBall(this);
    m_Paddle.Set(paddle);
    if (paddle) {
        const Point<double> ball = CentreOf(this);
        const Point<double> centre = CentreOf(paddle);
        m_PaddleOffset = Point<double>(ball.x - centre.x, ball.y - centre.y);
    }
    m_Active = !inactive;
    if (!m_Active) {
        SetCategoryBits(0);
        SetCollideBits(0);
    }
    RefreshImage();
}

void Ball::PlaceOnPaddle()
{
    Paddle* paddle = m_Paddle.Get();
    if (!paddle)
        return;
    const Point<double> c = CentreOf(paddle);
    const double h2 = paddle->GetHeight() / 2.0;
    const double r = GetRadius();
    const double reach = h2 + r;
    Point<double> centre;
    if (!paddle->IsVertical())
        centre = Point<double>(c.x, paddle->FacesPositive() ? c.y + reach : c.y - reach);
    else
        centre = Point<double>(paddle->FacesPositive() ? c.x + reach : c.x - reach, c.y);
    centre = InsideField(centre.x, centre.y);
    m_Position = centre;
    PlaceCentre(centre.x, centre.y);
    m_PaddleOffset = Point<double>(centre.x - c.x, centre.y - c.y);
}

void Ball::ReleaseFromPaddle()
{
    Paddle* paddle = m_Paddle.Get();
    if (paddle) {
        paddle->RemoveHeldBall(this);
        paddle->SetCatchCooldown(6);
        const Point<double> c = CentreOf(paddle);
        Point<double> at(c.x + m_PaddleOffset.x, c.y + m_PaddleOffset.y);
        const double shift = paddle->FacesPositive() ? -0.01 : 0.01;
        if (paddle->IsVertical())
            at.x += shift;
        else
            at.y += shift;
        at = InsideField(at.x, at.y);
        m_Position = at;
        if (m_Geom)
            m_Geom->SetPosition(at.x, at.y);
        PlaceCentre(at.x, at.y);
    }
    Point<double> direction = m_Velocity;
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        direction = Point<double>(v.x, v.y);
    }
    m_Velocity = WithLength(direction, m_Speed);
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetLinearVel(m_Velocity.x, m_Velocity.y);
    m_Paddle.Clear();
    m_TicksSinceStrike = 0; // a serve is a stroke of the paddle
    SetCategoryBits(kBallCategory);
    SetCollideBits(kBallCollideMask);
    SetActive(true);
}

Point<double> Ball::InsideField(double x, double y) const
{
    const FieldBounds field = FieldBounds::Current();
    const double r = GetRadius();
    // A field narrower than the ball, or a place that is no number, keeps the centre in
    // the field's middle.
    auto keep = [r](double v, double low, double high) {
        return low + r > high - r || std::isnan(v) ? (low + high) / 2
                                                   : std::clamp(v, low + r, high - r);
    };
    return Point<double>(keep(x, field.left, field.right), keep(y, field.top, field.bottom));
}

namespace {
Ball::PutBackObserver* s_PutBackObserver = nullptr;
} // namespace

Ball::PutBackObserver* Ball::SetPutBackObserver(PutBackObserver* observer)
{
    PutBackObserver* replaced = s_PutBackObserver;
    s_PutBackObserver = observer;
    return replaced;
}

void Ball::KeepOutOfWalls()
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body || !m_Geom || !m_Geom->IsEnabled() || IsDead())
        return;
    const Vector2D c = body->GetPosition();
    const Point<double> in = InsideField(c.x, c.y);
    const double sink = GetRadius() / 2;
    const bool deepX = std::fabs(in.x - c.x) > sink, deepY = std::fabs(in.y - c.y) > sink;
    if (!deepX && !deepY)
        return;
    if (s_PutBackObserver)
        s_PutBackObserver->OnPutBack(*this, c.x, c.y,
                                     std::max(std::fabs(in.x - c.x), std::fabs(in.y - c.y)),
                                     m_PaddlePassTouched || m_TicksSincePaddleHit <= 1);
    Vector2D v = body->GetLinearVel();
    Vector2D at = c;
    if (deepX) {
        at.x = in.x;
        v.x = in.x > c.x ? std::fabs(v.x) : -std::fabs(v.x);
    }
    if (deepY) {
        at.y = in.y;
        v.y = in.y > c.y ? std::fabs(v.y) : -std::fabs(v.y);
    }
    body->SetPosition(at.x, at.y);
    body->SetLinearVel(v.x, v.y);
    SyncFromPhysics();
}

// ---- Count-down -----------------------------------------------------------------------------

void Ball::KillCountDownLabels()
{
    const std::list<Actor*> labels = m_CountDownLabels.GetMembers();
    for (Actor* label : labels) {
        m_CountDownLabels.Remove(label);
        label->Kill();
    }
}

void Ball::PlaceCountDownLabel()
{
    for (Actor* label : m_CountDownLabels.GetMembers()) {
        const Point<double> c = CentreOf(this);
        const int top = int(std::lround(c.y - GetRadius()));
        label->SetPosition(int(std::lround(c.x)) - label->GetWidth() / 2, top - label->GetHeight());
    }
}

void Ball::StartCountDown()
{
    TimerManager* timers = Timers();
    if (m_CountDownTimer && timers)
        timers->KillTimer(m_CountDownTimer);
    m_CountDownTimer = 0;
    KillCountDownLabels();
    if (timers)
        m_CountDownTimer = timers->CreateTimer(this, kCountDownMs, 3, TIMER_LIMITED_TO_FRAMERATE);
    m_CountDown = 3;
    // The label is shown by the controller (or, without one, by the ball's parent).
    if (gLogic || GetParent()) {
        Label* label = Label::CreateFromResource("CountDownFont", std::to_string(m_CountDown));
        label->SetZOrder(5);
        m_CountDownLabels.Add(label);
        PlaceCountDownLabel();
        if (gLogic)
            gLogic->AddActor(label);
        else
            GetParent()->AddChild(label, "");
    }
    PlaySound("Beep01.ogg", false);
}

bool Ball::OnTimer(const Event& event)
{
    if (m_CountDownTimer == 0 || std::uint32_t(EventData1Int(event)) != m_CountDownTimer)
        return false;
    --m_CountDown;
    if (m_CountDown <= 0) {
        KillCountDownLabels();
        if (m_Geom)
            m_Geom->Enable();
        if (PhysicsBody* body = GetPhysicsBody()) {
            const Vector2D v = body->GetLinearVel();
            const Point<double> unit = WithLength(Point<double>(v.x, v.y), 1.0);
            body->SetLinearVel(unit.x, unit.y);
        }
        m_CountDownTimer = 0;
        return true;
    }
    if (m_CountDown == 2)
        PlaySound("Beep03.ogg", false);
    else if (m_CountDown == 1)
        PlaySound("Beep24.ogg", false);
    for (Actor* label : m_CountDownLabels.GetMembers())
        static_cast<Label*>(label)->SetText(std::to_string(m_CountDown), true);
    PlaceCountDownLabel();
    return true;
}

// ---- Split and break-up ---------------------------------------------------------------------

Ball* Ball::Split()
{
    Ball* ball;
    if (Paddle* paddle = m_Paddle.Get()) {
        ball = new Ball(paddle);
    } else {
        const Point<double> c = CentreOf(this);
        Point<double> v = m_Velocity;
        if (const PhysicsBody* body = GetPhysicsBody()) {
            const Vector2D bv = body->GetLinearVel();
            v = Point<double>(bv.x, bv.y);
        }
        ball = new Ball(c.x, c.y, v.x, v.y, m_Active);
    }
    ball->AddSpeed(m_Speed - gBallSpeed.initialBallSpeed, false);
    ball->SetSubstance(m_Substance, false);
    if (m_Corona != "None") {
        // Lightning stacks per call: the copy gets this ball's strength.
        for (int i = 0; i < std::max(1, m_LightningStrength); ++i)
            ball->SetCorona(m_Corona);
        ball->m_GlueCharges = m_GlueCharges;
    }
    ball->SetSize(GetRadius(), m_TargetRadius, m_SizeIndex);
    ball->m_ImageRadius = m_ImageRadius;
    ball->m_ImageIndex = m_ImageIndex;
    ball->RefreshImage();
    ball->m_Energy = m_Energy;
    ball->m_EnergySpeed = m_EnergySpeed;
    return ball;
}

// ---- Actor and structure --------------------------------------------------------------------

void Ball::Tick()
{
    // 1. Movement of the last tick, and the motion blur it asks for.
    if (m_Geom) {
        const Point<double> c = m_Geom->GetCenter();
        m_MoveDelta = Point<double>(c.x - m_Position.x, c.y - m_Position.y);
    }
    m_BlurIndex = 0;
    UpdateBlurCount();

    Paddle* paddle = m_Paddle.Get();
    // 2. Free, active balls gather speed.
    if (m_Active && !paddle) {
        AddSpeed(gBallSpeed.addSpeedPerTick, false);
        if (m_Energy > 4) {
            m_Overdrive += 1;
            AddSpeed(m_Overdrive, true);
        }
    }
    // 3. Follow the paddle, or steer the body's speed towards the target speed.
    if (paddle) {
        paddle->SyncFromPhysics();
        PhysicsBody* body = GetPhysicsBody();
        if (body)
            body->SetLinearVel(0.0, 0.0);
        const Point<double> c = CentreOf(paddle);
        const Point<double> at = InsideField(c.x + m_PaddleOffset.x, c.y + m_PaddleOffset.y);
        if (m_Geom)
            m_Geom->SetPosition(at.x, at.y);
        else
            PlaceCentre(at.x, at.y);
        SyncFromPhysics();
    } else {
        ApplyDeferredSpeed();
        RegulateSpeed();
        KeepOutOfWalls();
    }
    // 4. The count-down label rides above the ball.
    PlaceCountDownLabel();
    // 5. Gradual size change.
    StepSize();
    // 6. Lightning animation.
    if (m_Corona == "Lightning" && m_Image && m_Image->GetNumFrames() > 1)
        SetFrame((GetFrame() + 1) % m_Image->GetNumFrames());
    // 7.
    SyncFromPhysics();
    ArcadeStructure::Tick();
    RequestSubSteps();
    // 8. Bookkeeping.
    m_PaddlePass = m_PaddlePass && m_PaddlePassTouched;
    m_PaddlePassTouched = false;
    ++m_TicksSincePaddleHit;
    // Time on a paddle is not time adrift.
    m_TicksSinceStrike = m_Paddle.Get() ? 0 : m_TicksSinceStrike + 1;
    m_BallPass = m_BallPass && m_BallPassTouched;
    m_BallPassTouched = false;
    if (++m_TicksSinceLoop == kLoopResetTicks)
        m_LoopEscalation = 0;
    if (m_SoundCooldown > 0)
        --m_SoundCooldown;
    // 9. An inactive ball stuck against something for too long breaks up.
    if (m_TouchedThisTick) {
        ++m_TouchTicks;
        m_TouchedThisTick = false;
    } else {
        m_TouchTicks = 0;
    }
    if (m_TouchTicks >= kStuckTicks && !m_Active && !IsDead()) {
        Explode(gLogic);
        Kill();
    }
}

void Ball::RequestSubSteps()
{
    World* world = GetWorld();
    const PhysicsBody* body = GetPhysicsBody();
    if (!world || !body || GetRadius() <= 0.0)
        return;
    const double speed = body->GetLinearVel().Length();
    const double travel = speed * kSpeedHeadroom * FRAME_PERIOD_SECONDS;
    world->RequestSubSteps(ClampToInt(std::ceil(travel / (kTravelPerSubStep * GetRadius()))));
}

void Ball::RegulateSpeed()
{
    PhysicsBody* body = GetPhysicsBody();
    if (!body || !m_Geom || !m_Geom->IsEnabled())
        return;
    const Vector2D velocity = body->GetLinearVel();
    const Point<double> now(velocity.x, velocity.y);
    double v = Length(now);
    if (v <= m_Speed)
        v = std::min(v + 5.0, m_Speed);
    else
        v = std::max(v - 5.0, m_Speed);
    if (v > 2.0 * m_Speed + 50.0)
        v = std::min(v - 25.0, 3.0 * m_Speed + 50.0);
    const Point<double> result = WithLength(now, v);
    body->SetLinearVel(result.x, result.y);
}

void Ball::UpdatePhysics(World* world)
{
    ArcadeStructure::UpdatePhysics(world);
    if (!m_Paddle.Get() || m_Active) {
        SetCategoryBits(kBallCategory);
        SetCollideBits(kBallCollideMask);
    } else {
        SetCategoryBits(0);
        SetCollideBits(0);
    }
    ApplyMass();
    if (m_Geom) {
        // The recorded centre, unless the actor was moved elsewhere since it was recorded.
        const int cx = GetX() + GetWidth() / 2, cy = GetY() + GetHeight() / 2;
        if (int(std::lround(m_Position.x)) == cx && int(std::lround(m_Position.y)) == cy)
            m_Geom->SetPosition(m_Position.x, m_Position.y);
        m_Geom->SetBounciness(PhysicsGeom::BounceAlways);
    }
    SetBounciness(PhysicsGeom::BounceAlways);
    if (PhysicsBody* body = GetPhysicsBody()) {
        body->SetTopSpeed(kFastestSpeed);
        body->SetLinearVel(m_Velocity.x, m_Velocity.y);
    }
    SyncFromPhysics();
    StartEmitters();
    RequestSubSteps();
}

void Ball::SetLaunchVelocity(double vx, double vy)
{
    m_Velocity = Point<double>(vx, vy);
    if (PhysicsBody* body = GetPhysicsBody())
        body->SetLinearVel(vx, vy);
}

void Ball::SyncFromPhysics()
{
    ArcadeStructure::SyncFromPhysics();
    if (m_Geom)
        m_Position = m_Geom->GetCenter();
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        m_Velocity = Point<double>(v.x, v.y);
    }
}

void Ball::Explode(ArcadeGameLogic* logic)
{
    ArcadeGameLogic* controller = logic ? logic : gLogic;
    if (!controller)
        return;
    Point<double> velocity = m_Velocity;
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        velocity = Point<double>(v.x, v.y);
    }
    const int count = std::max(10, GetWidth() * GetHeight() / 40);
    BufferedIdenticalParticleEmitter* emitter = Brick::CreateExplosionEmitter(
        "BrickExplosionEmitter1", this, GetScaledImage(), velocity.x, velocity.y, count);
    if (!emitter)
        return;
    controller->AddEmitter(emitter);
    emitter->Start();
}
