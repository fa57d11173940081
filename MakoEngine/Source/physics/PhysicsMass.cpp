#include "physics/PhysicsMass.h"

#include "physics/PhysicsRange.h"

PhysicsMass::PhysicsMass()
{
    dMassSetZero(&m_Mass);
}

void PhysicsMass::SetSphere(double density, double radius)
{
    dMassSetSphere(&m_Mass, PhysicsRange::Density(density), PhysicsRange::Length(radius));
}

void PhysicsMass::SetBox(double density, double x, double y, double z)
{
    using PhysicsRange::Length;
    dMassSetBox(&m_Mass, PhysicsRange::Density(density), Length(x), Length(y), Length(z));
}
