#pragma once
// The game's window as the display code speaks of it: a window handle, window messages
// handed through a chain of window procedures, and the display settings of the desktop.
// On this platform SDL owns the window; the messages are made from SDL's active events
// (Application::OfferToOverlays), and the calls below map to SDL:
//   - ShowWindow with SW_MINIMIZE iconifies the window; other commands change nothing;
//   - EnumDisplaySettingsA reports SDL's current video mode;
//   - ChangeDisplaySettingsA succeeds without action: SDL gives the desktop back its own
//     mode when a full-screen window is iconified and takes it again when restored.
// Main thread only.
#include "ddraw/WinTypes.h"

#include <cstdint>

typedef std::uintptr_t WPARAM;
typedef std::intptr_t LPARAM;
typedef std::intptr_t LRESULT;
typedef LRESULT (*WNDPROC)(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);

// Messages.
constexpr unsigned WM_SIZE = 0x0005;
constexpr unsigned WM_ACTIVATE = 0x0006;
constexpr unsigned WM_ACTIVATEAPP = 0x001C;
constexpr unsigned WM_GETMINMAXINFO = 0x0024;
constexpr unsigned WM_NCLBUTTONDBLCLK = 0x00A3;
constexpr unsigned WM_SYSCOMMAND = 0x0112;
constexpr unsigned WM_USER = 0x0400;

// WM_SIZE size types, WM_ACTIVATE states, WM_SYSCOMMAND commands.
constexpr WPARAM SIZE_RESTORED = 0;
constexpr WPARAM SIZE_MINIMIZED = 1;
constexpr WPARAM WA_INACTIVE = 0;
constexpr WPARAM WA_ACTIVE = 1;
constexpr WPARAM SC_MAXIMIZE = 0xF030;

// ShowWindow commands.
constexpr int SW_MAXIMIZE = 3;
constexpr int SW_SHOW = 5;
constexpr int SW_MINIMIZE = 6;

// Display settings: the mode of the whole display.
struct DEVMODE
{
    std::uint16_t dmSize = 156;
    std::uint16_t dmDriverExtra = 0;
    std::uint32_t dmBitsPerPel = 0;
    std::uint32_t dmPelsWidth = 0;
    std::uint32_t dmPelsHeight = 0;
    std::uint32_t dmDisplayFlags = 0;
    std::uint32_t dmDisplayFrequency = 0;
};
constexpr DWORD ENUM_CURRENT_SETTINGS = 0xFFFFFFFFu;
constexpr DWORD CDS_FULLSCREEN = 0x00000004;
constexpr LONG DISP_CHANGE_SUCCESSFUL = 0;

// The end of every procedure chain: nothing left to do, answers 0.
LRESULT DefWindowProcA(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);
// Hands the message to procedure (DefWindowProcA when null) and returns its answer.
LRESULT CallWindowProcA(WNDPROC procedure, HWND window, unsigned message, WPARAM wParam,
                        LPARAM lParam);
// The procedure SDL's window has on this platform: SDL handles its window itself, so it
// only ends the chain.
LRESULT SDLWindowProc(HWND window, unsigned message, WPARAM wParam, LPARAM lParam);

// TRUE when settings could be filled (SDL video must be running); device must be null and
// mode ENUM_CURRENT_SETTINGS.
BOOL EnumDisplaySettingsA(const char* device, DWORD mode, DEVMODE* settings);
LONG ChangeDisplaySettingsA(const DEVMODE* settings, DWORD flags);
BOOL ShowWindow(HWND window, int command);

// Bits per pixel of the desktop (of SDL's video mode while one is set); 0 without SDL
// video.
int DesktopBitsPerPixel();
// Width and height of the desktop; false without SDL video.
bool DesktopSize(int& width, int& height);
