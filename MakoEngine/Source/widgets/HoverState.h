#pragma once
// Hover detection shared by the widgets that light up under the pointer (everything
// pressed like a button, and the scroll bar's thumb). A widget asks on every mouse-motion
// event it is offered, on every mouse press and release it judges (at the place the press
// or release carries), and on every tick in which its geometry or visibility changed (or
// a re-check was asked for); when the pointer enters or leaves the widget's rectangle,
// MAKO_MOUSEENTER or MAKO_MOUSELEAVE (data1 = the widget as its Object) is posted to the
// widget itself.
//
// The entry and the leave are posted, so they arrive after every input event of the same
// pass; IsMouseOver (and Track's answer) already tells where the pointer is. A widget that
// takes presses decides with Track at the press's own place, never by whether the posted
// entry has arrived.
#include "geometry/Rect.h"

class Actor;

class HoverState
{
public:
    // Remembers the actor's rectangle and visibility as they are now.
    explicit HoverState(const Actor& actor);

    // Whether the screen point lies on the actor: 0 <= x < width, 0 <= y < height in the
    // actor's coordinates. Every widget that takes the pointer tests with it.
    static bool Contains(const Actor& actor, int x, int y);
    // Tests the screen point against the actor (Contains) and posts the change, if any.
    void Update(Actor& actor, int x, int y);
    // Update, then whether the point is over the actor.
    bool Track(Actor& actor, int x, int y)
    {
        Update(actor, x, y);
        return m_MouseOver;
    }
    // The tick's check: when the rectangle or visibility differs from the remembered ones,
    // or a re-check is due, tests the pointer position and remembers the new geometry.
    void CheckOnTick(Actor& actor);
    void RequestRecheck() { m_RecheckHover = true; }
    bool IsMouseOver() const { return m_MouseOver; }

private:
    bool m_MouseOver = false;
    SDL_Rect m_LastRect;
    bool m_LastVisible;
    bool m_RecheckHover = true;
};
