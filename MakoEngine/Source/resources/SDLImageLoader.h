#pragma once
// Loads PNG, JPEG and BMP files (names ending exactly in ".png", ".jpg" or ".bmp") into
// image resources through the registered image factory. The bytes are decoded as the format
// they begin with (resources/PictureDecoder), whose decoder reads the picture's size and
// holds it against the bound before a pixel is allocated: a picture larger than
// kMaxPictureSide on a side or kMaxPicturePixels in all, or one whose pixels (one step of work
// for every kPixelsPerStep) the open work meter cannot pay for, is refused as a damaged
// picture: the resource manager names it once ("the resource "..." could not be loaded (the
// picture is 16000 x 16000 pixels by its PNG header, more than a picture may have ...; it is
// not decoded); the game plays without it") and a plain stand-in takes its place.
#include "luaplus/LuaPlus.h"
#include "resources/PictureDecoder.h"
#include "resources/ResourceLoader.h"

#include <string>

class SDLImageLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    // Decodes the entry's bytes (the reader stays open: the image is made from a copy);
    // the entry becomes RESOURCE_IMAGE. Failures throw ResourceLoadError naming the file.
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "picture file loader"; }
    int KindOfEntry(const ResourceInfo& info) const override;
    // Whether a name is a picture's by its ending (".png", ".jpg", ".bmp"): the one rule of
    // which entries this loader makes, also for a name the pack does not have.
    static bool IsPictureName(const std::string& name);
    // A damaged picture's stand-in: a wholly transparent image that holds the frames its
    // metadata lays out (side by side, in rows of at most kMaxStandInSide pixels), so the
    // frames the game asks for exist; else, or when the sheet would be taller than
    // kMaxStandInSide or larger than kMaxStandInPixels, or the frame count given is not a
    // whole number from 1 to kMaxStandInSide, a kStandInSize square without metadata.
    bool LoadStandIn(ResourceInfo& info) override;

    static constexpr int kStandInSize = 32;
    // The bound every picture is decoded within (PictureDecoder).
    static constexpr long long kMaxPictureSide = PictureDecoder::kMaxSide;
    static constexpr long long kMaxPicturePixels = PictureDecoder::kMaxPixels;
    static constexpr long long kPixelsPerStep = PictureDecoder::kPixelsPerStep;
    static constexpr int kMaxStandInSide = 4096;
    static constexpr long long kMaxStandInPixels = 4096LL * 1024;

private:
    // Stores a transparent image of width x height made with metadata in the entry.
    static bool MakeStandIn(ResourceInfo& info, int width, int height,
                            const LuaPlus::LuaObject& metadata);
};
