#pragma once
// Pixel loops of the display code, on 32-bit surfaces with alpha in the top byte
// (0xAARRGGBB). Each one locks the surfaces it touches. Results are exact integer
// arithmetic; the formulas are given with each function.
#include "geometry/Color.h"

#include <SDL.h>

#include <cstdint>

namespace SoftwareBlend {

// Clips a blit of srcRect (null: the whole source) of a srcW x srcH source to dstRect
// (null: the whole target; only x and y matter) on a dstW x dstH target. A source
// rectangle reaching left of or above the source is cut there (the destination moves
// along), as is one reaching past the source's right or bottom edge; then the part left
// or above the target and the part past its right or bottom edge are cut. On success
// outSrc and outDst have the same size (at least 1 x 1) and lie inside their surfaces.
bool ClipBlitRects(int srcW, int srcH, const SDL_Rect* srcRect, int dstW, int dstH,
                   const SDL_Rect* dstRect, SDL_Rect& outSrc, SDL_Rect& outDst);

// "Over" compositing of one source pixel onto one target pixel: a target with alpha 0
// takes the source pixel; otherwise with a = source alpha each colour channel becomes
// (a * s + (255 - a) * d) >> 8 and the alpha d + a - floor(d * a / 255).
std::uint32_t CompositePixel(std::uint32_t src, std::uint32_t dst);

// Composites the clipped source area onto the target pixel by pixel (CompositePixel).
void Composite(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
               const SDL_Rect* dstRect);

// Combined-alpha blend of one pixel with the draw alpha: f = floor(source alpha * alpha /
// 256); each colour channel d += ((s - d) * f) >> 8 (arithmetic shift); alpha kept.
std::uint32_t CombinedAlphaPixel(std::uint32_t src, std::uint32_t dst, int alpha);
void BlendCombinedAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                        const SDL_Rect* dstRect, int alpha);

// Translucent fill of one pixel: each colour channel (d * (255 - a) + c * a) >> 8 with
// a = the colour's alpha; the pixel's alpha kept.
std::uint32_t BlendedFillPixel(std::uint32_t dst, const Color& color);
// Fills the part of rect inside the surface with BlendedFillPixel.
void BlendedFillRect(SDL_Surface* surface, const SDL_Rect& rect, const Color& color);

// Pixel access of a locked 32-bit surface.
inline std::uint32_t* PixelRow(SDL_Surface* surface, int y)
{
    return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                            y * surface->pitch);
}

} // namespace SoftwareBlend
