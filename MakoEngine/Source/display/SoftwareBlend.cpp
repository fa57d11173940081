#include "display/SoftwareBlend.h"

#include "geometry/Rect.h"

#include <algorithm>

namespace SoftwareBlend {

namespace {

// Locks a surface for the lifetime of the guard.
class SurfaceLock
{
public:
    explicit SurfaceLock(SDL_Surface* surface) : m_Surface(surface)
    {
        m_Locked = SDL_LockSurface(surface) == 0;
    }
    ~SurfaceLock()
    {
        if (m_Locked)
            SDL_UnlockSurface(m_Surface);
    }
    bool IsLocked() const { return m_Locked; }

private:
    SDL_Surface* m_Surface;
    bool m_Locked = false;
};

// One axis of ClipBlitRects: source start and length, destination start.
bool ClipAxis(int srcSize, int dstSize, int& s, int& len, int& d)
{
    if (s < 0) {
        len += s;
        d -= s;
        s = 0;
    }
    if (s + len > srcSize)
        len = srcSize - s;
    if (len <= 0)
        return false;
    if (d < 0) {
        if (-d >= len)
            return false;
        len += d;
        s -= d;
        d = 0;
    }
    const int over = d + len - dstSize;
    if (over > 0) {
        if (over >= len)
            return false;
        len -= over;
    }
    return len > 0;
}

// Cuts a blit already inside both surfaces to the target's clip rectangle, moving the
// source along; false when nothing is left.
bool ClipToTargetClipRect(const SDL_Surface* dst, SDL_Rect& s, SDL_Rect& d)
{
    const SDL_Rect cut = IntersectRects(d, dst->clip_rect);
    if (cut.w == 0)
        return false;
    s = MakeRect(s.x + (cut.x - d.x), s.y + (cut.y - d.y), cut.w, cut.h);
    d = cut;
    return true;
}

// Runs func over each source pixel and its target pixel; with honourKey set, the pixels
// the source's colour key leaves out are skipped.
template <typename PixelFunc>
void ForEachPixelPair(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                      const SDL_Rect* dstRect, bool honourKey, PixelFunc func)
{
    SDL_Rect s, d;
    if (!ClipBlitRects(src->w, src->h, srcRect, dst->w, dst->h, dstRect, s, d) ||
        !ClipToTargetClipRect(dst, s, d))
        return;
    SurfaceLock srcLock(src);
    SurfaceLock dstLock(dst);
    if (!srcLock.IsLocked() || !dstLock.IsLocked())
        return;
    const bool keyed = honourKey && (src->flags & SDL_SRCCOLORKEY);
    for (int row = 0; row < s.h; ++row) {
        const std::uint32_t* sp = PixelRow(src, s.y + row) + s.x;
        std::uint32_t* dp = PixelRow(dst, d.y + row) + d.x;
        for (int col = 0; col < s.w; ++col)
            if (!keyed || !IsKeyedOut(src, sp[col]))
                dp[col] = func(sp[col], dp[col]);
    }
}

inline int Channel(std::uint32_t pixel, int shift)
{
    return static_cast<int>((pixel >> shift) & 0xFF);
}

} // namespace

bool ClipBlitRects(int srcW, int srcH, const SDL_Rect* srcRect, int dstW, int dstH,
                   const SDL_Rect* dstRect, SDL_Rect& outSrc, SDL_Rect& outDst)
{
    int sx = 0, sy = 0, sw = srcW, sh = srcH;
    if (srcRect) {
        sx = srcRect->x;
        sy = srcRect->y;
        sw = srcRect->w;
        sh = srcRect->h;
    }
    int dx = dstRect ? dstRect->x : 0;
    int dy = dstRect ? dstRect->y : 0;
    if (!ClipAxis(srcW, dstW, sx, sw, dx) || !ClipAxis(srcH, dstH, sy, sh, dy))
        return false;
    outSrc = MakeRect(sx, sy, sw, sh);
    outDst = MakeRect(dx, dy, sw, sh);
    return true;
}

std::uint32_t CompositePixel(std::uint32_t src, std::uint32_t dst)
{
    const std::uint32_t da = dst >> 24;
    if (da == 0)
        return src;
    const std::uint32_t a = src >> 24;
    std::uint32_t out = ((da + a - (da * a) / 255) & 0xFF) << 24;
    for (int shift = 0; shift <= 16; shift += 8) {
        const std::uint32_t s = (src >> shift) & 0xFF;
        const std::uint32_t d = (dst >> shift) & 0xFF;
        out |= (((a * s + (255 - a) * d) >> 8) & 0xFF) << shift;
    }
    return out;
}

void Composite(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst, const SDL_Rect* dstRect)
{
    ForEachPixelPair(src, srcRect, dst, dstRect, false, CompositePixel);
}

namespace {

// The colour channels of src blended over dst by `factor` (0..255), under the alpha bits
// given.
std::uint32_t BlendColour(std::uint32_t src, std::uint32_t dst, int factor, std::uint32_t alphaBits)
{
    std::uint32_t out = alphaBits;
    for (int shift = 0; shift <= 16; shift += 8)
        out |= static_cast<std::uint32_t>(
                   BlendChannel(Channel(src, shift), Channel(dst, shift), factor) & 0xFF)
               << shift;
    return out;
}

} // namespace

std::uint32_t CombinedAlphaPixel(std::uint32_t src, std::uint32_t dst, int alpha)
{
    const int f = (static_cast<int>(src >> 24) * Scale(alpha)) >> 8;
    return BlendColour(src, dst, f, dst & 0xFF000000u);
}

void BlendCombinedAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                        const SDL_Rect* dstRect, int alpha)
{
    ForEachPixelPair(src, srcRect, dst, dstRect, true, [alpha](std::uint32_t s, std::uint32_t d) {
        return CombinedAlphaPixel(s, d, alpha);
    });
}

std::uint32_t PixelAlphaPixel(std::uint32_t src, std::uint32_t dst)
{
    return BlendColour(src, dst, static_cast<int>(src >> 24), dst & 0xFF000000u);
}

std::uint32_t ConstantAlphaPixel(std::uint32_t src, std::uint32_t dst, int alpha, bool targetAlpha)
{
    return BlendColour(src, dst, alpha, targetAlpha ? 0xFF000000u : (dst & 0xFF000000u));
}

void BlendPixelAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                     const SDL_Rect* dstRect)
{
    ForEachPixelPair(src, srcRect, dst, dstRect, true, PixelAlphaPixel);
}

void BlendConstantAlpha(SDL_Surface* src, const SDL_Rect* srcRect, SDL_Surface* dst,
                        const SDL_Rect* dstRect, int alpha)
{
    const bool targetAlpha = dst->format->Amask != 0;
    ForEachPixelPair(src, srcRect, dst, dstRect, true,
                     [alpha, targetAlpha](std::uint32_t s, std::uint32_t d) {
                         return ConstantAlphaPixel(s, d, alpha, targetAlpha);
                     });
}

std::uint32_t BlendedFillPixel(std::uint32_t dst, const Color& color)
{
    const int a = color.a;
    const int channels[3] = {color.b, color.g, color.r}; // shifts 0, 8, 16
    std::uint32_t out = dst & 0xFF000000u;
    for (int i = 0; i < 3; ++i) {
        const int shift = i * 8;
        out |= static_cast<std::uint32_t>(BlendChannel(channels[i], Channel(dst, shift), a) & 0xFF)
               << shift;
    }
    return out;
}

void BlendedFillRect(SDL_Surface* surface, const SDL_Rect& rect, const Color& color)
{
    const SDL_Rect cut = IntersectRects(rect, surface->clip_rect);
    if (cut.w == 0)
        return;
    const int left = cut.x, top = cut.y, right = cut.x + cut.w, bottom = cut.y + cut.h;
    SurfaceLock lock(surface);
    if (!lock.IsLocked())
        return;
    // BlendedFillPixel with the colour's share worked out once: d + (((s - d) * f) >> 8) is
    // (s * f + d * (256 - f)) >> 8, red with blue in one word (no lane spills into the next).
    const std::uint32_t f = std::uint32_t(Scale(color.a)), g = 256 - f;
    const std::uint32_t rb = ((std::uint32_t(color.r) << 16) | color.b) * f;
    const std::uint32_t gg = (std::uint32_t(color.g) << 8) * f;
    for (int y = top; y < bottom; ++y) {
        std::uint32_t* row = PixelRow(surface, y);
        for (int x = left; x < right; ++x) {
            const std::uint32_t d = row[x];
            row[x] = (d & 0xFF000000u) | (((rb + (d & 0xFF00FFu) * g) >> 8) & 0xFF00FFu) |
                     (((gg + (d & 0xFF00u) * g) >> 8) & 0xFF00u);
        }
    }
}

} // namespace SoftwareBlend
