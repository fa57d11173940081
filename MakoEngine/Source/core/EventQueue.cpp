#include "core/EventQueue.h"

#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

EventQueue::~EventQueue()
{
    Clear();
}

void EventQueue::Post(EventReceiver* destination, const Event& event)
{
    if (!destination) {
        m_Events.push_back(new Event(event));
        return;
    }
    Event* routed = new Event(MakeEvent(MAKO_ROUTEDEVENT, 0, destination, new Event(event)));
    m_Events.push_back(routed);
}

void EventQueue::Post(EventReceiver* destination, std::uint8_t type, int code, void* data1,
                      void* data2)
{
    Post(destination, MakeEvent(type, code, data1, data2));
}

void EventQueue::PostByName(const std::string& name)
{
    Post(nullptr, static_cast<std::uint8_t>(TypeOfEvent(name)));
}

void EventQueue::PostShared(std::uint8_t type, EventReceiver* destination, void* sender,
                            const boost::shared_ptr<void>& data)
{
    MAKO_ASSERT(GetEventDataFlags(type) & EVENT_DATA1_SHARED);
    Post(destination, type, 0, new SharedEventData{type, sender, data});
}

bool EventQueue::Take(Event& out)
{
    if (m_Events.empty())
        return false;
    Event* front = m_Events.front();
    m_Events.pop_front();
    out = *front;
    delete front;
    return true;
}

void EventQueue::Clear()
{
    Event event;
    while (Take(event))
        ReleaseEventData(event);
}

void EventQueue::DropEventsFor(const EventReceiver* receiver)
{
    for (auto it = m_Events.begin(); it != m_Events.end();) {
        Event* event = *it;
        if (event->type == MAKO_ROUTEDEVENT && event->user.data1 == receiver) {
            ReleaseEventData(*event);
            delete event;
            it = m_Events.erase(it);
        } else {
            ++it;
        }
    }
}

void EventQueue::ReleaseEventData(const Event& event)
{
    if (event.type == MAKO_ROUTEDEVENT) {
        Event* real = static_cast<Event*>(event.user.data2);
        if (real) {
            ReleaseEventData(*real);
            delete real;
        }
        return;
    }
    unsigned flags = GetEventDataFlags(event.type);
    if (flags & EVENT_DATA1_SHARED) {
        delete static_cast<SharedEventData*>(event.user.data1);
        return;
    }
    if (flags & EVENT_DATA1_LUAOBJECT)
        delete static_cast<LuaPlus::LuaObject*>(event.user.data1);
    if (flags & EVENT_DATA2_LUAOBJECT)
        delete static_cast<LuaPlus::LuaObject*>(event.user.data2);
}

bool EventQueue::DeliverRouted(const Event& routed)
{
    auto* destination = static_cast<EventReceiver*>(routed.user.data1);
    auto* real = static_cast<Event*>(routed.user.data2);
    MAKO_ASSERT(destination != 0);
    MAKO_ASSERT(real != 0);
    struct Release
    {
        Event* event;
        ~Release()
        {
            EventQueue::ReleaseEventData(*event);
            delete event;
        }
    } release{real};
    return destination->OnEvent(*real);
}

EventQueue& GetPostedEventQueue()
{
    static EventQueue queue;
    return queue;
}
