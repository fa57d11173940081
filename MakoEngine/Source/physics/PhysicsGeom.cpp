#include "physics/PhysicsGeom.h"

#include "core/Exception.h"
#include "physics/PhysicsBody.h"
#include "physics/PhysicsRange.h"
#include "physics/TriMeshData.h"
#include "physics/World.h"

#include <cmath>

PhysicsGeom::PhysicsGeom(World* world, dGeomID geom, TriMeshData* meshData)
    : m_World(world), m_Geom(geom), m_MeshData(meshData)
{
    dGeomSetData(m_Geom, this);
    m_World->AddGeom(this);
}

PhysicsGeom::~PhysicsGeom()
{
    if (m_World) {
        m_World->RemoveGeom(this);
        delete GetBody();
        // The world destroys the ODE geometry and the mesh data, at once or when the
        // current sub-step ends.
        m_World->ReleaseGeom(m_Geom, m_MeshData);
        m_Geom = nullptr;
        m_MeshData = nullptr;
    }
    delete m_DetachedBody;
}

void PhysicsGeom::ForgetWorld()
{
    m_DetachedBody = GetBody();
    dGeomDestroy(m_Geom);
    m_Geom = nullptr;
    m_World = nullptr;
    delete m_MeshData;
    m_MeshData = nullptr;
}

void PhysicsGeom::SetBody(PhysicsBody* body)
{
    dGeomSetBody(m_Geom, body ? body->GetBodyID() : nullptr);
    if (body && !m_Enabled)
        dBodyDisable(body->GetBodyID());
    m_World->PlaceInSpace(m_Geom);
}

PhysicsBody* PhysicsGeom::GetBody() const
{
    if (!m_Geom)
        return nullptr;
    dBodyID body = dGeomGetBody(m_Geom);
    return body ? static_cast<PhysicsBody*>(dBodyGetData(body)) : nullptr;
}

void PhysicsGeom::SetCategoryBits(unsigned long bits)
{
    dGeomSetCategoryBits(m_Geom, bits);
}

void PhysicsGeom::SetCollideBits(unsigned long bits)
{
    dGeomSetCollideBits(m_Geom, bits);
}

void PhysicsGeom::SetRotation(float degrees)
{
    dMatrix3 r;
    dRFromAxisAndAngle(r, 0.0, 0.0, 1.0, PhysicsRange::Turn(degrees) * (M_PI / 180.0));
    dGeomSetRotation(m_Geom, r);
}

const dReal* PhysicsGeom::GetRotation() const
{
    return dGeomGetRotation(m_Geom);
}

Vector2D PhysicsGeom::ToWorldDirection(const Vector2D& local) const
{
    const dReal* r = dGeomGetRotation(m_Geom);
    return Vector2D(r[0] * local.x + r[1] * local.y, r[4] * local.x + r[5] * local.y);
}

void PhysicsGeom::SetBoxSize(float width, float height)
{
    dGeomBoxSetLengths(m_Geom, PhysicsRange::Length(width), PhysicsRange::Length(height), 100.0);
}

void PhysicsGeom::PlaceAt(double x, double y)
{
    x = PhysicsRange::Place(x);
    y = PhysicsRange::Place(y);
    if (y < kActiveTopY)
        Disable();
    else
        Enable();
    dGeomSetPosition(m_Geom, x, y, 0.0);
}

void PhysicsGeom::SetPosition(float x, float y)
{
    PlaceAt(x, y);
}

void PhysicsGeom::SetPosition(double x, double y)
{
    const dReal* p = dGeomGetPosition(m_Geom);
    if (p[0] == PhysicsRange::Place(x) && p[1] == PhysicsRange::Place(y))
        return;
    PlaceAt(x, y);
}

std::array<float, 3> PhysicsGeom::GetPosition() const
{
    const dReal* p = dGeomGetPosition(m_Geom);
    return {float(p[0]), float(p[1]), float(p[2])};
}

Point<double> PhysicsGeom::GetCenter() const
{
    const dReal* p = dGeomGetPosition(m_Geom);
    return Point<double>(p[0], p[1]);
}

void PhysicsGeom::Enable()
{
    if (m_Enabled)
        return;
    m_Enabled = true;
    if (!m_Geom)
        return;
    dGeomEnable(m_Geom);
    // A body made during the step is enabled when it joins the simulation.
    const PhysicsBody* wrapper = GetBody();
    if (dBodyID body = dGeomGetBody(m_Geom); body && !(wrapper && wrapper->IsJoining()))
        dBodyEnable(body);
}

void PhysicsGeom::Disable()
{
    if (!m_Enabled)
        return;
    m_Enabled = false;
    if (!m_Geom)
        return;
    dGeomDisable(m_Geom);
    if (dBodyID body = dGeomGetBody(m_Geom))
        dBodyDisable(body);
}

void PhysicsGeom::SetRadiusGradually(double radius)
{
    MAKO_ASSERT_MSG(dGeomGetClass(m_Geom) == dSphereClass, "only a sphere changes its radius");
    m_RadiusStep = (PhysicsRange::Length(radius) - dGeomSphereGetRadius(m_Geom)) * 0.1;
    if (m_RadiusStep == 0.0)
        return;
    const bool wasChanging = IsChangingGradually();
    m_RadiusTicks = kGradualSteps;
    if (!wasChanging)
        m_World->AddGradual(this);
}

void PhysicsGeom::ShiftGradually(double dy)
{
    if (m_ShiftTicks > 0)
        return;
    m_ShiftStep = PhysicsRange::Place(dy) * 0.1;
    if (m_ShiftStep == 0.0)
        return;
    const bool wasChanging = IsChangingGradually();
    m_ShiftTicks = kGradualSteps;
    if (!wasChanging)
        m_World->AddGradual(this);
}

bool PhysicsGeom::StepGradually()
{
    if (m_RadiusTicks > 0) {
        --m_RadiusTicks;
        dGeomSphereSetRadius(m_Geom, dGeomSphereGetRadius(m_Geom) + m_RadiusStep);
    }
    if (m_ShiftTicks > 0) {
        --m_ShiftTicks;
        const Point<double> c = GetCenter();
        SetPosition(c.x, c.y + m_ShiftStep);
    }
    return IsChangingGradually();
}
