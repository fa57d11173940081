#pragma once
// One way of putting the game on the screen. The display manager owns exactly one backend
// and reaches the screen only through it. A backend makes (or re-makes) the window, the
// video mode and the screen renderer in ApplyDisplayParams; until that succeeded once it
// has no renderer.
#include "core/Class.h"
#include "core/Object.h"
#include "display/DisplayWindow.h"

#include <SDL.h>

#include <cstdint>
#include <memory>
#include <vector>

class DisplayParams;
class ImageRenderer;

class DisplayBackend : public Object
{
public:
    // Creates or re-creates the window, the video mode and the screen renderer; raises
    // DisplayBackendInitError when a start-up step fails.
    virtual void ApplyDisplayParams(const DisplayParams& params) = 0;
    // The renderer that draws on the screen; null before the first successful apply.
    virtual ImageRenderer* GetImageRenderer() = 0;
    // The window the last ApplyDisplayParams made, handed over once: later calls return
    // null until an apply makes another. Null when the apply kept the window it had.
    HWND TakeNewWindow()
    {
        HWND window = m_NewWindow;
        m_NewWindow = nullptr;
        return window;
    }
    // Shows the finished frame.
    virtual void Present() = 0;
    // Shows only these rectangles (disjoint, inside the screen) of the finished frame: the
    // rest of the screen did not change. By default the whole frame is shown.
    virtual void PresentRects(const std::vector<SDL_Rect>& rects)
    {
        (void)rects;
        Present();
    }
    // The backend's part of the window procedure.
    virtual LRESULT HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                         LPARAM lParam) = 0;
    // False when the display must be re-created.
    virtual bool IsCurrentDisplayValid() = 0;
    // The picture of the frame drawn last (for screenshots), in a surface the backend
    // keeps: the screen itself, or a copy of it refreshed by this call. Null when there is
    // no display yet.
    virtual SDL_Surface* GetScreenshotSurface() = 0;

    // Readies the display for the drawing of a frame: a display that can be lost is
    // recovered here, before anything of the frame is drawn.
    virtual void PrepareFrame() {}
    // How often the display lost or replaced its pixels since the backend was made: a
    // restored or rebuilt display, a full-screen mode put back, a presentation that found
    // its surfaces lost. Whoever keeps the picture on the display from frame to frame (the
    // frame recorder) draws the next frame whole when the count moved.
    std::uint64_t GetDisplayLosses() const { return m_DisplayLosses; }

protected:
    // Called by the backend whenever the display's pixels may no longer be the last frame's.
    void CountDisplayLoss() { ++m_DisplayLosses; }

    // Called by ApplyDisplayParams when it made a new window (for TakeNewWindow).
    void SetNewWindow(HWND window) { m_NewWindow = window; }

    // The handling every backend gives its full-screen window, before the message goes on
    // to SDL's window procedure (fullscreen: the backend's current parameters exist and ask
    // for full screen; otherwise nothing is done):
    //   - WM_SIZE, minimised: the game's mode is kept in `saved` (which must be empty) and
    //     the desktop gets its own mode back;
    //   - WM_SIZE, restored, with a kept mode: that mode is put back and `saved` emptied;
    //   - WM_ACTIVATE, inactive: the window is minimised.
    // Log lines and failure reports name "<className>::HandleWindowsMessage". Returns true
    // exactly when the game's mode was put back (the backend may then have to restore
    // what the mode change lost).
    static bool HandleFullScreenWindowMessage(const char* className, HWND window, unsigned message,
                                              WPARAM wParam, bool fullscreen,
                                              std::unique_ptr<DEVMODE>& saved);

private:
    HWND m_NewWindow = nullptr;
    std::uint64_t m_DisplayLosses = 0;
};
