#pragma once
// The nine alignment points of a rectangle and the two function tables actors align by:
// an aligner moves a rectangle so that its alignment point lies on a given point, and an
// alignment-point function gives that point of a rectangle.
#include "geometry/Point.h"
#include "geometry/Rect.h"

#include <cstdint>
#include <string>

enum RectAlignment : std::int32_t {
    NoAlignment = 0,
    BottomLeft = 1,
    BottomRight = 2,
    Center = 3,
    MidBottom = 4,
    MidLeft = 5,
    MidRight = 6,
    MidTop = 7,
    TopLeft = 8,
    TopRight = 9,
};

// Moves rect (keeping w and h) so that its alignment point lies on (px, py).
using RectAligner = void (*)(SDL_Rect& rect, int px, int py);
// The alignment point of rect.
using RectAlignmentPointFunc = Point<int> (*)(const SDL_Rect& rect);

// Exact, case-sensitive match of the ten names; anything else raises an Exception
// "Cannot create a RectAlignment from string \"<text>\"", followed by a line that lists the
// names.
RectAlignment RectAlignmentFromString(const std::string& name);
// The name of an alignment; null outside 0-9.
const char* RectAlignmentToString(RectAlignment alignment);
// Null for NoAlignment and any value outside 1-9.
RectAligner GetRectAligner(RectAlignment alignment);
RectAlignmentPointFunc GetRectAlignmentPoint(RectAlignment alignment);
