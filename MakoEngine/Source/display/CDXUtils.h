#pragma once
// Helpers of the DirectDraw wrapper: the RGB layout of a surface, the default palette and
// the processor's MMX support.
#include "ddraw/ddraw.h"

#include <cstdint>

// Channel widths (the masks shifted down), shifts and the colour depth of a surface:
// 8 or less for palettes, 15 (5-5-5), 16 (5-6-5), 24 or 32; 0 when not RGB.
struct RGBFORMAT
{
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
    std::uint8_t redShift = 0;
    std::uint8_t greenShift = 0;
    std::uint8_t blueShift = 0;
    std::int32_t depth = 0;
};

// Fills format from the surface's pixel format; false when the description cannot be
// read or the surface is not RGB.
bool GetRGBFormat(IDirectDrawSurface7* surface, RGBFORMAT& format);

// Makes a 256-entry palette: a 3-3-2 ramp, or the colour table of the 8-bit BMP file
// `name`. Any null argument gives E_INVALIDARG before anything is made; an unreadable file
// E_FAIL.
HRESULT LoadPalette(IDirectDraw7* directDraw, IDirectDrawPalette** palette, const char* name);

bool IsMMXAvailable();
