#pragma once
// What the widgets read of the user's input beyond the events they are offered: the
// pointer position, the Alt test of the keyboard rows and the application's key-tip flag.
// The per-pass click latch of buttons (ButtonClickLatch, declared with Button) lives here
// too: the main loop opens it, buttons close it.
#include "core/Event.h"
#include "geometry/Point.h"

#include <SDL.h>

namespace WidgetInput {

// The pointer in screen coordinates: the application host's mouse position; without a
// host, SDL's when its video part runs, else (-1, -1), a point outside every widget.
Point<int> GetPointerPosition();

// Whether a mouse button event is a turn of the wheel (SDL reports each step as a press
// and a release of button 4 or 5): widgets take it as no press at all.
bool IsWheelStep(const Event& event);

// True when the modifiers, Num Lock and Caps Lock left aside, are exactly one Alt key
// (left or right); any other combination is not Alt.
bool IsAltOnly(SDLMod modifiers);

// The application host's key-tip flag (Alt held long enough); false without a host.
bool AreKeyTipsArmed();

} // namespace WidgetInput
