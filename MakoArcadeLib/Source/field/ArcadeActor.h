#pragma once
// ArcadeActor: the base of every object on the play field. An actor of the scene graph
// that can carry a physics geometry (and through it a body), answers the world's question
// whether a contact passes without a physical response, receives the nine play-field
// events, and places its sounds in the stereo field by its horizontal position.
//
// Positions: the actor's position is its top-left corner, its geometry sits at its centre
// (x + width / 2, y + height / 2, halves in integer arithmetic). After a physics step
// SyncFromPhysics brings the actor to its geometry; after a move by script or logic
// SyncToPhysics brings the geometry to the actor.
//
// Ownership: the geometry is owned (deleting it deletes its body); the body pointer a
// subclass may set is not. Main thread only.
#include "physics/CollisionOwner.h"
#include "scene/Actor.h"
#include "scene/ArcadeEventHandler.h"

#include <cstdint>
#include <string>

class PhysicsBody;
class PhysicsGeom;
class World;

class ArcadeActor : public Actor, public ArcadeEventHandler, public CollisionOwner
{
    MAKO_DECLARE_CLASS();

public:
    ArcadeActor();
    // Deletes the geometry and with it its body.
    ~ArcadeActor() override;

    // Play-field events (54 to 62) go to their handlers first; the others, and those the
    // handlers leave, to the typed handlers.
    bool RouteEvent(const Event& event) override;

    // Derives the object's collision setup and puts it into the world. Nothing here.
    virtual void UpdatePhysics(World* world) {}
    // Moves the actor so that its centre is the geometry's position, rounded; nothing
    // without a geometry.
    virtual void SyncFromPhysics();
    // Moves the body (when one is set) or else the geometry to the actor's centre; placing
    // the geometry also enables or disables it by its height (PhysicsGeom::SetPosition).
    void SyncToPhysics();

    // True exactly when other is a Collider: sensors pass through play-field objects.
    bool AcceptsCollision(CollisionOwner* other, double x, double y) override;

    // The body of the geometry; null without a geometry or when it has no body.
    PhysicsBody* GetPhysicsBody() const;
    PhysicsGeom* GetGeom() const { return m_Geom; }
    // Takes the geometry over (null forgets the current one without deleting it) and
    // places it at the actor's centre.
    void SetGeom(PhysicsGeom* geom);

    // The stereo pan of the actor's horizontal centre: the play field's width of 640
    // maps to -100 (left) ... 100 (right); objects beyond the field get the nearer end.
    int GetSoundPan() const;
    // Gives the named sound that pan, also on its channel when it is playing.
    void SetSoundPan(const std::string& name);
    // Plays the named sound panned by the actor's position; the channel handle (0 when
    // nothing started).
    std::uint32_t PlaySound(const std::string& name, bool loop);
    // Pans a channel the caller holds to the actor's position.
    void PanChannel(std::uint32_t channel);

protected:
    // Set by subclasses whose body is not (only) reached through the geometry.
    PhysicsBody* m_Body = nullptr;
    PhysicsGeom* m_Geom = nullptr;
};
