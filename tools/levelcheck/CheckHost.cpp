#include "CheckHost.h"

#include "core/EventQueue.h"
#include "display/Canvas.h"
#include "display/Image.h"
#include "scene/Actor.h"
#include "scene/SceneHost.h"

#include <SDL.h>

namespace levelcheck {

CheckHost::CheckHost(Actor* root)
    : m_Root(root), m_Timers(static_cast<EventReceiver*>(this)),
      m_Canvas(new Canvas(kWidth, kHeight, CANVAS_OWNS_TARGET))
{
}

CheckHost::~CheckHost()
{
    SceneHost::DeleteScheduledActors();
}

void CheckHost::ScheduleForDeletion(Object* object)
{
    if (Actor* actor = dynamic_cast<Actor*>(object))
        SceneHost::ScheduleForOwnDeletion(actor);
}

void CheckHost::GetMousePosition(int& x, int& y) const
{
    // No pointer: outside every widget.
    x = -1;
    y = -1;
}

bool CheckHost::SendEvent(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                          void* data2)
{
    const Event event = MakeEvent(type, code, data1, data2);
    return destination ? destination->OnEvent(event) : OnEvent(event);
}

void CheckHost::DispatchPassEvents()
{
    EventQueue& queue = GetPostedEventQueue();
    Event event;
    while (queue.Take(event)) {
        if (event.type == MAKO_ROUTEDEVENT)
            EventQueue::DeliverRouted(event); // releases the wrapped event itself
        else
            EventQueue::ReleaseEventData(event);
    }
}

void CheckHost::Step(int passes)
{
    for (int i = 0; i < passes; ++i)
        RunPass();
}

void CheckHost::TickPass()
{
    if (m_Root && m_Root->CanTick())
        m_Root->Tick();
}

void CheckHost::DrawPass()
{
    if (!m_Root)
        return;
    SDL_FillRect(m_Canvas->GetTargetImage()->GetSDLSurface(), nullptr, 0);
    m_Root->Render(*m_Canvas);
}

void CheckHost::DeletePassObjects()
{
    SceneHost::DeleteScheduledActors();
}

} // namespace levelcheck
