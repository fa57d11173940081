// A picture file: decoded as the game decodes it (resources/PictureDecoder), then loaded from a
// folder through the resource manager as the game loads the pack's pictures. Whatever it
// decodes to lies within the bound.
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "entries/ResourceWalk.h"

#include "core/Exception.h"
#include "resources/PictureDecoder.h"

#include <filesystem>

namespace fuzz {

void RunPicture(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    try {
        SDL_Surface* surface = PictureDecoder::Decode("Picture.png", data, size);
        const long long width = surface->w;
        const long long height = surface->h;
        SDL_FreeSurface(surface);
        if (width > PictureDecoder::kMaxSide || height > PictureDecoder::kMaxSide ||
            width * height > PictureDecoder::kMaxPixels)
            Fail("a picture of " + std::to_string(width) + " x " + std::to_string(height) +
                 " was decoded past the bound");
    } catch (const Exception&) {
    }
    static const std::string folder = ScratchFolder() + "picture/";
    std::filesystem::create_directories(folder);
    WriteScratchFile(folder + "Picture.png", data, size);
    ScannedResources resources(folder);
    if (resources.Scanned())
        resources.ReadAndLoad({"Picture.png"});
}

} // namespace fuzz
