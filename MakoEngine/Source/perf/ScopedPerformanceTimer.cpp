#include "perf/ScopedPerformanceTimer.h"

#include "perf/PerformanceCounterManager.h"
#include "perf/TickPerformanceManager.h"

namespace {

bool Measuring()
{
    return PerformanceCounterManager::GetCurrent() && IsMeasuringPerformance();
}

} // namespace

void StartPerformanceTimer(const char* name)
{
    if (Measuring())
        PerformanceCounterManager::GetCurrent()->GetTimeCounter(name).Start();
}

double StopPerformanceTimer(const char* name)
{
    if (!Measuring())
        return 0;
    int64_t now = ReadPerformanceClock();
    return PerformanceCounterManager::GetCurrent()->GetTimeCounter(name).Pause(now);
}

ScopedPerformanceTimer::ScopedPerformanceTimer(const char* name, bool startNow) : m_Name(name)
{
    if (startNow)
        Start();
}

ScopedPerformanceTimer::~ScopedPerformanceTimer()
{
    Stop();
}
