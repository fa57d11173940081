#pragma once
// Pixel formats of the layer's surfaces: making SDL surfaces for DirectDraw descriptions
// and describing SDL formats the DirectDraw way.
#include "ddraw/ddraw.h"

struct SDL_Surface;
struct SDL_PixelFormat;

namespace ddrawx {

// A new SDL software surface of width × height: in `format` when given (DDPF_RGB of 16,
// 24 or 32 bits; alpha with DDPF_ALPHAPIXELS), else in the display's format (32-bit RGB
// when SDL has no video surface). SDL's own blending and keying are off on it. Null with
// `error` set when the format cannot be made.
SDL_Surface* CreatePixels(int width, int height, const DDPIXELFORMAT* format, HRESULT& error);

// The DirectDraw description of an SDL pixel format.
void DescribeFormat(const SDL_PixelFormat* format, DDPIXELFORMAT& out);

// Whether the device can draw into or sample from pixels of this format: 32 bits, red,
// green and blue in bits 16-23, 8-15, 0-7, and alpha (if any) in 24-31.
bool IsDeviceFormat(const SDL_PixelFormat* format);

} // namespace ddrawx
