#include "screens/HitMeter.h"

#include "core/ObjectBoundary.h"

#include <string>

HitMeter::HitMeter()
{
    ApplyStringProperty("name", "HitMeter");
    // The meter only shows the count: a table its data cannot apply (a picture the pack
    // lacks) is named once, and the meter shows what was made of it, or nothing.
    ObjectBoundary::Guard("The hit meter", "it shows only what its table made before that",
                          [this] { AcquireAndApplyResource("HitMeter"); });
    Reset();
}

void HitMeter::SetIcon(int index, int frame)
{
    if (index < 1 || index > kIcons)
        return;
    if (Actor* icon = GetChild("Ball" + std::to_string(index), false))
        icon->SetFrame(frame);
}

void HitMeter::SetAllIcons(int frame)
{
    for (int i = 1; i <= kIcons; ++i)
        SetIcon(i, frame);
}

int HitMeter::GetIconFrame(int index) const
{
    if (index < 1 || index > kIcons)
        return -1;
    Actor* icon = GetChild("Ball" + std::to_string(index), false);
    return icon ? icon->GetFrame() : -1;
}

void HitMeter::AddHit()
{
    if (m_Held)
        return;
    ++m_Count;
    SetIcon(m_Count, 1);
}

void HitMeter::Fill()
{
    SetAllIcons(1);
    m_Count = kIcons;
    m_BlinkTick = 0;
}

void HitMeter::Reset()
{
    SetAllIcons(0);
    m_Count = 0;
    m_BlinkTick = 0;
    m_Hold = false;
    m_Held = false;
}

void HitMeter::SetHoldWhenFull(bool hold)
{
    m_Hold = hold;
    if (!hold && m_Held) {
        m_Held = false;
        SetAllIcons(0);
    }
}

void HitMeter::Tick()
{
    // A held meter stays lit; releasing the hold lets it blink again.
    if (m_Count != kIcons || m_Held)
        return;
    ++m_BlinkTick;
    if (m_BlinkTick == 1) {
        SetAllIcons(1);
    } else if (m_BlinkTick == kBlinkOff) {
        SetAllIcons(0);
    } else if (m_BlinkTick == kBlinkPeriod) {
        m_BlinkTick = 0;
        if (m_Hold) {
            m_Held = true;
            SetAllIcons(1);
        }
    }
}
