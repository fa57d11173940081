#pragma once
// The base of the moving primitives (absolute, relative, orbit, rotate): a motion that runs
// its target at the speed ramp's pace and starts from rest each time it is started.
#include "scene/Motion.h"
#include "scene/MotionRamp.h"

class RampedMotion : public Motion
{
public:
    // Runs from rest: the ramp restarts, anything else the motion keeps stays as it is.
    void Start() override;

protected:
    // Registers the ramp's keys (speed, rampUpTicks, rampDownTicks) on a derived class.
    static void RegisterRampProperties(Class& motionClass);

    MotionRamp m_Ramp;
};
