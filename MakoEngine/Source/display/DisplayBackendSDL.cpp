#include "display/DisplayBackendSDL.h"

#include "core/Exception.h"
#include "core/Log.h"
#include "display/DisplayUtils.h"
#include "display/SDLImageRenderer.h"

#include <boost/format.hpp>

MAKO_IMPLEMENT_CLASS(DisplayBackendSDL, "DisplayBackendSDL", "Object", nullptr, nullptr);

DisplayBackendSDL::DisplayBackendSDL() = default;

DisplayBackendSDL::~DisplayBackendSDL()
{
    // The renderer goes before SDL video stops: its image names the video surface, which
    // stopping SDL video frees.
    DeleteRenderer();
    // Also after a failed apply: the next backend starts from a video subsystem of its own
    // and hands its window to the application.
    if (m_Window)
        ShutdownSDLVideo();
}

void DisplayBackendSDL::DeleteRenderer()
{
    // The renderer's image only holds the video surface; SDL keeps it.
    m_ImageRenderer.reset();
}

bool DisplayBackendSDL::StartVideo()
{
    // Two tries with the driver the caller chose; the log names the driver SDL runs.
    for (const char* procedure : {"directx", "windib"}) {
        Log("DisplayBackendSDL::ApplyDisplayParams: Trying to initialize SDL video.\n");
        if (InitSDLVideo(procedure, &m_Window, &m_SDLWindowProc)) {
            Log("DisplayBackendSDL::ApplyDisplayParams: SDL's %s driver was successfully "
                "loaded.\n",
                CurrentSDLVideoDriverName().c_str());
            return true;
        }
        Log("DisplayBackendSDL::ApplyDisplayParams: Could not initialize SDL video: %s\n",
            GetSDLVideoError().c_str());
    }
    return false;
}

void DisplayBackendSDL::ApplyDisplayParams(const DisplayParams& params)
{
    Log("DisplayBackendSDL::ApplyDisplayParams: START.\n");
    if (m_CurrentDisplayParams) {
        Log("DisplayBackendSDL::ApplyDisplayParams: Deleting old display params.\n");
        m_CurrentDisplayParams.reset();
    }
    // The old renderer draws into the video surface that the new mode replaces.
    DeleteRenderer();
    m_DisplaySurface = nullptr;
    if (!IsCurrentSDLVideoDriver("directx")) {
        Log("DisplayBackendSDL::ApplyDisplayParams: Shutting down SDL video subsystem.\n");
        ShutdownSDLVideo();
        m_Window = nullptr;
        m_SDLWindowProc = nullptr;
        bool result = StartVideo();
        MAKO_ASSERT_TYPED(DisplayBackendInitError, result == true, GetSDLVideoError());
        SetNewWindow(m_Window);
    }
    m_SavedFullScreenDisplaySettings.reset();

    const Uint32 flags = params.fullscreen ? SDL_FULLSCREEN : 0;
    const int signedFlags = static_cast<int>(flags);
    Log("DisplayBackendSDL::ApplyDisplayParams: Calling SDL_SetVideoMode(%d, %d, 32, %d)\n",
        params.width, params.height, signedFlags);
    m_DisplaySurface = SDL_SetVideoMode(params.width, params.height, 32, flags);
    MAKO_ASSERT_TYPED(DisplayBackendInitError, m_DisplaySurface != NULL,
                      boost::str(boost::format("SDL_SetVideoMode(%1%, %2%, 32, %3%) failed: %4%") %
                                 params.width % params.height % signedFlags % SDL_GetError()));

    Log("DisplayBackendSDL::ApplyDisplayParams: Creating m_ImageRenderer.\n");
    m_ImageRenderer = std::make_unique<SDLImageRenderer>(m_DisplaySurface, false);
    m_CurrentDisplayParams.reset(new DisplayParams(params));
    if (!params.fullscreen) {
        m_DesktopDepth = DesktopBitsPerPixel();
        // The window system decorates SDL's window itself; nothing to change in its style.
        Log("DisplayBackendSDL::ApplyDisplayParams: Enabling maximize box.\n");
    } else {
        m_DesktopDepth = 0;
    }
    Log("DisplayBackendSDL::ApplyDisplayParams: SUCCESS.\n");
}

ImageRenderer* DisplayBackendSDL::GetImageRenderer()
{
    return m_ImageRenderer.get();
}

void DisplayBackendSDL::Present()
{
    if (m_DisplaySurface)
        SDL_Flip(m_DisplaySurface);
}

void DisplayBackendSDL::PresentRects(const std::vector<SDL_Rect>& rects)
{
    if (m_DisplaySurface && !rects.empty())
        SDL_UpdateRects(m_DisplaySurface, static_cast<int>(rects.size()),
                        const_cast<SDL_Rect*>(rects.data()));
}

LRESULT DisplayBackendSDL::HandleWindowsMessage(HWND window, unsigned message, WPARAM wParam,
                                                LPARAM lParam)
{
    if (!m_SDLWindowProc)
        return DefWindowProcA(window, message, wParam, lParam);
    const bool fullscreen = m_CurrentDisplayParams && m_CurrentDisplayParams->fullscreen;
    // The game's mode put back: what the display shows is not the last frame any more.
    if (HandleFullScreenWindowMessage("DisplayBackendSDL", window, message, wParam, fullscreen,
                                      m_SavedFullScreenDisplaySettings))
        CountDisplayLoss();
    return CallWindowProcA(m_SDLWindowProc, window, message, wParam, lParam);
}

bool DisplayBackendSDL::IsCurrentDisplayValid()
{
    if (!m_CurrentDisplayParams || m_CurrentDisplayParams->fullscreen)
        return true;
    return DesktopBitsPerPixel() == m_DesktopDepth;
}
