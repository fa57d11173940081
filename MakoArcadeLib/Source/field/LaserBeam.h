#pragma once
// LaserBeam: the straight beam a paddle with the laser fires across the play field. A
// movable structure with its rotation locked that bricks and goobers collide with (they
// react to it; the beam itself does nothing when hit). It runs from the paddle's centre
// towards the field, cut to the play area (the Lua globals x2, x3, y2, y3), its image
// stretched to that length, and it follows the paddle along the paddle's slide axis every
// tick, never along its own length. The beam forgets a paddle that is killed and then
// stays where it is.
//
// The game controller owns beams (its laser-beam group); the paddle decides when to fire.
// Main thread only.
#include "field/ArcadeStructure.h"
#include "field/Paddle.h"
#include "geometry/Rect.h"
#include "scene/ActorLink.h"

class LaserBeam : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    // A movable structure with locked rotation and a rectangle geometry (the registry's
    // beams, whose tables give the rest).
    LaserBeam();
    // The beam the paddle fires now.
    explicit LaserBeam(Paddle* paddle);

    Paddle* GetPaddle() const { return m_Paddle.Get(); }

    // The play area beams are cut to: the running level's field (FieldBounds::Current()).
    static SDL_Rect PlayArea();

    // Keeps the beam on the paddle's centre across the slide axis, then brings the
    // geometry along. Nothing of the structure's own tick runs.
    void Tick() override;
    // The beam is placed by its paddle, never by the physics: contacts that push its body
    // do not move the actor.
    void SyncFromPhysics() override {}
    // Hits change nothing in the beam; not even hit callbacks run.
    void HandleCollision(ArcadeGameLogic* logic, ArcadeStructure* other, double x, double y,
                         double nx, double ny, double depth, bool solid) override
    {
    }

private:
    ActorLink<Paddle> m_Paddle;
    // Fired by a vertical paddle: the beam runs across the field horizontally.
    bool m_FromVertical = false;
};
