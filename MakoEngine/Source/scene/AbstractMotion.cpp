#include "scene/AbstractMotion.h"

MAKO_IMPLEMENT_CLASS(AbstractMotion, "AbstractMotion", "Motion",
                     &AbstractMotion::RegisterProperties, nullptr);

AbstractMotion::AbstractMotion() = default;

AbstractMotion::~AbstractMotion()
{
    for (std::size_t i = 0; i < m_Children.size(); ++i)
        if (m_Owned[i])
            delete m_Children[i];
}

void AbstractMotion::SetTarget(Actor* target)
{
    Motion::SetTarget(target);
    if (target)
        for (Motion* child : m_Children)
            child->SetTarget(target);
}

Motion* AbstractMotion::CurrentChild() const
{
    if (m_Current < 0 || m_Current >= static_cast<std::int32_t>(m_Children.size()))
        return nullptr;
    return m_Children[m_Current];
}

void AbstractMotion::Start()
{
    if (m_Running)
        return;
    m_Running = true;
    if (m_Current == -1 && !m_Children.empty())
        m_Current = 0;
    if (Motion* child = CurrentChild())
        child->Start();
}

void AbstractMotion::Stop()
{
    if (!m_Running)
        return;
    m_Running = false;
    if (Motion* child = CurrentChild())
        child->Stop();
}

MotionStep AbstractMotion::Update()
{
    if (!m_Running)
        return MotionStep();
    Motion* child = CurrentChild();
    if (!child) {
        m_Running = false;
        m_Current = -1;
        CallFinishedCallback();
        return MotionStep();
    }
    if (!m_Advanced)
        return child->Update();
    m_Advanced = false;
    MotionStep step = child->Update();
    step += Update();
    return step;
}

void AbstractMotion::AppendChild(Motion* child, bool owned)
{
    m_Children.push_back(child);
    m_Owned.push_back(owned);
}

void AbstractMotion::AddMotion(Motion* child, bool owned)
{
    AppendChild(child, owned);
    child->SetFinishedCallback(&AbstractMotion::OnChildFinished, this);
}

void AbstractMotion::OnChildFinished(void* composite)
{
    static_cast<AbstractMotion*>(composite)->AdvanceToNextChild();
}

void AbstractMotion::AdvanceToNextChild()
{
    ++m_Current;
    if (m_Current < static_cast<std::int32_t>(m_Children.size())) {
        m_Advanced = true;
        m_Children[m_Current]->Start();
        return;
    }
    Complete();
}

void AbstractMotion::Complete()
{
    m_Running = false;
    m_Current = -1;
    CallFinishedCallback();
}

void AbstractMotion::SetCurrentMotion(std::int32_t index)
{
    const bool inRange = index >= 0 && index < static_cast<std::int32_t>(m_Children.size());
    if (!m_Running) {
        m_Current = inRange ? index : -1;
        return;
    }
    if (Motion* child = CurrentChild())
        child->Stop();
    m_Current = inRange ? index : -1;
    if (m_Current == -1) {
        m_Running = false;
        return;
    }
    m_Children[m_Current]->Start();
}
