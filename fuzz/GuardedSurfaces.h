#pragma once
// Surfaces with guard bytes around their pixels, for code that writes into a surface it did
// not make and cannot be watched by the sanitizers (a library built without them). While a
// GuardedSurfaces scope is open, every surface made by SDL_CreateRGBSurface, by anyone (this
// program defines that function, so SDL_ttf's calls come here too), gets its pixels from a
// block with kGuardBytes of a known pattern before and after them. Intact() then says whether
// a write reached the guards; Release() frees the surface and its block. Outside a scope the
// function is SDL's own. Main thread only.
//
//   fuzz::GuardedSurfaces guarded;
//   SDL_Surface* drawn = font.RenderText_Blended(text, white);
//   if (!guarded.Intact(drawn)) fuzz::Fail("a text was drawn outside its surface");
//   guarded.Release(drawn);
#include <SDL.h>

#include <cstddef>

namespace fuzz {

class GuardedSurfaces
{
public:
    // Far more than the proportion of the largest font size lets a glyph reach.
    static constexpr std::size_t kGuardBytes = 1 << 20;

    GuardedSurfaces();
    // Checks nothing; frees the blocks of surfaces not released (their surfaces must be gone).
    ~GuardedSurfaces();
    GuardedSurfaces(const GuardedSurfaces&) = delete;
    GuardedSurfaces& operator=(const GuardedSurfaces&) = delete;

    // Whether the guards around the surface's pixels hold their pattern; true for a surface
    // not made in the scope.
    bool Intact(const SDL_Surface* surface) const;
    // Frees the surface, and its block if it was made in the scope.
    void Release(SDL_Surface* surface);
};

} // namespace fuzz
