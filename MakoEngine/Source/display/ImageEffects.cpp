#include "display/ImageEffects.h"

#include "core/DataReport.h"
#include "core/Exception.h"
#include "core/WorkMeter.h"
#include "display/Image.h"
#include "display/SoftwareBlend.h"
#include "resources/MemoryBudget.h"
#include "resources/MetadataRanges.h"
#include "resources/ResourceInfo.h"
#include "resources/ResourceManager.h"

#include <SDL_rotozoom.h>

#include <boost/format.hpp>

#include <algorithm>
#include <cmath>
#include <memory>
#include <set>
#include <string>

using LuaPlus::LuaObject;
using LuaPlus::LuaTableIterator;

namespace {

// A table of its own with the same entries (nil stays nil, non-tables are kept as they
// are): edits to it never reach the resource's metadata.
LuaObject CopyMetadata(const Image* image)
{
    LuaObject metadata = image->GetMetadata();
    if (!metadata.IsTable())
        return metadata;
    LuaObject copy;
    copy.AssignNewTable(metadata.GetState());
    for (LuaTableIterator it(metadata); it; it.Next())
        copy.RawSetObject(LuaPlus::LuaKey(it.GetKey()), it.GetValue());
    return copy;
}

bool IsIntegerEntry(const LuaObject& table, const char* key)
{
    LuaObject value = table[key];
    if (!value.IsNumber())
        return false;
    const double d = value.GetNumber();
    return std::floor(d) == d && std::fabs(d) <= 2147483647.0;
}

void ScaleIntegerEntry(LuaObject& table, const char* key, double factor)
{
    if (IsIntegerEntry(table, key))
        table.SetInteger(key, static_cast<int>(table[key].GetInteger() * factor));
}

[[noreturn]] void ThrowGfxFailure(const char* call)
{
    MAKO_THROW(ImageException,
               boost::str(boost::format("%1% failed: %2%") % call % SDL_GetError()));
}

// Where a picture's frames come from, for a message: its metadata file and its name.
std::string FramesSource(const Image* image)
{
    // A picture read from a folder is named by its path; its resource by the file's name.
    const std::string& path = image->GetName();
    const std::string name = path.substr(path.find_last_of('/') + 1);
    ResourceManager* manager = GetResourceManager();
    const ResourceInfo* info = manager && !name.empty() ? manager->FindInfo(name, true) : nullptr;
    const std::string file = info ? info->GetMetadataFile() : std::string();
    const std::string picture = name.empty() ? "an unnamed picture" : "\"" + name + "\"";
    return file.empty() ? "the metadata of " + picture + " gives"
                        : "the metadata file \"" + file + "\" gives " + picture;
}

// The frames of a zoomed picture as the zoomed surface can hold them: a frame that rounds to
// nothing is one pixel, and the frames are cut to those that fit on the surface (a picture
// whose metadata gives frames of a few pixels, zoomed down). Each mend is logged once for a
// picture and its frames, naming the metadata file and the keys.
void MendZoomedFrames(const Image* image, double factorX, double factorY, const SDL_Surface& zoomed,
                      int gapY, int& width, int& height, int& numFrames)
{
    const int givenWidth = width, givenHeight = height, givenFrames = numFrames;
    width = std::min(std::max(width, 1), zoomed.w);
    height = std::min(std::max(height, 1), zoomed.h);
    const long long columns = zoomed.w / width;
    const long long rows = (zoomed.h - 1) / (static_cast<long long>(height) + gapY) + 1;
    numFrames = int(std::max(1LL, std::min<long long>(numFrames, columns * rows)));
    if (width == givenWidth && height == givenHeight && numFrames == givenFrames)
        return;
    static std::set<std::string> s_Logged;
    const SDL_Rect frame = image->GetFrameRect(0);
    const std::string keys =
        boost::str(boost::format("width = %1%, height = %2%, numFrames = %3%") % frame.w % frame.h %
                   image->GetNumFrames());
    if (!s_Logged.insert(image->GetName() + " " + keys).second)
        return;
    DataReport::WarnOfPack(boost::str(boost::format("%1% %2%: frames too small to zoom "
                                                    "by %3% x %4%; the zoomed picture has %5% "
                                                    "frame(s) of %6% x %7%") %
                                      FramesSource(image) % keys % factorX % factorY % numFrames %
                                      width % height));
}

// The most pixels a zoomed picture may have (64 MiB of 32-bit pixels).
const double kMaxZoomedPixels = 16.0 * 1024 * 1024;

// A zoom factor the picture's side can be zoomed by: one that would make the side larger
// than a surface may be is lowered to the largest that fits, one that is not a positive
// number gives one pixel. True when the factor was kept.
bool FitFactor(double& factor, int side)
{
    const double most = double(MetadataRanges::kMaxSurfaceSide) / std::max(side, 1);
    if (std::isfinite(factor) && factor > 0 && factor <= most)
        return true;
    factor = factor > most ? most : 1.0 / std::max(side, 1);
    return false;
}

// Mends factors no surface can be made for (see FitFactor), or that would make more than
// kMaxZoomedPixels, telling it once for a picture and the factors asked, with the metadata
// file and the keys of its frames (through core/DataReport: a level check hears it).
void FitZoom(const Image* image, double& factorX, double& factorY)
{
    const double askedX = factorX, askedY = factorY;
    const int w = image->GetSDLSurface()->w, h = image->GetSDLSurface()->h;
    const bool keptX = FitFactor(factorX, w), keptY = FitFactor(factorY, h);
    bool kept = keptX && keptY;
    // Nor more pixels than a few screens' worth: a picture is zoomed to be shown.
    const double area = (w * factorX) * (h * factorY);
    if (area > kMaxZoomedPixels) {
        // A little under, so that rounding each side up stays within.
        const double scale = std::sqrt(kMaxZoomedPixels / area) * 0.999;
        factorX *= scale;
        factorY *= scale;
        kept = false;
    }
    if (kept)
        return;
    static std::set<std::string> s_Told;
    const SDL_Rect frame = image->GetFrameRect(0);
    const std::string keys =
        boost::str(boost::format("width = %1%, height = %2%, numFrames = %3%") % frame.w % frame.h %
                   image->GetNumFrames());
    const std::string told =
        boost::str(boost::format("%1% %2% %3% %4%") % image->GetName() % keys % askedX % askedY);
    if (!s_Told.insert(told).second)
        return;
    DataReport::WarnOfPack(boost::str(boost::format("%1% %2%: a zoom by %3% x %4% of "
                                                    "the picture of %5% x %6% makes no surface; "
                                                    "it was zoomed by %7% x %8%") %
                                      FramesSource(image) % keys % askedX % askedY % w % h %
                                      factorX % factorY));
}

// A copy of source of width x height is about to be made: its pixels are charged to the open
// work meter (a level's copies are the level's work, and a stop is answered here) and its
// bytes to the budget of what the game holds decoded, which raises BudgetExceeded when they
// do not fit. While the budget makes room, source's pixels are held once more, so it is never
// what is let go.
void ChargeCopy(Image* source, int width, int height, const char* how)
{
    const long long pixels = static_cast<long long>(std::max(width, 0)) * std::max(height, 0);
    WorkMeter::Charge(1 + pixels / 256);
    const std::unique_ptr<Image> pinned =
        source->GetSurfaceNode() ? Image::HoldSurfaceRecord(source->GetSurfaceNode()) : nullptr;
    MemoryBudget::Charge(pixels * 4,
                         boost::str(boost::format("a copy of \"%1%\" %2% to %3% x %4% pixels") %
                                    source->GetName() % how % width % height));
}

// The source's blending flags and alpha, given to a derived image.
void InheritLook(Image* result, const Image* source)
{
    result->SetFlags(result->GetFlags() | (source->GetFlags() & IMAGE_INHERITED_FLAGS));
    result->SetAlpha(source->GetAlpha());
}

} // namespace

namespace ImageEffects {

Image* ZoomImage(Image* image, double factor, bool smooth)
{
    return ZoomImageXY(image, factor, factor, smooth);
}

Image* ZoomImageXY(Image* image, double factorX, double factorY, bool smooth)
{
    if (factorX == 1.0 && factorY == 1.0)
        return image->Clone();
    FitZoom(image, factorX, factorY);
    const SDL_Rect r = image->GetFrameRect(0);
    int frameWidth = static_cast<int>((r.x + r.w) * factorX);
    int frameHeight = static_cast<int>((r.y + r.h) * factorY);
    int numFrames = image->GetNumFrames();
    const int gapY = static_cast<int>(image->GetFrameGap() * factorY);
    int zoomedWidth = 0, zoomedHeight = 0;
    zoomSurfaceSize(image->GetSize().x, image->GetSize().y, factorX, factorY, &zoomedWidth,
                    &zoomedHeight);
    ChargeCopy(image, zoomedWidth, zoomedHeight, "zoomed");
    SurfaceHandle surface(
        zoomSurface(image->GetSDLSurface(), factorX, factorY, smooth ? SMOOTHING_ON : 0));
    if (!surface)
        ThrowGfxFailure("zoomSurface");
    MendZoomedFrames(image, factorX, factorY, *surface.get(), gapY, frameWidth, frameHeight,
                     numFrames);

    LuaObject metadata = CopyMetadata(image);
    if (metadata.IsTable()) {
        ScaleIntegerEntry(metadata, "gap_y", factorY);
        if (IsIntegerEntry(metadata, "numFrames")) {
            // Frames: the metadata's frame size is the new frame size.
            if (IsIntegerEntry(metadata, "width"))
                metadata.SetInteger("width", frameWidth);
            if (IsIntegerEntry(metadata, "height"))
                metadata.SetInteger("height", frameHeight);
            metadata.SetInteger("numFrames", numFrames);
        } else {
            // No frames: width and height describe the whole picture.
            if (IsIntegerEntry(metadata, "width"))
                metadata.SetInteger("width", surface->w);
            if (IsIntegerEntry(metadata, "height"))
                metadata.SetInteger("height", surface->h);
        }
    }
    const std::uint32_t flags = (image->GetFlags() & IMAGE_INHERITED_FLAGS) | IMAGE_OWNS_METADATA;
    auto result = std::make_unique<Image>(
        std::move(surface), flags, metadata.IsSet() && !metadata.IsNil() ? &metadata : nullptr);
    const int scaledGap = metadata.IsTable() && IsIntegerEntry(metadata, "gap_y")
                              ? metadata["gap_y"].GetInteger()
                              : gapY;
    result->BuildFrameRects(frameWidth, frameHeight, numFrames, scaledGap);
    return result.release();
}

Image* RotateImageRightAngle(Image* image, int degrees)
{
    int angle = 360 - degrees;
    MAKO_ASSERT(angle % 90 == 0);
    angle = ((angle % 360) + 360) % 360;
    // A turn by a whole circle is no turn: callers hand the image over as it is instead.
    MAKO_ASSERT_MSG(angle != 0, "RotateImageRightAngle was not passed a right angle image.");
    SDL_Surface* src = image->GetSDLSurface();
    MAKO_ASSERT(src->format->BytesPerPixel == 4);
    const int W = src->w;
    const int H = src->h;
    const bool swap = angle % 180 != 0;
    auto result = std::make_unique<Image>(swap ? H : W, swap ? W : H, 1, 0);
    SDL_Surface* dst = result->GetSDLSurface();
    SDL_LockSurface(src);
    SDL_LockSurface(dst);
    for (int y = 0; y < H; ++y) {
        const std::uint32_t* row = SoftwareBlend::PixelRow(src, y);
        for (int x = 0; x < W; ++x) {
            int dx = 0, dy = 0;
            if (angle == 90) {
                dx = H - 1 - y;
                dy = x;
            } else if (angle == 180) {
                dx = W - 1 - x;
                dy = H - 1 - y;
            } else {
                dx = y;
                dy = W - 1 - x;
            }
            SoftwareBlend::PixelRow(dst, dy)[dx] = row[x];
        }
    }
    SDL_UnlockSurface(dst);
    SDL_UnlockSurface(src);
    InheritLook(result.get(), image);
    // The pixels are exact copies, so a colour key still applies to them.
    if (src->flags & SDL_SRCCOLORKEY)
        result->SetColorKey(SDL_SRCCOLORKEY, src->format->colorkey);
    return result.release();
}

Image* RotateImage(Image* image, double degrees, int frame, bool smooth)
{
    // An infinite angle would never come into 0-360, and NaN is no angle at all.
    if (!std::isfinite(degrees))
        MAKO_THROW(ImageException, "RotateImage was given an angle that is not a number.");
    degrees = std::fmod(degrees, 360.0);
    if (degrees < 0)
        degrees += 360.0;
    if (degrees == 0)
        return image->Clone();
    LuaObject metadata = CopyMetadata(image);
    std::unique_ptr<Image> frameImage;
    Image* source = image;
    if (frame != -1 && image->GetNumFrames() > 1) {
        frameImage.reset(image->ExtractFrame(frame));
        source = frameImage.get();
    }
    std::unique_ptr<Image> result;
    if (degrees == 90 || degrees == 180 || degrees == 270) {
        result.reset(RotateImageRightAngle(source, static_cast<int>(degrees)));
    } else {
        int turnedWidth = 0, turnedHeight = 0;
        rotozoomSurfaceSize(source->GetSize().x, source->GetSize().y, degrees, 1.0, &turnedWidth,
                            &turnedHeight);
        ChargeCopy(source, turnedWidth, turnedHeight, "turned");
        SurfaceHandle surface(
            rotozoomSurface(source->GetSDLSurface(), degrees, 1.0, smooth ? SMOOTHING_ON : 0));
        if (!surface)
            ThrowGfxFailure("rotozoomSurface");
        result = std::make_unique<Image>(std::move(surface), 0, nullptr);
    }
    // The look of the image asked for, not of the temporary frame.
    InheritLook(result.get(), image);
    if (metadata.IsTable()) {
        if (IsIntegerEntry(metadata, "numFrames")) {
            metadata.SetInteger("numFrames", 1);
            metadata.SetNil("gap_y");
        }
        if (IsIntegerEntry(metadata, "height"))
            metadata.SetInteger("height", result->GetSize().y);
        if (IsIntegerEntry(metadata, "width"))
            metadata.SetInteger("width", result->GetSize().x);
    }
    result->SetMetadata(metadata.IsSet() && !metadata.IsNil() ? &metadata : nullptr);
    result->SetFlags(result->GetFlags() | IMAGE_OWNS_METADATA);
    return result.release();
}

} // namespace ImageEffects
