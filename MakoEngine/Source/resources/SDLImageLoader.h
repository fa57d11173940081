#pragma once
// Loads PNG, JPEG and BMP files (names ending exactly in ".png", ".jpg" or ".bmp") into
// image resources with SDL_image, through the registered image factory.
#include "resources/ResourceLoader.h"

class SDLImageLoader : public ResourceLoader
{
public:
    bool CanLoad(const ResourceInfo& info) override;
    // Decodes the entry's bytes (the reader stays open: the image is made from a copy);
    // the entry becomes RESOURCE_IMAGE. Failures throw ResourceLoadError naming the file.
    void LoadResource(FileReader* reader, ResourceInfo& info) override;
    std::string GetDescription() override { return "SDL_Image image file loader"; }
};
