#include "ddraw/SDLVideoSizeHack.h"

#include <SDL.h>

int SDL_ChangeVideoSizeHACK(int width, int height)
{
    if (width <= 0 || height <= 0) {
        SDL_SetError("SDL_ChangeVideoSizeHACK: invalid size %dx%d", width, height);
        return -1;
    }
    if (!SDL_WasInit(SDL_INIT_VIDEO) && SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        return -1;
    SDL_Surface* video = SDL_GetVideoSurface();
    if (video && video->w == width && video->h == height)
        return 0;
    const int bits = video ? video->format->BitsPerPixel : 32;
    const Uint32 flags = video ? (video->flags & SDL_FULLSCREEN) : 0;
    return SDL_SetVideoMode(width, height, bits, SDL_SWSURFACE | flags) ? 0 : -1;
}
