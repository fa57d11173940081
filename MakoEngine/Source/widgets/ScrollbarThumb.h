#pragma once
// Scrollbar::Thumb: the handle of a scroll bar ("btnBlankSmall.png": frame 0 at rest, 2
// under the pointer, 3 while dragged), with the states "Active", "Highlighted" and
// "Scrolling". A mouse button pressed over it starts a drag (judged at the press's own
// place, also when the move onto it came in the same pass); every mouse motion while
// dragging moves it (while the pointer stays over it or within its horizontal extent);
// releasing ends the drag.
#include "widgets/HoverState.h"
#include "widgets/Scrollbar.h"

class Scrollbar::Thumb : public Actor
{
public:
    explicit Thumb(Scrollbar* owner);
    ~Thumb() override;

    void Tick() override;
    bool IsMouseOver() const { return m_Hover.IsMouseOver(); }
    // Takes the place of a press or release as the pointer's; whether it is over the thumb.
    bool TrackPointer(const Event& event)
    {
        return m_Hover.Track(*this, event.button.x, event.button.y);
    }
    Scrollbar* GetScrollbar() const { return m_Scrollbar; }

    // The drag of one mouse-motion event (Scrolling state).
    void Drag(const Event& event);
    // Shows the frame when the image has it.
    void ShowFrame(int frame);

protected:
    bool OnMouseMotion(const Event& event) override;

private:
    Scrollbar* m_Scrollbar;
    HoverState m_Hover;
};
