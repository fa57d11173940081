#include "physics/PhysicsBody.h"

#include "core/Exception.h"
#include "physics/OdeLockCheck.h"
#include "physics/PhysicsMass.h"
#include "physics/PhysicsRange.h"
#include "physics/World.h"

#include <algorithm>
#include <cmath>

namespace {
int gLiveBodies = 0;
} // namespace

int PhysicsBody::GetLiveCount()
{
    return gLiveBodies;
}

PhysicsBody::PhysicsBody(World* world) : m_World(world)
{
    MAKO_ASSERT(world != nullptr);
    {
        OdeLockCheck::Permit permit;
        m_Body = dBodyCreate(world->GetWorldID());
    }
    dBodySetData(m_Body, this);
    m_PlaneJoint = dJointCreatePlane2D(world->GetWorldID(), nullptr);
    dJointAttach(m_PlaneJoint, m_Body, nullptr);
    world->AddBody(this);
    ++gLiveBodies;
}

PhysicsBody::~PhysicsBody()
{
    --gLiveBodies;
    if (m_World)
        m_World->RemoveBody(this);
}

void PhysicsBody::ForgetWorld()
{
    m_World = nullptr;
    m_Body = nullptr;
    m_Motor = nullptr;
    m_PlaneJoint = nullptr;
}

void PhysicsBody::SetPosition(double x, double y)
{
    dBodySetPosition(m_Body, PhysicsRange::Place(x), PhysicsRange::Place(y), 0.0);
}

Vector2D PhysicsBody::GetPosition() const
{
    const dReal* p = dBodyGetPosition(m_Body);
    return Vector2D(p[0], p[1]);
}

void PhysicsBody::SetLinearVel(double x, double y)
{
    dBodySetLinearVel(m_Body, PhysicsRange::Speed(x), PhysicsRange::Speed(y), 0.0);
    HoldToTopSpeed();
}

void PhysicsBody::SetTopSpeed(double speed)
{
    m_TopSpeed =
        std::isfinite(speed) && speed > 0.0 ? std::min(speed, PhysicsRange::kFastest) : 0.0;
    HoldToTopSpeed();
}

void PhysicsBody::HoldToTopSpeed()
{
    if (m_TopSpeed <= 0.0 || !m_Body)
        return;
    const dReal* v = dBodyGetLinearVel(m_Body);
    const double x = v[0], y = v[1];
    // Squares first: nearly every step is within the top speed and needs no root (a speed
    // that is not a number fails both comparisons and is stopped below).
    if (x * x + y * y <= m_TopSpeed * m_TopSpeed)
        return;
    const double speed = std::hypot(x, y);
    if (speed <= m_TopSpeed)
        return;
    const double scale = std::isfinite(speed) ? m_TopSpeed / speed : 0.0;
    dBodySetLinearVel(m_Body, v[0] * scale, v[1] * scale, 0.0);
}

Vector2D PhysicsBody::GetLinearVel() const
{
    const dReal* v = dBodyGetLinearVel(m_Body);
    return Vector2D(v[0], v[1]);
}

void PhysicsBody::AddForce(double x, double y)
{
    m_PendingForce = Vector2D(PhysicsRange::Force(m_PendingForce.x + x),
                              PhysicsRange::Force(m_PendingForce.y + y));
}

void PhysicsBody::AddAcceleration(double x, double y)
{
    if (!m_Body)
        return;
    const double mass = GetMass();
    AddForce(x * mass, y * mass);
}

void PhysicsBody::BeginStepForce()
{
    m_StepForce = m_PendingForce;
    m_PendingForce = Vector2D(0.0, 0.0);
}

void PhysicsBody::ApplyStepForce()
{
    // Set, not added: ODE spends its accumulator in each integration, and nothing else
    // pushes the play field's bodies. Set even when zero: a body ODE does not integrate
    // (disabled, above the field's top band) keeps what its accumulator holds.
    dBodySetForce(m_Body, m_StepForce.x, m_StepForce.y, 0.0);
    HoldToTopSpeed();
}

void PhysicsBody::SetMass(const PhysicsMass& mass)
{
    dBodySetMass(m_Body, &mass.GetMass());
}

double PhysicsBody::GetMass() const
{
    dMass mass;
    dBodyGetMass(m_Body, &mass);
    return mass.mass;
}

void PhysicsBody::LockRotation()
{
    if (m_Motor)
        return;
    m_Motor = dJointCreateAMotor(m_World->GetWorldID(), nullptr);
    dJointAttach(m_Motor, m_Body, nullptr);
    dJointSetAMotorNumAxes(m_Motor, 3);
    // Axes relative to the global frame (rel = 0).
    dJointSetAMotorAxis(m_Motor, 0, 0, 1.0, 0.0, 0.0);
    dJointSetAMotorAxis(m_Motor, 1, 0, 0.0, 1.0, 0.0);
    dJointSetAMotorAxis(m_Motor, 2, 0, 0.0, 0.0, 1.0);
    dJointSetAMotorParam(m_Motor, dParamLoStop, 0.0);
    dJointSetAMotorParam(m_Motor, dParamHiStop, 0.0);
    dJointSetAMotorParam(m_Motor, dParamLoStop2, 0.0);
    dJointSetAMotorParam(m_Motor, dParamHiStop2, 0.0);
    dJointSetAMotorParam(m_Motor, dParamLoStop3, 0.0);
    dJointSetAMotorParam(m_Motor, dParamHiStop3, 0.0);
}

void PhysicsBody::HoldToPlane()
{
    const dReal* q = dBodyGetQuaternion(m_Body);
    const double w = q[0];
    const double z = q[3];
    const double length = std::sqrt(w * w + z * z);
    dQuaternion held = {1.0, 0.0, 0.0, 0.0};
    if (length > 1e-9 && std::isfinite(length)) {
        held[0] = w / length;
        held[3] = z / length;
    }
    dBodySetQuaternion(m_Body, held);
    const dReal* av = dBodyGetAngularVel(m_Body);
    dBodySetAngularVel(m_Body, 0.0, 0.0, av[2]);
    HoldToTopSpeed();
}
