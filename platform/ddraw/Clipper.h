#pragma once
// A clipper: remembers its window. Blits to a surface with a clipper are clipped to the
// surface (on this platform the window is the whole SDL display).
#include "ddraw/ComObject.h"
#include "ddraw/ddraw.h"

namespace ddrawx {

class Clipper : public ComObject<IDirectDrawClipper>
{
public:
    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT SetHWnd(DWORD flags, HWND window) override;

private:
    HWND m_Window = nullptr;
};

} // namespace ddrawx
