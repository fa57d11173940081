#include "scene/MotionRotate.h"

#include <cmath>

MAKO_IMPLEMENT_CLASS(MotionRotate, "MotionRotate", "Motion", &MotionRotate::RegisterProperties,
                     &InstantiateObjectOfClass<MotionRotate>);

MotionStep MotionRotate::Update()
{
    if (!m_Running)
        return MotionStep();
    m_Ramp.Advance(true);
    const float remaining = m_Angle - m_Progress;
    if (!m_Infinite)
        m_Ramp.BrakeIfNear(remaining, true);
    const float speed = std::fabs(m_Ramp.GetSpeed());
    const float turn = remaining <= speed ? remaining : speed;
    if (turn > 0) {
        if (!m_Infinite)
            m_Progress += turn;
        return MotionStep(0, 0, m_Ramp.GetSpeed() <= 0 ? -turn : turn);
    }
    m_Progress = 0;
    Finish();
    return MotionStep();
}
