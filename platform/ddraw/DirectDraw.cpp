#include "ddraw/DirectDraw.h"

#include "ddraw/Clipper.h"
#include "ddraw/Direct3D.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/Palette.h"
#include "ddraw/Surface.h"
#include "ddraw/SurfaceFormat.h"

#include <SDL.h>

#include <algorithm>
#include <tuple>
#include <vector>

namespace ddrawx {

namespace {

// Sizes offered when SDL accepts any size for a full-screen mode.
const int kStandardSizes[][2] = {{640, 480}, {800, 600}, {1024, 768}, {1280, 1024}};

std::vector<DisplayMode> ListModes()
{
    std::vector<DisplayMode> modes;
    for (int bits : {16, 32}) {
        SDL_PixelFormat format{};
        format.BitsPerPixel = static_cast<Uint8>(bits);
        format.BytesPerPixel = static_cast<Uint8>(bits / 8);
        SDL_Rect** rects = SDL_ListModes(&format, SDL_FULLSCREEN);
        if (rects == reinterpret_cast<SDL_Rect**>(-1)) {
            for (const auto& size : kStandardSizes)
                modes.push_back(DisplayMode{size[0], size[1], bits, true});
        } else if (rects) {
            for (int i = 0; rects[i]; ++i)
                modes.push_back(DisplayMode{rects[i]->w, rects[i]->h, bits, true});
        }
    }
    auto key = [](const DisplayMode& m) { return std::tie(m.width, m.height, m.bitsPerPixel); };
    std::sort(modes.begin(), modes.end(),
              [&](const DisplayMode& a, const DisplayMode& b) { return key(a) < key(b); });
    modes.erase(
        std::unique(modes.begin(), modes.end(),
                    [&](const DisplayMode& a, const DisplayMode& b) { return key(a) == key(b); }),
        modes.end());
    return modes;
}

bool MatchesFilter(const DisplayMode& mode, const DDSURFACEDESC2* filter)
{
    if (!filter)
        return true;
    if ((filter->dwFlags & DDSD_WIDTH) && filter->dwWidth != DWORD(mode.width))
        return false;
    if ((filter->dwFlags & DDSD_HEIGHT) && filter->dwHeight != DWORD(mode.height))
        return false;
    if ((filter->dwFlags & DDSD_PIXELFORMAT) &&
        filter->ddpfPixelFormat.dwRGBBitCount != DWORD(mode.bitsPerPixel))
        return false;
    return true;
}

void FillCaps(DDCAPS& caps)
{
    caps = DDCAPS{};
    caps.dwSize = sizeof(DDCAPS);
    caps.dwCaps =
        DDCAPS_3D | DDCAPS_BLT | DDCAPS_BLTSTRETCH | DDCAPS_COLORKEY | DDCAPS_BLTCOLORFILL;
    caps.ddsCaps.dwCaps = DDSCAPS_BACKBUFFER | DDSCAPS_COMPLEX | DDSCAPS_FLIP |
                          DDSCAPS_FRONTBUFFER | DDSCAPS_OFFSCREENPLAIN | DDSCAPS_PRIMARYSURFACE |
                          DDSCAPS_SYSTEMMEMORY | DDSCAPS_TEXTURE | DDSCAPS_3DDEVICE |
                          DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
}

} // namespace

DirectDraw::DirectDraw() = default;

DirectDraw::~DirectDraw()
{
    if (m_ChangedMode)
        RestoreDisplayMode();
    if (IsExclusive())
        Display::Get().SetExclusiveOwner(nullptr);
}

HRESULT DirectDraw::QueryInterface(REFIID iid, void** object)
{
    if (object && IsEqualGUID(iid, IID_IDirect3D7)) {
        *object = nullptr;
        DDRAWX_INJECT("QueryInterface");
        *object = static_cast<IDirect3D7*>(new Direct3D(this));
        return S_OK;
    }
    return QueryOwn(iid, object, {&IID_IDirectDraw, &IID_IDirectDraw7});
}

HRESULT DirectDraw::GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps)
{
    if (!driverCaps && !emulationCaps)
        return DDERR_INVALIDPARAMS;
    for (DDCAPS* caps : {driverCaps, emulationCaps})
        if (caps && caps->dwSize != sizeof(DDCAPS))
            return DDERR_INVALIDPARAMS;
    for (DDCAPS* caps : {driverCaps, emulationCaps})
        if (caps)
            FillCaps(*caps);
    return DD_OK;
}

HRESULT DirectDraw::SetCooperativeLevel(HWND window, DWORD flags)
{
    DDRAWX_INJECT("SetCooperativeLevel");
    const bool normal = (flags & DDSCL_NORMAL) != 0;
    const bool fullscreen = (flags & DDSCL_FULLSCREEN) != 0;
    const bool exclusive = (flags & DDSCL_EXCLUSIVE) != 0;
    if (normal == (fullscreen || exclusive) || fullscreen != exclusive)
        return DDERR_INVALIDPARAMS;
    Display& display = Display::Get();
    if (exclusive) {
        DirectDraw* owner = display.ExclusiveOwner();
        if ((owner && owner != this) || display.HeldByOtherProgram())
            return DDERR_EXCLUSIVEMODEALREADYSET;
        display.SetExclusiveOwner(this);
    } else if (IsExclusive()) {
        display.SetExclusiveOwner(nullptr);
    }
    m_CooperativeFlags = flags;
    m_Window = window;
    return DD_OK;
}

HRESULT DirectDraw::SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags)
{
    DDRAWX_INJECT("SetDisplayMode");
    if (!IsExclusive())
        return DDERR_NOEXCLUSIVEMODE;
    if (width == 0 || height == 0 || width > 16384 || height > 16384 ||
        (bitsPerPixel != 16 && bitsPerPixel != 24 && bitsPerPixel != 32))
        return DDERR_INVALIDMODE;
    const int w = int(width), h = int(height), bits = int(bitsPerPixel);
    if (SDL_VideoModeOK(w, h, bits, SDL_SWSURFACE | SDL_FULLSCREEN) != bits)
        return DDERR_INVALIDMODE;
    if (!m_ChangedMode) {
        m_DesktopMode = Display::CurrentMode();
        SDL_Surface* video = Display::VideoSurface();
        m_DesktopFlags = video ? video->flags : 0;
    }
    if (!SDL_SetVideoMode(w, h, bits, SDL_SWSURFACE | SDL_FULLSCREEN))
        return DDERR_GENERIC;
    Display::Get().LoseSurfaces();
    m_ChangedMode = true;
    m_SetMode = Display::CurrentMode();
    return DD_OK;
}

HRESULT DirectDraw::RestoreDisplayMode()
{
    if (!m_ChangedMode)
        return DD_OK;
    m_ChangedMode = false;
    DisplayMode now = Display::CurrentMode();
    if (!now.valid)
        return DD_OK;
    // Back to the mode before ours; when SDL had none, the same size in a window.
    SDL_Surface* video = nullptr;
    if (m_DesktopMode.valid)
        video = SDL_SetVideoMode(m_DesktopMode.width, m_DesktopMode.height,
                                 m_DesktopMode.bitsPerPixel, m_DesktopFlags);
    else
        video = SDL_SetVideoMode(now.width, now.height, now.bitsPerPixel, SDL_SWSURFACE);
    Display::Get().LoseSurfaces();
    return video ? DD_OK : DDERR_GENERIC;
}

HRESULT DirectDraw::EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback)
{
    if (!callback || (filter && filter->dwSize != sizeof(DDSURFACEDESC2)))
        return DDERR_INVALIDPARAMS;
    for (const DisplayMode& mode : ListModes()) {
        if (!MatchesFilter(mode, filter))
            continue;
        DDSURFACEDESC2 desc{};
        desc.dwSize = sizeof(desc);
        desc.dwFlags = DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
        desc.dwWidth = DWORD(mode.width);
        desc.dwHeight = DWORD(mode.height);
        desc.lPitch = mode.width * (mode.bitsPerPixel / 8);
        desc.ddpfPixelFormat.dwSize = sizeof(DDPIXELFORMAT);
        desc.ddpfPixelFormat.dwFlags = DDPF_RGB;
        desc.ddpfPixelFormat.dwRGBBitCount = DWORD(mode.bitsPerPixel);
        if (mode.bitsPerPixel == 16) {
            desc.ddpfPixelFormat.dwRBitMask = 0xF800;
            desc.ddpfPixelFormat.dwGBitMask = 0x07E0;
            desc.ddpfPixelFormat.dwBBitMask = 0x001F;
        } else {
            desc.ddpfPixelFormat.dwRBitMask = 0x00FF0000;
            desc.ddpfPixelFormat.dwGBitMask = 0x0000FF00;
            desc.ddpfPixelFormat.dwBBitMask = 0x000000FF;
        }
        if (callback(&desc, context) == DDENUMRET_CANCEL)
            break;
    }
    return DD_OK;
}

HRESULT DirectDraw::CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                  IUnknown* outer)
{
    if (!surface)
        return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2) || !(desc->dwFlags & DDSD_CAPS) || outer)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("CreateSurface");
    const DWORD caps = desc->ddsCaps.dwCaps;
    if ((caps & DDSCAPS_SYSTEMMEMORY) && (caps & DDSCAPS_VIDEOMEMORY))
        return DDERR_INVALIDCAPS;
    if (caps & DDSCAPS_ZBUFFER)
        return DDERR_NOZBUFFERHW;
    if (caps & DDSCAPS_PRIMARYSURFACE)
        return CreatePrimary(*desc, surface);
    return CreateOffscreen(*desc, surface);
}

HRESULT DirectDraw::CreatePrimary(const DDSURFACEDESC2& desc, LPDIRECTDRAWSURFACE7* surface)
{
    if (!m_CooperativeFlags)
        return DDERR_NOCOOPERATIVELEVELSET;
    if (m_Primary)
        return DDERR_PRIMARYSURFACEALREADYEXISTS;
    if (desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT | DDSD_PIXELFORMAT))
        return DDERR_INVALIDPARAMS;
    DWORD caps = desc.ddsCaps.dwCaps | DDSCAPS_VISIBLE | DDSCAPS_FRONTBUFFER;
    if (!(caps & DDSCAPS_SYSTEMMEMORY))
        caps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    const DisplayMode mode = Display::CurrentMode();
    Surface* backBuffer = nullptr;
    if (caps & DDSCAPS_FLIP) {
        if (!IsExclusive())
            return DDERR_NOEXCLUSIVEMODE;
        if (!(caps & DDSCAPS_COMPLEX) || !(desc.dwFlags & DDSD_BACKBUFFERCOUNT) ||
            desc.dwBackBufferCount != 1)
            return DDERR_INVALIDPARAMS;
        if (!mode.valid)
            return DDERR_GENERIC; // no display mode to flip in
        HRESULT error = DD_OK;
        SDL_Surface* pixels = CreatePixels(mode.width, mode.height, nullptr, error);
        if (!pixels)
            return error;
        DWORD backCaps =
            (caps & ~(DDSCAPS_PRIMARYSURFACE | DDSCAPS_VISIBLE | DDSCAPS_FRONTBUFFER)) |
            DDSCAPS_BACKBUFFER;
        backBuffer = new Surface(this, backCaps, pixels);
    }
    m_Primary = new Surface(this, caps, mode, backBuffer);
    *surface = m_Primary;
    return DD_OK;
}

HRESULT DirectDraw::CreateOffscreen(const DDSURFACEDESC2& desc, LPDIRECTDRAWSURFACE7* surface)
{
    if ((desc.dwFlags & (DDSD_WIDTH | DDSD_HEIGHT)) != (DDSD_WIDTH | DDSD_HEIGHT))
        return DDERR_INVALIDPARAMS;
    if (desc.dwWidth == 0 || desc.dwHeight == 0)
        return DDERR_INVALIDPARAMS;
    if (desc.dwWidth > 16384 || desc.dwHeight > 16384)
        return DDERR_TOOBIGSIZE;
    if (desc.ddsCaps.dwCaps & (DDSCAPS_FLIP | DDSCAPS_BACKBUFFER))
        return DDERR_INVALIDCAPS;
    HRESULT error = DD_OK;
    const DDPIXELFORMAT* format =
        (desc.dwFlags & DDSD_PIXELFORMAT) ? &desc.ddpfPixelFormat : nullptr;
    SDL_Surface* pixels = CreatePixels(int(desc.dwWidth), int(desc.dwHeight), format, error);
    if (!pixels)
        return error;
    DWORD caps = desc.ddsCaps.dwCaps;
    if (!(caps & DDSCAPS_SYSTEMMEMORY))
        caps |= DDSCAPS_VIDEOMEMORY | DDSCAPS_LOCALVIDMEM;
    Surface* made = new Surface(this, caps, pixels);
    if (desc.dwFlags & DDSD_CKSRCBLT)
        made->SetColorKey(DDCKEY_SRCBLT, const_cast<DDCOLORKEY*>(&desc.ddckCKSrcBlt));
    *surface = made;
    return DD_OK;
}

HRESULT DirectDraw::CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer)
{
    if (!clipper)
        return DDERR_INVALIDPARAMS;
    *clipper = nullptr;
    if (flags != 0 || outer)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("CreateClipper");
    *clipper = new Clipper();
    return DD_OK;
}

HRESULT DirectDraw::CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                  IUnknown* outer)
{
    if (!palette)
        return DDERR_INVALIDPARAMS;
    *palette = nullptr;
    if (!(flags & DDPCAPS_8BIT) || !entries || outer)
        return DDERR_INVALIDPARAMS;
    *palette = new Palette(entries);
    return DD_OK;
}

HRESULT DirectDraw::WaitForVerticalBlank(DWORD flags, HANDLE event)
{
    if (flags == DDWAITVB_BLOCKBEGIN || flags == DDWAITVB_BLOCKEND)
        return DD_OK; // no vertical blank to wait for
    if (flags == DDWAITVB_BLOCKBEGINEVENT)
        return DDERR_UNSUPPORTED;
    return DDERR_INVALIDPARAMS;
}

HRESULT DirectDraw::TestCooperativeLevel()
{
    DDRAWX_INJECT("TestCooperativeLevel");
    Display& display = Display::Get();
    if (display.PollOtherProgram())
        return DDERR_EXCLUSIVEMODEALREADYSET;
    DirectDraw* owner = display.ExclusiveOwner();
    if (owner && owner != this)
        return DDERR_EXCLUSIVEMODEALREADYSET;
    const DisplayMode now = Display::CurrentMode();
    if (m_ChangedMode && !Display::SameMode(now, m_SetMode))
        return DDERR_WRONGMODE;
    if (m_Primary && !m_Primary->ModeMatches(now))
        return DDERR_WRONGMODE;
    return DD_OK;
}

void DirectDraw::PrimaryGone(Surface* primary)
{
    if (m_Primary == primary)
        m_Primary = nullptr;
}

} // namespace ddrawx
