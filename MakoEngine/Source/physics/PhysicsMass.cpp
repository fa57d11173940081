#include "physics/PhysicsMass.h"

PhysicsMass::PhysicsMass()
{
    dMassSetZero(&m_Mass);
}

void PhysicsMass::SetSphere(double density, double radius)
{
    dMassSetSphere(&m_Mass, density, radius);
}

void PhysicsMass::SetBox(double density, double x, double y, double z)
{
    dMassSetBox(&m_Mass, density, x, y, z);
}
