#include "display/DisplayWindow.h"

#include <SDL.h>

LRESULT DefWindowProcA(HWND, unsigned, WPARAM, LPARAM)
{
    return 0;
}

LRESULT CallWindowProcA(WNDPROC procedure, HWND window, unsigned message, WPARAM wParam,
                        LPARAM lParam)
{
    if (!procedure)
        return DefWindowProcA(window, message, wParam, lParam);
    return procedure(window, message, wParam, lParam);
}

LRESULT SDLWindowProc(HWND window, unsigned message, WPARAM wParam, LPARAM lParam)
{
    return DefWindowProcA(window, message, wParam, lParam);
}

BOOL EnumDisplaySettingsA(const char* device, DWORD mode, DEVMODE* settings)
{
    if (device || mode != ENUM_CURRENT_SETTINGS || !settings || !SDL_WasInit(SDL_INIT_VIDEO))
        return FALSE;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        return FALSE;
    settings->dmBitsPerPel = info->vfmt ? info->vfmt->BitsPerPixel : 0;
    settings->dmPelsWidth = static_cast<std::uint32_t>(info->current_w > 0 ? info->current_w : 0);
    settings->dmPelsHeight = static_cast<std::uint32_t>(info->current_h > 0 ? info->current_h : 0);
    settings->dmDisplayFlags = 0;
    settings->dmDisplayFrequency = 0;
    return TRUE;
}

LONG ChangeDisplaySettingsA(const DEVMODE*, DWORD)
{
    return DISP_CHANGE_SUCCESSFUL;
}

BOOL ShowWindow(HWND, int command)
{
    if (command == SW_MINIMIZE && SDL_WasInit(SDL_INIT_VIDEO) && SDL_GetVideoSurface())
        return SDL_WM_IconifyWindow() != 0;
    return TRUE;
}

int DesktopBitsPerPixel()
{
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return 0;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    return info && info->vfmt ? info->vfmt->BitsPerPixel : 0;
}

bool DesktopSize(int& width, int& height)
{
    width = height = 0;
    if (!SDL_WasInit(SDL_INIT_VIDEO))
        return false;
    const SDL_VideoInfo* info = SDL_GetVideoInfo();
    if (!info)
        return false;
    width = info->current_w;
    height = info->current_h;
    return true;
}
