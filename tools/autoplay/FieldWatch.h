#pragma once
// A watch over a game in play, for the autoplay harnesses (the autoplay tests, the soak, the
// field sweep): after each pass it looks for the two faults that keep a level from ever
// ending, and keeps the first it finds, named with the level, the seed, the pass, and the
// ball's position and velocity. It also counts the balls the field put back out of a wall.
//
//   Put-back: a free ball sunk more than half its radius into a wall is set back at the
//           wall's face during its tick (Ball::KeepOutOfWalls), before the watch can see
//           where it was. The ball tells its observer, the watches' log (PutBackLog),
//           which the first watch installs and each watch takes from; the watch counts
//           every put-back with its depth and keeps the first few as lines naming the
//           level, seed and pass. A put-back from a centre past the wall's face is an
//           escape, the field catching a ball on its way out, unless a paddle lay against
//           the ball: a paddle closing the gap beside a wall squeezes the ball into it, and
//           the put-back is what frees it.
//   Escape: the centre of a ball on the field has passed a wall's inner face: it lies
//           outside the field's inner rectangle (FieldBounds) or inside a wall's rectangle,
//           or it did before a put-back. Normal play sinks a ball a few pixels into a wall
//           at most; a centre past the face means the ball is more than half inside, and
//           on its way out.
//   Stall:  the level has not moved towards its end (PlayProgress) for stallPasses passes
//           of play: the controller's state and the balls left have not changed, and
//           neither the strength the breakable bricks have left nor the count of bricks
//           that must break has fallen below the least it has been. Passes in the paused
//           state stop the count without starting it again, so pauses between stretches
//           of play hide no stall; a pause of stallPasses passes is a stall too. The stall
//           names the bricks that must still break, by class and position.
//
//   autoplay::FieldWatch watch("Bonus10", 4);
//   for (int pass = 0; ...; ++pass) { ...step...; if (watch.Check(logic, pass)) break; }
//   watch.Describe()   // "Bonus10 seed 4 pass 2948: escape: a ball at (341.96, 20.11) ..."
#include "PlayProgress.h"

#include <string>
#include <vector>

class ArcadeGameLogic;

namespace autoplay {

class FieldWatch
{
public:
    enum Fault { NONE, ESCAPE, STALL };

    // About two and a half minutes of play without a brick touched, a ball lost or a point.
    static constexpr int kDefaultStallPasses = 5000;
    // The put-backs kept as lines (PutBackLines); later ones are counted only.
    static constexpr int kPutBackLines = 20;

    FieldWatch(std::string level, unsigned seed, int stallPasses = kDefaultStallPasses);

    // Looks at the game after pass `pass`; true once a fault has been found (the first is
    // kept, later checks change nothing).
    bool Check(ArcadeGameLogic* logic, int pass);

    Fault GetFault() const { return m_Fault; }
    // The fault with the level, seed, pass, position and velocity; "" while there is none.
    const std::string& Describe() const { return m_Text; }

    // The longest stretch of play so far (passes) in which the level came no nearer its end:
    // how near the game came to a stall.
    int GetLongestStill() const { return m_LongestStill; }
    // The put-backs seen so far, those from past a wall's face, and the deepest (pixels).
    int GetPutBacks() const { return m_PutBacks; }
    int GetPutBackEscapes() const { return m_PutBackEscapes; }
    double GetDeepestPutBack() const { return m_DeepestPutBack; }
    // The first kPutBackLines put-backs: "Welcome seed 7 pass 812: put back 9.3 px from
    // (13.70, 300.12)".
    const std::vector<std::string>& PutBackLines() const { return m_PutBackLines; }

private:
    bool CheckPutBacks(ArcadeGameLogic* logic, int pass);
    bool CheckBalls(ArcadeGameLogic* logic, int pass);
    bool CheckProgress(ArcadeGameLogic* logic, int pass);
    bool Stalled(ArcadeGameLogic* logic, int pass, const std::string& why);
    std::string Where(int pass) const;

    std::string m_Level;
    unsigned m_Seed;
    int m_StallPasses;
    Fault m_Fault = NONE;
    std::string m_Text;
    PlayProgress m_Best; // the last state and balls left, the least strength and count left
    int m_LastChange = 0;
    int m_LongestStill = 0;
    int m_Paused = 0; // passes paused in a row
    bool m_Started = false;
    int m_PutBacks = 0;
    int m_PutBackEscapes = 0;
    double m_DeepestPutBack = 0.0;
    std::vector<std::string> m_PutBackLines;
};

} // namespace autoplay
