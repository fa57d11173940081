// Pictures drawn onto a target without alpha (the screen of the software backend) go
// through their run-length copies: the same pixels as a plain per-pixel alpha blit, and
// never a stale picture after the master's pixels change.
#include "PixelHelpers.h"
#include "display/Image.h"
#include "display/SDLImageRenderer.h"
#include "display/SurfaceManager.h"

#include <gtest/gtest.h>

#include <memory>
#include <vector>

using namespace displaytest;

namespace {

// A screen-like target: 32 bits, no alpha, filled with a pattern.
class ScreenTarget
{
public:
    ScreenTarget(int w, int h)
        : m_Surface(SDL_CreateRGBSurface(SDL_SWSURFACE, w, h, 32, 0xFF0000, 0xFF00, 0xFF, 0))
    {
        Fill();
        m_Renderer = std::make_unique<SDLImageRenderer>(m_Surface, false);
    }
    ~ScreenTarget()
    {
        m_Renderer.reset();
        SDL_FreeSurface(m_Surface);
    }
    void Fill()
    {
        for (int y = 0; y < m_Surface->h; ++y)
            for (int x = 0; x < m_Surface->w; ++x)
                Row(y)[x] = std::uint32_t((x * 37) & 0xFF) << 16 | ((y * 11) & 0xFF) << 8 |
                            ((x + y) & 0xFF);
    }
    std::vector<std::uint32_t> Rgb() const
    {
        std::vector<std::uint32_t> out;
        for (int y = 0; y < m_Surface->h; ++y)
            for (int x = 0; x < m_Surface->w; ++x)
                out.push_back(Row(y)[x] & 0xFFFFFF);
        return out;
    }
    std::uint32_t At(int x, int y) const { return Row(y)[x] & 0xFFFFFF; }
    SDLImageRenderer& Renderer() { return *m_Renderer; }

private:
    std::uint32_t* Row(int y) const
    {
        return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(m_Surface->pixels) +
                                                y * m_Surface->pitch);
    }
    SDL_Surface* m_Surface;
    std::unique_ptr<SDLImageRenderer> m_Renderer;
};

// Every alpha value across, clear and opaque runs down the rows.
Image* AlphaSheet(int w, int h)
{
    Image* image = new Image(w, h, 1, IMAGE_SRCALPHA);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            std::uint32_t a = y % 3 == 0 ? 255u : y % 3 == 1 ? 0u : std::uint32_t(x & 0xFF);
            SetPixel(image, x, y,
                     a << 24 | std::uint32_t((x * 5) & 0xFF) << 16 | ((y * 29) & 0xFF) << 8 |
                         ((x ^ 0x5A) & 0xFF));
        }
    return image;
}

// The picture drawn the plain way: an image over the same SDL surface without a record
// (held directly), which the renderer blits as it is.
std::vector<std::uint32_t> DrawPlain(Image* picture, ShaderType shader, const SDL_Rect* dst,
                                     const SDL_Rect* src, int w, int h)
{
    ScreenTarget screen(w, h);
    Image direct(picture->GetSDLSurface(), IMAGE_DIRECT_SURFACE | IMAGE_SRCALPHA, nullptr);
    screen.Renderer().DrawImage(&direct, shader, dst, src, 255, 0.0, 0);
    return screen.Rgb();
}

std::vector<std::uint32_t> DrawViaCopy(Image* picture, ShaderType shader, const SDL_Rect* dst,
                                       const SDL_Rect* src, int w, int h)
{
    ScreenTarget screen(w, h);
    screen.Renderer().DrawImage(picture, shader, dst, src, 255, 0.0, 0);
    return screen.Rgb();
}

} // namespace

TEST(DisplayBlitTest, RunLengthCopiesDrawTheSamePixels)
{
    std::unique_ptr<Image> sheet(AlphaSheet(256, 12));
    std::unique_ptr<Image> opaque(NumberedImage(40, 30));
    const SDL_Rect whole = MakeRect(3, 2, 256, 12);
    const SDL_Rect part = MakeRect(17, 4, 90, 7);
    const SDL_Rect clipped = MakeRect(-20, 25, 256, 12); // off the left and bottom edges
    struct Case
    {
        Image* picture;
        ShaderType shader;
        const SDL_Rect* dst;
        const SDL_Rect* src;
    } cases[] = {
        {sheet.get(), SHADERTYPE_BLENDPIXELALPHA, &whole, nullptr},
        {sheet.get(), SHADERTYPE_BLENDPIXELALPHA, &whole, &part},
        {sheet.get(), SHADERTYPE_BLENDPIXELALPHA, &clipped, nullptr},
        {sheet.get(), SHADERTYPE_COPY, &whole, nullptr}, // translucent: not through the copy
        {opaque.get(), SHADERTYPE_COPY, &whole, nullptr},
        {opaque.get(), SHADERTYPE_BLENDPIXELALPHA, &clipped, nullptr},
    };
    for (const Case& c : cases) {
        // Twice: the second blit finds the copy encoded for this screen format.
        for (int round = 0; round < 2; ++round)
            EXPECT_EQ(DrawPlain(c.picture, c.shader, c.dst, c.src, 200, 30),
                      DrawViaCopy(c.picture, c.shader, c.dst, c.src, 200, 30))
                << "shader " << c.shader << " round " << round;
    }
    EXPECT_NE(nullptr, sheet->GetSurfaceNode()->GetDisplayBlitSurface());
    EXPECT_FALSE(sheet->GetSurfaceNode()->GetDisplayBlitSurface()->IsOpaque());
    EXPECT_TRUE(opaque->GetSurfaceNode()->GetDisplayBlitSurface()->IsOpaque());
    // The master keeps its plain pixels for every pixel operation.
    EXPECT_EQ(0xFF000000u | 5u << 16 | 0u << 8 | 0x5Bu, GetPixel(sheet.get(), 1, 0));
}

TEST(DisplayBlitTest, ChangedPicturesNeverShowTheirOldPixels)
{
    ScreenTarget screen(8, 8);
    std::unique_ptr<Image> picture(SolidImage(4, 4, 0xFF102030));
    const SDL_Rect at = MakeRect(0, 0, 4, 4);
    // Drawn three times: the first draw after a change is a plain blit, the next ones go
    // through the copy made anew; all must agree.
    auto show = [&] {
        std::uint32_t seen[3];
        for (std::uint32_t& pixel : seen) {
            screen.Renderer().DrawImage(picture.get(), SHADERTYPE_BLENDPIXELALPHA, &at, nullptr,
                                        255, 0.0, 0);
            pixel = screen.At(1, 1);
        }
        EXPECT_EQ(seen[0], seen[1]);
        EXPECT_EQ(seen[0], seen[2]);
        return seen[0];
    };
    EXPECT_EQ(0x102030u, show());

    // Drawn into through a renderer.
    SDLImageRenderer into(picture.get());
    const SDL_Rect all = MakeRect(0, 0, 4, 4);
    into.DrawRect(&all, Color::FromRGBA(200, 100, 50, 255), true);
    EXPECT_EQ(0xC86432u, show());

    // Composited onto.
    std::unique_ptr<Image> green(SolidImage(4, 4, 0xFF00FF00));
    green->CompositeOnto(nullptr, picture.get(), nullptr);
    EXPECT_EQ(0x00FE00u, show());

    EXPECT_NE(nullptr, picture->GetSurfaceNode()->GetDisplayBlitSurface());

    // Faded to clear: the screen below shows through.
    screen.Fill();
    const std::uint32_t below = screen.At(1, 1);
    picture->Fade(0);
    EXPECT_EQ(below, show());
}
