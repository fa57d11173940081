#include "widgets/HoverState.h"

#include "core/Event.h"
#include "core/EventQueue.h"
#include "scene/Actor.h"
#include "widgets/WidgetInput.h"

HoverState::HoverState(const Actor& actor)
    : m_LastRect(actor.GetRect()), m_LastVisible(actor.IsVisible())
{
}

bool HoverState::Contains(const Actor& actor, int x, int y)
{
    const Point<int> local = actor.GlobalToLocal(x, y);
    return local.x >= 0 && local.x < actor.GetWidth() && local.y >= 0 &&
           local.y < actor.GetHeight();
}

void HoverState::Update(Actor& actor, int x, int y)
{
    const bool inside = Contains(actor, x, y);
    if (inside == m_MouseOver)
        return;
    m_MouseOver = inside;
    GetPostedEventQueue().Post(&actor, inside ? MAKO_MOUSEENTER : MAKO_MOUSELEAVE, 0,
                               static_cast<Object*>(&actor));
}

void HoverState::CheckOnTick(Actor& actor)
{
    const SDL_Rect rect = actor.GetRect();
    if (!m_RecheckHover && RectEquals(rect, m_LastRect) && actor.IsVisible() == m_LastVisible)
        return;
    const Point<int> pointer = WidgetInput::GetPointerPosition();
    Update(actor, pointer.x, pointer.y);
    m_LastRect = rect;
    m_LastVisible = actor.IsVisible();
    m_RecheckHover = false;
}
