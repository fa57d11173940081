#pragma once
// The queue of posted engine events. Every subsystem posts through it (the application's
// PostEvent forwards here); the main loop takes events from the front after SDL's own
// and dispatches them. An event addressed to one receiver travels wrapped in a routed
// record (type MAKO_ROUTEDEVENT): data1 is the receiver, data2 a heap copy of the real
// event. After dispatch, the data an event of an owning type carries is released
// (GetEventDataFlags): shared notification holders and heap LuaObjects.
#include "core/Event.h"
#include "core/EventReceiver.h"

#include <boost/shared_ptr.hpp>

#include <cstddef>
#include <deque>
#include <string>

// What an event of an EVENT_DATA1_SHARED type carries in data1: one reference on a
// shared payload, released with the holder after dispatch.
struct SharedEventData
{
    std::uint8_t type;
    void* sender;
    boost::shared_ptr<void> data;
};

class EventQueue
{
public:
    EventQueue() = default;
    ~EventQueue();
    EventQueue(const EventQueue&) = delete;
    EventQueue& operator=(const EventQueue&) = delete;

    // Queues a copy of the event; a non-null destination wraps it in a routed record.
    void Post(EventReceiver* destination, const Event& event);
    void Post(EventReceiver* destination, std::uint8_t type, int code = 0, void* data1 = nullptr,
              void* data2 = nullptr);
    // Queues, for the application, the event named by TypeOfEvent(name) with zero words.
    void PostByName(const std::string& name);
    // Queues, routed to the destination, an event whose data1 holds a new SharedEventData
    // taking one reference on `data`.
    void PostShared(std::uint8_t type, EventReceiver* destination, void* sender,
                    const boost::shared_ptr<void>& data);

    // Takes the front event into `out`; false when the queue is empty. The caller
    // dispatches it and then calls ReleaseEventData(out).
    bool Take(Event& out);
    bool IsEmpty() const { return m_Events.empty(); }
    std::size_t Size() const { return m_Events.size(); }
    // Drops every queued event, releasing what each owns.
    void Clear();
    // Drops the queued events addressed to `receiver` (it is going away), releasing what
    // each owns. Events for others keep their order.
    void DropEventsFor(const EventReceiver* receiver);

    // Releases what an event owns by its type (routed records: the wrapped event too).
    static void ReleaseEventData(const Event& event);
    // Hands a routed record's real event to its destination, releases the real event and
    // returns the destination's answer.
    static bool DeliverRouted(const Event& routed);

private:
    std::deque<Event> m_Events;
};

// The process-wide queue the application drains each pass.
EventQueue& GetPostedEventQueue();
// Drops the events of the process-wide queue addressed to `receiver`; nothing once that
// queue is gone at exit. Every EventReceiver calls it as it is destroyed.
void DropPostedEventsFor(const EventReceiver* receiver);
