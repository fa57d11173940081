#include "scene/MotionProperties.h"

#include "scene/Actor.h"
#include "scene/MotionTarget.h"

MAKO_IMPLEMENT_CLASS(MotionProperties, "MotionProperties", "AbstractMotion",
                     &MotionProperties::RegisterProperties,
                     &InstantiateObjectOfClass<MotionProperties>);

void MotionProperties::Start()
{
    if (!m_Running) {
        m_Running = true;
        if (Motion* child = CurrentChild()) {
            child->Start();
        } else if (!m_Children.empty()) {
            m_Current = 0;
            m_Children[0]->Start();
        }
        if (!m_Running)
            return;
    }
    m_Countdown = 2;
    ApplyToTarget(m_StartProperties);
}

MotionStep MotionProperties::Update()
{
    if (!m_Running)
        return MotionStep();
    const std::int32_t before = m_Countdown;
    if (m_Countdown >= 0)
        --m_Countdown;
    if (before == 0)
        ApplyToTarget(m_ContinueProperties);
    return AbstractMotion::Update();
}

void MotionProperties::AddMotion(Motion* child, bool owned)
{
    AppendChild(child, owned);
    child->SetFinishedCallback(&MotionProperties::OnChildFinished, this);
}

void MotionProperties::OnChildFinished(void* composite)
{
    MotionProperties* self = static_cast<MotionProperties*>(composite);
    self->m_Countdown = 0;
    self->ApplyToTarget(self->m_StopProperties);
    self->AdvanceToNextChild();
}

void MotionProperties::ApplyToTarget(const LuaPlus::LuaObject& properties)
{
    Actor* target = GetTarget();
    if (!target || !properties.IsTable())
        return;
    target->ApplyProperties(properties);
    bool hasEntries = false;
    for (LuaPlus::LuaTableIterator it(properties); it; it.Next()) {
        hasEntries = true;
        break;
    }
    if (MotionTarget* fieldTarget = GetMotionTarget(); fieldTarget && hasEntries)
        fieldTarget->OnMotionPropertiesApplied();
}
