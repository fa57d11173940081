#include "field/Explosion.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "field/Paddle.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsGeom.h"
#include "scene/IdenticalParticleEmitter.h"

#include <algorithm>
#include <cmath>
#include <memory>

MAKO_IMPLEMENT_CLASS(Explosion, "Explosion", "ArcadeStructure", nullptr,
                     &InstantiateObjectOfClass<Explosion>);

namespace {

// What the sensor reaches: balls (pushed), bricks and drop targets, goobers; and the paddle
// when the blast may hurt it.
constexpr unsigned kBlastCollideBits = COLLISION_BALL | COLLISION_BRICK | COLLISION_GOOBER;
constexpr double kSensorSoftness = 0.6;

bool TakesBlastDamage(const std::string& className)
{
    return className == "Brick" || className == "DropTarget" || className == "Goober";
}

} // namespace

Explosion::Explosion() = default;

Explosion::Explosion(double x, double y, double radius, int lifetime, int minDamage, int maxDamage,
                     bool hurtsPaddle)
    : m_BlastRadius(radius), m_Lifetime(lifetime), m_MinDamage(minDamage),
      m_MaxDamage(maxDamage == -1 ? minDamage : maxDamage), m_HurtsPaddle(hurtsPaddle)
{
    GoOff(x, y);
}

Explosion::~Explosion()
{
    if (Collider* collider = m_Collider.Get())
        collider->RemoveDestroyedCallback(&Explosion::OnColliderDestroyed, this);
}

Explosion* Explosion::FromPower(double x, double y, int power, int explosiveRadius,
                                bool hurtsPaddle)
{
    const double radius = explosiveRadius != 0 ? explosiveRadius : 8 * power + 16;
    return new Explosion(x, y, radius, explosiveRadius / 32 + 4, power / 2 + 1, power + 1,
                         hurtsPaddle);
}

void Explosion::Initialize()
{
    ArcadeStructure::Initialize();
    if (!m_Collider && !IsDead())
        GoOff(GetX() + GetWidth() / 2, GetY() + GetHeight() / 2);
}

void Explosion::GoOff(double x, double y)
{
    m_CentreX = x;
    m_CentreY = y;
    Collider* collider = new Collider();
    collider->SetPosition(x, y);
    collider->SetCircle(std::max(m_BlastRadius, 1.0));
    collider->SetLifetime(m_Lifetime);
    collider->SetCollideBits(kBlastCollideBits | (m_HurtsPaddle ? COLLISION_PADDLE : 0u));
    collider->SetCollisionCallback(&Explosion::ExplosionCollisionProc, this);
    collider->AddDestroyedCallback(&Explosion::OnColliderDestroyed, this);
    collider->SetImmobileCollisions(true);
    collider->SetSoftness(kSensorSoftness);
    collider->AddSolidClass("Ball");
    // A child, so that it ticks with the explosion and goes with it.
    AddChild(collider, "");
    m_Collider.Set(collider);

    ShowFireball(x, y);
    StartParticles();
    PlaySound(kSoundName, false);
}

void Explosion::ShowFireball(double x, double y)
{
    std::unique_ptr<Image> source(NewImageFromResource(kImageName));
    const int frameWidth = std::max(source->GetFrameSize().x, 1);
    Image* scaled = ImageEffects::ZoomImage(source.get(), 2.0 * m_BlastRadius / frameWidth, true);
    SetImage(scaled, kImageName);
    SetPosition(int(x) - GetWidth() / 2, int(y) - GetHeight() / 2);
}

void Explosion::StartParticles()
{
    ParticleManager* manager = ArcadeGameLogic::GetParticleManager();
    if (!manager || !gLogic)
        return;
    ParticleEmitter* emitter = new IdenticalParticleEmitter(kEmitterName, manager);
    emitter->SetPosition(GetX(), GetY());
    emitter->SetSize(GetWidth(), GetHeight());
    gLogic->AddEmitter(emitter);
    emitter->Start();
}

bool Explosion::AlreadyHit(const Object* object) const
{
    return m_HitObjects.count(object) != 0;
}

int Explosion::GetStrikeDamage(double x, double y) const
{
    double cx = m_CentreX, cy = m_CentreY;
    if (const Collider* collider = m_Collider.Get())
        if (const PhysicsGeom* geom = collider->GetGeom()) {
            const Point<double> c = geom->GetCenter();
            cx = c.x;
            cy = c.y;
        }
    const double distance = std::hypot(x - cx, y - cy);
    const double falloff = m_BlastRadius > 0 ? (m_BlastRadius - distance) / m_BlastRadius : 0.0;
    int damage = int(falloff * std::abs(m_MaxDamage - m_MinDamage) + m_MinDamage);
    damage = std::max(damage, m_MinDamage);
    return std::min(damage, m_MaxDamage);
}

void Explosion::Tick()
{
    if (Collider* collider = m_Collider.Get()) {
        Image* image = GetImage();
        const int frames = image ? image->GetNumFrames() : 0;
        if (frames > 1) {
            // The sensor's last tick lies one past its lifetime: the fireball stays on its
            // last frame then.
            const int frame = (frames - 1) * collider->GetTicks() / std::max(m_Lifetime, 1);
            SetFrame(std::min(frame, frames - 1));
        }
    }
    ArcadeStructure::Tick();
}

void Explosion::Kill()
{
    if (IsDead())
        return;
    if (Collider* collider = m_Collider.Get()) {
        collider->RemoveDestroyedCallback(&Explosion::OnColliderDestroyed, this);
        collider->Kill();
    }
    m_Collider.Clear();
    ArcadeStructure::Kill();
}

void Explosion::UpdatePhysics(World* world)
{
    Collider* collider = m_Collider.Get();
    if (collider && !collider->IsAdded())
        collider->CreateInWorld(world);
}

void Explosion::ExplosionCollisionProc(ArcadeGameLogic* logic, Collider* collider,
                                       ArcadeStructure* other, double x, double y, void* context)
{
    Explosion* self = static_cast<Explosion*>(context);
    MAKO_ASSERT(self);
    if (self->AlreadyHit(other))
        return;
    self->m_HitObjects.insert(other);
    self->Strike(logic ? logic : gLogic, other, x, y);
}

void Explosion::Strike(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y)
{
    const std::string& className = other->GetClass()->GetName();
    if (TakesBlastDamage(className)) {
        // The struck structure reads the damage through GetStrikeDamage.
        other->HandleCollision(logic, this, x, y, 0.0, 0.0, 0.0, true);
    } else if (className == "Paddle" && m_HurtsPaddle) {
        if (std::hypot(x - m_CentreX, y - m_CentreY) > m_BlastRadius * 0.5)
            return;
        if (Paddle* paddle = dynamic_cast<Paddle*>(other))
            paddle->Shatter();
        if (logic)
            logic->CheckForLevelEnd(x, y);
    }
}

void Explosion::OnColliderDestroyed(ArcadeGameLogic*, ArcadeStructure*, double, double, double,
                                    double, double, void* context)
{
    Explosion* self = static_cast<Explosion*>(context);
    self->m_Collider.Clear();
    self->Kill();
}
