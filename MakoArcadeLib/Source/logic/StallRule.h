#pragma once
// The game's promise that every level ends: a ball may find a closed path that touches only
// walls and what cannot break (metal, the field's edges) and never comes down to the paddle,
// and then nothing the player does can reach it. The rule watches play pass by pass with the
// game's own measure (logic/PlayProgress): a level comes nearer its end when the bricks'
// strength left or the count of bricks that must break falls below its least, and play moves
// on when a ball rests on a paddle (the player waits to serve) or a new stretch starts (a ball
// lost or won). A stroke of the paddle alone is no step: a ball the paddle sends between the
// walls, the paddle and a pull or a wind, never reaching a brick, is turned loose too.
// After kStillPasses passes of play with none of these, every free ball is set astray
// (Ball::SetAstray): adrift, so a level's gravity and wind let go of it, and each of its bounces
// off anything but the paddle turns its flight a little, by up to kFirstTurn degrees, and more for
// every further kTurnStepPasses passes, up to kMostTurn. The turns are drawn from the game's random
// generator, so a seeded game plays the same. Once play moves on the balls are no longer astray.
// Nothing else of the level's rules or physics changes.
//
// The controller runs it after each pass of play (Playing) and starts it afresh with each
// level; passes in any other state (a pause, a letter) neither count nor restart it.
#include "logic/PlayProgress.h"

class ArcadeGameLogic;

class StallRule
{
public:
    // About a minute of play that brings the level no nearer its end: far longer than a
    // ball takes from the paddle to a brick in any written level.
    static constexpr int kStillPasses = 2000;
    static constexpr double kFirstTurn = 5.0;
    static constexpr int kTurnStepPasses = 100;
    static constexpr double kMostTurn = 30.0;

    // Forgets the stretch: the next pass of play starts a new one.
    void Reset();
    // After a pass of play: measures it, and sets the balls astray (or no longer astray).
    void Update(ArcadeGameLogic* logic);
    // Passes of play since the level last moved on.
    int GetStillPasses() const { return m_Still; }
    // The most degrees a bounce turns an astray ball now; 0 while play moves on.
    double GetTurn() const;

private:
    // Whether a paddle holds a ball.
    static bool PaddleHolds(ArcadeGameLogic* logic);
    void SetBallsAstray(ArcadeGameLogic* logic, double turn);

    PlayProgress m_Best; // the stretch's balls left and its least strength and count left
    bool m_Started = false;
    int m_Still = 0;
    bool m_Astray = false; // whether balls were set astray since play last moved on
};
