#include "core/EventReceiver.h"

#include "core/EventQueue.h"

EventReceiver::~EventReceiver()
{
    DropPostedEventsFor(this);
}
