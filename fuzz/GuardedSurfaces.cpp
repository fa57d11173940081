#include "GuardedSurfaces.h"

#include <dlfcn.h>

#include <cstdlib>
#include <cstring>
#include <map>

namespace fuzz {

namespace {

using CreateFunction = SDL_Surface* (*)(Uint32, int, int, int, Uint32, Uint32, Uint32, Uint32);

constexpr unsigned char kPattern = 0xA5;

// Open while a scope is; the blocks by the pixels they hold.
bool g_Guarding = false;
std::map<const void*, unsigned char*>& Blocks()
{
    static auto* blocks = new std::map<const void*, unsigned char*>();
    return *blocks;
}

SDL_Surface* CreateBySdl(Uint32 flags, int width, int height, int depth, Uint32 red, Uint32 green,
                         Uint32 blue, Uint32 alpha)
{
    static const auto create =
        reinterpret_cast<CreateFunction>(dlsym(RTLD_NEXT, "SDL_CreateRGBSurface"));
    return create(flags, width, height, depth, red, green, blue, alpha);
}

bool Holds(const unsigned char* from, std::size_t length)
{
    for (std::size_t i = 0; i < length; ++i)
        if (from[i] != kPattern)
            return false;
    return true;
}

} // namespace

GuardedSurfaces::GuardedSurfaces()
{
    g_Guarding = true;
}

GuardedSurfaces::~GuardedSurfaces()
{
    g_Guarding = false;
    for (auto& entry : Blocks())
        std::free(entry.second);
    Blocks().clear();
}

bool GuardedSurfaces::Intact(const SDL_Surface* surface) const
{
    auto found = surface ? Blocks().find(surface->pixels) : Blocks().end();
    if (found == Blocks().end())
        return true;
    const std::size_t bytes = std::size_t(surface->pitch) * std::size_t(surface->h);
    return Holds(found->second, kGuardBytes) &&
           Holds(found->second + kGuardBytes + bytes, kGuardBytes);
}

void GuardedSurfaces::Release(SDL_Surface* surface)
{
    if (!surface)
        return;
    auto found = Blocks().find(surface->pixels);
    SDL_FreeSurface(surface);
    if (found != Blocks().end()) {
        std::free(found->second);
        Blocks().erase(found);
    }
}

} // namespace fuzz

// SDL's surface maker, standing in for it while a scope is open: the surface SDL would make,
// with its pixels moved into a guarded block.
extern "C" SDL_Surface* SDL_CreateRGBSurface(Uint32 flags, int width, int height, int depth,
                                             Uint32 red, Uint32 green, Uint32 blue, Uint32 alpha)
{
    using namespace fuzz;
    SDL_Surface* made = CreateBySdl(flags, width, height, depth, red, green, blue, alpha);
    // SDL makes the surface over the block through this function too.
    static bool inside = false;
    if (!g_Guarding || inside || !made)
        return made;
    const std::size_t bytes = std::size_t(made->pitch) * std::size_t(made->h);
    auto* block =
        static_cast<unsigned char*>(std::malloc(bytes + 2 * GuardedSurfaces::kGuardBytes));
    if (!block)
        return made;
    std::memset(block, kPattern, bytes + 2 * GuardedSurfaces::kGuardBytes);
    inside = true;
    SDL_Surface* guarded =
        SDL_CreateRGBSurfaceFrom(block + GuardedSurfaces::kGuardBytes, made->w, made->h,
                                 made->format->BitsPerPixel, made->pitch, made->format->Rmask,
                                 made->format->Gmask, made->format->Bmask, made->format->Amask);
    inside = false;
    SDL_FreeSurface(made);
    if (!guarded) {
        std::free(block);
        return nullptr;
    }
    std::memset(guarded->pixels, 0, bytes);
    Blocks()[guarded->pixels] = block;
    return guarded;
}
