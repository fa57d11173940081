#include "widgets/ThumbStates.h"

#include "sound/Sound.h"
#include "core/EventQueue.h"

#include <cstring>

namespace ThumbStates {

void Active::OnEnterState()
{
    m_Thumb->ShowFrame(0);
}

bool Active::OnMouseEnter(const Event&)
{
    m_Thumb->SetState("Highlighted");
    return true;
}

bool Active::OnInternalEvent(const Event& event)
{
    const auto* notice = static_cast<const LuaPlus::LuaObject*>(EventData2(event));
    if (notice && notice->IsString() &&
        std::strcmp(notice->GetString(), "visibility changed") == 0 && m_Thumb->IsMouseOver())
        GetPostedEventQueue().Post(m_Thumb, MAKO_MOUSEENTER, 0, static_cast<Object*>(m_Thumb));
    return false;
}

void Highlighted::OnEnterState()
{
    m_Thumb->ShowFrame(2);
}

bool Highlighted::OnMouseButtonDown(const Event&)
{
    m_Thumb->SetState("Scrolling");
    return true;
}

bool Highlighted::OnMouseLeave(const Event&)
{
    m_Thumb->SetState("Active");
    return true;
}

void Scrolling::OnEnterState()
{
    m_Thumb->ShowFrame(3);
    Sound::PlaySound("click.ogg", false);
}

bool Scrolling::OnMouseMotion(const Event& event)
{
    m_Thumb->Drag(event);
    return false;
}

bool Scrolling::OnMouseButtonUp(const Event&)
{
    m_Thumb->SetState(m_Thumb->IsMouseOver() ? "Highlighted" : "Active");
    return true;
}

} // namespace ThumbStates
