#include "scene/MotionRamp.h"

#include <cmath>

void MotionRamp::Restart()
{
    m_Current = 0.0f;
    m_Phase = ACCELERATING;
}

void MotionRamp::Advance(bool signedSpeed)
{
    if (m_Phase == ACCELERATING) {
        m_Current = m_Current + m_Speed / (static_cast<float>(m_UpTicks) + 1.0f);
        const bool reached =
            signedSpeed && m_Speed <= 0.0f ? m_Current <= m_Speed : m_Current >= m_Speed;
        if (reached)
            m_Current = m_Speed;
        if (m_Current == m_Speed)
            m_Phase = CRUISING;
    } else if (m_Phase == DECELERATING) {
        m_Current = m_Current - m_BrakeFrom / (static_cast<float>(m_DownTicks) + 1.0f);
    }
}

void MotionRamp::BrakeIfNear(float remaining, bool signedSpeed)
{
    const float speed = signedSpeed ? std::fabs(m_Current) : m_Current;
    if (remaining <= static_cast<float>(m_DownTicks) * speed * 0.5f) {
        m_Phase = DECELERATING;
        m_BrakeFrom = m_Current;
    }
}
