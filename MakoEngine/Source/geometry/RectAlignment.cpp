#include "geometry/RectAlignment.h"

#include "core/Exception.h"

#include <boost/format.hpp>

namespace {

const char* const kNames[] = {"NoAlignment", "BottomLeft", "BottomRight", "Center",  "MidBottom",
                              "MidLeft",     "MidRight",   "MidTop",      "TopLeft", "TopRight"};

void Place(SDL_Rect& rect, int x, int y)
{
    rect.x = static_cast<Sint16>(x);
    rect.y = static_cast<Sint16>(y);
}

void AlignBottomLeft(SDL_Rect& r, int px, int py)
{
    Place(r, px, py - r.h);
}
void AlignBottomRight(SDL_Rect& r, int px, int py)
{
    Place(r, px - r.w, py - r.h);
}
void AlignCenter(SDL_Rect& r, int px, int py)
{
    Place(r, px - (r.w >> 1), py - (r.h >> 1));
}
void AlignMidBottom(SDL_Rect& r, int px, int py)
{
    Place(r, px - (r.w >> 1), py - r.h);
}
void AlignMidLeft(SDL_Rect& r, int px, int py)
{
    Place(r, px, py - (r.h >> 1));
}
void AlignMidRight(SDL_Rect& r, int px, int py)
{
    Place(r, px - r.w, py - (r.h >> 1));
}
void AlignMidTop(SDL_Rect& r, int px, int py)
{
    Place(r, px - (r.w >> 1), py);
}
void AlignTopLeft(SDL_Rect& r, int px, int py)
{
    Place(r, px, py);
}
void AlignTopRight(SDL_Rect& r, int px, int py)
{
    Place(r, px - r.w, py);
}

Point<int> PointBottomLeft(const SDL_Rect& r)
{
    return {r.x, r.y + r.h};
}
Point<int> PointBottomRight(const SDL_Rect& r)
{
    return {r.x + r.w, r.y + r.h};
}
Point<int> PointCenter(const SDL_Rect& r)
{
    return {r.x + (r.w >> 1), r.y + (r.h >> 1)};
}
Point<int> PointMidBottom(const SDL_Rect& r)
{
    return {r.x + (r.w >> 1), r.y + r.h};
}
Point<int> PointMidLeft(const SDL_Rect& r)
{
    return {r.x, r.y + (r.h >> 1)};
}
Point<int> PointMidRight(const SDL_Rect& r)
{
    return {r.x + r.w, r.y + (r.h >> 1)};
}
Point<int> PointMidTop(const SDL_Rect& r)
{
    return {r.x + (r.w >> 1), r.y};
}
Point<int> PointTopLeft(const SDL_Rect& r)
{
    return {r.x, r.y};
}
Point<int> PointTopRight(const SDL_Rect& r)
{
    return {r.x + r.w, r.y};
}

const RectAligner kAligners[] = {nullptr,        AlignBottomLeft, AlignBottomRight, AlignCenter,
                                 AlignMidBottom, AlignMidLeft,    AlignMidRight,    AlignMidTop,
                                 AlignTopLeft,   AlignTopRight};

const RectAlignmentPointFunc kPoints[] = {
    nullptr,      PointBottomLeft, PointBottomRight, PointCenter,  PointMidBottom,
    PointMidLeft, PointMidRight,   PointMidTop,      PointTopLeft, PointTopRight};

} // namespace

RectAlignment RectAlignmentFromString(const std::string& name)
{
    for (int i = 0; i < 10; ++i)
        if (name == kNames[i])
            return static_cast<RectAlignment>(i);
    std::string known;
    for (int i = 1; i < 10; ++i)
        known += std::string(i == 1 ? "" : i == 9 ? " and " : ", ") + kNames[i];
    MAKO_THROW(Exception, boost::str(boost::format("Cannot create a RectAlignment from string "
                                                   "\"%1%\"\nThe alignments are %2%.") %
                                     name % known));
}

const char* RectAlignmentToString(RectAlignment alignment)
{
    return alignment >= 0 && alignment <= 9 ? kNames[alignment] : nullptr;
}

RectAligner GetRectAligner(RectAlignment alignment)
{
    return alignment >= 1 && alignment <= 9 ? kAligners[alignment] : nullptr;
}

RectAlignmentPointFunc GetRectAlignmentPoint(RectAlignment alignment)
{
    return alignment >= 1 && alignment <= 9 ? kPoints[alignment] : nullptr;
}
