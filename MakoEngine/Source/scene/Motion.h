#pragma once
// Motion: a small scripted controller that moves one target a little on every game tick.
// A motion moves nothing itself: its owner (a play-field object) sets the target, starts
// the motion, calls Update once per physics tick of 32 ms and applies the returned step
// to its own body. Motions are made from script tables through the class registry.
//
// A motion runs from Start until it completes by itself (running cleared, then the
// finished callback called once) or is stopped (no callback). Keys "start" and "stop"
// (their values are not looked at) run and stop it; they are applied after every other
// key of the same table, so a motion starts with its whole table in place.
//
// Main thread only; callbacks run synchronously inside Update, Start or a property.
#include "core/Class.h"
#include "core/Object.h"
#include "geometry/Point.h"

#include <initializer_list>

class Actor;
class MotionTarget;

// The displacement of the target in pixels (x, y) and its turn in degrees (z) for one tick.
struct MotionStep
{
    float x = 0, y = 0, z = 0;

    MotionStep() = default;
    MotionStep(float px, float py, float pz) : x(px), y(py), z(pz) {}
    MotionStep& operator+=(const MotionStep& other)
    {
        x += other.x;
        y += other.y;
        z += other.z;
        return *this;
    }
};

// Called once when a motion completes, with the argument given beside it.
using MotionFinishedCallback = void (*)(void* argument);

class Motion : public Object
{
    MAKO_DECLARE_CLASS();

public:
    Motion();
    ~Motion() override;

    // The target is not owned; it must outlive the motion's updates.
    virtual void SetTarget(Actor* target);
    virtual Actor* GetTarget() const { return m_Target; }
    // Composites install their own handlers on their children here.
    virtual void SetFinishedCallback(MotionFinishedCallback callback, void* argument);
    virtual void Start() = 0;
    // Clears the running flag without calling the callback.
    virtual void Stop();
    // One tick; (0, 0, 0) and no change while not running.
    virtual MotionStep Update() = 0;
    // Where the motion takes a target standing at (x, y); the default is (x, y).
    virtual Point<float> GetNextPosition(float x, float y);

    bool IsRunning() const { return m_Running; }

    // Applies the table with its "start" and "stop" keys last.
    void ApplyProperties(const LuaPlus::LuaObject& table) override;
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

protected:
    // The target as a physically moved play-field object, or null.
    MotionTarget* GetMotionTarget() const;
    // Clears the running flag, then calls the finished callback (when set).
    void Finish();
    void CallFinishedCallback();
    // The listed keys' current values into the table, through the class's getters.
    void RetrieveKeys(LuaPlus::LuaObject& table, std::initializer_list<const char*> keys);

    bool m_Running = false;

private:
    MotionFinishedCallback m_Callback = nullptr;
    void* m_CallbackArgument = nullptr;
    Actor* m_Target = nullptr;
};
