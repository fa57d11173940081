// The D3DX texture helpers (d3dx.h).
#include "ddraw/d3dx.h"

#include "ddraw/Device.h"
#include "ddraw/DirectDraw.h"
#include "ddraw/FaultInjector.h"

namespace {

bool g_Initialized = false;

} // namespace

HRESULT D3DXInitialize()
{
    DDRAWX_INJECT("D3DXInitialize");
    g_Initialized = true;
    return S_OK;
}

HRESULT D3DXUninitialize()
{
    g_Initialized = false;
    return S_OK;
}

HRESULT D3DXCreateTexture(LPDIRECT3DDEVICE7 device, LPDWORD flags, LPDWORD width, LPDWORD height,
                          D3DX_SURFACEFORMAT* format, LPPALETTEENTRY palette,
                          LPDIRECTDRAWSURFACE7* texture, LPDWORD numMipMaps)
{
    if (!texture)
        return DDERR_INVALIDPARAMS;
    *texture = nullptr;
    if (!g_Initialized)
        return DDERR_NOTINITIALIZED;
    auto* ours = dynamic_cast<ddrawx::Device*>(device);
    if (!ours || !width || !height || !format || palette)
        return DDERR_INVALIDPARAMS;
    if (*width == 0 || *height == 0 || *width > 2048 || *height > 2048)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("D3DXCreateTexture");
    if (*format != D3DX_SF_X8R8G8B8)
        *format = D3DX_SF_A8R8G8B8;
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof(desc);
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT;
    desc.dwWidth = *width;
    desc.dwHeight = *height;
    desc.ddsCaps.dwCaps = DDSCAPS_TEXTURE | DDSCAPS_VIDEOMEMORY;
    DDPIXELFORMAT& pf = desc.ddpfPixelFormat;
    pf.dwSize = sizeof(DDPIXELFORMAT);
    pf.dwFlags = DDPF_RGB;
    pf.dwRGBBitCount = 32;
    pf.dwRBitMask = 0x00FF0000;
    pf.dwGBitMask = 0x0000FF00;
    pf.dwBBitMask = 0x000000FF;
    if (*format == D3DX_SF_A8R8G8B8) {
        pf.dwFlags |= DDPF_ALPHAPIXELS;
        pf.dwRGBAlphaBitMask = 0xFF000000u;
    }
    HRESULT hr = ours->Owner()->CreateSurface(&desc, texture, nullptr);
    if (SUCCEEDED(hr) && numMipMaps)
        *numMipMaps = 1;
    return hr;
}
