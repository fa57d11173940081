#pragma once
// A DirectDraw surface over an SDL surface (see ddraw.h for what it promises).
#include "ddraw/ComObject.h"
#include "ddraw/Display.h"
#include "ddraw/ddraw.h"

struct SDL_Surface;

namespace ddrawx {

class DirectDraw;

class Surface : public ComObject<IDirectDrawSurface7>
{
public:
    // An off-screen surface, texture or back buffer owning `pixels` (an SDL software
    // surface; taken over). The owner is referenced for the surface's life.
    Surface(DirectDraw* owner, DWORD caps, SDL_Surface* pixels);
    // The primary surface: SDL's video surface. `mode` is the display mode it is made for;
    // a flipping primary (fullscreen) also gets `backBuffer`, which it holds.
    Surface(DirectDraw* owner, DWORD caps, const DisplayMode& mode, Surface* backBuffer);

    HRESULT QueryInterface(REFIID iid, void** object) override;
    HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) override;
    HRESULT Unlock(LPRECT rect) override;
    HRESULT Blt(LPRECT dst, IDirectDrawSurface7* src, LPRECT srcRect, DWORD flags,
                LPDDBLTFX fx) override;
    HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* src, LPRECT srcRect,
                    DWORD flags) override;
    HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) override;
    HRESULT GetAttachedSurface(LPDDSCAPS2 caps, IDirectDrawSurface7** surface) override;
    HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 desc) override;
    HRESULT IsLost() override;
    HRESULT Restore() override;
    HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) override;
    HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) override;
    HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) override;
    HRESULT GetDC(HDC* dc) override;
    HRESULT ReleaseDC(HDC dc) override;

    // For the rest of the layer.
    DWORD Caps() const { return m_Caps; }
    bool IsPrimary() const { return (m_Caps & DDSCAPS_PRIMARYSURFACE) != 0; }
    bool InSystemMemory() const { return (m_Caps & DDSCAPS_SYSTEMMEMORY) != 0; }
    bool IsLocked() const { return m_Locked; }
    // The source colour key set by SetColorKey (DDCKEY_SRCBLT), when there is one.
    bool GetSourceKey(DDCOLORKEY& key) const
    {
        key = m_SrcKey;
        return m_HasSrcKey;
    }
    DirectDraw* Owner() const { return m_Owner; }
    // The pixels now (SDL's video surface for the primary); null when there are none.
    SDL_Surface* Pixels() const;
    // DD_OK when the surface can be used, else why not (DDERR_SURFACELOST).
    HRESULT CheckUsable();
    void MarkLost() { m_Lost = true; }
    // The layer's surface behind an interface pointer, or null when it is not one of ours.
    static Surface* From(IDirectDrawSurface7* surface);
    Surface*& NextOrphan() { return m_NextOrphan; }
    // Whether the display mode `now` is still the one this primary surface was made for:
    // the same size and depth for a flipping chain, the same depth for a window's primary.
    bool ModeMatches(const DisplayMode& now) const;

private:
    ~Surface() override;
    // The flipping chain this back buffer belonged to is gone: free the pixels, leave the
    // chain and the owner, and wait in the orphan list for the last Release.
    void Orphan();
    // After writing into the primary: show the rectangle on SDL's display (at the end of
    // the open present batch, if any).
    void Present(const RECT& rect);
    HRESULT CheckRect(const RECT* given, RECT& out) const;
    // The destination rectangle of a blit: inside the surface, or clipped to it when a
    // clipper is attached (then `from` shrinks in proportion). False when nothing is left.
    HRESULT ClipBlit(RECT& to, RECT& from, bool& empty) const;
    HRESULT SourceKey(Surface* source, DWORD flags, const DDBLTFX* fx, const DDCOLORKEY*& key);

    DirectDraw* m_Owner;
    DWORD m_Caps;
    SDL_Surface* m_Pixels = nullptr;
    DisplayMode m_Mode;
    Surface* m_BackBuffer = nullptr;
    Surface* m_ChainRoot = nullptr;
    IDirectDrawClipper* m_Clipper = nullptr;
    DDCOLORKEY m_SrcKey = {0, 0};
    bool m_HasSrcKey = false;
    bool m_Lost = false;
    bool m_Locked = false;
    RECT m_LockRect = {0, 0, 0, 0};
    SDL_Surface* m_LockedPixels = nullptr;
    bool m_Orphaned = false;
    Surface* m_NextOrphan = nullptr;
};

} // namespace ddrawx
