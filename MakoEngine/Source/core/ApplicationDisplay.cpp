// The application's display side: choosing full screen or a window, the main canvas,
// drawing a frame, presenting it, the statistics displays and the screen manager's part
// of event routing. The display manager, the canvas and the screen manager belong to
// the display and screen subsystems; until a build has them, these steps do nothing
// beyond their log lines and notices.
#include "core/Application.h"

#include "core/Config.h"
#include "core/Log.h"

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
    PostEvent(nullptr, MAKO_DISPLAYCHANGE);
    m_FullScreen = fullScreen;
    if (m_Config)
        m_Config->SetBoolean("full_screen", fullScreen);
}

void Application::RebuildDisplayIfRequested()
{
    bool target = m_FullScreen;
    bool rebuild = false;
    if (m_DisplayToggleRequested) {
        m_DisplayToggleRequested = false;
        target = !m_FullScreen;
        rebuild = true;
    }
    if (m_ActivationSeen)
        m_ActivationSeen = false;
    if (!m_WindowRecreationRequested && !rebuild)
        return;
    Log("Recreating window.\n");
    DoPauseApp(true);
    if (target)
        UseFullScreen(m_Width, m_Height, 32);
    else
        UseWindowedScreen(m_Width, m_Height, 32);
    m_WindowRecreationRequested = false;
    DoPauseApp(false);
}

void Application::OnWindowCreated()
{
    PostEvent(nullptr, MAKO_RESETWINDOW);
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

void Application::Draw()
{
    if (m_ScreenshotRequested) {
        SaveScreenshot();
        m_ScreenshotRequested = false;
    }
}

void Application::Tick() {}

void Application::PresentFrame() {}

void Application::CountFrame() {}

bool Application::OfferToOverlays(const Event& event)
{
    return false;
}

bool Application::OfferToScreens(const Event& event)
{
    return false;
}

bool Application::IsDialogVisible() const
{
    return false;
}

void* Application::CurrentScreenForNotice() const
{
    return nullptr;
}

SDL_Surface* Application::GetScreenshotSurface() const
{
    return nullptr;
}

void Application::EnableFPSCounter(bool enable)
{
    Log(enable ? "FPS counter enabled\n" : "FPS counter disabled\n");
}

void Application::EnableVideoMemoryCounter(bool enable)
{
    Log(enable ? "Video memory counter enabled\n" : "Video memory counter disabled\n");
}

void Application::DestroyDisplayObjects()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_VideoMemoryCounter)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_FPSCounter)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_ScreenManager)\n");
    DeleteDeadActors();
    LogAtLevel(3, "~Application - SAFE_DELETE(m_MainCanvas)\n");
}

void Application::DestroyDisplayManagers()
{
    LogAtLevel(3, "~Application - SAFE_DELETE(m_DisplayOld)\n");
    LogAtLevel(3, "~Application - SAFE_DELETE(m_DisplayManager)\n");
}

void Application::InitDisplayManager() {}

void Application::InitScreenManager() {}
