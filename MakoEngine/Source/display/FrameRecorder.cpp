#include "display/FrameRecorder.h"

#include "core/Exception.h"
#include "display/DisplayBackend.h"
#include "display/Image.h"
#include "display/SurfaceManager.h"
#include "geometry/Poly.h"
#include "geometry/Rect.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <cstring>

namespace {

long long RectArea(const SDL_Rect& r)
{
    return static_cast<long long>(r.w) * r.h;
}

// A region presented as at most this many rectangles: enough for a dozen moving things
// apart.
const int kMaxRegionRects = 48;

std::uint64_t Mix(std::uint64_t hash, std::uint64_t value)
{
    hash ^= value + 0x9E3779B97F4A7C15ull + (hash << 6) + (hash >> 2);
    return hash * 0x100000001B3ull;
}

std::uint64_t RectBits(const SDL_Rect& r)
{
    return (static_cast<std::uint64_t>(static_cast<std::uint16_t>(r.x)) << 48) |
           (static_cast<std::uint64_t>(static_cast<std::uint16_t>(r.y)) << 32) |
           (static_cast<std::uint64_t>(r.w) << 16) | r.h;
}

// The box from (left, top) to (right, bottom) inclusive, one pixel wider on each side
// for the rounding of primitives. Coordinates far off the screen are pulled in first, so
// that the box fits the rectangle's 16-bit fields and still holds all it covers on screen.
SDL_Rect BoxAround(int left, int top, int right, int bottom)
{
    const auto near = [](int v) { return std::clamp(v, -16000, 16000); };
    left = near(left);
    top = near(top);
    right = near(right);
    bottom = near(bottom);
    return MakeRect(left - 1, top - 1, right - left + 3, bottom - top + 3);
}

// The box around a circle (or pie) of the radius centred at (x, y).
SDL_Rect CircleBox(int x, int y, int radius)
{
    const long long r = std::min<long long>(std::llabs(static_cast<long long>(radius)), 1 << 20);
    const auto at = [](long long v) {
        return static_cast<int>(std::clamp<long long>(v, -16000, 16000));
    };
    return BoxAround(at(x - r), at(y - r), at(x + r), at(y + r));
}

std::uint64_t HashOf(const RecordedDraw& d, const std::vector<Poly>& polygons)
{
    std::uint64_t h = Mix(d.kind, (static_cast<std::uint64_t>(d.filled) << 8) | d.shader);
    h = Mix(h, static_cast<std::uint64_t>(d.alpha) << 32 | d.flags);
    std::uint64_t angleBits = 0;
    std::memcpy(&angleBits, &d.angle, sizeof angleBits);
    h = Mix(h, angleBits);
    h = Mix(h, RectBits(d.dst));
    h = Mix(h, RectBits(d.src));
    h = Mix(h, RectBits(d.clip));
    for (int g : d.geometry)
        h = Mix(h, static_cast<std::uint32_t>(g));
    h = Mix(h, static_cast<std::uint64_t>(d.color.r) << 24 | d.color.g << 16 | d.color.b << 8 |
                   d.color.a);
    h = Mix(h, reinterpret_cast<std::uintptr_t>(d.node));
    h = Mix(h, d.pixelVersion);
    h = Mix(h, static_cast<std::uint64_t>(d.surfaceFlags) << 32 | d.surfaceAlpha);
    h = Mix(h, d.colorKey);
    if (d.kind == RecordedDraw::POLYGON)
        for (const Point2f& v : polygons[d.polygon].GetVertices()) {
            std::uint32_t x = 0, y = 0;
            std::memcpy(&x, &v.x, sizeof x);
            std::memcpy(&y, &v.y, sizeof y);
            h = Mix(h, static_cast<std::uint64_t>(x) << 32 | y);
        }
    return h;
}

bool SameDraw(const RecordedDraw& a, const std::vector<Poly>& aPolygons, const RecordedDraw& b,
              const std::vector<Poly>& bPolygons)
{
    if (a.alwaysChanged || b.alwaysChanged || a.hash != b.hash)
        return false;
    if (a.kind != b.kind || a.filled != b.filled || a.shader != b.shader || a.alpha != b.alpha ||
        a.flags != b.flags || a.angle != b.angle || !RectEquals(a.dst, b.dst) ||
        !RectEquals(a.src, b.src) || !RectEquals(a.clip, b.clip) || a.color != b.color ||
        a.node != b.node || a.pixelVersion != b.pixelVersion || a.surfaceFlags != b.surfaceFlags ||
        a.surfaceAlpha != b.surfaceAlpha || a.colorKey != b.colorKey ||
        std::memcmp(a.geometry, b.geometry, sizeof a.geometry) != 0)
        return false;
    if (a.kind != RecordedDraw::POLYGON)
        return true;
    const auto& va = aPolygons[a.polygon].GetVertices();
    const auto& vb = bPolygons[b.polygon].GetVertices();
    if (va.size() != vb.size())
        return false;
    for (std::size_t i = 0; i < va.size(); ++i)
        if (va[i].x != vb[i].x || va[i].y != vb[i].y)
            return false;
    return true;
}

// Positions (into `values`) of one longest strictly increasing run, in order.
std::vector<std::size_t> LongestIncreasing(const std::vector<std::size_t>& values)
{
    std::vector<std::size_t> tails; // positions ending the best run of each length
    std::vector<std::size_t> before(values.size());
    for (std::size_t i = 0; i < values.size(); ++i) {
        auto it = std::lower_bound(tails.begin(), tails.end(), values[i],
                                   [&](std::size_t pos, std::size_t v) { return values[pos] < v; });
        before[i] = it == tails.begin() ? values.size() : *(it - 1);
        if (it == tails.end())
            tails.push_back(i);
        else
            *it = i;
    }
    std::vector<std::size_t> run(tails.size());
    std::size_t at = tails.empty() ? values.size() : tails.back();
    for (std::size_t k = run.size(); k-- > 0;) {
        run[k] = at;
        at = before[at];
    }
    return run;
}

} // namespace

void FrameRecorder::Frame::Clear()
{
    draws.clear();
    polygons.clear();
}

FrameRecorder::FrameRecorder(ImageRenderer* screen, int width, int height, DisplayBackend* display)
    : m_Screen(screen), m_Display(display), m_Width(width), m_Height(height),
      m_Region(width, height, kMaxRegionRects), m_Clip(MakeRect(0, 0, width, height))
{
    MAKO_ASSERT(screen != 0);
    m_SeenLosses = display ? display->GetDisplayLosses() : 0;
}

FrameRecorder::~FrameRecorder() = default;

void FrameRecorder::SetFullRedraw(bool fullRedraw)
{
    if (fullRedraw == m_FullRedraw)
        return;
    m_FullRedraw = fullRedraw;
    m_WholeNext = true;
    m_Current.Clear();
    m_Previous.Clear();
    m_Held.clear();
}

void FrameRecorder::SetClipRect(const SDL_Rect* rect)
{
    m_Clip = rect ? IntersectRects(*rect, MakeRect(0, 0, m_Width, m_Height))
                  : MakeRect(0, 0, m_Width, m_Height);
    if (m_FullRedraw)
        m_Screen->SetClipRect(rect);
}

void FrameRecorder::Record(RecordedDraw& draw, const Poly* poly)
{
    m_FrameOpen = true;
    if (m_FullRedraw) {
        Execute(draw, poly);
        return;
    }
    draw.clip = m_Clip;
    draw.bounds = IntersectRects(draw.bounds, m_Clip);
    if (draw.bounds.w == 0 || draw.bounds.h == 0)
        return; // touches no pixel of the screen
    if (poly) {
        draw.polygon = m_Current.polygons.size();
        m_Current.polygons.push_back(*poly);
    }
    draw.hash = HashOf(draw, m_Current.polygons);
    m_Current.draws.push_back(draw);
    ++m_Whole.calls;
    m_Whole.pixels += RectArea(draw.bounds);
}

void FrameRecorder::DrawCircle(int x, int y, int radius, const Color& color, bool filled)
{
    RecordedDraw d;
    d.kind = RecordedDraw::CIRCLE;
    d.filled = filled;
    d.color = color;
    d.geometry[0] = x;
    d.geometry[1] = y;
    d.geometry[2] = radius;
    d.bounds = CircleBox(x, y, radius);
    Record(d, nullptr);
}

void FrameRecorder::DrawImage(Image* image, ShaderType shader, const SDL_Rect* dst,
                              const SDL_Rect* src, int alpha, double angle, std::uint32_t flags)
{
    SDL_Surface* surface = image ? image->GetSDLSurface() : nullptr;
    if (!surface)
        return; // no pixels: nothing to draw
    RecordedDraw d;
    d.kind = RecordedDraw::IMAGE;
    d.shader = shader;
    d.alpha = alpha;
    d.angle = angle;
    d.flags = flags;
    d.src = src ? *src : MakeRect(0, 0, surface->w, surface->h);
    d.dst = dst ? *dst : MakeRect(0, 0, d.src.w, d.src.h);
    d.surfaceFlags = surface->flags & (SDL_SRCALPHA | SDL_SRCCOLORKEY);
    d.surfaceAlpha = surface->format->alpha;
    d.colorKey = surface->format->colorkey;
    d.node = image->GetSurfaceNode();
    d.pixelVersion = d.node ? d.node->pixelVersion : 0;
    d.alwaysChanged = !d.node;
    d.image = d.node && !m_FullRedraw ? HoldPicture(d.node) : image;
    // The software renderer copies the source's size, the hardware one scales to dst's.
    d.bounds = MakeRect(d.dst.x, d.dst.y, std::max(d.dst.w, d.src.w), std::max(d.dst.h, d.src.h));
    Record(d, nullptr);
}

void FrameRecorder::DrawLine(int x1, int y1, int x2, int y2, const Color& color)
{
    RecordedDraw d;
    d.kind = RecordedDraw::LINE;
    d.wholeOnly = true;
    d.color = color;
    d.geometry[0] = x1;
    d.geometry[1] = y1;
    d.geometry[2] = x2;
    d.geometry[3] = y2;
    d.bounds = BoxAround(std::min(x1, x2), std::min(y1, y2), std::max(x1, x2), std::max(y1, y2));
    Record(d, nullptr);
}

void FrameRecorder::DrawPie(int x, int y, int radius, int start, int end, const Color& color)
{
    RecordedDraw d;
    d.kind = RecordedDraw::PIE;
    d.wholeOnly = true; // its sides are lines
    d.color = color;
    d.geometry[0] = x;
    d.geometry[1] = y;
    d.geometry[2] = radius;
    d.geometry[3] = start;
    d.geometry[4] = end;
    d.bounds = CircleBox(x, y, radius);
    Record(d, nullptr);
}

void FrameRecorder::DrawPolygon(const Poly& poly, const Color& color, bool filled)
{
    const auto& vertices = poly.GetVertices();
    if (vertices.empty())
        return;
    RecordedDraw d;
    d.kind = RecordedDraw::POLYGON;
    d.wholeOnly = !filled;
    d.filled = filled;
    d.color = color;
    // Vertices are drawn truncated towards zero; a vertex that is not a finite number
    // could land anywhere, so the box then covers everything.
    float left = 16000.0f, right = -16000.0f, top = 16000.0f, bottom = -16000.0f;
    for (const Point2f& v : vertices) {
        const bool finite = std::isfinite(v.x) && std::isfinite(v.y);
        left = finite ? std::min(left, v.x) : -16000.0f;
        right = finite ? std::max(right, v.x) : 16000.0f;
        top = finite ? std::min(top, v.y) : -16000.0f;
        bottom = finite ? std::max(bottom, v.y) : 16000.0f;
    }
    auto clampCoord = [](float v) { return static_cast<int>(std::clamp(v, -16000.0f, 16000.0f)); };
    d.bounds = BoxAround(clampCoord(std::floor(left)), clampCoord(std::floor(top)),
                         clampCoord(std::ceil(right)), clampCoord(std::ceil(bottom)));
    Record(d, &poly);
}

void FrameRecorder::DrawRect(const SDL_Rect* rect, const Color& color, bool filled)
{
    RecordedDraw d;
    d.kind = RecordedDraw::RECT;
    d.filled = filled;
    d.wholeOnly = !filled; // an outline is four lines
    d.color = color;
    d.dst = rect ? *rect : MakeRect(0, 0, m_Width, m_Height);
    d.bounds = filled ? d.dst : BoxAround(d.dst.x, d.dst.y, d.dst.x + d.dst.w, d.dst.y + d.dst.h);
    Record(d, nullptr);
}

Image* FrameRecorder::HoldPicture(SurfaceNode* node)
{
    HeldPicture& held = m_Held[node];
    if (!held.image)
        held.image = Image::HoldSurfaceRecord(node);
    held.lastFrame = m_FrameNumber;
    return held.image.get();
}

void FrameRecorder::ReleaseUnusedPictures()
{
    for (auto it = m_Held.begin(); it != m_Held.end();)
        it = it->second.lastFrame < m_FrameNumber ? m_Held.erase(it) : std::next(it);
}

bool FrameRecorder::RegionIsSmall() const
{
    return m_RegionAlways || !m_Region.HoldsShare(kWholeSixteenths);
}

bool FrameRecorder::CompareFrames()
{
    const std::vector<RecordedDraw>& now = m_Current.draws;
    const std::vector<RecordedDraw>& before = m_Previous.draws;
    // Last frame's calls by hash: an open-addressed table of positions + 1 (0: empty),
    // filled in order, so equal hashes are met in the order of their calls.
    std::size_t slots = 16;
    while (slots < before.size() * 2)
        slots *= 2;
    m_PreviousByHash.assign(slots, 0);
    const std::size_t mask = slots - 1;
    for (std::size_t j = 0; j < before.size(); ++j) {
        std::size_t at = before[j].hash & mask;
        while (m_PreviousByHash[at] != 0)
            at = (at + 1) & mask;
        m_PreviousByHash[at] = j + 1;
    }
    m_PreviousMatched.assign(before.size(), 0);

    // Each call of this frame is paired with the first unpaired equal call of the last.
    std::vector<std::size_t>& order = m_MatchedOrder; // last frame's positions, in order
    order.clear();
    std::vector<std::size_t>& matchedNow = m_MatchedNow; // their positions in this frame
    matchedNow.clear();
    for (std::size_t i = 0; i < now.size(); ++i) {
        const RecordedDraw& d = now[i];
        bool paired = false;
        for (std::size_t at = d.hash & mask; m_PreviousByHash[at] != 0; at = (at + 1) & mask) {
            const std::size_t j = m_PreviousByHash[at] - 1;
            if (before[j].hash == d.hash && !m_PreviousMatched[j] &&
                SameDraw(d, m_Current.polygons, before[j], m_Previous.polygons)) {
                m_PreviousMatched[j] = 1;
                order.push_back(j);
                matchedNow.push_back(i);
                paired = true;
                break;
            }
        }
        if (!paired) {
            m_Region.Add(d.bounds); // new, moved or changed
            if (!RegionIsSmall())
                return false;
        }
    }
    for (std::size_t j = 0; j < before.size(); ++j)
        if (!m_PreviousMatched[j])
            m_Region.Add(before[j].bounds); // gone
    if (!RegionIsSmall())
        return false;
    // Paired calls that changed places among the others change the pixels they share.
    const std::vector<std::size_t> kept = LongestIncreasing(order);
    std::size_t k = 0;
    for (std::size_t p = 0; p < order.size(); ++p) {
        if (k < kept.size() && kept[k] == p) {
            ++k;
            continue;
        }
        m_Region.Add(now[matchedNow[p]].bounds);
    }
    return RegionIsSmall();
}

void FrameRecorder::GrowForWholeOnlyDraws()
{
    bool grown = true;
    while (grown) {
        grown = false;
        for (const RecordedDraw& d : m_Current.draws) {
            if (!d.wholeOnly || !m_Region.Touches(d.bounds) || m_Region.Contains(d.bounds))
                continue;
            m_Region.Add(d.bounds);
            grown = true;
        }
    }
}

void FrameRecorder::Execute(const RecordedDraw& d, const Poly* poly)
{
    switch (d.kind) {
    case RecordedDraw::IMAGE:
        m_Screen->DrawImage(d.image, d.shader, &d.dst, &d.src, d.alpha, d.angle, d.flags);
        break;
    case RecordedDraw::CIRCLE:
        m_Screen->DrawCircle(d.geometry[0], d.geometry[1], d.geometry[2], d.color, d.filled);
        break;
    case RecordedDraw::LINE:
        m_Screen->DrawLine(d.geometry[0], d.geometry[1], d.geometry[2], d.geometry[3], d.color);
        break;
    case RecordedDraw::PIE:
        m_Screen->DrawPie(d.geometry[0], d.geometry[1], d.geometry[2], d.geometry[3], d.geometry[4],
                          d.color);
        break;
    case RecordedDraw::POLYGON:
        m_Screen->DrawPolygon(*poly, d.color, d.filled);
        break;
    case RecordedDraw::RECT:
        m_Screen->DrawRect(&d.dst, d.color, d.filled);
        break;
    }
}

bool FrameRecorder::PlanRegion()
{
    // Call by call, in order, into each piece of the region under it: every pixel of the
    // region gets the calls that reach it, in order, once each.
    m_Plan.clear();
    const ImageRenderer::DrawCosts costs = m_Screen->GetDrawCosts();
    m_Whole.presented = static_cast<long long>(m_Width) * m_Height;
    const long long limit = m_Whole.Cost(costs, false);
    DrawWork& work = m_LastRegion;
    work = DrawWork{};
    work.presented = m_Region.GetArea();
    const std::vector<RecordedDraw>& draws = m_Current.draws;
    for (std::size_t i = 0; i < draws.size(); ++i) {
        const RecordedDraw& d = draws[i];
        if (!m_Region.Touches(d.bounds))
            continue;
        m_Region.Pieces(d.bounds, m_Pieces);
        for (const SDL_Rect& piece : m_Pieces) {
            const SDL_Rect clip = IntersectRects(piece, d.clip);
            if (clip.w == 0 || clip.h == 0)
                continue;
            m_Plan.push_back(PlannedDraw{i, clip});
            ++work.calls;
            work.pixels += RectArea(IntersectRects(clip, d.bounds));
        }
        if (!m_RegionAlways && work.Cost(costs, true) > limit)
            return false;
    }
    return true;
}

void FrameRecorder::DrawPlan()
{
    SDL_Rect clip{};
    bool clipSet = false;
    for (const PlannedDraw& planned : m_Plan) {
        const RecordedDraw& d = m_Current.draws[planned.call];
        if (!clipSet || !RectEquals(planned.clip, clip)) {
            clip = planned.clip;
            clipSet = true;
            m_Screen->SetClipRect(&clip);
        }
        Execute(d, d.kind == RecordedDraw::POLYGON ? &m_Current.polygons[d.polygon] : nullptr);
    }
    m_LastDrawCount = static_cast<int>(m_Plan.size());
    m_Screen->SetClipRect(nullptr);
}

void FrameRecorder::DrawWhole()
{
    SDL_Rect clip{};
    bool clipSet = false;
    for (const RecordedDraw& d : m_Current.draws) {
        if (!clipSet || !RectEquals(d.clip, clip)) {
            clip = d.clip;
            clipSet = true;
            m_Screen->SetClipRect(&clip);
        }
        Execute(d, d.kind == RecordedDraw::POLYGON ? &m_Current.polygons[d.polygon] : nullptr);
    }
    m_LastDrawCount = static_cast<int>(m_Current.draws.size());
    m_Screen->SetClipRect(nullptr);
}

bool FrameRecorder::DisplayWasLost()
{
    if (!m_Display || m_Display->GetDisplayLosses() == m_SeenLosses)
        return false;
    m_SeenLosses = m_Display->GetDisplayLosses();
    return true;
}

const DirtyRegion& FrameRecorder::FinishFrame() MAKO_LIFETIMEBOUND
{
    m_Region.Clear();
    m_ChoseWhole = false;
    m_LastRegion = DrawWork{};
    if (m_FullRedraw) {
        m_Region.AddWholeScreen();
        m_FrameOpen = false;
        return m_Region;
    }
    if (m_Display)
        m_Display->PrepareFrame();
    bool whole = DisplayWasLost() || m_WholeNext;
    m_WholeNext = false;
    if (!whole && !m_RegionAlways && m_WholeRunLeft > 0) {
        --m_WholeRunLeft;
        whole = m_ChoseWhole = true;
    } else if (!whole) {
        const bool small = CompareFrames();
        if (small)
            GrowForWholeOnlyDraws();
        m_ChoseWhole = !small || !PlanRegion();
        whole = m_ChoseWhole;
        m_WholeRunLeft = m_ChoseWhole ? kWholeRun : 0;
    }
    if (whole) {
        m_Region.AddWholeScreen();
        DrawWhole();
    } else {
        DrawPlan();
    }
    // Lost while the region was drawn: what the display holds outside it is not the last
    // frame any more. (A display is lost before the frame's first pixel, when it begins
    // drawing, so drawing the frame whole over it blends nothing twice.)
    if (DisplayWasLost() && !m_Region.CoversWholeScreen()) {
        m_Region.AddWholeScreen();
        DrawWhole();
    }
    std::swap(m_Previous, m_Current);
    m_Current.Clear();
    m_Whole.presented = static_cast<long long>(m_Width) * m_Height;
    m_LastWhole = m_Whole;
    m_Whole = DrawWork{};
    ReleaseUnusedPictures();
    ++m_FrameNumber;
    m_FrameOpen = false;
    return m_Region;
}
