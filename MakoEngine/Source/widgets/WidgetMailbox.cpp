#include "widgets/WidgetMailbox.h"

#include "core/EventQueue.h"

WidgetMailbox& WidgetMailbox::Get()
{
    static WidgetMailbox* mailbox = new WidgetMailbox();
    return *mailbox;
}

int WidgetMailbox::Register(EventReceiver* widget)
{
    const int ticket = m_NextTicket++;
    m_Widgets[ticket] = widget;
    return ticket;
}

void WidgetMailbox::Unregister(int ticket)
{
    m_Widgets.erase(ticket);
}

void WidgetMailbox::Post(int ticket, std::uint8_t type, void* data1, void* data2)
{
    // The ticket travels in the event's code word and is taken out again on delivery.
    GetPostedEventQueue().Post(this, type, ticket, data1, data2);
}

bool WidgetMailbox::OnEvent(const Event& event)
{
    auto it = m_Widgets.find(event.user.code);
    if (it == m_Widgets.end())
        return false;
    Event delivered = event;
    delivered.user.code = 0;
    return it->second->OnEvent(delivered);
}
