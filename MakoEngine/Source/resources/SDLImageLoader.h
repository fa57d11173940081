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
    // A damaged picture's stand-in: a wholly transparent image of the size its metadata
    // gives (its frames side by side, so the frame layout holds), else of kStandInSize
    // square; sizes beyond kMaxStandInSide fall back to that square too.
    bool LoadStandIn(ResourceInfo& info) override;

    static constexpr int kStandInSize = 32;
    static constexpr int kMaxStandInSide = 4096;

private:
    // Stores a transparent image of width x height made with metadata in the entry.
    static bool MakeStandIn(ResourceInfo& info, int width, int height,
                            const LuaPlus::LuaObject& metadata);
};
