#include "scene/MotionSimultaneous.h"

MAKO_IMPLEMENT_CLASS(MotionSimultaneous, "MotionSimultaneous", "AbstractMotion",
                     &MotionSimultaneous::RegisterProperties,
                     &InstantiateObjectOfClass<MotionSimultaneous>);

MotionSimultaneous::MotionSimultaneous() = default;

MotionSimultaneous::~MotionSimultaneous() = default;

void MotionSimultaneous::AddMotion(Motion* child, bool owned)
{
    m_Records.push_back(std::make_unique<ChildRecord>(ChildRecord{m_Children.size(), this}));
    AppendChild(child, owned);
    m_Finished.push_back(false);
    child->SetFinishedCallback(&MotionSimultaneous::OnChildFinished, m_Records.back().get());
}

void MotionSimultaneous::Start()
{
    if (m_Running)
        return;
    m_Running = true;
    for (std::size_t i = 0; i < m_Children.size(); ++i) {
        m_Children[i]->Start();
        m_Finished[i] = false;
    }
}

void MotionSimultaneous::Stop()
{
    if (!m_Running)
        return;
    m_Running = false;
    for (Motion* child : m_Children)
        child->Stop();
}

MotionStep MotionSimultaneous::Update()
{
    MotionStep step;
    if (!m_Running)
        return step;
    for (Motion* child : m_Children)
        step += child->Update();
    return step;
}

void MotionSimultaneous::SetCurrentMotion(std::int32_t) {}

void MotionSimultaneous::OnChildFinished(void* record)
{
    const ChildRecord* child = static_cast<ChildRecord*>(record);
    child->owner->ChildFinished(child->index);
}

void MotionSimultaneous::ChildFinished(std::size_t index)
{
    if (m_StopOnFirst) {
        m_Running = false;
        for (Motion* child : m_Children)
            child->Stop();
        CallFinishedCallback();
        return;
    }
    m_Finished[index] = true;
    for (bool finished : m_Finished)
        if (!finished)
            return;
    m_Running = false;
    m_Finished.assign(m_Finished.size(), false);
    CallFinishedCallback();
}
