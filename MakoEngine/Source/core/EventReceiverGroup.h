#pragma once
// An ordered list of receivers (not owned) that offers an event to each in turn and stops
// at the first that consumes it.
#include "core/EventReceiver.h"

#include <list>

class EventReceiverGroup : public EventReceiver
{
public:
    bool OnEvent(const Event& event) override;

    void Append(EventReceiver* receiver) { m_Receivers.push_back(receiver); }
    void Remove(EventReceiver* receiver) { m_Receivers.remove(receiver); }
    bool Contains(const EventReceiver* receiver) const;
    bool IsEmpty() const { return m_Receivers.empty(); }
    void Clear() { m_Receivers.clear(); }

private:
    std::list<EventReceiver*> m_Receivers;
};
