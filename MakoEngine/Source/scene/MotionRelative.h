#pragma once
// Moves its target by an offset, at most the ramp's speed per tick, without reading the
// target: the steps add up to the offset exactly and the motion completes on the tick of
// the last (shorter) step, with progress back at 0. With "infinite" the progress is not
// counted and the motion keeps moving along the offset's direction and never completes.
#include "scene/RampedMotion.h"

class MotionRelative : public RampedMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStep Update() override;
    // (x, y) moved by the offset.
    Point<float> GetNextPosition(float x, float y) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    Point<float> m_Destination; // the offset
    float m_Progress = 0.0f;    // distance travelled so far
    bool m_Infinite = false;
};
