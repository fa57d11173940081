#include "widgets/ThumbStates.h"

#include "core/EventQueue.h"
#include "sound/Sound.h"
#include "widgets/WidgetInput.h"

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

// A press on the thumb grabs it, whether or not the move onto it has been handled.
bool Active::OnMouseButtonDown(const Event& event)
{
    if (WidgetInput::IsWheelStep(event) || !m_Thumb->TrackPointer(event))
        return false;
    m_Thumb->SetState("Scrolling");
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

// A press elsewhere (the move off still posted) is left to what lies there.
bool Highlighted::OnMouseButtonDown(const Event& event)
{
    if (WidgetInput::IsWheelStep(event) || !m_Thumb->TrackPointer(event))
        return false;
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

bool Scrolling::OnMouseButtonUp(const Event& event)
{
    if (WidgetInput::IsWheelStep(event))
        return false;
    m_Thumb->SetState(m_Thumb->TrackPointer(event) ? "Highlighted" : "Active");
    return true;
}

} // namespace ThumbStates
