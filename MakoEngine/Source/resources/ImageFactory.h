#pragma once
// How the image loader turns a decoded surface into the game's image resource. The
// display code registers its factory (making an `Image`) with a static
// ImageFactoryRegistrar; until one is registered the loader makes a SurfaceResource.
#include "luaplus/LuaPlus.h"

#include <SDL.h>

#include <string>

class Resource;

// Makes the image resource of a decoded surface. On success the resource owns the
// surface. When it throws, it must leave the surface untouched: the loader frees it.
// flags: IMAGE_FLAG_OPAQUE when the surface has no alpha channel, else 0. metadata: the
// entry's metadata table (nil when none), to be copied, not kept by reference. name: the
// resource's name, for messages about the picture.
using ImageFactory = Resource* (*)(SDL_Surface* surface, int flags,
                                   const LuaPlus::LuaObject& metadata, const std::string& name);

// Image flag of a surface without an alpha channel.
const int IMAGE_FLAG_OPAQUE = 32;

// Installs a factory (null goes back to the default) and returns the previous one.
ImageFactory SetImageFactory(ImageFactory factory);
// The installed factory; the default one when none is installed.
ImageFactory GetImageFactory();

struct ImageFactoryRegistrar
{
    explicit ImageFactoryRegistrar(ImageFactory factory) { SetImageFactory(factory); }
};
