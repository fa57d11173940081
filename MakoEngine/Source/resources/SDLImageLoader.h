#pragma once
// Loads PNG, JPEG and BMP files (names ending exactly in ".png", ".jpg" or ".bmp") into
// image resources with SDL_image, through the registered image factory.
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
    static constexpr int kMaxStandInSide = 4096;
    static constexpr long long kMaxStandInPixels = 4096LL * 1024;

private:
    // Stores a transparent image of width x height made with metadata in the entry.
    static bool MakeStandIn(ResourceInfo& info, int width, int height,
                            const LuaPlus::LuaObject& metadata);
};
