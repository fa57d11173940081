#include "perf/TimeCounter.h"

#include "core/Exception.h"
#include "win32/PerformanceCounter.h"

namespace {

PerformanceClock gClock = nullptr;

} // namespace

int64_t ReadPerformanceClock()
{
    if (gClock)
        return gClock();
    int64_t now = 0;
    QueryPerformanceCounter(&now);
    return now;
}

int64_t ReadPerformanceFrequency()
{
    if (gClock)
        return 1000000000;
    int64_t frequency = 1;
    QueryPerformanceFrequency(&frequency);
    return frequency;
}

void SetPerformanceClock(PerformanceClock clock)
{
    gClock = clock;
}

TimeCounter::TimeCounter(bool startNow)
    : m_Start(0), m_Frequency(0), m_TimerState(TimerStopped), m_NestedStarts(0), m_Elapsed(0)
{
    if (startNow)
        Start();
}

void TimeCounter::Start()
{
    MAKO_ASSERT(m_TimerState == TimerStopped || m_TimerState == TimerPaused ||
                m_TimerState == TimerRunning);
    if (m_TimerState == TimerRunning) {
        ++m_NestedStarts;
        return;
    }
    if (m_TimerState == TimerStopped)
        m_Elapsed = 0;
    m_TimerState = TimerRunning;
    m_Frequency = ReadPerformanceFrequency();
    m_Start = ReadPerformanceClock();
}

double TimeCounter::Pause(int64_t now)
{
    if (m_TimerState == TimerRunning && m_Frequency > 0)
        m_Elapsed += static_cast<double>(now - m_Start) / static_cast<double>(m_Frequency) * 1000.0;
    if (m_TimerState != TimerStopped)
        m_TimerState = TimerPaused;
    return GetElapsedTimeInMS();
}

double TimeCounter::Stop()
{
    int64_t now = ReadPerformanceClock();
    if (m_TimerState == TimerRunning && m_Frequency > 0)
        m_Elapsed += static_cast<double>(now - m_Start) / static_cast<double>(m_Frequency) * 1000.0;
    m_TimerState = TimerStopped;
    return GetElapsedTimeInMS();
}

void TimeCounter::Reset()
{
    m_TimerState = TimerStopped;
    m_Elapsed = 0;
    m_NestedStarts = 0;
}

double TimeCounter::GetElapsedTimeInMS() const
{
    MAKO_ASSERT(m_TimerState == TimerStopped || m_TimerState == TimerPaused);
    return m_Elapsed;
}
