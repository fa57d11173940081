#include "scene/ArcadeEventHandler.h"

bool ArcadeEventHandler::HandleArcadeEvent(const Event& event)
{
    switch (event.type) {
    case ARCADE_ANIMFINISH:
        return OnAnimFinish(event);
    case ARCADE_PADDLEUPDATE:
        return OnPaddleUpdate(event);
    case ARCADE_EVENT56:
        return OnArcadeEvent56(event);
    case ARCADE_POINTERMOVE:
        return OnPointerMove(event);
    case ARCADE_RESTARTGAME:
        return OnRestartGame(event);
    case ARCADE_BUTTONUP:
        return OnButtonUp(event);
    case ARCADE_BUTTONDOWN:
        return OnButtonDown(event);
    case ARCADE_SERVE:
        return OnServe(event);
    case ARCADE_EVENT62:
        return OnArcadeEvent62(event);
    default:
        return false;
    }
}
