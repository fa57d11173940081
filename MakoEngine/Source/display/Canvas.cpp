#include "display/Canvas.h"

#include "core/Exception.h"
#include "display/Image.h"
#include "display/SDLImageRenderer.h"

#include <cmath>

Canvas::Canvas(int width, int height, std::uint32_t flags)
    : m_OwnedRenderer(SDLImageRenderer::MakeOffscreen(width, height))
{
    m_Renderer = m_OwnedRenderer.get();
    // The image outlives the renderer drawing into it: this canvas keeps it, or the
    // caller takes it.
    m_Renderer->ReleaseTarget();
    if (flags & CANVAS_OWNS_TARGET)
        m_OwnedTarget.reset(m_Renderer->GetTargetSurface());
    InitStack(flags);
}

Canvas::Canvas(ImageRenderer* renderer, bool ownsRenderer)
    : m_Renderer(renderer), m_OwnedRenderer(ownsRenderer ? renderer : nullptr)
{
    InitStack(0);
}

Canvas::~Canvas()
{
    // An owned renderer never deletes its target: that is this canvas's or the caller's.
    if (m_OwnedRenderer)
        m_OwnedRenderer->ReleaseTarget();
}

Image* Canvas::GetTargetImage() const
{
    return m_Renderer ? m_Renderer->GetTargetSurface() : nullptr;
}

void Canvas::InitStack(std::uint32_t flags)
{
    MAKO_ASSERT(m_StateStack.empty());
    m_StateStack.reserve(16);
    m_StateStack.push_back(std::make_unique<CanvasState>());
    m_StateStack.back()->flags = flags;
    m_Top = 0;
}

void Canvas::PushState()
{
    const CanvasState below = *m_StateStack[m_Top];
    ++m_Top;
    if (m_Top == static_cast<int>(m_StateStack.size()))
        m_StateStack.push_back(std::make_unique<CanvasState>());
    *m_StateStack[m_Top] = below;
}

void Canvas::PopState()
{
    MAKO_ASSERT(m_Top > 0);
    --m_Top;
}

CanvasState& Canvas::Translate(int dx, int dy) MAKO_LIFETIMEBOUND
{
    CanvasState& state = *m_StateStack[m_Top];
    state.x += dx;
    state.y += dy;
    return state;
}

void Canvas::DrawImage(Image* image, int frame, ShaderType shader)
{
    const CanvasState& s = GetState();
    const Point<int> frameSize = image->GetFrameSize();
    const SDL_Rect dst = MakeRect(s.x, s.y, frameSize.x, frameSize.y);
    const SDL_Rect src = image->GetFrameRect(frame);
    m_Renderer->DrawImage(image, shader, &dst, &src, 255, 0.0, 0);
}

void Canvas::DrawLine(int x1, int y1, int x2, int y2, const Color& color)
{
    const CanvasState& s = GetState();
    m_Renderer->DrawLine(x1 + s.x, y1 + s.y, x2 + s.x, y2 + s.y, color);
}

void Canvas::DrawCircle(int x, int y, int radius, const Color& color)
{
    const CanvasState& s = GetState();
    m_Renderer->DrawCircle(x + s.x, y + s.y, radius, color, false);
}

void Canvas::FillCircle(int x, int y, int radius, const Color& color)
{
    const CanvasState& s = GetState();
    m_Renderer->DrawCircle(x + s.x, y + s.y, radius, color, true);
}

void Canvas::DrawPie(int x1, int y1, int x2, int y2, const Color& color, int span)
{
    const CanvasState& s = GetState();
    const int start = static_cast<int>(
        (M_PI / 2 - std::atan2(static_cast<double>(x2 - x1), static_cast<double>(y2 - y1))) *
        57.29577951308232);
    const int end = start + span;
    const double dx = x1 - x2;
    const double dy = y1 - y2;
    const int radius = static_cast<int>(std::sqrt(dx * dx + dy * dy));
    m_Renderer->DrawPie(x1 + s.x, y1 + s.y, radius, start, end, color);
}

void Canvas::FillRect(SDL_Rect rect, const Color& color)
{
    const CanvasState& s = GetState();
    rect.x = static_cast<Sint16>(rect.x + s.x);
    rect.y = static_cast<Sint16>(rect.y + s.y);
    m_Renderer->DrawRect(&rect, color, true);
}

void Canvas::Fill(int width, int height, const Color& color)
{
    const CanvasState& s = GetState();
    const SDL_Rect rect = MakeRect(s.x, s.y, width, height);
    m_Renderer->DrawRect(&rect, color, true);
}

void Canvas::DrawRect(SDL_Rect rect, const Color& color)
{
    m_Renderer->DrawRect(&rect, color, false);
}

void Canvas::FillPolygon(const Poly& poly, const Color& color)
{
    m_Renderer->DrawPolygon(poly, color, true);
}
