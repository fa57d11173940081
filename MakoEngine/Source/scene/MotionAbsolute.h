#pragma once
// Moves its target's physics geometry towards a destination point along a straight line,
// at most the ramp's speed per tick, and completes once the target stands on the
// destination. An ignored axis is neither moved nor waited for: the motion completes when
// the other axis arrives. A target without physics gets no step and never completes.
#include "scene/RampedMotion.h"

class MotionAbsolute : public RampedMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStep Update() override;
    // The destination, wherever the target stands.
    Point<float> GetNextPosition(float x, float y) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    Point<float> m_Destination;
    bool m_IgnoreHorizontal = false;
    bool m_IgnoreVertical = false;
};
