#include "perf/ScopedPerformanceTimer.h"

#include "perf/PerformanceCounterManager.h"
#include "perf/TickPerformanceManager.h"

void StartPerformanceTimer(const std::string& name)
{
    PerformanceCounterManager* counters = PerformanceCounterManager::GetCurrent();
    if (counters && IsMeasuringPerformance())
        counters->GetTimeCounter(name).Start();
}

double StopPerformanceTimer(const std::string& name)
{
    PerformanceCounterManager* counters = PerformanceCounterManager::GetCurrent();
    if (!counters || !IsMeasuringPerformance())
        return 0;
    int64_t now = ReadPerformanceClock();
    return counters->GetTimeCounter(name).Pause(now);
}

ScopedPerformanceTimer::ScopedPerformanceTimer(const std::string& name, bool startNow)
    : m_Name(name)
{
    if (startNow)
        Start();
}

ScopedPerformanceTimer::~ScopedPerformanceTimer()
{
    StopPerformanceTimer(m_Name);
}
