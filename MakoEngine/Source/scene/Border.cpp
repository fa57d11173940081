#include "scene/Border.h"

#include "display/Canvas.h"

Border::Border(const Color& color)
{
    SetColor(color);
}

void Border::Draw(Canvas& canvas)
{
    if (!m_Parent)
        return;
    // Canvas::DrawRect takes target coordinates and ignores the origin, so the origin the
    // border was translated to is added here: the outline surrounds the parent wherever
    // the parent stands, not the target's top-left corner.
    const CanvasState& origin = canvas.GetState();
    canvas.DrawRect(MakeRect(origin.x, origin.y, m_Parent->GetWidth(), m_Parent->GetHeight()),
                    m_Color);
}
