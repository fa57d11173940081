#pragma once
// The part of the screen to redraw and present in one frame, as a short list of
// rectangles that never overlap (a pixel inside two would be drawn twice, and a
// translucent drawing blended twice). Rectangles added are cut to the screen; overlapping
// ones are merged into their bounding box, and once the list is full a new rectangle joins
// the one whose box grows least by it, so the list stays short at the cost of some pixels
// drawn that did not change. Adding costs time in proportion to the list's length.
// Main thread only.
#include <SDL.h>

#include <vector>

class DirtyRegion
{
public:
    // A region of a width x height screen holding at most maxRects rectangles.
    DirtyRegion(int width, int height, int maxRects);

    void Clear() { m_Rects.clear(); }
    // Adds the rectangle (empty ones and parts off the screen are ignored).
    void Add(const SDL_Rect& rect);
    void AddWholeScreen();
    bool IsEmpty() const { return m_Rects.empty(); }
    bool CoversWholeScreen() const;
    // True when the rectangle shares a pixel with the region.
    bool Touches(const SDL_Rect& rect) const;
    // Disjoint rectangles inside the screen.
    const std::vector<SDL_Rect>& GetRects() const MAKO_LIFETIMEBOUND { return m_Rects; }
    // Pixels inside the region.
    long long GetArea() const;

private:
    // Merges rectangle `index` with every one it overlaps until none does.
    void MergeOverlaps(std::size_t index);

    int m_Width;
    int m_Height;
    std::size_t m_MaxRects;
    std::vector<SDL_Rect> m_Rects;
};
