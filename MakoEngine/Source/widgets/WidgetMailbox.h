#pragma once
// The mailbox through which a widget posts events to itself (hover changes, visibility
// notices). A widget registers while it lives and unregisters in its destructor; an event
// still queued when its widget is gone is dropped instead of reaching freed memory. The
// event the widget finally receives has the type and data words it was posted with and
// code 0.
//
// Main thread only.
#include "core/EventReceiver.h"

#include <cstdint>
#include <unordered_map>

class WidgetMailbox : public EventReceiver
{
public:
    // The one mailbox of the program (never destroyed).
    static WidgetMailbox& Get();

    // A ticket for the widget; tickets are never reused.
    int Register(EventReceiver* widget);
    void Unregister(int ticket);

    // Queues the event for the widget of the ticket (delivered in the event phase).
    void Post(int ticket, std::uint8_t type, void* data1 = nullptr, void* data2 = nullptr);

    // Delivers a queued event to its widget, when the widget still lives; the widget's
    // answer is returned (false for a dropped event).
    bool OnEvent(const Event& event) override;

private:
    WidgetMailbox() = default;

    std::unordered_map<int, EventReceiver*> m_Widgets;
    int m_NextTicket = 1;
};
