#include "core/EventReceiverGroup.h"

#include <algorithm>
#include <vector>

bool EventReceiverGroup::OnEvent(const Event& event)
{
    // A receiver may add or remove receivers while it handles the event: walk a snapshot,
    // and skip any that were removed meanwhile.
    std::vector<EventReceiver*> snapshot(m_Receivers.begin(), m_Receivers.end());
    for (EventReceiver* receiver : snapshot) {
        if (!Contains(receiver))
            continue;
        if (receiver->OnEvent(event))
            return true;
    }
    return false;
}

bool EventReceiverGroup::Contains(const EventReceiver* receiver) const
{
    return std::find(m_Receivers.begin(), m_Receivers.end(), receiver) != m_Receivers.end();
}
