#pragma once
// The nine play-field event handlers (event types 54 to 62) that play-field actors,
// states and some screens carry as a second base. Every handler returns false (not
// consumed) unless overridden; the event-handling entry of a class that carries the
// interface offers events to HandleArcadeEvent first.
#include "core/Event.h"

enum ArcadeEventType : std::uint8_t {
    ARCADE_ANIMFINISH = 54, // an animation actor ended; data1 the actor
    ARCADE_PADDLEUPDATE = 55,
    ARCADE_EVENT56 = 56,
    ARCADE_POINTERMOVE = 57, // data1, data2: relative x and y movement
    ARCADE_RESTARTGAME = 58,
    ARCADE_BUTTONUP = 59,
    ARCADE_BUTTONDOWN = 60,
    ARCADE_SERVE = 61,
    ARCADE_EVENT62 = 62,
};

class ArcadeEventHandler
{
public:
    virtual ~ArcadeEventHandler() = default;

    // Calls the handler of an event of type 54 to 62 and returns its answer; any other
    // type is not consumed.
    bool HandleArcadeEvent(const Event& event);

    virtual bool OnAnimFinish(const Event& event) { return false; }
    virtual bool OnPaddleUpdate(const Event& event) { return false; }
    virtual bool OnArcadeEvent56(const Event& event) { return false; }
    virtual bool OnPointerMove(const Event& event) { return false; }
    virtual bool OnRestartGame(const Event& event) { return false; }
    virtual bool OnButtonUp(const Event& event) { return false; }
    virtual bool OnButtonDown(const Event& event) { return false; }
    virtual bool OnServe(const Event& event) { return false; }
    virtual bool OnArcadeEvent62(const Event& event) { return false; }
};
