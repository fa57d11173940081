#pragma once
// Loads PNG, JPEG and BMP files (names ending exactly in ".png", ".jpg" or ".bmp") into
// image resources with SDL_image, through the registered image factory. A picture's cost is
// known before it is decoded: its header (resources/PictureHeader) gives its format and size,
// and a picture larger than kMaxPictureSide on a side or kMaxPicturePixels in all, or one
// whose pixels (one step of work for every kPixelsPerStep) the open work meter cannot pay
// for, is refused as a damaged picture: the resource manager names it once ("the resource
// "..." could not be loaded (the picture is 16000 x 16000 pixels by its PNG header, more than
// a picture may have ...; it is not decoded); the game plays without it") and a plain
// stand-in takes its place. The bytes are decoded only
// as the format their header shows.
#include "luaplus/LuaPlus.h"
#include "resources/ResourceLoader.h"

class SDLImageLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    // Decodes the entry's bytes (the reader stays open: the image is made from a copy);
    // the entry becomes RESOURCE_IMAGE. Failures throw ResourceLoadError naming the file.
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "SDL_Image image file loader"; }
    int KindOfEntry(const ResourceInfo& info) const override;
    // A damaged picture's stand-in: a wholly transparent image that holds the frames its
    // metadata lays out (side by side, in rows of at most kMaxStandInSide pixels), so the
    // frames the game asks for exist; else, or when the sheet would be taller than
    // kMaxStandInSide or larger than kMaxStandInPixels, or the frame count given is not a
    // whole number from 1 to kMaxStandInSide, a kStandInSize square without metadata.
    bool LoadStandIn(ResourceInfo& info) override;

    static constexpr int kStandInSize = 32;
    // The largest picture: thirteen times the pixels of the largest the game ships (a 640 x
    // 480 screen) and five times its widest side (736), 16 MiB decoded.
    static constexpr long long kMaxPictureSide = 4096;
    static constexpr long long kMaxPicturePixels = 4096LL * 1024;
    static constexpr long long kPixelsPerStep = 256;
    static constexpr int kMaxStandInSide = 4096;
    static constexpr long long kMaxStandInPixels = 4096LL * 1024;

private:
    // Stores a transparent image of width x height made with metadata in the entry.
    static bool MakeStandIn(ResourceInfo& info, int width, int height,
                            const LuaPlus::LuaObject& metadata);
};
