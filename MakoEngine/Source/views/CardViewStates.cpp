#include "views/CardViewStates.h"

#include "core/EventQueue.h"
#include "sound/Sound.h"
#include "views/CardView.h"

#include <cstring>

namespace CardViewStates {

// ---- Active -------------------------------------------------------------------------------

void Active::OnEnterState()
{
    if (m_Card->m_Highlight)
        m_Card->m_Highlight->SetVisible(false, true);
}

void Active::OnExitState()
{
    if (m_Card->m_Highlight)
        m_Card->m_Highlight->SetVisible(true, true);
}

bool Active::OnMouseEnter(const Event&)
{
    if (!m_Card->IsUsable())
        return false;
    m_Card->SetState(m_Card->m_Pressed ? "Pressed" : "Highlighted");
    return true;
}

bool Active::OnMouseButtonUp(const Event&)
{
    const bool wasPressed = m_Card->m_Pressed;
    m_Card->m_Pressed = false;
    return wasPressed;
}

bool Active::OnInternalEvent(const Event& event)
{
    const auto* notice = static_cast<const LuaPlus::LuaObject*>(EventData2(event));
    if (notice && notice->IsString() &&
        std::strcmp(notice->GetString(), "visibility changed") == 0 &&
        m_Card->m_Hover.IsMouseOver())
        GetPostedEventQueue().Post(m_Card, MAKO_MOUSEENTER, 0, static_cast<Object*>(m_Card));
    return false;
}

// ---- Highlighted --------------------------------------------------------------------------

bool Highlighted::OnMouseLeave(const Event&)
{
    m_Card->SetState("Active");
    return true;
}

bool Highlighted::OnMouseButtonDown(const Event&)
{
    if (!m_Card->IsUsable())
        return false;
    m_Card->SetState("Pressed");
    return true;
}

// ---- Pressed ------------------------------------------------------------------------------

void Pressed::OnEnterState()
{
    Sound::PlaySound("click.ogg", false);
    m_Card->m_Pressed = true;
    m_Card->m_DrawOffset = Point<int>(2, 2);
}

void Pressed::OnExitState()
{
    m_Card->m_DrawOffset = Point<int>(0, 0);
}

bool Pressed::OnMouseLeave(const Event&)
{
    m_Card->SetState("Active");
    return true;
}

bool Pressed::OnMouseButtonUp(const Event&)
{
    if (!m_Card->IsUsable())
        return false;
    m_Card->PostEvent(MAKO_CARDCLICK, static_cast<Object*>(m_Card));
    m_Card->m_Pressed = false;
    m_Card->SetState("Highlighted");
    return true;
}

} // namespace CardViewStates
