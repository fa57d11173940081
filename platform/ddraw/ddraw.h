#pragma once
// The DirectDraw 7 interface of this platform: a software display over SDL 1.2.
//
// What it promises:
// - Surfaces are SDL surfaces. The primary surface is SDL's video surface (looked up at
//   each use, so it follows SDL_SetVideoMode); back buffers, off-screen surfaces and
//   textures own an SDL surface of their own.
// - Display modes are SDL video modes. The DirectDraw object needs SDL's video subsystem
//   and starts it when nobody has; it never stops it (that stays with whoever owns SDL).
// - Exclusive mode is held by one DirectDraw object at a time; a second object (standing
//   for another program) is refused with DDERR_EXCLUSIVEMODEALREADYSET.
// - Surfaces that are not in system memory are lost when the display mode changes or
//   another program takes the display (see DDrawTestHooks.h); while lost, their calls fail
//   with DDERR_SURFACELOST until Restore succeeds. Restore keeps the pixels.
// - Blits and flips finish before the call returns: the WAIT flags never wait and no call
//   answers DDERR_WASSTILLDRAWING. There is no vertical blank to wait for.
// - There is no GDI: GetDC fails with DDERR_CANTCREATEDC.
// - Structures are checked by their dwSize, which callers set to sizeof the structure.
// - One thread only.
#include "ddraw/WinTypes.h"

// ---------------------------------------------------------------------------------------
// Result codes.
#define MAKE_DDHRESULT(code) MAKE_HRESULT(1, 0x876, code)

constexpr HRESULT DD_OK = S_OK;
constexpr HRESULT DD_FALSE = S_FALSE;
constexpr HRESULT DDERR_GENERIC = E_FAIL;
constexpr HRESULT DDERR_INVALIDPARAMS = E_INVALIDARG;
constexpr HRESULT DDERR_OUTOFMEMORY = E_OUTOFMEMORY;
constexpr HRESULT DDERR_UNSUPPORTED = E_NOTIMPL;
constexpr HRESULT DDERR_NOTINITIALIZED = CO_E_NOTINITIALIZED;
constexpr HRESULT DDERR_ALREADYINITIALIZED = MAKE_DDHRESULT(5);
constexpr HRESULT DDERR_CURRENTLYNOTAVAIL = MAKE_DDHRESULT(40);
constexpr HRESULT DDERR_INVALIDCAPS = MAKE_DDHRESULT(100);
constexpr HRESULT DDERR_INVALIDMODE = MAKE_DDHRESULT(120);
constexpr HRESULT DDERR_INVALIDOBJECT = MAKE_DDHRESULT(130);
constexpr HRESULT DDERR_INVALIDPIXELFORMAT = MAKE_DDHRESULT(145);
constexpr HRESULT DDERR_INVALIDRECT = MAKE_DDHRESULT(150);
constexpr HRESULT DDERR_NOCOOPERATIVELEVELSET = MAKE_DDHRESULT(212);
constexpr HRESULT DDERR_NOEXCLUSIVEMODE = MAKE_DDHRESULT(225);
constexpr HRESULT DDERR_NOTFOUND = MAKE_DDHRESULT(255);
constexpr HRESULT DDERR_NOZBUFFERHW = MAKE_DDHRESULT(340);
constexpr HRESULT DDERR_OUTOFVIDEOMEMORY = MAKE_DDHRESULT(380);
constexpr HRESULT DDERR_COLORKEYNOTSET = MAKE_DDHRESULT(400);
constexpr HRESULT DDERR_SURFACEBUSY = MAKE_DDHRESULT(430);
constexpr HRESULT DDERR_SURFACELOST = MAKE_DDHRESULT(450);
constexpr HRESULT DDERR_TOOBIGSIZE = MAKE_DDHRESULT(480);
constexpr HRESULT DDERR_WASSTILLDRAWING = MAKE_DDHRESULT(540);
constexpr HRESULT DDERR_INVALIDDIRECTDRAWGUID = MAKE_DDHRESULT(561);
constexpr HRESULT DDERR_PRIMARYSURFACEALREADYEXISTS = MAKE_DDHRESULT(564);
constexpr HRESULT DDERR_BLTFASTCANTCLIP = MAKE_DDHRESULT(574);
constexpr HRESULT DDERR_EXCLUSIVEMODEALREADYSET = MAKE_DDHRESULT(581);
constexpr HRESULT DDERR_NOTFLIPPABLE = MAKE_DDHRESULT(582);
constexpr HRESULT DDERR_NOTLOCKED = MAKE_DDHRESULT(584);
constexpr HRESULT DDERR_CANTCREATEDC = MAKE_DDHRESULT(585);
constexpr HRESULT DDERR_NODC = MAKE_DDHRESULT(586);
constexpr HRESULT DDERR_WRONGMODE = MAKE_DDHRESULT(587);
constexpr HRESULT DDERR_NOTPALETTIZED = MAKE_DDHRESULT(589);

// ---------------------------------------------------------------------------------------
// Flags.

// DirectDrawEnumerateExA.
constexpr DWORD DDENUM_ATTACHEDSECONDARYDEVICES = 0x00000001;
constexpr DWORD DDENUM_DETACHEDSECONDARYDEVICES = 0x00000002;
constexpr DWORD DDENUM_NONDISPLAYDEVICES = 0x00000004;
constexpr BOOL DDENUMRET_CANCEL = 0;
constexpr BOOL DDENUMRET_OK = 1;

// Driver GUID stand-ins accepted by DirectDrawCreate and DirectDrawCreateEx (both mean the
// one software driver, like a null GUID).
#define DDCREATE_HARDWAREONLY ((GUID*)1)
#define DDCREATE_EMULATIONONLY ((GUID*)2)

// SetCooperativeLevel.
constexpr DWORD DDSCL_FULLSCREEN = 0x00000001;
constexpr DWORD DDSCL_ALLOWREBOOT = 0x00000002;
constexpr DWORD DDSCL_NOWINDOWCHANGES = 0x00000004;
constexpr DWORD DDSCL_NORMAL = 0x00000008;
constexpr DWORD DDSCL_EXCLUSIVE = 0x00000010;
constexpr DWORD DDSCL_ALLOWMODEX = 0x00000040;
constexpr DWORD DDSCL_MULTITHREADED = 0x00000400;
constexpr DWORD DDSCL_FPUSETUP = 0x00000800;
constexpr DWORD DDSCL_FPUPRESERVE = 0x00001000;

// EnumDisplayModes and SetDisplayMode.
constexpr DWORD DDEDM_REFRESHRATES = 0x00000001;
constexpr DWORD DDEDM_STANDARDVGAMODES = 0x00000002;
constexpr DWORD DDSDM_STANDARDVGAMODE = 0x00000001;

// DDSURFACEDESC2::dwFlags: which members are valid.
constexpr DWORD DDSD_CAPS = 0x00000001;
constexpr DWORD DDSD_HEIGHT = 0x00000002;
constexpr DWORD DDSD_WIDTH = 0x00000004;
constexpr DWORD DDSD_PITCH = 0x00000008;
constexpr DWORD DDSD_BACKBUFFERCOUNT = 0x00000020;
constexpr DWORD DDSD_LPSURFACE = 0x00000800;
constexpr DWORD DDSD_PIXELFORMAT = 0x00001000;
constexpr DWORD DDSD_CKSRCBLT = 0x00010000;
constexpr DWORD DDSD_MIPMAPCOUNT = 0x00020000;
constexpr DWORD DDSD_REFRESHRATE = 0x00040000;

// DDSCAPS2::dwCaps.
constexpr DWORD DDSCAPS_ALPHA = 0x00000002;
constexpr DWORD DDSCAPS_BACKBUFFER = 0x00000004;
constexpr DWORD DDSCAPS_COMPLEX = 0x00000008;
constexpr DWORD DDSCAPS_FLIP = 0x00000010;
constexpr DWORD DDSCAPS_FRONTBUFFER = 0x00000020;
constexpr DWORD DDSCAPS_OFFSCREENPLAIN = 0x00000040;
constexpr DWORD DDSCAPS_PALETTE = 0x00000100;
constexpr DWORD DDSCAPS_PRIMARYSURFACE = 0x00000200;
constexpr DWORD DDSCAPS_SYSTEMMEMORY = 0x00000800;
constexpr DWORD DDSCAPS_TEXTURE = 0x00001000;
constexpr DWORD DDSCAPS_3DDEVICE = 0x00002000;
constexpr DWORD DDSCAPS_VIDEOMEMORY = 0x00004000;
constexpr DWORD DDSCAPS_VISIBLE = 0x00008000;
constexpr DWORD DDSCAPS_WRITEONLY = 0x00010000;
constexpr DWORD DDSCAPS_ZBUFFER = 0x00020000;
constexpr DWORD DDSCAPS_MIPMAP = 0x00400000;
constexpr DWORD DDSCAPS_LOCALVIDMEM = 0x10000000;

// DDPIXELFORMAT::dwFlags.
constexpr DWORD DDPF_ALPHAPIXELS = 0x00000001;
constexpr DWORD DDPF_PALETTEINDEXED8 = 0x00000020;
constexpr DWORD DDPF_RGB = 0x00000040;

// Lock.
constexpr DWORD DDLOCK_SURFACEMEMORYPTR = 0x00000000;
constexpr DWORD DDLOCK_WAIT = 0x00000001;
constexpr DWORD DDLOCK_READONLY = 0x00000010;
constexpr DWORD DDLOCK_WRITEONLY = 0x00000020;
constexpr DWORD DDLOCK_NOSYSLOCK = 0x00000800;
constexpr DWORD DDLOCK_DONOTWAIT = 0x00004000;

// Blt.
constexpr DWORD DDBLT_COLORFILL = 0x00000400;
constexpr DWORD DDBLT_KEYSRC = 0x00008000;
constexpr DWORD DDBLT_KEYSRCOVERRIDE = 0x00010000;
constexpr DWORD DDBLT_WAIT = 0x01000000;
constexpr DWORD DDBLT_DONOTWAIT = 0x08000000;

// BltFast.
constexpr DWORD DDBLTFAST_NOCOLORKEY = 0x00000000;
constexpr DWORD DDBLTFAST_SRCCOLORKEY = 0x00000001;
constexpr DWORD DDBLTFAST_WAIT = 0x00000010;
constexpr DWORD DDBLTFAST_DONOTWAIT = 0x00000020;

// Flip.
constexpr DWORD DDFLIP_WAIT = 0x00000001;
constexpr DWORD DDFLIP_NOVSYNC = 0x00000008;
constexpr DWORD DDFLIP_DONOTWAIT = 0x00000020;

// WaitForVerticalBlank.
constexpr DWORD DDWAITVB_BLOCKBEGIN = 0x00000001;
constexpr DWORD DDWAITVB_BLOCKBEGINEVENT = 0x00000002;
constexpr DWORD DDWAITVB_BLOCKEND = 0x00000004;

// SetColorKey.
constexpr DWORD DDCKEY_SRCBLT = 0x00000008;

// CreatePalette.
constexpr DWORD DDPCAPS_8BIT = 0x00000004;
constexpr DWORD DDPCAPS_ALLOW256 = 0x00000040;

// DDCAPS::dwCaps.
constexpr DWORD DDCAPS_3D = 0x00000001;
constexpr DWORD DDCAPS_BLT = 0x00000040;
constexpr DWORD DDCAPS_BLTSTRETCH = 0x00000200;
constexpr DWORD DDCAPS_COLORKEY = 0x00400000;
constexpr DWORD DDCAPS_BLTCOLORFILL = 0x04000000;

// ---------------------------------------------------------------------------------------
// Structures.

struct DDSCAPS2
{
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCaps3;
    DWORD dwCaps4;
};
typedef DDSCAPS2* LPDDSCAPS2;

// A colour key. Blits skip source pixels whose colour bits equal the low value; the high
// value is not used.
struct DDCOLORKEY
{
    DWORD dwColorSpaceLowValue;
    DWORD dwColorSpaceHighValue;
};
typedef DDCOLORKEY* LPDDCOLORKEY;

struct DDPIXELFORMAT
{
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwFourCC;
    DWORD dwRGBBitCount;
    DWORD dwRBitMask;
    DWORD dwGBitMask;
    DWORD dwBBitMask;
    DWORD dwRGBAlphaBitMask;
};
typedef DDPIXELFORMAT* LPDDPIXELFORMAT;

// Describes a surface to create, a locked surface or a display mode. lPitch is the byte
// distance between rows; lpSurface is the first pixel of a locked area.
struct DDSURFACEDESC2
{
    DWORD dwSize;
    DWORD dwFlags;
    DWORD dwHeight;
    DWORD dwWidth;
    LONG lPitch;
    DWORD dwBackBufferCount;
    DWORD dwMipMapCount;
    DWORD dwAlphaBitDepth;
    DWORD dwRefreshRate;
    LPVOID lpSurface;
    DDCOLORKEY ddckCKDestOverlay;
    DDCOLORKEY ddckCKDestBlt;
    DDCOLORKEY ddckCKSrcOverlay;
    DDCOLORKEY ddckCKSrcBlt;
    DDPIXELFORMAT ddpfPixelFormat;
    DDSCAPS2 ddsCaps;
    DWORD dwTextureStage;
};
typedef DDSURFACEDESC2* LPDDSURFACEDESC2;

// Extra data of Blt: the fill colour of DDBLT_COLORFILL (in the destination's pixel format)
// and the key of DDBLT_KEYSRCOVERRIDE.
struct DDBLTFX
{
    DWORD dwSize;
    DWORD dwDDFX;
    DWORD dwROP;
    DWORD dwFillColor;
    DDCOLORKEY ddckDestColorkey;
    DDCOLORKEY ddckSrcColorkey;
};
typedef DDBLTFX* LPDDBLTFX;

// Capabilities of the driver; 380 bytes like the structure callers size it by.
struct DDCAPS
{
    DWORD dwSize;
    DWORD dwCaps;
    DWORD dwCaps2;
    DWORD dwCKeyCaps;
    DWORD dwFXCaps;
    DWORD dwPalCaps;
    DWORD dwVidMemTotal;
    DWORD dwVidMemFree;
    DDSCAPS2 ddsCaps;
    BYTE dwReserved[380 - 48];
};
typedef DDCAPS* LPDDCAPS;
static_assert(sizeof(DDCAPS) == 380, "DDCAPS keeps its documented size");

struct PALETTEENTRY
{
    BYTE peRed;
    BYTE peGreen;
    BYTE peBlue;
    BYTE peFlags;
};
typedef PALETTEENTRY* LPPALETTEENTRY;

// ---------------------------------------------------------------------------------------
// Interfaces.

extern const IID IID_IDirectDraw;
extern const IID IID_IDirectDraw7;
extern const IID IID_IDirectDrawSurface7;
extern const IID IID_IDirectDrawClipper;
extern const IID IID_IDirectDrawPalette;

// Called once per display mode; return DDENUMRET_OK to go on, DDENUMRET_CANCEL to stop.
typedef HRESULT (*LPDDENUMMODESCALLBACK2)(LPDDSURFACEDESC2 mode, LPVOID context);
// Called once per driver (this platform has one: the primary display, GUID null).
typedef BOOL (*LPDDENUMCALLBACKEXA)(GUID* guid, LPSTR description, LPSTR name, LPVOID context,
                                    HMONITOR monitor);

// A clipper limits blits to a window; on this platform that is the whole SDL display.
struct IDirectDrawClipper : IUnknown
{
    virtual HRESULT SetHWnd(DWORD flags, HWND window) = 0;

protected:
    ~IDirectDrawClipper() = default;
};
typedef IDirectDrawClipper* LPDIRECTDRAWCLIPPER;

// 256 colour entries for 8-bit surfaces.
struct IDirectDrawPalette : IUnknown
{
protected:
    ~IDirectDrawPalette() = default;
};
typedef IDirectDrawPalette* LPDIRECTDRAWPALETTE;

struct IDirectDrawSurface7 : IUnknown
{
    // Gives the surface's memory: lpSurface points at the rectangle's top-left pixel (or the
    // surface's when rect is null) and lPitch is the row distance. One lock at a time.
    virtual HRESULT Lock(LPRECT rect, LPDDSURFACEDESC2 desc, DWORD flags, HANDLE event) = 0;
    virtual HRESULT Unlock(LPRECT rect) = 0;
    // Copies source to destination rectangles (null: whole surface), stretching with the
    // nearest source pixel when their sizes differ, or fills with DDBLT_COLORFILL. Without a
    // clipper the destination rectangle must lie inside the surface.
    virtual HRESULT Blt(LPRECT dst, IDirectDrawSurface7* src, LPRECT srcRect, DWORD flags,
                        LPDDBLTFX fx) = 0;
    // An unscaled, unclipped copy to (x, y).
    virtual HRESULT BltFast(DWORD x, DWORD y, IDirectDrawSurface7* src, LPRECT srcRect,
                            DWORD flags) = 0;
    // Shows the back buffer of a flipping chain. The back buffer keeps its picture.
    virtual HRESULT Flip(IDirectDrawSurface7* target, DWORD flags) = 0;
    virtual HRESULT GetAttachedSurface(LPDDSCAPS2 caps, IDirectDrawSurface7** surface) = 0;
    virtual HRESULT GetSurfaceDesc(LPDDSURFACEDESC2 desc) = 0;
    virtual HRESULT IsLost() = 0;
    virtual HRESULT Restore() = 0;
    virtual HRESULT SetClipper(LPDIRECTDRAWCLIPPER clipper) = 0;
    virtual HRESULT SetPalette(LPDIRECTDRAWPALETTE palette) = 0;
    virtual HRESULT SetColorKey(DWORD flags, LPDDCOLORKEY key) = 0;
    virtual HRESULT GetDC(HDC* dc) = 0;
    virtual HRESULT ReleaseDC(HDC dc) = 0;

protected:
    ~IDirectDrawSurface7() = default;
};
typedef IDirectDrawSurface7* LPDIRECTDRAWSURFACE7;

// The interface DirectDrawCreate hands out: enough to ask a driver's capabilities.
struct IDirectDraw : IUnknown
{
    // Either pointer may be null; a given one must have dwSize = sizeof(DDCAPS).
    virtual HRESULT GetCaps(LPDDCAPS driverCaps, LPDDCAPS emulationCaps) = 0;

protected:
    ~IDirectDraw() = default;
};
typedef IDirectDraw* LPDIRECTDRAW;

struct IDirectDraw7 : IDirectDraw
{
    // DDSCL_NORMAL (a window) or DDSCL_FULLSCREEN | DDSCL_EXCLUSIVE (the whole display).
    virtual HRESULT SetCooperativeLevel(HWND window, DWORD flags) = 0;
    // Needs exclusive mode; every surface not in system memory is lost afterwards.
    virtual HRESULT SetDisplayMode(DWORD width, DWORD height, DWORD bitsPerPixel, DWORD refreshRate,
                                   DWORD flags) = 0;
    virtual HRESULT RestoreDisplayMode() = 0;
    virtual HRESULT EnumDisplayModes(DWORD flags, LPDDSURFACEDESC2 filter, LPVOID context,
                                     LPDDENUMMODESCALLBACK2 callback) = 0;
    virtual HRESULT CreateSurface(LPDDSURFACEDESC2 desc, LPDIRECTDRAWSURFACE7* surface,
                                  IUnknown* outer) = 0;
    virtual HRESULT CreateClipper(DWORD flags, LPDIRECTDRAWCLIPPER* clipper, IUnknown* outer) = 0;
    virtual HRESULT CreatePalette(DWORD flags, LPPALETTEENTRY entries, LPDIRECTDRAWPALETTE* palette,
                                  IUnknown* outer) = 0;
    virtual HRESULT WaitForVerticalBlank(DWORD flags, HANDLE event) = 0;
    // DD_OK while this object may draw; DDERR_EXCLUSIVEMODEALREADYSET while another program
    // holds exclusive mode; DDERR_WRONGMODE when the display mode is no longer the one this
    // object's primary surface (or its own SetDisplayMode) was made for.
    virtual HRESULT TestCooperativeLevel() = 0;

protected:
    ~IDirectDraw7() = default;
};
typedef IDirectDraw7* LPDIRECTDRAW7;

// ---------------------------------------------------------------------------------------
// Entry points.

// Makes a DirectDraw object (iid must be IID_IDirectDraw7) on the driver with that GUID
// (null for the primary display); outer must be null.
HRESULT DirectDrawCreateEx(GUID* guid, LPVOID* directDraw, REFIID iid, IUnknown* outer);
HRESULT DirectDrawCreate(GUID* guid, LPDIRECTDRAW* directDraw, IUnknown* outer);
HRESULT DirectDrawEnumerateExA(LPDDENUMCALLBACKEXA callback, LPVOID context, DWORD flags);
