#pragma once
// A watch over a game in play, for the autoplay harnesses (GameAutoplayTest, the soak, the
// field sweep): after each pass it looks for the two faults that keep a level from ever
// ending, and keeps the first it finds, named with the level, the seed, the pass, and the
// ball's position and velocity.
//
//   Escape: the centre of a ball on the field has passed a wall's inner face: it lies
//           outside the field's inner rectangle (FieldBounds) or inside a wall's rectangle.
//           Normal play sinks a ball a few pixels into a wall at most; a centre past the
//           face means the ball is more than half inside, and on its way out.
//   Stall:  the level has not moved towards its end for stallPasses passes of play: the
//           controller's state and the balls left have not changed, and the strength the
//           breakable bricks have left (all of it, summed) has not fallen below the least it
//           has been. What comes and goes without bringing the end nearer does not count:
//           score from bumpers, damage a brick heals, a brick that grows back. Passes in
//           the paused state stop the count without starting it again, so pauses between
//           stretches of play hide no stall; a pause of stallPasses passes is a stall too.
//
//   bbtest::FieldWatch watch("Bonus10", 4);
//   for (int pass = 0; ...; ++pass) { ...step...; if (watch.Check(logic, pass)) break; }
//   watch.Describe()   // "Bonus10 seed 4 pass 2948: escape: a ball at (341.96, 20.11) ..."
#include <string>

class ArcadeGameLogic;

namespace bbtest {

class FieldWatch
{
public:
    enum Fault { NONE, ESCAPE, STALL };

    // About two and a half minutes of play without a brick touched, a ball lost or a point.
    static constexpr int kDefaultStallPasses = 5000;

    FieldWatch(std::string level, unsigned seed, int stallPasses = kDefaultStallPasses);

    // Looks at the game after pass `pass`; true once a fault has been found (the first is
    // kept, later checks change nothing).
    bool Check(ArcadeGameLogic* logic, int pass);

    Fault GetFault() const { return m_Fault; }
    // The fault with the level, seed, pass, position and velocity; "" while there is none.
    const std::string& Describe() const { return m_Text; }

private:
    bool CheckBalls(ArcadeGameLogic* logic, int pass);
    bool CheckProgress(ArcadeGameLogic* logic, int pass);
    bool Stalled(ArcadeGameLogic* logic, int pass, const std::string& why);

    // How far the level is from its end; see Stall above.
    struct Progress
    {
        std::string state;
        int ballsLeft = 0;
        long strengthLeft = 0;
    };
    static Progress Measure(ArcadeGameLogic* logic);
    std::string Where(int pass) const;

    std::string m_Level;
    unsigned m_Seed;
    int m_StallPasses;
    Fault m_Fault = NONE;
    std::string m_Text;
    Progress m_Best; // the last state and balls left, the least strength left
    int m_LastChange = 0;
    int m_Paused = 0; // passes paused in a row
    bool m_Started = false;
};

} // namespace bbtest
