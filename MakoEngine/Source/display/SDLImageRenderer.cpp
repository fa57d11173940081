#include "display/SDLImageRenderer.h"

#include "core/Exception.h"
#include "display/Image.h"
#include "display/SoftwareBlend.h"
#include "display/SurfaceManager.h"
#include "geometry/Poly.h"

#include <SDL_gfxPrimitives.h>

#include <boost/format.hpp>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <vector>

namespace {

// SDL keeps a cached blit mapping per source surface and rebuilds it only when the alpha
// or key settings change; toggling the alpha flag forces the rebuild after the format's
// alpha mask was edited by hand.
void InvalidateBlitMap(SDL_Surface* surface)
{
    if (surface->flags & SDL_SRCALPHA)
        SDL_SetAlpha(surface, 0, 0);
    else
        SDL_SetAlpha(surface, SDL_SRCALPHA, 255);
}

// Copies src of an opaque picture onto the target at dst as SDL_BlitSurface would (src cut
// to the picture, then to the target's clip rectangle), row by row as plain memory, when
// both hold the same pixel format without alpha; false, with nothing drawn, otherwise.
// SDL's own copy writes past the cache, so the blends drawn over the copy next would read
// it back from memory.
bool CopyOpaqueRows(SDL_Surface* source, const SDL_Rect& src, SDL_Surface* target,
                    const SDL_Rect& dst)
{
    const SDL_PixelFormat* from = source->format;
    const SDL_PixelFormat* to = target->format;
    if (from->BytesPerPixel != 4 || to->BytesPerPixel != 4 || from->Amask != 0 || to->Amask != 0 ||
        from->Rmask != to->Rmask || from->Gmask != to->Gmask || from->Bmask != to->Bmask ||
        (source->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY)) != 0 || SDL_MUSTLOCK(source) ||
        SDL_MUSTLOCK(target))
        return false;
    int sx = src.x, sy = src.y, w = src.w, h = src.h, dx = dst.x, dy = dst.y;
    if (sx < 0) {
        w += sx;
        dx -= sx;
        sx = 0;
    }
    if (sy < 0) {
        h += sy;
        dy -= sy;
        sy = 0;
    }
    w = std::min(w, source->w - sx);
    h = std::min(h, source->h - sy);
    const SDL_Rect& clip = target->clip_rect;
    if (const int cut = clip.x - dx; cut > 0) {
        w -= cut;
        dx += cut;
        sx += cut;
    }
    if (const int cut = clip.y - dy; cut > 0) {
        h -= cut;
        dy += cut;
        sy += cut;
    }
    w = std::min(w, clip.x + clip.w - dx);
    h = std::min(h, clip.y + clip.h - dy);
    if (w <= 0 || h <= 0)
        return true;
    const auto* in = static_cast<const Uint8*>(source->pixels) + sy * source->pitch + sx * 4;
    auto* out = static_cast<Uint8*>(target->pixels) + dy * target->pitch + dx * 4;
    for (int row = 0; row < h; ++row)
        std::memcpy(out + row * target->pitch, in + row * source->pitch, std::size_t(w) * 4);
    return true;
}

} // namespace

SDLImageRenderer::SDLImageRenderer(Image* target)
    : m_TargetSurface(target->GetSDLSurface()), m_Target(target)
{
}

SDLImageRenderer::SDLImageRenderer(SDL_Surface* surface, bool freeSurface)
{
    const std::uint32_t flags =
        freeSurface ? IMAGE_REFERENCE : (IMAGE_REFERENCE | IMAGE_DIRECT_SURFACE);
    m_OwnedTarget = std::make_unique<Image>(surface, flags, nullptr);
    m_Target = m_OwnedTarget.get();
    m_TargetSurface = m_Target->GetSDLSurface();
}

SDLImageRenderer::~SDLImageRenderer() = default;

void SDLImageRenderer::TargetChanged()
{
    if (SurfaceNode* node = m_Target ? m_Target->GetSurfaceNode() : nullptr)
        SurfaceManager::GetInstance().Node_PixelsChanged(node, false);
}

bool SDLImageRenderer::DrawThroughDisplayCopy(Image* image, ShaderType shader, const SDL_Rect& dst,
                                              const SDL_Rect& src)
{
    // A pixel-alpha blend onto a target with alpha keeps the target's alpha, which a
    // run-length blit would not: only targets without it (the screen) qualify.
    const SDL_PixelFormat* target = m_TargetSurface->format;
    if (target->BytesPerPixel != 4 || target->Amask != 0)
        return false;
    if (shader != SHADERTYPE_BLENDPIXELALPHA && shader != SHADERTYPE_COPY)
        return false;
    SurfaceNode* node = image->GetSurfaceNode();
    SDL_Surface* master = image->GetSDLSurface();
    if (!node || !master || (master->flags & SDL_SRCCOLORKEY))
        return false;
    DisplayBlitSurface* copy = SurfaceManager::GetInstance().Node_GetDisplayBlitSurface(node);
    // A copy must not blend: the run-length copy stands for it only when nothing blends.
    if (!copy || (shader == SHADERTYPE_COPY && !copy->IsOpaque()))
        return false;
    if (copy->IsOpaque() && CopyOpaqueRows(copy->GetSurface(), src, m_TargetSurface, dst))
        return true;
    SDL_Rect srcCopy = src;
    SDL_Rect dstCopy = dst;
    if (SDL_UpperBlit(copy->GetSurface(), &srcCopy, m_TargetSurface, &dstCopy) != 0)
        MAKO_THROW(ImageException,
                   boost::str(boost::format("SDL_BlitSurface failed: %1%") % SDL_GetError()));
    return true;
}

void SDLImageRenderer::SetClipRect(const SDL_Rect* rect)
{
    SDL_Rect clip = rect ? *rect : MakeRect(0, 0, m_TargetSurface->w, m_TargetSurface->h);
    SDL_SetClipRect(m_TargetSurface, &clip);
}

SDLImageRenderer* SDLImageRenderer::MakeOffscreen(int width, int height)
{
    SDL_Surface* targetSurface = SurfaceManager::CreateSurface(width, height, true);
    MAKO_ASSERT(targetSurface != 0);
    return new SDLImageRenderer(targetSurface, true);
}

// With filled set the disc is filled: Canvas::FillCircle draws through here, and circle
// masks (Image::ClipToCircle) and filled markers need the whole disc. Otherwise the
// outline only.
void SDLImageRenderer::DrawCircle(int x, int y, int radius, const Color& color, bool filled)
{
    TargetChanged();
    if (filled)
        filledCircleRGBA(m_TargetSurface, x, y, radius, color.r, color.g, color.b, color.a);
    else
        circleRGBA(m_TargetSurface, x, y, radius, color.r, color.g, color.b, color.a);
}

void SDLImageRenderer::DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst,
                                 const SDL_Rect* src, int alpha, double /*angle*/,
                                 std::uint32_t /*flags*/)
{
    TargetChanged();
    SDL_Surface* surface = image->GetSDLSurface();
    const SDL_Rect srcRect = src ? *src : MakeRect(0, 0, surface->w, surface->h);
    const SDL_Rect dstRect = dst ? *dst : MakeRect(0, 0, srcRect.w, srcRect.h);
    if (DrawThroughDisplayCopy(image, shader, dstRect, srcRect))
        return;
    DrawSurface(surface, shader, dstRect, srcRect, alpha);
}

void SDLImageRenderer::DrawLine(int x1, int y1, int x2, int y2, const Color& color)
{
    TargetChanged();
    lineRGBA(m_TargetSurface, x1, y1, x2, y2, color.r, color.g, color.b, color.a);
}

void SDLImageRenderer::DrawPie(int x, int y, int radius, int start, int end, const Color& color)
{
    TargetChanged();
    pieRGBA(m_TargetSurface, x, y, radius, start, end, color.r, color.g, color.b, color.a);
}

void SDLImageRenderer::DrawPolygon(const Poly& poly, const Color& color, bool filled)
{
    // A vertex that is not a finite number has no pixel: such a polygon draws nothing.
    // Others are cut to the 16-bit coordinates SDL_gfx draws with.
    for (const Point2f& v : poly.GetVertices())
        if (!std::isfinite(v.x) || !std::isfinite(v.y))
            return;
    const auto coord = [](float v) {
        return static_cast<Sint16>(std::clamp(v, -32768.0f, 32767.0f));
    };
    TargetChanged();
    if (filled) {
        std::vector<Sint16> xs, ys;
        for (const Point2f& v : poly.GetVertices()) {
            xs.push_back(coord(v.x));
            ys.push_back(coord(v.y));
        }
        if (xs.size() >= 3)
            filledPolygonRGBA(m_TargetSurface, xs.data(), ys.data(), static_cast<int>(xs.size()),
                              color.r, color.g, color.b, color.a);
        return;
    }
    for (const Poly::Edge& e : poly.GetEdges())
        DrawLine(coord(e.start.x), coord(e.start.y), coord(e.end.x), coord(e.end.y), color);
}

void SDLImageRenderer::DrawRect(const SDL_Rect* rect, const Color& color, bool filled)
{
    TargetChanged();
    const SDL_Rect r = rect ? *rect : MakeRect(0, 0, m_TargetSurface->w, m_TargetSurface->h);
    if (!filled) {
        const int x = r.x, y = r.y, right = r.x + r.w, bottom = r.y + r.h;
        DrawLine(x, y, right - 1, y, color);
        DrawLine(right, y, right, bottom - 1, color);
        DrawLine(right, bottom, x + 1, bottom, color);
        DrawLine(x, bottom, x, y + 1, color);
        return;
    }
    if (color.a == 255) {
        SDL_Rect tmpRect = r;
        const Uint32 mappedColor =
            SDL_MapRGBA(m_TargetSurface->format, color.r, color.g, color.b, color.a);
        MAKO_ASSERT_MSG(SDL_FillRect(m_TargetSurface, &tmpRect, mappedColor) == 0,
                        boost::str(boost::format("SDL_FillRect failed: %1%") % SDL_GetError()));
    } else if (color.a > 0) {
        SoftwareBlend::BlendedFillRect(m_TargetSurface, r, color);
    }
}

void SDLImageRenderer::DrawSurface(SDL_Surface* source, ShaderType shader, const SDL_Rect& dst,
                                   const SDL_Rect& src, int alpha)
{
    TargetChanged();
    if (shader == SHADERTYPE_BLENDCOMBINEDALPHA) {
        SoftwareBlend::BlendCombinedAlpha(source, &src, m_TargetSurface, &dst, alpha);
        return;
    }
    if (shader != SHADERTYPE_COPY && shader != SHADERTYPE_BLENDPIXELALPHA &&
        shader != SHADERTYPE_BLENDCONSTANTALPHA)
        return;
    // SDL honours a colour key when it copies, but ignores it under per-pixel alpha and
    // rounds otherwise with one under per-surface alpha: keyed blends are drawn here.
    if ((source->flags & SDL_SRCCOLORKEY) && shader != SHADERTYPE_COPY) {
        if (shader == SHADERTYPE_BLENDPIXELALPHA)
            SoftwareBlend::BlendPixelAlpha(source, &src, m_TargetSurface, &dst);
        else
            SoftwareBlend::BlendConstantAlpha(source, &src, m_TargetSurface, &dst, alpha & 0xFF);
        return;
    }
    const Uint8 a = static_cast<Uint8>(alpha);
    const Uint32 savedFlag = source->flags & SDL_SRCALPHA;
    const Uint8 savedAlpha = source->format->alpha;
    const Uint32 savedAmask = source->format->Amask;
    if (shader == SHADERTYPE_COPY) {
        SDL_SetAlpha(source, 0, 0);
    } else if (shader == SHADERTYPE_BLENDPIXELALPHA) {
        SDL_SetAlpha(source, SDL_SRCALPHA, a);
    } else {
        source->format->Amask = 0;
        InvalidateBlitMap(source);
        SDL_SetAlpha(source, SDL_SRCALPHA, a);
    }
    SDL_Rect srcCopy = src;
    SDL_Rect dstCopy = dst;
    const int result = SDL_UpperBlit(source, &srcCopy, m_TargetSurface, &dstCopy);
    if (source->format->Amask != savedAmask) {
        source->format->Amask = savedAmask;
        InvalidateBlitMap(source);
    }
    SDL_SetAlpha(source, savedFlag, savedAlpha);
    source->format->alpha = savedAlpha;
    if (result != 0)
        MAKO_THROW(ImageException,
                   boost::str(boost::format("SDL_BlitSurface failed: %1%") % SDL_GetError()));
}
