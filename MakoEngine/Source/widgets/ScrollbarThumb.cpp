#include "widgets/ScrollbarThumb.h"

#include "display/Image.h"
#include "widgets/ThumbStates.h"

Scrollbar::Thumb::Thumb(Scrollbar* owner)
    : Actor("btnBlankSmall.png"), m_Scrollbar(owner), m_Hover(*this)
{
    AddState(new ThumbStates::Active(this));
    AddState(new ThumbStates::Highlighted(this));
    AddState(new ThumbStates::Scrolling(this));
}

Scrollbar::Thumb::~Thumb()
{
}

void Scrollbar::Thumb::Tick()
{
    m_Hover.CheckOnTick(*this);
    Actor::Tick();
}

bool Scrollbar::Thumb::OnMouseMotion(const Event& event)
{
    m_Hover.Update(*this, event.motion.x, event.motion.y);
    return false;
}

void Scrollbar::Thumb::Drag(const Event& event)
{
    bool move = m_Hover.IsMouseOver();
    if (!move) {
        const SDL_Rect screen = GetScreenRect();
        move = screen.x <= event.motion.x && event.motion.x <= screen.x + screen.w;
    }
    if (!move)
        return;
    m_Scrollbar->MoveThumbBy(event.motion.xrel);
    m_Scrollbar->Beep();
}

void Scrollbar::Thumb::ShowFrame(int frame)
{
    Image* image = GetImage();
    if (image && frame < image->GetNumFrames())
        SetFrame(frame);
}
