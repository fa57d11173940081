#pragma once
// The running game controller of a level, as the play-field objects see it. The game
// logic implements it; one controller runs at a time and is reachable as gLogic while it
// runs. Play-field objects use gLogic when no controller is handed to them.
//
// What a play-field object hands to the controller (balls, emitters, sparks, explosions,
// laser beams, flying texts, power-ups, other actors) the controller owns from then on:
// it gives the object its world, puts it on the game screen and kills it when it clears
// its groups. Main thread only.
#include "core/Object.h"

#include <string>
#include <vector>

class Actor;
class Ball;
class Brick;
class Explosion;
class FlyingText;
class LaserBeam;
class Paddle;
class ParticleEmitter;
class ParticleManager;
class Powerup;
class Shield;
class Spark;
class Wall;

class ArcadeGameLogic : public Object
{
public:
    // The running controller's particle manager, on which play-field objects build their
    // emitters; null while no controller runs or before its in-game display exists (an
    // object built then gets no emitters).
    static ParticleManager* GetParticleManager();

    // Whether the controller is in the named state ("Playing", "WaitForSpawn", ...); false
    // while it has no state yet.
    bool IsInState(const std::string& name) const
    {
        return GetCurrentState() && GetStateName() == name;
    }

    // Something that may end the level happened at (x, y) on the play field (a structure
    // was destroyed or killed). Does nothing unless the controller is playing; otherwise
    // checks the level's goals and the balls left and switches state when the level is
    // won or every ball is lost.
    virtual void CheckForLevelEnd(double x, double y) = 0;
    // The actor of that name in the play layer of the game screen (searched through the
    // whole tree below it); null when there is none.
    virtual Actor* FindActor(const std::string& name) const = 0;

    // ---- Taking over what the field makes ------------------------------------------------
    // Adds the actor to the group its "groupID" property names (an integer >= 0), making
    // empty groups up to it; nothing for a nil or non-integer groupID.
    virtual void ApplyGroupID(Actor* actor) = 0;
    // Each gives the object the level's world and puts it on the game screen, in its group.
    virtual void AddBall(Ball* ball) = 0;
    virtual void AddPowerup(Powerup* powerup) = 0;
    virtual void AddFlyingText(FlyingText* text) = 0;
    virtual void AddExplosion(Explosion* explosion) = 0;
    virtual void AddSpark(Spark* spark) = 0;
    virtual void AddLaserBeam(LaserBeam* beam) = 0;
    // A started (or about to be started) emitter; the controller deletes it when done.
    virtual void AddEmitter(ParticleEmitter* emitter) = 0;
    // Any other actor of the level (sorted by class as the level container does).
    virtual void AddActor(Actor* actor) = 0;

    // ---- Play ----------------------------------------------------------------------------
    virtual void AddScore(int points) = 0;
    // Applies a power-up that the paddle (or, with null, the level) collected.
    virtual void CollectPowerup(Powerup* powerup, Paddle* paddle) = 0;
    // A ball struck the paddle: steps the hit meter and the paddle power.
    virtual void CountPaddleHit() = 0;
    // A ball struck a brick or a wall: the frames-since-last-hit count starts again.
    virtual void ResetHitCounter() = 0;
    // Shows the tutorial prompt of that id and key unless the player has seen it; true
    // when it was shown (or no text exists for it).
    virtual bool ShowPrompt(const std::string& id, const std::string& key) = 0;
    // Shows a message on the game screen's marquee for that many milliseconds (a duration
    // below 1 keeps it until the next message).
    virtual void ShowMessage(const std::string& text, int milliseconds) = 0;
    // The combo meter's reaction to the paddle catching something of that class at (x, y).
    virtual void OnPaddleCombo(const std::string& className, double x, double y) = 0;
    // The combo meter's reaction to a brick struck by an active ball (count 0) or
    // destroyed (count 1) at (x, y).
    virtual void OnBrickCombo(Brick* brick, int count, double x, double y) = 0;
    // A brick holds the ball (hopper) / lets it go again.
    virtual void LockBall(Ball* ball, Brick* brick) = 0;
    virtual void UnlockBall(Ball* ball) = 0;

    // ---- The level's objects ---------------------------------------------------------------
    // The level's shields, in creation order.
    virtual const std::vector<Shield*>& GetShields() const = 0;
    // The level's paddles.
    virtual const std::vector<Paddle*>& GetPaddles() const = 0;
    // The level's walls, in the order the level built them (falling power-ups look here
    // for the walls that attract them).
    virtual const std::vector<Wall*>& GetWalls() const = 0;

protected:
    // Set by the controller when it makes its in-game display.
    ParticleManager* m_ParticleManager = nullptr;
};

// The running controller; null while no game runs. The controller sets it when it starts
// and clears it when it ends.
extern ArcadeGameLogic* gLogic;
