#pragma once
// The collision shape of one play-field object in a world, with what the world's
// collision and contact passes need to know about it: the owner they ask, the contact
// settings, and the state of gradual shape changes. Made by World::CreateBox,
// CreateSphere and CreateTriMesh and owned by the caller (the play-field object).
// Deleting it deletes the PhysicsBody attached to it and its triangle-mesh data; deleted
// while the world steps, it takes no further part in that step (see World).
#include "geometry/Point.h"
#include "physics/Vector2D.h"

#include <ode/ode.h>

#include <array>

class CollisionOwner;
class PhysicsBody;
class TriMeshData;
class World;

class PhysicsGeom
{
public:
    enum Bounciness { BounceAlways = 0, BounceNeutral = 1, BounceDont = 2 };

    // Geometries with a centre above this line (y below it) take no part in the
    // simulation: they neither collide nor move.
    static constexpr double kActiveTopY = 10.0;
    // Gradual changes spread over this many sub-steps.
    static constexpr int kGradualSteps = 10;

    ~PhysicsGeom();
    PhysicsGeom(const PhysicsGeom&) = delete;
    PhysicsGeom& operator=(const PhysicsGeom&) = delete;

    // Null once the world was destroyed before this geometry.
    dGeomID GetGeomID() const { return m_Geom; }
    World* GetWorld() const { return m_World; }
    // The triangle-mesh data of a mesh geometry (owned), else null.
    TriMeshData* GetMeshData() const { return m_MeshData; }

    void SetOwner(CollisionOwner* owner) { m_Owner = owner; }
    CollisionOwner* GetOwner() const { return m_Owner; }

    // Attaches the geometry to the body (null detaches it). The body's position and
    // rotation become the geometry's from then on. With a body the geometry belongs in
    // the world's dynamic space, without one in its static space; it moves there at once
    // or, while the world steps, when the sub-step ends.
    void SetBody(PhysicsBody* body);
    // The PhysicsBody of the attached ODE body, or null.
    PhysicsBody* GetBody() const;

    // The space tests a pair only when one geometry's category bits meet the other's
    // collide bits.
    void SetCategoryBits(unsigned long bits);
    void SetCollideBits(unsigned long bits);

    void SetBounciness(int bounciness) { m_Bounciness = bounciness; }
    int GetBounciness() const { return m_Bounciness; }
    void SetHasFriction(bool hasFriction) { m_HasFriction = hasFriction; }
    bool GetHasFriction() const { return m_HasFriction; }
    void SetNeverSoft(bool neverSoft) { m_NeverSoft = neverSoft; }
    bool GetNeverSoft() const { return m_NeverSoft; }
    // Restitution offered to contacts (0 to 1).
    void SetBounceStrength(float strength) { m_BounceStrength = strength; }
    float GetBounceStrength() const { return m_BounceStrength; }
    // Constraint force mixing offered to soft contacts (0: hard).
    void SetSoftness(float softness) { m_Softness = softness; }
    float GetSoftness() const { return m_Softness; }

    // Rotation about the z axis, in degrees. Turns, lengths and places are held to what the
    // physics can step (physics/PhysicsRange).
    void SetRotation(float degrees);
    // The 3 × 4 row-major rotation matrix of ODE.
    const dReal* GetRotation() const;
    // Turns a direction given in the geometry's own frame into the play-field frame.
    Vector2D ToWorldDirection(const Vector2D& local) const;

    // Box lengths width, height, 100 (boxes only).
    void SetBoxSize(float width, float height);

    // Places the geometry (and its body) at (x, y, 0). A place with y below kActiveTopY
    // disables it (geometry and body), a place at or below it enables it again. The
    // double form does nothing when (x, y) is the current position.
    void SetPosition(float x, float y);
    void SetPosition(double x, double y);
    // Position x, y, z in pixels.
    std::array<float, 3> GetPosition() const;
    Point<double> GetCenter() const;

    // Enables or disables the geometry and its body; they act only on a change. After its
    // world has gone only the flag changes (an actor killed after its level ended).
    void Enable();
    void Disable();
    bool IsEnabled() const { return m_Enabled; }

    // Spheres only: grows or shrinks the radius to r over the next kGradualSteps
    // sub-steps. A new radius while one change runs restarts from the current radius.
    void SetRadiusGradually(double radius);
    // Moves the geometry down by dy over the next kGradualSteps sub-steps. Ignored while
    // a shift runs.
    void ShiftGradually(double dy);
    bool IsChangingGradually() const { return m_RadiusTicks > 0 || m_ShiftTicks > 0; }
    // The part of a gradual shift still to come (0 when none runs): the position plus it is
    // where the geometry will be once the shift has run.
    double GetPendingShift() const { return m_ShiftStep * m_ShiftTicks; }

private:
    friend class World;
    // Made by the world's Create functions; takes the mesh data over.
    PhysicsGeom(World* world, dGeomID geom, TriMeshData* meshData);
    // One step of the gradual changes; false when none is under way any more.
    bool StepGradually();
    // The world is being destroyed: the ODE geometry goes now, the body wrapper and the
    // mesh data are kept only to be freed with this object.
    void ForgetWorld();
    void PlaceAt(double x, double y);

    World* m_World = nullptr;
    dGeomID m_Geom = nullptr;
    CollisionOwner* m_Owner = nullptr;
    TriMeshData* m_MeshData = nullptr;
    int m_Bounciness = BounceNeutral;
    bool m_HasFriction = false;
    bool m_NeverSoft = false;
    float m_BounceStrength = 1.0f;
    float m_Softness = 0.0f;
    double m_RadiusStep = 0.0;
    int m_RadiusTicks = 0;
    double m_ShiftStep = 0.0;
    int m_ShiftTicks = 0;
    bool m_Enabled = true;
    // The body that was attached when the world went away, freed with this object.
    PhysicsBody* m_DetachedBody = nullptr;
};
