#include "display/CDXScreen.h"

#include "ddraw/PresentBatch.h"

#include "core/MonotonicClock.h"
#include "display/CDXLog.h"
#include "display/CDXSurface.h"
#include "display/DisplayWindow.h"

#include <SDL.h>

#include <cstdio>

namespace {

const DWORD kDirectDrawVersion = 0x0700;

// The tick count the DirectDraw layer works in: the engine's clock, cut to 32 bits.
std::uint32_t TimeMs()
{
    return static_cast<std::uint32_t>(MonotonicClock::NowMs());
}

CDXLog& Trace()
{
    return CDXLog::Get();
}

HRESULT CollectMode(LPDDSURFACEDESC2 desc, LPVOID context)
{
    auto* modes = static_cast<std::vector<CDXVideoMode>*>(context);
    modes->push_back(CDXVideoMode{int(desc->dwWidth), int(desc->dwHeight),
                                  int(desc->ddpfPixelFormat.dwRGBBitCount)});
    return DDENUMRET_OK;
}

BOOL CollectDriver(GUID* guid, LPSTR description, LPSTR name, LPVOID context, HMONITOR monitor)
{
    auto* drivers = static_cast<std::vector<CDXDriver>*>(context);
    IDirectDraw* directDraw = nullptr;
    if (FAILED(DirectDrawCreate(guid, &directDraw, nullptr)))
        return DDENUMRET_OK;
    CDXDriver driver;
    driver.halCaps.dwSize = sizeof(DDCAPS);
    driver.helCaps.dwSize = sizeof(DDCAPS);
    HRESULT caps = directDraw->GetCaps(&driver.halCaps, &driver.helCaps);
    directDraw->Release();
    if (FAILED(caps))
        return DDENUMRET_OK;
    driver.primary = guid == nullptr;
    if (guid)
        driver.guid = *guid;
    driver.name = name ? name : "";
    driver.description = description ? description : "";
    driver.monitor = monitor;
    drivers->push_back(driver);
    return DDENUMRET_OK;
}

// The window's client area in screen coordinates: SDL's display.
RECT ClientRect(int width, int height)
{
    if (SDL_Surface* video = SDL_GetVideoSurface())
        return RECT{0, 0, video->w, video->h};
    return RECT{0, 0, width, height};
}

} // namespace

CDXScreen::CDXScreen()
{
    Trace().Log("START: CDXScreen::CDXScreen()");
    InitCDXScreen();
    Trace().Log("END: CDXScreen::CDXScreen()");
}

void CDXScreen::InitCDXScreen()
{
    Trace().Log("START: CDXScreen::InitCDXScreen");
    Trace().Log("Initialize member vars");
    m_VideoMemory = 1;
    m_LastFlipTime = TimeMs();
    Trace().Log("CDX_DDVER: 0x%X (%i)", unsigned(kDirectDrawVersion), int(kDirectDrawVersion));
    Trace().Log("DIRECTDRAW_VERSION: 0x%X (i)", unsigned(kDirectDrawVersion));
    Trace().Log("Attempting a DirectDrawCreateEx");
    if (FAILED(DirectDrawCreateEx(nullptr, reinterpret_cast<void**>(&m_DD), IID_IDirectDraw7,
                                  nullptr))) {
        m_DD = nullptr;
        Trace().Log("Failed to create an IID_IDirectDraw7 Interface!");
    }
    EnumDrivers();
    if (m_DD)
        EnumVideoModes();
    Trace().Log("END: CDXScreen::InitCDXScreen");
}

CDXScreen::~CDXScreen()
{
    Trace().Log("START: CDXScreen::~CDXScreen");
    Trace().Log("Modes Ptr: %i", int(m_Modes.size()));
    if (m_DD)
        m_DD->SetCooperativeLevel(m_Window, DDSCL_NORMAL);
    m_Modes.clear();
    Trace().Log("Drivers Ptr: %i", int(m_Drivers.size()));
    m_Drivers.clear();
    Trace().Log("Restore Display");
    if (m_DD)
        m_DD->RestoreDisplayMode();
    Trace().Log("Freeing all surfaces");
    m_Surfaces.clear();
    DeleteBuffers();
    Trace().Log("Start releasing objects");
    Trace().Log("Release zBuffer");
    if (m_ZBuffer)
        m_ZBuffer->Release();
    Trace().Log("Release clipper");
    if (m_Clipper)
        m_Clipper->Release();
    Trace().Log("Release Palette");
    if (m_Palette)
        m_Palette->Release();
    Trace().Log("Release DirectDraw");
    if (m_DD)
        m_DD->Release();
    m_DD = nullptr;
    if (CDXLog::Get().GetTargets() & CDXLOG_SCREEN)
        CDXLog::Get().SetScreen(nullptr);
    Trace().Log("END: CDXScreen::~CDXScreen");
}

void CDXScreen::DeleteBuffers()
{
    // The back buffer first: in full screen it holds a reference to the flipping chain
    // that the front buffer releases last.
    Trace().Log("Delete back buffer");
    m_Back.reset();
    Trace().Log("Delete front buffer");
    m_Front.reset();
}

HRESULT CDXScreen::EnumVideoModes()
{
    Trace().Log("START: CDXScreen::EnumVideoModes");
    Trace().Log("Do some init'ing");
    Trace().Log("EnumDisplayModes");
    m_Modes.clear();
    if (!m_DD)
        return DDERR_NOTINITIALIZED;
    HRESULT result =
        m_DD->EnumDisplayModes(DDEDM_STANDARDVGAMODES, nullptr, &m_Modes, &CollectMode);
    if (FAILED(result)) {
        Trace().Log("END: CDXScreen::EnumVideoModes");
        return result;
    }
    Trace().Log("Get the number of video modes");
    for (const CDXVideoMode& mode : m_Modes)
        Trace().Log("w:%i, h:%i, bpp:%i", mode.width, mode.height, mode.bitsPerPixel);
    Trace().Log("END: CDXScreen::EnumVideoModes");
    return DD_OK;
}

HRESULT CDXScreen::EnumDrivers()
{
    Trace().Log("START: CDXScreen::EnumDrivers");
    Trace().Log("DirectDrawEnumerateEx");
    m_Drivers.clear();
    HRESULT result = DirectDrawEnumerateExA(
        &CollectDriver, &m_Drivers, DDENUM_ATTACHEDSECONDARYDEVICES | DDENUM_NONDISPLAYDEVICES);
    Trace().Log("Get the number of drivers");
    for (const CDXDriver& driver : m_Drivers)
        Trace().Log("%s", driver.description.c_str());
    Trace().Log("END: CDXScreen::EnumDrivers");
    return result;
}

void CDXScreen::SetBufferParams(int frontWidth, int frontHeight)
{
    Trace().Log("Set params for front buffer");
    Trace().Log("W: %i, H: %i", frontWidth, frontHeight);
    m_Front->Attach(m_Front->GetDDS(), frontWidth, frontHeight, this);
    Trace().Log("Get RGB Format for front buffer");
    m_Front->UpdateRGBFormat();
    Trace().Log("Set params for back buffer");
    m_Back->Attach(m_Back->GetDDS(), m_Width, m_Height, this);
    Trace().Log("Get RGB Format for back buffer");
    m_Back->UpdateRGBFormat();
    Trace().Log("Load default palette");
    // Without a palette file there is no palette: 32-bit displays need none.
    LoadPalette(m_DD, &m_Palette, nullptr);
    Trace().Log("Set palette for front surface");
    if (m_Palette)
        m_Front->GetDDS()->SetPalette(m_Palette);
}

int CDXScreen::CreateWindowed(HWND window, int width, int height)
{
    Trace().Log("START: CDXScreen::CreateWindowed(hwnd:%i, width:%i, height:%i)",
                int(reinterpret_cast<std::intptr_t>(window)), width, height);
    if (!m_DD) {
        Trace().Log("DirectDraw Interface pointer is NULL");
        return -1;
    }
    if (m_Front) {
        Trace().Log("Attempted to recreate windowed and the front buffer is not NULL");
        return -1;
    }
    Trace().Log("Set member variables");
    m_FullScreen = false;
    m_Width = width;
    m_Height = height;
    m_Window = window;
    Trace().Log("Get Device Caps");
    m_BPP = DesktopBitsPerPixel();
    int desktopWidth = 0, desktopHeight = 0;
    if (m_BPP == 0 || !DesktopSize(desktopWidth, desktopHeight))
        return -1;
    Trace().Log("Set cooperative level");
    if (FAILED(m_DD->SetCooperativeLevel(window, DDSCL_NORMAL)))
        return -2;
    Trace().Log("Create front buffer");
    m_Front = std::make_unique<CDXSurface>();
    Trace().Log("Create back buffer");
    m_Back = std::make_unique<CDXSurface>();

    Trace().Log("create front buffer surface");
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS;
    desc.ddsCaps.dwCaps = DDSCAPS_PRIMARYSURFACE | DDSCAPS_3DDEVICE;
    if (FAILED(m_DD->CreateSurface(&desc, m_Front->GetDDSAddress(), nullptr))) {
        DeleteBuffers();
        return -4;
    }
    Trace().Log("Create back buffer surface");
    desc = DDSURFACEDESC2{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT;
    desc.dwWidth = DWORD(width);
    desc.dwHeight = DWORD(height);
    desc.ddsCaps.dwCaps = m_VideoMemory == 1 ? 0x6040 : 0x2840;
    HRESULT result = m_DD->CreateSurface(&desc, m_Back->GetDDSAddress(), nullptr);
    if (FAILED(result) && m_VideoMemory == 1) {
        Trace().Log("Try creating back buffer in system ram");
        desc.ddsCaps.dwCaps = DDSCAPS_OFFSCREENPLAIN | DDSCAPS_SYSTEMMEMORY;
        result = m_DD->CreateSurface(&desc, m_Back->GetDDSAddress(), nullptr);
    }
    if (FAILED(result)) {
        DeleteBuffers();
        return -8;
    }

    int code = 0;
    Trace().Log("Create clipper object");
    if (FAILED(m_DD->CreateClipper(0, &m_Clipper, nullptr))) {
        m_Clipper = nullptr;
        code = -16;
    } else {
        Trace().Log("Set Hwnd (%i) for clipper", int(reinterpret_cast<std::intptr_t>(window)));
        if (FAILED(m_Clipper->SetHWnd(0, window)))
            code |= -32;
        Trace().Log("Assign clipper object to front surface");
        if (FAILED(m_Front->GetDDS()->SetClipper(m_Clipper)))
            code |= -64;
    }
    SetBufferParams(desktopWidth, desktopHeight);
    Trace().Log("END: CDXScreen::CreateWindowed");
    return code;
}

int CDXScreen::CreateFullScreen(HWND window, int width, int height, int bitsPerPixel,
                                int standardVGA)
{
    Trace().Log("START: CDXScreen::CreateFullScreen(hwnd:%i, width:%i, height:%i, bpp:%i, "
                "bVGA:%i)",
                int(reinterpret_cast<std::intptr_t>(window)), width, height, bitsPerPixel,
                standardVGA);
    if (!m_DD) {
        Trace().Log("DirectDraw Interface pointer is NULL");
        return -1;
    }
    if (m_Front) {
        Trace().Log("Attempted to recreate in Fullscreen and the front buffer is not NULL");
        return -1;
    }
    Trace().Log("Set member variables");
    m_FullScreen = true;
    m_Width = width;
    m_Height = height;
    m_BPP = bitsPerPixel;
    m_Window = window;
    Trace().Log("Set cooperative level");
    if (FAILED(m_DD->SetCooperativeLevel(window, 0x53)))
        return -2;
    Trace().Log("Set video mode");
    if (FAILED(m_DD->SetDisplayMode(DWORD(width), DWORD(height), DWORD(bitsPerPixel), 0,
                                    standardVGA ? DDSDM_STANDARDVGAMODE : 0)))
        return -4;
    Trace().Log("Create front buffer");
    m_Front = std::make_unique<CDXSurface>();
    Trace().Log("Create back buffer");
    m_Back = std::make_unique<CDXSurface>();

    Trace().Log("create front buffer surface");
    DDSURFACEDESC2 desc{};
    desc.dwSize = sizeof desc;
    desc.dwFlags = DDSD_CAPS | DDSD_BACKBUFFERCOUNT;
    desc.dwBackBufferCount = 1;
    desc.ddsCaps.dwCaps = m_VideoMemory ? 0x6218 : 0x2A18;
    HRESULT result = m_DD->CreateSurface(&desc, m_Front->GetDDSAddress(), nullptr);
    if (FAILED(result)) {
        if (m_VideoMemory == 1) {
            Trace().Log("create front buffer surface (in system ram)");
            desc.ddsCaps.dwCaps = 0x2A18;
            result = m_DD->CreateSurface(&desc, m_Front->GetDDSAddress(), nullptr);
            if (FAILED(result)) {
                DeleteBuffers();
                return -8;
            }
        } else {
            DeleteBuffers();
            return -16;
        }
    }
    Trace().Log("Get the attached back buffer surface");
    DDSCAPS2 caps{DDSCAPS_BACKBUFFER, 0, 0, 0};
    if (FAILED(m_Front->GetDDS()->GetAttachedSurface(&caps, m_Back->GetDDSAddress()))) {
        DeleteBuffers();
        return -32;
    }
    SetBufferParams(width, height);
    Trace().Log("END: CDXScreen::CreateFullScreen");
    return 0;
}

void CDXScreen::CountFrame()
{
    std::uint32_t now = TimeMs();
    m_AccumulatedMs += now - m_LastFlipTime;
    m_LastFlipTime = now;
    if (m_AccumulatedMs > 1000) {
        m_FPS = static_cast<std::uint32_t>(double(m_FrameCount) / m_AccumulatedMs * 1000.0);
        m_FrameCount = 0;
        m_AccumulatedMs = 0;
    }
    ++m_FrameCount;
}

HRESULT CDXScreen::Flip(int vsync, int stretch, int showFrameRate)
{
    Trace().LogVerbose("START: CDXScreen::Flip");
    if (!m_Front || !m_Back)
        return DDERR_NOTINITIALIZED;
    CountFrame();
    if (showFrameRate) {
        char text[32];
        std::snprintf(text, sizeof text, "FPS = %d", int(m_FPS));
        m_Back->TextXY(10, 20, 0xFFF0, text);
    }
    HRESULT result;
    if (m_FullScreen) {
        Trace().LogVerbose("do a fullscreen flip");
        result = m_Front->GetDDS()->Flip(nullptr, vsync == 1 ? DDFLIP_WAIT : DDFLIP_NOVSYNC);
    } else {
        Trace().LogVerbose("windowed mode flip");
        RECT client = ClientRect(m_Width, m_Height);
        if (vsync == 1) {
            Trace().LogVerbose("START: CDXScreen::WaitForVerticalBlank");
            m_DD->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
        }
        RECT source{0, 0, client.right - client.left, client.bottom - client.top};
        result = m_Front->GetDDS()->Blt(&client, m_Back->GetDDS(), stretch ? nullptr : &source,
                                        DDBLT_WAIT, nullptr);
    }
    if (result == DDERR_SURFACELOST)
        result = Restore();
    Trace().LogVerbose("END: CDXScreen::Flip");
    return result;
}

HRESULT CDXScreen::PresentRects(const std::vector<SDL_Rect>& rects, int vsync)
{
    if (!m_Front || !m_Back)
        return DDERR_NOTINITIALIZED;
    const RECT client = ClientRect(m_Width, m_Height);
    if (m_FullScreen || client.right - client.left != m_Width ||
        client.bottom - client.top != m_Height)
        return Flip(vsync, 1, 0);
    if (rects.empty())
        return DD_OK;
    CountFrame();
    if (vsync == 1)
        m_DD->WaitForVerticalBlank(DDWAITVB_BLOCKBEGIN, nullptr);
    HRESULT result = DD_OK;
    {
        // One update of the window for all of them.
        ddrawx::PresentBatch batch;
        for (const SDL_Rect& r : rects) {
            RECT source{r.x, r.y, r.x + r.w, r.y + r.h};
            RECT target{client.left + r.x, client.top + r.y, client.left + r.x + r.w,
                        client.top + r.y + r.h};
            result =
                m_Front->GetDDS()->Blt(&target, m_Back->GetDDS(), &source, DDBLT_WAIT, nullptr);
            if (FAILED(result))
                break;
        }
    }
    if (result == DDERR_SURFACELOST)
        result = Restore();
    return result;
}

HRESULT CDXScreen::Restore()
{
    Trace().Log("START: CDXScreen::Restore");
    HRESULT result = DD_OK;
    if (m_Front && m_Front->GetDDS()->IsLost() == DDERR_SURFACELOST) {
        m_Restored = true;
        result = m_Front->GetDDS()->Restore();
    }
    if (!m_FullScreen && m_Back && m_Back->GetDDS()->IsLost() == DDERR_SURFACELOST) {
        m_Restored = true;
        result = m_Back->GetDDS()->Restore();
    }
    Trace().Log("END: CDXScreen::Restore");
    return result;
}

void CDXScreen::AddSurface(CDXSurface* surface)
{
    m_Surfaces.push_back(surface);
}

void CDXScreen::ReleaseSurface(CDXSurface* surface)
{
    if (surface != m_Front.get() && surface != m_Back.get())
        m_Surfaces.remove(surface);
}
