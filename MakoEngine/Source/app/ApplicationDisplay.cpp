// The application's display side: choosing full screen or a window through the display
// manager, the main canvas, drawing a frame with the statistics displays and the
// screenshot, presenting it, the window procedure fed by SDL's active events, and the
// display objects' part of start-up and shut-down. Each frame shows the screen manager's
// current screen under the overlays (the screen manager's other parts are in
// ApplicationScreens.cpp).
#include "app/Application.h"

#include "core/Config.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "display/Canvas.h"
#include "display/DisplayManager.h"
#include "display/DisplayParams.h"
#include "display/DisplayUtils.h"
#include "display/DisplayWindow.h"
#include "screens/D3DAvailableVidMemCounter.h"
#include "screens/FPSCounter.h"
#include "screens/ScreenManager.h"

#include <cstdlib>
#include <cstring>

namespace {

// Where the video-memory read-out sits: below the frame-rate read-out.
const int kVideoMemoryCounterY = 24;

} // namespace

void Application::UseFullScreen(int width, int height, int bpp)
{
    Log("Application::UseFullScreen called: %dx%dx%d\n", width, height, bpp);
    ApplyDisplayMode(true, width, height);
    Log("Application::UseFullScreen FINISHED.\n");
}

void Application::UseWindowedScreen(int width, int height, int bpp)
{
    Log("Application::UseWindowedScreen called: %dx%dx%d\n", width, height, bpp);
    ApplyDisplayMode(false, width, height);
    Log("Application::UseWindowedScreen FINISHED.\n");
}

void Application::ApplyDisplayMode(bool fullScreen, int width, int height)
{
    m_MainCanvas.reset();
    bool shown = fullScreen;
    if (m_DisplayManager) {
        DisplayParams params(fullScreen, m_HWAccel, width, height,
                             RetrieveBoolProperty("enableVSync"));
        m_DisplayManager->SetFullRedraw(RetrieveBoolProperty("fullRedraw"));
        // Creates the window; may lower the acceleration, and keeps the previous display
        // when the one asked for cannot be shown.
        m_DisplayManager->ApplyDisplayParams(params);
        if (HWND window = m_DisplayManager->TakeNewWindow())
            SetWindowHandle(window);
        m_HWAccel = params.accel3d;
        shown = params.fullscreen;
        InitWindowProc();
        InitMainCanvas();
    }
    PostEvent(nullptr, MAKO_DISPLAYCHANGE);
    m_FullScreen = shown;
    // SDL places a new window on the screen itself: nothing to move back into view.
}

void Application::InitMainCanvas()
{
    MAKO_ASSERT(m_MainCanvas == 0);
    m_MainCanvas = std::make_unique<Canvas>(m_DisplayManager->GetImageRenderer(), false);
}

void Application::InitWindowProc()
{
    MAKO_ASSERT_MSG(m_hWnd != 0, "A window handle hasn't been set yet.");
}

void Application::RebuildDisplayIfRequested()
{
    bool target = m_FullScreen;
    bool rebuild = false;
    const bool toggled = m_DisplayToggleRequested;
    if (m_DisplayToggleRequested) {
        m_DisplayToggleRequested = false;
        target = !m_FullScreen;
        rebuild = true;
    }
    if (m_ActivationSeen) {
        m_ActivationSeen = false;
        if (m_DisplayManager && m_DisplayManager->GetBackend() &&
            !m_DisplayManager->IsCurrentDisplayValid())
            rebuild = true;
    }
    if (!m_WindowRecreationRequested && !rebuild)
        return;
    Log("Recreating window.\n");
    DoPauseApp(true);
    if (target)
        UseFullScreen(m_Width, m_Height, 32);
    else
        UseWindowedScreen(m_Width, m_Height, 32);
    m_WindowRecreationRequested = false;
    // Only the player's toggle is a setting: the mode a start (a command-line option, a
    // display that cannot show full screen) or a lost display shows is not stored.
    if (toggled && m_Config)
        m_Config->SetBoolean("full_screen", m_FullScreen);
    DoPauseApp(false);
}

void Application::OnWindowCreated()
{
    // For the screens: through the screen manager (the application itself before it exists).
    PostEvent(m_ScreenManager.get(), MAKO_RESETWINDOW);
    InitWindowProc();
    SDL_EnableUNICODE(1);
    SDL_SetModState(KMOD_NONE);
    SDL_WM_SetCaption(m_WindowTitle.empty() ? "Mako Engine Application" : m_WindowTitle.c_str(),
                      nullptr);
}

void Application::SetWindowHandle(void* handle)
{
    m_hWnd = handle;
    OnWindowCreated();
}

std::intptr_t Application::WindowProc(unsigned message, std::uintptr_t wParam, std::intptr_t lParam)
{
    HWND window = static_cast<HWND>(m_hWnd);
    switch (message) {
    case WM_SIZE:
        m_Minimized = wParam == SIZE_MINIMIZED;
        break;
    case WM_ACTIVATEAPP:
        m_ActivationSeen = true;
        break;
    case WM_NCLBUTTONDBLCLK:
        m_DisplayToggleRequested = true;
        return 0;
    case WM_SYSCOMMAND:
        if (wParam == SC_MAXIMIZE) {
            if (m_FullScreen)
                ShowWindow(window, SW_MAXIMIZE);
            else
                m_DisplayToggleRequested = true;
        }
        break;
    case WM_USER:
        Log("WM_USER: wParam=0x%08x, lParam=0x%08x\n", static_cast<unsigned>(wParam),
            static_cast<unsigned>(lParam));
        break;
    default:
        break;
    }
    if (!m_DisplayManager)
        return DefWindowProcA(window, message, wParam, lParam);
    return m_DisplayManager->HandleWindowsMessage(window, message, wParam, lParam);
}

void Application::TranslateActiveEvent(const Event& event)
{
    // Iconifying is the window's minimise, the input focus its activation.
    if (event.active.state & SDL_APPACTIVE) {
        WindowProc(WM_SIZE, event.active.gain ? SIZE_RESTORED : SIZE_MINIMIZED, 0);
        if (event.active.gain)
            WindowProc(WM_ACTIVATEAPP, 1, 0);
    }
    if (event.active.state & SDL_APPINPUTFOCUS) {
        WindowProc(WM_ACTIVATE, event.active.gain ? WA_ACTIVE : WA_INACTIVE, 0);
        if (event.active.gain)
            WindowProc(WM_ACTIVATEAPP, 1, 0);
    }
}

void Application::Draw()
{
    if (m_ScreenManager && m_MainCanvas)
        m_ScreenManager->Draw(*m_MainCanvas);
    if (m_MainCanvas) {
        if (m_FPSCounter)
            m_FPSCounter->Render(*m_MainCanvas);
        if (m_VideoMemoryCounter)
            m_VideoMemoryCounter->Render(*m_MainCanvas);
    }
    if (m_DisplayManager)
        m_DisplayManager->FinishFrame();
    if (m_ScreenshotRequested) {
        SaveScreenshot();
        m_ScreenshotRequested = false;
    }
}

void Application::PresentFrame()
{
    if (m_DisplayManager && m_DisplayManager->GetBackend())
        m_DisplayManager->Flip();
}

void Application::CountFrame()
{
    if (m_FPSCounter) {
        // The frame began when the pass did.
        m_FPSCounter->StartAt(m_FrameStartTime);
        m_FPSCounter->CountFrame();
    }
}

bool Application::OnVideoExpose(const Event& event)
{
    (void)event;
    if (m_DisplayManager)
        m_DisplayManager->DrawWholeNext();
    return false;
}

bool Application::OfferToOverlays(const Event& event)
{
    if (event.type == SDL_ACTIVEEVENT && m_hWnd)
        TranslateActiveEvent(event);
    return m_FPSCounter && m_FPSCounter->OnEvent(event);
}

SDL_Surface* Application::GetScreenshotSurface() const
{
    return m_DisplayManager ? m_DisplayManager->GetScreenshotSurface() : nullptr;
}

void Application::EnableFPSCounter(bool enable)
{
    if (enable) {
        if (!m_FPSCounter)
            m_FPSCounter = std::make_unique<FPSCounter>();
        Log("FPS counter enabled\n");
    } else {
        m_FPSCounter.reset();
        Log("FPS counter disabled\n");
    }
}

void Application::EnableVideoMemoryCounter(bool enable)
{
    if (enable) {
        if (!m_VideoMemoryCounter) {
            m_VideoMemoryCounter = std::make_unique<D3DAvailableVidMemCounter>();
            m_VideoMemoryCounter->SetPosition(0, kVideoMemoryCounterY);
        }
        Log("Video memory counter enabled\n");
    } else {
        m_VideoMemoryCounter.reset();
        Log("Video memory counter disabled\n");
    }
}

void Application::DestroyDisplayObjects()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_VideoMemoryCounter)\n");
    m_VideoMemoryCounter.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_FPSCounter)\n");
    m_FPSCounter.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_ScreenManager)\n");
    m_ScreenManager.reset();
    DeleteDeadActors();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_MainCanvas)\n");
    m_MainCanvas.reset();
}

void Application::DestroyDisplayManagers()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_DisplayOld)\n");
    m_DisplayOld.reset();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_DisplayManager)\n");
    m_DisplayManager.reset();
}

void Application::InitDisplayManager()
{
    // The backends start video with the driver the caller chose: remember it before the
    // check below replaces it.
    RememberCallerVideoDriver();
    m_DisplayManager = std::make_unique<DisplayManager>();
    // SDL video must start at all: checked with the driver that needs no display. These
    // are checks of the start-up sequence itself, reported as raised there.
    const char* const step = "Application::InitEngine";
    if (setenv("SDL_VIDEODRIVER", "dummy", 1) != 0)
        FailCheck(__FILE__, __LINE__, step, "SDL_putenv(\"SDL_VIDEODRIVER=dummy\") == 0");
    if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0)
        FailCheck(__FILE__, __LINE__, step, "SDL_InitSubSystem(0x00000020) == 0");
    if (CurrentSDLVideoDriverName() != "dummy")
        FailCheck(__FILE__, __LINE__, step,
                  "strcmp(SDL_VideoDriverName(buf, bufSize), \"dummy\") == 0");
}
