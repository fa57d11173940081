#include "resources/SDLImageLoader.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "resources/FileReader.h"
#include "resources/ImageFactory.h"
#include "resources/Resource.h"
#include "resources/ResourceInfo.h"

#include <SDL_image.h>
#include <boost/format.hpp>

#include <memory>

bool SDLImageLoader::CanLoad(const ResourceInfo& info)
{
    const std::string& name = info.Name();
    return name.size() >= 5 &&
           (EndsWith(name, ".png") || EndsWith(name, ".jpg") || EndsWith(name, ".bmp"));
}

void SDLImageLoader::LoadResource(FileReader* reader, ResourceInfo& info)
{
    const std::string& location = info.Name();
    if (!reader)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("SDL_RWFromMem failed:\nfile=%1%\nerror=%2%") %
                              location % SDL_GetError()));
    MAKO_ASSERT(location.empty() == false);

    const void* data = nullptr;
    uint32_t size = 0;
    reader->Read(location, data, size);
    SDL_RWops* rw = SDL_RWFromMem(const_cast<void*>(data), static_cast<int>(size));
    if (!rw)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("SDL_RWFromMem failed:\nfile=%1%\nerror=%2%") %
                              location % SDL_GetError()));
    // The loader's reference to the picture: freed here when the factory fails, the new
    // resource's once the factory has made it.
    std::unique_ptr<SDL_Surface, void (*)(SDL_Surface*)> surface(IMG_Load_RW(rw, 0),
                                                                 SDL_FreeSurface);
    SDL_FreeRW(rw);
    if (!surface)
        MAKO_THROW(ResourceLoadError,
                   boost::str(boost::format("Could not load image:\nfile=%1%\nerror=%2%") %
                              location % IMG_GetError()));

    int flags = surface->format->Amask == 0 ? IMAGE_FLAG_OPAQUE : 0;
    Resource* image = GetImageFactory()(surface.get(), flags, info.GetMetadata(), location);
    surface.release();
    info.SetResource(image);
    info.SetType(RESOURCE_IMAGE);
}
