#include "core/EventRouter.h"

// SDL's own events; the engine's go on to RouteEngineEvent.
bool EventRouter::RouteEvent(const Event& event)
{
    switch (event.type) {
    case SDL_ACTIVEEVENT:
        return OnActiveEvent(event);
    case SDL_KEYDOWN:
        return OnKeyDown(event);
    case SDL_KEYUP:
        return OnKeyUp(event);
    case SDL_MOUSEMOTION:
        return OnMouseMotion(event);
    case SDL_MOUSEBUTTONDOWN:
        return OnMouseButtonDown(event);
    case SDL_MOUSEBUTTONUP:
        return OnMouseButtonUp(event);
    case SDL_JOYAXISMOTION:
        return OnJoyAxisMotion(event);
    case SDL_JOYBALLMOTION:
        return OnJoyBallMotion(event);
    case SDL_QUIT:
        return OnQuit();
    case SDL_SYSWMEVENT:
        return OnSysWMEvent(event);
    case SDL_VIDEORESIZE:
        return OnVideoResize(event);
    case SDL_VIDEOEXPOSE:
        return OnVideoExpose(event);
    case SDL_USEREVENT:
        return OnUserEvent(event);
    default:
        return RouteEngineEvent(event);
    }
}

bool EventRouter::RouteEngineEvent(const Event& event)
{
    switch (event.type) {
    case MAKO_ANIMEVENT:
        return OnAnimEvent(event);
    case MAKO_APPQUIT:
        return OnAppQuit(event);
    case MAKO_BUTTONPRESS:
        return OnButtonPress(event);
    case MAKO_BUTTONCLICK:
        return OnButtonClick(event);
    case MAKO_CARDCLICK:
        return OnCardClick(event);
    case MAKO_CHILDGROUPADDED:
        return OnChildGroupAdded(event.user.data1);
    case MAKO_CONFIGUPDATE:
        return OnConfigUpdate(event);
    case MAKO_DIALOGSTARTED:
        return OnDialogStarted(event);
    case MAKO_DIALOGSTOPPED:
        return OnDialogStopped(event);
    case MAKO_DIALOGDELETE:
        return OnDialogDelete(event);
    case MAKO_DISPLAYCHANGE:
        return OnDisplayChange(event);
    case MAKO_GAMERECORDSADDED:
        return OnGameRecordsAdded(event);
    case MAKO_HIGHSCORESUPDATED:
        return OnHighScoresUpdated(event);
    case MAKO_INTERNALEVENT:
        return OnInternalEvent(event);
    case MAKO_LABELRENDER:
        return OnLabelRender(event);
    case MAKO_MEDALCLICK:
        return OnMedalClick(event);
    case MAKO_MOUSEENTER:
        return OnMouseEnter(event);
    case MAKO_MOUSELEAVE:
        return OnMouseLeave(event);
    case MAKO_PAUSEAPP:
        return OnPauseApp(event);
    case MAKO_PAUSEGAME:
        return OnPauseGame(event);
    case MAKO_PLAYERCHANGE:
        return OnPlayerChange(event);
    case MAKO_SCREENCHANGE:
        return OnScreenChange(event);
    case MAKO_SLIDECOMPLETE:
        return OnSlideComplete(event);
    case MAKO_TIMER:
        return OnTimer(event);
    case MAKO_VALUECHANGE:
        return OnValueChange(event);
    case MAKO_RESETWINDOW:
        return OnResetWindow(event);
    case MAKO_RELOAD:
        return OnReload(event);
    case MAKO_SELECT:
        return OnSelect(event);
    default:
        return false;
    }
}
