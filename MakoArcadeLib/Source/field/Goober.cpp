#include "field/Goober.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Exception.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Ball.h"
#include "field/Brick.h"
#include "field/Explosion.h"
#include "field/FieldBounds.h"
#include "field/FlashPicture.h"
#include "field/FlyingText.h"
#include "field/Paddle.h"
#include "field/Powerup.h"
#include "field/Wall.h"
#include "geometry/Color.h"
#include "geometry/RectAlignment.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsMass.h"
#include "scene/BufferedIdenticalParticleEmitter.h"
#include "sound/Sound.h"

#include <algorithm>
#include <cmath>
#include <memory>

MAKO_IMPLEMENT_CLASS(Goober, "Goober", "ArcadeStructure", &Goober::RegisterProperties,
                     &InstantiateObjectOfClass<Goober>);

namespace {

// Brick, Goober, Paddle, Shield, Wall and LaserBeam: no balls and no power-ups.
constexpr unsigned kGooberCollideBits = 474;
constexpr double kDegreesPerRadian = 57.29577951308232;
// The burst of pieces: one per 40 square pixels of the goober.
constexpr int kPixelsPerPiece = 40;

const std::string& OtherClassName(const ArcadeStructure* other)
{
    return other->GetClass()->GetName();
}

Point<double> GeomPosition(const ArcadeStructure* structure)
{
    const PhysicsGeom* geom = structure->GetGeom();
    if (!geom)
        return Point<double>(structure->GetX() + structure->GetWidth() / 2.0,
                             structure->GetY() + structure->GetHeight() / 2.0);
    const auto p = geom->GetPosition();
    return Point<double>(p[0], p[1]);
}

} // namespace

Goober::Goober()
{
    m_Powerups.AssignNewTable(GetGlobalLuaState());
    SetMovable(true);
    SetCollideBits(kGooberCollideBits);
    SetCategoryBits(COLLISION_GOOBER);
    SetBounciness(PhysicsGeom::BounceDont);
    m_PreventRotation = true;
    SetImmobileCollisions(false);
    UpdateGeometry();
}

Goober::~Goober()
{
    if (m_LifetimeChannel)
        Sound::StopChannel(m_LifetimeChannel);
    if (m_LifetimeChannel2)
        Sound::StopChannel(m_LifetimeChannel2);
}

std::string Goober::StolenMessage(const std::string& className)
{
    static const std::pair<const char*, const char*> kMessages[] = {
        {"BlingDiamond", "Stole Diamond!"},
        {"BlingRuby", "Stole Ruby!"},
        {"BlingEmerald", "Stole Emerald!"},
        {"BlingCoin", "Stole gold coin!"},
        {"GoldBrickPowerup", "Stole falling gold brick!"},
    };
    for (const auto& entry : kMessages)
        if (className == entry.first)
            return entry.second;
    return "";
}

// ---- Physics -------------------------------------------------------------------------------

void Goober::UpdatePhysics(World* world)
{
    ArcadeStructure::UpdatePhysics(world);
    if (PhysicsBody* body = GetPhysicsBody()) {
        PhysicsMass mass;
        mass.SetSphere(10.0, std::max(GetHeight() / 2.0 - 1.0, 1.0));
        body->SetMass(mass);
        body->SetPosition(GetX() + GetWidth() / 2.0, GetY() + GetHeight() / 2.0);
        body->SetLinearVel(m_Velocity.x, m_Velocity.y);
    }
    if (!m_LifetimeSound.empty() && !m_LifetimeChannel)
        m_LifetimeChannel = PlaySound(m_LifetimeSound, m_LifetimeSoundLoop);
    if (!m_LifetimeSound2.empty() && !m_LifetimeChannel2)
        m_LifetimeChannel2 = PlaySound(m_LifetimeSound2, m_LifetimeSound2Loop);
}

void Goober::SyncFromPhysics()
{
    ArcadeActor::SyncFromPhysics();
    if (const PhysicsBody* body = GetPhysicsBody()) {
        const Vector2D v = body->GetLinearVel();
        m_Velocity = Point<float>(float(v.x), float(v.y));
    }
}

Point<double> Goober::HomingPull()
{
    Point<double> pull(0.0, 0.0);
    if (m_SeekPaddle == 0.0f || m_SeekDistance == 0.0f)
        return pull;
    ArcadeGameLogic* logic = gLogic;
    const Point<double> at = GeomPosition(this);
    const Paddle* nearest = nullptr;
    Point<double> target;
    double best = 100000.0;
    if (logic) {
        for (const Paddle* paddle : logic->GetPaddles()) {
            if (!paddle || paddle->IsDead())
                continue;
            const Point<double> p = GeomPosition(paddle);
            const double d = std::hypot(p.x - at.x, p.y - at.y);
            // Only a strictly nearer paddle replaces the choice: the first of equals wins.
            if (d < best) {
                best = d;
                nearest = paddle;
                target = p;
            }
        }
    }
    const bool found = nearest && (target.x != at.x || target.y != at.y);
    const bool seek = (found && m_SeekDistance < 0.0f) || (nearest && best <= m_SeekDistance);
    if (seek) {
        const double dx = target.x - at.x;
        if (dx != 0.0)
            pull.x = dx > 0.0 ? m_SeekPaddle : -m_SeekPaddle;
        if (m_HomingBlink) {
            if (m_BlinkCountdown == 0) {
                SetFrame(GetFrame() == 0 ? 1 : 0);
                m_BlinkCountdown = kBlinkTicks;
            } else {
                --m_BlinkCountdown;
            }
        }
    } else if (m_HomingBlink) {
        SetFrame(1);
        m_BlinkCountdown = 0;
    }
    return pull;
}

void Goober::Tick()
{
    SyncFromPhysics();
    if (m_StealCooldown > 0)
        --m_StealCooldown;
    m_HitThisTick = false;

    // The frame's acceleration: random walk, gravity and homing. The x draw comes first.
    const double ax = RandomDouble(2.0 * m_RandomWalk) - m_RandomWalk;
    const double ay = RandomDouble(2.0 * m_RandomWalk) - m_RandomWalk;
    Point<double> push(ax + m_Gravity.x, ay + m_Gravity.y);
    const Point<double> pull = HomingPull();
    push.x += pull.x;
    push.y += pull.y;

    if (m_SpeedLimit > 0.0f) {
        const double speed = std::hypot(m_Velocity.x, m_Velocity.y);
        if (speed > m_SpeedLimit) {
            const double k = m_SpeedLimit / speed;
            m_Velocity = Point<float>(float(m_Velocity.x * k), float(m_Velocity.y * k));
        }
    }
    if (PhysicsBody* body = GetPhysicsBody()) {
        body->SetLinearVel(m_Velocity.x, m_Velocity.y);
        body->AddAcceleration(push.x, push.y);
    }

    ArcadeStructure::Tick();

    if (Actor* flash = m_Flash.Get()) {
        if (m_FlashCountdown-- <= 0) {
            flash->Kill();
            m_Flash.Clear();
        }
    }

    if (const PhysicsGeom* geom = GetGeom()) {
        const dReal* r = geom->GetRotation();
        // Rows of 4: for a body held to the plane, the cosine and the negated sine of its
        // turn.
        const double c = std::clamp(double(r[1 * 4 + 1] + r[1 * 4 + 2]), -1.0, 1.0);
        const double s = r[0 * 4 + 1] + r[0 * 4 + 2];
        double angle = std::acos(c);
        if (s < 0.0)
            angle = 2.0 * 3.141592653589793 - angle;
        Actor::SetRotation(angle * kDegreesPerRadian, Center, false);
    }

    if (m_LifetimeChannel)
        PanChannel(m_LifetimeChannel);
    if (m_LifetimeChannel2)
        PanChannel(m_LifetimeChannel2);
}

// ---- Collisions ----------------------------------------------------------------------------

bool Goober::AcceptsCollision(CollisionOwner* otherOwner, double, double)
{
    ArcadeStructure* other = dynamic_cast<ArcadeStructure*>(otherOwner);
    if (!other)
        return false;
    const std::string& name = OtherClassName(other);
    if (Ball* ball = dynamic_cast<Ball*>(other)) {
        if (m_NoBlockBall || ball->GetPaddle())
            return true;
        if (m_Strength == -1)
            return false;
        if (ball->GetCorona() == "Breakthru")
            return true;
        // A ball that will destroy the goober is not stopped by it.
        return ball->GetHitStrength() > m_Strength - m_Damage;
    }
    if (name == "Collider" || name == "LaserBeam")
        return true;
    if (Brick* brick = dynamic_cast<Brick*>(other))
        return m_PassThruBricks || brick->IsGlass();
    if (name == "Shield")
        return m_PassThruShields;
    return false;
}

void Goober::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                             double nx, double ny, double depth, bool solid)
{
    if (IsDead() || !other)
        return;
    ArcadeStructure::HandleCollision(logic, other, x, y, nx, ny, depth, solid);
    if (IsDead())
        return;
    const std::string& name = OtherClassName(other);
    if (Ball* ball = dynamic_cast<Ball*>(other)) {
        if (m_NoBlockBall || ball->GetPaddle() || !ball->IsActive())
            return;
        Flash();
        PlaySound("lead_bounce.ogg", false);
        if (m_Strength == -1) {
            ball->ShedEnergy(2);
        } else if (!m_HitThisTick) {
            const int remaining = m_Strength - m_Damage;
            m_HitThisTick = true;
            const int amount = std::min(remaining, ball->GetHitStrength());
            ball->ShedEnergy(amount);
            SetDamage(m_Damage + amount, other, logic, x, y);
        }
    } else if (name == "Explosion" || name == "Spark") {
        if (m_Strength != -1)
            SetDamage(std::min(m_Strength, m_Damage + other->GetStrikeDamage(x, y)), other, logic,
                      x, y);
    } else if (Paddle* paddle = dynamic_cast<Paddle*>(other)) {
        if (m_StealLoot && m_StealCooldown == 0)
            Steal(paddle, logic);
        if (m_DestroyOnPaddle)
            Destroy(other, logic, x, y);
    } else if (name == "LaserBeam") {
        if (m_Strength != -1)
            SetDamage(std::min(m_Strength, m_Damage + 1), other, logic, x, y);
    } else if (name == "Shield") {
        if (m_DestroyOnShield)
            Destroy(other, logic, x, y);
        else if (m_Strength != -1)
            SetDamage(m_Damage + 1, other, logic, x, y);
    }
    if (Wall* wall = dynamic_cast<Wall*>(other)) {
        // A dangerous wall (the lava) swallows the goober: no score, no burst.
        if (wall->IsDangerous() && !IsDead())
            Kill();
        if (ArcadeGameLogic* running = logic ? logic : gLogic)
            running->CheckForLevelEnd(x, y);
    }
}

void Goober::Steal(Paddle* paddle, ArcadeGameLogic* logic)
{
    m_StealCooldown = kStealCooldown;
    const std::string stolen = paddle->TakeRandomPhrase();
    if (stolen.empty())
        return;
    // A kind its data cannot make is named by CreateOfKind; what it took costs nothing.
    const std::unique_ptr<Powerup> loot(Powerup::CreateOfKind(stolen));
    const int lost = loot ? -loot->GetScore() : 0;
    ArcadeGameLogic* running = logic ? logic : gLogic;
    if (running) {
        running->AddFlyingText(new FlyingText(FormatWithThousandsSeparators(lost), kTheftTextTicks,
                                              paddle->GetX() + paddle->GetWidth() / 2.0,
                                              paddle->GetY() + paddle->GetHeight() / 2.0, 2.0,
                                              -20.0));
        // The player pays for the loot even below zero: the score may become negative, and
        // the records that keep it accept negative scores.
        running->AddScore(lost);
    }
    paddle->ShowLabel(StolenMessage(stolen), kStolenLabelMs);
}

void Goober::TakeDamageCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double, double,
                                double, double, double, void* self)
{
    MAKO_ASSERT(self);
    Goober* goober = static_cast<Goober*>(self);
    if (goober->IsDead() || goober->m_HitThisTick || !other)
        return;
    if (!goober->BehaviourMatches(TAKE_DAMAGE_ON_COLLISION, *other))
        return;
    goober->Flash();
    if (goober->m_Strength >= 1 && goober->m_Damage < goober->m_Strength) {
        const Point<double> at = GeomPosition(other);
        goober->m_HitThisTick = true;
        goober->SetDamage(goober->m_Damage + 1, other, logic, at.x, at.y);
    }
}

// ---- Damage and destruction ----------------------------------------------------------------

void Goober::SetDamage(int damage, ArcadeStructure* other, ArcadeGameLogic* logic, double x,
                       double y)
{
    m_Damage = damage;
    if (m_DamageFrames) {
        const Image* image = GetImage();
        const int n = image ? image->GetNumFrames() : 0;
        int frame = 0;
        if (n > 1 && damage >= 1 && damage < m_Strength)
            frame =
                m_Strength > 1 ? std::min(n - 1, (n - 1) * (damage - 1) / (m_Strength - 1) + 1) : 0;
        SetFrame(frame);
    }
    if (m_Damage == m_Strength && !IsDead())
        Destroy(other, logic, x, y);
}

void Goober::Destroy(ArcadeStructure* other, ArcadeGameLogic* logic, double, double)
{
    if (IsDead())
        return;
    ArcadeGameLogic* running = logic ? logic : gLogic;
    const Point<double> at = GeomPosition(this);
    ReleasePowerups(other, running);

    int score = m_GooberScore;
    if (dynamic_cast<Paddle*>(other)) {
        LuaPlus::LuaObject half;
        RetrieveProperty(half, "halfPaddle");
        if (half.IsBoolean() && half.GetBoolean())
            score /= 2;
    }
    if (m_ShowScore && running) {
        FlyingText* text = new FlyingText(FormatWithThousandsSeparators(score), kScoreTextTicks,
                                          at.x, at.y, 2.0, -20.0);
        if (!m_ScoreSound.empty())
            PlaySound(m_ScoreSound, false);
        running->AddFlyingText(text);
    }
    if (m_ExplosivePower != 0 && running)
        running->AddExplosion(Explosion::FromPower(at.x, at.y, m_ExplosivePower, m_ExplosiveRadius,
                                                   m_ExplosionDangerous));
    const int pieces = (GetWidth() * GetHeight()) / kPixelsPerPiece;
    if (BufferedIdenticalParticleEmitter* burst = Brick::CreateExplosionEmitter(
            "BrickExplosionEmitter1", this, nullptr, 0.0, 0.0, pieces)) {
        if (running)
            running->AddEmitter(burst);
        burst->Start();
    }
    Kill();
    if (running)
        running->AddScore(score);
    if (!m_DestructionSound.empty())
        PlaySound(m_DestructionSound, false);
}

void Goober::ReleasePowerups(ArcadeStructure* other, ArcadeGameLogic* logic)
{
    // Ours until each is handed to the controller: one that raises on its way takes the
    // others with it rather than leaving them to nobody.
    std::vector<std::unique_ptr<Powerup>> powerups;
    for (Powerup* powerup : CreatePowerups())
        powerups.emplace_back(powerup);
    if (!logic)
        return;
    const Point<double> at = GeomPosition(this);
    const Ball* ball = dynamic_cast<const Ball*>(other);
    const FieldBounds field = FieldBounds::Current();
    const int x2 = field.left, x3 = field.right, y2 = field.top, y3 = field.bottom;
    for (std::unique_ptr<Powerup>& owned : powerups) {
        Powerup* powerup = owned.release();
        logic->AddPowerup(powerup);
        PhysicsGeom* geom = powerup->GetGeom();
        PhysicsBody* body = powerup->GetPhysicsBody();
        if (geom)
            geom->SetPosition(at.x, at.y);
        if (body) {
            // Thrown along with the ball that broke the goober, else tossed at random.
            Vector2D v;
            if (ball && ball->GetPhysicsBody())
                v = ball->GetPhysicsBody()->GetLinearVel();
            else
                v = Vector2D(RandomDouble(4) - 2, RandomDouble(4) - 2);
            body->SetLinearVel(v.x, v.y);
        }
        powerup->SyncFromPhysics();
        int x = powerup->GetX(), y = powerup->GetY();
        x = std::max(x, x2);
        if (x + powerup->GetWidth() > x3)
            x = x3 - powerup->GetWidth();
        y = std::max(y, y2);
        if (y + powerup->GetHeight() > y3)
            y = y3 - powerup->GetHeight();
        powerup->SetPosition(x, y);
        powerup->SyncToPhysics();
        powerup->OnSpawn(true);
        if (body) {
            Vector2D v = body->GetLinearVel();
            v = Vector2D(v.x + RandomDouble(200) - 100, v.y + RandomDouble(100));
            if (v.Length() > Powerup::kMaxReleaseSpeed)
                v.SetLength(Powerup::kMaxReleaseSpeed);
            body->SetLinearVel(v.x, v.y);
        }
    }
}

std::vector<Powerup*> Goober::CreatePowerups() const
{
    std::vector<Powerup*> powerups;
    if (!m_Powerups.IsTable())
        return powerups;
    // Ours until every one is made: one that raises takes none of the others with it.
    std::vector<std::unique_ptr<Powerup>> made;
    for (LuaPlus::LuaTableIterator it(m_Powerups); it; it.Next()) {
        if (!it.GetValue().IsString())
            continue;
        // A kind its data cannot make is named by CreateOfKind and left out.
        if (Powerup* powerup = Powerup::CreateOfKind(it.GetValue().GetString()))
            made.emplace_back(powerup);
    }
    for (std::unique_ptr<Powerup>& powerup : made)
        powerups.push_back(powerup.release());
    return powerups;
}

void Goober::SetPowerups(const LuaPlus::LuaObject& value)
{
    if (value.IsNil()) {
        m_Powerups.AssignNewTable(GetGlobalLuaState());
    } else if (value.IsString() && value.GetString()[0] == '\0') {
        // An empty name is no power-up at all.
        m_Powerups.AssignNewTable(GetGlobalLuaState());
    } else {
        m_Powerups = Powerup::KindsOnly(value);
    }
}

void Goober::Flash()
{
    if (m_Flash)
        return;
    const int w = std::max(1, GetWidth());
    const int h = std::max(1, GetHeight());
    std::unique_ptr<Image> source(NewFlashPicture(GetShape(), GetPolygon(), w, h));
    const Point<int> size = source->GetFrameSize();
    Actor* flash = new Actor();
    flash->SetImage(ImageEffects::ZoomImageXY(source.get(), double(w) / std::max(size.x, 1),
                                              double(h) / std::max(size.y, 1), true),
                    "flash");
    flash->SetAlpha(64);
    AddChild(flash, "flash");
    flash->SetPosition(0, 0);
    m_Flash.Set(flash);
    m_FlashCountdown = kFlashTicks;
}
