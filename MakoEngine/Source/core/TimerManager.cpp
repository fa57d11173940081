#include "core/TimerManager.h"

#include "core/Event.h"
#include "core/EventReceiver.h"
#include "core/Exception.h"

#include <iterator>
#include <utility>

TimerManager::TimerManager(EventReceiver* defaultTarget, uint32_t frameTime)
    : m_DefaultTarget(defaultTarget), m_FrameTime(frameTime)
{
}

TimerRecord* TimerManager::Find(uint32_t id)
{
    return const_cast<TimerRecord*>(std::as_const(*this).FindTimer(id));
}

const TimerRecord* TimerManager::FindTimer(uint32_t id) const
{
    auto found = m_Timers.find(id);
    return found != m_Timers.end() ? &found->second : nullptr;
}

uint32_t TimerManager::CreateTimer(EventReceiver* target, uint32_t interval, int32_t count,
                                   uint32_t flags)
{
    const uint32_t id = m_NextId;
    InitializeTimer(id, target, interval, count, flags);
    m_Timers[id].m_Flags |= TIMER_IN_USE;
    return id;
}

void TimerManager::InitializeTimer(uint32_t id, EventReceiver* target, uint32_t interval,
                                   int32_t numSignals, uint32_t flags)
{
    if (id >= m_NextId)
        m_NextId = id + 1;
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
        m_Timers.erase(id);
        MAKO_THROW(Exception, "Cannot initialize a timer that is neither Limited To Framerate nor "
                              "Real Time");
    }
}

uint32_t TimerManager::UpdateTimer(uint32_t id)
{
    TimerRecord* found = Find(id);
    if (!found)
        return 0;
    TimerRecord& timer = *found;
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
    // Entries are dropped only here, never while signals are handed out.
    for (auto it = m_Timers.begin(); it != m_Timers.end();)
        it = it->second.m_RemainingSignals == 0 ? m_Timers.erase(it) : std::next(it);
    const uint32_t end = m_NextId;
    // Id 0 is never handed out; an entry a caller made under it gives no signals.
    for (auto it = m_Timers.upper_bound(0); it != m_Timers.end() && it->first < end;) {
        const uint32_t id = it->first;
        if (it->second.m_RemainingSignals != 0) {
            const uint32_t due = UpdateTimer(id);
            if (due > 0)
                SendSignals(id, due);
        }
        // The handlers may have added entries: the next one is looked up afresh.
        it = m_Timers.upper_bound(id);
    }
}

// Hands out due signals of timer id. The entry is looked up afresh after every event,
// since a handler may change it or add others. The next wait is loaded before the handlers
// run, so a handler that delays its own timer lengthens that wait.
void TimerManager::SendSignals(uint32_t id, uint32_t count)
{
    if (TimerRecord* timer = Find(id))
        timer->m_Countdown = timer->m_Interval;
    for (uint32_t i = 0; i < count; ++i) {
        TimerRecord* found = Find(id);
        if (!found || found->m_RemainingSignals == 0)
            break;
        TimerRecord& timer = *found;
        if (timer.m_RemainingSignals != -1)
            --timer.m_RemainingSignals;
        EventReceiver* target = timer.m_Target ? timer.m_Target : m_DefaultTarget;
        void* data1 = IntToEventData(id);
        void* data2 = IntToEventData(timer.m_RemainingSignals);
        if (target)
            target->OnEvent(MakeEvent(MAKO_TIMER, 0, data1, data2));
    }
    TimerRecord* timer = Find(id);
    if (timer && timer->m_RemainingSignals == 0)
        timer->m_Countdown = 0;
}

void TimerManager::KillTimer(uint32_t id)
{
    if (TimerRecord* timer = id != 0 ? Find(id) : nullptr) {
        timer->m_Countdown = 0;
        timer->m_RemainingSignals = 0;
    }
}

void TimerManager::DelayTimer(uint32_t id, uint32_t ms)
{
    if (!IsTimerAlive(id))
        return;
    TimerRecord& timer = *Find(id);
    if ((timer.m_Flags & TIMER_LIMITED_TO_FRAMERATE) && !(timer.m_Flags & TIMER_REAL_TIME))
        timer.m_Countdown += ms;
    else
        timer.m_Interval += ms;
}

void TimerManager::PauseTimer(uint32_t timerID, uint32_t reasons)
{
    MAKO_ASSERT(timerID != 0);
    if (TimerRecord* timer = Find(timerID))
        timer->m_Flags |= reasons & TIMER_PAUSE_REASONS;
}

void TimerManager::ResumeTimer(uint32_t timerID, uint32_t reasons)
{
    MAKO_ASSERT(timerID != 0);
    TimerRecord* found = Find(timerID);
    if (!found)
        return;
    TimerRecord& timer = *found;
    timer.m_Flags &= ~(reasons & TIMER_PAUSE_REASONS);
    if (timer.m_Flags & TIMER_REAL_TIME)
        timer.m_StartTime = m_FrameTime - timer.m_ConsumedTime;
}

void TimerManager::PauseAllTimers(uint32_t reasons)
{
    for (auto& [id, timer] : m_Timers)
        if (id != 0 && timer.m_RemainingSignals != 0)
            PauseTimer(id, reasons);
}

void TimerManager::ResumeAllTimers(uint32_t reasons)
{
    for (auto& [id, timer] : m_Timers)
        if (id != 0 && timer.m_RemainingSignals != 0)
            ResumeTimer(id, reasons);
}

bool TimerManager::IsTimerAlive(uint32_t id) const
{
    const TimerRecord* timer = id != 0 ? FindTimer(id) : nullptr;
    return timer && timer->m_RemainingSignals != 0;
}

int TimerManager::CountLiveTimers() const
{
    int live = 0;
    for (const auto& [id, timer] : m_Timers)
        live += id != 0 && timer.m_RemainingSignals != 0 ? 1 : 0;
    return live;
}
