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
    : m_Width(std::max(0, width)), m_Height(std::max(0, height)),
      m_Columns((m_Width + kTile - 1) / kTile), m_Rows((m_Height + kTile - 1) / kTile),
      m_Words(std::size_t((m_Columns + 63) / 64)),
      m_MaxRects(static_cast<std::size_t>(std::max(1, maxRects))),
      m_Bits(m_Words * std::size_t(m_Rows), 0)
{
}

void DirtyRegion::Clear()
{
    if (m_TileCount != 0)
        std::fill(m_Bits.begin(), m_Bits.end(), 0);
    m_TileCount = 0;
    m_Rects.clear();
    m_RectsValid = true;
}

DirtyRegion::TileSpan DirtyRegion::SpanOf(const SDL_Rect& rect) const
{
    const SDL_Rect cut = IntersectRects(rect, MakeRect(0, 0, m_Width, m_Height));
    if (cut.w == 0 || cut.h == 0)
        return TileSpan{0, 0, 0, 0};
    return TileSpan{cut.x / kTile, cut.y / kTile, (cut.x + cut.w - 1) / kTile + 1,
                    (cut.y + cut.h - 1) / kTile + 1};
}

SDL_Rect DirtyRegion::PixelsOf(int left, int top, int right, int bottom) const
{
    const int x = left * kTile, y = top * kTile;
    return MakeRect(x, y, std::min(right * kTile, m_Width) - x,
                    std::min(bottom * kTile, m_Height) - y);
}

std::uint64_t DirtyRegion::WordMask(int left, int right, std::size_t word)
{
    // Bits [left, right) of the row that fall in this word.
    const int first = std::max(left - int(word) * 64, 0);
    const int last = std::min(right - int(word) * 64, 64); // exclusive
    if (first >= last)
        return 0;
    const std::uint64_t upTo = last == 64 ? ~std::uint64_t(0) : (std::uint64_t(1) << last) - 1;
    return upTo & ~((std::uint64_t(1) << first) - 1);
}

int DirtyRegion::Find(int row, int from, int limit, bool inRegion) const
{
    const std::uint64_t* bits = &m_Bits[std::size_t(row) * m_Words];
    while (from < limit) {
        const std::size_t w = std::size_t(from >> 6);
        const std::uint64_t word =
            (inRegion ? bits[w] : ~bits[w]) & (~std::uint64_t(0) << (from & 63));
        if (word != 0)
            return std::min(limit, int(w) * 64 + __builtin_ctzll(word));
        from = int(w + 1) * 64;
    }
    return limit;
}

void DirtyRegion::Add(const SDL_Rect& rect)
{
    const TileSpan s = SpanOf(rect);
    if (s.left == s.right)
        return;
    for (std::size_t w = std::size_t(s.left >> 6); w <= std::size_t((s.right - 1) >> 6); ++w) {
        const std::uint64_t mask = WordMask(s.left, s.right, w);
        for (int row = s.top; row < s.bottom; ++row) {
            std::uint64_t& word = m_Bits[std::size_t(row) * m_Words + w];
            if ((word & mask) == mask)
                continue;
            m_TileCount += __builtin_popcountll(mask & ~word);
            word |= mask;
            m_RectsValid = false;
        }
    }
}

void DirtyRegion::AddWholeScreen()
{
    Add(MakeRect(0, 0, m_Width, m_Height));
}

bool DirtyRegion::Touches(const SDL_Rect& rect) const
{
    if (m_TileCount == 0)
        return false;
    const TileSpan s = SpanOf(rect);
    if (s.left == s.right)
        return false;
    for (std::size_t w = std::size_t(s.left >> 6); w <= std::size_t((s.right - 1) >> 6); ++w) {
        const std::uint64_t mask = WordMask(s.left, s.right, w);
        for (int row = s.top; row < s.bottom; ++row)
            if (m_Bits[std::size_t(row) * m_Words + w] & mask)
                return true;
    }
    return false;
}

bool DirtyRegion::Contains(const SDL_Rect& rect) const
{
    const TileSpan s = SpanOf(rect);
    for (int row = s.top; row < s.bottom; ++row)
        if (Find(row, s.left, s.right, false) != s.right)
            return false;
    return true;
}

void DirtyRegion::Pieces(const SDL_Rect& rect, std::vector<SDL_Rect>& out) const
{
    out.clear();
    if (m_TileCount == 0)
        return;
    const TileSpan s = SpanOf(rect);
    // Runs of the row above still open, and this row's; a run that repeats the one above
    // it exactly carries its piece on, any other closes it.
    std::vector<Run>& open = m_Open;
    std::vector<Run>& next = m_Next;
    open.clear();
    auto close = [&](const Run& run, int bottom) {
        out.push_back(PixelsOf(run.left, run.top, run.right, bottom));
    };
    for (int row = s.top; row <= s.bottom; ++row) {
        next.clear();
        for (int column = s.left; row < s.bottom;) {
            const int left = Find(row, column, s.right, true);
            if (left == s.right)
                break;
            column = Find(row, left, s.right, false);
            next.push_back(Run{left, column, row});
        }
        std::size_t k = 0;
        for (const Run& above : open) {
            while (k < next.size() && next[k].left < above.left)
                ++k;
            if (k < next.size() && next[k].left == above.left && next[k].right == above.right)
                next[k].top = above.top;
            else
                close(above, row);
        }
        open.swap(next);
    }
}

const std::vector<SDL_Rect>& DirtyRegion::GetRects() const
{
    if (m_RectsValid)
        return m_Rects;
    Pieces(MakeRect(0, 0, m_Width, m_Height), m_Rects);
    // Too many: each after the limit joins the one whose box grows least by it.
    while (m_Rects.size() > m_MaxRects) {
        const SDL_Rect last = m_Rects.back();
        m_Rects.pop_back();
        std::size_t best = 0;
        long long bestCost = std::numeric_limits<long long>::max();
        for (std::size_t i = 0; i < m_Rects.size(); ++i) {
            const long long cost = Area(BoundingRect(m_Rects[i], last)) - Area(m_Rects[i]);
            if (cost < bestCost) {
                bestCost = cost;
                best = i;
            }
        }
        m_Rects[best] = BoundingRect(m_Rects[best], last);
        MergeOverlaps(best);
    }
    m_RectsValid = true;
    return m_Rects;
}

long long DirtyRegion::GetArea() const
{
    if (CoversWholeScreen())
        return static_cast<long long>(m_Width) * m_Height;
    if (m_Width % kTile == 0 && m_Height % kTile == 0)
        return static_cast<long long>(m_TileCount) * kTile * kTile;
    long long area = 0;
    for (int row = 0; row < m_Rows; ++row)
        for (int column = 0; column < m_Columns; ++column)
            if (Has(column, row))
                area += Area(PixelsOf(column, row, column + 1, row + 1));
    return area;
}

void DirtyRegion::MergeOverlaps(std::size_t index) const
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
