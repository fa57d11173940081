#pragma once
// The SDL input events tests drive widgets, screens and the game with, built as SDL hands
// them over: a press or release of the left button carries the pointer's place, a key
// event its symbol, modifiers and Unicode value.
#include "core/Event.h"

#include <SDL.h>

#include <cstdint>

namespace bbtest {

inline Event MouseMotion(int x, int y, int xrel = 0, int yrel = 0)
{
    Event e{};
    e.motion.type = SDL_MOUSEMOTION;
    e.motion.x = static_cast<Uint16>(x);
    e.motion.y = static_cast<Uint16>(y);
    e.motion.xrel = static_cast<Sint16>(xrel);
    e.motion.yrel = static_cast<Sint16>(yrel);
    return e;
}

// A press (SDL_MOUSEBUTTONDOWN) or release (SDL_MOUSEBUTTONUP) of the left button.
inline Event MouseButton(std::uint8_t type, int x, int y)
{
    Event e{};
    e.button.type = type;
    e.button.button = SDL_BUTTON_LEFT;
    e.button.state = type == SDL_MOUSEBUTTONDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.button.x = static_cast<Uint16>(x);
    e.button.y = static_cast<Uint16>(y);
    return e;
}

inline Event MouseDown(int x, int y)
{
    return MouseButton(SDL_MOUSEBUTTONDOWN, x, y);
}

inline Event MouseUp(int x, int y)
{
    return MouseButton(SDL_MOUSEBUTTONUP, x, y);
}

// A key going down (SDL_KEYDOWN) or up (SDL_KEYUP).
inline Event KeyEvent(std::uint8_t type, SDLKey key, SDLMod mod = KMOD_NONE,
                      std::uint16_t unicode = 0)
{
    Event e{};
    e.key.type = type;
    e.key.state = type == SDL_KEYDOWN ? SDL_PRESSED : SDL_RELEASED;
    e.key.keysym.sym = key;
    e.key.keysym.mod = mod;
    e.key.keysym.unicode = unicode;
    return e;
}

inline Event KeyDown(SDLKey key, SDLMod mod = KMOD_NONE, std::uint16_t unicode = 0)
{
    return KeyEvent(SDL_KEYDOWN, key, mod, unicode);
}

inline Event KeyUp(SDLKey key, SDLMod mod = KMOD_NONE)
{
    return KeyEvent(SDL_KEYUP, key, mod);
}

} // namespace bbtest
