#pragma once
#include "core/Event.h"

// Anything that takes events: returns true when it consumed the event.
class EventReceiver
{
public:
    virtual ~EventReceiver() = default;
    virtual bool OnEvent(const Event& event) = 0;
};
