#pragma once
// The hardware display backend: every image drawn as textured quads through Direct3D 7
// into the back buffer of a DirectDraw screen (CDXScreen), presented by a flip (full
// screen) or a blit to the window. SDL still owns the window and its events. Images are
// uploaded on demand as DividedTextures through the surface manager, and dropped whenever
// Direct3D is torn down or the display is lost. Main thread only.
#include "ddraw/d3d.h"
#include "display/DisplayBackend.h"
#include "display/DisplayParams.h"
#include "display/SurfaceHandle.h"

#include <cstdint>
#include <memory>

class CDXScreen;
class D3DImageRenderer;
class DividedTexture;

class DisplayBackendD3D : public DisplayBackend
{
    MAKO_DECLARE_CLASS();

public:
    DisplayBackendD3D();
    ~DisplayBackendD3D() override;

    // Tears Direct3D down and builds the screen, device and viewport again for params;
    // every failed step raises DisplayBackendInitError.
    void ApplyDisplayParams(const DisplayParams& params) override;
    ImageRenderer* GetImageRenderer() override;
    // Ends the scene and presents the back buffer. Surfaces found lost on the way are
    // restored and counted as a display loss.
    void Present() override;
    void PresentRects(const std::vector<SDL_Rect>& rects) override;
    // Opens the scene, recovering a lost display first (counted as a display loss, as is
    // every restore and rebuild).
    void PrepareFrame() override;
    LRESULT HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                 LPARAM lParam) override;
    bool IsCurrentDisplayValid() override { return true; }
    // A copy of the back buffer (the frame drawn last), kept by the backend.
    SDL_Surface* GetScreenshotSurface() override;

    // Recovery after lost surfaces or a changed display mode: restores the buffers, or
    // rebuilds the whole device. Waits at most the exclusive-mode wait (below) for another
    // program to let the display go, then raises.
    void HandleDisplayModeChange();
    // Cuts a 32-bit surface into 64 x 64 textures (column-major tiles).
    DividedTexture* CreateDividedTexture(SDL_Surface* surface);
    // A 64 x 64-or-as-asked A8R8G8B8 texture; adds its bytes to VidmemImageBytes.
    IDirectDrawSurface7* MakeTextureSurface(int width, int height);

    IDirect3DDevice7* GetDevice() const { return m_Device; }
    // How many devices this backend has made: a rebuilt display makes a new one. A new
    // device may sit at a freed one's address, so this count, not the address, tells them
    // apart.
    std::uint64_t GetDevicesMade() const { return m_DevicesMade; }
    CDXScreen* GetCDXScreen() const MAKO_LIFETIMEBOUND { return m_CDXScreen.get(); }
    // How long HandleDisplayModeChange waits for another program's exclusive mode: at
    // most polls tests, intervalMs apart (50 x 100 ms by default).
    void SetExclusiveModeWait(int polls, int intervalMs);

private:
    // 1 when the display waits for the vertical blank, else 0 (as CDXScreen takes it).
    int VSyncFlag() const;
    void ShutdownD3D();
    void StartWindow(const DisplayParams& params);
    void CreateScreen(const DisplayParams& params);
    void CreateDevice(const DisplayParams& params);
    void RestoreAfterLoss();
    void Rebuild();

    HWND m_Window = nullptr;
    WNDPROC m_SDLWindowProc = nullptr;
    std::unique_ptr<CDXScreen> m_CDXScreen;
    IDirect3D7* m_Direct3D = nullptr;
    IDirect3DDevice7* m_Device = nullptr;
    std::uint64_t m_DevicesMade = 0;
    D3DVIEWPORT7 m_Viewport{};
    std::unique_ptr<D3DImageRenderer> m_ImageRenderer;
    std::unique_ptr<DisplayParams> m_CurrentDisplayParams;
    std::unique_ptr<DEVMODE> m_SavedFullScreenDisplaySettings;
    SurfaceHandle m_ScreenshotSurface;
    int m_ExclusiveModePolls = 50;
    int m_ExclusiveModeIntervalMs = 100;
};

// Copies height rows of width 32-bit pixels from the surface at (x, y) into the
// texture's top-left corner.
void CopySurfaceDataIntoTexture(SDL_Surface* surface, IDirectDrawSurface7* texture, int x, int y,
                                int width, int height);
