#include "ddraw/Direct3D.h"

#include "ddraw/Device.h"
#include "ddraw/DirectDraw.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/Surface.h"
#include "ddraw/SurfaceFormat.h"

#include <SDL.h>

namespace ddrawx {

Direct3D::Direct3D(DirectDraw* directDraw) : m_DirectDraw(directDraw)
{
    m_DirectDraw->AddRef();
}

Direct3D::~Direct3D()
{
    m_DirectDraw->Release();
}

HRESULT Direct3D::QueryInterface(REFIID iid, void** object)
{
    return QueryOwn(iid, object, {&IID_IDirect3D7});
}

HRESULT Direct3D::CreateDevice(REFCLSID deviceClass, LPDIRECTDRAWSURFACE7 target,
                               LPDIRECT3DDEVICE7* device)
{
    if (!device)
        return DDERR_INVALIDPARAMS;
    *device = nullptr;
    DDRAWX_INJECT("CreateDevice");
    // Every device class this platform knows is the one software rasteriser.
    if (!IsEqualGUID(deviceClass, IID_IDirect3DHALDevice) &&
        !IsEqualGUID(deviceClass, IID_IDirect3DMMXDevice) &&
        !IsEqualGUID(deviceClass, IID_IDirect3DRGBDevice))
        return D3DERR_INVALID_DEVICE;
    Surface* surface = Surface::From(target);
    if (!surface || surface->Owner() != m_DirectDraw)
        return DDERR_INVALIDPARAMS;
    if (!(surface->Caps() & DDSCAPS_3DDEVICE) || surface->IsPrimary())
        return DDERR_INVALIDCAPS;
    HRESULT hr = surface->CheckUsable();
    if (FAILED(hr))
        return hr;
    if (!IsDeviceFormat(surface->Pixels()->format))
        return DDERR_INVALIDPIXELFORMAT;
    *device = new Device(this, deviceClass, surface);
    return D3D_OK;
}

} // namespace ddrawx
