#pragma once
// The D3DX texture helpers of this platform.
//
// D3DXInitialize must have succeeded before textures are made; D3DXUninitialize may be
// called any number of times, also without a matching D3DXInitialize.
#include "ddraw/d3d.h"

enum D3DX_SURFACEFORMAT {
    D3DX_SF_UNKNOWN = 0,
    D3DX_SF_R8G8B8 = 1,
    D3DX_SF_A8R8G8B8 = 2,
    D3DX_SF_X8R8G8B8 = 3,
};

HRESULT D3DXInitialize();
HRESULT D3DXUninitialize();

// Makes a texture surface for the device: a DDSCAPS_TEXTURE surface in video memory (lost
// like the display's other surfaces) with one level. width and height are in/out: the size
// asked for is the size given (1 to 2048 texels each). format is in/out: A8R8G8B8 and
// X8R8G8B8 are made as asked, anything else becomes A8R8G8B8. flags and numMipMaps may be
// null; numMipMaps comes back as 1. palette must be null.
HRESULT D3DXCreateTexture(LPDIRECT3DDEVICE7 device, LPDWORD flags, LPDWORD width, LPDWORD height,
                          D3DX_SURFACEFORMAT* format, LPPALETTEENTRY palette,
                          LPDIRECTDRAWSURFACE7* texture, LPDWORD numMipMaps);
