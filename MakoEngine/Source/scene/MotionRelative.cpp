#include "scene/MotionRelative.h"

MAKO_IMPLEMENT_CLASS(MotionRelative, "MotionRelative", "Motion",
                     &MotionRelative::RegisterProperties,
                     &InstantiateObjectOfClass<MotionRelative>);

MotionStep MotionRelative::Update()
{
    if (!m_Running)
        return MotionStep();
    m_Ramp.Advance(false);
    const float length = m_Destination.GetLength();
    const float remaining = length - m_Progress;
    if (!m_Infinite)
        m_Ramp.BrakeIfNear(remaining, false);
    float stepLength = m_Ramp.GetSpeed();
    // An endless motion never completes, however short its offset: it only gives the
    // direction to move in.
    const bool finished = !m_Infinite && remaining <= m_Ramp.GetSpeed();
    if (finished) {
        m_Running = false;
        stepLength = remaining;
        m_Progress -= length;
    }
    if (!m_Infinite)
        m_Progress += stepLength;
    Point<float> step = m_Destination;
    step.SetLength(stepLength);
    if (finished)
        CallFinishedCallback();
    return MotionStep(step.x, step.y, 0);
}

Point<float> MotionRelative::GetNextPosition(float x, float y)
{
    return Point<float>(x + m_Destination.x, y + m_Destination.y);
}
