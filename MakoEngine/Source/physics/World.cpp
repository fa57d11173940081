#include "physics/World.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "physics/CollisionOwner.h"
#include "physics/OdeLockCheck.h"
#include "physics/OdeRuntime.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsGeom.h"
#include "physics/PhysicsRange.h"
#include "physics/PhysicsServices.h"
#include "physics/TriMeshData.h"

#include <boost/format.hpp>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <memory>

namespace {

// The static space is a quad-tree over the 640 x 480 play field. ODE takes the tree's
// centre and its half-extents: (320, 240) +/- (320, 240) spans x 0..640 and y 0..480; the
// third axis (1 pixel either side of the plane z = 0) is never divided. Four levels of
// splits in two along x and y make leaves of 40 x 30 pixels, about two bricks. A geometry
// that fits no block (the walls, which reach far beyond the field) stays in the top one.
constexpr double kSpaceCenter[3] = {320.0, 240.0, 0.0};
constexpr double kSpaceHalfExtents[3] = {320.0, 240.0, 1.0};
constexpr int kSpaceDepth = 4;

dSpaceID CreateFieldQuadTree()
{
    dVector3 center = {kSpaceCenter[0], kSpaceCenter[1], kSpaceCenter[2], 0.0};
    dVector3 extents = {kSpaceHalfExtents[0], kSpaceHalfExtents[1], kSpaceHalfExtents[2], 0.0};
    const dSpaceID space = dQuadTreeSpaceCreate(nullptr, center, extents, kSpaceDepth);
    // Geometries belong to their wrappers, never to the space.
    dSpaceSetCleanup(space, 0);
    return space;
}

// The geometries with a body are few and move in every sub-step: a sweep-and-prune space
// sorts them along x in each pass instead of keeping a tree up to date.
dSpaceID CreateSweepSpace()
{
    const dSpaceID space = dSweepAndPruneSpaceCreate(nullptr, dSAP_AXES_XYZ);
    dSpaceSetCleanup(space, 0);
    return space;
}

// Contacts of the same pair closer than this (per axis) with nearly equal normals are
// one contact.
constexpr double kDuplicateDistance = 1.0;
constexpr double kDuplicateNormalDistance = 0.01;
// Contacts of different pairs closer than this (per axis) are neighbours whose normals
// are snapped to a common edge.
constexpr double kNeighbourDistance = 4.0;
constexpr double kSnapDot = 0.9;
// Friction coefficient of contacts with friction: effectively no sliding.
constexpr double kFrictionMu = 100000.0;

std::optional<int> UsableIterations(std::optional<double> value)
{
    if (!value || !std::isfinite(*value) || std::floor(*value) != *value || *value < 1.0 ||
        *value > World::kMaxCollisionIterations)
        return std::nullopt;
    return int(*value);
}

bool UsableCFM(std::optional<double> value)
{
    return value && std::isfinite(*value) && *value >= 0.0;
}

bool UsableERP(std::optional<double> value)
{
    return value && std::isfinite(*value) && *value >= 0.0 && *value <= 1.0;
}

void WarnUnusable(const std::string& key, std::optional<double> value, const char* expected,
                  const std::string& kept)
{
    const std::string given = value ? boost::str(boost::format("%1%") % *value) : "not a number";
    PhysicsLogWarning(boost::str(
        boost::format("World: configuration value \"%1%\" (%2%) is not %3%; keeping %4%") % key %
        given % expected % kept));
}

template <typename T> void EraseValue(std::vector<T*>& list, T* value)
{
    list.erase(std::remove(list.begin(), list.end(), value), list.end());
}

bool SamePair(const ContactRecord& a, const ContactRecord& b)
{
    return (a.geom1 == b.geom1 && a.geom2 == b.geom2) || (a.geom1 == b.geom2 && a.geom2 == b.geom1);
}

bool IsDuplicate(const ContactRecord& a, const ContactRecord& b)
{
    const dReal* pa = a.data.position;
    const dReal* pb = b.data.position;
    const dReal* na = a.data.normal;
    const dReal* nb = b.data.normal;
    const bool samePlace = std::fabs(pa[0] - pb[0]) < kDuplicateDistance &&
                           std::fabs(pa[1] - pb[1]) < kDuplicateDistance &&
                           std::hypot(na[0] - nb[0], na[1] - nb[1]) < kDuplicateNormalDistance;
    const bool opposite = std::hypot(na[0] + nb[0], na[1] + nb[1]) < kDuplicateNormalDistance;
    return samePlace || opposite;
}

} // namespace

World::World(const WorldConfigReader& config)
{
    std::optional<double> cfm, erp, iterations;
    if (config) {
        cfm = config(kKeyCFM);
        erp = config(kKeyERP);
        iterations = config(kKeyIterations);
    }

    OdeRuntime::Acquire();
    // The solver orders its constraints with ODE's random sequence: every world starts it
    // afresh, so that a scene plays out the same way each time it is built.
    dRandSetSeed(0);
    m_World = dWorldCreate();
    if (UsableCFM(cfm))
        dWorldSetCFM(m_World, *cfm);
    else if (cfm)
        WarnUnusable(kKeyCFM, cfm, "a number of at least 0", "the default");
    if (UsableERP(erp))
        dWorldSetERP(m_World, *erp);
    else if (erp)
        WarnUnusable(kKeyERP, erp, "a number from 0 to 1", "the default");
    dWorldSetGravity(m_World, 0.0, 0.0, 0.0);

    m_DynamicSpace = CreateSweepSpace();
    m_StaticSpace = CreateFieldQuadTree();
    m_ContactGroup = dJointGroupCreate(0);

    if (std::optional<int> n = UsableIterations(iterations))
        m_CollisionIterations = *n;
    else if (iterations)
        WarnUnusable(kKeyIterations, iterations, "an integer from 1 to 200",
                     std::to_string(kDefaultCollisionIterations));

    if (Config* engineConfig = Config::GetCurrent()) {
        m_ObservedConfig = engineConfig;
        engineConfig->AttachObserver(this, kKeyCFM);
        engineConfig->AttachObserver(this, kKeyERP);
        engineConfig->AttachObserver(this, kKeyIterations);
    }
}

bool World::OnConfigUpdate(const Event& event)
{
    auto* update = static_cast<LuaPlus::LuaObject*>(event.user.data1);
    if (update && update->IsTable()) {
        LuaPlus::LuaObject key = update->GetByName("key");
        LuaPlus::LuaObject value = update->GetByName("value");
        if (key.IsString()) {
            std::optional<double> number;
            if (value.IsNumber())
                number = value.GetNumber();
            ApplyConfigValue(key.GetString(), number);
        }
    }
    return true;
}

WorldConfigReader World::EngineConfigReader()
{
    return [](const std::string& key) -> std::optional<double> {
        Config* config = Config::GetCurrent();
        if (!config)
            return std::nullopt;
        LuaPlus::LuaObject value = config->GetObject(key);
        if (!value.IsNumber())
            return std::nullopt;
        return value.GetNumber();
    };
}

World::~World()
{
    if (m_Locked) {
        // The step that is running would go on in freed memory.
        const char* text = "World: destroyed from inside its own step\n";
        PhysicsLogWarning(text);
        std::fputs(text, stderr);
        std::abort();
    }
    // Detached only from the configuration attached to, and only while it still lives.
    if (Config* engineConfig = Config::GetCurrent();
        engineConfig && engineConfig == m_ObservedConfig) {
        engineConfig->DetachObserver(this, kKeyIterations);
        engineConfig->DetachObserver(this, kKeyERP);
        engineConfig->DetachObserver(this, kKeyCFM);
    }
    // Whatever is still listed is detached: its ODE objects go with this world, its
    // wrappers stay with their owners until they delete them.
    for (PhysicsGeom* geom : m_Geoms)
        geom->ForgetWorld();
    for (PhysicsBody* body : m_Bodies)
        body->ForgetWorld();
    m_Geoms.clear();
    m_MeshGeoms.clear();
    m_GradualGeoms.clear();
    m_Bodies.clear();
    m_Contacts.clear();

    dJointGroupDestroy(m_ContactGroup);
    dSpaceDestroy(m_StaticSpace);
    dSpaceDestroy(m_DynamicSpace);
    dWorldDestroy(m_World);
    OdeRuntime::Release();
}

void World::ApplyConfigValue(const std::string& key, std::optional<double> value)
{
    if (key == kKeyIterations) {
        if (std::optional<int> n = UsableIterations(value))
            m_CollisionIterations = *n;
        else
            WarnUnusable(key, value, "an integer from 1 to 200",
                         std::to_string(m_CollisionIterations));
    } else if (key == kKeyCFM) {
        if (UsableCFM(value))
            dWorldSetCFM(m_World, *value);
        else
            WarnUnusable(key, value, "a number of at least 0",
                         boost::str(boost::format("%1%") % dWorldGetCFM(m_World)));
    } else if (key == kKeyERP) {
        if (UsableERP(value))
            dWorldSetERP(m_World, *value);
        else
            WarnUnusable(key, value, "a number from 0 to 1",
                         boost::str(boost::format("%1%") % dWorldGetERP(m_World)));
    }
}

void World::RequestSubSteps(int subSteps)
{
    m_RequestedSubSteps =
        std::max(m_RequestedSubSteps, std::min(subSteps, kMaxCollisionIterations));
}

void World::SetCollisionIterations(int iterations)
{
    MAKO_ASSERT(iterations >= 0);
    m_CollisionIterations = iterations;
}

PhysicsGeom* World::CreateBox(float width, float height)
{
    return new PhysicsGeom(this,
                           dCreateBox(SpaceForNewGeom(), PhysicsRange::Length(width),
                                      PhysicsRange::Length(height), 100.0),
                           nullptr);
}

PhysicsGeom* World::CreateSphere(float radius)
{
    return new PhysicsGeom(this, dCreateSphere(SpaceForNewGeom(), PhysicsRange::Length(radius)),
                           nullptr);
}

PhysicsGeom* World::CreateTriMesh(TriMeshData* data)
{
    MAKO_ASSERT(data != nullptr);
    std::unique_ptr<TriMeshData> owned(data);
    dGeomID geom = dCreateTriMesh(SpaceForNewGeom(), data->GetID(), nullptr, nullptr, nullptr);
    return new PhysicsGeom(this, geom, owned.release());
}

void World::AddBody(PhysicsBody* body)
{
    m_Bodies.push_back(body);
    if (m_Locked) {
        body->m_Joining = true;
        dBodyDisable(body->GetBodyID());
        m_JoiningBodies.push_back(body);
    }
}

void World::RemoveBody(PhysicsBody* body)
{
    EraseValue(m_Bodies, body);
    EraseValue(m_JoiningBodies, body);
    // Geometries still attached find no wrapper behind the ODE body from now on.
    dBodySetData(body->m_Body, nullptr);
    const RemovedBody removed = {body->m_Body, body->m_PlaneJoint, body->m_Motor};
    // The geometries it carried are static once it is gone.
    std::vector<dGeomID> carried;
    for (dGeomID geom = dBodyGetFirstGeom(removed.body); geom; geom = dBodyGetNextGeom(geom))
        carried.push_back(geom);
    if (m_Locked) {
        // The ODE body is destroyed when the sub-step ends, which detaches the geometries;
        // they move to the static space after that (queued moves come after removals).
        // One still waiting to join a space joins the fitting one then anyway.
        m_RemovedBodies.push_back(removed);
        for (dGeomID geom : carried)
            if (dGeomGetSpace(geom) &&
                std::find(m_MovingGeoms.begin(), m_MovingGeoms.end(), geom) == m_MovingGeoms.end())
                m_MovingGeoms.push_back(geom);
        return;
    }
    OdeLockCheck::Permit permit;
    if (removed.motor)
        dJointDestroy(removed.motor);
    dJointDestroy(removed.planeJoint);
    dBodyDestroy(removed.body);
    for (dGeomID geom : carried)
        PlaceInSpace(geom);
}

void World::AddGeom(PhysicsGeom* geom)
{
    m_Geoms.push_back(geom);
    m_MeshGeoms.push_back(geom);
    if (m_Locked)
        m_JoiningGeoms.push_back(geom->GetGeomID());
}

void World::RemoveGeom(PhysicsGeom* geom)
{
    EraseValue(m_Geoms, geom);
    EraseValue(m_MeshGeoms, geom);
    EraseValue(m_GradualGeoms, geom);
}

void World::ReleaseGeom(dGeomID geom, TriMeshData* meshData)
{
    // Records and later pairs of the collision pass see that the wrapper is gone.
    dGeomSetData(geom, nullptr);
    m_JoiningGeoms.erase(std::remove(m_JoiningGeoms.begin(), m_JoiningGeoms.end(), geom),
                         m_JoiningGeoms.end());
    m_MovingGeoms.erase(std::remove(m_MovingGeoms.begin(), m_MovingGeoms.end(), geom),
                        m_MovingGeoms.end());
    if (m_Locked) {
        m_RemovedGeoms.push_back({geom, meshData});
        return;
    }
    OdeLockCheck::Permit permit;
    dGeomDestroy(geom);
    delete meshData;
}

dSpaceID World::SpaceFor(dGeomID geom) const
{
    return dGeomGetBody(geom) ? m_DynamicSpace : m_StaticSpace;
}

void World::PlaceInSpace(dGeomID geom)
{
    const dSpaceID current = dGeomGetSpace(geom);
    if (!current || current == SpaceFor(geom))
        return;
    if (m_Locked) {
        if (std::find(m_MovingGeoms.begin(), m_MovingGeoms.end(), geom) == m_MovingGeoms.end())
            m_MovingGeoms.push_back(geom);
        return;
    }
    MoveToSpace(geom);
}

void World::MoveToSpace(dGeomID geom)
{
    const dSpaceID current = dGeomGetSpace(geom);
    const dSpaceID target = SpaceFor(geom);
    if (current == target)
        return;
    OdeLockCheck::Permit permit;
    if (current)
        dSpaceRemove(current, geom);
    dSpaceAdd(target, geom);
}

void World::Lock()
{
    m_Locked = true;
    OdeLockCheck::Lock(this);
}

void World::Unlock()
{
    ApplyQueuedChanges();
    m_Locked = false;
    OdeLockCheck::Unlock(this);
}

void World::ApplyQueuedChanges()
{
    if (GetQueuedChangeCount() == 0)
        return;
    OdeLockCheck::Permit permit;
    // Taken out of the members first, so that nothing added meanwhile is lost.
    std::vector<RemovedGeom> geoms;
    geoms.swap(m_RemovedGeoms);
    for (const RemovedGeom& removed : geoms) {
        dGeomDestroy(removed.geom);
        delete removed.meshData;
    }
    std::vector<RemovedBody> bodies;
    bodies.swap(m_RemovedBodies);
    for (const RemovedBody& removed : bodies) {
        if (removed.motor)
            dJointDestroy(removed.motor);
        dJointDestroy(removed.planeJoint);
        dBodyDestroy(removed.body);
    }
    std::vector<dGeomID> joining;
    joining.swap(m_JoiningGeoms);
    for (dGeomID geom : joining)
        dSpaceAdd(SpaceFor(geom), geom);
    std::vector<PhysicsBody*> joiningBodies;
    joiningBodies.swap(m_JoiningBodies);
    for (PhysicsBody* body : joiningBodies)
        JoinBody(body);
    std::vector<dGeomID> moving;
    moving.swap(m_MovingGeoms);
    for (dGeomID geom : moving)
        MoveToSpace(geom);
}

// A joining body moves from now on, unless a geometry it carries is disabled (above the
// field's top band).
void World::JoinBody(PhysicsBody* body)
{
    body->m_Joining = false;
    const dBodyID id = body->GetBodyID();
    for (dGeomID geom = dBodyGetFirstGeom(id); geom; geom = dBodyGetNextGeom(geom)) {
        const PhysicsGeom* wrapper = static_cast<const PhysicsGeom*>(dGeomGetData(geom));
        if (wrapper && !wrapper->IsEnabled())
            return;
    }
    dBodyEnable(id);
}

bool World::IsLive(const ContactRecord& record)
{
    return dGeomGetData(record.data.g1) != nullptr && dGeomGetData(record.data.g2) != nullptr;
}

void World::DropDeadContacts()
{
    m_Contacts.erase(std::remove_if(m_Contacts.begin(), m_Contacts.end(),
                                    [](const ContactRecord& r) { return !IsLive(r); }),
                     m_Contacts.end());
}

void World::AddGradual(PhysicsGeom* geom)
{
    m_GradualGeoms.push_back(geom);
}

void World::Step(double dt, CollisionCallback callback, void* context)
{
    MAKO_ASSERT_MSG(!m_Locked, "World::Step called while the world steps");
    PhysicsScopedTimer timer("Physics");
    // Records or joints made by hand through the contact pass are dropped.
    dJointGroupEmpty(m_ContactGroup);
    m_Contacts.clear();
    m_NearPairs = 0;

    // The frame's forces act in every sub-step; those added from here on wait for the
    // next step.
    for (PhysicsBody* body : m_Bodies)
        body->BeginStepForce();
    Lock();
    try {
        const int n = std::max(m_CollisionIterations, m_RequestedSubSteps);
        m_RequestedSubSteps = 0;
        m_LastSubSteps = n;
        if (n > 0) {
            const float h = float(dt / n);
            for (int i = 0; i < n; ++i)
                RunSubStep(h, callback, context);
        }
    } catch (...) {
        // The step is abandoned: its contacts go, what was queued is applied, and the
        // exception travels on to the caller.
        dJointGroupEmpty(m_ContactGroup);
        m_Contacts.clear();
        Unlock();
        EndStepForces();
        throw;
    }
    Unlock();
    EndStepForces();
    HoldBodiesToPlane();
}

void World::ApplyStepForces()
{
    for (PhysicsBody* body : m_Bodies)
        body->ApplyStepForce();
}

void World::EndStepForces()
{
    for (PhysicsBody* body : m_Bodies)
        body->EndStepForce();
}

void World::RunSubStep(float h, CollisionCallback callback, void* context)
{
    {
        PhysicsScopedTimer timer("dSpaceCollide");
        m_PendingError = nullptr;
        const std::size_t removedBefore = m_RemovedGeoms.size();
        CollideSpaces();
        if (m_PendingError) {
            std::exception_ptr error = m_PendingError;
            m_PendingError = nullptr;
            std::rethrow_exception(error);
        }
        // An owner deleted a geometry while it was asked: its records go before the
        // contact pass reads their geometries.
        if (m_RemovedGeoms.size() != removedBefore)
            DropDeadContacts();
    }
    ProcessContacts();
    {
        PhysicsScopedTimer timer("Collision Callbacks");
        ReportContacts(callback, context);
    }
    {
        PhysicsScopedTimer timer("Physics Quickstep");
        ApplyStepForces();
        dWorldQuickStep(m_World, h);
    }
    dJointGroupEmpty(m_ContactGroup);
    m_Contacts.clear();
    ApplyQueuedChanges();
    RefreshMeshTransforms();
    StepGradualChanges();
}

void World::CollideSpaces()
{
    dSpaceCollide(m_DynamicSpace, this, &World::ProcessCollision);
    // The dynamic space does not change during the pass: what is made, deleted or moved
    // meanwhile waits for the end of the sub-step.
    const int count = dSpaceGetNumGeoms(m_DynamicSpace);
    const dGeomID statics = reinterpret_cast<dGeomID>(m_StaticSpace);
    for (int i = 0; i < count && !m_PendingError; ++i) {
        const dGeomID geom = dSpaceGetGeom(m_DynamicSpace, i);
        if (dGeomIsEnabled(geom))
            dSpaceCollide2(geom, statics, this, &World::ProcessCollision);
    }
}

void World::ProcessCollision(void* data, dGeomID o1, dGeomID o2)
{
    World* world = static_cast<World*>(data);
    ++world->m_NearPairs;
    if (world->m_PendingError)
        return;
    try {
        world->Collide(o1, o2);
    } catch (...) {
        // Held and rethrown by the step once ODE's collision pass has returned.
        world->m_PendingError = std::current_exception();
    }
}

namespace {

// The wrapper of the geometry's body, or null when it has none (or no wrapper any more).
PhysicsBody* BodyOf(dGeomID geom)
{
    const dBodyID body = dGeomGetBody(geom);
    return body ? static_cast<PhysicsBody*>(dBodyGetData(body)) : nullptr;
}

// Both geometries still have their wrappers: an owner may delete either while it is asked.
bool BothLive(dGeomID o1, dGeomID o2)
{
    return dGeomGetData(o1) && dGeomGetData(o2);
}

} // namespace

void World::Collide(dGeomID o1, dGeomID o2)
{
    // Deleted earlier in this collision pass: it takes no further part in it.
    if (!BothLive(o1, o2))
        return;
    PhysicsGeom* geom1 = static_cast<PhysicsGeom*>(dGeomGetData(o1));
    PhysicsGeom* geom2 = static_cast<PhysicsGeom*>(dGeomGetData(o2));
    const PhysicsBody* pbody1 = BodyOf(o1);
    const PhysicsBody* pbody2 = BodyOf(o2);

    // Two static geometries never collide; nor do two bodies joined by a joint.
    if (!pbody1 && !pbody2)
        return;
    if (pbody1 && pbody2 && dAreConnected(pbody1->GetBodyID(), pbody2->GetBodyID()))
        return;

    CollisionOwner* owner1 = geom1->GetOwner();
    CollisionOwner* owner2 = geom2->GetOwner();
    MAKO_ASSERT(owner1 && owner2);

    dContactGeom contact;
    if (dCollide(o1, o2, 1, &contact, sizeof(dContactGeom)) == 0)
        return;

    const double px = contact.pos[0];
    const double py = contact.pos[1];
    bool passes = owner1->AcceptsCollision(owner2, px, py);
    if (!BothLive(o1, o2))
        return;
    passes = passes && owner2->AcceptsCollision(owner1, px, py);
    if (!BothLive(o1, o2))
        return;
    const bool physical = !passes;

    // Read again: an owner may have deleted a body while it was asked.
    pbody1 = BodyOf(o1);
    pbody2 = BodyOf(o2);
    dBodyID body1 = pbody1 ? pbody1->GetBodyID() : nullptr;
    dBodyID body2 = pbody2 ? pbody2->GetBodyID() : nullptr;
    if (physical && pbody1 && pbody2) {
        if (pbody1->IsImmobile() && !pbody2->IsImmobile())
            body1 = nullptr;
        else if (pbody2->IsImmobile() && !pbody1->IsImmobile())
            body2 = nullptr;
    }
    AddContactRecord(geom1, geom2, contact, physical, body1, body2);
}

void World::AddContactRecord(PhysicsGeom* geom1, PhysicsGeom* geom2, const dContactGeom& contact,
                             bool physical, dBodyID body1, dBodyID body2)
{
    ContactRecord record;
    record.geom1 = geom1;
    record.geom2 = geom2;
    ContactData& data = record.data;
    for (int i = 0; i < 4; ++i) {
        data.position[i] = contact.pos[i];
        data.normal[i] = contact.normal[i];
    }
    data.depth = contact.depth;
    data.g1 = geom1->GetGeomID();
    data.g2 = geom2->GetGeomID();
    data.joint = nullptr;
    data.body1 = body1;
    data.body2 = body2;
    data.physical = physical;
    m_Contacts.push_back(record);
}

void World::ProcessContacts()
{
    RemoveDuplicateContacts();
    CreateContactJoints();
}

// Pass 1: for each record A and each record B after it, a B of the same pair at the
// same place (or with the opposite normal) is dropped, A keeping the deeper depth; a B
// of another pair near A has both normals snapped to a common edge of the structures the
// two contacts do not share.
void World::RemoveDuplicateContacts()
{
    for (std::size_t a = 0; a < m_Contacts.size(); ++a) {
        const double normalA[2] = {m_Contacts[a].data.normal[0], m_Contacts[a].data.normal[1]};
        for (std::size_t b = a + 1; b < m_Contacts.size();) {
            ContactRecord& A = m_Contacts[a];
            ContactRecord& B = m_Contacts[b];
            if (SamePair(A, B)) {
                if (IsDuplicate(A, B)) {
                    A.data.depth = std::max(A.data.depth, B.data.depth);
                    m_Contacts.erase(m_Contacts.begin() + b);
                    continue;
                }
            } else if (std::fabs(A.data.position[0] - B.data.position[0]) < kNeighbourDistance &&
                       std::fabs(A.data.position[1] - B.data.position[1]) < kNeighbourDistance) {
                SnapPair(a, b, normalA);
            }
            ++b;
        }
    }
}

// Normals are compared and set as seen from the geometry each contact does not share
// with the other (pointing out of it): a record's normal points towards its geom1, so it
// is reversed where that geometry is the record's geom1.
void World::SnapPair(std::size_t a, std::size_t b, const double normalA[2])
{
    ContactRecord& A = m_Contacts[a];
    ContactRecord& B = m_Contacts[b];
    PhysicsGeom* otherA;
    PhysicsGeom* otherB;
    if (A.geom1 == B.geom1) {
        otherA = A.geom2;
        otherB = B.geom2;
    } else if (A.geom1 == B.geom2) {
        otherA = A.geom2;
        otherB = B.geom1;
    } else if (A.geom2 == B.geom1) {
        otherA = A.geom1;
        otherB = B.geom2;
    } else if (A.geom2 == B.geom2) {
        otherA = A.geom1;
        otherB = B.geom1;
    } else {
        return;
    }
    const CollisionOwner* ownerA = otherA->GetOwner();
    const CollisionOwner* ownerB = otherB->GetOwner();
    if (!ownerA || !ownerB || ownerA->GetNumEdges() <= 0 || ownerB->GetNumEdges() <= 0)
        return;

    const double signA = otherA == A.geom2 ? 1.0 : -1.0;
    const double signB = otherB == B.geom2 ? 1.0 : -1.0;
    const Vector2D outA(signA * normalA[0], signA * normalA[1]);
    const Vector2D outB(signB * B.data.normal[0], signB * B.data.normal[1]);
    const double mx = 0.5 * (A.data.position[0] + B.data.position[0]);
    const double my = 0.5 * (A.data.position[1] + B.data.position[1]);

    bool markedA = false;
    bool markedB = false;
    Vector2D snappedA, snappedB;
    for (const CollisionOwner* owner : {ownerA, ownerB}) {
        const int edges = std::min(owner->GetNumEdges(), 64);
        for (int i = 0; i < edges; ++i) {
            const Vector2D n = owner->NormalAtEdge(EdgeMask(1) << i, mx, my);
            if (outA.Dot(n) > kSnapDot) {
                snappedA = n;
                markedA = true;
            }
            if (outB.Dot(n) > kSnapDot) {
                snappedB = n;
                markedB = true;
            }
        }
    }
    if (markedA && !markedB)
        snappedB = snappedA;
    else if (markedB && !markedA)
        snappedA = snappedB;
    if (markedA || markedB) {
        A.data.normal[0] = signA * snappedA.x;
        A.data.normal[1] = signA * snappedA.y;
        B.data.normal[0] = signB * snappedB.x;
        B.data.normal[1] = signB * snappedB.y;
    }
}

// Pass 2: the surface of every contact from the two geometries' settings, and a contact
// joint for every physical contact.
void World::CreateContactJoints()
{
    for (ContactRecord& record : m_Contacts) {
        const PhysicsGeom* g1 = record.geom1;
        const PhysicsGeom* g2 = record.geom2;
        const int b1 = g1->GetBounciness();
        const int b2 = g2->GetBounciness();
        const bool noBounce = (b1 == PhysicsGeom::BounceDont && b2 != PhysicsGeom::BounceAlways) ||
                              (b2 == PhysicsGeom::BounceDont && b1 != PhysicsGeom::BounceAlways);
        const bool soft = (g1->GetSoftness() != 0.0f || g2->GetSoftness() != 0.0f) &&
                          !g1->GetNeverSoft() && !g2->GetNeverSoft();

        dContact contact = {};
        contact.surface.mode = dContactBounce | (soft ? dContactSoftCFM : 0);
        contact.surface.mu = (g1->GetHasFriction() || g2->GetHasFriction()) ? kFrictionMu : 0.0;
        contact.surface.bounce =
            noBounce ? 0.0 : std::min(g1->GetBounceStrength(), g2->GetBounceStrength());
        contact.surface.bounce_vel = 0.0;
        if (soft)
            contact.surface.soft_cfm = std::max(g1->GetSoftness(), g2->GetSoftness());
        const ContactData& data = record.data;
        for (int i = 0; i < 4; ++i) {
            contact.geom.pos[i] = data.position[i];
            contact.geom.normal[i] = data.normal[i];
        }
        contact.geom.depth = data.depth;
        contact.geom.g1 = data.g1;
        contact.geom.g2 = data.g2;
        contact.geom.side1 = contact.geom.side2 = -1;

        if (record.data.physical) {
            dJointID joint = dJointCreateContact(m_World, m_ContactGroup, &contact);
            record.data.joint = joint;
            dJointAttach(joint, data.body1, data.body2);
        }
    }
}

void World::ReportContacts(CollisionCallback callback, void* context)
{
    if (!callback)
        return;
    // A callback may delete geometries: the records of those are skipped. The list itself
    // does not change while the callbacks run.
    for (const ContactRecord& record : m_Contacts) {
        if (!IsLive(record))
            continue;
        if (callback(record.geom1, record.geom2, &record.data, context))
            break;
    }
}

void World::RefreshMeshTransforms()
{
    for (std::size_t i = 0; i < m_MeshGeoms.size();) {
        PhysicsGeom* geom = m_MeshGeoms[i];
        if (!geom->GetMeshData() || !geom->GetBody()) {
            m_MeshGeoms.erase(m_MeshGeoms.begin() + i);
            continue;
        }
        const dGeomID id = geom->GetGeomID();
        const dReal* r = dGeomGetRotation(id);
        const dReal* p = dGeomGetPosition(id);
        const dMatrix4 last = {r[0], r[1], r[2],  p[0], r[4], r[5], r[6], p[1],
                               r[8], r[9], r[10], p[2], 0.0,  0.0,  0.0,  1.0};
        dGeomTriMeshSetLastTransform(id, last);
        ++i;
    }
}

void World::StepGradualChanges()
{
    for (std::size_t i = 0; i < m_GradualGeoms.size();) {
        if (m_GradualGeoms[i]->StepGradually())
            ++i;
        else
            m_GradualGeoms.erase(m_GradualGeoms.begin() + i);
    }
}

void World::HoldBodiesToPlane()
{
    for (PhysicsBody* body : m_Bodies)
        body->HoldToPlane();
}
