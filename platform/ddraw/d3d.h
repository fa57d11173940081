#pragma once
// The Direct3D 7 interface of this platform: one software device that rasterises
// pre-transformed, pre-lit triangles into a 32-bit DirectDraw surface.
//
// What the device promises:
// - Device classes: IID_IDirect3DHALDevice, IID_IDirect3DMMXDevice and
//   IID_IDirect3DRGBDevice all make the same software device.
// - Render targets and textures are 32-bit surfaces with red, green and blue in bits
//   16-23, 8-15 and 0-7 (alpha, when present, in 24-31).
// - Vertices: D3DFVF_XYZRHW with optional D3DFVF_DIFFUSE and D3DFVF_SPECULAR and up to
//   eight 2-D texture coordinate sets (stage 0 reads set 0). A missing diffuse colour is
//   opaque white. Specular colour, fog and depth are not used: there is no depth buffer.
// - Primitives: triangle lists, strips and fans.
// - Rasterisation: pixel centres lie at integer coordinates; a pixel is drawn when its centre
//   lies inside the triangle, and a centre on an edge belongs to a top or left edge only,
//   so triangles sharing an edge never draw a pixel twice. Positions are snapped to 1/256
//   pixel. Everything is clipped to the viewport. Texture coordinates are interpolated
//   perspective-correctly (through rhw), colours linearly.
// - Texturing: u = 0..1 spans the texture's width. Point sampling takes the texel
//   floor(u × width); linear filtering blends the four texels around u × width − 0.5.
//   Address modes wrap, mirror, clamp and border. A stage without a texture ends the stage
//   cascade (for stage 0: the diffuse colour and alpha go straight to blending).
// - Colour arithmetic works on 8-bit channels. A channel multiplied by a factor x in
//   0..255 is scaled by x / 256 and truncated, except that 255 is exactly 1 (and 0 is 0):
//   with s(x) = x for x < 255 and s(255) = 256, MODULATE gives (a × s(b)) >> 8 and alpha
//   blending with SRCALPHA/INVSRCALPHA gives dst + (((src − dst) × s(a)) >> 8) (arithmetic
//   shift). These are the rules of the software blits the SDL backend draws with, so both
//   backends give the same pixels.
// - Colour keys: while D3DRENDERSTATE_COLORKEYENABLE is TRUE, a texture with a source
//   colour key (IDirectDrawSurface7::SetColorKey, DDCKEY_SRCBLT) leaves out the pixels
//   whose sampled texel has the key's red, green and blue: they are not drawn at all, with
//   blending on or off. The border colour is never keyed. Keyed textures are point-sampled
//   only: a linear filter on one fails the draw with DDERR_UNSUPPORTED.
// - Targets without an alpha channel keep 0 in their top byte.
// - Drawing needs an open scene (BeginScene); a lost target or texture fails with
//   DDERR_SURFACELOST; a state the device cannot honour fails the draw with
//   DDERR_UNSUPPORTED rather than drawing something else.
#include "ddraw/ddraw.h"

typedef float D3DVALUE;
typedef DWORD D3DCOLOR;

// Result codes of Direct3D.
constexpr HRESULT D3D_OK = DD_OK;
constexpr HRESULT D3DERR_INVALID_DEVICE = MAKE_DDHRESULT(705);
constexpr HRESULT D3DERR_INITFAILED = MAKE_DDHRESULT(706);
constexpr HRESULT D3DERR_SCENE_IN_SCENE = MAKE_DDHRESULT(900);
constexpr HRESULT D3DERR_SCENE_NOT_IN_SCENE = MAKE_DDHRESULT(901);
constexpr HRESULT D3DERR_SCENE_BEGIN_FAILED = MAKE_DDHRESULT(902);
constexpr HRESULT D3DERR_SCENE_END_FAILED = MAKE_DDHRESULT(903);

extern const IID IID_IDirect3D7;
extern const IID IID_IDirect3DDevice7;
extern const CLSID IID_IDirect3DHALDevice;
extern const CLSID IID_IDirect3DMMXDevice;
extern const CLSID IID_IDirect3DRGBDevice;

// Vertex formats.
constexpr DWORD D3DFVF_XYZ = 0x002;
constexpr DWORD D3DFVF_XYZRHW = 0x004;
constexpr DWORD D3DFVF_NORMAL = 0x010;
constexpr DWORD D3DFVF_DIFFUSE = 0x040;
constexpr DWORD D3DFVF_SPECULAR = 0x080;
constexpr DWORD D3DFVF_TEXCOUNT_MASK = 0xF00;
constexpr DWORD D3DFVF_TEXCOUNT_SHIFT = 8;
constexpr DWORD D3DFVF_TEX0 = 0x000;
constexpr DWORD D3DFVF_TEX1 = 0x100;
constexpr DWORD D3DFVF_TLVERTEX = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEX1;

// A transformed, lit vertex: screen position (pixels), depth, reciprocal of w, colours and
// one texture coordinate pair. The layout of D3DFVF_TLVERTEX.
struct D3DTLVERTEX
{
    D3DVALUE sx;
    D3DVALUE sy;
    D3DVALUE sz;
    D3DVALUE rhw;
    D3DCOLOR color;
    D3DCOLOR specular;
    D3DVALUE tu;
    D3DVALUE tv;
};
typedef D3DTLVERTEX* LPD3DTLVERTEX;

enum D3DPRIMITIVETYPE {
    D3DPT_POINTLIST = 1,
    D3DPT_LINELIST = 2,
    D3DPT_LINESTRIP = 3,
    D3DPT_TRIANGLELIST = 4,
    D3DPT_TRIANGLESTRIP = 5,
    D3DPT_TRIANGLEFAN = 6,
};

// Render states the device keeps. Those marked * change what is drawn; the others are
// kept and answered but have no effect on this device's pictures.
enum D3DRENDERSTATETYPE {
    D3DRENDERSTATE_TEXTUREPERSPECTIVE = 4,
    D3DRENDERSTATE_ZENABLE = 7,
    D3DRENDERSTATE_FILLMODE = 8, // * only D3DFILL_SOLID can be drawn
    D3DRENDERSTATE_SHADEMODE = 9,
    D3DRENDERSTATE_ZWRITEENABLE = 14,
    D3DRENDERSTATE_ALPHATESTENABLE = 15, // * only FALSE can be drawn
    D3DRENDERSTATE_SRCBLEND = 19,        // *
    D3DRENDERSTATE_DESTBLEND = 20,       // *
    D3DRENDERSTATE_CULLMODE = 22,        // *
    D3DRENDERSTATE_ZFUNC = 23,
    D3DRENDERSTATE_ALPHAREF = 24,
    D3DRENDERSTATE_ALPHAFUNC = 25,
    D3DRENDERSTATE_DITHERENABLE = 26,
    D3DRENDERSTATE_ALPHABLENDENABLE = 27, // *
    D3DRENDERSTATE_FOGENABLE = 28,        // * only FALSE can be drawn
    D3DRENDERSTATE_SPECULARENABLE = 29,   // * only FALSE can be drawn
    D3DRENDERSTATE_COLORKEYENABLE = 41,   // * texture colour keys (above)
    D3DRENDERSTATE_TEXTUREFACTOR = 60,    // * the D3DTA_TFACTOR colour
    D3DRENDERSTATE_LIGHTING = 137,
    D3DRENDERSTATE_STATECOUNT = 256,
};

enum D3DFILLMODE { D3DFILL_POINT = 1, D3DFILL_WIREFRAME = 2, D3DFILL_SOLID = 3 };
enum D3DSHADEMODE { D3DSHADE_FLAT = 1, D3DSHADE_GOURAUD = 2 };
// Which winding is culled: D3DCULL_CW culls triangles whose vertices run clockwise on the
// screen (y down), D3DCULL_CCW (the default) counter-clockwise ones.
enum D3DCULL { D3DCULL_NONE = 1, D3DCULL_CW = 2, D3DCULL_CCW = 3 };
enum D3DBLEND {
    D3DBLEND_ZERO = 1,
    D3DBLEND_ONE = 2,
    D3DBLEND_SRCCOLOR = 3,
    D3DBLEND_INVSRCCOLOR = 4,
    D3DBLEND_SRCALPHA = 5,
    D3DBLEND_INVSRCALPHA = 6,
    D3DBLEND_DESTALPHA = 7,
    D3DBLEND_INVDESTALPHA = 8,
    D3DBLEND_DESTCOLOR = 9,
    D3DBLEND_INVDESTCOLOR = 10,
};

enum D3DTEXTURESTAGESTATETYPE {
    D3DTSS_COLOROP = 1,
    D3DTSS_COLORARG1 = 2,
    D3DTSS_COLORARG2 = 3,
    D3DTSS_ALPHAOP = 4,
    D3DTSS_ALPHAARG1 = 5,
    D3DTSS_ALPHAARG2 = 6,
    D3DTSS_TEXCOORDINDEX = 11,
    D3DTSS_ADDRESS = 12, // sets both ADDRESSU and ADDRESSV
    D3DTSS_ADDRESSU = 13,
    D3DTSS_ADDRESSV = 14,
    D3DTSS_BORDERCOLOR = 15,
    D3DTSS_MAGFILTER = 16,
    D3DTSS_MINFILTER = 17,
    D3DTSS_MIPFILTER = 18, // kept; textures have one level
    D3DTSS_STATECOUNT = 25,
};
constexpr DWORD D3DMAXTEXTURESTAGES = 8;

// Stage operations the device can draw; any other value fails the draw.
enum D3DTEXTUREOP {
    D3DTOP_DISABLE = 1,
    D3DTOP_SELECTARG1 = 2,
    D3DTOP_SELECTARG2 = 3,
    D3DTOP_MODULATE = 4,
};

// Stage arguments, optionally combined with a modifier.
constexpr DWORD D3DTA_SELECTMASK = 0x0000000F;
constexpr DWORD D3DTA_DIFFUSE = 0x00000000;
constexpr DWORD D3DTA_CURRENT = 0x00000001;
constexpr DWORD D3DTA_TEXTURE = 0x00000002;
constexpr DWORD D3DTA_TFACTOR = 0x00000003;
constexpr DWORD D3DTA_SPECULAR = 0x00000004;
constexpr DWORD D3DTA_COMPLEMENT = 0x00000010;
constexpr DWORD D3DTA_ALPHAREPLICATE = 0x00000020;

enum D3DTEXTUREADDRESS {
    D3DTADDRESS_WRAP = 1,
    D3DTADDRESS_MIRROR = 2,
    D3DTADDRESS_CLAMP = 3,
    D3DTADDRESS_BORDER = 4,
};
enum D3DTEXTUREMAGFILTER { D3DTFG_POINT = 1, D3DTFG_LINEAR = 2 };
enum D3DTEXTUREMINFILTER { D3DTFN_POINT = 1, D3DTFN_LINEAR = 2 };
enum D3DTEXTUREMIPFILTER { D3DTFP_NONE = 1, D3DTFP_POINT = 2, D3DTFP_LINEAR = 3 };

// Clear.
constexpr DWORD D3DCLEAR_TARGET = 0x00000001;
constexpr DWORD D3DCLEAR_ZBUFFER = 0x00000002;
constexpr DWORD D3DCLEAR_STENCIL = 0x00000004;

struct D3DRECT
{
    LONG x1;
    LONG y1;
    LONG x2;
    LONG y2;
};
typedef D3DRECT* LPD3DRECT;

// The part of the render target that is drawn and cleared, in pixels, with its depth range.
struct D3DVIEWPORT7
{
    DWORD dwX;
    DWORD dwY;
    DWORD dwWidth;
    DWORD dwHeight;
    D3DVALUE dvMinZ;
    D3DVALUE dvMaxZ;
};
typedef D3DVIEWPORT7* LPD3DVIEWPORT7;

// Device capabilities (the members this device fills).
constexpr DWORD D3DDEVCAPS_TLVERTEXSYSTEMMEMORY = 0x00000040;
constexpr DWORD D3DDEVCAPS_TEXTURESYSTEMMEMORY = 0x00000100;
constexpr DWORD D3DDEVCAPS_DRAWPRIMTLVERTEX = 0x00000400;
constexpr DWORD D3DPTEXTURECAPS_ALPHA = 0x00000004;
constexpr DWORD D3DPTEXTURECAPS_NONPOW2CONDITIONAL = 0x00000100;
constexpr DWORD D3DPTFILTERCAPS_NEAREST = 0x00000001;
constexpr DWORD D3DPTFILTERCAPS_LINEAR = 0x00000002;
constexpr DWORD D3DPBLENDCAPS_SRCALPHA = 0x00000010;
constexpr DWORD D3DPBLENDCAPS_INVSRCALPHA = 0x00000020;

struct D3DPRIMCAPS
{
    DWORD dwSize;
    DWORD dwMiscCaps;
    DWORD dwRasterCaps;
    DWORD dwZCmpCaps;
    DWORD dwSrcBlendCaps;
    DWORD dwDestBlendCaps;
    DWORD dwAlphaCmpCaps;
    DWORD dwShadeCaps;
    DWORD dwTextureCaps;
    DWORD dwTextureFilterCaps;
    DWORD dwTextureBlendCaps;
    DWORD dwTextureAddressCaps;
    DWORD dwStippleWidth;
    DWORD dwStippleHeight;
};

struct D3DDEVICEDESC7
{
    DWORD dwDevCaps;
    D3DPRIMCAPS dpcLineCaps;
    D3DPRIMCAPS dpcTriCaps;
    DWORD dwDeviceRenderBitDepth;
    DWORD dwDeviceZBufferBitDepth;
    DWORD dwMinTextureWidth;
    DWORD dwMinTextureHeight;
    DWORD dwMaxTextureWidth;
    DWORD dwMaxTextureHeight;
    WORD wMaxTextureBlendStages;
    WORD wMaxSimultaneousTextures;
    GUID deviceGUID;
};
typedef D3DDEVICEDESC7* LPD3DDEVICEDESC7;

struct IDirect3DDevice7 : IUnknown
{
    virtual HRESULT GetCaps(LPD3DDEVICEDESC7 desc) = 0;
    virtual HRESULT BeginScene() = 0;
    virtual HRESULT EndScene() = 0;
    // Fills the given rectangles (all of them clipped to the viewport), or the whole
    // viewport when count is 0, with the colour. Only D3DCLEAR_TARGET can be cleared.
    virtual HRESULT Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                          DWORD stencil) = 0;
    // The viewport must lie inside the render target.
    virtual HRESULT SetViewport(LPD3DVIEWPORT7 viewport) = 0;
    virtual HRESULT GetViewport(LPD3DVIEWPORT7 viewport) = 0;
    virtual HRESULT SetRenderState(D3DRENDERSTATETYPE state, DWORD value) = 0;
    virtual HRESULT GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value) = 0;
    virtual HRESULT SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                         DWORD value) = 0;
    virtual HRESULT GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state,
                                         LPDWORD value) = 0;
    // Binds a texture surface (DDSCAPS_TEXTURE) to a stage, or none with null. The device
    // holds a reference while it is bound.
    virtual HRESULT SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture) = 0;
    virtual HRESULT DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                                  DWORD vertexCount, DWORD flags) = 0;

protected:
    ~IDirect3DDevice7() = default;
};
typedef IDirect3DDevice7* LPDIRECT3DDEVICE7;

// Got from a DirectDraw object with QueryInterface (IID_IDirect3D7).
struct IDirect3D7 : IUnknown
{
    // Makes a device that draws into target, which must be a 32-bit surface made with
    // DDSCAPS_3DDEVICE. The device holds a reference to the target.
    virtual HRESULT CreateDevice(REFCLSID deviceClass, LPDIRECTDRAWSURFACE7 target,
                                 LPDIRECT3DDEVICE7* device) = 0;

protected:
    ~IDirect3D7() = default;
};
typedef IDirect3D7* LPDIRECT3D7;
