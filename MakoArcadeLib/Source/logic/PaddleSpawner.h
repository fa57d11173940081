#pragma once
// A paddle start shown as an object: made by class name from the same table as a level's
// paddle start, it looks like the paddle the start would make (size, catch and laser, turned
// to face the way the paddle faces), shows the laser emitter when the paddle would have a
// laser, and holds a BallSpawner child (named "ball") for its ballStart, placed against
// the paddle's hitting face. It takes no part in physics or play.
//
// Main thread only.
#include "core/Class.h"
#include "scene/Actor.h"

class BallSpawner;

class PaddleSpawner : public Actor
{
    MAKO_DECLARE_CLASS();

public:
    PaddleSpawner();

    // "ballStart" makes (or updates) the ball spawner child; every property change
    // rebuilds the look.
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveClassicProperties(LuaPlus::LuaObject& table) override;
    static void RegisterProperties(Class& c);
    // Made from a table: the look of everything the table gave.
    void Initialize() override;

    // Takes the picture of a paddle made with the spawner's vertical, facePositive,
    // paddleSize, catch and laser, turns it, and places the laser emitter and the ball.
    void RebuildLook();
    BallSpawner* GetBallSpawner() const { return m_BallSpawner; }
    Actor* GetLaserEmitter() const { return m_LaserEmitter; }

private:
    bool ScriptFlag(const char* name) const;

    BallSpawner* m_BallSpawner = nullptr; // child; none until a ballStart is given
    Actor* m_LaserEmitter = nullptr;      // child
};
