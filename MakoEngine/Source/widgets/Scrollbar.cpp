#include "widgets/Scrollbar.h"

#include "core/ConfigDataBinder.h"
#include "core/EventQueue.h"
#include "core/Exception.h"
#include "core/Log.h"
#include "core/TimerManager.h"
#include "scene/SceneHost.h"
#include "sound/Sound.h"
#include "widgets/ScrollbarThumb.h"

#include <cmath>

Scrollbar::Scrollbar(double value, double minValue, double maxValue)
{
    m_MaxValue = 0.0;
    m_Track = new Actor("bkgTrackBar.png");
    AddChild(m_Track, "");
    m_Thumb = new Thumb(this);
    AddChild(m_Thumb, "");

    SetSize(m_Thumb->GetWidth() + m_Track->GetWidth(), m_Thumb->GetHeight());
    m_Track->SetPosition(GetWidth() / 2 - m_Track->GetWidth() / 2,
                         GetHeight() / 2 - m_Track->GetHeight() / 2);
    m_LeftEdge = m_Track->GetX();
    m_RightEdge = m_Track->GetX() + m_Track->GetWidth();
    m_Thumb->SetPosition(m_LeftEdge - m_Thumb->GetWidth() / 2, 0);

    m_MinValue = minValue;
    ValueBoundsUpdated();
    SetMaxValue(maxValue, false);
    SetValue(value, true);
    m_Thumb->SetState("Active");
}

Scrollbar::~Scrollbar()
{
    if (m_BeepTimer != 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_BeepTimer);
    m_BeepTimer = 0;
    m_Binder.reset();
    m_Value.reset();
}

double Scrollbar::Clamp(double value) const
{
    if (!(value >= m_MinValue)) // also catches NaN
        return m_MinValue;
    return value > m_MaxValue ? m_MaxValue : value;
}

void Scrollbar::SetValue(double value, bool updateThumb)
{
    TakeValue(value, updateThumb, VALUECHANGE_SHOWN);
}

void Scrollbar::ChooseValue(double value, bool updateThumb)
{
    TakeValue(value, updateThumb, VALUECHANGE_CHOSEN);
}

void Scrollbar::TakeValue(double value, bool updateThumb, ValueChangeCause cause)
{
    m_Value = Clamp(value);
    if (updateThumb)
        UpdateThumbPosition();
    GetPostedEventQueue().Post(&m_ReceiverGroup, MAKO_VALUECHANGE, cause,
                               static_cast<Object*>(this), nullptr);
}

void Scrollbar::SetMaxValue(double maxValue, bool updateThumb)
{
    MAKO_ASSERT(maxValue >= m_MinValue);
    m_MaxValue = maxValue;
    if (m_Value)
        m_Value = Clamp(*m_Value);
    ValueBoundsUpdated();
    if (updateThumb)
        UpdateThumbPosition();
}

void Scrollbar::SetBinder(ConfigDataBinder* binder)
{
    if (m_Binder)
        m_ReceiverGroup.Remove(m_Binder.get());
    m_Binder.reset(binder);
    if (!binder)
        return;
    AddEventReceiver(binder);
    const Variant value = binder->GetValue();
    if (value.GetType() != Variant::V_DOUBLE) {
        Log("WARNING: The configuration value \"%s\" is not a number; the scroll bar keeps its "
            "value.\n",
            binder->GetKey().c_str());
        return;
    }
    SetValue(value.ToDouble(), true);
}

Variant Scrollbar::GetValue()
{
    return m_Value ? Variant(*m_Value) : Variant();
}

void Scrollbar::ValueBoundsUpdated()
{
    MAKO_ASSERT(m_RightEdge != m_LeftEdge);
    m_PosK = (m_MaxValue - m_MinValue) / (m_RightEdge - m_LeftEdge);
}

void Scrollbar::UpdateThumbPosition()
{
    MAKO_ASSERT(m_PosK != 0);
    const double value = m_Value ? *m_Value : m_MinValue;
    const int centre = m_LeftEdge + static_cast<int>((value - m_MinValue) / m_PosK);
    m_Thumb->SetPosition(centre - m_Thumb->GetWidth() / 2, m_Thumb->GetY());
}

void Scrollbar::UpdateValueFromThumb()
{
    const int offset = m_Thumb->GetX() + m_Thumb->GetWidth() / 2 - m_LeftEdge;
    const double value = Clamp(offset * m_PosK + m_MinValue);
    // The thumb stays where it is: placing it again from the value could move it back by
    // a pixel through rounding.
    if (!m_Value || value != *m_Value)
        ChooseValue(value, false);
}

void Scrollbar::MoveThumbBy(int dx)
{
    int centre = m_Thumb->GetX() + m_Thumb->GetWidth() / 2 + dx;
    if (centre < m_LeftEdge)
        centre = m_LeftEdge;
    if (centre > m_RightEdge)
        centre = m_RightEdge;
    m_Thumb->SetPosition(centre - m_Thumb->GetWidth() / 2, m_Thumb->GetY());
    UpdateValueFromThumb();
}

void Scrollbar::Beep()
{
    if (m_BeepTimer != 0)
        return;
    Sound::PlaySound("Beep01.ogg", false);
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_BeepTimer = timers->CreateTimer(this, 200, 1, TIMER_LIMITED_TO_FRAMERATE);
}

bool Scrollbar::OnTimer(const Event& event)
{
    if (m_BeepTimer == 0 || EventData1Int(event) != static_cast<std::intptr_t>(m_BeepTimer))
        return Actor::OnTimer(event);
    m_BeepTimer = 0;
    return true;
}
