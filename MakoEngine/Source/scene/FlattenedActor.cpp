#include "scene/FlattenedActor.h"

#include "core/Exception.h"
#include "display/Canvas.h"
#include "display/Image.h"

FlattenedActor::FlattenedActor(Actor* source, bool alphaCanvas, bool autoSize, int width,
                               int height)
    : m_Source(source), m_AlphaCanvas(alphaCanvas), m_AutoSize(autoSize)
{
    SetSize(width, height);
    Refresh();
}

FlattenedActor::~FlattenedActor()
{
    DeleteCanvas();
}

void FlattenedActor::DeleteCanvas()
{
    m_Canvas.reset();
}

void FlattenedActor::SetSize(int width, int height)
{
    if (width != GetWidth() || height != GetHeight())
        DeleteCanvas();
    Actor::SetSize(width, height);
}

void FlattenedActor::Refresh()
{
    DeleteCanvas();
    if (m_AutoSize && m_Source) {
        const Point<int> extent = m_Source->GetExtent();
        SetSize(extent.x, extent.y);
    }
}

void FlattenedActor::CreateCanvas()
{
    MAKO_ASSERT(m_Canvas == 0);
    m_Canvas = std::make_unique<Canvas>(GetWidth(), GetHeight(), m_AlphaCanvas ? 10u : 2u);
}

void FlattenedActor::Render(Canvas& canvas)
{
    if (GetWidth() == 0 || GetHeight() == 0)
        return;
    if (!m_Canvas && m_Source) {
        CreateCanvas();
        // The source translates by its own position when it renders; the cache keeps
        // the subtree at the source's origin instead.
        m_Canvas->PushState();
        m_Canvas->Translate(-m_Source->GetX(), -m_Source->GetY());
        m_Source->Render(*m_Canvas);
        m_Canvas->PopState();
    }
    if (!m_Canvas)
        return;
    // A source drawn as a copy (a screen's background layer) shows its cache as one: the
    // picture covers what lies below it, so nothing needs blending.
    const ShaderType shader = m_Source && m_Source->GetShaderType() == SHADERTYPE_COPY
                                  ? SHADERTYPE_COPY
                                  : SHADERTYPE_BLENDPIXELALPHA;
    canvas.DrawImage(m_Canvas->GetTargetImage(), 0, shader);
}
