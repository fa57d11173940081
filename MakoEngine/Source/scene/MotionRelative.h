#pragma once
// Moves its target by an offset, at most the ramp's speed per tick, without reading the
// target: the steps add up to the offset exactly and the motion completes on the tick of
// the last (shorter) step, with progress back at 0. With "infinite" the progress is not
// counted and the motion keeps moving along the offset's direction and never completes.
#include "scene/Motion.h"
#include "scene/MotionRamp.h"

class MotionRelative : public Motion
{
    MAKO_DECLARE_CLASS();

public:
    // Runs from rest; progress is kept (progress set beforehand shortens the way).
    void Start() override;
    MotionStep Update() override;
    // (x, y) moved by the offset.
    Point<float> GetNextPosition(float x, float y) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    Point<float> m_Destination; // the offset
    MotionRamp m_Ramp;
    float m_Progress = 0.0f; // distance travelled so far
    bool m_Infinite = false;
};
