#include "ddraw/Blitter.h"

#include <SDL.h>

#include <cstring>

namespace ddrawx {

namespace {

SDL_Rect ToSDL(const RECT& r)
{
    SDL_Rect out;
    out.x = static_cast<Sint16>(r.left);
    out.y = static_cast<Sint16>(r.top);
    out.w = static_cast<Uint16>(r.right - r.left);
    out.h = static_cast<Uint16>(r.bottom - r.top);
    return out;
}

// A copy of the `from` area of src, resampled to width × height by nearest pixel centres.
SDL_Surface* Resample(SDL_Surface* src, const RECT& from, int width, int height)
{
    const SDL_PixelFormat* f = src->format;
    SDL_Surface* out = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, f->BitsPerPixel, f->Rmask,
                                            f->Gmask, f->Bmask, f->Amask);
    if (!out)
        return nullptr;
    SDL_SetAlpha(out, 0, SDL_ALPHA_OPAQUE);
    const int bpp = f->BytesPerPixel;
    const long sw = from.right - from.left, sh = from.bottom - from.top;
    SDL_LockSurface(src);
    for (int y = 0; y < height; ++y) {
        const long sy = from.top + (2L * y + 1) * sh / (2L * height);
        const Uint8* srcRow = static_cast<const Uint8*>(src->pixels) + sy * src->pitch;
        Uint8* dstRow = static_cast<Uint8*>(out->pixels) + y * out->pitch;
        for (int x = 0; x < width; ++x) {
            const long sx = from.left + (2L * x + 1) * sw / (2L * width);
            std::memcpy(dstRow + x * bpp, srcRow + sx * bpp, bpp);
        }
    }
    SDL_UnlockSurface(src);
    return out;
}

} // namespace

bool FillPixels(SDL_Surface* surface, const RECT& rect, DWORD value)
{
    SDL_Rect r = ToSDL(rect);
    return SDL_FillRect(surface, &r, value) == 0;
}

bool CopyPixels(SDL_Surface* dst, const RECT& to, SDL_Surface* src, const RECT& from,
                const DDCOLORKEY* key)
{
    const int width = to.right - to.left, height = to.bottom - to.top;
    SDL_Surface* source = src;
    RECT sourceRect = from;
    SDL_Surface* temp = nullptr;
    if (width != from.right - from.left || height != from.bottom - from.top || src == dst) {
        temp = Resample(src, from, width, height);
        if (!temp)
            return false;
        source = temp;
        sourceRect = RECT{0, 0, width, height};
    }
    // DirectDraw blits copy raw pixels: SDL's blending and keying only as asked.
    const Uint32 savedFlags = source->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY);
    const Uint8 savedAlpha = source->format->alpha;
    const Uint32 savedKey = source->format->colorkey;
    SDL_SetAlpha(source, 0, SDL_ALPHA_OPAQUE);
    SDL_SetColorKey(source, key ? SDL_SRCCOLORKEY : 0, key ? key->dwColorSpaceLowValue : 0);
    SDL_Rect s = ToSDL(sourceRect), d = ToSDL(to);
    const bool ok = SDL_BlitSurface(source, &s, dst, &d) == 0;
    if (temp) {
        SDL_FreeSurface(temp);
    } else {
        SDL_SetColorKey(source, savedFlags & SDL_SRCCOLORKEY, savedKey);
        SDL_SetAlpha(source, savedFlags & SDL_SRCALPHA, savedAlpha);
    }
    return ok;
}

} // namespace ddrawx
