// The pixel arithmetic of compositing, combined-alpha blits and translucent fills, and the
// clipping shared by the software blits.
#include "PixelHelpers.h"
#include "display/Image.h"
#include "display/SDLImageRenderer.h"
#include "display/SoftwareBlend.h"

#include <gtest/gtest.h>

#include <memory>

using namespace displaytest;

namespace {

struct PixelCase
{
    const char* what;
    std::uint32_t src;
    std::uint32_t dst;
    int alpha; // draw alpha or fill colour alpha
    std::uint32_t expected;
};

TEST(BlendTest, PixelFormulas)
{
    // Compositing: a transparent target takes the source; otherwise channels
    // (a * s + (255 - a) * d) >> 8 and alpha d + a - floor(d * a / 255).
    const PixelCase composite[] = {
        {"onto transparent", 0x80123456, 0x00FFFFFF, 0, 0x80123456},
        {"opaque over opaque", 0xFFC86432, 0xFF000000, 0, 0xFFC76331},
        {"white over white", 0xFFFFFFFF, 0xFFFFFFFF, 0, 0xFFFEFEFE},
        {"half over opaque", 0x80FF0000, 0xFF0000FF, 0, 0xFF7F007E},
        {"half over half", 0x80FFFFFF, 0x80000000, 0, 0xC07F7F7F},
        {"transparent over opaque", 0x00FFFFFF, 0xFF102030, 0, 0xFF0F1F2F},
    };
    for (const PixelCase& c : composite)
        EXPECT_EQ(c.expected, SoftwareBlend::CompositePixel(c.src, c.dst)) << c.what;

    // Combined alpha: f = (src alpha * alpha) >> 8; d += ((s - d) * f) >> 8, with an
    // arithmetic shift for darkening and 255 counting as exactly 1; the target's alpha is
    // kept. An opaque pixel at full alpha comes out as itself.
    const PixelCase combined[] = {
        {"full alpha brightens", 0xFFFFFFFF, 0x40000000, 255, 0x40FFFFFF},
        {"full alpha darkens", 0xFF000000, 0x80FFFFFF, 255, 0x80000000},
        {"half source alpha", 0x80FF0000, 0xFF00FF00, 255, 0xFF7F7F00},
        {"draw alpha 128", 0xFFC80000, 0x12000000, 128, 0x12630000},
        {"transparent source", 0x00FFFFFF, 0xFF123456, 255, 0xFF123456},
    };
    for (const PixelCase& c : combined)
        EXPECT_EQ(c.expected, SoftwareBlend::CombinedAlphaPixel(c.src, c.dst, c.alpha)) << c.what;

    // Translucent fill: d + (((c - d) * a) >> 8) per channel, alpha kept; a colour filled
    // over itself stays as it is.
    EXPECT_EQ(0xFF7F7F7Fu,
              SoftwareBlend::BlendedFillPixel(0xFFFFFFFF, Color::FromRGBA(0, 0, 0, 128)));
    EXPECT_EQ(0x307F007Fu,
              SoftwareBlend::BlendedFillPixel(0x300000FF, Color::FromRGBA(255, 0, 0, 128)));
    for (int a : {1, 100, 128, 254})
        EXPECT_EQ(0xFFC86432u,
                  SoftwareBlend::BlendedFillPixel(0xFFC86432, Color::FromRGBA(200, 100, 50, a)));
}

TEST(BlendTest, BlitClipping)
{
    SDL_Rect s, d;
    // Left of the target: the first 10 columns are skipped.
    SDL_Rect dst = MakeRect(-10, 0, 0, 0);
    ASSERT_TRUE(SoftwareBlend::ClipBlitRects(30, 20, nullptr, 100, 100, &dst, s, d));
    EXPECT_EQ(10, s.x);
    EXPECT_EQ(20, s.w);
    EXPECT_EQ(0, d.x);
    // Entirely left, right, above or below: nothing.
    dst = MakeRect(-30, 0, 0, 0);
    EXPECT_FALSE(SoftwareBlend::ClipBlitRects(30, 20, nullptr, 100, 100, &dst, s, d));
    dst = MakeRect(100, 0, 0, 0);
    EXPECT_FALSE(SoftwareBlend::ClipBlitRects(30, 20, nullptr, 100, 100, &dst, s, d));
    dst = MakeRect(0, -20, 0, 0);
    EXPECT_FALSE(SoftwareBlend::ClipBlitRects(30, 20, nullptr, 100, 100, &dst, s, d));
    // Past the right and bottom edges: cut.
    dst = MakeRect(90, 95, 0, 0);
    ASSERT_TRUE(SoftwareBlend::ClipBlitRects(30, 20, nullptr, 100, 100, &dst, s, d));
    EXPECT_EQ(10, s.w);
    EXPECT_EQ(5, s.h);
    // A source rectangle reaching outside the source is cut to it, the target moving along.
    SDL_Rect src = MakeRect(-5, 15, 20, 20);
    dst = MakeRect(0, 0, 0, 0);
    ASSERT_TRUE(SoftwareBlend::ClipBlitRects(30, 20, &src, 100, 100, &dst, s, d));
    EXPECT_EQ(0, s.x);
    EXPECT_EQ(15, s.w);
    EXPECT_EQ(5, d.x);
    EXPECT_EQ(15, s.y);
    EXPECT_EQ(5, s.h);
}

TEST(BlendTest, CompositeOntoImages)
{
    std::unique_ptr<Image> src(SolidImage(4, 4, 0xFFC86432));
    std::unique_ptr<Image> clear(SolidImage(6, 6, 0x00000000));
    src->CompositeOnto(nullptr, clear.get(), nullptr);
    EXPECT_EQ(0xFFC86432u, GetPixel(clear.get(), 3, 3));
    EXPECT_EQ(0u, GetPixel(clear.get(), 4, 4));

    std::unique_ptr<Image> black(SolidImage(6, 6, 0xFF000000));
    src->CompositeFrameOnto(black.get(), 4, -2, -1);
    EXPECT_EQ(0xFFC76331u, GetPixel(black.get(), 5, 1));
    EXPECT_EQ(0xFF000000u, GetPixel(black.get(), 3, 1));
    EXPECT_EQ(0xFF000000u, GetPixel(black.get(), 5, 2));
}

TEST(BlendTest, RendererFillsAndDraws)
{
    std::unique_ptr<Image> target(SolidImage(20, 10, 0xFFFFFFFF));
    SDLImageRenderer renderer(target.get());
    const SDL_Rect half = MakeRect(-5, 2, 10, 3);
    renderer.DrawRect(&half, Color::FromRGBA(0, 0, 0, 128), true);
    EXPECT_EQ(0xFF7F7F7Fu, GetPixel(target.get(), 4, 2));
    EXPECT_EQ(0xFFFFFFFFu, GetPixel(target.get(), 5, 2));
    EXPECT_EQ(0xFFFFFFFFu, GetPixel(target.get(), 4, 5));

    const SDL_Rect none = MakeRect(0, 0, 20, 10);
    renderer.DrawRect(&none, Color::FromRGBA(1, 2, 3, 0), true);
    EXPECT_EQ(0xFFFFFFFFu, GetPixel(target.get(), 10, 0));

    // An outline of w 10, h 5 spans x 0-10 and y 0-5.
    std::unique_ptr<Image> frame(SolidImage(20, 10, 0));
    SDLImageRenderer outline(frame.get());
    const SDL_Rect box = MakeRect(0, 0, 10, 5);
    outline.DrawRect(&box, Color(255, 0, 0), false);
    EXPECT_EQ(0xFFFF0000u, GetPixel(frame.get(), 10, 5));
    EXPECT_EQ(0xFFFF0000u, GetPixel(frame.get(), 0, 5));
    EXPECT_EQ(0xFFFF0000u, GetPixel(frame.get(), 10, 0));
    EXPECT_EQ(0u, GetPixel(frame.get(), 11, 5));
    EXPECT_EQ(0u, GetPixel(frame.get(), 5, 2));
}

TEST(BlendTest, ShadersOfImageDraws)
{
    std::unique_ptr<Image> src(SolidImage(2, 2, 0x80FF0000));
    const std::uint32_t flagsBefore = src->GetSDLSurface()->flags;
    const std::uint32_t amaskBefore = src->GetSDLSurface()->format->Amask;
    const Uint8 alphaBefore = src->GetSDLSurface()->format->alpha;

    struct Case
    {
        ShaderType shader;
        int alpha;
        std::uint32_t expected;
    };
    const Case cases[] = {
        {SHADERTYPE_RESERVED, 255, 0xFF0000FF},
        {SHADERTYPE_COPY, 255, 0x80FF0000},
        {SHADERTYPE_BLENDCOMBINEDALPHA, 255, 0xFF7F007F},
    };
    for (const Case& c : cases) {
        std::unique_ptr<Image> target(SolidImage(2, 2, 0xFF0000FF));
        SDLImageRenderer renderer(target.get());
        renderer.DrawImage(src.get(), c.shader, nullptr, nullptr, c.alpha, 0.0, 0);
        EXPECT_EQ(c.expected, GetPixel(target.get(), 1, 1)) << c.shader;
    }

    // Pixel-alpha and constant-alpha blends: the constant one ignores the pixel's alpha.
    std::unique_ptr<Image> opaqueSrc(SolidImage(2, 2, 0x00FF0000));
    std::unique_ptr<Image> a(SolidImage(2, 2, 0xFF0000FF));
    SDLImageRenderer ra(a.get());
    ra.DrawImage(opaqueSrc.get(), SHADERTYPE_BLENDPIXELALPHA, nullptr, nullptr, 255, 0.0, 0);
    EXPECT_EQ(0x000000FFu, GetPixel(a.get(), 0, 0) & 0x00FFFFFF);
    ra.DrawImage(opaqueSrc.get(), SHADERTYPE_BLENDCONSTANTALPHA, nullptr, nullptr, 255, 0.0, 0);
    EXPECT_EQ(0x00FF0000u, GetPixel(a.get(), 0, 0) & 0x00FFFFFF);
    ra.DrawImage(opaqueSrc.get(), SHADERTYPE_BLENDPIXELALPHA, nullptr, nullptr, 255, 0.0, 0);
    EXPECT_EQ(0x00FF0000u, GetPixel(a.get(), 0, 0) & 0x00FFFFFF) << "pixel alpha honoured again";

    EXPECT_EQ(flagsBefore, src->GetSDLSurface()->flags);
    EXPECT_EQ(amaskBefore, src->GetSDLSurface()->format->Amask);
    EXPECT_EQ(alphaBefore, src->GetSDLSurface()->format->alpha);
}

// The software blends that draw keyed images give what SDL's own blits give the same
// image without a key, everywhere but on the keyed pixels, which stay as they were.
TEST(BlendTest, KeyedImagesDrawLikeUnkeyedOnesWithoutTheirKey)
{
    const std::uint32_t key = 0xFF00FF00;
    std::unique_ptr<Image> plain(NumberedImage(32, 32));
    for (int y = 0; y < 32; ++y)
        for (int x = 0; x < 32; ++x) {
            const std::uint32_t alpha = std::uint32_t((x * 8 + y) & 0xFF) << 24;
            SetPixel(plain.get(), x, y,
                     (x + y) % 5 == 0 ? (key & 0xFFFFFFu) | alpha
                                      : (GetPixel(plain.get(), x, y) & 0xFFFFFFu) | alpha);
        }
    std::unique_ptr<Image> keyed(plain->Clone());
    keyed->SetColorKey(SDL_SRCCOLORKEY, key);

    const ShaderType shaders[] = {SHADERTYPE_COPY, SHADERTYPE_BLENDPIXELALPHA,
                                  SHADERTYPE_BLENDCONSTANTALPHA, SHADERTYPE_BLENDCOMBINEDALPHA};
    for (ShaderType shader : shaders) {
        for (int alpha : {0, 1, 77, 127, 128, 200, 254, 255}) {
            std::unique_ptr<Image> expected(NumberedImage(40, 40));
            std::unique_ptr<Image> actual(NumberedImage(40, 40));
            const SDL_Rect dst = MakeRect(5, -3, 0, 0);
            SDLImageRenderer(expected.get())
                .DrawImage(plain.get(), shader, &dst, nullptr, alpha, 0.0, 0);
            SDLImageRenderer(actual.get())
                .DrawImage(keyed.get(), shader, &dst, nullptr, alpha, 0.0, 0);
            std::unique_ptr<Image> untouched(NumberedImage(40, 40));
            int wrong = 0;
            for (int y = 0; y < 40; ++y)
                for (int x = 0; x < 40; ++x) {
                    const int sx = x - 5, sy = y + 3;
                    const bool onKey = sx >= 0 && sx < 32 && sy < 32 && (sx + sy) % 5 == 0;
                    const std::uint32_t want =
                        onKey ? GetPixel(untouched.get(), x, y) : GetPixel(expected.get(), x, y);
                    wrong += GetPixel(actual.get(), x, y) != want;
                }
            EXPECT_EQ(0, wrong) << "shader " << shader << " alpha " << alpha;
        }
    }
}

} // namespace

// A translucent fill of a whole rectangle gives every pixel what the per-pixel rule gives,
// over random pixels, colours and every alpha.
TEST(BlendTest, FilledRectanglesFollowThePixelRule)
{
    SDL_Surface* surface =
        SDL_CreateRGBSurface(SDL_SWSURFACE, 64, 4, 32, 0xFF0000, 0xFF00, 0xFF, 0xFF000000);
    ASSERT_NE(surface, nullptr);
    std::uint32_t seed = 12345;
    auto next = [&seed] { return seed = seed * 1664525u + 1013904223u; };
    for (int a = 0; a < 256; ++a) {
        const Color color = Color::FromRGBA(next() >> 24, next() >> 24, next() >> 24, a);
        std::uint32_t before[4][64];
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 64; ++x)
                SoftwareBlend::PixelRow(surface, y)[x] = before[y][x] = next();
        SoftwareBlend::BlendedFillRect(surface, MakeRect(0, 0, 64, 4), color);
        for (int y = 0; y < 4; ++y)
            for (int x = 0; x < 64; ++x)
                ASSERT_EQ(SoftwareBlend::BlendedFillPixel(before[y][x], color),
                          SoftwareBlend::PixelRow(surface, y)[x])
                    << "alpha " << a << " pixel " << x << ", " << y;
    }
    SDL_FreeSurface(surface);
}
