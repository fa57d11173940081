// The region a frame redraws: what drawing is told to cover under each call, and how much
// of the screen it holds when many small things move apart.
#include "display/DirtyRegion.h"
#include "geometry/Rect.h"

#include <gtest/gtest.h>

#include <random>
#include <vector>

namespace {

const int kWidth = 640, kHeight = 480;

// The tiles a rectangle reaches, on a plain grid of booleans: the oracle.
void MarkTiles(std::vector<char>& tiles, const SDL_Rect& r)
{
    const int t = DirtyRegion::kTile, columns = kWidth / t;
    const SDL_Rect cut = IntersectRects(r, MakeRect(0, 0, kWidth, kHeight));
    if (cut.w == 0)
        return;
    for (int y = cut.y / t; y <= (cut.y + cut.h - 1) / t; ++y)
        for (int x = cut.x / t; x <= (cut.x + cut.w - 1) / t; ++x)
            tiles[std::size_t(y * columns + x)] = 1;
}

SDL_Rect RandomRect(std::mt19937& random, int most)
{
    return MakeRect(int(random() % 720) - 40, int(random() % 560) - 40,
                    int(random() % std::uint32_t(most)), int(random() % std::uint32_t(most)));
}

} // namespace

// Pieces under random calls over random regions: disjoint, inside the screen, and exactly
// the region's tiles the call reaches, each covered once.
TEST(DirtyRegionPieces, CoverTheRegionUnderACallOnceAndNothingElse)
{
    std::mt19937 random(11);
    const int t = DirtyRegion::kTile, columns = kWidth / t;
    std::vector<SDL_Rect> pieces;
    for (int round = 0; round < 200; ++round) {
        DirtyRegion region(kWidth, kHeight, 48);
        std::vector<char> tiles(std::size_t(columns * (kHeight / t)), 0);
        const int adds = int(random() % 30);
        for (int i = 0; i < adds; ++i) {
            const SDL_Rect r = RandomRect(random, round % 2 ? 40 : 200);
            region.Add(r);
            MarkTiles(tiles, r);
        }
        for (int call = 0; call < 10; ++call) {
            const SDL_Rect under = RandomRect(random, 300);
            std::vector<char> reached(tiles.size(), 0);
            MarkTiles(reached, under);
            region.Pieces(under, pieces);
            std::vector<int> covered(tiles.size(), 0);
            for (const SDL_Rect& p : pieces) {
                ASSERT_TRUE(p.w > 0 && p.h > 0 && p.x % t == 0 && p.y % t == 0);
                ASSERT_LE(p.x + p.w, kWidth);
                ASSERT_LE(p.y + p.h, kHeight);
                for (int y = p.y / t; y < (p.y + p.h) / t; ++y)
                    for (int x = p.x / t; x < (p.x + p.w) / t; ++x)
                        ++covered[std::size_t(y * columns + x)];
            }
            for (std::size_t i = 0; i < tiles.size(); ++i)
                ASSERT_EQ(covered[i], tiles[i] && reached[i] ? 1 : 0)
                    << "round " << round << " call " << call << " tile " << i;
            EXPECT_EQ(region.Touches(under), !pieces.empty());
        }
        // Presenting holds the whole region in disjoint rectangles, within the limit.
        const auto& rects = region.GetRects();
        ASSERT_LE(rects.size(), 48u);
        long long area = 0;
        for (std::size_t a = 0; a < rects.size(); ++a)
            for (std::size_t b = a + 1; b < rects.size(); ++b)
                ASSERT_FALSE(RectsOverlap(rects[a], rects[b]));
        for (std::size_t i = 0; i < tiles.size(); ++i) {
            area += tiles[i] ? t * t : 0;
            if (tiles[i]) {
                const SDL_Rect tile = MakeRect(int(i) % columns * t, int(i) / columns * t, t, t);
                bool inside = false;
                for (const SDL_Rect& r : rects)
                    inside = inside || RectEquals(IntersectRects(r, tile), tile);
                ASSERT_TRUE(inside) << "round " << round << " tile " << i;
            }
        }
        EXPECT_EQ(region.GetArea(), area);
    }
}

// Ten balls with trails of sixteen small overlapping spots, spread over the field, as a
// frame of play marks them: the region stays close to what they cover, not the boxes
// around whole trails nor the space between them.
TEST(DirtyRegionPieces, ManySmallThingsApartKeepTheRegionSmall)
{
    DirtyRegion region(kWidth, kHeight, 48);
    long long marked = 0;
    for (int ball = 0; ball < 10; ++ball) {
        const int x0 = 40 + (ball % 5) * 120, y0 = 40 + (ball / 5) * 220;
        for (int spot = 0; spot < 16; ++spot) {
            region.Add(MakeRect(x0 + 2 * spot, y0 + 9 * spot, 8, 8));
            marked += 8 * 8;
        }
        region.Add(MakeRect(x0 + 30, y0 + 140, 16, 16));
        marked += 16 * 16;
    }
    EXPECT_LT(region.GetArea(), 3 * marked);
    EXPECT_LT(region.GetArea(), kWidth * kHeight / 10);
}
