// Images: frame layout, metadata, references and their shared surfaces, pixel operations
// and an image loaded from the game's archive.
#include "display/Image.h"
#include "PixelHelpers.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "display/SurfaceManager.h"
#include "geometry/Poly.h"
#include "resources/ImageFactory.h"
#include "resources/PhysFSResourceScanner.h"
#include "resources/ResourceManager.h"
#include "resources/ResourceMemory.h"
#include "resources/SDLImageLoader.h"
#include "resources/WindowsDirectoryResourceScanner.h"
#include "support/TempHome.h"
#include "support/engine/EngineSetup.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <fstream>
#include <memory>
#include <vector>

using namespace displaytest;
using LuaPlus::LuaObject;

namespace {

class ImageTest : public bbtest::LuaFixture
{
protected:
    LuaObject Eval(const std::string& expression) { return bbtest::EvalLua(expression, State()); }

    std::vector<SDL_Rect> Frames(const Image& image)
    {
        std::vector<SDL_Rect> frames;
        for (int i = 0; i < image.GetNumFrames(); ++i)
            frames.push_back(image.GetFrameRect(i));
        return frames;
    }

    // An image over a new w x h surface with the metadata table given as script text.
    Image* WithMetadata(int w, int h, const std::string& metadata, std::uint32_t flags = 0)
    {
        SDL_Surface* s = SurfaceManager::CreateSurface(w, h, false);
        LuaObject table = Eval(metadata);
        return new Image(s, flags, &table);
    }

    template <typename Fn> std::string FailureOf(Fn fn)
    {
        try {
            fn();
        } catch (const Exception& e) {
            return e.GetMessage();
        }
        return "";
    }
};

void ExpectRect(const SDL_Rect& r, int x, int y, int w, int h)
{
    EXPECT_EQ(x, r.x);
    EXPECT_EQ(y, r.y);
    EXPECT_EQ(w, r.w);
    EXPECT_EQ(h, r.h);
}

TEST_F(ImageTest, FramesRunLeftToRightAndWrapWithTheirGap)
{
    std::unique_ptr<Image> sheet(WithMetadata(100, 60,
                                              "{numFrames = 7, width = 30, height = "
                                              "20, gap_y = 5}"));
    const std::vector<SDL_Rect> frames = Frames(*sheet);
    const int expected[7][2] = {{0, 0}, {30, 0}, {60, 0}, {0, 25}, {30, 25}, {60, 25}, {0, 50}};
    ASSERT_EQ(7u, frames.size());
    for (int i = 0; i < 7; ++i)
        ExpectRect(frames[i], expected[i][0], expected[i][1], 30, 20);
    EXPECT_EQ(Point<int>(30, 20), sheet->GetFrameSize());
    EXPECT_EQ("Assertion failed: (frame < (int)m_FrameRects->size())",
              FailureOf([&] { sheet->GetFrameRect(7); }));

    // Exactly fitting frames stay on one row; a frame that would overhang wraps.
    std::unique_ptr<Image> strip(new Image(16, 8, 4, 0));
    EXPECT_EQ(48, strip->GetFrameRect(3).x);
    EXPECT_EQ(0, strip->GetFrameRect(3).y);
    strip->BuildFrameRects(20, 8, 4, 2);
    ExpectRect(strip->GetFrameRect(2), 40, 0, 20, 8);
    ExpectRect(strip->GetFrameRect(3), 0, 10, 20, 8);

    // Frames of different sizes have no shared frame size; without a list the frame is
    // the whole picture.
    strip->AddFrameRect(MakeRect(0, 0, 5, 5));
    EXPECT_EQ(Point<int>(0, 0), strip->GetFrameSize());
    strip->ClearFrameRects();
    ExpectRect(strip->GetFrameRect(12), 0, 0, 64, 8);
    EXPECT_THROW(strip->BuildFrameRects(8, 8, 0, 0), Exception);
}

TEST_F(ImageTest, MetadataDecidesKeyFramesAndBlending)
{
    EXPECT_EQ("Assertion failed: (metadata[\"width\"].IsInteger())\nMessage: image metadata has "
              "numFrames, but not width (unnamed image of 10 x 10)",
              FailureOf([&] { WithMetadata(10, 10, "{numFrames = 4}"); }));
    EXPECT_EQ("Assertion failed: (metadata[\"height\"].IsInteger())\nMessage: image metadata "
              "has numFrames, but not height (unnamed image of 10 x 10)",
              FailureOf([&] { WithMetadata(10, 10, "{numFrames = 4, width = 2}"); }));
    EXPECT_EQ("Assertion failed: (metadata[\"width\"].IsNil() || (metadata[\"width\"].IsInteger() "
              "&& metadata[\"width\"].ToInteger() == this->GetSize().x))\nMessage: image "
              "metadata width is not the picture's width (unnamed image of 10 x 10)",
              FailureOf([&] { WithMetadata(10, 10, "{width = 11}"); }));
    EXPECT_EQ("Assertion failed: (metadata[\"height\"].IsNil() || "
              "(metadata[\"height\"].IsInteger() && metadata[\"height\"].ToInteger() == "
              "this->GetSize().y))\nMessage: image metadata height is not the picture's height "
              "(unnamed image of 10 x 10)",
              FailureOf([&] { WithMetadata(10, 10, "{height = 2.5}"); }));
    EXPECT_EQ("Assertion failed: (numFrames > 0)\nMessage: image metadata has numFrames = 0 "
              "(unnamed image of 10 x 10)",
              FailureOf([&] { WithMetadata(10, 10, "{numFrames = 0, width = 5, height = 5}"); }));

    std::unique_ptr<Image> keyed(WithMetadata(4, 4, "{colorKey = true, width = 4}"));
    EXPECT_TRUE(keyed->GetSDLSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_TRUE(keyed->IsOpaque());
    // Only true keys the picture.
    std::unique_ptr<Image> notKeyed(WithMetadata(4, 4, "{colorKey = false}"));
    EXPECT_FALSE(notKeyed->GetSDLSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_FALSE(notKeyed->IsOpaque());

    std::unique_ptr<Image> combined(WithMetadata(4, 4, "{combinedAlpha = true}", IMAGE_OPAQUE));
    EXPECT_EQ(IMAGE_COMBINEDALPHA, combined->GetFlags() & (IMAGE_COMBINEDALPHA | IMAGE_OPAQUE));
    std::unique_ptr<Image> stillOpaque(WithMetadata(4, 4, "{combinedAlpha = false}", IMAGE_OPAQUE));
    EXPECT_TRUE(stillOpaque->IsOpaque());
    std::unique_ptr<Image> noAlpha(WithMetadata(4, 4, "{noAlpha = true}"));
    EXPECT_TRUE(noAlpha->IsOpaque());
    EXPECT_FALSE(noAlpha->GetSDLSurface()->flags & SDL_SRCALPHA);

    EXPECT_EQ("Image::GetHWSurface() is no longer supported.",
              FailureOf([] { Image(4, 4, 1, IMAGE_HWSURFACE); }));
}

TEST_F(ImageTest, FrameMetadataMustFitTheSheetAndErrorsNameTheImage)
{
    // Every refusal names the image (by its resource name when it has one) and leaves no
    // image or surface record behind.
    SurfaceManager& manager = SurfaceManager::GetInstance();
    const int images = Image::GetLiveCount();
    const int nodes = manager.GetNodeCount();
    auto named = [&](const std::string& metadata) {
        SDL_Surface* s = SurfaceManager::CreateSurface(100, 60, false);
        LuaObject table = Eval(metadata);
        Image image(s, 0, &table, "Images/Ball.png");
    };
    EXPECT_EQ("Assertion failed: (width > 0 && height > 0)\nMessage: image metadata has frames "
              "of -30 x 20 (image \"Images/Ball.png\" of 100 x 60)",
              FailureOf([&] { named("{numFrames = 2, width = -30, height = 20}"); }));
    EXPECT_EQ("Assertion failed: (width > 0 && height > 0)\nMessage: image metadata has frames "
              "of 30 x 0 (image \"Images/Ball.png\" of 100 x 60)",
              FailureOf([&] { named("{numFrames = 2, width = 30, height = 0}"); }));
    EXPECT_EQ("Assertion failed: (gapY >= 0)\nMessage: image metadata has gap_y = -5 (image "
              "\"Images/Ball.png\" of 100 x 60)",
              FailureOf([&] { named("{numFrames = 2, width = 30, height = 20, gap_y = -5}"); }));
    EXPECT_EQ("Assertion failed: (width <= GetSize().x && height <= GetSize().y)\nMessage: image "
              "metadata has frames of 30 x 61, larger than the picture (image "
              "\"Images/Ball.png\" of 100 x 60)",
              FailureOf([&] { named("{numFrames = 1, width = 30, height = 61}"); }));
    // Three frames across, rows 25 apart: rows start at 0, 25 and 50, so nine frames fit
    // (the last row cut short by the sheet's bottom edge); a tenth would start below it.
    EXPECT_EQ("", FailureOf([&] { named("{numFrames = 9, width = 30, height = 20, gap_y = 5}"); }));
    EXPECT_EQ("Assertion failed: (numFrames <= capacity)\nMessage: image metadata has numFrames "
              "= 10, but frames of 30 x 20 with gap_y = 5 fit only 9 times (image "
              "\"Images/Ball.png\" of 100 x 60)",
              FailureOf([&] { named("{numFrames = 10, width = 30, height = 20, gap_y = 5}"); }));
    EXPECT_NE(std::string::npos, FailureOf([&] {
                                     named("{numFrames = 2000000000, width = 1, height = 1}");
                                 }).find("fit only 6000 times"));
    EXPECT_NE(std::string::npos,
              FailureOf([&] { named("{width = 99}"); }).find("(image \"Images/Ball.png\""));
    EXPECT_EQ(images, Image::GetLiveCount());
    EXPECT_EQ(nodes, manager.GetNodeCount());

    // References carry the name of the picture they show.
    SDL_Surface* s = SurfaceManager::CreateSurface(8, 8, false);
    Image source(s, 0, nullptr, "Images/Dot.png");
    std::unique_ptr<Image> reference(Image::CreateReference(&source));
    EXPECT_EQ("Images/Dot.png", reference->GetName());
}

TEST_F(ImageTest, ALoadedPictureWithBadMetadataIsNamedInTheError)
{
    bbtest::TempHome home;
    const std::string folder = home.Path() + "/site";
    bbtest::WriteFile(folder + "/image.cfg",
                      "Metadata { ['Strip.bmp'] = { numFrames = 3, width = 8, height = 8 } }\n");
    SDL_Surface* picture = SurfaceManager::CreateSurface(16, 8, false);
    ASSERT_EQ(0, SDL_SaveBMP(picture, (folder + "/Strip.bmp").c_str()));
    SDL_FreeSurface(picture);

    ResourceManager manager(State());
    manager.AddLoader(new SDLImageLoader());
    manager.AddScanner(new WindowsDirectoryResourceScanner(folder));
    manager.ScanAll();
    // More frames than the picture holds: the count is cut to the frames it holds, and the
    // metadata file, the picture and the key are named in the log.
    bbtest::WriteFile(home.Path() + "/image.log", "");
    const std::string previousLog = GetLogFilePath();
    SetLogFilePath(home.Path() + "/image.log");
    EXPECT_EQ("", FailureOf([&] {
                  Image strip("Strip.bmp");
                  EXPECT_EQ(2, strip.GetNumFrames());
                  EXPECT_EQ(16, strip.GetSize().x);
              }));
    SetLogFilePath(previousLog);
    EXPECT_NE(std::string::npos,
              bbtest::ReadFile(home.Path() + "/image.log")
                  .find("Warning: the metadata file \"" + folder + "/image.cfg\" gives "
                        "\"Strip.bmp\" numFrames = 3 (the picture holds 2 frames of 8 x 8); it "
                        "was set to 2\n"));
}

TEST_F(ImageTest, ImagesAndSurfaceRecordsAreReleased)
{
    SurfaceManager& manager = SurfaceManager::GetInstance();
    const int images = Image::GetLiveCount();
    const int nodes = manager.GetNodeCount();
    const long long bytes = manager.GetSystemMemoryBytes();
    const int32_t counted = SysmemImageBytes;
    for (int i = 0; i < 20; ++i) {
        std::unique_ptr<Image> image(new Image(8, 8, 2, 0, Color(1, 2, 3)));
        std::unique_ptr<Image> ref(Image::CreateReference(image.get()));
        EXPECT_EQ(2, image->GetSurfaceNode()->refCount);
        EXPECT_EQ(0, ref->CalcMemoryUsage(false));
        EXPECT_EQ(16 * 8 * 4, ref->CalcMemoryUsage(true));
        std::unique_ptr<Image> clone(ref->Clone());
        std::unique_ptr<Image> frame(image->ExtractFrame(1));
        EXPECT_EQ(nodes + 3, manager.GetNodeCount());
        EXPECT_EQ(counted + 4 * (16 * 8 * 2 + 8 * 8), SysmemImageBytes);
        image.reset(); // the reference keeps the picture
        EXPECT_EQ(0xFF010203u, GetPixel(ref.get(), 15, 7));
        EXPECT_EQ(nullptr, ref->GetSource());
        EXPECT_THROW(WithMetadata(4, 4, "{numFrames = 2}"), Exception);
        EXPECT_THROW(Image(4, 4, 1, IMAGE_HWSURFACE), Exception);
    }
    EXPECT_EQ(images, Image::GetLiveCount());
    EXPECT_EQ(nodes, manager.GetNodeCount());
    EXPECT_EQ(bytes, manager.GetSystemMemoryBytes());
    EXPECT_EQ(counted, SysmemImageBytes);
}

TEST_F(ImageTest, AFailedImageGivesBackOnlyTheReferenceItWasGiven)
{
    SurfaceManager& manager = SurfaceManager::GetInstance();
    const int images = Image::GetLiveCount();
    const int nodes = manager.GetNodeCount();
    const long long bytes = manager.GetSystemMemoryBytes();
    const ImageFactory factory = GetImageFactory();
    const LuaObject noWidth = Eval("{numFrames = 2}");

    // The loader keeps its surface when the factory fails, whether the image held the
    // surface itself or a converted copy of it.
    SDL_Surface* reference = SurfaceManager::CreateSurface(4, 4, false);
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 4, 4, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    for (SDL_Surface* surface : {reference, rgb}) {
        EXPECT_THROW(factory(surface, 0, noWidth, "Images/Test.png"), Exception);
        EXPECT_EQ(1, surface->refcount);
        EXPECT_EQ(0, SDL_FillRect(surface, nullptr, 0)); // still the loader's to use
    }
    EXPECT_EQ(images, Image::GetLiveCount());
    EXPECT_EQ(nodes, manager.GetNodeCount());
    EXPECT_EQ(bytes, manager.GetSystemMemoryBytes());

    // Once the image stands, the resource holds the only reference (its own copy when
    // converted, the loader's surface then being freed).
    const LuaObject none = Eval("nil");
    std::unique_ptr<Resource> held(factory(reference, 0, none, ""));
    EXPECT_EQ(reference, static_cast<Image*>(held.get())->GetSDLSurface());
    EXPECT_EQ(1, reference->refcount);
    std::unique_ptr<Resource> converted(factory(rgb, IMAGE_FLAG_OPAQUE, none, ""));
    EXPECT_NE(rgb, static_cast<Image*>(converted.get())->GetSDLSurface());
    EXPECT_EQ(1, static_cast<Image*>(converted.get())->GetSDLSurface()->refcount);
    held.reset();
    converted.reset();
    EXPECT_EQ(nodes, manager.GetNodeCount());

    // An image over a handle always takes the handle's reference, freeing it on failure;
    // the held-directly flag does not apply to it.
    SDL_Surface* shared = SurfaceManager::CreateSurface(4, 4, false);
    EXPECT_THROW(Image(SurfaceHandle::Share(shared), 0, &noWidth), Exception);
    EXPECT_EQ(1, shared->refcount);
    {
        Image taken(SurfaceHandle::Share(shared), IMAGE_DIRECT_SURFACE, nullptr);
        EXPECT_NE(nullptr, taken.GetSurfaceNode());
        EXPECT_FALSE(taken.GetFlags() & IMAGE_DIRECT_SURFACE);
        EXPECT_EQ(2, shared->refcount);
    }
    EXPECT_EQ(1, shared->refcount);
    SDL_FreeSurface(shared);
    EXPECT_EQ(images, Image::GetLiveCount());
    EXPECT_EQ(bytes, manager.GetSystemMemoryBytes());
}

TEST_F(ImageTest, ReferencesToAHeldSurfaceHoldItToo)
{
    SDL_Surface* surface = SurfaceManager::CreateSurface(5, 3, false);
    const int nodes = SurfaceManager::GetInstance().GetNodeCount();
    {
        Image held(surface, IMAGE_DIRECT_SURFACE, nullptr);
        std::unique_ptr<Image> ref(Image::CreateReference(&held));
        EXPECT_EQ(surface, ref->GetSDLSurface());
        EXPECT_EQ(Point<int>(5, 3), ref->GetSize());
        EXPECT_EQ(nullptr, ref->GetSurfaceNode());
        EXPECT_TRUE(ref->GetFlags() & IMAGE_REFERENCE);
        EXPECT_EQ(nodes, SurfaceManager::GetInstance().GetNodeCount());
    }
    // Neither image freed the surface: it is still its owner's to use and free.
    EXPECT_EQ(1, surface->refcount);
    EXPECT_EQ(0, SDL_FillRect(surface, nullptr, 0));
    SDL_FreeSurface(surface);
}

TEST_F(ImageTest, SurfacesAreNormalisedToTheReferenceFormat)
{
    // A 24-bit picture is replaced by a 32-bit copy.
    SDL_Surface* rgb = SDL_CreateRGBSurface(SDL_SWSURFACE, 3, 2, 24, 0xFF0000, 0xFF00, 0xFF, 0);
    const long long before = SurfaceManager::GetInstance().GetSystemMemoryBytes();
    std::unique_ptr<Image> image(new Image(rgb, IMAGE_OPAQUE, nullptr));
    EXPECT_EQ(4, image->GetSDLSurface()->format->BytesPerPixel);
    EXPECT_EQ(before + 4 * 3 * 2, SurfaceManager::GetInstance().GetSystemMemoryBytes());

    // A palette picture keeps its colour key, now in the new format.
    SDL_Surface* indexed = SDL_CreateRGBSurface(SDL_SWSURFACE, 2, 1, 8, 0, 0, 0, 0);
    SDL_Color colours[2] = {{10, 20, 30, 0}, {200, 100, 50, 0}};
    SDL_SetColors(indexed, colours, 0, 2);
    SDL_SetColorKey(indexed, SDL_SRCCOLORKEY, 1);
    std::unique_ptr<Image> paletted(new Image(indexed, IMAGE_OPAQUE, nullptr));
    SDL_Surface* converted = paletted->GetSDLSurface();
    ASSERT_TRUE(converted->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(0x00C86432u, converted->format->colorkey & 0x00FFFFFF);

    EXPECT_THROW(new Image(static_cast<SDL_Surface*>(nullptr), 0, nullptr), ImageException);
    EXPECT_EQ("Assertion failed: (type == SURFACETYPE_D3D && sourceType == SURFACETYPE_SDL)\n"
              "Message: An unsupported image conversion was attempted.",
              FailureOf([&] {
                  SurfaceManager::GetInstance().Node_RefreshSurfaceType(image->GetSurfaceNode(), 1,
                                                                        2);
              }));
}

TEST_F(ImageTest, CloneKeepsPixelsFramesAndColourKey)
{
    std::unique_ptr<Image> source(NumberedImage(6, 4));
    SetPixel(source.get(), 0, 0, 0xFF00FF00);
    source->SetColorKeyFromFirstPixel();
    source->SetOpaque();
    source->SetAlpha(77);
    source->BuildFrameRects(3, 4, 2, 0);
    std::unique_ptr<Image> clone(source->Clone());
    for (int y = 0; y < 4; ++y)
        for (int x = 0; x < 6; ++x)
            EXPECT_EQ(GetPixel(source.get(), x, y), GetPixel(clone.get(), x, y));
    EXPECT_TRUE(clone->GetSDLSurface()->flags & SDL_SRCCOLORKEY);
    EXPECT_EQ(0x00FF00u, clone->GetSDLSurface()->format->colorkey & 0xFFFFFF);
    EXPECT_TRUE(clone->IsOpaque());
    EXPECT_EQ(77, clone->GetAlpha());
    EXPECT_EQ(2, clone->GetNumFrames());
    ExpectRect(clone->GetFrameRect(1), 3, 0, 3, 4);
}

TEST_F(ImageTest, FadeAndClipLimitAlpha)
{
    std::unique_ptr<Image> image(SolidImage(4, 4, 0xC0112233));
    image->Fade(0x80);
    EXPECT_EQ(0x80112233u, GetPixel(image.get(), 2, 2));
    image->Fade(0xFF);
    EXPECT_EQ(0x80112233u, GetPixel(image.get(), 2, 2));

    std::unique_ptr<Image> mask(SolidImage(3, 4, 0x40FFFFFF));
    SetPixel(mask.get(), 1, 1, 0x00FFFFFF);
    SetPixel(mask.get(), 2, 2, 0xFF000000);
    image->Clip(mask.get());
    EXPECT_EQ(0x40112233u, GetPixel(image.get(), 0, 0));
    EXPECT_EQ(0u, GetPixel(image.get(), 1, 1));
    EXPECT_EQ(0x80112233u, GetPixel(image.get(), 2, 2));
    EXPECT_EQ(0u, GetPixel(image.get(), 3, 0)); // outside the mask
}

TEST_F(ImageTest, ClipToCircleAndPolygonKeepTheirInside)
{
    std::unique_ptr<Image> round(SolidImage(20, 20, 0xFF102030));
    round->ClipToCircle(Point<int>(0, 0), 10.0f);
    EXPECT_EQ(0xFF102030u, GetPixel(round.get(), 10, 10)); // centre
    EXPECT_EQ(0xFF102030u, GetPixel(round.get(), 3, 10));
    EXPECT_EQ(0u, GetPixel(round.get(), 0, 0)); // corners
    EXPECT_EQ(0u, GetPixel(round.get(), 19, 19));
    EXPECT_EQ(0u, GetPixel(round.get(), 2, 2));

    std::unique_ptr<Image> tri(SolidImage(20, 20, 0xFF102030));
    Poly poly;
    const Point2f v[3] = {{0, 0}, {19, 0}, {0, 19}};
    poly.SetVertices(v, v + 3);
    const int before = Image::GetLiveCount();
    tri->ClipToPoly(poly);
    EXPECT_EQ(before, Image::GetLiveCount()); // the mask is gone again
    EXPECT_EQ(0xFF102030u, GetPixel(tri.get(), 3, 3));
    EXPECT_EQ(0u, GetPixel(tri.get(), 15, 15));
}

TEST_F(ImageTest, SheetFromTheArchive)
{
    const std::string archive = std::string(BB_BINARY_DIR) + "/bumperlux.fun";
    if (!std::ifstream(archive))
        GTEST_SKIP() << "no asset archive at " << archive;
    {
        ResourceManager manager(State());
        manager.AddLoader(new SDLImageLoader());
        manager.AddScanner(new PhysFSResourceScanner(archive));
        manager.ScanAll();
        Image sheet("TestSheet.png");
        EXPECT_EQ(Point<int>(100, 60), sheet.GetSize());
        ASSERT_EQ(7, sheet.GetNumFrames());
        const SDL_Rect frame = sheet.GetFrameRect(4);
        EXPECT_EQ(30, frame.x);
        EXPECT_EQ(25, frame.y);
        EXPECT_EQ(59, frame.x + frame.w - 1);
        EXPECT_EQ(44, frame.y + frame.h - 1);
        EXPECT_EQ(5, sheet.GetFrameGap());
        EXPECT_EQ(20, sheet.GetMetadata()["height"].GetInteger());
        EXPECT_TRUE(sheet.GetFlags() & IMAGE_REFERENCE);
    }
}

} // namespace
