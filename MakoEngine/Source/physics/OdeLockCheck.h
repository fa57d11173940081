#pragma once
// The check behind the world's step lock. While a World steps, bodies and geometries of
// that world are made and deleted only through PhysicsBody, PhysicsGeom and the world's
// Create functions, which queue the change until the sub-step ends. In builds with
// assertions, ODE's own functions that make or destroy a body or geometry, or add one to
// or remove one from a space, are wrapped: aimed at the ODE world or either space of a
// locked World they raise an Exception instead of pulling an object out from under the step.
// Geometries made outside any space and objects of worlds that are not stepping pass.
//
// The wrappers' own ODE calls are made under a Permit. Main thread only.
#include <ode/ode.h>

class World;

class OdeLockCheck
{
public:
    // True in builds where the raw ODE calls are checked (builds with assertions).
    static bool IsActive();

    // Marks the world as stepping (Lock) or no longer stepping (Unlock).
    static void Lock(const World* world);
    static void Unlock(const World* world);

    // Raw create and destroy calls made while a Permit lives are the physics wrappers'
    // own and pass the check.
    class Permit
    {
    public:
        Permit();
        ~Permit();
        Permit(const Permit&) = delete;
        Permit& operator=(const Permit&) = delete;
    };

    // Raise an Exception naming `call` when it is aimed at the ODE world or a space of a
    // locked World and no Permit lives. A null world or space passes.
    static void CheckWorld(dWorldID world, const char* call);
    static void CheckSpace(dSpaceID space, const char* call);
};
