#pragma once
#include "core/Event.h"

// Anything that takes events: returns true when it consumed the event. Events posted to a
// receiver through the process-wide queue (GetPostedEventQueue) and not yet delivered are
// dropped when it is destroyed, so a routed event never reaches freed memory, whatever
// kind of receiver it was addressed to (an object, an actor's group of receivers, ...).
class EventReceiver
{
public:
    EventReceiver() = default;
    EventReceiver(const EventReceiver&) = default;
    EventReceiver& operator=(const EventReceiver&) = default;
    virtual ~EventReceiver();
    virtual bool OnEvent(const Event& event) = 0;
};
