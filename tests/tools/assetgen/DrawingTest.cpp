// The drawing kit: compositing arithmetic, lighting direction, seamless textures and PNG
// output as the game's image loader reads it.
#include "Decoders.h"
#include "kit/Draw.h"
#include "kit/Noise.h"
#include "kit/PngWriter.h"
#include "kit/TextMask.h"
#include "recipes/Recipes.h"

#include <gtest/gtest.h>

#include <cmath>
#include <stdexcept>
#include <string>

using namespace assetgen;
using assetgentest::DecodePicture;

namespace {

void ExpectColour(const Rgba& c, float r, float g, float b, float a)
{
    EXPECT_NEAR(c.r, r, 1e-4);
    EXPECT_NEAR(c.g, g, 1e-4);
    EXPECT_NEAR(c.b, b, 1e-4);
    EXPECT_NEAR(c.a, a, 1e-4);
}

} // namespace

TEST(Canvas, CompositingIsAlphaCorrect)
{
    Canvas c(3, 1);
    c.Set(0, 0, Rgba{0, 0, 1, 1});
    // Half-transparent red over opaque blue mixes evenly; over nothing it keeps its own
    // colour (straight alpha), not a darkened one.
    c.Blend(0, 0, Rgba{1, 0, 0, 0.5f});
    c.Blend(1, 0, Rgba{1, 0, 0, 0.5f});
    ExpectColour(c.Get(0, 0), 0.5f, 0, 0.5f, 1);
    ExpectColour(c.Get(1, 0), 1, 0, 0, 0.5f);
    // Two half layers over nothing: 75 % opaque, colour unchanged.
    c.Blend(1, 0, Rgba{1, 0, 0, 0.5f});
    ExpectColour(c.Get(1, 0), 1, 0, 0, 0.75f);

    // Layer onto layer with an offset that pushes part of it off the canvas.
    Canvas top(2, 1);
    top.Set(0, 0, Rgba{0, 1, 0, 0.5f});
    top.Set(1, 0, Rgba{0, 1, 0, 1});
    c.DrawOver(top, 2, 0);
    ExpectColour(c.Get(2, 0), 0, 1, 0, 0.5f);

    // Shading changes colour but never the outline.
    c.Shade(1, 0, Rgba{1, 1, 1, 1}, 1.0f);
    ExpectColour(c.Get(1, 0), 1, 1, 1, 0.75f);

    const std::vector<std::uint8_t> bytes = c.ToRgba8();
    EXPECT_EQ(bytes[0], 128);
    EXPECT_EQ(bytes[3], 255);
    EXPECT_EQ(bytes[11], 128);
}

TEST(Canvas, TransparentPixelsWriteAsZero)
{
    Canvas c(1, 1);
    c.Set(0, 0, Rgba{1, 0.5f, 0.2f, 0.0f});
    EXPECT_EQ(c.ToRgba8(), (std::vector<std::uint8_t>{0, 0, 0, 0}));
}

TEST(Draw, LightFallsFromTheUpperLeft)
{
    // A bevelled plate: the upper-left rim is lighter than the lower-right rim, and the
    // plate keeps its outline.
    Canvas plate(40, 24);
    const Sdf shape = RoundedRectShape({2, 2, 36, 20}, 4);
    FillShape(plate, shape, Solid(Rgba{0.5f, 0.5f, 0.5f, 1}));
    const std::vector<std::uint8_t> before = plate.ToRgba8();
    Bevel(plate, shape, 2.5f, 0.6f);
    EXPECT_GT(plate.Get(3, 3).Luminance(), 0.55f);
    EXPECT_LT(plate.Get(36, 20).Luminance(), 0.45f);
    EXPECT_NEAR(plate.Get(20, 12).Luminance(), 0.5f, 0.01f);
    const std::vector<std::uint8_t> after = plate.ToRgba8();
    for (std::size_t i = 3; i < after.size(); i += 4)
        ASSERT_EQ(after[i], before[i]) << "opacity changed at pixel " << i / 4;

    // A sphere: highlight towards the upper left, dark side lower right, soft edge.
    Canvas ball(32, 32);
    DrawSphere(ball, 16, 16, 14.3f, Rgba{0.6f, 0.6f, 0.6f, 1});
    EXPECT_GT(ball.Get(10, 10).Luminance(), ball.Get(22, 22).Luminance() + 0.2f);
    EXPECT_EQ(ball.Get(0, 0).a, 0.0f);
    EXPECT_EQ(ball.Get(16, 16).a, 1.0f);
    const float edge = ball.Get(16, 1).a;
    EXPECT_GT(edge, 0.0f);
    EXPECT_LT(edge, 1.0f);

    // A drop shadow falls down-right of the shape, not up-left.
    Canvas square(12, 12);
    FillShape(square, RoundedRectShape({3, 3, 5, 5}, 1), Solid(Rgba{1, 1, 1, 1}));
    Canvas scene(12, 12);
    DrawWithShadow(scene, square, 0, 0, 2, 2, 1.5f, 0.6f);
    EXPECT_GT(scene.Get(9, 9).a, 0.1f);
    EXPECT_LT(scene.Get(9, 9).Luminance(), 0.05f);
    EXPECT_LT(scene.Get(2, 2).a, 0.1f);
}

TEST(Draw, RadialSpritesFadeToTheEdge)
{
    Canvas glow(21, 21);
    DrawRadialSprite(glow, 10.5f, 10.5f, 10, Rgba{1, 0.8f, 0.2f, 1}, 2, true);
    EXPECT_GT(glow.Get(10, 10).a, 0.95f);
    EXPECT_LT(glow.Get(10, 1).a, 0.1f);
    EXPECT_EQ(glow.Get(0, 0).a, 0.0f);
    EXPECT_GT(glow.Get(10, 5).a, glow.Get(10, 2).a);
}

TEST(Noise, FieldsTileWithoutSeamsAndFollowTheirSeed)
{
    Rng a("stone"), b("stone"), c("wood");
    const NoiseField fa = NoiseField::Value(a, 64, 32, 4, 2, 3, 0.5f);
    const NoiseField fb = NoiseField::Value(b, 64, 32, 4, 2, 3, 0.5f);
    const NoiseField fc = NoiseField::Value(c, 64, 32, 4, 2, 3, 0.5f);
    float interior = 0, seamX = 0, seamY = 0, differs = 0;
    for (int y = 0; y < 32; ++y) {
        for (int x = 0; x + 1 < 64; ++x)
            interior = std::max(interior, std::fabs(fa.At(x + 1, y) - fa.At(x, y)));
        seamX = std::max(seamX, std::fabs(fa.At(0, y) - fa.At(63, y)));
        for (int x = 0; x < 64; ++x) {
            ASSERT_EQ(fa.At(x, y), fb.At(x, y));
            differs = std::max(differs, std::fabs(fa.At(x, y) - fc.At(x, y)));
            ASSERT_GE(fa.At(x, y), 0.0f);
            ASSERT_LE(fa.At(x, y), 1.0f);
        }
    }
    for (int x = 0; x < 64; ++x)
        seamY = std::max(seamY, std::fabs(fa.At(x, 0) - fa.At(x, 31)));
    // Across the wrap the field steps no more than between neighbours inside it.
    EXPECT_LE(seamX, interior * 1.25f);
    EXPECT_LE(seamY, interior * 2.5f);
    EXPECT_GT(differs, 0.2f);
}

TEST(Png, RoundTripsThroughTheImageLoaderWithoutTimestamps)
{
    Canvas c(5, 3);
    c.Set(0, 0, Rgba::Bytes(255, 0, 0));
    c.Set(1, 0, Rgba::Bytes(10, 20, 30, 128));
    c.Set(4, 2, Rgba::Bytes(200, 100, 50, 1));
    const std::vector<std::uint8_t> png = EncodePng(c);
    EXPECT_EQ(png, EncodePng(c));
    const std::string text(png.begin(), png.end());
    EXPECT_EQ(text.find("tIME"), std::string::npos);
    EXPECT_EQ(text.find("tEXt"), std::string::npos);

    const assetgentest::Picture p = DecodePicture(png);
    ASSERT_EQ(p.width, 5);
    ASSERT_EQ(p.height, 3);
    EXPECT_TRUE(p.hasAlpha);
    const std::vector<std::uint8_t> expected = c.ToRgba8();
    EXPECT_EQ(p.rgba, expected);
    EXPECT_EQ(p.At(1, 0)[0], 10);
    EXPECT_EQ(p.At(1, 0)[3], 128);
    EXPECT_EQ(p.At(4, 2)[3], 1);
}

TEST(TextMask, LettersAreWhiteCoverageCroppedToTheLineAndTheSameEachTime)
{
    const std::filesystem::path face = GeneratorOptions().fontDir / "DejaVuSerif-Bold.ttf";
    const Canvas name = TextMask(face, 40, "Bumperlux");
    EXPECT_GT(name.Width(), 4 * name.Height());
    int covered = 0;
    for (int y = 0; y < name.Height(); ++y)
        for (int x = 0; x < name.Width(); ++x) {
            const Rgba c = name.Get(x, y);
            if (c.a > 0.5f) {
                ++covered;
                EXPECT_NEAR(1.0f, c.r, 1e-3);
            }
        }
    // Ink, but far from a filled box.
    EXPECT_GT(covered, name.Width() * name.Height() / 10);
    EXPECT_LT(covered, name.Width() * name.Height() / 2);
    EXPECT_EQ(name.ToRgba8(), TextMask(face, 40, "Bumperlux").ToRgba8());
    EXPECT_THROW(TextMask(face.parent_path() / "NoSuchFace.ttf", 40, "x"), std::runtime_error);
}
