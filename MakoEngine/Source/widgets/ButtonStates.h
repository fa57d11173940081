#pragma once
// The three states of a Button. Each holds its button; the button owns them through its
// state map. Entering a state shows its frame; the mouse events the state consumes move
// the button between the states (see Button.h for the reports they cause).
#include "core/State.h"

class Button;

namespace ButtonStates {

// At rest: the pointer is elsewhere (or the button was released by a key).
class Active : public State
{
public:
    explicit Active(Button* button) : m_Button(button) {}
    const char* GetName() const override { return "Active"; }
    void OnEnterState() override;
    // A visible button goes to Pressed when its press is still held, else Highlighted.
    bool OnMouseEnter(const Event& event) override;
    // A release outside the button ends a held press without a click.
    bool OnMouseButtonUp(const Event& event) override;
    // A button made visible under the pointer lights up.
    bool OnInternalEvent(const Event& event) override;

private:
    Button* m_Button;
};

// Under the pointer.
class Highlighted : public State
{
public:
    explicit Highlighted(Button* button) : m_Button(button) {}
    const char* GetName() const override { return "Highlighted"; }
    void OnEnterState() override;
    bool OnMouseLeave(const Event& event) override;
    // Any mouse button presses an enabled, visible button.
    bool OnMouseButtonDown(const Event& event) override;

private:
    Button* m_Button;
};

// Held down: children are shifted by the press offset while in this state.
class Pressed : public State
{
public:
    explicit Pressed(Button* button) : m_Button(button) {}
    const char* GetName() const override { return "Pressed"; }
    // Marks the press, shows frame 3, shifts the children and reports MAKO_BUTTONPRESS.
    void OnEnterState() override;
    void OnExitState() override;
    // Leaving keeps the press, so coming back before the release presses again.
    bool OnMouseLeave(const Event& event) override;
    // A release inside clicks.
    bool OnMouseButtonUp(const Event& event) override;

private:
    Button* m_Button;
};

} // namespace ButtonStates
