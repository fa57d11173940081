#pragma once
// One way of putting the game on the screen. The display manager owns exactly one backend
// and reaches the screen only through it. A backend makes (or re-makes) the window, the
// video mode and the screen renderer in ApplyDisplayParams; until that succeeded once it
// has no renderer.
#include "core/Class.h"
#include "core/Object.h"
#include "display/DisplayWindow.h"

#include <SDL.h>

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
    // Shows the finished frame.
    virtual void Present() = 0;
    // The backend's part of the window procedure.
    virtual LRESULT HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                         LPARAM lParam) = 0;
    // False when the display must be re-created.
    virtual bool IsCurrentDisplayValid() = 0;
    // The picture of the frame drawn last (for screenshots), in a surface the backend
    // keeps: the screen itself, or a copy of it refreshed by this call. Null when there is
    // no display yet.
    virtual SDL_Surface* GetScreenshotSurface() = 0;
};
