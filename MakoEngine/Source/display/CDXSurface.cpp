#include "display/CDXSurface.h"

#include "display/CDXLog.h"
#include "display/CDXScreen.h"

#include <algorithm>
#include <cstring>

namespace {

bool Inside(const CDXSurface& s, int x, int y)
{
    const RECT& clip = s.GetClipRect();
    return x >= clip.left && x < clip.right && y >= clip.top && y < clip.bottom;
}

std::uint32_t BlendChannel(std::uint32_t oldValue, std::uint32_t newValue, std::uint32_t weight)
{
    int delta = static_cast<int>(newValue) - static_cast<int>(oldValue);
    return static_cast<std::uint32_t>(static_cast<int>(oldValue) + ((delta * int(weight)) >> 8));
}

// Pixels of 1, 2, 3 or 4 bytes.
template <int Bytes> std::uint32_t Get(CDXSurface& s, int x, int y)
{
    const std::uint8_t* p = s.LockedRow(y) + x * Bytes;
    std::uint32_t value = 0;
    std::memcpy(&value, p, Bytes);
    return value;
}

template <int Bytes> void Put(CDXSurface& s, int x, int y, std::uint32_t color)
{
    if (!Inside(s, x, y))
        return;
    std::memcpy(s.LockedRow(y) + x * Bytes, &color, Bytes);
}

template <int Bytes> void HLine(CDXSurface& s, int x1, int x2, int y, std::uint32_t color)
{
    const RECT& clip = s.GetClipRect();
    if (y < clip.top || y >= clip.bottom)
        return;
    int from = std::max<int>(std::min(x1, x2), clip.left);
    int to = std::min<int>(std::max(x1, x2), clip.right - 1);
    for (int x = from; x <= to; ++x)
        std::memcpy(s.LockedRow(y) + x * Bytes, &color, Bytes);
}

template <int Bytes> void VLine(CDXSurface& s, int y1, int y2, int x, std::uint32_t color)
{
    const RECT& clip = s.GetClipRect();
    if (x < clip.left || x >= clip.right)
        return;
    int from = std::max<int>(std::min(y1, y2), clip.top);
    int to = std::min<int>(std::max(y1, y2), clip.bottom - 1);
    for (int y = from; y <= to; ++y)
        std::memcpy(s.LockedRow(y) + x * Bytes, &color, Bytes);
}

// Blends of the channel layouts: widths and shifts of red, green and blue.
template <int RBits, int GBits, int BBits, int Bytes>
void PutBlended(CDXSurface& s, int x, int y, std::uint32_t color, std::uint32_t weight)
{
    if (!Inside(s, x, y))
        return;
    constexpr int GShift = BBits, RShift = BBits + GBits;
    constexpr std::uint32_t RMask = (1u << RBits) - 1, GMask = (1u << GBits) - 1,
                            BMask = (1u << BBits) - 1;
    std::uint32_t old = Get<Bytes>(s, x, y);
    std::uint32_t r = BlendChannel((old >> RShift) & RMask, (color >> RShift) & RMask, weight);
    std::uint32_t g = BlendChannel((old >> GShift) & GMask, (color >> GShift) & GMask, weight);
    std::uint32_t b = BlendChannel(old & BMask, color & BMask, weight);
    std::uint32_t value = (r & RMask) << RShift | (g & GMask) << GShift | (b & BMask);
    std::memcpy(s.LockedRow(y) + x * Bytes, &value, Bytes);
}

void PutBlended8(CDXSurface& s, int x, int y, std::uint32_t color, std::uint32_t)
{
    Put<1>(s, x, y, color);
}

} // namespace

CDXSurface::CDXSurface() : m_MMX(IsMMXAvailable())
{
    m_Desc.dwSize = sizeof m_Desc;
}

CDXSurface::~CDXSurface()
{
    CDXLog::Get().Log("CDXSurface::~CDXSurface");
    if (m_DC && m_Surface)
        m_Surface->ReleaseDC(m_DC);
    m_DC = nullptr;
    if (IsLocked())
        Unlock();
    if (m_Surface)
        m_Surface->Release();
    m_Surface = nullptr;
    if (m_Screen)
        m_Screen->ReleaseSurface(this);
}

void CDXSurface::Attach(IDirectDrawSurface7* surface, int width, int height, CDXScreen* screen)
{
    m_Surface = surface;
    m_Screen = screen;
    SetSize(width, height);
}

void CDXSurface::SetSize(int width, int height)
{
    m_Width = width;
    m_Height = height;
    SetClipRect(RECT{0, 0, width, height});
}

void CDXSurface::SetClipRect(const RECT& rect)
{
    m_ClipRect.left = std::clamp<LONG>(rect.left, 0, m_Width);
    m_ClipRect.top = std::clamp<LONG>(rect.top, 0, m_Height);
    m_ClipRect.right = std::clamp<LONG>(rect.right, 0, m_Width);
    m_ClipRect.bottom = std::clamp<LONG>(rect.bottom, 0, m_Height);
}

bool CDXSurface::ClipRect(RECT& rect) const
{
    if (rect.left >= m_ClipRect.right || rect.right <= m_ClipRect.left ||
        rect.top >= m_ClipRect.bottom || rect.bottom <= m_ClipRect.top)
        return false;
    rect.left = std::max(rect.left, m_ClipRect.left);
    rect.top = std::max(rect.top, m_ClipRect.top);
    rect.right = std::min(rect.right, m_ClipRect.right);
    rect.bottom = std::min(rect.bottom, m_ClipRect.bottom);
    return true;
}

HDC CDXSurface::GetDC()
{
    if (m_DCNesting++ == 0 && m_Surface && FAILED(m_Surface->GetDC(&m_DC)))
        m_DC = nullptr;
    return m_DC;
}

void CDXSurface::ReleaseDC()
{
    if (m_DCNesting == 0)
        return;
    if (--m_DCNesting == 0 && m_DC && m_Surface) {
        m_Surface->ReleaseDC(m_DC);
        m_DC = nullptr;
    }
}

void CDXSurface::SetFont()
{
    // Fonts live in device contexts; without one there is nothing to select into.
}

void CDXSurface::TextXY(int, int, std::uint32_t, const char*)
{
    HDC dc = GetDC();
    // Text output needs the window system's text drawing, which surfaces here do not
    // offer; the engine draws its own text through fonts and images instead.
    (void)dc;
    ReleaseDC();
}

HRESULT CDXSurface::FillRect(int left, int top, int right, int bottom, std::uint32_t color)
{
    RECT rect{left, top, right, bottom};
    if (!ClipRect(rect))
        return DD_OK;
    DDBLTFX fx{};
    fx.dwSize = sizeof fx;
    fx.dwFillColor = color;
    return m_Surface->Blt(&rect, nullptr, nullptr, DDBLT_COLORFILL | DDBLT_WAIT, &fx);
}

void CDXSurface::UpdateRGBFormat()
{
    ::GetRGBFormat(m_Surface, m_RGBFormat);
    SetPixelRoutines(m_RGBFormat.depth);
}

void CDXSurface::SetPixelRoutines(int depth)
{
    m_Routines = CDXPixelRoutines();
    switch (depth) {
    case 8:
        m_Routines = {&Put<1>, &PutBlended8, &Get<1>, &VLine<1>, &HLine<1>};
        break;
    case 15:
        m_Routines = {&Put<2>, &PutBlended<5, 5, 5, 2>, &Get<2>, &VLine<2>, &HLine<2>};
        break;
    case 16:
        m_Routines = {&Put<2>, &PutBlended<5, 6, 5, 2>, &Get<2>, &VLine<2>, &HLine<2>};
        break;
    case 24:
        m_Routines = {&Put<3>, &PutBlended<8, 8, 8, 3>, &Get<3>, &VLine<3>, &HLine<3>};
        break;
    case 32:
        m_Routines = {&Put<4>, &PutBlended<8, 8, 8, 4>, &Get<4>, &VLine<4>, &HLine<4>};
        break;
    default:
        break;
    }
}

HRESULT CDXSurface::Lock()
{
    if (!m_Surface)
        return DDERR_INVALIDOBJECT;
    m_Desc = DDSURFACEDESC2{};
    m_Desc.dwSize = sizeof m_Desc;
    HRESULT result = m_Surface->Lock(nullptr, &m_Desc, DDLOCK_WAIT, nullptr);
    if (FAILED(result))
        m_Desc.lpSurface = nullptr;
    return result;
}

HRESULT CDXSurface::Unlock()
{
    if (!m_Surface || !IsLocked())
        return DDERR_NOTLOCKED;
    m_Desc.lpSurface = nullptr;
    return m_Surface->Unlock(nullptr);
}

std::uint8_t* CDXSurface::LockedRow(int y) const
{
    if (!m_Desc.lpSurface)
        return nullptr;
    return static_cast<std::uint8_t*>(m_Desc.lpSurface) +
           static_cast<std::ptrdiff_t>(y) * m_Desc.lPitch;
}
