#include "ddraw/SurfaceFormat.h"

#include "ddraw/Display.h"

#include <SDL.h>

namespace ddrawx {

SDL_Surface* CreatePixels(int width, int height, const DDPIXELFORMAT* format, HRESULT& error)
{
    Uint32 r = 0x00FF0000, g = 0x0000FF00, b = 0x000000FF, a = 0;
    int bits = 32;
    if (format) {
        if (format->dwSize != sizeof(DDPIXELFORMAT) || !(format->dwFlags & DDPF_RGB)) {
            error = DDERR_INVALIDPIXELFORMAT;
            return nullptr;
        }
        bits = static_cast<int>(format->dwRGBBitCount);
        r = format->dwRBitMask;
        g = format->dwGBitMask;
        b = format->dwBBitMask;
        a = (format->dwFlags & DDPF_ALPHAPIXELS) ? format->dwRGBAlphaBitMask : 0;
        if ((bits != 16 && bits != 24 && bits != 32) || !r || !g || !b) {
            error = DDERR_INVALIDPIXELFORMAT;
            return nullptr;
        }
    } else if (SDL_Surface* video = Display::VideoSurface()) {
        const SDL_PixelFormat* f = video->format;
        if (f->BitsPerPixel >= 16) {
            bits = f->BitsPerPixel;
            r = f->Rmask;
            g = f->Gmask;
            b = f->Bmask;
        }
    }
    SDL_Surface* pixels = SDL_CreateRGBSurface(SDL_SWSURFACE, width, height, bits, r, g, b, a);
    if (!pixels) {
        error = DDERR_OUTOFMEMORY;
        return nullptr;
    }
    // DirectDraw copies pixels as they are: no SDL blending or keying behind its back.
    SDL_SetAlpha(pixels, 0, SDL_ALPHA_OPAQUE);
    SDL_SetColorKey(pixels, 0, 0);
    error = DD_OK;
    return pixels;
}

void DescribeFormat(const SDL_PixelFormat* format, DDPIXELFORMAT& out)
{
    out = DDPIXELFORMAT{};
    out.dwSize = sizeof(DDPIXELFORMAT);
    out.dwRGBBitCount = format->BitsPerPixel;
    if (format->palette) {
        out.dwFlags = DDPF_PALETTEINDEXED8 | DDPF_RGB;
        return;
    }
    out.dwFlags = DDPF_RGB | (format->Amask ? DDPF_ALPHAPIXELS : 0);
    out.dwRBitMask = format->Rmask;
    out.dwGBitMask = format->Gmask;
    out.dwBBitMask = format->Bmask;
    out.dwRGBAlphaBitMask = format->Amask;
}

bool IsDeviceFormat(const SDL_PixelFormat* format)
{
    return format->BitsPerPixel == 32 && format->Rmask == 0x00FF0000 &&
           format->Gmask == 0x0000FF00 && format->Bmask == 0x000000FF &&
           (format->Amask == 0 || format->Amask == 0xFF000000u);
}

} // namespace ddrawx
