#include "logic/ArcadeState.h"

bool ArcadeState::HandleEvent(const Event& event)
{
    if (RouteEvent(event))
        return true;
    return HandleArcadeEvent(event);
}
