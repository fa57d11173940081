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
// It acts only while the target's state is Playing, WaitForSpawn, AllBallsLost or
// LevelCompleted, and never while exactly one Alt key is held (those keys belong to the
// controller). Main thread only.
#include "core/Event.h"

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
    static bool Accepts(const Event& event, Object* target);
    void SendButton(Object* target, bool pressed) const;

    double m_MoveX = 0.0;
    double m_MoveY = 0.0;
    bool m_ButtonDown = false;
};
