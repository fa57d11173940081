#pragma once
// A headless player for whole games: it gives the game controller only what a player's
// mouse gives the game screen (relative pointer motion, left-button presses and releases),
// and the controller turns them into the paddles' events, as in the game.
//
//   bbtest::AutoPlayer player;
//   player.PlayOnePass(logic);   // before each pass of the game
//
// It serves a waiting ball (press, hold a few passes, release) and moves the pointer so
// that each paddle meets the ball nearest to getting past it, a little off the paddle's
// centre (a new offset, drawn with MakoRand, after every stroke: when the ball turns
// upwards, and on levels with side paddles also when it turns across the field). When the
// level has not come nearer its end (PlayProgress) for kRestlessPasses passes, it aims
// wider: the offsets it draws then reach the paddle's ends, so the ball leaves the paddle
// at angles that find a brick in a corner or a narrow column. Play moving on again calms it.
#include "PlayProgress.h"

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
};

} // namespace autoplay
