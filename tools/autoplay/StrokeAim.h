#pragma once
// Aiming for the headless player once play has stopped moving on. A paddle sends a ball
// off at an angle set only by where along its face the ball strikes (Paddle::
// DeflectionVelocity), so a player who sees the field can aim: this finds the places along
// the paddle from which the ball, flying straight, meets first a brick that must still
// break, on a face that breaks it (the one open face of a plate that gives way from one
// side only, say).
//
//   std::optional<autoplay::StrokeAim> aim = autoplay::AimStroke(logic, paddle, ball, last);
//   if (aim) move the paddle's centre to aim->centre;
//
// A ball the paddle holds (served or caught) is struck where it lies on the paddle when it
// is let go, so a serve is aimed by where the paddle carries it first (AimServe).
//
// The trace is a player's estimate, not the physics: it knows no gravity, no moving
// bricks' future and no bricks that let the ball through, and trusts no bank shot.
#include <optional>

class ArcadeGameLogic;
class Ball;
class Paddle;

namespace autoplay {

struct StrokeAim
{
    // Where along its face the ball is to strike the paddle: -1 at the left (upper) end, 0
    // at the centre, 1 at the right (lower) end.
    double u = 0;
    // Where the paddle's centre must then be along its edge: x for a paddle at the top or
    // bottom, y for one at a side.
    double centre = 0;
};

// The ball comes near enough to the paddle's face to aim from this far (pixels).
constexpr double kAimReach = 160.0;

// A stroke that sends `ball` at a brick that must still break, or none when the ball is
// not on its way in within kAimReach, or no place in the paddle's reach would do. Of the
// strokes that would, the one nearest `last` is kept (so that the aim holds while the ball
// comes nearer); without `last` one is drawn with MakoRand.
std::optional<StrokeAim> AimStroke(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball,
                                   std::optional<double> last);

// For a ball `paddle` holds: a place for the paddle from which the ball, let go, flies at a
// brick that must still break; none when no place does. Of those that do, the one nearest
// `last` (a centre) is kept; without it one is drawn with MakoRand.
std::optional<StrokeAim> AimServe(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball,
                                  std::optional<double> last);

} // namespace autoplay
