#include "core/EventQueue.h"

#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

#include <memory>
#include <vector>

EventQueue::~EventQueue()
{
    Clear();
}

void EventQueue::Post(EventReceiver* destination, const Event& event)
{
    if (!destination) {
        m_Events.push_back(event);
        return;
    }
    // The routed record's data2 owns the copy once it is queued.
    auto real = std::make_unique<Event>(event);
    m_Events.push_back(MakeEvent(MAKO_ROUTEDEVENT, 0, destination, real.get()));
    real.release();
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
    auto shared = std::make_unique<SharedEventData>(SharedEventData{type, sender, data});
    Post(destination, type, 0, shared.get());
    shared.release();
}

bool EventQueue::Take(Event& out)
{
    if (m_Events.empty())
        return false;
    out = m_Events.front();
    m_Events.pop_front();
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
    // Taken out first and released after: releasing what an event owns may destroy
    // another receiver, which drops its own events from this queue meanwhile.
    std::vector<Event> dropped;
    for (auto it = m_Events.begin(); it != m_Events.end();) {
        if (it->type == MAKO_ROUTEDEVENT && it->user.data1 == receiver) {
            dropped.push_back(*it);
            it = m_Events.erase(it);
        } else {
            ++it;
        }
    }
    for (const Event& event : dropped)
        ReleaseEventData(event);
}

void EventQueue::ReleaseEventData(const Event& event)
{
    if (event.type == MAKO_ROUTEDEVENT) {
        std::unique_ptr<Event> real(static_cast<Event*>(event.user.data2));
        if (real)
            ReleaseEventData(*real);
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
    MAKO_ASSERT(destination != 0);
    MAKO_ASSERT(routed.user.data2 != 0);
    // Released however the destination's handler ends.
    struct Release
    {
        const Event& routed;
        ~Release() { EventQueue::ReleaseEventData(routed); }
    } release{routed};
    return destination->OnEvent(*static_cast<Event*>(routed.user.data2));
}

namespace {

// Set when the process queue is destroyed at exit: receivers destroyed after it have no
// events left to drop.
bool g_PostedQueueDestroyed = false;

struct PostedEventQueue : EventQueue
{
    ~PostedEventQueue() { g_PostedQueueDestroyed = true; }
};

} // namespace

EventQueue& GetPostedEventQueue()
{
    static PostedEventQueue queue;
    return queue;
}

void DropPostedEventsFor(const EventReceiver* receiver)
{
    if (!g_PostedQueueDestroyed)
        GetPostedEventQueue().DropEventsFor(receiver);
}
