#pragma once
// The engine's rectangle is SDL's: x, y signed 16-bit, w, h unsigned 16-bit, in that
// order. The right edge is x + w and the bottom edge y + h (y grows downwards).
#include "geometry/Point.h"
#include "luaplus/LuaPlus.h"

#include <SDL.h>

using Rect = SDL_Rect;

// The ranges of the rectangle's fields.
constexpr int kRectCoordinateMin = -32768;
constexpr int kRectCoordinateMax = 32767;
constexpr int kRectExtentMax = 65535;

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

// The part of a inside b; 0 x 0 at (0, 0) when they share no pixel.
inline SDL_Rect IntersectRects(const SDL_Rect& a, const SDL_Rect& b)
{
    const int left = a.x > b.x ? a.x : b.x;
    const int top = a.y > b.y ? a.y : b.y;
    const int right = a.x + a.w < b.x + b.w ? a.x + a.w : b.x + b.w;
    const int bottom = a.y + a.h < b.y + b.h ? a.y + a.h : b.y + b.h;
    if (left >= right || top >= bottom)
        return MakeRect(0, 0, 0, 0);
    return MakeRect(left, top, right - left, bottom - top);
}

// Whether two rectangles share a pixel.
inline bool RectsOverlap(const SDL_Rect& a, const SDL_Rect& b)
{
    return a.x < b.x + b.w && b.x < a.x + a.w && a.y < b.y + b.h && b.y < a.y + a.h;
}

// The smallest rectangle holding both.
inline SDL_Rect BoundingRect(const SDL_Rect& a, const SDL_Rect& b)
{
    const int left = a.x < b.x ? a.x : b.x;
    const int top = a.y < b.y ? a.y : b.y;
    const int right = a.x + a.w > b.x + b.w ? a.x + a.w : b.x + b.w;
    const int bottom = a.y + a.h > b.y + b.h ? a.y + a.h : b.y + b.h;
    return MakeRect(left, top, right - left, bottom - top);
}

// x, y, w, h from entries 1 to 4 of the table (or its fields x, y, w, h), each a number (or a
// function giving one) truncated toward zero. A value a field cannot hold (x, y outside
// -32768..32767, w, h outside 0..65535) is refused, as is a missing entry; the messages name the
// rectangle by `name` when given. The rectangle is unchanged on failure.
void SetRectFromLuaObject(SDL_Rect& rect, const LuaPlus::LuaObject& table,
                          const char* name = nullptr);
// A new table {x, y, w, h} in the state (null: the engine's script state).
LuaPlus::LuaObject RectToLuaObject(const SDL_Rect& rect, LuaPlus::LuaState* state = nullptr);

// The size of a rectangle from a script table {w = .., h = ..}, {x = .., y = ..} or
// {.., ..}: each a number (or a function giving one), truncated toward zero, in 0..65535.
// Failures name the size by `name` ("The size \"size\" needs a number for \"h\".").
Point<int> ReadRectSize(const LuaPlus::LuaObject& value, const char* name);
// The position of a rectangle: a point (any form SetPoint reads) whose coordinates lie
// in -32768..32767. Failures name the point by `name`.
Point<int> ReadRectPosition(const LuaPlus::LuaObject& value, const char* name);
