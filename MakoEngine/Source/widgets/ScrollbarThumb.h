#pragma once
// Scrollbar::Thumb: the handle of a scroll bar ("btnBlankSmall.png": frame 0 at rest, 2
// under the pointer, 3 while dragged), with the states "Active", "Highlighted" and
// "Scrolling". A mouse button pressed over it starts a drag; every mouse motion while
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
