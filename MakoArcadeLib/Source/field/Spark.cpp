#include "field/Spark.h"

#include "core/Class.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "display/Image.h"
#include "display/ImageEffects.h"
#include "logic/ArcadeGameLogic.h"
#include "physics/CollisionCategory.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/SceneHost.h"

#include <algorithm>
#include <cmath>
#include <memory>
#include <vector>

MAKO_IMPLEMENT_CLASS(Spark, "Spark", "ArcadeStructure", nullptr, &InstantiateObjectOfClass<Spark>);

namespace {

constexpr unsigned kGatherCollideBits = COLLISION_BALL | COLLISION_BRICK | COLLISION_GOOBER;
// The bolt image is this much longer than the arc, so that chained arcs overlap.
constexpr double kBoltOverlap = 9.0;
// The bolt shows one of the first frames of its image, chosen at random.
constexpr int kBoltFrames = 4;

bool TakesSparkDamage(const std::string& className)
{
    return className == "Brick" || className == "DropTarget" || className == "Goober";
}

Vector2D CentreVectorOf(const ArcadeActor* actor)
{
    if (const PhysicsGeom* geom = actor->GetGeom()) {
        const Point<double> c = geom->GetCenter();
        return Vector2D(c.x, c.y);
    }
    return Vector2D(actor->GetX() + actor->GetWidth() / 2, actor->GetY() + actor->GetHeight() / 2);
}

} // namespace

Spark::Spark()
{
    MAKO_THROW(Exception, "A spark is made by the lightning between two objects; a script "
                          "table cannot make one.");
}

Spark::Spark(double startX, double startY, double endX, double endY, ArcadeStructure* target,
             int power, ArcadeGameLogic* logic, double gatherRadius, int minForks, int maxForks,
             int childMinForks, int childMaxForks)
    : m_PowerLeft(power - 1), m_MinForks(minForks), m_MaxForks(maxForks),
      m_ChildMinForks(childMinForks), m_ChildMaxForks(childMaxForks), m_GatherRadius(gatherRadius),
      m_StartX(startX), m_StartY(startY), m_EndX(endX), m_EndY(endY), m_Logic(logic)
{
    m_Target.Set(target);

    Collider* collider = new Collider();
    collider->SetPosition(endX, endY);
    // A sensor needs some size: a spark with no gathering radius still senses its target.
    collider->SetCircle(std::max(gatherRadius, 1.0));
    collider->SetLifetime(0);
    collider->SetCollideBits(kGatherCollideBits);
    collider->SetCollisionCallback(&Spark::SparkCollisionProc, this);
    collider->AddDestroyedCallback(&Spark::OnColliderDestroyed, this);
    AddChild(collider, "");
    m_Collider.Set(collider);

    ShowBolt();

    if (TimerManager* timers = SceneHost::GetTimerManager()) {
        m_ForkTimer = timers->CreateTimer(this, kForkDelayMs, 1, TIMER_LIMITED_TO_FRAMERATE);
        m_LifeTimer = timers->CreateTimer(this, kLifetimeMs, 1, TIMER_LIMITED_TO_FRAMERATE);
    }
}

Spark::~Spark()
{
    if (TimerManager* timers = SceneHost::GetTimerManager()) {
        timers->KillTimer(m_ForkTimer);
        timers->KillTimer(m_LifeTimer);
    }
    if (Collider* collider = m_Collider.Get())
        collider->RemoveDestroyedCallback(&Spark::OnColliderDestroyed, this);
}

void Spark::ShowBolt()
{
    std::unique_ptr<Image> source(NewImageFromResource(kImageName));
    const int frames = std::max(source->GetNumFrames(), 1);
    const double length = std::hypot(m_EndX - m_StartX, m_EndY - m_StartY);
    // Stretched along the bolt only, so a long arc is as thin as a short one.
    const double stretch = (length + kBoltOverlap) / std::max(source->GetFrameSize().x, 1);
    SetImage(ImageEffects::ZoomImageXY(source.get(), stretch, 1.0, true), kImageName);
    SetFrame(RandomInt(std::min(frames, kBoltFrames)));
    if (m_StartX == m_EndX && m_StartY == m_EndY)
        SetVisible(false, false);
    const double midX = (m_StartX + m_EndX) / 2.0;
    const double midY = (m_StartY + m_EndY) / 2.0;
    SetPosition(int(midX) - GetWidth() / 2, int(midY) - GetHeight() / 2);
    const double degrees =
        (std::atan2(m_EndX - m_StartX, m_EndY - m_StartY) + 1.5707963267948966) * 57.29577951308232;
    Actor::SetRotation(degrees, Center, false);
}

bool Spark::AlreadyTouched(const Object* object) const
{
    return m_HitObjects.count(object) != 0;
}

void Spark::Kill()
{
    if (IsDead())
        return;
    if (Collider* collider = m_Collider.Get()) {
        collider->RemoveDestroyedCallback(&Spark::OnColliderDestroyed, this);
        collider->Kill();
    }
    m_Collider.Clear();
    if (TimerManager* timers = SceneHost::GetTimerManager()) {
        timers->KillTimer(m_ForkTimer);
        timers->KillTimer(m_LifeTimer);
    }
    m_ForkTimer = 0;
    m_LifeTimer = 0;
    ArcadeStructure::Kill();
}

void Spark::UpdatePhysics(World* world)
{
    Collider* collider = m_Collider.Get();
    if (collider && !collider->IsAdded())
        collider->CreateInWorld(world);
}

bool Spark::OnTimer(const Event& event)
{
    const std::uint32_t id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || (id != m_ForkTimer && id != m_LifeTimer))
        return Actor::OnTimer(event);
    if (IsDead())
        return true;
    if (id == m_LifeTimer) {
        m_LifeTimer = 0;
        Kill();
    } else {
        m_ForkTimer = 0;
        Fork();
        StrikeTarget();
    }
    return true;
}

ArcadeGameLogic* Spark::Logic() const
{
    return m_Logic ? m_Logic : gLogic;
}

void Spark::Fork()
{
    // Both ends of the range can come up.
    const int forks = m_MinForks + RandomInt(std::max(m_MaxForks - m_MinForks + 1, 0));
    const std::vector<Actor*> candidates(m_Candidates.GetMembers().begin(),
                                         m_Candidates.GetMembers().end());
    const int n = int(candidates.size());
    const int k = std::min(n, forks);
    if (k <= 0)
        return;
    const int share = m_PowerLeft / k;
    ArcadeGameLogic* logic = Logic();
    std::vector<bool> chosen(candidates.size(), false);
    for (int i = 0; i < k; ++i) {
        int slot = RandomInt(n);
        while (chosen[slot])
            slot = RandomInt(n);
        chosen[slot] = true;
        ArcadeStructure* candidate = static_cast<ArcadeStructure*>(candidates[slot]);
        if (candidate->IsDead())
            continue;
        if (share != 0 && logic) {
            const Vector2D to = CentreVectorOf(candidate);
            logic->AddSpark(new Spark(m_EndX, m_EndY, to.x, to.y, candidate, share, m_Logic,
                                      m_GatherRadius, m_ChildMinForks, m_ChildMaxForks,
                                      m_ChildMinForks, m_ChildMaxForks));
        }
        const std::string& className = candidate->GetClass()->GetName();
        if (className == "Ball" || className == "Goober") {
            Vector2D push(m_StartX - m_EndX, m_StartY - m_EndY);
            PhysicsBody* body = candidate->GetPhysicsBody();
            if (body && push.Length() > 0.0) {
                push.SetLength(kForkPush);
                body->AddAcceleration(push.x, push.y);
            }
        }
    }
}

void Spark::StrikeTarget()
{
    ArcadeStructure* target = m_Target.Get();
    if (!target || !TakesSparkDamage(target->GetClass()->GetName()))
        return;
    // The struck structure reads the damage through GetStrikeDamage.
    target->HandleCollision(Logic(), this, (m_StartX + m_EndX) / 2.0, (m_StartY + m_EndY) / 2.0,
                            0.0, 0.0, 0.0, true);
}

void Spark::SparkCollisionProc(ArcadeGameLogic*, Collider*, ArcadeStructure* other, double, double,
                               void* context)
{
    Spark* self = static_cast<Spark*>(context);
    MAKO_ASSERT(self);
    if (other->IsDead() || self->AlreadyTouched(other) || other == self->m_Target.Get())
        return;
    self->m_HitObjects.insert(other);
    self->m_Candidates.Add(other);
}

void Spark::OnColliderDestroyed(ArcadeGameLogic*, ArcadeStructure*, double, double, double, double,
                                double, void* context)
{
    static_cast<Spark*>(context)->m_Collider.Clear();
}
