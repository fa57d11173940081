#pragma once
// Carries its target's physics geometry along a circle about a centre by a whole angle in
// degrees, at most the ramp's speed per tick; the speed's sign is the direction. The
// centre is a fixed point or, with centerName, the position of the play-field object of
// that name, read at every tick; while that object is missing the motion waits (no step,
// no ramp). A target without physics gets no step. Completes on the tick after the last
// turn, with progress back at 0. With "infinite" it turns without end.
#include "scene/RampedMotion.h"

#include <string>

class MotionOrbit : public RampedMotion
{
    MAKO_DECLARE_CLASS();

public:
    MotionStep Update() override;
    // (x, y) turned about the centre by the whole angle, in the speed's direction.
    Point<float> GetNextPosition(float x, float y) override;
    void RetrieveProperties(LuaPlus::LuaObject& table) override;

    static void RegisterProperties(Class& motionClass);

private:
    Point<float> m_Center;
    std::string m_CenterName;
    float m_Angle = 0.0f;    // degrees
    float m_Progress = 0.0f; // degrees turned so far
    bool m_Infinite = false;
};
