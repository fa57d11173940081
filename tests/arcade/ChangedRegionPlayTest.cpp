// Shipped levels played by the autoplayer and drawn two ways in every pass: every drawing
// call straight onto one screen-like surface (a full redraw), and through the frame
// recorder, which draws only what changed, onto another. The two pictures must agree
// pixel for pixel in every pass: drawing only what changed shows the player nothing else.
#include "GameFixture.h"

#include "autoplay/AutoPlayer.h"
#include "core/Random.h"
#include "display/Canvas.h"
#include "display/DisplayBackend.h"
#include "display/DisplayManager.h"
#include "display/FrameRecorder.h"
#include "display/SDLImageRenderer.h"
#include "logic/LevelManager.h"
#include "support/engine/GameLevels.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstring>
#include <set>
#include <string>

using gametest::GameFixture;

namespace {

// Hands every call to two renderers.
class TeeRenderer : public ImageRenderer
{
public:
    TeeRenderer(ImageRenderer& a, ImageRenderer& b) : m_A(a), m_B(b) {}
    Image* GetTargetSurface() override { return m_A.GetTargetSurface(); }
    void DrawCircle(int x, int y, int radius, const Color& color, bool filled) override
    {
        m_A.DrawCircle(x, y, radius, color, filled);
        m_B.DrawCircle(x, y, radius, color, filled);
    }
    void DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst, const SDL_Rect* src,
                   int alpha, double angle, std::uint32_t flags) override
    {
        m_A.DrawImage(image, shader, dst, src, alpha, angle, flags);
        m_B.DrawImage(image, shader, dst, src, alpha, angle, flags);
    }
    void DrawLine(int x1, int y1, int x2, int y2, const Color& color) override
    {
        m_A.DrawLine(x1, y1, x2, y2, color);
        m_B.DrawLine(x1, y1, x2, y2, color);
    }
    void DrawPie(int x, int y, int radius, int start, int end, const Color& color) override
    {
        m_A.DrawPie(x, y, radius, start, end, color);
        m_B.DrawPie(x, y, radius, start, end, color);
    }
    void DrawPolygon(const Poly& poly, const Color& color, bool filled) override
    {
        m_A.DrawPolygon(poly, color, filled);
        m_B.DrawPolygon(poly, color, filled);
    }
    void DrawRect(const SDL_Rect* rect, const Color& color, bool filled) override
    {
        m_A.DrawRect(rect, color, filled);
        m_B.DrawRect(rect, color, filled);
    }
    void SetClipRect(const SDL_Rect* rect) override
    {
        m_A.SetClipRect(rect);
        m_B.SetClipRect(rect);
    }

private:
    ImageRenderer& m_A;
    ImageRenderer& m_B;
};

// A 640 x 480 surface without alpha, as the display is.
SDL_Surface* ScreenLikeSurface()
{
    return SDL_CreateRGBSurface(SDL_SWSURFACE, 640, 480, 32, 0x00FF0000, 0x0000FF00, 0x000000FF, 0);
}

// A game on the controller's test screen, with the shipped levels.
class LevelPlayFixture : public GameFixture
{
protected:
    static void SetUpTestSuite()
    {
        GameFixture::SetUpTestSuite();
        bbtest::LoadGameLevels();
    }

    LevelManager m_Levels; // the levels the game is started on
};

class ChangedRegionPlayTest : public LevelPlayFixture,
                              public ::testing::WithParamInterface<const char*>
{
};

using ChangedRegionHardwareTest = LevelPlayFixture;

} // namespace

TEST_P(ChangedRegionPlayTest, EveryPassLooksAsAFullRedrawWould)
{
    const std::string level = GetParam();
    MakoSrand(7);
    NewGame("{gameType = 'Levels', levelName = '" + level + "', ballsLeft = 4}");
    logic->StartGame();
    ASSERT_NE(logic->GetLevel(), nullptr) << level;
    passes.SetDrawing(false);

    SDLImageRenderer full(ScreenLikeSurface(), true);
    SDLImageRenderer recorded(ScreenLikeSurface(), true);
    FrameRecorder recorder(&recorded, 640, 480);
    TeeRenderer both(full, recorder);
    Canvas canvas(&both, false);
    SDL_Surface* a = full.GetSDLTarget();
    SDL_Surface* b = recorded.GetSDLTarget();

    autoplay::AutoPlayer player;
    long long redrawn = 0;
    const int kPasses = 400;
    for (int pass = 0; pass < kPasses; ++pass) {
        player.PlayOnePass(logic, true);
        passes.Step();
        screen->Render(canvas);
        redrawn += recorder.FinishFrame().GetArea();
        ASSERT_EQ(0, std::memcmp(a->pixels, b->pixels, std::size_t(a->pitch) * 480))
            << level << ": pass " << pass << " differs from a full redraw";
    }
    // A real picture (bricks, balls, walls: many colours), and far less than the whole
    // screen drawn again on average.
    std::set<std::uint32_t> colours;
    for (int y = 0; y < 480; y += 3)
        for (int x = 0; x < 640; x += 3)
            colours.insert(static_cast<const std::uint32_t*>(a->pixels)[y * a->pitch / 4 + x]);
    EXPECT_GT(colours.size(), 100u) << level;
    EXPECT_LT(redrawn / kPasses, 640 * 480 / 3) << level;
    std::printf("%s: %.1f %% of the screen drawn again a pass on average\n", level.c_str(),
                100.0 * double(redrawn) / kPasses / (640 * 480));
}

std::uint64_t Checksum(SDL_Surface* shot)
{
    std::uint64_t sum = 1469598103934665603ull;
    for (int y = 0; y < shot->h; ++y) {
        const auto* row = reinterpret_cast<const std::uint32_t*>(
            static_cast<const std::uint8_t*>(shot->pixels) + y * shot->pitch);
        for (int x = 0; x < shot->w; ++x)
            sum = (sum ^ (row[x] & 0xFFFFFFu)) * 1099511628211ull;
    }
    return sum;
}

// The hardware backend's renderer: each pass is drawn where it changed, then drawn again
// whole straight through the backend's renderer; both pictures agree.
TEST_F(ChangedRegionHardwareTest, EveryPassLooksAsAFullRedrawWould)
{
    DisplayManager manager;
    DisplayParams params(false, true, 640, 480, false);
    manager.ApplyDisplayParams(params);
    ASSERT_TRUE(params.accel3d);
    MakoSrand(7);
    NewGame("{gameType = 'Levels', levelName = 'FallingGold', ballsLeft = 4}");
    logic->StartGame();
    passes.SetDrawing(false);
    Canvas changedOnly(manager.GetImageRenderer(), false);
    Canvas whole(manager.GetBackend()->GetImageRenderer(), false);
    autoplay::AutoPlayer player;
    for (int pass = 0; pass < 150; ++pass) {
        player.PlayOnePass(logic, true);
        passes.Step();
        screen->Render(changedOnly);
        manager.FinishFrame();
        const std::uint64_t drawn = Checksum(manager.GetScreenshotSurface());
        screen->Render(whole);
        ASSERT_EQ(Checksum(manager.GetScreenshotSurface()), drawn)
            << "pass " << pass << " differs from a full redraw";
        manager.Flip();
    }
}

// The level the benchmarks play, the busiest level that ships, and the first one.
INSTANTIATE_TEST_SUITE_P(ShippedLevels, ChangedRegionPlayTest,
                         ::testing::Values("FallingGold", "GreatWall", "Welcome"));
