#include "field/Collider.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "perf/ScopedPerformanceTimer.h"
#include "physics/PhysicsGeom.h"

MAKO_IMPLEMENT_CLASS(Collider, "Collider", "ArcadeStructure", nullptr,
                     &InstantiateObjectOfClass<Collider>);

Collider::Collider()
{
    m_CategoryBits = 0;
    m_CollideBits = 0;
    m_Movable = true;
}

Collider::~Collider()
{
    if (m_DestroyProc)
        m_DestroyProc(this);
}

void Collider::SetPosition(double x, double y)
{
    MAKO_ASSERT(m_Added == false);
    m_PlaceX = x;
    m_PlaceY = y;
}

void Collider::SetCollisionCallback(CollisionProc proc, void* context)
{
    m_CollisionProc = proc;
    m_Context = context;
}

void Collider::CreateInWorld(World* world)
{
    MAKO_ASSERT(m_Added == false);
    MAKO_ASSERT(m_CollisionProc);
    ArcadeStructure::UpdatePhysics(world);
    UpdateGeometry();
    m_Geom->SetPosition(m_PlaceX, m_PlaceY);
    SyncFromPhysics();
    m_Added = true;
}

bool Collider::AcceptsCollision(CollisionOwner* other, double x, double y)
{
    const Object* object = dynamic_cast<const Object*>(other);
    return !(object && m_SolidClasses.count(object->GetClass()->GetName()));
}

void Collider::HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                               double nx, double ny, double depth, bool solid)
{
    ScopedPerformanceTimer timer("colliderCallback");
    m_CollisionProc(logic, this, other, x, y, m_Context);
}

void Collider::Tick()
{
    if (m_Ticks++ > m_Lifetime) {
        SetCollideBits(0);
        Kill();
    }
}
