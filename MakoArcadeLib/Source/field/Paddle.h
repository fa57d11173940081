#pragma once
// Paddle: the player's bat, a box-shaped structure at one edge of the play field that
// holds balls (served or caught) and fires the laser. This is the part of the paddle that
// balls, laser beams and explosions rely on: its placement, its held balls and the two
// counters the ball sets. The swing machine and impact handling come with the paddle's
// own work.
//
// Placement (fixed at construction):
//   vertical  facePositive  edge    faces
//   false     false         bottom  up
//   false     true          top     down
//   true      false         right   left
//   true      true          left    right
// The swing axis is y for a horizontal paddle and x for a vertical one. A vertical
// paddle's actor keeps the horizontal layout: its width is the paddle's length and its
// height the thickness. Main thread only.
#include "field/ArcadeStructure.h"
#include "scene/ActorGroup.h"

class Ball;

class Paddle : public ArcadeStructure
{
    MAKO_DECLARE_CLASS();

public:
    explicit Paddle(bool vertical = false, bool facePositive = false);

    bool IsVertical() const { return m_Vertical; }
    bool FacesPositive() const { return m_FacePositive; }

    // The balls held on the paddle; a killed ball leaves the group by itself.
    ActorGroup& GetHeldBalls() { return m_HeldBalls; }
    // Called by Ball::AttachToPaddle.
    void AddHeldBall(Ball* ball);
    void RemoveHeldBall(Ball* ball);

    // Ticks during which no ball can be caught; set to 6 by every launch and release.
    int GetCatchCooldown() const { return m_CatchCooldown; }
    void SetCatchCooldown(int ticks) { m_CatchCooldown = ticks; }
    // The next ball impact is not counted by the controller's hit counter (a ball placed
    // on the paddle sets it).
    bool GetSkipNextHitCount() const { return m_SkipNextHitCount; }
    void SetSkipNextHitCount(bool skip) { m_SkipNextHitCount = skip; }

protected:
    bool m_Vertical;
    bool m_FacePositive;
    ActorGroup m_HeldBalls;
    int m_CatchCooldown = 0;
    bool m_SkipNextHitCount = false;
};
