#pragma once
// One contact found by the collision pass of a sub-step. Records live for one sub-step:
// they are made during the collision pass, get their joints in the contact pass, are
// reported to the collision callback and are gone before the next sub-step.
#include <ode/ode.h>

class PhysicsGeom;

// The part of a contact that the collision callback sees.
struct ContactData
{
    // Contact point in play-field pixels (z is 0 for contacts in the plane).
    dVector3 position;
    // Unit normal as ODE reports it for geom1 against geom2: it points towards geom1, so
    // moving geom1 along it by depth separates the two.
    dVector3 normal;
    // Penetration depth in pixels.
    dReal depth;
    // The ODE geometries of geom1 and geom2. They outlive the record even when a wrapper
    // is deleted during the sub-step (World::IsLive).
    dGeomID g1;
    dGeomID g2;
    // Contact joint made for this contact; null before the contact pass and when none
    // is made.
    dJointID joint;
    // Bodies the joint attaches; null stands for the static environment (also for an
    // immobile body pushed by a mobile one).
    dBodyID body1;
    dBodyID body2;
    // True when the contact gets a contact joint (not both owners let it pass).
    bool physical;
};

struct ContactRecord
{
    // The wrappers of the two geometries. When either is deleted while the record lives
    // (World::IsLive is then false), the record is no longer reported and these pointers
    // must not be followed.
    PhysicsGeom* geom1;
    PhysicsGeom* geom2;
    ContactData data;
};

// Called for each contact of a sub-step, after the contact joints exist and before the
// integration. Returning true stops the remaining calls of that sub-step. It may make
// and delete bodies and geometries of the world (World explains when that takes effect).
using CollisionCallback = bool (*)(PhysicsGeom* geom1, PhysicsGeom* geom2,
                                   const ContactData* contact, void* context);
