#include "scene/MotionStop.h"

#include "physics/CollisionCategory.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "scene/Actor.h"

#include <cmath>

MAKO_IMPLEMENT_CLASS(MotionStop, "MotionStop", "AbstractMotion", &MotionStop::RegisterProperties,
                     &InstantiateObjectOfClass<MotionStop>);

namespace {

// Limits a push along one axis by what was pushed in the same direction this tick, so the
// pushes of one tick along an axis never add up to more than the largest single push.
float LimitPush(float push, float& pushed)
{
    if (push < 0 ? pushed <= push : push <= pushed)
        return 0;
    push -= pushed;
    pushed += push;
    return push;
}

} // namespace

MotionStop::MotionStop() = default;

MotionStop::~MotionStop()
{
    Unhook();
}

void MotionStop::Unhook()
{
    if (m_Hooked)
        m_Hooked->RemoveMotionHitCallback(&MotionStop::OnTargetHit, this);
    m_Hooked = nullptr;
}

void MotionStop::SetTarget(Actor* target)
{
    Unhook();
    AbstractMotion::SetTarget(target);
    MotionTarget* fieldTarget = GetMotionTarget();
    if (!fieldTarget)
        return;
    fieldTarget->AddMotionHitCallback(&MotionStop::OnTargetHit, this);
    m_Hooked = fieldTarget;
    fieldTarget->MakeMovable();
    std::uint32_t bits = 0;
    for (const std::string& name : m_StopClasses)
        bits |= CollisionCategoryOf(name);
    if (bits)
        fieldTarget->AddCollideBits(bits);
}

MotionStep MotionStop::Update()
{
    m_StoppedThisTick = false;
    m_PushedX = m_PushedY = 0;
    return AbstractMotion::Update();
}

void MotionStop::OnTargetHit(MotionTarget* target, MotionTarget* other,
                             const MotionContact& contact, void* motion)
{
    static_cast<MotionStop*>(motion)->TargetHit(target, other, contact);
}

bool MotionStop::IsStopClass(const MotionTarget& other) const
{
    if (m_StopClasses.count(other.GetStopClassName()))
        return true;
    const std::string alias = other.GetStopClassAlias();
    return !alias.empty() && m_StopClasses.count(alias);
}

void MotionStop::TargetHit(MotionTarget* target, MotionTarget* other, const MotionContact& contact)
{
    if (!m_Running || !other || !IsStopClass(*other))
        return;
    PhysicsGeom* geom = target->GetMotionGeom();
    if (!geom)
        return;
    if (PhysicsBody* body = geom->GetBody()) {
        const Vector2D v = body->GetLinearVel();
        if (std::hypot(v.x, v.y) >= 0.0001) {
            const double d = contact.nx * v.x + contact.ny * v.y;
            if (d >= 0)
                return; // moving away from the contact: left alone
            const Point<double> into(d * contact.nx, d * contact.ny);
            target->SetMotionVelocity(target->GetMotionVelocity() - into);
            body->SetLinearVel(v.x - into.x, v.y - into.y);
        }
    }
    Point<float> push(static_cast<float>(contact.nx), static_cast<float>(contact.ny));
    push.SetLength(static_cast<float>(contact.depth + 0.005));
    push.x = LimitPush(push.x, m_PushedX);
    push.y = LimitPush(push.y, m_PushedY);
    const Point<double> here = geom->GetCenter();
    geom->SetPosition(here.x + push.x, here.y + push.y);
    if (!m_StoppedThisTick) {
        Stop();
        m_StoppedThisTick = true;
        CallFinishedCallback();
    }
}
