#include "core/EventQueue.h"
#include "core/EventReceiverGroup.h"
#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

namespace {

struct QueueRecorder : EventReceiver
{
    std::vector<int> types;
    EventQueue* queue = nullptr; // posts a follow-up event while handling the first
    bool OnEvent(const Event& e) override
    {
        types.push_back(e.type);
        if (queue && e.type == MAKO_TIMER)
            queue->Post(this, MAKO_SELECT);
        return true;
    }
};

// Drains the queue the way the main loop does: routed records go to their receiver,
// others to the application receiver.
void Drain(EventQueue& queue, EventReceiver& application)
{
    Event e;
    while (queue.Take(e)) {
        if (e.type == MAKO_ROUTEDEVENT) {
            EventQueue::DeliverRouted(e);
        } else {
            application.OnEvent(e);
            EventQueue::ReleaseEventData(e);
        }
    }
}

} // namespace

TEST(EventQueue, RoutesToDestinationAndKeepsOrderWithEventsPostedDuringDispatch)
{
    EventQueue queue;
    QueueRecorder app, target;
    target.queue = &queue;
    queue.Post(nullptr, MAKO_PAUSEAPP, 1, IntToEventData(1));
    queue.Post(&target, MAKO_TIMER, 0, IntToEventData(7), IntToEventData(-1));
    queue.PostByName("MAKO_RELOAD");
    EXPECT_EQ(3u, queue.Size());
    Drain(queue, app);
    EXPECT_EQ((std::vector<int>{MAKO_PAUSEAPP, MAKO_RELOAD}), app.types);
    EXPECT_EQ((std::vector<int>{MAKO_TIMER, MAKO_SELECT}), target.types);
    EXPECT_TRUE(queue.IsEmpty());
}

TEST(EventQueue, ReleasesOwnedDataAfterDispatchAndOnClear)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create();
    {
        boost::shared_ptr<void> payload(new int(5), [](void* p) { delete static_cast<int*>(p); });
        EventQueue queue;
        QueueRecorder target;
        queue.PostShared(MAKO_CHILDGROUPADDED, &target, nullptr, payload);
        EXPECT_EQ(2, payload.use_count());
        auto* value = new LuaPlus::LuaObject(state);
        value->AssignNewTable(state);
        queue.Post(&target, MAKO_CONFIGUPDATE, 0, value);
        queue.Post(&target, MAKO_INTERNALEVENT, 0, IntToEventData(3),
                   new LuaPlus::LuaObject(state));
        QueueRecorder app;
        Drain(queue, app);
        EXPECT_EQ(1, payload.use_count());
        EXPECT_EQ(3u, target.types.size());

        queue.PostShared(MAKO_CHILDGROUPADDED, nullptr, nullptr, payload);
        queue.Post(&target, MAKO_CONFIGUPDATE, 0, new LuaPlus::LuaObject(state));
        queue.Clear(); // nothing dispatched, everything released (the leak checker watches)
        EXPECT_EQ(1, payload.use_count());
        EXPECT_THROW(queue.PostShared(MAKO_TIMER, nullptr, nullptr, payload), Exception);
    }
    LuaPlus::LuaState::Destroy(state);
}

TEST(EventQueue, EventsForAReceiverThatGoesAwayAreDropped)
{
    LuaPlus::LuaState* state = LuaPlus::LuaState::Create();
    {
        EventQueue queue;
        QueueRecorder kept, gone, app;
        queue.Post(&gone, MAKO_CONFIGUPDATE, 0, new LuaPlus::LuaObject(state));
        queue.Post(&kept, MAKO_TIMER);
        queue.Post(&gone, MAKO_TIMER);
        queue.Post(nullptr, MAKO_RELOAD);
        queue.DropEventsFor(&gone);
        EXPECT_EQ(2u, queue.Size());
        Drain(queue, app);
        EXPECT_TRUE(gone.types.empty());
        EXPECT_EQ((std::vector<int>{MAKO_TIMER}), kept.types);
        EXPECT_EQ((std::vector<int>{MAKO_RELOAD}), app.types);
    }
    LuaPlus::LuaState::Destroy(state);
}

// Whatever kind of receiver an event of the process queue is addressed to, the event goes
// with it: a plain receiver, a group of receivers inside an object (as an actor posts to
// its listeners), and one destroyed while another's event data is released.
TEST(EventQueue, EventsOfTheProcessQueueGoWithAnyReceiverThatGoesAway)
{
    EventQueue& queue = GetPostedEventQueue();
    queue.Clear();
    struct WithListeners
    {
        EventReceiverGroup listeners;
        QueueRecorder listener;
        WithListeners() { listeners.Append(&listener); }
    };
    QueueRecorder kept, app;
    {
        QueueRecorder plain;
        auto owner = std::make_unique<WithListeners>();
        queue.Post(&plain, MAKO_TIMER);
        queue.Post(&owner->listeners, MAKO_SELECT);
        queue.Post(&kept, MAKO_RELOAD);
        queue.Post(&owner->listeners, MAKO_TIMER);
        owner.reset();
    }
    EXPECT_EQ(1u, queue.Size());
    Drain(queue, app);
    EXPECT_EQ((std::vector<int>{MAKO_RELOAD}), kept.types);

    // A shared payload that owns a receiver: dropping the payload's event destroys that
    // receiver, whose own events leave the queue in the middle of the first drop.
    using Holder = std::unique_ptr<QueueRecorder>;
    auto inner = std::make_unique<QueueRecorder>();
    {
        QueueRecorder outer;
        queue.Post(inner.get(), MAKO_TIMER);
        boost::shared_ptr<void> payload(new Holder(std::move(inner)),
                                        [](void* p) { delete static_cast<Holder*>(p); });
        queue.PostShared(MAKO_CHILDGROUPADDED, &outer, nullptr, payload);
        queue.Post(&kept, MAKO_SELECT);
    }
    EXPECT_EQ(1u, queue.Size());
    Drain(queue, app);
    EXPECT_EQ((std::vector<int>{MAKO_RELOAD, MAKO_SELECT}), kept.types);
}
