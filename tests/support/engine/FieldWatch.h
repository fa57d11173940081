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
//   Stall:  the level has neither ended nor changed its state of play (the controller's
//           state, score, balls left, the bricks on the field and the damage they carry)
//           for stallPasses passes of play (passes in the paused state do not count).
//
//   bbtest::FieldWatch watch("Bonus10", 4);
//   for (int pass = 0; ...; ++pass) { ...step...; if (watch.Check(logic, pass)) break; }
//   watch.Describe()   // "Bonus10 seed 4 pass 2948: escape: a ball at (341.96, 20.11) ..."
#include <cstdint>
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
    // A summary of the state of play; equal summaries mean nothing has moved on.
    static std::uint64_t PlayState(ArcadeGameLogic* logic);
    std::string Where(int pass) const;

    std::string m_Level;
    unsigned m_Seed;
    int m_StallPasses;
    Fault m_Fault = NONE;
    std::string m_Text;
    std::uint64_t m_LastState = 0;
    int m_LastChange = 0;
    bool m_Started = false;
};

} // namespace bbtest
