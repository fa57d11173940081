#include "ddraw/Clipper.h"

namespace ddrawx {

HRESULT Clipper::QueryInterface(REFIID iid, void** object)
{
    return QueryOwn(iid, object, {&IID_IDirectDrawClipper});
}

HRESULT Clipper::SetHWnd(DWORD flags, HWND window)
{
    if (flags != 0)
        return DDERR_INVALIDPARAMS;
    m_Window = window;
    return DD_OK;
}

} // namespace ddrawx
