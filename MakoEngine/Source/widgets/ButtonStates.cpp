#include "widgets/ButtonStates.h"

#include "widgets/Button.h"
#include "core/EventQueue.h"

#include <cstring>

namespace ButtonStates {

// ---- Active -------------------------------------------------------------------------------

void Active::OnEnterState()
{
    m_Button->SetFrameForState(0);
}

bool Active::OnMouseEnter(const Event&)
{
    if (!m_Button->IsVisible())
        return false;
    m_Button->SetState(m_Button->m_Pressed ? "Pressed" : "Highlighted");
    return true;
}

bool Active::OnMouseButtonUp(const Event&)
{
    const bool wasPressed = m_Button->m_Pressed;
    m_Button->m_Pressed = false;
    return wasPressed;
}

bool Active::OnInternalEvent(const Event& event)
{
    const auto* notice = static_cast<const LuaPlus::LuaObject*>(EventData2(event));
    if (notice && notice->IsString() &&
        std::strcmp(notice->GetString(), "visibility changed") == 0 &&
        m_Button->m_Hover.IsMouseOver())
        GetPostedEventQueue().Post(m_Button, MAKO_MOUSEENTER, 0, static_cast<Object*>(m_Button));
    return false;
}

// ---- Highlighted --------------------------------------------------------------------------

void Highlighted::OnEnterState()
{
    m_Button->SetFrameForState(2);
}

bool Highlighted::OnMouseLeave(const Event&)
{
    m_Button->SetState("Active");
    return true;
}

bool Highlighted::OnMouseButtonDown(const Event&)
{
    if (!m_Button->IsEnabled() || !m_Button->IsVisible())
        return false;
    m_Button->SetState("Pressed");
    return true;
}

// ---- Pressed ------------------------------------------------------------------------------

void Pressed::OnEnterState()
{
    m_Button->m_Pressed = true;
    m_Button->SetFrameForState(3);
    m_Button->ShiftChildren(true);
    m_Button->Report(MAKO_BUTTONPRESS);
}

void Pressed::OnExitState()
{
    m_Button->ShiftChildren(false);
}

bool Pressed::OnMouseLeave(const Event&)
{
    m_Button->SetState("Active");
    return true;
}

bool Pressed::OnMouseButtonUp(const Event&)
{
    if (!m_Button->IsEnabled() || !m_Button->IsVisible())
        return false;
    m_Button->ReportClick();
    m_Button->SetFlashing(false);
    m_Button->m_Pressed = false;
    m_Button->SetState("Highlighted");
    return true;
}

} // namespace ButtonStates
