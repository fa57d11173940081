#include "physics/OdeLockCheck.h"

#include "core/Exception.h"
#include "physics/World.h"

#include <boost/format.hpp>
#include <dlfcn.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

std::vector<const World*> gLockedWorlds;
int gPermits = 0;

[[noreturn]] void Refuse(const char* call)
{
    MAKO_THROW(Exception, boost::str(boost::format("World: %1% while the world steps; bodies and "
                                                   "geometries are made and deleted through the "
                                                   "physics wrappers, which queue the change") %
                                     call));
}

} // namespace

void OdeLockCheck::Lock(const World* world)
{
    gLockedWorlds.push_back(world);
}

void OdeLockCheck::Unlock(const World* world)
{
    gLockedWorlds.erase(std::remove(gLockedWorlds.begin(), gLockedWorlds.end(), world),
                        gLockedWorlds.end());
}

OdeLockCheck::Permit::Permit()
{
    ++gPermits;
}

OdeLockCheck::Permit::~Permit()
{
    --gPermits;
}

void OdeLockCheck::CheckWorld(dWorldID world, const char* call)
{
    if (!world || gPermits > 0)
        return;
    for (const World* locked : gLockedWorlds)
        if (locked->GetWorldID() == world)
            Refuse(call);
}

void OdeLockCheck::CheckSpace(dSpaceID space, const char* call)
{
    if (!space || gPermits > 0)
        return;
    for (const World* locked : gLockedWorlds)
        if (locked->OwnsSpace(space))
            Refuse(call);
}

#ifdef NDEBUG

bool OdeLockCheck::IsActive()
{
    return false;
}

#else

// The checked ODE functions. A definition in the program takes precedence over the
// shared ODE library's for every call the program makes; each checks its target and
// hands the call on to the library's own function, found once by name. This needs ODE
// as a shared library, as the distribution packages it.
namespace {

template <typename Function> Function RealOde(const char* name)
{
    void* real = dlsym(RTLD_NEXT, name);
    if (!real) {
        std::fprintf(stderr, "ODE function %s not found behind the world's lock check\n", name);
        std::abort();
    }
    return reinterpret_cast<Function>(real);
}

} // namespace

#define BB_REAL_ODE(name) static const auto real = RealOde<decltype(&name)>(#name)

bool OdeLockCheck::IsActive()
{
    return true;
}

extern "C" {

dBodyID dBodyCreate(dWorldID world)
{
    BB_REAL_ODE(dBodyCreate);
    OdeLockCheck::CheckWorld(world, "dBodyCreate");
    return real(world);
}

void dBodyDestroy(dBodyID body)
{
    BB_REAL_ODE(dBodyDestroy);
    OdeLockCheck::CheckWorld(body ? dBodyGetWorld(body) : nullptr, "dBodyDestroy");
    real(body);
}

void dGeomDestroy(dGeomID geom)
{
    BB_REAL_ODE(dGeomDestroy);
    OdeLockCheck::CheckSpace(geom ? dGeomGetSpace(geom) : nullptr, "dGeomDestroy");
    real(geom);
}

void dSpaceAdd(dSpaceID space, dGeomID geom)
{
    BB_REAL_ODE(dSpaceAdd);
    OdeLockCheck::CheckSpace(space, "dSpaceAdd");
    real(space, geom);
}

void dSpaceRemove(dSpaceID space, dGeomID geom)
{
    BB_REAL_ODE(dSpaceRemove);
    OdeLockCheck::CheckSpace(space, "dSpaceRemove");
    real(space, geom);
}

dGeomID dCreateSphere(dSpaceID space, dReal radius)
{
    BB_REAL_ODE(dCreateSphere);
    OdeLockCheck::CheckSpace(space, "dCreateSphere");
    return real(space, radius);
}

dGeomID dCreateBox(dSpaceID space, dReal lx, dReal ly, dReal lz)
{
    BB_REAL_ODE(dCreateBox);
    OdeLockCheck::CheckSpace(space, "dCreateBox");
    return real(space, lx, ly, lz);
}

dGeomID dCreateTriMesh(dSpaceID space, dTriMeshDataID data, dTriCallback* callback,
                       dTriArrayCallback* arrayCallback, dTriRayCallback* rayCallback)
{
    BB_REAL_ODE(dCreateTriMesh);
    OdeLockCheck::CheckSpace(space, "dCreateTriMesh");
    return real(space, data, callback, arrayCallback, rayCallback);
}

dGeomID dCreateCapsule(dSpaceID space, dReal radius, dReal length)
{
    BB_REAL_ODE(dCreateCapsule);
    OdeLockCheck::CheckSpace(space, "dCreateCapsule");
    return real(space, radius, length);
}

dGeomID dCreateCylinder(dSpaceID space, dReal radius, dReal length)
{
    BB_REAL_ODE(dCreateCylinder);
    OdeLockCheck::CheckSpace(space, "dCreateCylinder");
    return real(space, radius, length);
}

dGeomID dCreatePlane(dSpaceID space, dReal a, dReal b, dReal c, dReal d)
{
    BB_REAL_ODE(dCreatePlane);
    OdeLockCheck::CheckSpace(space, "dCreatePlane");
    return real(space, a, b, c, d);
}

dGeomID dCreateRay(dSpaceID space, dReal length)
{
    BB_REAL_ODE(dCreateRay);
    OdeLockCheck::CheckSpace(space, "dCreateRay");
    return real(space, length);
}

dGeomID dCreateConvex(dSpaceID space, const dReal* planes, unsigned int planeCount,
                      const dReal* points, unsigned int pointCount, const unsigned int* polygons)
{
    BB_REAL_ODE(dCreateConvex);
    OdeLockCheck::CheckSpace(space, "dCreateConvex");
    return real(space, planes, planeCount, points, pointCount, polygons);
}

dGeomID dCreateHeightfield(dSpaceID space, dHeightfieldDataID data, int placeable)
{
    BB_REAL_ODE(dCreateHeightfield);
    OdeLockCheck::CheckSpace(space, "dCreateHeightfield");
    return real(space, data, placeable);
}

} // extern "C"

#endif
