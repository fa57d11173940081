#pragma once
// The three states of anything the pointer presses like a button: "Active" (the pointer
// elsewhere), "Highlighted" (under the pointer) and "Pressed" (a mouse button held on it).
// AddPressStates files them with the object; the object owns them through its state map.
// The mouse events the states consume move the object between them; what each state looks
// like, and what a click does, the object says through PressTarget. Main thread only.
//
// A press and a release are judged at the place each carries, when it arrives: a press
// on the object presses it even when the pointer's move onto it is still only posted (the
// move, the press and the release often come in one pass), and a press elsewhere leaves
// it to what lies there even while the object is still lit. A release on the object of a
// held press clicks; a release elsewhere drops the press without a click (a press dragged
// off and let go is cancelled, also when the move off came in the same pass). A step of
// the mouse wheel is neither a press nor a release.
#include "core/State.h"

class Actor;
class HoverState;

// What the press states ask of the object they drive.
class PressTarget
{
public:
    enum PressState { PRESS_ACTIVE, PRESS_HIGHLIGHTED, PRESS_PRESSED };

    // Whether the pointer coming over it lights it up (or presses it again).
    virtual bool CanHighlight() const = 0;
    // Whether a mouse button may press it, and a release on it click.
    virtual bool CanPress() const = 0;
    // Shows the look of a state as it becomes current (the press is already marked held
    // when PRESS_PRESSED is entered); undoes what entering did as it stops being current.
    virtual void EnterPressState(PressState state) = 0;
    virtual void LeavePressState(PressState) {}
    // A release on it ended a press (the press is still marked held while this runs).
    virtual void Click() = 0;
    // Whether it lights up when made visible under a resting pointer: true asks that the
    // pointer be over it now.
    virtual bool IsPointerOverWhenShown() const { return false; }

    // Whether a press is held: set on entering Pressed, kept while the pointer leaves, so
    // coming back before the release presses again; cleared by a release anywhere.
    bool IsPressHeld() const { return m_PressHeld; }
    // For the states, and for an object that also presses and releases by key.
    void SetPressHeld(bool held) { m_PressHeld = held; }

protected:
    ~PressTarget() = default;

private:
    bool m_PressHeld = false;
};

// Files the three states with `owner`, which is the object `target` speaks for; `hover`
// is the owner's pointer tracking, which the states move to the place of every press and
// release they judge. All three outlive the states (the owner owns them).
void AddPressStates(Actor& owner, PressTarget& target, HoverState& hover);
