#include "ddraw/Surface.h"

#include "ddraw/Blitter.h"
#include "ddraw/DirectDraw.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/PresentBatch.h"
#include "ddraw/SurfaceFormat.h"

#include <SDL.h>

#include <algorithm>

namespace ddrawx {

namespace {

constexpr DWORD kBltFlags =
    DDBLT_COLORFILL | DDBLT_KEYSRC | DDBLT_KEYSRCOVERRIDE | DDBLT_WAIT | DDBLT_DONOTWAIT;
constexpr DWORD kBltFastFlags = DDBLTFAST_SRCCOLORKEY | DDBLTFAST_WAIT | DDBLTFAST_DONOTWAIT;

RECT WholeOf(const SDL_Surface* pixels)
{
    return pixels ? RECT{0, 0, pixels->w, pixels->h} : RECT{0, 0, 0, 0};
}

bool IsEmpty(const RECT& r)
{
    return r.right <= r.left || r.bottom <= r.top;
}

bool Inside(const RECT& r, const SDL_Surface* pixels)
{
    return r.left >= 0 && r.top >= 0 && r.right <= pixels->w && r.bottom <= pixels->h;
}

} // namespace

Surface::Surface(DirectDraw* owner, DWORD caps, SDL_Surface* pixels)
    : m_Owner(owner), m_Caps(caps), m_Pixels(pixels)
{
    m_Owner->AddRef();
    Display::Get().AddSurface(this);
}

Surface::Surface(DirectDraw* owner, DWORD caps, const DisplayMode& mode, Surface* backBuffer)
    : m_Owner(owner), m_Caps(caps), m_Mode(mode), m_BackBuffer(backBuffer)
{
    m_Owner->AddRef();
    if (m_BackBuffer)
        m_BackBuffer->m_ChainRoot = this;
    Display::Get().AddSurface(this);
}

Surface::~Surface()
{
    if (m_Locked && m_LockedPixels)
        SDL_UnlockSurface(m_LockedPixels);
    if (m_Clipper)
        m_Clipper->Release();
    if (m_BackBuffer) {
        // The chain's back buffer dies with it, even when a caller still holds it.
        if (m_BackBuffer->RefCount() > 1)
            m_BackBuffer->Orphan();
        else
            m_BackBuffer->m_ChainRoot = nullptr;
        m_BackBuffer->Release();
    }
    if (m_Orphaned)
        Display::Get().RemoveOrphan(this);
    Display::Get().RemoveSurface(this);
    if (m_Pixels)
        SDL_FreeSurface(m_Pixels);
    if (m_Owner) {
        if (IsPrimary())
            m_Owner->PrimaryGone(this);
        m_Owner->Release();
    }
}

void Surface::Orphan()
{
    if (m_Locked && m_LockedPixels)
        SDL_UnlockSurface(m_LockedPixels);
    m_Locked = false;
    if (m_Pixels)
        SDL_FreeSurface(m_Pixels);
    m_Pixels = nullptr;
    m_Orphaned = true;
    m_Lost = true;
    m_ChainRoot = nullptr;
    Display::Get().RemoveSurface(this);
    Display::Get().AddOrphan(this);
    m_Owner->Release();
    m_Owner = nullptr;
}

Surface* Surface::From(IDirectDrawSurface7* surface)
{
    return dynamic_cast<Surface*>(surface);
}

HRESULT Surface::QueryInterface(REFIID iid, void** object)
{
    return QueryOwn(iid, object, {&IID_IDirectDrawSurface7});
}

SDL_Surface* Surface::Pixels() const
{
    return IsPrimary() ? Display::VideoSurface() : m_Pixels;
}

bool Surface::ModeMatches(const DisplayMode& now) const
{
    if (!IsPrimary() || !m_Mode.valid)
        return true;
    if (m_Caps & DDSCAPS_FLIP)
        return Display::SameMode(now, m_Mode);
    return now.valid && now.bitsPerPixel == m_Mode.bitsPerPixel;
}

HRESULT Surface::CheckUsable()
{
    if (m_Orphaned)
        return DDERR_SURFACELOST;
    if (m_ChainRoot)
        m_ChainRoot->CheckUsable(); // a changed mode loses the whole chain
    if (IsPrimary()) {
        const DisplayMode now = Display::CurrentMode();
        if (!m_Mode.valid && !(m_Caps & DDSCAPS_FLIP))
            m_Mode = now; // a window's primary takes the first display it sees
        if (!ModeMatches(now)) {
            m_Lost = true;
            if (m_BackBuffer)
                m_BackBuffer->m_Lost = true;
        }
        if (!now.valid)
            return DDERR_SURFACELOST;
    }
    return m_Lost ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::CheckRect(const RECT* given, RECT& out) const
{
    const SDL_Surface* pixels = Pixels();
    out = given ? *given : WholeOf(pixels);
    if (!pixels || IsEmpty(out) || !Inside(out, pixels))
        return DDERR_INVALIDRECT;
    return DD_OK;
}

void Surface::Present(const RECT& rect)
{
    if (!IsPrimary())
        return;
    ShowOnDisplay(rect.left, rect.top, rect.right - rect.left, rect.bottom - rect.top);
}

HRESULT Surface::Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event)
{
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("Lock");
    HRESULT hr = CheckUsable();
    if (FAILED(hr))
        return hr;
    if (m_Locked)
        return DDERR_SURFACEBUSY;
    RECT area;
    if (FAILED(hr = CheckRect(rect, area)))
        return hr;
    SDL_Surface* pixels = Pixels();
    if (SDL_LockSurface(pixels) != 0)
        return DDERR_GENERIC;
    GetSurfaceDesc(desc);
    desc->dwFlags |= DDSD_LPSURFACE;
    desc->lpSurface = static_cast<Uint8*>(pixels->pixels) + area.top * pixels->pitch +
                      area.left * pixels->format->BytesPerPixel;
    m_Locked = true;
    m_LockRect = area;
    m_LockedPixels = pixels;
    return DD_OK;
}

HRESULT Surface::Unlock(LPRECT rect)
{
    if (!m_Locked)
        return DDERR_NOTLOCKED;
    m_Locked = false;
    if (m_LockedPixels == Pixels()) {
        SDL_UnlockSurface(m_LockedPixels);
        Present(m_LockRect);
    }
    m_LockedPixels = nullptr;
    return DD_OK;
}

HRESULT Surface::ClipBlit(RECT& to, RECT& from, bool& empty) const
{
    const SDL_Surface* pixels = Pixels();
    empty = false;
    if (Inside(to, pixels))
        return DD_OK;
    if (!m_Clipper)
        return DDERR_INVALIDRECT;
    const RECT whole = WholeOf(pixels);
    RECT clipped{std::max(to.left, whole.left), std::max(to.top, whole.top),
                 std::min(to.right, whole.right), std::min(to.bottom, whole.bottom)};
    if (IsEmpty(clipped)) {
        empty = true;
        return DD_OK;
    }
    // Shrink the source in proportion (exact for unscaled blits).
    const long dw = to.right - to.left, dh = to.bottom - to.top;
    const long sw = from.right - from.left, sh = from.bottom - from.top;
    RECT source{LONG(from.left + (clipped.left - to.left) * sw / dw),
                LONG(from.top + (clipped.top - to.top) * sh / dh),
                LONG(from.left + (clipped.right - to.left) * sw / dw),
                LONG(from.top + (clipped.bottom - to.top) * sh / dh)};
    if (IsEmpty(source)) {
        empty = true;
        return DD_OK;
    }
    to = clipped;
    from = source;
    return DD_OK;
}

HRESULT Surface::SourceKey(Surface* source, DWORD flags, const DDBLTFX* fx, const DDCOLORKEY*& key)
{
    key = nullptr;
    if (flags & DDBLT_KEYSRCOVERRIDE) {
        if (!fx || fx->dwSize != sizeof(DDBLTFX))
            return DDERR_INVALIDPARAMS;
        key = &fx->ddckSrcColorkey;
    } else if (flags & DDBLT_KEYSRC) {
        if (!source->m_HasSrcKey)
            return DDERR_COLORKEYNOTSET;
        key = &source->m_SrcKey;
    }
    return DD_OK;
}

HRESULT Surface::Blt(LPRECT dst, IDirectDrawSurface7* src, LPRECT srcRect, DWORD flags,
                     LPDDBLTFX fx)
{
    DDRAWX_INJECT("Blt");
    if (flags & ~kBltFlags)
        return DDERR_UNSUPPORTED;
    HRESULT hr = CheckUsable();
    if (FAILED(hr))
        return hr;
    if (m_Locked)
        return DDERR_SURFACEBUSY;
    RECT to = dst ? *dst : WholeOf(Pixels());
    if (IsEmpty(to))
        return DDERR_INVALIDRECT;
    bool empty = false;
    if (flags & DDBLT_COLORFILL) {
        if (!fx || fx->dwSize != sizeof(DDBLTFX))
            return DDERR_INVALIDPARAMS;
        RECT unused = to;
        if (FAILED(hr = ClipBlit(to, unused, empty)) || empty)
            return hr;
        if (!FillPixels(Pixels(), to, fx->dwFillColor))
            return DDERR_GENERIC;
        Present(to);
        return DD_OK;
    }
    Surface* source = From(src);
    if (!source)
        return DDERR_INVALIDPARAMS;
    if (FAILED(hr = source->CheckUsable()))
        return hr;
    if (source->m_Locked)
        return DDERR_SURFACEBUSY;
    RECT from;
    if (FAILED(hr = source->CheckRect(srcRect, from)))
        return hr;
    const DDCOLORKEY* key = nullptr;
    if (FAILED(hr = SourceKey(source, flags, fx, key)))
        return hr;
    if (FAILED(hr = ClipBlit(to, from, empty)) || empty)
        return hr;
    if (!CopyPixels(Pixels(), to, source->Pixels(), from, key))
        return DDERR_GENERIC;
    Present(to);
    return DD_OK;
}

HRESULT Surface::BltFast(DWORD x, DWORD y, IDirectDrawSurface7* src, LPRECT srcRect, DWORD flags)
{
    if (flags & ~kBltFastFlags)
        return DDERR_UNSUPPORTED;
    HRESULT hr = CheckUsable();
    if (FAILED(hr))
        return hr;
    if (m_Clipper)
        return DDERR_BLTFASTCANTCLIP;
    Surface* source = From(src);
    if (!source)
        return DDERR_INVALIDPARAMS;
    if (FAILED(hr = source->CheckUsable()))
        return hr;
    if (m_Locked || source->m_Locked)
        return DDERR_SURFACEBUSY;
    RECT from;
    if (FAILED(hr = source->CheckRect(srcRect, from)))
        return hr;
    RECT to{LONG(x), LONG(y), LONG(x + DWORD(from.right - from.left)),
            LONG(y + DWORD(from.bottom - from.top))};
    if (x > 16384 || y > 16384 || !Inside(to, Pixels()))
        return DDERR_INVALIDRECT;
    const DDCOLORKEY* key = nullptr;
    if (flags & DDBLTFAST_SRCCOLORKEY) {
        if (!source->m_HasSrcKey)
            return DDERR_COLORKEYNOTSET;
        key = &source->m_SrcKey;
    }
    if (!CopyPixels(Pixels(), to, source->Pixels(), from, key))
        return DDERR_GENERIC;
    Present(to);
    return DD_OK;
}

HRESULT Surface::Flip(IDirectDrawSurface7* target, DWORD flags)
{
    DDRAWX_INJECT("Flip");
    if (!(m_Caps & DDSCAPS_FLIP) || !m_BackBuffer)
        return DDERR_NOTFLIPPABLE;
    if (target && From(target) != m_BackBuffer)
        return DDERR_INVALIDPARAMS;
    HRESULT hr = CheckUsable();
    if (FAILED(hr))
        return hr;
    if (m_BackBuffer->m_Lost)
        return DDERR_SURFACELOST;
    if (m_Locked || m_BackBuffer->m_Locked)
        return DDERR_SURFACEBUSY;
    // A copy, not a swap: the back buffer keeps the frame just shown, which the engine's
    // frame recorder draws the next frame over where it changed.
    SDL_Surface* video = Pixels();
    const RECT whole = WholeOf(video);
    if (!CopyPixels(video, whole, m_BackBuffer->m_Pixels, whole, nullptr))
        return DDERR_GENERIC;
    SDL_Flip(video);
    return DD_OK;
}

HRESULT Surface::GetAttachedSurface(LPDDSCAPS2 caps, IDirectDrawSurface7** surface)
{
    if (!caps || !surface)
        return DDERR_INVALIDPARAMS;
    *surface = nullptr;
    if (!m_BackBuffer || (caps->dwCaps & ~m_BackBuffer->m_Caps) != 0)
        return DDERR_NOTFOUND;
    m_BackBuffer->AddRef();
    *surface = m_BackBuffer;
    return DD_OK;
}

HRESULT Surface::GetSurfaceDesc(LPDDSURFACEDESC2 desc)
{
    if (!desc || desc->dwSize != sizeof(DDSURFACEDESC2))
        return DDERR_INVALIDPARAMS;
    if (m_Orphaned)
        return DDERR_SURFACELOST;
    *desc = DDSURFACEDESC2{};
    desc->dwSize = sizeof(DDSURFACEDESC2);
    desc->dwFlags = DDSD_CAPS | DDSD_WIDTH | DDSD_HEIGHT | DDSD_PITCH | DDSD_PIXELFORMAT;
    desc->ddsCaps.dwCaps = m_Caps;
    if (const SDL_Surface* pixels = Pixels()) {
        desc->dwWidth = DWORD(pixels->w);
        desc->dwHeight = DWORD(pixels->h);
        desc->lPitch = pixels->pitch;
        DescribeFormat(pixels->format, desc->ddpfPixelFormat);
    } else {
        HRESULT unused = DD_OK;
        SDL_Surface* model = CreatePixels(1, 1, nullptr, unused);
        if (model) {
            DescribeFormat(model->format, desc->ddpfPixelFormat);
            SDL_FreeSurface(model);
        }
    }
    if (m_BackBuffer) {
        desc->dwFlags |= DDSD_BACKBUFFERCOUNT;
        desc->dwBackBufferCount = 1;
    }
    if (m_HasSrcKey) {
        desc->dwFlags |= DDSD_CKSRCBLT;
        desc->ddckCKSrcBlt = m_SrcKey;
    }
    return DD_OK;
}

HRESULT Surface::IsLost()
{
    return CheckUsable() == DDERR_SURFACELOST ? DDERR_SURFACELOST : DD_OK;
}

HRESULT Surface::Restore()
{
    DDRAWX_INJECT("Restore");
    if (m_Orphaned)
        return DDERR_INVALIDOBJECT;
    if (m_ChainRoot)
        return m_ChainRoot->Restore();
    CheckUsable();
    if (!m_Lost)
        return DD_OK;
    Display& display = Display::Get();
    DirectDraw* owner = display.ExclusiveOwner();
    if (display.HeldByOtherProgram() || (owner && owner != m_Owner))
        return DDERR_EXCLUSIVEMODEALREADYSET;
    if (IsPrimary()) {
        const DisplayMode now = Display::CurrentMode();
        if (!now.valid || !ModeMatches(now))
            return DDERR_WRONGMODE;
    }
    m_Lost = false;
    if (m_BackBuffer)
        m_BackBuffer->m_Lost = false;
    return DD_OK;
}

HRESULT Surface::SetClipper(LPDIRECTDRAWCLIPPER clipper)
{
    if (clipper)
        clipper->AddRef();
    if (m_Clipper)
        m_Clipper->Release();
    m_Clipper = clipper;
    return DD_OK;
}

HRESULT Surface::SetPalette(LPDIRECTDRAWPALETTE palette)
{
    // The layer makes no 8-bit surfaces: only "no palette" can be set.
    return palette ? DDERR_NOTPALETTIZED : DD_OK;
}

HRESULT Surface::SetColorKey(DWORD flags, LPDDCOLORKEY key)
{
    if (flags != DDCKEY_SRCBLT)
        return DDERR_UNSUPPORTED;
    m_HasSrcKey = key != nullptr;
    if (key)
        m_SrcKey = *key;
    return DD_OK;
}

HRESULT Surface::GetDC(HDC* dc)
{
    if (dc)
        *dc = nullptr;
    return DDERR_CANTCREATEDC; // no GDI on this platform
}

HRESULT Surface::ReleaseDC(HDC dc)
{
    return DDERR_NODC;
}

} // namespace ddrawx
