#include "widgets/Cell.h"

#include "core/Exception.h"

#include <boost/format.hpp>

Cell::Cell(int width, int height, HorizontalAlignment alignment) : m_Alignment(alignment)
{
    MAKO_ASSERT_MSG(width >= 0 && width <= kRectExtentMax && height >= 0 &&
                        height <= kRectExtentMax,
                    boost::str(boost::format("A cell's width and height lie in 0..%1%, not "
                                             "%2% x %3%.") %
                               kRectExtentMax % width % height));
    SetSize(width, height);
}

void Cell::SetActor(Actor* actor)
{
    // The actor the cell already holds stays (it is only realigned): deleting it as the
    // "previous" actor would leave the cell holding a freed one, and adding it again would
    // give a radio button a second parent.
    if (actor && actor == m_Actor) {
        Align();
        return;
    }
    if (m_Actor) {
        Actor* previous = m_Actor;
        m_Actor = nullptr;
        RemoveChild(previous);
        delete previous;
    }
    m_Actor = actor;
    if (actor) {
        Align();
        AddChild(actor, "");
    }
}

void Cell::Align()
{
    if (!m_Actor)
        return;
    switch (m_Alignment) {
    case HorizontalAlignment::Center:
        m_Actor->SetPosition(GetWidth() / 2 - m_Actor->GetWidth() / 2, m_Actor->GetY());
        break;
    case HorizontalAlignment::Left:
        break;
    case HorizontalAlignment::Right:
        m_Actor->SetPosition(GetWidth() - m_Actor->GetWidth(), m_Actor->GetY());
        break;
    default:
        MAKO_THROW(Exception, boost::str(boost::format("Invalid horizontal alignment: %1%") %
                                         static_cast<int>(m_Alignment)));
    }
}

void Cell::RemoveChild(Actor* child)
{
    // An actor taken away from the cell (or killed) is no longer the cell's.
    if (child == m_Actor)
        m_Actor = nullptr;
    Actor::RemoveChild(child);
}
