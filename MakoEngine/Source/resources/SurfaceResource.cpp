#include "resources/SurfaceResource.h"

#include "core/Exception.h"
#include "resources/ResourceMemory.h"

SurfaceResource::SurfaceResource(SDL_Surface* surface, int flags,
                                 const LuaPlus::LuaObject& metadata)
    : m_Surface(surface), m_Flags(flags), m_Metadata(metadata)
{
    MAKO_ASSERT(surface != 0);
    AddResourceMemoryUsage(CalcMemoryUsage(), "Image");
}

SurfaceResource::~SurfaceResource()
{
    AddResourceMemoryUsage(-CalcMemoryUsage(), "Image");
    SDL_FreeSurface(m_Surface);
}

int SurfaceResource::CalcMemoryUsage()
{
    return m_Surface->pitch * m_Surface->h;
}

Resource* SurfaceResource::Create(SDL_Surface* surface, int flags,
                                  const LuaPlus::LuaObject& metadata, const std::string&)
{
    return new SurfaceResource(surface, flags, metadata);
}
