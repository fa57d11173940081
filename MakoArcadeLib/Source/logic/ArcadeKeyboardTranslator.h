#pragma once
// Lets the keyboard stand in for the mouse while a level is in play: fire keys become
// left-button presses and releases, motion keys a relative pointer motion sent once per
// frame. The synthetic events are SDL mouse records at (0, 0) handed straight to the
// target's event entry (the controller's OnEvent, so its current state sees them first),
// and so take the same paths as real ones.
//
// Fire keys: keypad 5, Return, a, Up, Down (keypad Enter too, but only on release).
// Motion keys: keypad 4 / Left / h -15, keypad 6 / Right / l +15, g -45, ; +45, j -3, k +3
// in x; keypad 8 -15, keypad 2 +15 in y. Pressing a motion key sets its step at once;
// releasing one re-derives the step from the keys still held (SDL's key-state array), so
// holding Left and pressing Right moves right until Right is let go. Shift doubles the
// frame's step, Ctrl then halves it.
//
// It acts only while the target's state is Playing, BrickDrop (a press there is kept for
// the serve), WaitForSpawn, AllBallsLost or LevelCompleted, and never on a press while exactly one
// Alt key is held (those keys belong to the controller and the window's shortcuts). A release
// belongs to its press: only a key whose press the translator heard while it acted lets go of the
// button or re-derives a step, and "held" means pressed in play, not yet released, and down in
// SDL's key state. So the release of a shortcut's key (Return of Alt+Return, whether Alt goes up
// first or the rebuilt window reports no modifiers) or of a key pressed before play never reaches
// play. Main thread only.
#include "core/Event.h"

#include <SDL.h>

#include <bitset>
#include <cstddef>
#include <utility>

class Object;

class ArcadeKeyboardTranslator
{
public:
    ArcadeKeyboardTranslator() = default;
    virtual ~ArcadeKeyboardTranslator() = default;

    // True when the key was one of the translator's (and it acted on it).
    virtual bool OnKeyDown(const Event& event, Object* target);
    virtual bool OnKeyUp(const Event& event, Object* target);
    // Once per frame: the held motion step as one pointer motion, if any.
    virtual void Update(Object* target);

    double GetMoveX() const { return m_MoveX; }
    double GetMoveY() const { return m_MoveY; }
    bool IsButtonDown() const { return m_ButtonDown; }

private:
    // Whether the target is in a state in which keys move the paddle.
    static bool IsActiveFor(Object* target);
    void SendButton(Object* target, bool pressed) const;
    // Whether the key was pressed in play, is not yet released, and SDL has it down.
    bool IsHeld(int key) const;
    // Whether a key of the table is held.
    template <std::size_t N> bool AnyHeld(const int (&keys)[N]) const;
    template <std::size_t N> double HeldStep(const std::pair<int, double> (&table)[N]) const;

    // The keys whose press the translator heard while it acted, until their release.
    std::bitset<SDLK_LAST> m_Held;

    double m_MoveX = 0.0;
    double m_MoveY = 0.0;
    bool m_ButtonDown = false;
};
