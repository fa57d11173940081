#pragma once
// The play field's rigid-body simulation: one ODE world, two collision spaces and one
// group of contact joints, with lists of the bodies and geometries made in it. Every body
// is held to the plane z = 0 and turns only about z. The world does not decide which
// contacts count: it asks the owners of the two touching geometries (CollisionOwner),
// makes contact joints for the contacts that do not pass, and reports every contact to
// the collision callback of the step.
//
// The two spaces. Two geometries without a body never collide, so the world keeps the
// geometries that carry a body (balls, paddles, loot, movable bricks) in the dynamic
// space, a sweep-and-prune space, and those without one (walls, fixed bricks) in the
// static space, a quad-tree fitted to the 640 × 480 field. The collision pass tests
// the dynamic space against itself and each enabled dynamic geometry against the
// static space, never two static geometries against each other. A geometry is made in
// the static space and moves to the dynamic one when a body is attached
// (PhysicsGeom::SetBody), and back when its body is detached or deleted. The pairs
// reach the near callback in an order that depends only on what the spaces hold and
// where, so a scene stays repeatable.
//
// Configuration: "GlobalCFM", "GlobalERP" and "CollisionIterations" are read when the
// world is made and follow configuration updates (ApplyConfigValue).
//
// A scene is repeatable: the same world built and stepped the same way gives the same
// result (each world restarts ODE's random sequence, which orders the solver's work).
//
// The step lock. The collision callback and the owners' AcceptsCollision run inside a
// sub-step while the world walks its contact records; the play field destroys bricks,
// spawns power-ups and splits balls from them. So the world is locked for the whole of
// Step, and bodies and geometries made or deleted meanwhile change the simulation only
// when the current sub-step ends (after its integration, when no contact record or
// contact joint is left):
// - A deleted geometry's wrapper is gone at once; its contacts that are still to be
//   reported are skipped and it is left out of the rest of the collision pass. Its ODE
//   geometry (and its mesh data) stays until the sub-step ends, so no record points at
//   freed ODE memory. A deleted body likewise leaves the body list at once and its ODE
//   body and joints go when the sub-step ends; it still takes part in the integration of
//   the sub-step it was deleted in (the callback cannot cancel that sub-step's physical
//   response).
// - A new geometry or body is a complete object at once: it can be placed, attached,
//   given a mass and a velocity and read back. Its ODE geometry is kept out of the
//   world's spaces and its ODE body disabled until the sub-step ends; from the next
//   sub-step on it collides and moves (a body stays disabled while a geometry it carries
//   is disabled, see PhysicsGeom::SetPosition).
// - A geometry that gains or loses its body keeps its space until the sub-step ends and
//   then moves to the space that fits it; a new one joins the space that fits it then.
// Direct calls of ODE's own create and destroy functions on this world's ODE world or
// spaces while it is locked are refused in builds with assertions (OdeLockCheck).
//
// Main thread only. Geometries and bodies are owned by the play-field objects and are
// deleted before the world; what is left at tear-down is detached, not freed. A world
// destroyed from inside its own step ends the program with a message: the step would
// otherwise go on in freed memory.
#include "core/Object.h"
#include "physics/ContactRecord.h"

#include <ode/ode.h>

#include <functional>
#include <optional>
#include <string>
#include <vector>

class PhysicsBody;
class PhysicsGeom;
class TriMeshData;

// Reads a configuration key for the world: the value when it is a number, else nothing.
using WorldConfigReader = std::function<std::optional<double>(const std::string& key)>;

// The world observes its three configuration keys on the current configuration (when
// there is one) from construction to destruction; each MAKO_CONFIGUPDATE it receives is
// applied through ApplyConfigValue and consumed.
class World : public Object
{
public:
    static constexpr const char* kKeyCFM = "GlobalCFM";
    static constexpr const char* kKeyERP = "GlobalERP";
    static constexpr const char* kKeyIterations = "CollisionIterations";
    // Sub-steps per step when the configuration gives no usable count.
    static constexpr int kDefaultCollisionIterations = 10;
    // The largest sub-step count the configuration may ask for.
    static constexpr int kMaxCollisionIterations = 200;

    // Reads the configuration through `config` (an empty reader reads nothing): a usable
    // CFM or ERP replaces ODE's default, and the sub-step count is the configured one or
    // kDefaultCollisionIterations.
    explicit World(const WorldConfigReader& config = WorldConfigReader());
    ~World() override;
    World(const World&) = delete;
    World& operator=(const World&) = delete;

    // Advances the simulation by dt seconds in GetCollisionIterations() sub-steps (or
    // more, see RequestSubSteps); each runs the collision pass, the contact pass, the
    // callback for every contact, the integration, the mesh refresh and one step of the
    // gradual changes. Afterwards every body is held to the plane (also when there are no
    // sub-steps).
    // Forces: each body's forces added since the last step (PhysicsBody::AddForce, in
    // mass × pixels per second²) act in every sub-step, so over the whole of dt, and are
    // spent when the step ends: the impulse a force gives is force × dt whatever the
    // sub-step count, and changing "CollisionIterations" or asking for more sub-steps
    // does not change how hard anything is pushed. Forces added during the step (from the
    // callback or the owners) act over the next step. An exception from an
    // owner or the callback abandons the step and reaches the caller; the changes queued
    // until then are applied first, and the next step starts clean. Stepping a world
    // from inside its own step fails.
    void Step(double dt, CollisionCallback callback, void* context);

    // True while Step runs (see the step lock above).
    bool IsLocked() const { return m_Locked; }

    // New geometries in the world's static space (they have no body yet), owned by the
    // caller. A box is width × height × 100 pixels; a mesh takes its data over. Made while
    // the world steps, a geometry enters its space when the sub-step ends.
    PhysicsGeom* CreateBox(float width, float height);
    PhysicsGeom* CreateSphere(float radius);
    PhysicsGeom* CreateTriMesh(TriMeshData* data);

    // Applies one configuration update. "CollisionIterations" must be an integer from 1
    // to kMaxCollisionIterations, "GlobalCFM" a number of at least 0 and "GlobalERP" a
    // number from 0 to 1; anything else keeps the old value and logs a warning. A missing
    // value (not a number) counts as unusable. Other keys change nothing. Takes effect at
    // the next step.
    void ApplyConfigValue(const std::string& key, std::optional<double> value);

    int GetCollisionIterations() const { return m_CollisionIterations; }
    // Asks for at least that many sub-steps in the next Step only (at most
    // kMaxCollisionIterations): fast, small bodies ask for short sub-steps so that they
    // never travel deep into what they hit within one. The largest request counts.
    void RequestSubSteps(int subSteps);
    // The sub-steps the last Step ran.
    int GetLastSubSteps() const { return m_LastSubSteps; }
    // Sets the sub-step count directly (0 or more; 0 runs no sub-step, but bodies are
    // still held to the plane).
    void SetCollisionIterations(int iterations);

    // A configuration update: the event's data1 holds the table {key = ..., value = ...}.
    bool OnConfigUpdate(const Event& event) override;

    // Reads the world's keys from the current configuration (constants first).
    static WorldConfigReader EngineConfigReader();

    dWorldID GetWorldID() const { return m_World; }
    // The space of the geometries with a body, and the space of those without one.
    dSpaceID GetDynamicSpaceID() const { return m_DynamicSpace; }
    dSpaceID GetStaticSpaceID() const { return m_StaticSpace; }
    bool OwnsSpace(dSpaceID space) const
    {
        return space && (space == m_DynamicSpace || space == m_StaticSpace);
    }

    // The contacts of the current sub-step, in the order found. Empty outside a step.
    // A record stays in the list when one of its geometries is deleted during the
    // sub-step; IsLive tells whether both of its geometries still exist.
    const std::vector<ContactRecord>& GetContacts() const MAKO_LIFETIMEBOUND { return m_Contacts; }
    static bool IsLive(const ContactRecord& record);

    // The parts of a sub-step, public so that contact handling can be driven on its own.
    // The near callback given to ODE's space collision (data is the World).
    static void ProcessCollision(void* data, dGeomID o1, dGeomID o2);
    // Appends a record (joint null) to the contact list; its g1 and g2 are the ODE
    // geometries of geom1 and geom2.
    void AddContactRecord(PhysicsGeom* geom1, PhysicsGeom* geom2, const dContactGeom& contact,
                          bool physical, dBodyID body1, dBodyID body2);
    // Removes duplicate contacts, snaps the normals of neighbouring contacts to the
    // owners' edges and makes the contact joints of the physical contacts.
    void ProcessContacts();

    // How many pairs of geometries the spaces handed to the near callback in the last
    // Step (pairs whose bounding boxes meet and whose category and collide bits match).
    std::size_t GetLastNearPairCount() const { return m_NearPairs; }

    // Sizes of the world's lists, for diagnostics.
    std::size_t GetBodyCount() const { return m_Bodies.size(); }
    std::size_t GetGeomCount() const { return m_Geoms.size(); }
    std::size_t GetMeshRefreshCount() const { return m_MeshGeoms.size(); }
    std::size_t GetGradualCount() const { return m_GradualGeoms.size(); }
    // Geometries and bodies made or deleted while the world steps whose change to the
    // simulation waits for the end of the sub-step. 0 outside a step.
    std::size_t GetQueuedChangeCount() const
    {
        return m_JoiningGeoms.size() + m_JoiningBodies.size() + m_RemovedGeoms.size() +
               m_RemovedBodies.size() + m_MovingGeoms.size();
    }

private:
    friend class PhysicsBody;
    friend class PhysicsGeom;
    // The ODE objects of a deleted geometry or body, kept until the sub-step ends.
    struct RemovedGeom
    {
        dGeomID geom;
        TriMeshData* meshData;
    };
    struct RemovedBody
    {
        dBodyID body;
        dJointID planeJoint;
        dJointID motor;
    };

    // A new body wrapper joins the lists; while locked its ODE body waits disabled.
    void AddBody(PhysicsBody* body);
    // The body wrapper is being deleted: it leaves the lists, and its ODE body and joints
    // are destroyed now or, while locked, when the sub-step ends.
    void RemoveBody(PhysicsBody* body);
    // A new geometry wrapper joins the lists; while locked its ODE geometry, made
    // outside the spaces, waits to join its space.
    void AddGeom(PhysicsGeom* geom);
    // The geometry wrapper is being deleted: it leaves the lists at once.
    void RemoveGeom(PhysicsGeom* geom);
    // Destroys the ODE geometry and mesh data of a deleted wrapper now or, while locked,
    // when the sub-step ends.
    void ReleaseGeom(dGeomID geom, TriMeshData* meshData);
    void AddGradual(PhysicsGeom* geom);
    // The space new geometries are made in: none while locked.
    dSpaceID SpaceForNewGeom() const { return m_Locked ? nullptr : m_StaticSpace; }
    // The space that fits the geometry: dynamic when it carries a body, else static.
    dSpaceID SpaceFor(dGeomID geom) const;
    // The geometry gained or lost its body: it moves to the space that fits it now or,
    // while locked, when the sub-step ends. One that waits to join a space is left alone.
    void PlaceInSpace(dGeomID geom);
    void MoveToSpace(dGeomID geom);

    void Lock();
    // Applies what is queued and unlocks.
    void Unlock();
    // Applies the queued removals, then the queued additions, in the order asked.
    void ApplyQueuedChanges();
    void JoinBody(PhysicsBody* body);
    void DropDeadContacts();

    void Collide(dGeomID o1, dGeomID o2);
    // The broad phase: the dynamic space with itself, then each enabled dynamic geometry
    // with the static space.
    void CollideSpaces();
    void RunSubStep(float h, CollisionCallback callback, void* context);
    void ReportContacts(CollisionCallback callback, void* context);
    void RemoveDuplicateContacts();
    void SnapNeighbourNormals();
    void SnapPair(std::size_t a, std::size_t b, const double normalA[2]);
    void CreateContactJoints();
    void RefreshMeshTransforms();
    void StepGradualChanges();
    void HoldBodiesToPlane();
    // The frame forces of the bodies: set on the ODE bodies before each integration, and
    // spent when the step ends.
    void ApplyStepForces();
    void EndStepForces();
    void ReadConfiguration(const WorldConfigReader& config);

    dWorldID m_World = nullptr;
    dSpaceID m_DynamicSpace = nullptr;
    dSpaceID m_StaticSpace = nullptr;
    dJointGroupID m_ContactGroup = nullptr;
    int m_CollisionIterations = kDefaultCollisionIterations;
    int m_RequestedSubSteps = 0;
    int m_LastSubSteps = 0;
    std::size_t m_NearPairs = 0;
    std::vector<ContactRecord> m_Contacts;
    std::vector<PhysicsBody*> m_Bodies;
    std::vector<PhysicsGeom*> m_MeshGeoms;
    std::vector<PhysicsGeom*> m_GradualGeoms;
    std::vector<PhysicsGeom*> m_Geoms;
    // The step lock and what waits for the end of the sub-step.
    bool m_Locked = false;
    std::vector<dGeomID> m_JoiningGeoms;
    std::vector<PhysicsBody*> m_JoiningBodies;
    std::vector<RemovedGeom> m_RemovedGeoms;
    std::vector<RemovedBody> m_RemovedBodies;
    std::vector<dGeomID> m_MovingGeoms;
    // An exception raised inside ODE's collision pass, held until the pass returns so
    // that it never unwinds through ODE.
    std::exception_ptr m_PendingError;
    // The configuration whose keys the world observes; null when there was none.
    class Config* m_ObservedConfig = nullptr;
};
