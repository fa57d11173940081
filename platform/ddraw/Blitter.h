#pragma once
// Pixel copies and fills between the layer's SDL surfaces.
#include "ddraw/ddraw.h"

struct SDL_Surface;

namespace ddrawx {

// Fills `rect` (inside the surface) with a raw pixel value of the surface's format.
bool FillPixels(SDL_Surface* surface, const RECT& rect, DWORD value);

// Copies the `from` rectangle of src into the `to` rectangle of dst (both inside their
// surfaces), converting the pixel format as needed. When the sizes differ each destination
// pixel takes the source pixel nearest to its centre. With a key, source pixels whose colour
// bits equal key->dwColorSpaceLowValue are skipped. src and dst may be the same surface.
// False when SDL refuses the copy.
bool CopyPixels(SDL_Surface* dst, const RECT& to, SDL_Surface* src, const RECT& from,
                const DDCOLORKEY* key);

} // namespace ddrawx
