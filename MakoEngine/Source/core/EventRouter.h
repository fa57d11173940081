#pragma once
// Typed dispatch of events: RouteEvent turns an event's type code into the call of one
// handler. Every handler returns false (not consumed) unless a subclass overrides it.
// Codes without a handler (9-11, 14, 15, 18-23, the routed wrapper 25, 54 and above) are
// not consumed; subclasses may override RouteEvent to dispatch further codes after calling
// the base version.
#include "core/Event.h"

class EventRouter
{
public:
    virtual ~EventRouter() = default;
    virtual bool RouteEvent(const Event& event);

    virtual bool OnActiveEvent(const Event& event) { return false; }
    virtual bool OnKeyDown(const Event& event) { return false; }
    virtual bool OnKeyUp(const Event& event) { return false; }
    virtual bool OnMouseMotion(const Event& event) { return false; }
    virtual bool OnMouseButtonDown(const Event& event) { return false; }
    virtual bool OnMouseButtonUp(const Event& event) { return false; }
    virtual bool OnJoyAxisMotion(const Event& event) { return false; }
    virtual bool OnJoyBallMotion(const Event& event) { return false; }
    virtual bool OnQuit() { return false; }
    virtual bool OnSysWMEvent(const Event& event) { return false; }
    virtual bool OnVideoResize(const Event& event) { return false; }
    virtual bool OnVideoExpose(const Event& event) { return false; }
    virtual bool OnUserEvent(const Event& event) { return false; }
    virtual bool OnAnimEvent(const Event& event) { return false; }
    virtual bool OnAppQuit(const Event& event) { return false; }
    virtual bool OnButtonPress(const Event& event) { return false; }
    virtual bool OnButtonClick(const Event& event) { return false; }
    virtual bool OnCardClick(const Event& event) { return false; }
    virtual bool OnChildGroupAdded(void* data1) { return false; }
    virtual bool OnConfigUpdate(const Event& event) { return false; }
    virtual bool OnDialogStarted(const Event& event) { return false; }
    virtual bool OnDialogStopped(const Event& event) { return false; }
    virtual bool OnDialogDelete(const Event& event) { return false; }
    virtual bool OnDisplayChange(const Event& event) { return false; }
    virtual bool OnGameRecordsAdded(const Event& event) { return false; }
    virtual bool OnHighScoresUpdated(const Event& event) { return false; }
    virtual bool OnInternalEvent(const Event& event) { return false; }
    virtual bool OnLabelRender(const Event& event) { return false; }
    virtual bool OnMedalClick(const Event& event) { return false; }
    virtual bool OnMouseEnter(const Event& event) { return false; }
    virtual bool OnMouseLeave(const Event& event) { return false; }
    virtual bool OnPauseApp(const Event& event) { return false; }
    virtual bool OnPauseGame(const Event& event) { return false; }
    virtual bool OnPlayerChange(const Event& event) { return false; }
    virtual bool OnScreenChange(const Event& event) { return false; }
    virtual bool OnSlideComplete(const Event& event) { return false; }
    virtual bool OnTimer(const Event& event) { return false; }
    virtual bool OnValueChange(const Event& event) { return false; }
    virtual bool OnResetWindow(const Event& event) { return false; }
    virtual bool OnReload(const Event& event) { return false; }
    virtual bool OnSelect(const Event& event) { return false; }

private:
    // The engine's own event codes (MAKO_...); false for a code without a handler.
    bool RouteEngineEvent(const Event& event);
};
