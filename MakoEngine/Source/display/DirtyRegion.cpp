#include "display/DirtyRegion.h"

#include "core/Exception.h"
#include "geometry/Rect.h"

#include <algorithm>
#include <limits>

namespace {

long long Area(const SDL_Rect& r)
{
    return static_cast<long long>(r.w) * r.h;
}

} // namespace

DirtyRegion::DirtyRegion(int width, int height, int maxRects)
    : m_Width(width), m_Height(height), m_MaxRects(static_cast<std::size_t>(std::max(1, maxRects)))
{
    m_Rects.reserve(m_MaxRects + 1);
}

void DirtyRegion::Add(const SDL_Rect& rect)
{
    const SDL_Rect cut = IntersectRects(rect, MakeRect(0, 0, m_Width, m_Height));
    if (cut.w == 0)
        return;
    for (const SDL_Rect& r : m_Rects)
        if (RectEquals(IntersectRects(r, cut), cut))
            return; // already inside
    if (m_Rects.size() < m_MaxRects) {
        m_Rects.push_back(cut);
        MergeOverlaps(m_Rects.size() - 1);
        return;
    }
    // Full: the rectangle joins the one whose box grows least by it.
    std::size_t best = 0;
    long long bestCost = std::numeric_limits<long long>::max();
    for (std::size_t i = 0; i < m_Rects.size(); ++i) {
        const long long cost = Area(BoundingRect(m_Rects[i], cut)) - Area(m_Rects[i]);
        if (cost < bestCost) {
            bestCost = cost;
            best = i;
        }
    }
    m_Rects[best] = BoundingRect(m_Rects[best], cut);
    MergeOverlaps(best);
}

void DirtyRegion::AddWholeScreen()
{
    m_Rects.clear();
    m_Rects.push_back(MakeRect(0, 0, m_Width, m_Height));
}

bool DirtyRegion::CoversWholeScreen() const
{
    return m_Rects.size() == 1 && m_Rects[0].x == 0 && m_Rects[0].y == 0 &&
           m_Rects[0].w == m_Width && m_Rects[0].h == m_Height;
}

bool DirtyRegion::Touches(const SDL_Rect& rect) const
{
    for (const SDL_Rect& r : m_Rects)
        if (RectsOverlap(r, rect))
            return true;
    return false;
}

long long DirtyRegion::GetArea() const
{
    long long area = 0;
    for (const SDL_Rect& r : m_Rects)
        area += Area(r);
    return area;
}

void DirtyRegion::MergeOverlaps(std::size_t index)
{
    // A merged box can reach rectangles its parts did not: go on until it touches none.
    bool merged = true;
    while (merged) {
        merged = false;
        for (std::size_t i = 0; i < m_Rects.size(); ++i) {
            if (i == index || !RectsOverlap(m_Rects[i], m_Rects[index]))
                continue;
            m_Rects[index] = BoundingRect(m_Rects[index], m_Rects[i]);
            m_Rects.erase(m_Rects.begin() + static_cast<std::ptrdiff_t>(i));
            if (i < index)
                --index;
            merged = true;
            break;
        }
    }
}
