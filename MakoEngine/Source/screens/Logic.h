#pragma once
// Logic: the base of a screen's game controller. A screen owns at most one; the screen
// ticks it after its actors and offers it every event that neither the screen's children
// nor the screen itself consumed. Its per-frame work and event handling are those of
// Object: the current state's tick and event entry, so a controller is written as a set
// of named states.
//
// Registered as class "Logic" without an instantiator: scripts cannot make one by name.
// Main thread only.
#include "core/Class.h"
#include "core/Object.h"

class Screen;

class Logic : public Object
{
    MAKO_DECLARE_CLASS();

public:
    Logic() = default;
    ~Logic() override = default;

    // The owning screen (not owned); null until a screen takes the logic.
    Screen* SetScreen(Screen* screen)
    {
        m_Screen = screen;
        return screen;
    }
    Screen* GetScreen() const { return m_Screen; }

private:
    Screen* m_Screen = nullptr;
};
