#pragma once
// A headless player for whole games: it gives the game controller only what a player's
// mouse gives the game screen (relative pointer motion, left-button presses and releases),
// and the controller turns them into the paddles' events, as in the game.
//
//   autoplay::AutoPlayer player;
//   player.PlayOnePass(logic);   // before each pass of the game
//
// It serves a waiting ball (press, hold a few passes, release) and moves the pointer so
// that each paddle meets the ball nearest to getting past it, a little off the paddle's
// centre (a new offset, drawn with MakoRand, after every stroke: when the ball turns
// upwards, and on levels with side paddles also when it turns across the field). When the
// level has not come nearer its end (PlayProgress) for kRestlessPasses passes, it aims
// wider: the offsets it draws then reach the paddle's ends, so the ball leaves the paddle
// at angles that find a brick in a corner or a narrow column; and where the field shows a
// straight way to a brick that must still break, on a face that breaks it, it aims there
// (StrokeAim): a ball on its way in by where it meets the paddle, a ball the paddle holds by
// where the paddle serves it from. Play moving on again calms it.
#include "PlayProgress.h"
#include "StrokeAim.h"

#include <optional>
#include <vector>

class ArcadeGameLogic;
class Ball;
class Paddle;

namespace autoplay {

class AutoPlayer
{
public:
    // About half a minute of play that brings the level no nearer its end.
    static constexpr int kRestlessPasses = 1000;
    // The most passes a serve waits for the paddle to reach the place it is aimed from.
    static constexpr int kLongestSteer = 150;

    // One pass of input. A player that does not move the paddle still serves.
    void PlayOnePass(ArcadeGameLogic* logic, bool movePaddle = true);
    // Forgets the pass counts and the ball's last place, for a new game.
    void Reset() { *this = AutoPlayer(); }

private:
    static Ball* Nearest(const std::vector<Ball*>& balls, Paddle* paddle, bool vertical);
    // Whether the level has paddles at the sides (vertical ones).
    static bool SidePaddles(ArcadeGameLogic* logic);
    // Counts the passes since the level last came nearer its end.
    void WatchProgress(ArcadeGameLogic* logic);
    // Once play has stopped moving on: where to take the paddle so that its stroke, or its
    // serve of a ball it holds, sends the ball at a brick that must still break.
    std::optional<StrokeAim> Aim(ArcadeGameLogic* logic, Paddle* paddle, Ball* ball);
    // After a stroke: a new offset, and no aim yet.
    void NewStroke(ArcadeGameLogic* logic);
    // A new offset from the paddle's centre for the next stroke: small while play moves
    // on, up to the paddle's ends once it has not for a while.
    int DrawOffset(ArcadeGameLogic* logic) const;

    bool m_ButtonDown = false;
    int m_PressTicks = 0, m_WaitTicks = 0;
    int m_Offset = 0;
    double m_LastY = 0, m_LastX = 0;
    bool m_Rising = false;
    int m_Across = 0; // the ball's last horizontal heading: -1 left, 1 right
    PlayProgress m_Best;
    bool m_Measured = false;
    int m_SinceProgress = 0;
    std::optional<double> m_StrokeAim; // where along the paddle the stroke under way strikes
    std::optional<double> m_ServeAim;  // where the paddle takes the ball it holds
    bool m_Steering = false;           // the paddle is still on its way to a serve's place
};

} // namespace autoplay
