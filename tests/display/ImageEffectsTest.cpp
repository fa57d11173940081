// Scaled and rotated images: exact right-angle turns, consistent frames and metadata.
#include "display/ImageEffects.h"
#include "PixelHelpers.h"
#include "core/Exception.h"
#include "display/SurfaceManager.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <cmath>
#include <memory>

using namespace displaytest;
using LuaPlus::LuaObject;

namespace {

class ImageEffectsTest : public bbtest::LuaFixture
{
protected:
    // A numbered sheet of frames of fw x fh in one row, with metadata from script text.
    Image* Sheet(int fw, int fh, int frames, const std::string& metadata)
    {
        std::unique_ptr<Image> pixels(NumberedImage(fw * frames, fh));
        LuaObject table = bbtest::EvalLua(metadata, State());
        SDL_Surface* copy =
            SDL_ConvertSurface(pixels->GetSDLSurface(), pixels->GetSDLSurface()->format, 0);
        return new Image(copy, 0, &table);
    }
};

TEST_F(ImageEffectsTest, RightAngleTurnsAreExactPixelCopies)
{
    std::unique_ptr<Image> src(NumberedImage(5, 3));
    src->SetAlpha(99);
    src->SetFlags(src->GetFlags() | IMAGE_COMBINEDALPHA);
    const int W = 5, H = 3;
    struct Turn
    {
        int angle;
        int w, h;
    };
    for (const Turn t : {Turn{-90, 3, 5}, Turn{180, 5, 3}, Turn{90, 3, 5}, Turn{450, 3, 5}}) {
        std::unique_ptr<Image> out(ImageEffects::RotateImageRightAngle(src.get(), t.angle));
        ASSERT_EQ(Point<int>(t.w, t.h), out->GetSize()) << t.angle;
        const int a = (((360 - t.angle) % 360) + 360) % 360;
        for (int y = 0; y < H; ++y)
            for (int x = 0; x < W; ++x) {
                int dx = y, dy = W - 1 - x; // 270: counter-clockwise
                if (a == 90) {
                    dx = H - 1 - y;
                    dy = x;
                } else if (a == 180) {
                    dx = W - 1 - x;
                    dy = H - 1 - y;
                }
                EXPECT_EQ(GetPixel(src.get(), x, y), GetPixel(out.get(), dx, dy)) << t.angle;
            }
        EXPECT_EQ(99, out->GetAlpha());
        EXPECT_TRUE(out->GetFlags() & IMAGE_COMBINEDALPHA);
        EXPECT_FALSE(out->HasMetadata());
    }
    // A positive quarter turn is counter-clockwise on screen: the top-right corner goes to
    // the top-left.
    std::unique_ptr<Image> ccw(ImageEffects::RotateImageRightAngle(src.get(), 90));
    EXPECT_EQ(GetPixel(src.get(), 4, 0), GetPixel(ccw.get(), 0, 0));

    try {
        ImageEffects::RotateImageRightAngle(src.get(), 0);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (angle != 0)\nMessage: RotateImageRightAngle was not passed "
                  "a right angle image.",
                  e.GetMessage());
    }
    try {
        ImageEffects::RotateImageRightAngle(src.get(), 45);
        ADD_FAILURE();
    } catch (const Exception& e) {
        EXPECT_EQ("Assertion failed: (angle % 90 == 0)", e.GetMessage());
    }
}

TEST_F(ImageEffectsTest, ZoomScalesFramesAndMetadataOnACopy)
{
    std::unique_ptr<Image> sheet(Sheet(32, 32, 4,
                                       "{numFrames = 4, width = 32, height = 32, "
                                       "gap_y = 6}"));
    sheet->BuildFrameRects(32, 32, 4, 6);
    std::unique_ptr<Image> half(ImageEffects::ZoomImage(sheet.get(), 0.5, false));
    EXPECT_EQ(Point<int>(64, 16), half->GetSize());
    ASSERT_EQ(4, half->GetNumFrames());
    EXPECT_EQ(Point<int>(16, 16), half->GetFrameSize());
    EXPECT_EQ(48, half->GetFrameRect(3).x);
    EXPECT_EQ(3, half->GetFrameGap());
    LuaObject meta = half->GetMetadata();
    EXPECT_EQ(3, meta["gap_y"].GetInteger());
    EXPECT_EQ(16, meta["width"].GetInteger());
    EXPECT_EQ(16, meta["height"].GetInteger());
    // The source's metadata is untouched, so zooming again starts from the same values.
    EXPECT_EQ(6, sheet->GetMetadata()["gap_y"].GetInteger());
    std::unique_ptr<Image> again(ImageEffects::ZoomImage(sheet.get(), 0.5, true));
    EXPECT_EQ(3, again->GetMetadata()["gap_y"].GetInteger());

    // Wrapping rows keep the scaled gap between them.
    std::unique_ptr<Image> tall(ImageEffects::ZoomImageXY(sheet.get(), 0.25, 2.0, false));
    EXPECT_EQ(Point<int>(32, 64), tall->GetSize());
    EXPECT_EQ(Point<int>(8, 64), tall->GetFrameSize());
    EXPECT_EQ(12, tall->GetMetadata()["gap_y"].GetInteger());

    // Factor 1 is a clone with the same frames and metadata.
    std::unique_ptr<Image> same(ImageEffects::ZoomImage(sheet.get(), 1.0, false));
    EXPECT_EQ(4, same->GetNumFrames());
    EXPECT_EQ(6, same->GetMetadata()["gap_y"].GetInteger());
    EXPECT_EQ(GetPixel(sheet.get(), 100, 20), GetPixel(same.get(), 100, 20));

    // A picture without frames keeps metadata that matches its new size.
    std::unique_ptr<Image> plain(Sheet(10, 10, 1, "{width = 10, height = 10}"));
    std::unique_ptr<Image> big(ImageEffects::ZoomImageXY(plain.get(), 3.0, 2.0, false));
    EXPECT_EQ(30, big->GetMetadata()["width"].GetInteger());
    EXPECT_EQ(20, big->GetMetadata()["height"].GetInteger());

    // Metadata the zoomed picture cannot take fails the zoom and leaves nothing behind:
    // no image, no surface record, no pixels.
    SurfaceManager& manager = SurfaceManager::GetInstance();
    const int images = Image::GetLiveCount();
    const int nodes = manager.GetNodeCount();
    const long long bytes = manager.GetSystemMemoryBytes();
    LuaObject broken = bbtest::EvalLua("{numFrames = 2, width = 'wide', height = 10}", State());
    plain->SetMetadata(&broken);
    EXPECT_THROW(ImageEffects::ZoomImage(plain.get(), 2.0, true), Exception);
    EXPECT_EQ(images, Image::GetLiveCount());
    EXPECT_EQ(nodes, manager.GetNodeCount());
    EXPECT_EQ(bytes, manager.GetSystemMemoryBytes());
}

// Whatever factor a caller works out from data (a blast radius, a size over a frame of one
// pixel, nothing over nothing), the zoom makes a picture a surface can hold: the factor is
// brought to the nearest that fits, and the frames follow.
TEST_F(ImageEffectsTest, ZoomsBeyondASurfaceOrToNothingAreBroughtWithinIt)
{
    std::unique_ptr<Image> strip(Sheet(64, 24, 8, "{numFrames = 8, width = 64, height = 24}"));
    strip->BuildFrameRects(64, 24, 8, 0);
    const double nan = std::nan("");
    const struct
    {
        double x, y;
    } factors[] = {{160.0, 1.0}, {1.0, 1e6}, {1e300, 1e300}, {0.0, 1.0},
                   {-2.0, 1.0},  {nan, 1.0}, {INFINITY, 2.0}};
    for (const auto& factor : factors) {
        SCOPED_TRACE(std::to_string(factor.x) + " x " + std::to_string(factor.y));
        std::unique_ptr<Image> zoomed;
        EXPECT_NO_THROW(
            zoomed.reset(ImageEffects::ZoomImageXY(strip.get(), factor.x, factor.y, true)));
        ASSERT_NE(nullptr, zoomed);
        EXPECT_TRUE(zoomed->GetSize().x >= 1 && zoomed->GetSize().x <= 16383);
        EXPECT_TRUE(zoomed->GetSize().y >= 1 && zoomed->GetSize().y <= 16383);
        EXPECT_LE(double(zoomed->GetSize().x) * zoomed->GetSize().y, 16.0 * 1024 * 1024 + 1);
        EXPECT_GE(zoomed->GetNumFrames(), 1);
        EXPECT_LE(zoomed->GetFrameRect(zoomed->GetNumFrames() - 1).x +
                      zoomed->GetFrameRect(zoomed->GetNumFrames() - 1).w,
                  zoomed->GetSize().x);
    }
}

TEST_F(ImageEffectsTest, RotateNormalisesAnglesAndDescribesOneFrame)
{
    std::unique_ptr<Image> sheet(Sheet(8, 6, 3,
                                       "{numFrames = 3, width = 8, height = 6, "
                                       "gap_y = 2}"));
    std::unique_ptr<Image> r450(ImageEffects::RotateImage(sheet.get(), 450, -1, false));
    std::unique_ptr<Image> r90(ImageEffects::RotateImageRightAngle(sheet.get(), 90));
    ASSERT_EQ(r90->GetSize(), r450->GetSize());
    EXPECT_EQ(GetPixel(r90.get(), 2, 17), GetPixel(r450.get(), 2, 17));
    EXPECT_EQ(1, r450->GetMetadata()["numFrames"].GetInteger());
    EXPECT_TRUE(r450->GetMetadata()["gap_y"].IsNil());
    EXPECT_EQ(6, r450->GetMetadata()["width"].GetInteger());
    EXPECT_EQ(24, r450->GetMetadata()["height"].GetInteger());
    EXPECT_EQ(3, sheet->GetMetadata()["numFrames"].GetInteger());

    std::unique_ptr<Image> minus90(ImageEffects::RotateImage(sheet.get(), -90, -1, false));
    std::unique_ptr<Image> r270(ImageEffects::RotateImageRightAngle(sheet.get(), 270));
    EXPECT_EQ(GetPixel(r270.get(), 1, 1), GetPixel(minus90.get(), 1, 1));

    std::unique_ptr<Image> full(ImageEffects::RotateImage(sheet.get(), 360, 1, false));
    EXPECT_EQ(3, full->GetNumFrames()); // a clone
    // An angle that never comes into range is refused instead of turned forever.
    EXPECT_THROW(ImageEffects::RotateImage(sheet.get(), HUGE_VAL, -1, false), ImageException);

    // One frame turned by 45 degrees: the result is that frame's picture, bigger.
    std::unique_ptr<Image> tilted(ImageEffects::RotateImage(sheet.get(), 45, 2, true));
    const Point<int> size = tilted->GetSize();
    EXPECT_GT(size.x, 8);
    EXPECT_GT(size.y, 6);
    LuaObject meta = tilted->GetMetadata();
    EXPECT_EQ(1, meta["numFrames"].GetInteger());
    EXPECT_EQ(size.x, meta["width"].GetInteger());
    EXPECT_EQ(size.y, meta["height"].GetInteger());
    EXPECT_EQ(1, tilted->GetNumFrames());
    // Its centre shows frame 2's centre (red channel = x of the sheet).
    const int red = (GetPixel(tilted.get(), size.x / 2, size.y / 2) >> 16) & 0xFF;
    EXPECT_NEAR(16 + 4, red, 1);
}

} // namespace
