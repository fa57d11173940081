// An image folder's metadata file: the folder is scanned as the game scans its asset
// folders (the metadata file runs and gives the named pictures their tables; a file that
// fails must leave the scan going), then every picture loads with its metadata and is asked
// for its frames.
#include "FuzzEntries.h"
#include "FuzzHost.h"
#include "FuzzSeeds.h"
#include "ImageMetadataPictures.h"
#include "entries/ResourceWalk.h"

#include <SDL.h>

#include <filesystem>

namespace fuzz {

namespace {

// The folder with the pictures, made once per process.
const std::string& PictureFolder()
{
    static std::string folder;
    if (folder.empty()) {
        folder = ScratchFolder() + "images/";
        WriteMetadataPictures(folder);
    }
    return folder;
}

} // namespace

void WriteMetadataPictures(const std::string& folder)
{
    std::filesystem::create_directories(folder);
    for (const MetadataPicture& picture : MetadataPictures()) {
        SDL_Surface* surface = SDL_CreateRGBSurface(SDL_SWSURFACE, picture.width, picture.height,
                                                    32, 0xff0000, 0xff00, 0xff, 0);
        if (!surface)
            Fail("could not make the picture " + std::string(picture.name));
        // A pattern, so that the first pixel (the colour key's source) differs from others.
        auto* pixels = static_cast<Uint32*>(surface->pixels);
        for (int y = 0; y < picture.height; ++y)
            for (int x = 0; x < picture.width; ++x)
                pixels[y * surface->pitch / 4 + x] = Uint32(x * 2654435761u ^ y * 40503u);
        const std::string path = folder + "/" + picture.name;
        if (SDL_SaveBMP(surface, path.c_str()) != 0)
            Fail("could not write the picture " + path);
        SDL_FreeSurface(surface);
    }
}

void RunImageMetadata(const uint8_t* data, size_t size)
{
    PrepareFuzzHost();
    const std::string& folder = PictureFolder();
    WriteScratchFile(folder + "metadata.cfg", data, size);
    ScannedResources resources(folder);
    // A metadata file, whatever it holds, never ends the scan of its folder: the folder is
    // read without it, or without its faulty entries.
    if (!resources.Scanned())
        Fail("the scan of the folder ended: " + resources.ScanFailure());
    std::vector<std::string> names;
    for (const MetadataPicture& picture : MetadataPictures())
        names.push_back(picture.name);
    resources.ReadAndLoad(names);
}

} // namespace fuzz
