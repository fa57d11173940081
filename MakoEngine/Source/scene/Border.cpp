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
    // Outlines are drawn in target coordinates: the rectangle starts at the origin the
    // border was translated to.
    const CanvasState& origin = canvas.GetState();
    canvas.DrawRect(MakeRect(origin.x, origin.y, m_Parent->GetWidth(), m_Parent->GetHeight()),
                    m_Color);
}
