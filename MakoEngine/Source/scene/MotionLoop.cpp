#include "scene/MotionLoop.h"

MAKO_IMPLEMENT_CLASS(MotionLoop, "MotionLoop", "AbstractMotion", &MotionLoop::RegisterProperties,
                     &InstantiateObjectOfClass<MotionLoop>);

MotionStep MotionLoop::Update()
{
    if (m_Running && !m_Advanced && CurrentChild())
        m_Wrapped = false;
    return AbstractMotion::Update();
}

void MotionLoop::AddMotion(Motion* child, bool owned)
{
    AppendChild(child, owned);
    child->SetFinishedCallback(&MotionLoop::OnChildFinished, this);
}

void MotionLoop::OnChildFinished(void* loop)
{
    static_cast<MotionLoop*>(loop)->ChildFinished();
}

void MotionLoop::ChildFinished()
{
    ++m_Current;
    if (m_Current < static_cast<std::int32_t>(m_Children.size())) {
        m_Advanced = true;
        m_Children[m_Current]->Start();
        return;
    }
    ++m_RepetitionsTaken;
    if (m_RepetitionsTaken != m_Repetitions && !m_Children.empty() && !m_Wrapped) {
        m_Current = 0;
        m_Wrapped = true;
        m_Advanced = true;
        m_Children[0]->Start();
        return;
    }
    m_RepetitionsTaken = 0;
    Complete();
}
