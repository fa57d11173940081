#pragma once
// One owned reference to an SDL surface. SDL counts references in the surface itself and
// SDL_FreeSurface gives one back (freeing the pixels with the last), so a handle is what
// a plain pointer plus a free on every path used to be: move-only, and it frees its
// reference when it goes. Share adds a reference through the surface's own count, for
// code that must keep a surface alive while it hands it to something that takes one.
//
// Main thread only, like every SDL surface.
#include <SDL.h>

#include <cstddef>

class SurfaceHandle
{
public:
    SurfaceHandle() = default;
    // Takes the one reference the caller holds on surface (may be null).
    explicit SurfaceHandle(SDL_Surface* surface) noexcept : m_Surface(surface) {}
    ~SurfaceHandle() { reset(); }

    SurfaceHandle(SurfaceHandle&& other) noexcept : m_Surface(other.release()) {}
    SurfaceHandle& operator=(SurfaceHandle&& other) noexcept
    {
        if (this != &other)
            reset(other.release());
        return *this;
    }
    SurfaceHandle(const SurfaceHandle&) = delete;
    SurfaceHandle& operator=(const SurfaceHandle&) = delete;

    // A new reference to surface (may be null), the caller's own stays as it was.
    static SurfaceHandle Share(SDL_Surface* surface) noexcept
    {
        if (surface)
            ++surface->refcount;
        return SurfaceHandle(surface);
    }
    // A second reference to the surface this handle holds (empty when it holds none).
    SurfaceHandle Share() const noexcept { return Share(m_Surface); }

    SDL_Surface* get() const noexcept { return m_Surface; }
    SDL_Surface* operator->() const noexcept { return m_Surface; }
    explicit operator bool() const noexcept { return m_Surface != nullptr; }
    friend bool operator==(const SurfaceHandle& handle, std::nullptr_t) noexcept
    {
        return handle.m_Surface == nullptr;
    }
    friend bool operator!=(const SurfaceHandle& handle, std::nullptr_t) noexcept
    {
        return handle.m_Surface != nullptr;
    }

    // Hands the reference to the caller, who must free it; the handle is empty after.
    SDL_Surface* release() noexcept
    {
        SDL_Surface* surface = m_Surface;
        m_Surface = nullptr;
        return surface;
    }
    // Frees the reference held (if any) and takes surface's instead.
    void reset(SDL_Surface* surface = nullptr) noexcept
    {
        SDL_Surface* old = m_Surface;
        m_Surface = surface;
        if (old)
            SDL_FreeSurface(old);
    }

private:
    SDL_Surface* m_Surface = nullptr;
};
