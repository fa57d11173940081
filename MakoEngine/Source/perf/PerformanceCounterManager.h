#pragma once
// Named time counters (stopwatches of program sections) and integer counters (events per
// frame), measured per frame while performance measuring is on. At the end of every frame
// one line of each kind is written; stopping writes "PerformanceLog_TimeCounters.txt"
// (milliseconds per section) and "PerformangeLog_IntCounters.txt" (counts) in the
// documents folder, columns in the order the counters were first used.
//
// The application makes one and adds it to its TickPerformanceManager; the newest one
// alive is the program's (GetCurrent), reached by ScopedPerformanceTimer,
// StartPerformanceTimer, StopPerformanceTimer and AddToIntCounter. Main thread only.
#include "perf/CounterDictionary.h"
#include "perf/CounterLogWriter.h"
#include "perf/IntCounter.h"
#include "perf/TickPerformanceCounter.h"
#include "perf/TimeCounter.h"

#include <string>

class PerformanceCounterManager : public TickPerformanceCounter
{
public:
    PerformanceCounterManager();
    ~PerformanceCounterManager() override;
    PerformanceCounterManager(const PerformanceCounterManager&) = delete;
    PerformanceCounterManager& operator=(const PerformanceCounterManager&) = delete;

    static PerformanceCounterManager* GetCurrent();

    // Adds amount to the program's integer counter name (made on first use). Does nothing
    // while performance measuring is off.
    static void AddToIntCounter(const std::string& name, int amount);

    void StartMeasuring() override;
    void StopMeasuring() override;
    void Tick() override;
    void EndTick() override;

    // The counter of name, made on first use.
    TimeCounter& GetTimeCounter(const std::string& name) MAKO_LIFETIMEBOUND
    {
        return m_TimeCounters.Get(name);
    }
    IntCounter& GetIntCounter(const std::string& name) MAKO_LIFETIMEBOUND
    {
        return m_IntCounters.Get(name);
    }
    CounterDictionary<TimeCounter>& GetTimeCounters() MAKO_LIFETIMEBOUND { return m_TimeCounters; }
    CounterDictionary<IntCounter>& GetIntCounters() MAKO_LIFETIMEBOUND { return m_IntCounters; }

private:
    CounterDictionary<TimeCounter> m_TimeCounters;
    CounterDictionary<IntCounter> m_IntCounters;
    CounterLogWriter m_TimeWriter;
    CounterLogWriter m_IntWriter;
};
