#pragma once
// Pixel loops of the display code, on 32-bit surfaces with alpha in the top byte
// (0xAARRGGBB). Each one locks the surfaces it touches. Results are exact integer
// arithmetic; the formulas are given with each function.
//
// Blending follows one rule, the one SDL's own alpha blits follow and the hardware
// backend's device follows too, so that both backends draw the same pixels: a channel d
// blended towards s by a factor a (0-255) becomes d + (((s - d) * a) >> 8) (arithmetic
// shift), except that a = 255 counts as exactly 1 and gives s. Products of two factors
// follow the same scale: (a * b) >> 8, with b = 255 giving a.
//
// Every loop below that writes a target stays inside the target's SDL clip rectangle, as
// SDL's own blits and fills do.
//
// The blits below that draw a source surface leave out its colour-keyed pixels when the
// surface has a colour key (SDL_SRCCOLORKEY): pixels whose red, green and blue equal the
// key's, whatever their alpha.
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

// A factor a in 0-255 as a multiplier in 0-256 over 256: 255 is exactly 1.
inline int Scale(int a)
{
    return a + ((a + 1) >> 8);
}
// Channel d blended towards s by factor a (see above).
inline int BlendChannel(int s, int d, int a)
{
    return d + (((s - d) * Scale(a)) >> 8);
}

// Whether a source pixel is left out by the surface's colour key.
inline bool IsKeyedOut(const SDL_Surface* src, std::uint32_t pixel)
{
    return (src->flags & SDL_SRCCOLORKEY) && ((pixel ^ src->format->colorkey) & 0xFFFFFFu) == 0;
}

// Combined-alpha blend of one pixel with the draw alpha: f = (source alpha * alpha) >> 8
// (alpha 255 counting as 1); each colour channel blended by f; the target's alpha kept.
std::uint32_t CombinedAlphaPixel(std::uint32_t src, std::uint32_t dst, int alpha);
void BlendCombinedAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                        const SDL_Rect* dstRect, int alpha);

// Per-pixel alpha blend, as SDL blits a surface with per-pixel alpha: each colour channel
// blended by the source alpha (the draw alpha plays no part); the target's alpha kept.
std::uint32_t PixelAlphaPixel(std::uint32_t src, std::uint32_t dst);
// Constant-alpha blend, as SDL blits a surface with per-surface alpha: the source alpha is
// ignored, each colour channel blended by the draw alpha; the target's alpha becomes
// opaque when targetAlpha is set, else it is kept.
std::uint32_t ConstantAlphaPixel(std::uint32_t src, std::uint32_t dst, int alpha, bool targetAlpha);
// The two above as blits. SDL's own blits ignore a colour key under per-pixel alpha and
// round differently with one under per-surface alpha; these draw keyed surfaces instead.
void BlendPixelAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                     const SDL_Rect* dstRect);
void BlendConstantAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                        const SDL_Rect* dstRect, int alpha);

// Translucent fill of one pixel: each colour channel blended towards the colour by its
// alpha; the pixel's alpha kept.
std::uint32_t BlendedFillPixel(std::uint32_t dst, const Color& color);
// Fills the part of rect inside the surface's clip rectangle with BlendedFillPixel.
void BlendedFillRect(SDL_Surface* surface, const SDL_Rect& rect, const Color& color);

// Pixel access of a locked 32-bit surface.
inline std::uint32_t* PixelRow(SDL_Surface* surface, int y)
{
    return reinterpret_cast<std::uint32_t*>(static_cast<std::uint8_t*>(surface->pixels) +
                                            y * surface->pitch);
}

} // namespace SoftwareBlend
