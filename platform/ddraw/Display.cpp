#include "ddraw/Display.h"

#include "ddraw/Surface.h"

#include <SDL.h>

#include <algorithm>

namespace ddrawx {

Display& Display::Get()
{
    static Display instance;
    return instance;
}

bool Display::StartVideo()
{
    if (SDL_WasInit(SDL_INIT_VIDEO))
        return true;
    return SDL_InitSubSystem(SDL_INIT_VIDEO) == 0;
}

SDL_Surface* Display::VideoSurface()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return nullptr;
    return SDL_GetVideoSurface();
}

DisplayMode Display::CurrentMode()
{
    DisplayMode mode;
    if (SDL_Surface* video = VideoSurface()) {
        mode.width = video->w;
        mode.height = video->h;
        mode.bitsPerPixel = video->format->BitsPerPixel;
        mode.valid = true;
    }
    return mode;
}

bool Display::SameMode(const DisplayMode& a, const DisplayMode& b)
{
    return a.valid == b.valid && a.width == b.width && a.height == b.height &&
           a.bitsPerPixel == b.bitsPerPixel;
}

void Display::AddSurface(Surface* surface)
{
    m_Surfaces.push_back(surface);
}

void Display::RemoveSurface(Surface* surface)
{
    m_Surfaces.erase(std::remove(m_Surfaces.begin(), m_Surfaces.end(), surface), m_Surfaces.end());
}

void Display::LoseSurfaces()
{
    for (Surface* surface : m_Surfaces)
        if (!surface->InSystemMemory())
            surface->MarkLost();
}

void Display::HoldByOtherProgram(int polls)
{
    m_OtherProgramPolls = std::max(0, polls);
    if (m_OtherProgramPolls > 0)
        LoseSurfaces();
}

bool Display::PollOtherProgram()
{
    if (m_OtherProgramPolls <= 0)
        return false;
    --m_OtherProgramPolls;
    return true;
}

void Display::AddOrphan(Surface* surface)
{
    surface->NextOrphan() = m_Orphans;
    m_Orphans = surface;
}

void Display::RemoveOrphan(Surface* surface)
{
    for (Surface** link = &m_Orphans; *link; link = &(*link)->NextOrphan()) {
        if (*link == surface) {
            *link = surface->NextOrphan();
            surface->NextOrphan() = nullptr;
            return;
        }
    }
}

} // namespace ddrawx
