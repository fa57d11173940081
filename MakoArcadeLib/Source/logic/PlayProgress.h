#pragma once
// How far a game in play is from the end of its level: the controller's state, the balls
// left, the strength the breakable bricks have left (all of it, summed) and the bricks that
// must still break (bricks marked necessary, drop targets). A level comes nearer its end
// when the strength or the count falls; a new state or a ball lost or won starts a new
// stretch. What comes and goes without bringing the end nearer is not progress: score from
// bumpers, damage a brick heals, a brick that grows back. The game's stall rule
// (logic/StallRule) and the autoplay harnesses' watch judge play by it.
//
//   PlayProgress now = PlayProgress::Measure(logic);
//   if (now.NearerThan(best)) ...
//   PlayProgress::Remaining(logic)  // "Brick M> at (240, 100) strength -1"
#include <string>

class ArcadeGameLogic;

struct PlayProgress
{
    std::string state;
    int ballsLeft = 0;
    long strengthLeft = 0;
    int requiredLeft = 0;

    static PlayProgress Measure(ArcadeGameLogic* logic);
    // Whether this starts a new stretch of play after `last` (another state, another count
    // of balls left).
    bool NewStretchAfter(const PlayProgress& last) const;
    // Whether this is nearer the level's end than the best of the stretch: less strength
    // left, or fewer bricks that must break.
    bool NearerThan(const PlayProgress& best) const;
    // The bricks and drop targets that must still break, by class, name and position, with
    // their strength; at most `most` of them, then how many more. "" when none is left.
    static std::string Remaining(ArcadeGameLogic* logic, int most = 6);
};
