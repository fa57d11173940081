#include "screens/Marquee.h"

#include "core/Event.h"
#include "core/TimerManager.h"
#include "core/TimerRecord.h"
#include "scene/SceneHost.h"
#include "widgets/Label.h"

Marquee::Marquee()
{
    m_Label = Label::CreateFromResource("MarqueeLabel", "");
    AddChild(m_Label, "MarqueeLabel");
}

Marquee::~Marquee()
{
    KillHideTimer();
}

void Marquee::KillHideTimer()
{
    if (m_HideTimer != 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_HideTimer);
    m_HideTimer = 0;
}

void Marquee::SetMessage(const std::string& text, int milliseconds)
{
    m_Text = text;
    m_Label->SetText(text, true);
    m_Label->SetPosition(GetWidth() / 2 - m_Label->GetWidth() / 2,
                         GetHeight() / 2 - m_Label->GetHeight() / 2);
    KillHideTimer();
    if (milliseconds >= 1)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            m_HideTimer =
                timers->CreateTimer(this, std::uint32_t(milliseconds), 1, TIMER_REAL_TIME);
}

void Marquee::ClearMessage()
{
    SetMessage("", 0);
}

void Marquee::SetParent(Actor* parent)
{
    Actor::SetParent(parent);
    if (!parent)
        return;
    // Along the bottom line, its text on the level title's line and clear of the window's
    // lower edge.
    SetSize(parent->GetWidth() - 32, kHeight);
    SetPosition(parent->GetX() + 16, parent->GetY() + parent->GetHeight() - 1 - kHeight);
}

bool Marquee::OnTimer(const Event& event)
{
    const std::uint32_t id = static_cast<std::uint32_t>(EventData1Int(event));
    if (id == 0 || id != m_HideTimer)
        return Actor::OnTimer(event);
    m_HideTimer = 0;
    ClearMessage();
    return true;
}
