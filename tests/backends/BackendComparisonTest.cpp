// One scene drawn through each backend gives the same picture, pixel for pixel.
#include "backends/BackendFixture.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayBackendSDL.h"
#include "display/DisplayManager.h"

using namespace backendtest;

namespace {

class BackendComparisonTest : public BackendTest
{
protected:
    // The scene drawn and presented through a new display of that kind, drawn whole or
    // only where it changed (the scene is drawn twice: the second frame changes nothing).
    std::vector<std::uint32_t> Render(bool accel3d, bool fullscreen, bool fullRedraw)
    {
        DisplayManager manager;
        manager.SetFullRedraw(fullRedraw);
        DisplayParams params(fullscreen, accel3d, 640, 480, false);
        manager.ApplyDisplayParams(params);
        EXPECT_EQ(accel3d, params.accel3d);
        auto images = MakeSceneImages();
        for (int frame = 0; frame < 2; ++frame) {
            DrawScene(*manager.GetImageRenderer(), images);
            manager.Flip();
        }
        SDL_Surface* shot = manager.GetScreenshotSurface();
        EXPECT_NE(nullptr, shot);
        if (!shot)
            return {};
        EXPECT_EQ(640, shot->w);
        EXPECT_EQ(480, shot->h);
        // What the backend presented is also on SDL's display.
        SDL_Surface* video = SDL_GetVideoSurface();
        EXPECT_NE(nullptr, video);
        if (video) {
            EXPECT_EQ(RgbPixels(shot), RgbPixels(video));
        }
        return RgbPixels(shot);
    }
};

} // namespace

TEST_F(BackendComparisonTest, BothBackendsDrawTheSameScene)
{
    for (bool fullscreen : {false, true}) {
        for (bool fullRedraw : {false, true}) {
            SCOPED_TRACE(fullRedraw ? "full redraws" : "drawing what changed");
            std::vector<std::uint32_t> software = Render(false, fullscreen, fullRedraw);
            std::vector<std::uint32_t> hardware = Render(true, fullscreen, fullRedraw);
            ASSERT_EQ(software.size(), hardware.size());
            int worst = 0, differing = 0;
            for (std::size_t i = 0; i < software.size(); ++i) {
                int d = ChannelDistance(software[i], hardware[i]);
                worst = std::max(worst, d);
                differing += d > 0;
            }
            EXPECT_EQ(0, worst) << "full screen " << fullscreen;
            EXPECT_EQ(0, differing) << "full screen " << fullscreen;
            // The scene is not trivially empty.
            EXPECT_NE(software[0], 0u);
            // Neither backend shows the key colour of the keyed image.
            int keyed = 0;
            for (std::size_t i = 0; i < software.size(); ++i)
                keyed += (software[i] == kKeyRgb) + (hardware[i] == kKeyRgb);
            EXPECT_EQ(0, keyed) << "full screen " << fullscreen;
        }
    }
}
