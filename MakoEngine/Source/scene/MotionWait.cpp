#include "scene/MotionWait.h"

MAKO_IMPLEMENT_CLASS(MotionWait, "MotionWait", "Motion", &MotionWait::RegisterProperties,
                     &InstantiateObjectOfClass<MotionWait>);

void MotionWait::Start()
{
    m_Running = true;
}

MotionStep MotionWait::Update()
{
    if (!m_Running)
        return MotionStep();
    if (m_Progress < m_Duration) {
        m_Progress += 1.0f;
    } else {
        m_Progress -= m_Duration;
        CallFinishedCallback();
    }
    return MotionStep();
}
