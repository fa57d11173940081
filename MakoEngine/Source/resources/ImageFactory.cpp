#include "resources/ImageFactory.h"

#include "resources/SurfaceResource.h"

namespace {
ImageFactory& Installed()
{
    static ImageFactory factory = nullptr;
    return factory;
}
} // namespace

ImageFactory SetImageFactory(ImageFactory factory)
{
    ImageFactory previous = Installed();
    Installed() = factory;
    return previous ? previous : &SurfaceResource::Create;
}

ImageFactory GetImageFactory()
{
    return Installed() ? Installed() : &SurfaceResource::Create;
}
