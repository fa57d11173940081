#include "field/Factory.h"

#include "core/Class.h"
#include "core/ClassManager.h"
#include "core/Config.h"
#include "core/DataLists.h"
#include "core/Event.h"
#include "core/Exception.h"
#include "core/FramePeriod.h"
#include "core/Log.h"
#include "core/ObjectDescription.h"
#include "core/Random.h"
#include "core/TimerManager.h"
#include "core/Utility.h"
#include "field/ArcadeStructure.h"
#include "field/FieldBounds.h"
#include "field/Powerup.h"
#include "logic/ArcadeGameLogic.h"
#include "lua/MakoLuaState.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/ActorGroup.h"
#include "scene/SceneHost.h"

#include <algorithm>
#include <cmath>
#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Factory, "Factory", "Object", &Factory::RegisterProperties,
                     &InstantiateObjectOfClass<Factory>);

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

// The objects factories made that are still alive: a group forgets an actor once it is
// killed or deleted. Shared by every factory; never destroyed, so that it outlives them.
ActorGroup& LiveObjects()
{
    static ActorGroup* group = new ActorGroup();
    return *group;
}

Vector2D GeomPositionOrOrigin(const ArcadeStructure* structure)
{
    const PhysicsGeom* geom = structure ? structure->GetGeom() : nullptr;
    if (!geom)
        return Vector2D();
    const auto p = geom->GetPosition();
    return Vector2D(p[0], p[1]);
}

Vector2D BodyVelocity(const ArcadeStructure* structure)
{
    const PhysicsBody* body =
        structure && structure->GetGeom() ? structure->GetPhysicsBody() : nullptr;
    return body ? body->GetLinearVel() : Vector2D();
}

} // namespace

Factory::Factory() = default;

Factory::~Factory()
{
    if (TimerManager* timers = SceneHost::GetTimerManager()) {
        for (HitTrigger& trigger : m_HitTriggers)
            timers->KillTimer(trigger.rearmTimer);
        timers->KillTimer(m_DelayTimer);
    }
    if (m_Target) {
        if (!m_HitTriggers.empty())
            m_Target->RemoveHitCallback(&Factory::FactoryHitCallback, this);
        if (!m_DestroyTriggers.empty())
            m_Target->RemoveDestroyedCallback(&Factory::FactoryDestroyedCallback, this);
        if (!m_LocationTriggers.empty())
            m_Target->RemoveMovedCallback(&Factory::FactoryMovedCallback, this);
    }
}

int Factory::ObjectLimit()
{
    const Config* config = Config::GetCurrent();
    const int limit = config ? config->GetInteger("factoryObjectLimit") : 0;
    return limit > 0 ? limit : kDefaultObjectLimit;
}

int Factory::LiveObjectCount()
{
    int count = 0;
    for (const Actor* actor : LiveObjects().GetMembers())
        if (!actor->IsDead())
            ++count;
    return count;
}

bool Factory::RoomForObject()
{
    return LiveObjectCount() < ObjectLimit();
}

void Factory::SetTarget(ArcadeStructure* target)
{
    // Attaching again (the target entered another world) must not double the callbacks.
    if (m_Target) {
        m_Target->RemoveHitCallback(&Factory::FactoryHitCallback, this);
        m_Target->RemoveDestroyedCallback(&Factory::FactoryDestroyedCallback, this);
        m_Target->RemoveMovedCallback(&Factory::FactoryMovedCallback, this);
    }
    m_Target = target;
    if (!target)
        return;
    const Vector2D p = TargetPosition();
    for (LocationTrigger& trigger : m_LocationTriggers) {
        const Vector2D low = trigger.center - trigger.locationVariance;
        const Vector2D high = trigger.center + trigger.locationVariance;
        const Vector2D q(std::clamp(p.x, low.x, high.x), std::clamp(p.y, low.y, high.y));
        trigger.inside = (q - p).Length() <= trigger.distance;
    }
    if (!m_HitTriggers.empty())
        target->AddHitCallback(&Factory::FactoryHitCallback, this);
    if (!m_DestroyTriggers.empty())
        target->AddDestroyedCallback(&Factory::FactoryDestroyedCallback, this);
    if (!m_LocationTriggers.empty())
        target->AddMovedCallback(&Factory::FactoryMovedCallback, this);
}

Vector2D Factory::TargetPosition() const
{
    return GeomPositionOrOrigin(m_Target);
}

bool Factory::PassesChance(double chance)
{
    // Drawn from [0, 1), so that a chance of 1 always passes and 0 never does.
    const double r = double(MakoRand()) / double(MAKO_RAND_MAX + 1);
    return r < chance;
}

bool Factory::AcceptsClass(const NameSet& classes, const ArcadeStructure* object)
{
    if (classes.empty())
        return true;
    if (!object)
        return classes.count("") != 0;
    if (classes.count(object->GetClass()->GetName()))
        return true;
    const char* alias = object->GetBehaviourAlias();
    return alias && classes.count(alias);
}

// ---- Triggers ------------------------------------------------------------------------------

void Factory::FactoryHitCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                                 double, double, double, void* self)
{
    MAKO_ASSERT(self);
    Factory* factory = static_cast<Factory*>(self);
    if (!factory->m_Target)
        return;
    factory->EvaluateHit(other, factory->m_Target->WhichSides(x, y), logic);
}

void Factory::FactoryDestroyedCallback(ArcadeGameLogic* logic, ArcadeStructure* other, double,
                                       double, double, double, double, void* self)
{
    MAKO_ASSERT(self);
    static_cast<Factory*>(self)->EvaluateDestroy(other, logic);
}

void Factory::FactoryMovedCallback(ArcadeStructure*, void* self)
{
    MAKO_ASSERT(self);
    static_cast<Factory*>(self)->EvaluateLocation(gLogic);
}

void Factory::EvaluateHit(ArcadeStructure* hitter, int sides, ArcadeGameLogic* logic)
{
    for (HitTrigger& trigger : m_HitTriggers) {
        if (trigger.repetitions == 0 || !AcceptsClass(trigger.hittableClasses, hitter))
            continue;
        if ((trigger.edges & sides) == 0 || trigger.lastHitter == hitter)
            continue;
        // A ball resting against the target touches it every sub-step: the same object sets
        // the trigger off again only once the re-arm timer has cleared it.
        trigger.lastHitter = hitter;
        if (trigger.rearmTimer == 0)
            if (TimerManager* timers = SceneHost::GetTimerManager())
                trigger.rearmTimer =
                    timers->CreateTimer(this, kRearmMs, 1, TIMER_LIMITED_TO_FRAMERATE);
        if (PassesChance(trigger.chance))
            Trigger(GeomPositionOrOrigin(hitter), BodyVelocity(hitter), TargetPosition(), logic);
        --trigger.repetitions;
    }
}

void Factory::EvaluateDestroy(ArcadeStructure* destroyer, ArcadeGameLogic* logic)
{
    // Destruction while a level is built or torn down fires nothing.
    ArcadeGameLogic* running = logic ? logic : gLogic;
    if (!running || !(running->IsInState("Playing") || running->IsInState("WaitForSpawn")))
        return;
    for (DestroyTrigger& trigger : m_DestroyTriggers) {
        if (trigger.repetitions == 0 || !AcceptsClass(trigger.destroyableClasses, destroyer))
            continue;
        if (PassesChance(trigger.chance))
            Trigger(GeomPositionOrOrigin(destroyer), BodyVelocity(destroyer), TargetPosition(),
                    running);
        --trigger.repetitions;
    }
}

void Factory::EvaluateLocation(ArcadeGameLogic* logic)
{
    const Vector2D p = TargetPosition();
    for (LocationTrigger& trigger : m_LocationTriggers) {
        if (trigger.repetitions == 0)
            continue;
        const Vector2D low = trigger.center - trigger.locationVariance;
        const Vector2D high = trigger.center + trigger.locationVariance;
        const Vector2D q(std::clamp(p.x, low.x, high.x), std::clamp(p.y, low.y, high.y));
        if ((q - p).Length() > trigger.distance) {
            trigger.inside = false;
        } else if (!trigger.inside) {
            // Fires on entering the area, once per entry.
            trigger.inside = true;
            if (PassesChance(trigger.chance))
                Trigger(Vector2D(), Vector2D(), p, logic);
            --trigger.repetitions;
        }
    }
}

void Factory::Tick()
{
    for (TimeTrigger& trigger : m_TimeTriggers) {
        if (trigger.repetitions != 0)
            trigger.remaining -= FRAME_PERIOD_SECONDS;
        if (trigger.remaining >= 0.0)
            continue;
        const PhysicsGeom* geom = m_Target ? m_Target->GetGeom() : nullptr;
        if (PassesChance(trigger.chance) && geom && geom->IsEnabled())
            Trigger(Vector2D(), Vector2D(), TargetPosition(), gLogic);
        // The overshoot carries over.
        trigger.remaining = std::max(trigger.remaining + trigger.duration, 0.0);
        --trigger.repetitions;
    }
}

// ---- Firing --------------------------------------------------------------------------------

std::string Factory::AnimationName() const
{
    LuaObject value;
    GetScriptField(value, "factoryAnimation");
    return value.IsString() ? value.GetString() : "";
}

void Factory::Trigger(const Vector2D& hitterPos, const Vector2D& hitterVel,
                      const Vector2D& targetPos, ArcadeGameLogic* logic)
{
    if (m_NumCreations == 0)
        return;
    const std::string animation = AnimationName();
    if (!animation.empty() && m_Target)
        m_Target->PlayAnimation(animation);
    if (m_CreationDelay <= 0) {
        CreateNow(hitterPos, hitterVel, targetPos, logic);
        return;
    }
    // Every firing waits its turn: one firing per delay period, in the order they came.
    m_Pending.push_back({hitterPos, hitterVel, logic});
    if (m_DelayTimer == 0)
        StartDelay();
}

void Factory::StartDelay()
{
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_DelayTimer = timers->CreateTimer(this, std::uint32_t(m_CreationDelay) * FRAME_PERIOD_MS,
                                           1, TIMER_LIMITED_TO_FRAMERATE);
}

bool Factory::OnTimer(const Event& event)
{
    const std::uint32_t id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0)
        return Object::OnTimer(event);
    for (HitTrigger& trigger : m_HitTriggers) {
        if (trigger.rearmTimer == id) {
            trigger.rearmTimer = 0;
            trigger.lastHitter = nullptr;
            return true;
        }
    }
    if (id != m_DelayTimer)
        return Object::OnTimer(event);
    m_DelayTimer = 0;
    if (!m_Pending.empty()) {
        const PendingFiring firing = m_Pending.front();
        m_Pending.pop_front();
        CreateNow(firing.hitterPos, firing.hitterVel, TargetPosition(), firing.logic);
    }
    if (!m_Pending.empty())
        StartDelay();
    return false;
}

void Factory::CreateNow(const Vector2D& hitterPos, const Vector2D& hitterVel,
                        const Vector2D& targetPos, ArcadeGameLogic* logic)
{
    // An unlimited factory counts down through negative values and never reaches 0.
    --m_NumCreations;
    const int count = int(m_Creations.size());
    if (m_Simultaneous) {
        for (int i = 0; i < count; ++i)
            CreateObject(i, hitterPos, hitterVel, targetPos, logic);
    } else if (count > 0) {
        // An empty list gives nothing to choose from: such a firing creates nothing.
        int index;
        if (m_Random) {
            index = RandomInt(count);
        } else {
            index = std::clamp(m_CurrentObject, 0, count - 1);
            m_CurrentObject = (index + 1) % count;
        }
        CreateObject(index, hitterPos, hitterVel, targetPos, logic);
    }
    if (m_NumCreations == 0 && m_DestroyOnLastCreate && m_Target) {
        const Vector2D at = TargetPosition();
        m_Target->Kill();
        if (ArcadeGameLogic* running = logic ? logic : gLogic)
            running->CheckForLevelEnd(at.x, at.y);
    }
}

void Factory::CreateObject(int index, const Vector2D&, const Vector2D& hitterVel, const Vector2D&,
                           ArcadeGameLogic* logic)
{
    if (!logic || index < 0 || index >= int(m_Creations.size()))
        return;
    const Creation& creation = m_Creations[index];
    for (int n = 0; n < creation.numberCreated; ++n) {
        if (!RoomForObject()) {
            Log("Factory: %d objects made by factories are alive; no more are made.",
                ObjectLimit());
            return;
        }
        // Checked again as it is made: the table is data and may have changed since.
        std::unique_ptr<ArcadeStructure> made = MakeDataObject<ArcadeStructure>(
            creation.objectTable, "ArcadeStructure", DescribeObject(*this),
            "creations[" + std::to_string(index + 1) + "].objectSpec");
        if (!made)
            return;
        ArcadeStructure* struc = made.release();
        logic->AddActor(struc);
        LiveObjects().Add(struc);

        if (struc->GetGeom()) {
            PlaceCreated(creation, struc);
            if (PhysicsBody* body = struc->GetPhysicsBody())
                LaunchCreated(creation, struc, body, hitterVel);
            if (m_MoveWithinWalls)
                KeepWithinWalls(struc);
        }
        // A power-up announces itself; anything else eases out of what it overlaps.
        if (Powerup* powerup = dynamic_cast<Powerup*>(struc))
            powerup->OnSpawn(true);
        else
            struc->StartSoftPeriod();
    }
}

void Factory::PlaceCreated(const Creation& creation, ArcadeStructure* struc) const
{
    PhysicsGeom* geom = struc->GetGeom();
    if (creation.useFactoryPosition) {
        // The object's "position" is an offset from the target's centre.
        const Vector2D own = GeomPositionOrOrigin(struc);
        const Vector2D target = TargetPosition();
        const int halfW = int(std::uint16_t(struc->GetWidth())) / 2;
        const int halfH = int(std::uint16_t(struc->GetHeight())) / 2;
        geom->SetPosition(own.x + target.x - halfW, own.y + target.y - halfH);
    }
    const double ry = RandomDouble(2 * creation.positionVariance.y) - creation.positionVariance.y;
    const double rx = RandomDouble(2 * creation.positionVariance.x) - creation.positionVariance.x;
    const Vector2D at = GeomPositionOrOrigin(struc);
    geom->SetPosition(at.x + rx, at.y + ry);
}

void Factory::LaunchCreated(const Creation& creation, ArcadeStructure* struc, PhysicsBody* body,
                            const Vector2D& hitterVel)
{
    if (creation.useTriggerVelocity) {
        Vector2D v = hitterVel;
        if (creation.triggerVelocityLimit > 0 && v.Length() > creation.triggerVelocityLimit)
            v.SetLength(creation.triggerVelocityLimit);
        const double a = creation.triggerAngleOffset * kRadiansPerDegree;
        v = Vector2D(v.x * std::cos(a) - v.y * std::sin(a), v.x * std::sin(a) + v.y * std::cos(a));
        body->SetLinearVel(v.x, v.y);
    }
    const double ry = RandomDouble(2 * creation.velocityVariance.y) - creation.velocityVariance.y;
    const double rx = RandomDouble(2 * creation.velocityVariance.x) - creation.velocityVariance.x;
    const Vector2D v = body->GetLinearVel();
    body->SetLinearVel(v.x + rx, v.y + ry);
    if (creation.translateAlongVelocity != 0.0) {
        Vector2D direction = body->GetLinearVel();
        direction.SetLength(1.0);
        const Vector2D at = GeomPositionOrOrigin(struc);
        struc->GetGeom()->SetPosition(at.x + creation.translateAlongVelocity * direction.x,
                                      at.y + creation.translateAlongVelocity * direction.y);
    }
    struc->SyncFromPhysics();
}

void Factory::KeepWithinWalls(ArcadeStructure* struc)
{
    struc->SyncFromPhysics();
    const FieldBounds field = FieldBounds::Current();
    int x = struc->GetX(), y = struc->GetY();
    if (x < field.left)
        x = field.left;
    if (x + struc->GetWidth() > field.right)
        x = field.right - struc->GetWidth();
    if (y < field.top)
        y = field.top;
    if (y + struc->GetHeight() > field.bottom)
        y = field.bottom - struc->GetHeight();
    struc->SetPosition(x, y);
    struc->SyncToPhysics();
}
