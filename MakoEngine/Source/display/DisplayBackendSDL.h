#pragma once
// The software display backend: the game in SDL's 32-bit video surface, in a window or
// full screen, drawn by an SDLImageRenderer over that surface. The renderer wraps the
// video surface itself (never a copy, never freed by the renderer), so what the renderer
// drew is what SDL_Flip shows and what a screenshot saves. Main thread only.
#include "display/DisplayBackend.h"
#include "display/DisplayParams.h"

#include <memory>

class SDLImageRenderer;

class DisplayBackendSDL : public DisplayBackend
{
    MAKO_DECLARE_CLASS();

public:
    DisplayBackendSDL();
    ~DisplayBackendSDL() override;

    // Starts SDL video when the backend's driver does not run yet (and then hands the new
    // window to the application), sets the video mode and makes a new screen renderer.
    void ApplyDisplayParams(const DisplayParams& params) override;
    ImageRenderer* GetImageRenderer() override;
    void Present() override;
    void PresentRects(const std::vector<SDL_Rect>& rects) override;
    LRESULT HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                 LPARAM lParam) override;
    // Full screen: always. Windowed: while the desktop keeps the depth it had when the
    // window was made.
    bool IsCurrentDisplayValid() override;
    SDL_Surface* GetScreenshotSurface() override { return m_DisplaySurface; }

    SDL_Surface* GetDisplaySurface() const { return m_DisplaySurface; }
    HWND GetWindowHandle() const { return m_Window; }

protected:
    // The driver start; a test stand-in may refuse it.
    virtual bool StartVideo();

private:
    void DeleteRenderer();

    SDL_Surface* m_DisplaySurface = nullptr;
    std::unique_ptr<SDLImageRenderer> m_ImageRenderer;
    HWND m_Window = nullptr;
    WNDPROC m_SDLWindowProc = nullptr;
    std::unique_ptr<DisplayParams> m_CurrentDisplayParams;
    std::unique_ptr<DEVMODE> m_SavedFullScreenDisplaySettings;
    int m_DesktopDepth = 0;
};
