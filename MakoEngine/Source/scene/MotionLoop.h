#pragma once
// Runs its children one after another, pass after pass, and completes after
// "repetitions" passes (0 or less: without end). "repetitionsTaken" counts the passes
// completed in the current run and returns to 0 when the loop completes. A pass whose
// children all finish on its first update ends the loop rather than looping on the spot.
#include "scene/AbstractMotion.h"

class MotionLoop : public AbstractMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStep Update() override;
    void AddMotion(Motion* child, bool owned) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    static void OnChildFinished(void* loop);
    void ChildFinished();

    std::int32_t m_Repetitions = 0;
    std::int32_t m_RepetitionsTaken = 0;
    bool m_Wrapped = false; // a new pass has just begun and has not had an ordinary update
};
