#include "widgets/IBeam.h"

#include "core/TimerManager.h"
#include "scene/SceneHost.h"

IBeam::IBeam(int width, int height) : Actor(Palette::Black)
{
    SetSize(width, height);
    SetVisible(true, false);
    if (TimerManager* timers = SceneHost::GetTimerManager())
        m_BlinkTimer = timers->CreateTimer(this, 500, -1, TIMER_LIMITED_TO_FRAMERATE);
}

IBeam::~IBeam()
{
    if (m_BlinkTimer != 0)
        if (TimerManager* timers = SceneHost::GetTimerManager())
            timers->KillTimer(m_BlinkTimer);
}

bool IBeam::OnTimer(const Event& event)
{
    if (m_BlinkTimer == 0 || EventData1Int(event) != static_cast<std::intptr_t>(m_BlinkTimer))
        return Actor::OnTimer(event);
    SetVisible(!IsVisible(), false);
    return true;
}
