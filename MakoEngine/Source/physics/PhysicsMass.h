#pragma once
// A mass record to give a body its mass, used on the stack. Densities are in mass per
// cubic pixel; the shapes are centred on the body. Densities and lengths are held to what
// the physics can step (physics/PhysicsRange).
#include <ode/ode.h>

class PhysicsMass
{
public:
    PhysicsMass();

    // A solid sphere of the given density and radius.
    void SetSphere(double density, double radius);
    // A solid box of the given density and side lengths.
    void SetBox(double density, double x, double y, double z);

    double GetTotalMass() const { return m_Mass.mass; }
    const dMass& GetMass() const MAKO_LIFETIMEBOUND { return m_Mass; }

private:
    dMass m_Mass;
};
