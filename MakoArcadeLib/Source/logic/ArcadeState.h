#pragma once
// The base of the game controller's states: a State whose event entry first routes the
// engine's own event types to their typed handlers and then the play-field events
// (54 to 62) to the arcade operations. Each state holds the controller it belongs to.
#include "core/State.h"
#include "scene/ArcadeEventHandler.h"

class ArcadeGameLogic;

class ArcadeState : public State, public ArcadeEventHandler
{
public:
    explicit ArcadeState(ArcadeGameLogic* logic) : m_Logic(logic) {}

    bool HandleEvent(const Event& event) override;

protected:
    ArcadeGameLogic* m_Logic; // not owned; outlives the state
};
