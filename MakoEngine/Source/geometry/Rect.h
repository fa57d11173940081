#pragma once
// The engine's rectangle is SDL's: x, y signed 16-bit, w, h unsigned 16-bit, in that
// order. The right edge is x + w and the bottom edge y + h (y grows downwards).
#include "luaplus/LuaPlus.h"

#include <SDL.h>

using Rect = SDL_Rect;

// A rectangle from four ints; each is cut to its 16-bit field.
inline SDL_Rect MakeRect(int x, int y, int w, int h)
{
    SDL_Rect r;
    r.x = static_cast<Sint16>(x);
    r.y = static_cast<Sint16>(y);
    r.w = static_cast<Uint16>(w);
    r.h = static_cast<Uint16>(h);
    return r;
}

inline bool RectEquals(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x == b.x && a.y == b.y && a.w == b.w && a.h == b.h;
}

// x, y, w, h from the integer values of entries 1 to 4 of the table.
void SetRectFromLuaObject(SDL_Rect& rect, const LuaPlus::LuaObject& table);
// A new table {x, y, w, h} in the state (null: the engine's script state).
LuaPlus::LuaObject RectToLuaObject(const SDL_Rect& rect, LuaPlus::LuaState* state = nullptr);
