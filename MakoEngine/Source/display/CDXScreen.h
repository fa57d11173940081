#pragma once
// The DirectDraw screen of the hardware display backend: the DirectDraw object, the
// cooperative level and (full screen) the display mode, the front buffer with one back
// buffer, a clipper in a window, presenting the back buffer (flip or blit), restoring
// lost surfaces, and the lists of display modes and drivers. Every step is traced through
// CDXLog. Nothing here throws: creation answers 0 or a negative code, presenting and
// restoring answer result codes. Main thread only.
#include "ddraw/ddraw.h"

#include <SDL.h>

#include <cstdint>
#include <list>
#include <memory>
#include <string>
#include <vector>

class CDXSurface;

struct CDXVideoMode
{
    int width = 0;
    int height = 0;
    int bitsPerPixel = 0;
};

struct CDXDriver
{
    bool primary = true; // the null GUID: the primary display
    GUID guid{};
    std::string name;
    std::string description;
    DDCAPS halCaps{};
    DDCAPS helCaps{};
    HMONITOR monitor = nullptr;
};

class CDXScreen
{
public:
    CDXScreen();
    ~CDXScreen();
    CDXScreen(const CDXScreen&) = delete;
    CDXScreen& operator=(const CDXScreen&) = delete;

    // 0 on success; -1 no DirectDraw or already created, -2 cooperative level, -4 front
    // buffer, -8 back buffer; clipper failures -16, OR -32, OR -64 (the screen is usable).
    int CreateWindowed(HWND window, int width, int height);
    // 0 on success; -1 no DirectDraw or already created, -2 cooperative level, -4 display
    // mode, -8 chain (after the system-memory retry), -16 chain, -32 back buffer.
    int CreateFullScreen(HWND window, int width, int height, int bitsPerPixel, int standardVGA);
    // Presents the back buffer: a flip in full screen, a blit to the client area in a
    // window (scaled to it with stretch). A lost surface is restored (the restore's result
    // is then returned).
    HRESULT Flip(int vsync, int stretch, int showFrameRate);
    // Presents only these rectangles of the back buffer (the rest of the screen shows what
    // it showed): blits to the client area in a window the size of the back buffer, shown
    // by one update of the window; a flip of the whole buffer in full screen or when the
    // window's size differs.
    HRESULT PresentRects(const std::vector<SDL_Rect>& rects, int vsync);
    // Restores lost buffers; 0 when nothing was lost.
    HRESULT Restore();
    // True when Restore found a lost buffer since the last call (its pixels are then not
    // what was drawn or presented last).
    bool TakeRestored()
    {
        const bool restored = m_Restored;
        m_Restored = false;
        return restored;
    }
    HRESULT EnumVideoModes();
    HRESULT EnumDrivers();
    // Drops surface (other than the two buffers) from the screen's list.
    void ReleaseSurface(CDXSurface* surface);
    void AddSurface(CDXSurface* surface);

    IDirectDraw7* GetDD() const { return m_DD; }
    CDXSurface* GetFront() const MAKO_LIFETIMEBOUND { return m_Front.get(); }
    CDXSurface* GetBack() const MAKO_LIFETIMEBOUND { return m_Back.get(); }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    int GetBPP() const { return m_BPP; }
    bool IsFullScreen() const { return m_FullScreen; }
    void SetVideoMemory(int flag) { m_VideoMemory = flag; }
    int GetVideoMemory() const { return m_VideoMemory; }
    std::uint32_t GetFPS() const { return m_FPS; }
    const std::vector<CDXVideoMode>& GetModes() const MAKO_LIFETIMEBOUND { return m_Modes; }
    const std::vector<CDXDriver>& GetDrivers() const MAKO_LIFETIMEBOUND { return m_Drivers; }

private:
    void InitCDXScreen();
    // Sizes, clip rectangles, RGB formats and pixel routines of both buffers.
    void SetBufferParams(int frontWidth, int frontHeight);
    void DeleteBuffers();
    void CountFrame();

    IDirectDraw7* m_DD = nullptr;
    IDirectDrawSurface7* m_ZBuffer = nullptr;
    std::unique_ptr<CDXSurface> m_Front;
    std::unique_ptr<CDXSurface> m_Back;
    IDirectDrawPalette* m_Palette = nullptr;
    IDirectDrawClipper* m_Clipper = nullptr;
    int m_Width = 0;
    int m_Height = 0;
    int m_BPP = 0;
    HWND m_Window = nullptr;
    bool m_FullScreen = false;
    bool m_Restored = false;
    std::vector<CDXVideoMode> m_Modes;
    int m_VideoMemory = 1;
    std::vector<CDXDriver> m_Drivers;
    std::uint32_t m_FrameCount = 0;
    std::uint32_t m_AccumulatedMs = 0;
    std::uint32_t m_LastFlipTime = 0;
    std::uint32_t m_FPS = 0;
    std::list<CDXSurface*> m_Surfaces;
};
