// The canvas: its state stack, which primitives follow the origin, pies, and who owns the
// off-screen image.
#include "display/Canvas.h"
#include "PixelHelpers.h"
#include "display/Image.h"
#include "display/SDLImageRenderer.h"
#include "geometry/Poly.h"

#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

using namespace displaytest;

namespace {

// Records what the canvas hands to its renderer.
class RecordingRenderer : public ImageRenderer
{
public:
    std::vector<std::string> calls;

    Image* GetTargetSurface() override { return nullptr; }
    void DrawCircle(int x, int y, int radius, const Color&, bool filled) override
    {
        Add("circle", {x, y, radius, filled});
    }
    void DrawImage(Image*, ShaderType shader, const SDL_Rect* dst, const SDL_Rect* src, int alpha,
                   double, std::uint32_t) override
    {
        Add("image", {shader, dst->x, dst->y, dst->w, dst->h, src->x, src->y, alpha});
    }
    void DrawLine(int x1, int y1, int x2, int y2, const Color&) override
    {
        Add("line", {x1, y1, x2, y2});
    }
    void DrawPie(int x, int y, int radius, int start, int end, const Color&) override
    {
        Add("pie", {x, y, radius, start, end});
    }
    void DrawPolygon(const Poly& poly, const Color&, bool filled) override
    {
        Add("poly", {static_cast<int>(poly.GetVertices()[0].x), filled});
    }
    void DrawRect(const SDL_Rect* r, const Color&, bool filled) override
    {
        Add("rect", {r->x, r->y, r->w, r->h, filled});
    }
    void SetClipRect(const SDL_Rect*) override {}

private:
    void Add(const char* name, std::initializer_list<int> args)
    {
        std::string text = name;
        for (int a : args)
            text += " " + std::to_string(a);
        calls.push_back(text);
    }
};

TEST(CanvasTest, StatesNestAndPrimitivesFollowTheOrigin)
{
    RecordingRenderer renderer;
    Canvas canvas(&renderer, false);
    canvas.Translate(100, 200);
    canvas.PushState();
    canvas.Translate(10, 5);
    const CanvasState* pushed = &canvas.GetState();
    canvas.DrawLine(1, 2, 3, 4, Palette::White);
    canvas.DrawCircle(1, 1, 7, Palette::White);
    canvas.FillCircle(1, 1, 7, Palette::White);
    canvas.FillRect(MakeRect(1, 1, 5, 6), Palette::White);
    canvas.Fill(8, 9, Palette::White);
    canvas.DrawRect(MakeRect(1, 1, 5, 6), Palette::White);
    Poly poly;
    poly.SetFromRect(MakeRect(3, 3, 1, 1));
    canvas.FillPolygon(poly, Palette::White);
    canvas.PopState();
    EXPECT_EQ(100, canvas.GetState().x);
    EXPECT_EQ(200, canvas.GetState().y);
    canvas.PushState();
    EXPECT_EQ(pushed, &canvas.GetState()); // the record is reused
    EXPECT_EQ(100, canvas.GetState().x);
    canvas.PopState();

    const std::vector<std::string> expected = {
        "line 111 207 113 209", "circle 111 206 7 0", "circle 111 206 7 1", "rect 111 206 5 6 1",
        "rect 110 205 8 9 1",   "rect 1 1 5 6 0",     "poly 3 1",
    };
    EXPECT_EQ(expected, renderer.calls);

    // Pies start at the rim point: to the right is 0 degrees, below is 90.
    renderer.calls.clear();
    canvas.DrawPie(0, 0, 10, 0, Palette::White, 45);
    canvas.DrawPie(0, 0, 0, 5, Palette::White, 30);
    EXPECT_EQ((std::vector<std::string>{"pie 100 200 10 0 45", "pie 100 200 5 90 120"}),
              renderer.calls);
}

TEST(CanvasTest, DrawImageUsesTheFrameAtTheOrigin)
{
    std::unique_ptr<Image> sheet(new Image(10, 8, 3, 0));
    RecordingRenderer renderer;
    Canvas canvas(&renderer, false);
    canvas.Translate(-4, 6);
    canvas.DrawImage(sheet.get(), 2);
    ASSERT_EQ(1u, renderer.calls.size());
    EXPECT_EQ("image 2 -4 6 10 8 20 0 255", renderer.calls[0]);
}

TEST(CanvasTest, OffscreenImagesBelongToTheCanvasOnlyWhenAsked)
{
    const int images = Image::GetLiveCount();
    Image* kept = nullptr;
    {
        Canvas canvas(6, 4, 0);
        canvas.Translate(1, 1);
        canvas.Fill(2, 2, Palette::Red);
        kept = canvas.GetTargetImage();
    }
    ASSERT_NE(nullptr, kept);
    EXPECT_EQ(images + 1, Image::GetLiveCount());
    EXPECT_EQ(0xFFFF0000u, GetPixel(kept, 2, 2));
    EXPECT_EQ(0u, GetPixel(kept, 0, 0)); // the rest stays transparent
    delete kept;
    {
        Canvas canvas(6, 4, CANVAS_OWNS_TARGET);
        canvas.FillRect(MakeRect(0, 0, 3, 3), Color::FromRGBA(0, 0, 255, 128));
    }
    EXPECT_EQ(images, Image::GetLiveCount());

    // A canvas over a borrowed renderer leaves the renderer and its image alone.
    std::unique_ptr<Image> target(SolidImage(3, 3, 0xFF000000));
    SDLImageRenderer renderer(target.get());
    {
        Canvas canvas(&renderer, false);
        canvas.Fill(1, 1, Palette::White);
    }
    EXPECT_EQ(0xFFFFFFFFu, GetPixel(target.get(), 0, 0));
    EXPECT_EQ(target.get(), renderer.GetTargetSurface());

    // A canvas given its renderer deletes the renderer but not the renderer's image.
    SDLImageRenderer* offscreen = SDLImageRenderer::MakeOffscreen(4, 4);
    std::unique_ptr<Image> drawn(offscreen->GetTargetSurface());
    {
        Canvas canvas(offscreen, true);
        canvas.Fill(2, 2, Palette::White);
    }
    EXPECT_EQ(0xFFFFFFFFu, GetPixel(drawn.get(), 1, 1));
    drawn.reset();
    EXPECT_EQ(images + 1, Image::GetLiveCount()); // target only
}

} // namespace
