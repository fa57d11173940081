#pragma once
// The part of the screen to redraw and present in one frame. It is kept as a set of
// kTile x kTile tiles (those at the right and bottom edges cut to the screen): a rectangle
// added marks every tile it reaches, so the region holds what was added and at most a
// few pixels around it, however many small things moved and wherever they are, and never
// the empty space between them. Rectangles added are cut to the screen first.
//
// Drawing asks for the region's pieces under each call (Pieces): disjoint tile-aligned
// rectangles, so no pixel is blended twice. Presenting asks for the whole region as at
// most maxRects disjoint rectangles (GetRects), which may hold a little more than the
// region once there would be more of them than that. Main thread only.
#include <SDL.h>

#include <cstdint>
#include <vector>

class DirtyRegion
{
public:
    // The side of a tile, in pixels.
    static constexpr int kTile = 8;

    // A region of a width x height screen presented as at most maxRects rectangles.
    DirtyRegion(int width, int height, int maxRects);

    void Clear();
    // Adds the rectangle (empty ones and parts off the screen are ignored).
    void Add(const SDL_Rect& rect);
    void AddWholeScreen();
    bool IsEmpty() const { return m_TileCount == 0; }
    bool CoversWholeScreen() const { return m_TileCount == m_Columns * m_Rows; }
    // True when the region holds at least sixteenths/16 of the screen's tiles.
    bool HoldsShare(long long sixteenths) const
    {
        return 16LL * m_TileCount >= sixteenths * m_Columns * m_Rows;
    }
    // True when the rectangle shares a tile with the region.
    bool Touches(const SDL_Rect& rect) const;
    // True when every tile the rectangle reaches on the screen is in the region.
    bool Contains(const SDL_Rect& rect) const;
    // The region inside the tiles the rectangle reaches, as disjoint tile-aligned
    // rectangles cut to the screen, top to bottom (out is cleared first).
    void Pieces(const SDL_Rect& rect, std::vector<SDL_Rect>& out) const;
    // Disjoint rectangles inside the screen, at most maxRects, holding the region.
    const std::vector<SDL_Rect>& GetRects() const MAKO_LIFETIMEBOUND;
    // Pixels inside the region.
    long long GetArea() const;

private:
    // A run of tiles in one row, [left, right), and the row its piece began in.
    struct Run
    {
        int left, right, top;
    };
    struct TileSpan
    {
        int left, top, right, bottom; // tiles, right and bottom exclusive; empty: left == right
    };
    // The tiles the rectangle reaches on the screen.
    TileSpan SpanOf(const SDL_Rect& rect) const;
    bool Has(int column, int row) const
    {
        return (m_Bits[std::size_t(row) * m_Words + std::size_t(column >> 6)] >> (column & 63)) &
               1u;
    }
    // The first column in [from, limit) of the row whose tile is in the region (inRegion)
    // or out of it (not inRegion); limit when there is none. Word by word.
    int Find(int row, int from, int limit, bool inRegion) const;
    // The bits of tiles [left, right) in word `word` of a row.
    static std::uint64_t WordMask(int left, int right, std::size_t word);
    // The pixels of tiles [left, right) x [top, bottom), cut to the screen.
    SDL_Rect PixelsOf(int left, int top, int right, int bottom) const;
    // Merges rectangle `index` of m_Rects with every one it overlaps until none does.
    void MergeOverlaps(std::size_t index) const;

    int m_Width;
    int m_Height;
    int m_Columns;
    int m_Rows;
    std::size_t m_Words; // 64-bit words a row of tiles takes
    std::size_t m_MaxRects;
    int m_TileCount = 0;
    std::vector<std::uint64_t> m_Bits;
    // GetRects' answer, made when first asked for after a change.
    mutable std::vector<SDL_Rect> m_Rects;
    mutable bool m_RectsValid = true;
    mutable std::vector<Run> m_Open, m_Next; // scratch of Pieces
};
