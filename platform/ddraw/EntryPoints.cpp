// The DirectDraw entry points (ddraw.h).
#include "ddraw/DirectDraw.h"
#include "ddraw/Display.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/ddraw.h"

namespace {

// The one driver: null, or the stand-ins for "hardware only" and "emulation only".
bool KnownDriver(const GUID* guid)
{
    return guid == nullptr || guid == DDCREATE_HARDWAREONLY || guid == DDCREATE_EMULATIONONLY;
}

HRESULT Create(GUID* guid, ddrawx::DirectDraw*& made)
{
    made = nullptr;
    if (!KnownDriver(guid))
        return DDERR_INVALIDDIRECTDRAWGUID;
    if (!ddrawx::Display::StartVideo())
        return DDERR_GENERIC;
    made = new ddrawx::DirectDraw();
    return DD_OK;
}

} // namespace

HRESULT DirectDrawCreateEx(GUID* guid, LPVOID* directDraw, REFIID iid, IUnknown* outer)
{
    if (!directDraw)
        return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (outer || !IsEqualGUID(iid, IID_IDirectDraw7))
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("DirectDrawCreateEx");
    ddrawx::DirectDraw* made = nullptr;
    HRESULT hr = Create(guid, made);
    if (SUCCEEDED(hr))
        *directDraw = static_cast<IDirectDraw7*>(made);
    return hr;
}

HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer)
{
    if (!directDraw)
        return DDERR_INVALIDPARAMS;
    *directDraw = nullptr;
    if (outer)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("DirectDrawCreate");
    ddrawx::DirectDraw* made = nullptr;
    HRESULT hr = Create(guid, made);
    if (SUCCEEDED(hr))
        *directDraw = static_cast<IDirectDraw*>(made);
    return hr;
}

HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags)
{
    if (!callback)
        return DDERR_INVALIDPARAMS;
    char description[] = "Primary Display Driver";
    char name[] = "display";
    callback(nullptr, description, name, context, nullptr);
    return DD_OK;
}
