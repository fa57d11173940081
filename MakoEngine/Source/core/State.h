#pragma once
// A named state of an Object (core/Object.h). While it is the object's current state it
// sees the object's events and ticks before the object does. Owned by the object from
// Object::AddState until the object dies.
#include "core/EventRouter.h"

class State : public EventRouter
{
public:
    // The name the state is filed under; every concrete state supplies it. The text must
    // stay valid as long as the state lives.
    virtual const char* GetName() const = 0;
    ~State() override = default;
    // Called when the state becomes current, and when it stops being current.
    virtual void OnEnterState() {}
    virtual void OnExitState() {}
    // Called each pass while the state is current.
    virtual void Tick() {}
    // The state's own routing; true when the event was consumed.
    virtual bool HandleEvent(const Event& event) { return RouteEvent(event); }
};
