#include "display/DisplayManager.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "core/ObjectBoundary.h"
#include "display/DisplayBackend.h"
#include "display/DisplayBackendD3D.h"
#include "display/DisplayBackendSDL.h"
#include "display/DisplayUtils.h"
#include "display/FrameRecorder.h"
#include "display/ImageRenderer.h"
#include "display/SDLImageRenderer.h"
#include "geometry/Color.h"
#include "geometry/Rect.h"
#include "lua/LuaFunctionList.h"

#include <cstdio>

namespace {

const char* const kHyphens =
    "-------------------------------------------------------------------------\n";

// The full report text of a failure: an engine Exception's own, else what() says.
std::string FailureText(const std::exception& error)
{
    if (const Exception* engineError = dynamic_cast<const Exception*>(&error))
        return engineError->ToString();
    return error.what();
}

// The reason of a failure in one line, without the check that raised it: what the player
// is told when the display falls back.
std::string PlainReason(const std::exception& error)
{
    const Exception* engineError = dynamic_cast<const Exception*>(&error);
    std::string reason = engineError ? engineError->GetMessage() : error.what();
    const std::string::size_type message = reason.find("\nMessage: ");
    if (reason.compare(0, 17, "Assertion failed:") == 0 && message != std::string::npos)
        reason.erase(0, message + 10);
    for (std::string::size_type at = reason.find('\n'); at != std::string::npos;
         at = reason.find('\n', at))
        reason.replace(at, 1, "; ");
    return reason;
}

// The display's own rule of which failures it answers, beside core/ObjectBoundary's: a mode the
// machine refuses is said and the next mode tried. That is a DisplayBackendInitError (raised
// through a typed check, so its text is a check's though the system refused), or another
// engine error that is not the program's own (a surface or window the system would not
// make). A plain failed check or a standard library error is the program's and passes on.
bool IsRefusedMode(const std::exception& error)
{
    return dynamic_cast<const DisplayBackendInitError*>(&error) ||
           ObjectBoundary::FaultOf(&error) != ObjectBoundary::Fault::Program;
}

} // namespace

DisplayManager::DisplayManager() = default;

DisplayManager::~DisplayManager()
{
    Log("DisplayManager::~DisplayManager: START\n");
    DeleteBackend();
    Log("DisplayManager::~DisplayManager: END\n");
}

DisplayBackend* DisplayManager::MakeBackend(const DisplayParams& params)
{
    if (m_Factory)
        return m_Factory(params);
    if (params.accel3d)
        return new DisplayBackendD3D();
    return new DisplayBackendSDL();
}

void DisplayManager::DeleteBackend()
{
    // The manager has no backend while the old one is being deleted.
    m_NewWindow = nullptr;
    m_Recorder.reset();
    m_DisplayBackend.reset();
}

HWND DisplayManager::TakeNewWindow()
{
    HWND window = m_NewWindow;
    m_NewWindow = nullptr;
    return window;
}

bool DisplayManager::BackendMatches(const DisplayParams& params) const
{
    if (!m_DisplayBackend)
        return false;
    if (params.accel3d)
        return dynamic_cast<DisplayBackendD3D*>(m_DisplayBackend.get()) != nullptr;
    return dynamic_cast<DisplayBackendSDL*>(m_DisplayBackend.get()) != nullptr;
}

void DisplayManager::CreateAndInitBackend(const DisplayParams& params)
{
    Log("DisplayManager::CreateAndInitBackend: START\n");
    // The recorder draws through the renderer the apply replaces.
    m_Recorder.reset();
    if (!BackendMatches(params)) {
        Log("DisplayManager::CreateAndInitBackend: Deleting m_DisplayBackend\n");
        DeleteBackend();
        m_DisplayBackend.reset(MakeBackend(params));
    }
    m_DisplayBackend->ApplyDisplayParams(params);
    if (HWND window = m_DisplayBackend->TakeNewWindow())
        m_NewWindow = window;
    if (ImageRenderer* renderer = m_DisplayBackend->GetImageRenderer()) {
        SDL_Rect all = MakeRect(0, 0, params.width, params.height);
        renderer->DrawRect(&all, Palette::Black, true);
        m_DisplayBackend->Present();
        m_Recorder = std::make_unique<FrameRecorder>(renderer, params.width, params.height,
                                                     m_DisplayBackend.get());
        m_Recorder->SetFullRedraw(m_FullRedraw);
        m_Recorder->SetRegionAlways(m_RegionAlways);
    }
    Log("DisplayManager::CreateAndInitBackend: END\n");
}

void DisplayManager::LogInitError(const DisplayParams& params, const std::string& what)
{
    Log("%s", kHyphens);
    Log("%s: Error initializing display:\nPARAMS: 3daccel=%s, fullscreen=%s\nEXCEPTION "
        "INFO:\n%s\n",
        "DisplayManager::ApplyDisplayParams", OnOff(params.accel3d), OnOff(params.fullscreen),
        what.c_str());
    Log("%s", kHyphens);
    Log("DisplayManager::ApplyDisplayParams: Deleting uninitialized backend.\n");
    DeleteBackend();
}

bool DisplayManager::RestorePrevious(const DisplayParams& previous)
{
    DisplayParams attempt(previous);
    for (int tries = 0; tries < 2; ++tries) {
        Log("DisplayManager::ApplyDisplayParams: Restoring the previous display "
            "(3daccel=%s, fullscreen=%s).\n",
            OnOff(attempt.accel3d), OnOff(attempt.fullscreen));
        try {
            CreateAndInitBackend(attempt);
            m_LastApplied = attempt;
            return true;
        } catch (const std::exception& error) {
            if (!IsRefusedMode(error))
                throw;
            LogInitError(attempt, FailureText(error));
        }
        if (!attempt.accel3d)
            break;
        attempt.accel3d = false;
    }
    return false;
}

void DisplayManager::ApplyDisplayParams(DisplayParams& params)
{
    DisplayParams p(params);
    Log("DisplayManager::ApplyDisplayParams: Called with 3daccel=%s, fullscreen=%s\n",
        OnOff(p.accel3d), OnOff(p.fullscreen));
    std::string reason;
    try {
        CreateAndInitBackend(p);
    } catch (const std::exception& error) {
        if (!IsRefusedMode(error))
            throw;
        // The backend may be half-made: it goes.
        LogInitError(p, FailureText(error));
        reason = PlainReason(error);
    }
    if (!m_DisplayBackend && p.accel3d) {
        Log("DisplayManager::ApplyDisplayParams: Trying to reinitialize display without 3D "
            "acceleration.\n");
        p.accel3d = false;
        try {
            CreateAndInitBackend(p);
            // The log holds the whole report; whoever started the game gets one line, unless
            // there is no graphical display at all: that is the one thing to say, and the
            // application says it.
            if (!IsTextDisplay()) {
                std::fprintf(stderr,
                             "The Direct3D display could not be started (%s); the game uses the "
                             "SDL display.\n",
                             reason.c_str());
                std::fflush(stderr);
            }
        } catch (const std::exception& error) {
            if (!IsRefusedMode(error))
                throw;
            LogInitError(p, FailureText(error));
        }
    }
    if (!m_DisplayBackend) {
        // The display asked for cannot be shown: keep the one shown before, if any.
        if (!m_HasApplied || !RestorePrevious(m_LastApplied)) {
            m_HasApplied = false;
            MAKO_THROW(DisplayBackendInitError,
                       "Could not initialize display. It could not be started in any of the "
                       "modes tried.");
        }
        p = m_LastApplied;
        Log("DisplayManager::ApplyDisplayParams: Kept the previous display.\n");
    }
    params = p;
    m_LastApplied = p;
    m_HasApplied = true;
    Log("DisplayManager::ApplyDisplayParams: Success, backend=\"%s\", 3daccel=%s, "
        "fullscreen=%s\n",
        m_DisplayBackend->GetClass()->GetName().c_str(), OnOff(params.accel3d),
        OnOff(params.fullscreen));
}

ImageRenderer* DisplayManager::GetImageRenderer()
{
    return m_Recorder.get();
}

void DisplayManager::SetFullRedraw(bool fullRedraw)
{
    m_FullRedraw = fullRedraw;
    if (m_Recorder)
        m_Recorder->SetFullRedraw(fullRedraw);
}

void DisplayManager::SetRegionAlways(bool always)
{
    m_RegionAlways = always;
    if (m_Recorder)
        m_Recorder->SetRegionAlways(always);
}

void DisplayManager::DrawWholeNext()
{
    if (m_Recorder)
        m_Recorder->DrawWholeNext();
}

void DisplayManager::FinishFrame()
{
    if (m_Recorder && m_Recorder->HasOpenFrame())
        m_Recorder->FinishFrame();
}

void DisplayManager::Flip()
{
    MAKO_ASSERT(m_DisplayBackend != 0);
    if (!m_Recorder) {
        m_DisplayBackend->Present();
        return;
    }
    FinishFrame();
    const DirtyRegion& region = m_Recorder->GetRegion();
    if (region.CoversWholeScreen())
        m_DisplayBackend->Present();
    else
        m_DisplayBackend->PresentRects(region.GetRects());
}

LRESULT DisplayManager::HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                             LPARAM lParam)
{
    if (!m_DisplayBackend)
        return DefWindowProcA(window, message, wParam, lParam);
    return m_DisplayBackend->HandleWindowsMessage(window, message, wParam, lParam);
}

bool DisplayManager::IsCurrentDisplayValid()
{
    MAKO_ASSERT(m_DisplayBackend != 0);
    return m_DisplayBackend->IsCurrentDisplayValid();
}

SDL_Surface* DisplayManager::GetScreenshotSurface()
{
    return m_DisplayBackend ? m_DisplayBackend->GetScreenshotSurface() : nullptr;
}

ImageRenderer* DisplayManager::MakeImageRenderer(Image* image)
{
    return new SDLImageRenderer(image);
}

ImageRenderer* DisplayManager::MakeOffscreenImageRenderer(int width, int height)
{
    return SDLImageRenderer::MakeOffscreen(width, height);
}

// Writes SDL's video driver, SDL's video capabilities and the desktop's display settings
// to the log. The engine makes no legacy display object, so there is no line for the mode
// of one; the capability flags need SDL video running.
MAKO_LUA_FUNCTION(LogVideoInfo)
{
    (void)L;
    Log("SDL Video Driver: %s\n", CurrentSDLVideoDriverName().c_str());
    Log("SDL Video Info:\n");
    const SDL_VideoInfo* info = SDL_WasInit(SDL_INIT_VIDEO) ? SDL_GetVideoInfo() : nullptr;
    if (info) {
        auto yesNo = [](unsigned flag) { return flag ? "YES" : "NO"; };
        Log("\thw_available: %s\n", yesNo(info->hw_available));
        Log("\twm_available: %s\n", yesNo(info->wm_available));
        Log("\tblit_hw     : %s\n", yesNo(info->blit_hw));
        Log("\tblit_hw_CC  : %s\n", yesNo(info->blit_hw_CC));
        Log("\tblit_hw_A   : %s\n", yesNo(info->blit_hw_A));
        Log("\tblit_sw     : %s\n", yesNo(info->blit_sw));
        Log("\tblit_sw_CC  : %s\n", yesNo(info->blit_sw_CC));
        Log("\tblit_sw_A   : %s\n", yesNo(info->blit_sw_A));
        Log("\tblit_fill   : %s\n", yesNo(info->blit_fill));
        Log("\tvideo_mem   : %dK\n", static_cast<int>(info->video_mem));
    }
    Log("Windows-provided Display Settings:\n");
    DEVMODE settings;
    if (EnumDisplaySettingsA(nullptr, ENUM_CURRENT_SETTINGS, &settings)) {
        Log("\tdmBitsPerPel      : %d\n", static_cast<int>(settings.dmBitsPerPel));
        Log("\tdmPelsWidth       : %d\n", static_cast<int>(settings.dmPelsWidth));
        Log("\tdmPelsHeight      : %d\n", static_cast<int>(settings.dmPelsHeight));
        Log("\tdmDisplayFlags    : 0x%08x\n", settings.dmDisplayFlags);
        Log("\tdmDisplayFrequency: %d\n", static_cast<int>(settings.dmDisplayFrequency));
    }
    return 0;
}
