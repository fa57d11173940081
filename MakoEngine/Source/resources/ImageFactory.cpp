#include "resources/ImageFactory.h"

#include "resources/SurfaceResource.h"

namespace {
ImageFactory& InstalledFactory()
{
    static ImageFactory factory = nullptr;
    return factory;
}
} // namespace

ImageFactory SetImageFactory(ImageFactory factory)
{
    ImageFactory previous = InstalledFactory();
    InstalledFactory() = factory;
    return previous ? previous : &SurfaceResource::Create;
}

ImageFactory GetImageFactory()
{
    return InstalledFactory() ? InstalledFactory() : &SurfaceResource::Create;
}
