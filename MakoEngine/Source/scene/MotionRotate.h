#pragma once
// Turns its target by a whole angle in degrees, at most the ramp's speed per tick; the
// speed's sign is the direction. Completes on the tick after the last turn, with progress
// back at 0, so a restart turns the whole angle again. With "infinite" it turns without end.
#include "scene/RampedMotion.h"

class MotionRotate : public RampedMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStep Update() override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    float m_Angle = 0.0f;    // degrees
    float m_Progress = 0.0f; // degrees turned so far
    bool m_Infinite = false;
};
