#pragma once
// Runs its children one after another, like MotionSequential, and applies property tables
// to its target on the way: "startProperties" at every start, "stopProperties" whenever a
// child finishes, and "continueProperties" on the third update after a start and on the
// first update after each child finishes (while the composite still runs). A table with
// entries applied to a play-field target also has the game check whether the level ended.
// Without a target nothing is applied.
#include "scene/AbstractMotion.h"

class MotionProperties : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    // Starts as a sequence (resuming the current child); then, running or not before,
    // re-arms the countdown and applies startProperties.
    void Start() override;
    MotionStep Update() override;
    void AddMotion(Motion* child, bool owned) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    static void OnChildFinished(void* composite);
    void ApplyToTarget(const LuaPlus::LuaObject& properties);

    LuaPlus::LuaObject m_StartProperties;
    LuaPlus::LuaObject m_StopProperties;
    LuaPlus::LuaObject m_ContinueProperties;
    std::int32_t m_Countdown = 0; // updates until continueProperties apply
};
