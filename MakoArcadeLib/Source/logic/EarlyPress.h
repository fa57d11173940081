#pragma once
// The fire button pressed before the ball is held on the paddle (while the level's content
// drops in or while the ball appears), kept so that the press serves the moment the ball is
// there instead of being lost: whether a press came, whether the button has gone up again
// since, and whether a serve was asked for without the button. Main thread only.
struct EarlyPress
{
    bool pressed = false;
    bool released = false;
    bool requested = false;

    void Press()
    {
        pressed = true;
        released = false;
    }
    // A release counts only after a press it belongs to.
    void Release() { released = pressed; }
    void Request() { requested = true; }
    bool Any() const { return pressed || requested; }
    void Clear() { *this = EarlyPress(); }
};
