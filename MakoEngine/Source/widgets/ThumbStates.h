#pragma once
// The three states of a scroll bar's thumb; each holds its thumb, which owns them.
#include "core/State.h"
#include "widgets/ScrollbarThumb.h"

namespace ThumbStates {

class Active : public State
{
public:
    explicit Active(Scrollbar::Thumb* thumb) : m_Thumb(thumb) {}
    const char* GetName() const override { return "Active"; }
    void OnEnterState() override;
    bool OnMouseEnter(const Event& event) override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnInternalEvent(const Event& event) override;

private:
    Scrollbar::Thumb* m_Thumb;
};

class Highlighted : public State
{
public:
    explicit Highlighted(Scrollbar::Thumb* thumb) : m_Thumb(thumb) {}
    const char* GetName() const override { return "Highlighted"; }
    void OnEnterState() override;
    bool OnMouseButtonDown(const Event& event) override;
    bool OnMouseLeave(const Event& event) override;

private:
    Scrollbar::Thumb* m_Thumb;
};

class Scrolling : public State
{
public:
    explicit Scrolling(Scrollbar::Thumb* thumb) : m_Thumb(thumb) {}
    const char* GetName() const override { return "Scrolling"; }
    void OnEnterState() override;
    bool OnMouseMotion(const Event& event) override;
    bool OnMouseButtonUp(const Event& event) override;

private:
    Scrollbar::Thumb* m_Thumb;
};

} // namespace ThumbStates
