#pragma once
// A decoded image held as a plain SDL surface with its flags and metadata: what the image
// loader makes while no image factory is registered (see ImageFactory.h). Its pixels count
// towards the "Image" memory total while it lives.
#include "luaplus/LuaPlus.h"
#include "resources/Resource.h"

#include <SDL.h>

#include <string>

class SurfaceResource : public Resource
{
public:
    // Takes ownership of surface (not null); copies the metadata reference.
    SurfaceResource(SDL_Surface* surface, int flags, const LuaPlus::LuaObject& metadata);
    ~SurfaceResource() override;

    // Bytes of pixel data (pitch times height).
    int CalcMemoryUsage() override;

    SDL_Surface* GetSurface() const { return m_Surface; }
    int GetFlags() const { return m_Flags; }
    const LuaPlus::LuaObject& GetMetadata() const MAKO_LIFETIMEBOUND { return m_Metadata; }

    // The ImageFactory that makes SurfaceResources.
    static Resource* Create(SDL_Surface* surface, int flags, const LuaPlus::LuaObject& metadata,
                            const std::string& name);

private:
    SDL_Surface* m_Surface;
    int m_Flags;
    LuaPlus::LuaObject m_Metadata;
};
