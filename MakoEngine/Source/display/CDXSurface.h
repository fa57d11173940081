#pragma once
// One DirectDraw surface of the wrapper: the surface itself, its size, a clip rectangle,
// a colour fill, text through a device context, and pixel routines chosen by the
// surface's colour depth that work on locked surface memory (Lock first).
// Main thread only.
#include "ddraw/ddraw.h"
#include "display/CDXUtils.h"

#include <cstdint>

class CDXScreen;
class CDXSurface;

// The pixel routines of a surface (empty for depths other than 8, 15, 16, 24 and 32).
struct CDXPixelRoutines
{
    void (*putPixel)(CDXSurface& surface, int x, int y, std::uint32_t color) = nullptr;
    // Each channel moves towards colour by weight / 256.
    void (*putAAPixel)(CDXSurface& surface, int x, int y, std::uint32_t color,
                       std::uint32_t weight) = nullptr;
    std::uint32_t (*getPixel)(CDXSurface& surface, int x, int y) = nullptr;
    void (*vLine)(CDXSurface& surface, int y1, int y2, int x, std::uint32_t color) = nullptr;
    void (*hLine)(CDXSurface& surface, int x1, int x2, int y, std::uint32_t color) = nullptr;
};

class CDXSurface
{
public:
    CDXSurface();
    // Releases the surface, ends a held device context and leaves the screen's list.
    ~CDXSurface();
    CDXSurface(const CDXSurface&) = delete;
    CDXSurface& operator=(const CDXSurface&) = delete;

    // Takes over the reference to surface.
    void Attach(IDirectDrawSurface7* surface, int width, int height, CDXScreen* screen);
    IDirectDrawSurface7* GetDDS() const { return m_Surface; }
    IDirectDrawSurface7** GetDDSAddress() MAKO_LIFETIMEBOUND { return &m_Surface; }
    int GetWidth() const { return m_Width; }
    int GetHeight() const { return m_Height; }
    CDXScreen* GetScreen() const { return m_Screen; }
    void SetScreen(CDXScreen* screen) { m_Screen = screen; }
    void SetSize(int width, int height);

    // Clamped to 0..width and 0..height; right and bottom are exclusive.
    void SetClipRect(const RECT& rect);
    const RECT& GetClipRect() const MAKO_LIFETIMEBOUND { return m_ClipRect; }
    // False when rect lies wholly outside the clip rectangle; else clamps it to it.
    bool ClipRect(RECT& rect) const;

    // Nested: only the outermost pair reaches the surface.
    HDC GetDC();
    void ReleaseDC();
    void SetFont();
    // Text needs a device context; without one nothing is drawn.
    void TextXY(int x, int y, std::uint32_t color, const char* text);
    // A clipped colour fill (the colour in the surface's pixel format).
    HRESULT FillRect(int left, int top, int right, int bottom, std::uint32_t color);

    // Reads the RGB layout and picks the pixel routines for its depth.
    void UpdateRGBFormat();
    const RGBFORMAT& GetRGBFormat() const MAKO_LIFETIMEBOUND { return m_RGBFormat; }
    void SetPixelRoutines(int depth);
    const CDXPixelRoutines& Pixels() const MAKO_LIFETIMEBOUND { return m_Routines; }

    HRESULT Lock();
    HRESULT Unlock();
    // The locked memory (null unless locked) and its row distance in bytes.
    std::uint8_t* LockedRow(int y) const;
    bool IsLocked() const { return m_Desc.lpSurface != nullptr; }
    bool HasMMX() const { return m_MMX; }

private:
    DDSURFACEDESC2 m_Desc{};
    IDirectDrawSurface7* m_Surface = nullptr;
    int m_Width = 0;
    int m_Height = 0;
    HDC m_DC = nullptr;
    int m_DCNesting = 0;
    CDXScreen* m_Screen = nullptr;
    bool m_MMX = false;
    RECT m_ClipRect = {0, 0, 0, 0};
    RGBFORMAT m_RGBFormat;
    CDXPixelRoutines m_Routines;
};
