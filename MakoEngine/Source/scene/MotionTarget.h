#pragma once
// What a motion needs of a target it moves physically: a play-field object with a physics
// geometry, collision categories and a list of contact callbacks. A play-field object
// implements this beside being an Actor; motions find it with dynamic_cast from their
// Actor target. A target that does not implement it moves no physics: absolute and orbit
// motions give it no step, a stop motion never hears its contacts, and property tables
// applied to it trigger no level-end check.
//
// Main thread only; contact callbacks run inside the physics step.
#include "geometry/Point.h"

#include <cstdint>
#include <string>

class PhysicsGeom;
class MotionTarget;

// One contact of a target with another play-field object: the contact point (x, y), the
// normal (nx, ny) of unit length pointing from the other object towards the target, and
// the overlap depth in pixels.
struct MotionContact
{
    double x = 0, y = 0;
    double nx = 0, ny = 0;
    double depth = 0;
};

// Called for every contact of the target: (target, other object, contact, argument).
using MotionHitCallback = void (*)(MotionTarget* target, MotionTarget* other,
                                   const MotionContact& contact, void* argument);

class MotionTarget
{
public:
    virtual ~MotionTarget() = default;

    // The geometry whose position the motions read and push, in pixels; null while the
    // object has no physics.
    virtual PhysicsGeom* GetMotionGeom() const = 0;
    // Gives the object a physics body if it has none, keeping its geometry's place.
    virtual void MakeMovable() = 0;
    // Adds collision categories (Ball 1, Brick 2, Goober 8, Paddle 16, Powerup 32,
    // Shield 64, Wall 128) to those the object collides with; the bits it had stay.
    virtual void AddCollideBits(std::uint32_t bits) = 0;
    // The velocity that the object's motions gave its body in the current tick, in pixels
    // per second like the body's own; a stop motion takes components away from it.
    virtual Point<double> GetMotionVelocity() const = 0;
    virtual void SetMotionVelocity(const Point<double>& velocity) = 0;
    // Appends (callback, argument) to the contact callbacks; removing takes out every
    // entry with that pair. Removing a pair that is not there does nothing.
    virtual void AddMotionHitCallback(MotionHitCallback callback, void* argument) = 0;
    virtual void RemoveMotionHitCallback(MotionHitCallback callback, void* argument) = 0;
    // The class name the object answers to as a stop class ("Wall", "Ball", ...), and the
    // name it also answers to in a special state ("DangerousWall" for a dangerous wall,
    // "ActiveBall" for an active ball; empty otherwise).
    virtual std::string GetStopClassName() const = 0;
    virtual std::string GetStopClassAlias() const = 0;
    // The play-field object of that name in the running game, null when there is none (or
    // no game runs, or the object moves no physics). Orbit motions take their centre from it.
    virtual MotionTarget* FindFieldTarget(const std::string& name) const = 0;
    // A motion has just applied a non-empty property table to the object; the game checks
    // there whether the level has ended, at the object's position. Nothing outside a game.
    virtual void OnMotionPropertiesApplied() = 0;
};
