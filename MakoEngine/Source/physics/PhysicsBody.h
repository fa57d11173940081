#pragma once
// The rigid body of one moving play-field object, held in the plane z = 0 of the play
// field by a plane joint. Created for a geometry and owned through it: deleting the
// geometry deletes its body (the owner must not delete the body again).
#include "physics/Vector2D.h"

#include <ode/ode.h>

class PhysicsMass;
class World;

class PhysicsBody
{
public:
    // A body at the origin in the world, joined to the static environment by a plane
    // joint, not immobile, rotation free; listed in the world's body list. Made while the
    // world steps, it can be used at once but moves only from the next sub-step on.
    explicit PhysicsBody(World* world);
    // Leaves the world's body list; the ODE body and its joints are destroyed now, or
    // when the sub-step ends while the world steps.
    ~PhysicsBody();
    // How many bodies exist now, in every world (for leak checks).
    static int GetLiveCount();
    PhysicsBody(const PhysicsBody&) = delete;
    PhysicsBody& operator=(const PhysicsBody&) = delete;

    // Null once the world was destroyed before this body.
    dBodyID GetBodyID() const { return m_Body; }
    World* GetWorld() const { return m_World; }

    // Position (x, y, 0) in pixels. Positions, velocities and forces are held to what the
    // physics can step (physics/PhysicsRange).
    void SetPosition(double x, double y);
    Vector2D GetPosition() const;
    // Velocity (x, y, 0) in pixels per second.
    void SetLinearVel(double x, double y);
    Vector2D GetLinearVel() const;
    // The fastest the body may move, in pixels per second (0: only PhysicsRange's bound).
    // Whatever sets or changes its velocity (a set velocity, a contact, a force) it is held
    // to it: when set, before each sub-step's integration and after each step, its
    // direction kept. An owner whose body must never cross its world in a step (a ball)
    // sets it once.
    void SetTopSpeed(double speed);
    double GetTopSpeed() const { return m_TopSpeed; }
    // Frame forces. Units: mass as PhysicsMass gives it (density × cubic pixels), so a
    // force is mass × pixels per second². A force added between two steps of the world
    // acts, unchanged, over the whole of the next World::Step, in every one of its
    // sub-steps, and is then spent: a body of mass m under a force F added once per step
    // of dt seconds gains F / m × dt of velocity per step, whatever the sub-step count.
    // Forces added in the same frame add up. A force added while the world steps (from a
    // collision callback or an owner's AcceptsCollision) is held for the next step, so it
    // too gives the impulse F × dt, whichever sub-step it came from. A body is pushed only
    // in the sub-steps in which it moves (not while disabled above the field's top band or
    // still joining the world); its step's force is spent all the same.
    void AddForce(double x, double y);
    // The force that gives this body the acceleration (x, y) in pixels per second² over
    // the next step: AddForce of the mass times (x, y). Nothing once the world is gone.
    void AddAcceleration(double x, double y);
    // The force held for the next step, and the one the running step applies.
    Vector2D GetPendingForce() const { return m_PendingForce; }
    Vector2D GetStepForce() const { return m_StepForce; }
    void SetMass(const PhysicsMass& mass);
    // The body's total mass (ODE's default of 1 until SetMass). Needs the world.
    double GetMass() const;

    // Locks the body's rotation with an angular motor whose three global axes have both
    // stops at 0. A second call changes nothing.
    void LockRotation();
    bool IsRotationLocked() const { return m_Motor != nullptr; }

    // Immobile in collisions: a physical contact with a body that is not immobile does not
    // attach this body, so that contact does not move it.
    void SetImmobile(bool immobile) { m_Immobile = immobile; }
    bool IsImmobile() const { return m_Immobile; }

    // Keeps only the rotation about z: the orientation (w, x, y, z) becomes
    // (w, 0, 0, z) / sqrt(w² + z²) and the angular velocity (0, 0, its z). A body turned
    // half a turn about an axis in the plane, which has no rotation about z left, is put
    // back to the identity. The world calls this after every step.
    void HoldToPlane();

    // Made while the world stepped and not yet part of the simulation (its ODE body is
    // kept disabled until the sub-step ends).
    bool IsJoining() const { return m_Joining; }

private:
    friend class World;
    // The world is being destroyed and takes the ODE body and joints with it.
    void ForgetWorld();
    // The world starts a step: the pending force becomes the step's force.
    void BeginStepForce();
    // Before each sub-step's integration: the step's force becomes the ODE body's force.
    void ApplyStepForce();
    // The step is over: its force is spent.
    void EndStepForce() { m_StepForce = Vector2D(0.0, 0.0); }

    dBodyID m_Body = nullptr;
    World* m_World = nullptr;
    dJointID m_Motor = nullptr;
    dJointID m_PlaneJoint = nullptr;
    bool m_Immobile = false;
    bool m_Joining = false;
    Vector2D m_PendingForce{0.0, 0.0};
    Vector2D m_StepForce{0.0, 0.0};
    double m_TopSpeed = 0.0;
    // Shortens the ODE body's velocity to the top speed, when it has one.
    void HoldToTopSpeed();
};
