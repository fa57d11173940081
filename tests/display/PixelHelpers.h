#pragma once
// Reading and writing single 0xAARRGGBB pixels of test images.
#include "display/Image.h"

#include <SDL.h>

#include <cstdint>

namespace displaytest {

inline std::uint32_t GetPixel(const Image* image, int x, int y)
{
    SDL_Surface* s = image->GetSDLSurface();
    SDL_LockSurface(s);
    const std::uint32_t v = reinterpret_cast<const std::uint32_t*>(
        static_cast<const std::uint8_t*>(s->pixels) + y * s->pitch)[x];
    SDL_UnlockSurface(s);
    return v;
}

inline void SetPixel(Image* image, int x, int y, std::uint32_t value)
{
    SDL_Surface* s = image->GetSDLSurface();
    SDL_LockSurface(s);
    reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(s->pixels) + y * s->pitch)[x] =
        value;
    SDL_UnlockSurface(s);
}

// A blank (all 0) image whose every pixel is then set to value.
inline Image* SolidImage(int w, int h, std::uint32_t value, std::uint32_t flags = 0)
{
    Image* image = new Image(w, h, 1, flags);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(image, x, y, value);
    return image;
}

// Every pixel numbered by position: alpha 0xFF, red x, green y, blue x ^ y.
inline Image* NumberedImage(int w, int h, std::uint32_t flags = 0)
{
    Image* image = new Image(w, h, 1, flags);
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x)
            SetPixel(image, x, y,
                     0xFF000000u | (x & 0xFF) << 16 | (y & 0xFF) << 8 | ((x ^ y) & 0xFF));
    return image;
}

} // namespace displaytest
