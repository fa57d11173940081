#include "ddraw/Device.h"

#include "ddraw/Direct3D.h"
#include "ddraw/FaultInjector.h"
#include "ddraw/QuadRasterizer.h"
#include "ddraw/Rasterizer.h"
#include "ddraw/Surface.h"
#include "ddraw/SurfaceFormat.h"

#include <SDL.h>

#include <algorithm>
#include <cstring>

namespace ddrawx {

namespace {

constexpr DWORD kZFuncLessEqual = 4;
constexpr DWORD kAlphaFuncAlways = 8;
constexpr DWORD kDDBD32 = 0x00000100; // render depth: 32 bits

// Where each part of a vertex lies in the caller's vertex format.
struct VertexLayout
{
    size_t stride = 16;
    int diffuse = -1;
    int texCoords = 0;
    size_t texOffset = 16;
};

bool ReadLayout(DWORD fvf, VertexLayout& layout)
{
    const DWORD allowed = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_SPECULAR | D3DFVF_TEXCOUNT_MASK;
    if ((fvf & 0x00E) != D3DFVF_XYZRHW || (fvf & ~allowed))
        return false;
    layout.texCoords = int((fvf & D3DFVF_TEXCOUNT_MASK) >> D3DFVF_TEXCOUNT_SHIFT);
    if (layout.texCoords > kMaxTexCoordSets)
        return false;
    size_t offset = 16;
    if (fvf & D3DFVF_DIFFUSE) {
        layout.diffuse = int(offset);
        offset += 4;
    }
    if (fvf & D3DFVF_SPECULAR)
        offset += 4;
    layout.texOffset = offset;
    layout.stride = offset + 8 * size_t(layout.texCoords);
    return true;
}

RasterVertex ReadVertex(const BYTE* data, const VertexLayout& layout)
{
    float position[4];
    std::memcpy(position, data, sizeof(position));
    RasterVertex v{};
    v.x = position[0];
    v.y = position[1];
    v.rhw = position[3];
    DWORD diffuse = 0xFFFFFFFFu;
    if (layout.diffuse >= 0)
        std::memcpy(&diffuse, data + layout.diffuse, 4);
    v.diffuse = Rgba{int((diffuse >> 16) & 0xFF), int((diffuse >> 8) & 0xFF), int(diffuse & 0xFF),
                     int(diffuse >> 24)};
    for (int set = 0; set < layout.texCoords; ++set) {
        std::memcpy(&v.u[set], data + layout.texOffset + 8 * set, 4);
        std::memcpy(&v.v[set], data + layout.texOffset + 8 * set + 4, 4);
    }
    return v;
}

bool ArgumentSupported(DWORD arg)
{
    const DWORD select = arg & D3DTA_SELECTMASK;
    const DWORD modifiers = arg & ~D3DTA_SELECTMASK;
    return select <= D3DTA_TFACTOR && (modifiers & ~(D3DTA_COMPLEMENT | D3DTA_ALPHAREPLICATE)) == 0;
}

bool OperationSupported(DWORD op)
{
    return op == D3DTOP_SELECTARG1 || op == D3DTOP_SELECTARG2 || op == D3DTOP_MODULATE;
}

PixelBuffer BufferOf(SDL_Surface* pixels)
{
    PixelBuffer buffer;
    buffer.pixels = static_cast<std::uint32_t*>(pixels->pixels);
    buffer.pitch = pixels->pitch / 4;
    buffer.width = pixels->w;
    buffer.height = pixels->h;
    buffer.hasAlpha = pixels->format->Amask != 0;
    return buffer;
}

} // namespace

Device::Device(Direct3D* direct3D, REFCLSID deviceClass, Surface* target)
    : m_Direct3D(direct3D), m_Class(deviceClass), m_Target(target)
{
    m_Direct3D->AddRef();
    m_Target->AddRef();
    const SDL_Surface* pixels = m_Target->Pixels();
    m_Viewport = D3DVIEWPORT7{0, 0, DWORD(pixels->w), DWORD(pixels->h), 0.0f, 1.0f};
    SetDefaultStates();
}

Device::~Device()
{
    for (Surface* texture : m_Textures)
        if (texture)
            texture->Release();
    m_Target->Release();
    m_Direct3D->Release();
}

void Device::SetDefaultStates()
{
    DWORD* rs = m_RenderStates;
    rs[D3DRENDERSTATE_TEXTUREPERSPECTIVE] = TRUE;
    rs[D3DRENDERSTATE_ZENABLE] = FALSE;
    rs[D3DRENDERSTATE_FILLMODE] = D3DFILL_SOLID;
    rs[D3DRENDERSTATE_SHADEMODE] = D3DSHADE_GOURAUD;
    rs[D3DRENDERSTATE_ZWRITEENABLE] = TRUE;
    rs[D3DRENDERSTATE_SRCBLEND] = D3DBLEND_ONE;
    rs[D3DRENDERSTATE_DESTBLEND] = D3DBLEND_ZERO;
    rs[D3DRENDERSTATE_CULLMODE] = D3DCULL_CCW;
    rs[D3DRENDERSTATE_ZFUNC] = kZFuncLessEqual;
    rs[D3DRENDERSTATE_ALPHAFUNC] = kAlphaFuncAlways;
    rs[D3DRENDERSTATE_TEXTUREFACTOR] = 0xFFFFFFFFu;
    rs[D3DRENDERSTATE_LIGHTING] = TRUE;
    for (DWORD s = 0; s < D3DMAXTEXTURESTAGES; ++s) {
        DWORD* st = m_StageStates[s];
        st[D3DTSS_COLOROP] = s == 0 ? D3DTOP_MODULATE : D3DTOP_DISABLE;
        st[D3DTSS_ALPHAOP] = s == 0 ? D3DTOP_SELECTARG1 : D3DTOP_DISABLE;
        st[D3DTSS_COLORARG1] = st[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
        st[D3DTSS_COLORARG2] = st[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
        st[D3DTSS_TEXCOORDINDEX] = s;
        st[D3DTSS_ADDRESS] = st[D3DTSS_ADDRESSU] = st[D3DTSS_ADDRESSV] = D3DTADDRESS_WRAP;
        st[D3DTSS_MAGFILTER] = D3DTFG_POINT;
        st[D3DTSS_MINFILTER] = D3DTFN_POINT;
        st[D3DTSS_MIPFILTER] = D3DTFP_NONE;
    }
}

DirectDraw* Device::Owner() const
{
    return m_Direct3D->Owner();
}

HRESULT Device::QueryInterface(REFIID iid, void** object)
{
    return QueryOwn(iid, object, {&IID_IDirect3DDevice7});
}

HRESULT Device::GetCaps(LPD3DDEVICEDESC7 desc)
{
    if (!desc)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("GetCaps");
    *desc = D3DDEVICEDESC7{};
    desc->dwDevCaps = D3DDEVCAPS_TLVERTEXSYSTEMMEMORY | D3DDEVCAPS_TEXTURESYSTEMMEMORY |
                      D3DDEVCAPS_DRAWPRIMTLVERTEX;
    D3DPRIMCAPS& tri = desc->dpcTriCaps;
    tri.dwSize = sizeof(D3DPRIMCAPS);
    tri.dwSrcBlendCaps = tri.dwDestBlendCaps = D3DPBLENDCAPS_SRCALPHA | D3DPBLENDCAPS_INVSRCALPHA;
    tri.dwTextureCaps = D3DPTEXTURECAPS_ALPHA | D3DPTEXTURECAPS_NONPOW2CONDITIONAL;
    tri.dwTextureFilterCaps = D3DPTFILTERCAPS_NEAREST | D3DPTFILTERCAPS_LINEAR;
    desc->dwDeviceRenderBitDepth = kDDBD32;
    desc->dwMinTextureWidth = desc->dwMinTextureHeight = 1;
    desc->dwMaxTextureWidth = desc->dwMaxTextureHeight = 2048;
    desc->wMaxTextureBlendStages = desc->wMaxSimultaneousTextures = D3DMAXTEXTURESTAGES;
    desc->deviceGUID = m_Class;
    return D3D_OK;
}

HRESULT Device::BeginScene()
{
    DDRAWX_INJECT("BeginScene");
    if (m_InScene)
        return D3DERR_SCENE_IN_SCENE;
    HRESULT hr = m_Target->CheckUsable();
    if (FAILED(hr))
        return hr;
    m_InScene = true;
    return D3D_OK;
}

HRESULT Device::EndScene()
{
    DDRAWX_INJECT("EndScene");
    if (!m_InScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    m_InScene = false;
    return D3D_OK;
}

HRESULT Device::TargetPixels(PixelBuffer& out) const
{
    HRESULT hr = m_Target->CheckUsable();
    if (FAILED(hr))
        return hr;
    if (m_Target->IsLocked())
        return DDERR_SURFACEBUSY;
    out = BufferOf(m_Target->Pixels());
    return D3D_OK;
}

HRESULT Device::Clear(DWORD count, LPD3DRECT rects, DWORD flags, D3DCOLOR color, D3DVALUE z,
                      DWORD stencil)
{
    DDRAWX_INJECT("Clear");
    if ((flags & (D3DCLEAR_ZBUFFER | D3DCLEAR_STENCIL)) || (count && !rects))
        return DDERR_INVALIDPARAMS; // no depth or stencil buffer to clear
    PixelBuffer target;
    HRESULT hr = TargetPixels(target);
    if (FAILED(hr) || !(flags & D3DCLEAR_TARGET))
        return hr;
    const std::uint32_t value = target.hasAlpha ? color : (color & 0x00FFFFFFu);
    const D3DRECT whole{LONG(m_Viewport.dwX), LONG(m_Viewport.dwY),
                        LONG(m_Viewport.dwX + m_Viewport.dwWidth),
                        LONG(m_Viewport.dwY + m_Viewport.dwHeight)};
    for (DWORD i = 0; i < std::max<DWORD>(count, 1); ++i) {
        const D3DRECT r = count ? rects[i] : whole;
        const LONG x1 = std::max(r.x1, whole.x1), y1 = std::max(r.y1, whole.y1);
        const LONG x2 = std::min(r.x2, whole.x2), y2 = std::min(r.y2, whole.y2);
        for (LONG y = y1; y < y2; ++y)
            std::fill(target.pixels + y * target.pitch + x1, target.pixels + y * target.pitch + x2,
                      value);
    }
    return D3D_OK;
}

HRESULT Device::SetViewport(LPD3DVIEWPORT7 viewport)
{
    if (!viewport)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("SetViewport");
    const SDL_Surface* pixels = m_Target->Pixels();
    const D3DVIEWPORT7& v = *viewport;
    if (!pixels || v.dwWidth == 0 || v.dwHeight == 0 || v.dwX > DWORD(pixels->w) ||
        v.dwY > DWORD(pixels->h) || v.dwWidth > DWORD(pixels->w) - v.dwX ||
        v.dwHeight > DWORD(pixels->h) - v.dwY ||
        !(v.dvMinZ >= 0.0f && v.dvMinZ <= v.dvMaxZ && v.dvMaxZ <= 1.0f))
        return DDERR_INVALIDPARAMS;
    m_Viewport = v;
    return D3D_OK;
}

HRESULT Device::GetViewport(LPD3DVIEWPORT7 viewport)
{
    if (!viewport)
        return DDERR_INVALIDPARAMS;
    *viewport = m_Viewport;
    return D3D_OK;
}

HRESULT Device::SetRenderState(D3DRENDERSTATETYPE state, DWORD value)
{
    if (state <= 0 || state >= D3DRENDERSTATE_STATECOUNT)
        return DDERR_INVALIDPARAMS;
    m_RenderStates[state] = value;
    return D3D_OK;
}

HRESULT Device::GetRenderState(D3DRENDERSTATETYPE state, LPDWORD value)
{
    if (state <= 0 || state >= D3DRENDERSTATE_STATECOUNT || !value)
        return DDERR_INVALIDPARAMS;
    *value = m_RenderStates[state];
    return D3D_OK;
}

HRESULT Device::SetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, DWORD value)
{
    if (stage >= D3DMAXTEXTURESTAGES || state <= 0 || state >= D3DTSS_STATECOUNT)
        return DDERR_INVALIDPARAMS;
    m_StageStates[stage][state] = value;
    if (state == D3DTSS_ADDRESS)
        m_StageStates[stage][D3DTSS_ADDRESSU] = m_StageStates[stage][D3DTSS_ADDRESSV] = value;
    return D3D_OK;
}

HRESULT Device::GetTextureStageState(DWORD stage, D3DTEXTURESTAGESTATETYPE state, LPDWORD value)
{
    if (stage >= D3DMAXTEXTURESTAGES || state <= 0 || state >= D3DTSS_STATECOUNT || !value)
        return DDERR_INVALIDPARAMS;
    *value = m_StageStates[stage][state];
    return D3D_OK;
}

HRESULT Device::SetTexture(DWORD stage, LPDIRECTDRAWSURFACE7 texture)
{
    if (stage >= D3DMAXTEXTURESTAGES)
        return DDERR_INVALIDPARAMS;
    DDRAWX_INJECT("SetTexture");
    Surface* surface = nullptr;
    if (texture) {
        surface = Surface::From(texture);
        if (!surface || !(surface->Caps() & DDSCAPS_TEXTURE) || !surface->Pixels())
            return DDERR_INVALIDPARAMS;
        if (!IsDeviceFormat(surface->Pixels()->format))
            return DDERR_INVALIDPIXELFORMAT;
        surface->AddRef();
    }
    if (m_Textures[stage])
        m_Textures[stage]->Release();
    m_Textures[stage] = surface;
    return D3D_OK;
}

HRESULT Device::BuildStage(DWORD index, RasterStage& out, bool& ends) const
{
    const DWORD* st = m_StageStates[index];
    Surface* texture = m_Textures[index];
    ends = st[D3DTSS_COLOROP] == D3DTOP_DISABLE || !texture;
    if (ends)
        return D3D_OK;
    const DWORD alphaOp = st[D3DTSS_ALPHAOP];
    if (!OperationSupported(st[D3DTSS_COLOROP]) ||
        (alphaOp != D3DTOP_DISABLE && !OperationSupported(alphaOp)))
        return DDERR_UNSUPPORTED;
    for (DWORD arg :
         {st[D3DTSS_COLORARG1], st[D3DTSS_COLORARG2], st[D3DTSS_ALPHAARG1], st[D3DTSS_ALPHAARG2]})
        if (!ArgumentSupported(arg))
            return DDERR_UNSUPPORTED;
    for (DWORD mode : {st[D3DTSS_ADDRESSU], st[D3DTSS_ADDRESSV]})
        if (mode < D3DTADDRESS_WRAP || mode > D3DTADDRESS_BORDER)
            return DDERR_UNSUPPORTED;
    for (DWORD filter : {st[D3DTSS_MAGFILTER], st[D3DTSS_MINFILTER]})
        if (filter != D3DTFG_POINT && filter != D3DTFG_LINEAR)
            return DDERR_UNSUPPORTED;
    const DWORD set = st[D3DTSS_TEXCOORDINDEX] & 0xFFFF;
    if (set >= DWORD(kMaxTexCoordSets))
        return DDERR_INVALIDPARAMS;
    HRESULT hr = texture->CheckUsable();
    if (FAILED(hr))
        return hr;
    if (texture->IsLocked())
        return DDERR_SURFACEBUSY;
    out = RasterStage{
        st[D3DTSS_COLOROP],         st[D3DTSS_COLORARG1], st[D3DTSS_COLORARG2], alphaOp,
        st[D3DTSS_ALPHAARG1],       st[D3DTSS_ALPHAARG2], st[D3DTSS_ADDRESSU],  st[D3DTSS_ADDRESSV],
        st[D3DTSS_BORDERCOLOR],     st[D3DTSS_MAGFILTER], st[D3DTSS_MINFILTER], int(set),
        BufferOf(texture->Pixels())};
    DDCOLORKEY key;
    if (m_RenderStates[D3DRENDERSTATE_COLORKEYENABLE] && texture->GetSourceKey(key)) {
        // Keys are compared with the texel each pixel samples, so only point sampling.
        if (st[D3DTSS_MAGFILTER] != D3DTFG_POINT || st[D3DTSS_MINFILTER] != D3DTFN_POINT)
            return DDERR_UNSUPPORTED;
        out.keyed = true;
        out.keyRgb = key.dwColorSpaceLowValue & 0xFFFFFFu;
    }
    return D3D_OK;
}

HRESULT Device::BuildState(RasterState& state) const
{
    const DWORD* rs = m_RenderStates;
    if (rs[D3DRENDERSTATE_FILLMODE] != D3DFILL_SOLID || rs[D3DRENDERSTATE_ALPHATESTENABLE] ||
        rs[D3DRENDERSTATE_FOGENABLE] || rs[D3DRENDERSTATE_SPECULARENABLE])
        return DDERR_UNSUPPORTED;
    const DWORD src = rs[D3DRENDERSTATE_SRCBLEND], dst = rs[D3DRENDERSTATE_DESTBLEND];
    const DWORD cull = rs[D3DRENDERSTATE_CULLMODE];
    if (src < D3DBLEND_ZERO || src > D3DBLEND_INVDESTCOLOR || dst < D3DBLEND_ZERO ||
        dst > D3DBLEND_INVDESTCOLOR || cull < D3DCULL_NONE || cull > D3DCULL_CCW)
        return DDERR_UNSUPPORTED;
    HRESULT hr = TargetPixels(state.target);
    if (FAILED(hr))
        return hr;
    state.left = int(m_Viewport.dwX);
    state.top = int(m_Viewport.dwY);
    state.right = int(m_Viewport.dwX + m_Viewport.dwWidth);
    state.bottom = int(m_Viewport.dwY + m_Viewport.dwHeight);
    state.blend = rs[D3DRENDERSTATE_ALPHABLENDENABLE] != 0;
    state.srcBlend = src;
    state.destBlend = dst;
    state.cull = cull;
    state.textureFactor = rs[D3DRENDERSTATE_TEXTUREFACTOR];
    state.stageCount = 0;
    state.keyed = false;
    for (DWORD s = 0; s < D3DMAXTEXTURESTAGES; ++s) {
        bool ends = false;
        if (FAILED(hr = BuildStage(s, state.stages[s], ends)))
            return hr;
        if (ends)
            break;
        state.stageCount = int(s) + 1;
        state.keyed = state.keyed || state.stages[s].keyed;
    }
    return D3D_OK;
}

HRESULT Device::DrawPrimitive(D3DPRIMITIVETYPE type, DWORD vertexFormat, LPVOID vertices,
                              DWORD vertexCount, DWORD flags)
{
    DDRAWX_INJECT("DrawPrimitive");
    if (!m_InScene)
        return D3DERR_SCENE_NOT_IN_SCENE;
    if (type != D3DPT_TRIANGLELIST && type != D3DPT_TRIANGLESTRIP && type != D3DPT_TRIANGLEFAN)
        return DDERR_UNSUPPORTED;
    VertexLayout layout;
    if (!vertices || !ReadLayout(vertexFormat, layout))
        return DDERR_INVALIDPARAMS;
    RasterState state;
    HRESULT hr = BuildState(state);
    if (FAILED(hr))
        return hr;
    std::vector<RasterVertex>& v = m_Scratch.vertices;
    v.resize(vertexCount);
    for (DWORD i = 0; i < vertexCount; ++i)
        v[i] = ReadVertex(static_cast<const BYTE*>(vertices) + i * layout.stride, layout);
    // A lone screen-aligned quad, the commonest draw, has a faster path of the same result.
    if (type == D3DPT_TRIANGLESTRIP && vertexCount == 4 && !Rasterizer::ReferenceOnly() &&
        QuadRasterizer(state, m_Scratch).DrawStrip(v.data()))
        return D3D_OK;
    Rasterizer rasterizer(state, m_Scratch);
    if (type == D3DPT_TRIANGLELIST) {
        for (DWORD i = 0; i + 2 < vertexCount; i += 3)
            rasterizer.DrawTriangle(v[i], v[i + 1], v[i + 2]);
    } else if (type == D3DPT_TRIANGLESTRIP) {
        // Odd triangles swap their first two vertices so every triangle keeps the strip's
        // winding (which matters for culling).
        for (DWORD i = 0; i + 2 < vertexCount; ++i) {
            if (i % 2 == 0)
                rasterizer.DrawTriangle(v[i], v[i + 1], v[i + 2]);
            else
                rasterizer.DrawTriangle(v[i + 1], v[i], v[i + 2]);
        }
    } else {
        for (DWORD i = 1; i + 1 < vertexCount; ++i)
            rasterizer.DrawTriangle(v[0], v[i], v[i + 1]);
    }
    return D3D_OK;
}

} // namespace ddrawx
