// The landscape kit: shapes measure distance with the right sign, silhouettes and clouds
// stay in their rows with soft edges, and the calming passes do what a backdrop needs of
// them (less contrast and colour, a quiet strip, dark corners) without touching the rest.
#include "kit/Landscape.h"

#include <gtest/gtest.h>

#include <cmath>

using namespace assetgen;

namespace {

Canvas Filled(int w, int h, const Rgba& color)
{
    Canvas c(w, h);
    c.Fill(color);
    return c;
}

bool Same(const Rgba& a, const Rgba& b)
{
    return std::fabs(a.r - b.r) < 1e-5f && std::fabs(a.g - b.g) < 1e-5f &&
           std::fabs(a.b - b.b) < 1e-5f && std::fabs(a.a - b.a) < 1e-5f;
}

} // namespace

TEST(Landscape, PolygonDistanceHasTheRightSignForEitherWindingAndConcaveShapes)
{
    // An L: the notch at the upper right is outside.
    const std::vector<Point> ell = {{0, 0}, {4, 0}, {4, 6}, {10, 6}, {10, 10}, {0, 10}};
    std::vector<Point> reversed(ell.rbegin(), ell.rend());
    for (const auto& points : {ell, reversed}) {
        const Sdf shape = PolygonShape(points);
        EXPECT_NEAR(shape(2, 5), -2.0f, 1e-4);  // inside the upright, 2 from the left edge
        EXPECT_NEAR(shape(7, 3), 3.0f, 1e-4);   // in the notch, 3 above the foot
        EXPECT_NEAR(shape(-3, 5), 3.0f, 1e-4);  // left of everything
        EXPECT_NEAR(shape(7, 8), -2.0f, 1e-4);  // inside the foot
        EXPECT_NEAR(shape(13, 14), 5.0f, 1e-4); // beyond the far corner (3, 4, 5)
    }
}

TEST(Landscape, GradientClampsAtItsEndsAndBlendsBetweenStops)
{
    const std::vector<ColorStop> stops = {
        {0.25f, Rgba{0, 0, 0, 1}}, {0.5f, Rgba{1, 0, 0, 1}}, {1.0f, Rgba{1, 1, 0, 1}}};
    EXPECT_TRUE(Same(GradientAt(stops, 0.0f), Rgba{0, 0, 0, 1}));
    EXPECT_TRUE(Same(GradientAt(stops, 0.375f), Rgba{0.5f, 0, 0, 1}));
    EXPECT_TRUE(Same(GradientAt(stops, 0.75f), Rgba{1, 0.5f, 0, 1}));
    EXPECT_TRUE(Same(GradientAt(stops, 2.0f), Rgba{1, 1, 0, 1}));
}

TEST(Landscape, FillingWithinABoxMatchesFillingTheWholeCanvas)
{
    const Sdf shape = PolygonShape({{3.3f, 2.1f}, {17.6f, 5.2f}, {9.4f, 14.8f}});
    Canvas whole = Filled(20, 16, Rgba{0.2f, 0.2f, 0.2f, 1});
    Canvas boxed = whole;
    FillShape(whole, shape, Solid(Rgba{0.9f, 0.5f, 0.1f, 1}));
    FillShapeIn(boxed, {3.3f, 2.1f, 14.3f, 12.7f}, shape, Solid(Rgba{0.9f, 0.5f, 0.1f, 1}));
    for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 20; ++x)
            ASSERT_TRUE(Same(whole.Get(x, y), boxed.Get(x, y))) << x << "," << y;
}

TEST(Landscape, SilhouetteFillsBelowItsProfileWithASoftTopEdge)
{
    Canvas c(3, 10);
    PaintBelow(c, {4.0f, 4.5f, 20.0f}, Solid(Rgba{1, 1, 1, 1}));
    EXPECT_EQ(c.Get(0, 3).a, 0.0f);
    EXPECT_NEAR(c.Get(0, 4).a, 1.0f, 1e-5);
    EXPECT_NEAR(c.Get(1, 4).a, 0.5f, 1e-5); // the edge crosses the pixel's middle
    EXPECT_NEAR(c.Get(1, 9).a, 1.0f, 1e-5);
    for (int y = 0; y < 10; ++y)
        EXPECT_EQ(c.Get(2, y).a, 0.0f) << "a profile below the canvas paints nothing";
}

TEST(Landscape, CloudsStayInTheirRowsAndFadeAtBothEnds)
{
    const Rgba sky{0.1f, 0.2f, 0.4f, 1};
    Canvas c = Filled(64, 100, sky);
    Rng rng("clouds");
    PaintClouds(c, rng, 20, 80, {Rgba{1, 1, 1, 1}, 0.9f, 1.0f, 4, 2});
    float changedInside = 0;
    for (int x = 0; x < 64; ++x) {
        for (int y : {0, 19, 20, 80, 99})
            EXPECT_TRUE(Same(c.Get(x, y), sky)) << x << "," << y;
        changedInside = std::max(changedInside, c.Get(x, 45).r - sky.r);
    }
    EXPECT_GT(changedInside, 0.3f) << "dense clouds show in the middle of their rows";
}

TEST(Landscape, SoftBlobIsStrongestAtItsCentreAndNothingOutside)
{
    Canvas c(40, 40);
    PaintSoftBlob(c, 20, 20, 10, 5, Rgba{1, 1, 1, 1}, 0.8f);
    EXPECT_NEAR(c.Get(20, 20).a, 0.8f, 0.04); // its pixel centre sits half a pixel off
    EXPECT_GT(c.Get(20, 20).a, c.Get(25, 20).a);
    EXPECT_GT(c.Get(25, 20).a, 0.0f);
    EXPECT_EQ(c.Get(20, 27).a, 0.0f); // beyond the short radius
    EXPECT_EQ(c.Get(31, 20).a, 0.0f); // beyond the long one
}

TEST(Landscape, GradingMutesDarkensAndFlattensTheScene)
{
    Canvas c(2, 1);
    c.Set(0, 0, Rgba{0.9f, 0.1f, 0.1f, 1});
    c.Set(1, 0, Rgba{0.1f, 0.8f, 0.9f, 1});
    Grade grade;
    grade.saturation = 0.5f;
    grade.brightness = 0.6f;
    grade.contrast = 0.5f;
    const float before = std::fabs(c.Get(0, 0).Luminance() - c.Get(1, 0).Luminance());
    const float spreadBefore = c.Get(0, 0).r - c.Get(0, 0).g;
    GradeScene(c, grade);
    const Rgba a = c.Get(0, 0), b = c.Get(1, 0);
    EXPECT_NEAR(std::fabs(a.Luminance() - b.Luminance()), before * 0.5f * 0.6f, 0.02f);
    EXPECT_LT(a.r - a.g, spreadBefore * 0.5f) << "colour is muted";
    EXPECT_GT(a.r, a.g) << "but keeps its hue";
    EXPECT_EQ(a.a, 1.0f);
}

TEST(Landscape, QuietStripLosesItsDetailAndLightButNothingAboveChanges)
{
    Canvas c(32, 40);
    for (int y = 0; y < 40; ++y)
        for (int x = 0; x < 32; ++x)
            c.Set(x, y, (x / 2) % 2 ? Rgba{0.8f, 0.8f, 0.8f, 1} : Rgba{0.2f, 0.2f, 0.2f, 1});
    const Canvas before = c;
    QuietBelow(c, 20, 8, 3, 0.4f);
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 32; ++x)
            ASSERT_TRUE(Same(c.Get(x, y), before.Get(x, y))) << x << "," << y;
    float lo = 1, hi = 0;
    for (int x = 4; x < 28; ++x) {
        lo = std::min(lo, c.Get(x, 35).r);
        hi = std::max(hi, c.Get(x, 35).r);
    }
    EXPECT_LT(hi - lo, 0.6f * 0.3f) << "the stripes are blurred away";
    EXPECT_NEAR((hi + lo) / 2, 0.5f * 0.6f, 0.05f) << "and the strip is darkened";
}

TEST(Landscape, VignetteDarkensOnlyTowardsTheCorners)
{
    Canvas c = Filled(100, 80, Rgba{0.5f, 0.5f, 0.5f, 1});
    Vignette(c, 0.4f);
    EXPECT_NEAR(c.Get(50, 40).r, 0.5f, 0.001f);
    EXPECT_NEAR(c.Get(0, 0).r, 0.5f * 0.6f, 0.01f);
    EXPECT_NEAR(c.Get(99, 79).r, c.Get(0, 0).r, 0.001f);
    EXPECT_GT(c.Get(0, 40).r, c.Get(0, 0).r);
}
