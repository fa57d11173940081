#include "scene/RampedMotion.h"

void RampedMotion::Start()
{
    m_Running = true;
    m_Ramp.Restart();
}

void RampedMotion::RegisterRampProperties(Class& motionClass)
{
    MotionRamp::RegisterProperties(motionClass, &RampedMotion::m_Ramp);
}
