#include "display/D3DImageRenderer.h"

#include "display/D3DCheck.h"
#include "display/DisplayBackendD3D.h"
#include "display/DividedTexture.h"
#include "display/Image.h"
#include "display/SurfaceManager.h"
#include "geometry/Rect.h"

#include <algorithm>
#include <cmath>
#include <memory>

namespace {

D3DTLVERTEX Vertex(float x, float y, D3DCOLOR color, float u, float v)
{
    return D3DTLVERTEX{x, y, 0.0f, 1.0f, color, 0, u, v};
}

} // namespace

D3DImageRenderer::~D3DImageRenderer()
{
    if (m_InScene && Device())
        Device()->EndScene();
    m_InScene = false;
}

IDirect3DDevice7* D3DImageRenderer::Device() const
{
    return m_Backend->GetDevice();
}

void D3DImageRenderer::BeginScene()
{
    HRESULT result = Device()->BeginScene();
    if (result == DDERR_SURFACELOST) {
        m_Backend->HandleDisplayModeChange();
        D3D_CHECK(Device()->BeginScene(),
                  "Post surface-lost call to IDirect3DDevice::BeginScene failed");
    } else {
        D3D_CHECK(result, "IDirect3DDevice7::BeginScene failed");
    }
    m_InScene = true;
    IDirect3DDevice7* device = Device();
    D3D_CHECK(device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, TRUE),
              "IDirect3DDevice7::SetRenderState failed");
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_LIGHTING, FALSE);
    device->SetTextureStageState(0, D3DTSS_MINFILTER, D3DTFN_POINT);
    device->SetTextureStageState(0, D3DTSS_MAGFILTER, D3DTFG_POINT);
    device->SetTextureStageState(0, D3DTSS_MIPFILTER, D3DTFP_NONE);
    device->SetTextureStageState(0, D3DTSS_ADDRESSU, D3DTADDRESS_CLAMP);
    device->SetTextureStageState(0, D3DTSS_ADDRESSV, D3DTADDRESS_CLAMP);
    device->SetRenderState(D3DRENDERSTATE_DITHERENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_SPECULARENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_ZWRITEENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_ZENABLE, FALSE);
    device->SetRenderState(D3DRENDERSTATE_CULLMODE, D3DCULL_NONE);
}

void D3DImageRenderer::EndScene()
{
    if (!m_InScene)
        return;
    m_InScene = false;
    D3D_CHECK(Device()->EndScene(), "IDirect3DDevice7::EndScene failed");
}

void D3DImageRenderer::SetShaderState(ShaderType shader)
{
    if (shader < SHADERTYPE_COPY || shader > SHADERTYPE_BLENDCOMBINEDALPHA)
        return;
    IDirect3DDevice7* device = Device();
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, shader != SHADERTYPE_COPY);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_TEXTURE);
    switch (shader) {
    case SHADERTYPE_BLENDCONSTANTALPHA:
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        break;
    case SHADERTYPE_BLENDCOMBINEDALPHA:
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_ALPHAARG2, D3DTA_DIFFUSE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_MODULATE);
        break;
    default: // copy and pixel alpha
        device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
        device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        break;
    }
}

void D3DImageRenderer::SetColorState(int alpha)
{
    IDirect3DDevice7* device = Device();
    device->SetRenderState(D3DRENDERSTATE_ALPHABLENDENABLE, alpha != 255);
    device->SetRenderState(D3DRENDERSTATE_SRCBLEND, D3DBLEND_SRCALPHA);
    device->SetRenderState(D3DRENDERSTATE_DESTBLEND, D3DBLEND_INVSRCALPHA);
    device->SetTextureStageState(0, D3DTSS_COLORARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAARG1, D3DTA_DIFFUSE);
    device->SetTextureStageState(0, D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
}

void D3DImageRenderer::DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst,
                                 const SDL_Rect* src, int alpha, double, std::uint32_t)
{
    MAKO_ASSERT(dst != 0);
    if (m_ClipEmpty)
        return;
    if (!m_InScene)
        BeginScene();
    DividedTexture* texture = nullptr;
    std::unique_ptr<DividedTexture> temporary; // for images outside the surface manager
    if (SurfaceNode* node = image->GetSurfaceNode()) {
        if (!node->GetD3DSurface())
            SurfaceManager::GetInstance().Node_RefreshSurfaceType(node, SURFACETYPE_D3D,
                                                                  SURFACETYPE_SDL);
        if (D3DSurface* surface = node->GetD3DSurface())
            texture = dynamic_cast<DividedTexture*>(surface->GetTexture());
    } else if (SDL_Surface* pixels = image->GetSDLSurface()) {
        temporary.reset(m_Backend->CreateDividedTexture(pixels));
        texture = temporary.get();
    }
    if (!texture)
        return;
    // The texture follows the image's colour key, which may have changed since it was made.
    if (SDL_Surface* pixels = image->GetSDLSurface())
        texture->SetColorKey((pixels->flags & SDL_SRCCOLORKEY) != 0, pixels->format->colorkey);
    const SDL_Rect whole = MakeRect(0, 0, texture->GetWidth(), texture->GetHeight());
    DrawDividedTexture(texture, shader, *dst, src ? *src : whole, alpha);
}

void D3DImageRenderer::DrawDividedTexture(DividedTexture* texture, ShaderType shader,
                                          const SDL_Rect& dst, const SDL_Rect& src, int alpha)
{
    if (src.w == 0 || src.h == 0)
        return;
    SetShaderState(shader);
    IDirect3DDevice7* device = Device();
    // Keyed pixels are left out under every shader, as the software renderer leaves them.
    device->SetRenderState(D3DRENDERSTATE_COLORKEYENABLE, texture->IsKeyed());
    const bool diffuseAlpha =
        shader == SHADERTYPE_BLENDCONSTANTALPHA || shader == SHADERTYPE_BLENDCOMBINEDALPHA;
    const D3DCOLOR color =
        diffuseAlpha ? (static_cast<D3DCOLOR>(alpha & 0xFF) << 24) | 0xFFFFFFu : 0xFFFFFFFFu;
    const float sx = float(dst.w) / float(src.w);
    const float sy = float(dst.h) / float(src.h);
    // The part of src the clip can show, with a margin of more than a pixel on each side:
    // tiles outside it are passed over before the exact test below.
    SDL_Rect seen = src;
    if (m_Clipped && sx > 0.01f && sy > 0.01f) {
        const int mx = 2 + int(std::ceil(1.0f / sx)), my = 2 + int(std::ceil(1.0f / sy));
        const int left = src.x + int(std::floor(float(m_ClipRect.x - dst.x) / sx)) - mx;
        const int top = src.y + int(std::floor(float(m_ClipRect.y - dst.y) / sy)) - my;
        const int right =
            src.x + int(std::ceil(float(m_ClipRect.x + m_ClipRect.w - dst.x) / sx)) + mx;
        const int bottom =
            src.y + int(std::ceil(float(m_ClipRect.y + m_ClipRect.h - dst.y) / sy)) + my;
        // Tiles lie within 16-bit coordinates: so does the range once cut to them.
        const auto cut = [](int v) { return std::clamp(v, -16000, 16000); };
        seen = MakeRect(cut(left), cut(top), std::max(0, cut(right) - cut(left)),
                        std::max(0, cut(bottom) - cut(top)));
    }
    for (const DividedTextureTile& tile : texture->GetTiles()) {
        if (!RectsOverlap(tile.rect, seen))
            continue;
        const int left = std::max<int>(tile.rect.x, src.x);
        const int top = std::max<int>(tile.rect.y, src.y);
        const int right = std::min<int>(tile.rect.x + tile.rect.w, src.x + src.w);
        const int bottom = std::min<int>(tile.rect.y + tile.rect.h, src.y + src.h);
        const int w = right - left, h = bottom - top;
        if (w <= 0 || h <= 0 || w > tile.textureWidth || h > tile.textureHeight)
            continue;
        const float x0 = float(left - src.x) * sx + float(dst.x) - 0.1f;
        const float y0 = float(top - src.y) * sy + float(dst.y) - 0.1f;
        const float x1 = x0 + float(w) * sx, y1 = y0 + float(h) * sy;
        // A tile wholly outside the clip would light no pixel: its call is saved.
        if (m_Clipped &&
            (x1 < float(m_ClipRect.x) || y1 < float(m_ClipRect.y) ||
             x0 > float(m_ClipRect.x + m_ClipRect.w) || y0 > float(m_ClipRect.y + m_ClipRect.h)))
            continue;
        const float uL = float(left - tile.rect.x) / float(tile.textureWidth);
        const float tT = float(top - tile.rect.y) / float(tile.textureHeight);
        const float uR = float(left - tile.rect.x + w) / float(tile.textureWidth);
        const float tB = float(top - tile.rect.y + h) / float(tile.textureHeight);
        D3DTLVERTEX vertices[4] = {Vertex(x0, y0, color, uL, tT), Vertex(x0, y1, color, uL, tB),
                                   Vertex(x1, y0, color, uR, tT), Vertex(x1, y1, color, uR, tB)};
        D3D_CHECK(device->SetTexture(0, tile.texture), "IDirect3DDevice7::SetTexture failed");
        D3D_CHECK(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, vertices, 4, 0),
                  "IDirect3DDevice7::DrawPrimitive failed");
    }
    D3D_CHECK(device->SetTexture(0, nullptr), "IDirect3DDevice7::SetTexture failed");
}

void D3DImageRenderer::DrawRect(const SDL_Rect* rect, const Color& color, bool filled)
{
    if (color.a == 0 || m_ClipEmpty)
        return;
    if (!m_InScene)
        BeginScene();
    SetColorState(color.a);
    if (!filled)
        return; // outlines are lines, which this renderer does not draw
    IDirect3DDevice7* device = Device();
    D3D_CHECK(device->SetTexture(0, nullptr), "IDirect3DDevice7::SetTexture failed");
    const D3DCOLOR c = D3DCOLOR(color.a) << 24 | D3DCOLOR(color.r) << 16 | D3DCOLOR(color.g) << 8 |
                       D3DCOLOR(color.b);
    const float x = float(rect->x) - 0.1f, y = float(rect->y) - 0.1f;
    const float r = float(rect->x + rect->w) - 0.1f, b = float(rect->y + rect->h) - 0.1f;
    D3DTLVERTEX vertices[4] = {Vertex(x, y, c, 0, 0), Vertex(x, b, c, 0, 0), Vertex(r, y, c, 0, 0),
                               Vertex(r, b, c, 0, 0)};
    D3D_CHECK(device->DrawPrimitive(D3DPT_TRIANGLESTRIP, D3DFVF_TLVERTEX, vertices, 4, 0),
              "IDirect3DDevice7::DrawPrimitive failed");
}

void D3DImageRenderer::SetClipRect(const SDL_Rect* rect)
{
    m_ClipEmpty = false;
    if (!rect && !m_Clipped)
        return;
    IDirect3DDevice7* device = Device();
    if (device && !m_Clipped)
        D3D_CHECK(device->GetViewport(&m_FullViewport), "IDirect3DDevice7::GetViewport failed");
    m_Clipped = rect != nullptr;
    if (rect)
        m_Asked = *rect;
    if (device)
        ApplyClip();
}

void D3DImageRenderer::OnNewDevice()
{
    m_InScene = false;
    IDirect3DDevice7* device = Device();
    if (!device || !m_Clipped)
        return;
    D3D_CHECK(device->GetViewport(&m_FullViewport), "IDirect3DDevice7::GetViewport failed");
    ApplyClip();
}

void D3DImageRenderer::ApplyClip()
{
    D3DVIEWPORT7 viewport = m_FullViewport;
    m_ClipEmpty = false;
    if (m_Clipped) {
        const SDL_Rect full = MakeRect(int(m_FullViewport.dwX), int(m_FullViewport.dwY),
                                       int(m_FullViewport.dwWidth), int(m_FullViewport.dwHeight));
        m_ClipRect = IntersectRects(m_Asked, full);
        // A viewport cannot be empty: drawing stops instead.
        m_ClipEmpty = m_ClipRect.w == 0;
        if (!m_ClipEmpty)
            viewport =
                D3DVIEWPORT7{DWORD(m_ClipRect.x), DWORD(m_ClipRect.y),   DWORD(m_ClipRect.w),
                             DWORD(m_ClipRect.h), m_FullViewport.dvMinZ, m_FullViewport.dvMaxZ};
    }
    D3D_CHECK(Device()->SetViewport(&viewport), "IDirect3DDevice7::SetViewport failed");
}
