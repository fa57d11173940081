#pragma once
// The DirectDraw object: cooperative level, display modes and the factory of surfaces,
// clippers, palettes and the Direct3D object (see ddraw.h for what it promises).
#include "ddraw/ComObject.h"
#include "ddraw/Display.h"
#include "ddraw/ddraw.h"

namespace ddrawx {

class Surface;

class DirectDraw : public ComObject<IDirectDraw7>
{
public:
    DirectDraw();

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) override;
    HRESULT SetCooperativeLevel(HWND window, DWORD flags) override;
    HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                           DWORD flags) override;
    HRESULT RestoreDisplayMode() override;
    HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                             LPDDENUMMODESCALLBACK2 callback) override;
    HRESULT CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                          IUnknown* outer) override;
    HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) override;
    HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                          IUnknown* outer) override;
    HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) override;
    HRESULT TestCooperativeLevel() override;

    // For the surfaces: the primary is gone.
    void PrimaryGone(Surface* primary);
    bool IsExclusive() const { return Display::Get().ExclusiveOwner() == this; }

private:
    ~DirectDraw() override;
    HRESULT CreatePrimary(const DDSURFACEDESC2& desc, LPDIRECTDRAWSURFACE7* surface);
    HRESULT CreateOffscreen(const DDSURFACEDESC2& desc, LPDIRECTDRAWSURFACE7* surface);

    DWORD m_CooperativeFlags = 0;
    HWND m_Window = nullptr;
    Surface* m_Primary = nullptr;
    // The mode this object set with SetDisplayMode, and the one it replaced.
    bool m_ChangedMode = false;
    DisplayMode m_SetMode;
    DisplayMode m_DesktopMode;
    DWORD m_DesktopFlags = 0;
};

} // namespace ddrawx
