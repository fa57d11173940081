#pragma once
// The one owner of the display backend and the only way the engine reaches the screen.
// ApplyDisplayParams picks the backend the parameters ask for (Direct3D or SDL), starts
// it, falls back once from Direct3D to SDL when the Direct3D start fails, and clears the
// new display to black. Afterwards presentation, window messages and the validity test go
// to the backend. Renderers into images and off-screen surfaces are made here too, always
// software ones, whichever backend shows the game. Main thread only.
#include "core/Object.h"
#include "display/DisplayParams.h"
#include "display/DisplayWindow.h"

#include <SDL.h>

#include <functional>
#include <memory>

class DisplayBackend;
class FrameRecorder;
class Image;
class ImageRenderer;

class DisplayManager : public Object
{
public:
    // Makes a backend of the kind the parameters ask for: a DisplayBackendD3D (or a
    // subclass) when params.accel3d is set, else a DisplayBackendSDL (or a subclass).
    using BackendFactory = std::function<DisplayBackend*(const DisplayParams& params)>;

    DisplayManager();
    ~DisplayManager() override;

    // Starts the display; on return params holds what was applied (accel3d cleared after a
    // fall-back to SDL). On any failure the display stays as it was before the call when
    // that display can be brought back, else the failure propagates with no backend left.
    void ApplyDisplayParams(DisplayParams& params);
    // The renderer that draws on the screen: it records a frame's drawing and draws what
    // changed when the frame is finished (FrameRecorder); null without a backend.
    ImageRenderer* GetImageRenderer();
    // Draws the recorded frame onto the screen (screenshots read it afterwards); a frame
    // without drawing calls leaves the screen as it is.
    void FinishFrame();
    // Finishes the frame if need be and presents what changed (all of it under full
    // redraw).
    void Flip();
    // Full redraw: every drawing call goes straight to the screen and every frame is
    // presented whole. Kept across display changes.
    void SetFullRedraw(bool fullRedraw);
    // True: the changed region is drawn every frame, even when drawing everything would
    // cost less (for measuring and tests; FrameRecorder::SetRegionAlways). Kept across
    // display changes.
    void SetRegionAlways(bool always);
    // The next frame is drawn and presented whole: the window system lost part of the
    // picture shown (a window exposed after being covered).
    void DrawWholeNext();
    // The recorder of the current display (null without one), for tests and figures.
    FrameRecorder* GetRecorder() const MAKO_LIFETIMEBOUND { return m_Recorder.get(); }
    LRESULT HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
    bool IsCurrentDisplayValid();
    DisplayBackend* GetBackend() const MAKO_LIFETIMEBOUND { return m_DisplayBackend.get(); }
    // The window that the applies since the last call made, handed over once; null when
    // they kept the window there was. The application takes it after every apply.
    HWND TakeNewWindow();
    // The picture last drawn on the screen (see DisplayBackend); null without a backend.
    SDL_Surface* GetScreenshotSurface();

    // A software renderer into the image; the image stays the caller's, and the caller
    // deletes the renderer.
    ImageRenderer* MakeImageRenderer(Image* image);
    // A software renderer into a new width x height surface in the reference format with
    // per-pixel alpha; the renderer owns the surface's image until ReleaseTarget.
    ImageRenderer* MakeOffscreenImageRenderer(int width, int height);

    // Replaces how backends are made (tests stand in backends that fail on demand); an
    // empty factory goes back to the real backends.
    void SetBackendFactory(BackendFactory factory) { m_Factory = std::move(factory); }

private:
    void CreateAndInitBackend(const DisplayParams& params);
    bool BackendMatches(const DisplayParams& params) const;
    DisplayBackend* MakeBackend(const DisplayParams& params);
    void DeleteBackend();
    void LogInitError(const DisplayParams& params, const std::string& what);
    // Brings back the display of `previous` after a failed apply; false when that fails.
    bool RestorePrevious(const DisplayParams& previous);

    std::unique_ptr<DisplayBackend> m_DisplayBackend;
    // Wraps the backend's renderer; made anew with every successful apply.
    std::unique_ptr<FrameRecorder> m_Recorder;
    bool m_FullRedraw = false;
    bool m_RegionAlways = false;
    // What the last successful apply showed; valid while m_HasApplied.
    DisplayParams m_LastApplied;
    bool m_HasApplied = false;
    BackendFactory m_Factory;
    // The window a successful apply made and nobody took yet; it goes with its backend.
    HWND m_NewWindow = nullptr;
};
