#pragma once
// PowerupEffect: what catching one kind of power-up does to the game, beside the sounds the
// power-up then plays and the message that flies up from it when a paddle caught it. The
// rows stand in the order the controller tests a power-up's class against them:
// CollectPowerup applies the first row whose kind the class derives from, and a class no
// row names has no further effect. Every kind PowerupKind registers has a row.
//
// An effect reaches the game only through the controller handed to it, so a row can be
// applied alone to any controller. Main thread only.
#include <vector>

class ArcadeGameLogic;
class Ball;
class Class;
class Paddle;
class Powerup;

struct PowerupEffect
{
    // What an effect works on, gathered once per catch.
    struct Catch
    {
        ArcadeGameLogic& logic;
        Powerup& powerup;
        // The paddle that caught the power-up; null when the level handed it out.
        Paddle* catcher;
        // The catcher, else the controller's first paddle; null when there is no paddle.
        Paddle* target;
        // The balls in play (active) when the power-up was caught.
        std::vector<Ball*> activeBalls;
        // The power-up's score, read before the effect.
        int value;
    };
    // When a row's sounds play.
    enum SoundRule { SOUNDS_ALWAYS, SOUNDS_WHEN_CAUGHT };

    const char* kind;
    // Flies up from the power-up when a paddle caught it; null for none.
    const char* message;
    // Played by the power-up, in order, after the effect; null entries play nothing.
    const char* sounds[2];
    void (*apply)(Catch& c);
    SoundRule soundRule = SOUNDS_ALWAYS;

    // The row's effect on `logic`, then its sounds, then (with a catcher) its message.
    void Apply(ArcadeGameLogic& logic, Powerup& powerup, Paddle* catcher) const;

    // The first row whose kind `kind` derives from; null for a null class or one no row
    // names.
    static const PowerupEffect* Find(const Class* kind);
    // Every row, in the order Find tests them.
    static const std::vector<PowerupEffect>& GetAll();
};
