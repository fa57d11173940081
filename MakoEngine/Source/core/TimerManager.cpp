#include "core/TimerManager.h"

#include "core/Event.h"
#include "core/EventReceiver.h"
#include "core/Exception.h"

TimerManager::TimerManager(EventReceiver* defaultTarget, uint32_t frameTime)
    : m_Timers(1), m_DefaultTarget(defaultTarget), m_FrameTime(frameTime)
{
}

uint32_t TimerManager::CreateTimer(EventReceiver* target, uint32_t interval, int32_t count,
                                   uint32_t flags)
{
    uint32_t id = static_cast<uint32_t>(m_Timers.size());
    InitializeTimer(id, target, interval, count, flags);
    m_Timers[id].m_Flags |= TIMER_IN_USE;
    return id;
}

void TimerManager::InitializeTimer(uint32_t id, EventReceiver* target, uint32_t interval,
                                   int32_t numSignals, uint32_t flags)
{
    if (m_Timers.size() < static_cast<size_t>(id) + 1)
        m_Timers.resize(static_cast<size_t>(id) + 1);
    MAKO_ASSERT(numSignals > 0 || numSignals == -1);
    TimerRecord& timer = m_Timers[id];
    timer.m_RemainingSignals = numSignals;
    timer.m_Target = target;
    timer.m_Flags = flags;
    timer.m_Interval = interval;
    if (flags & TIMER_REAL_TIME) {
        timer.m_StartTime = m_FrameTime;
        timer.m_ConsumedTime = 0;
    } else if (flags & TIMER_LIMITED_TO_FRAMERATE) {
        timer.m_Countdown = interval;
    } else {
        // Leave no half-made live entry behind.
        timer = TimerRecord();
        MAKO_ASSERT_MSG(false, "Cannot initialize a timer that is neither Limited To Framerate nor "
                               "Real Time");
    }
}

uint32_t TimerManager::UpdateTimer(uint32_t id)
{
    TimerRecord& timer = m_Timers[id];
    if (timer.m_Flags & TIMER_PAUSE_REASONS)
        return 0;
    if (timer.m_Flags & TIMER_REAL_TIME) {
        uint32_t elapsed = m_FrameTime - timer.m_StartTime - timer.m_ConsumedTime;
        // An interval of 0 has no period to divide by: such a timer is due on every pass.
        uint32_t due = timer.m_Interval != 0 ? elapsed / timer.m_Interval : 1;
        if (timer.m_RemainingSignals == -1) {
            timer.m_StartTime += timer.m_Interval * due;
            return due;
        }
        if (due > static_cast<uint32_t>(timer.m_RemainingSignals))
            due = static_cast<uint32_t>(timer.m_RemainingSignals);
        timer.m_ConsumedTime += timer.m_Interval * due;
        return due;
    }
    MAKO_ASSERT(timer.m_Flags & (1 << 1));
    if (timer.m_Countdown <= FRAME_PERIOD_MS) {
        timer.m_Countdown = 0;
        MAKO_ASSERT(timer.m_RemainingSignals >= 0 || timer.m_RemainingSignals == -1);
        return 1;
    }
    timer.m_Countdown -= FRAME_PERIOD_MS;
    return 0;
}

void TimerManager::Update()
{
    size_t count = m_Timers.size();
    for (uint32_t id = 1; id < count; ++id) {
        if (m_Timers[id].m_RemainingSignals == 0)
            continue;
        uint32_t due = UpdateTimer(id);
        if (due > 0)
            SendSignals(id, due);
    }
}

// Hands out due signals of timer id. The entry is looked up afresh after every event,
// since a handler may change it or grow (and so move) the table. The next wait is loaded
// before the handlers run, so a handler that delays its own timer lengthens that wait.
void TimerManager::SendSignals(uint32_t id, uint32_t count)
{
    m_Timers[id].m_Countdown = m_Timers[id].m_Interval;
    for (uint32_t i = 0; i < count; ++i) {
        TimerRecord& timer = m_Timers[id];
        if (timer.m_RemainingSignals == 0)
            break;
        if (timer.m_RemainingSignals != -1)
            --timer.m_RemainingSignals;
        EventReceiver* target = timer.m_Target ? timer.m_Target : m_DefaultTarget;
        void* data1 = IntToEventData(id);
        void* data2 = IntToEventData(timer.m_RemainingSignals);
        if (target)
            target->OnEvent(MakeEvent(MAKO_TIMER, 0, data1, data2));
    }
    TimerRecord& timer = m_Timers[id];
    if (timer.m_RemainingSignals == 0)
        timer.m_Countdown = 0;
}

void TimerManager::KillTimer(uint32_t id)
{
    if (id == 0 || id >= m_Timers.size())
        return;
    m_Timers[id].m_Countdown = 0;
    m_Timers[id].m_RemainingSignals = 0;
}

void TimerManager::DelayTimer(uint32_t id, uint32_t ms)
{
    if (!IsTimerAlive(id))
        return;
    TimerRecord& timer = m_Timers[id];
    if ((timer.m_Flags & TIMER_LIMITED_TO_FRAMERATE) && !(timer.m_Flags & TIMER_REAL_TIME))
        timer.m_Countdown += ms;
    else
        timer.m_Interval += ms;
}

void TimerManager::PauseTimer(uint32_t timerID, uint32_t reasons)
{
    MAKO_ASSERT(timerID != 0);
    if (timerID >= m_Timers.size())
        return;
    m_Timers[timerID].m_Flags |= reasons & TIMER_PAUSE_REASONS;
}

void TimerManager::ResumeTimer(uint32_t timerID, uint32_t reasons)
{
    MAKO_ASSERT(timerID != 0);
    if (timerID >= m_Timers.size())
        return;
    TimerRecord& timer = m_Timers[timerID];
    timer.m_Flags &= ~(reasons & TIMER_PAUSE_REASONS);
    if (timer.m_Flags & TIMER_REAL_TIME)
        timer.m_StartTime = m_FrameTime - timer.m_ConsumedTime;
}

void TimerManager::PauseAllTimers(uint32_t reasons)
{
    for (uint32_t id = 1; id < m_Timers.size(); ++id) {
        if (m_Timers[id].m_RemainingSignals != 0)
            PauseTimer(id, reasons);
    }
}

void TimerManager::ResumeAllTimers(uint32_t reasons)
{
    for (uint32_t id = 1; id < m_Timers.size(); ++id) {
        if (m_Timers[id].m_RemainingSignals != 0)
            ResumeTimer(id, reasons);
    }
}

bool TimerManager::IsTimerAlive(uint32_t id) const
{
    return id != 0 && id < m_Timers.size() && m_Timers[id].m_RemainingSignals != 0;
}

int TimerManager::CountLiveTimers() const
{
    int live = 0;
    for (uint32_t id = 1; id < m_Timers.size(); ++id)
        live += IsTimerAlive(id) ? 1 : 0;
    return live;
}
