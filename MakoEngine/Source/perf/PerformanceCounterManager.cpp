#include "perf/PerformanceCounterManager.h"

#include "perf/ExtendedTickPerformanceCounter.h"
#include "perf/TickPerformanceManager.h"

namespace {

PerformanceCounterManager* gCurrentCounterManager = nullptr;

} // namespace

PerformanceCounterManager::PerformanceCounterManager()
{
    gCurrentCounterManager = this;
}

PerformanceCounterManager::~PerformanceCounterManager()
{
    if (gCurrentCounterManager == this)
        gCurrentCounterManager = nullptr;
}

PerformanceCounterManager* PerformanceCounterManager::GetCurrent()
{
    return gCurrentCounterManager;
}

void PerformanceCounterManager::AddToIntCounter(const std::string& name, int amount)
{
    if (gCurrentCounterManager && IsMeasuringPerformance())
        gCurrentCounterManager->m_IntCounters.Get(name).value += amount;
}

void PerformanceCounterManager::StartMeasuring()
{
    m_TimeCounters.Clear();
    m_IntCounters.Clear();
}

void PerformanceCounterManager::Tick() {}

void PerformanceCounterManager::EndTick()
{
    // Every section still running is charged up to one common instant.
    int64_t now = ReadPerformanceClock();
    m_TimeCounters.ForEach([now](const std::string&, TimeCounter& counter) {
        counter.Pause(now);
        counter.Stop();
    });
    m_TimeWriter.BeginLine();
    m_TimeCounters.ForEach([this](const std::string&, TimeCounter& counter) {
        m_TimeWriter.WriteDouble(counter.GetElapsedTimeInMS());
    });
    m_TimeWriter.EndLine();
    m_IntWriter.BeginLine();
    m_IntCounters.ForEach(
        [this](const std::string&, IntCounter& counter) { m_IntWriter.WriteInt(counter.value); });
    m_IntWriter.EndLine();
    m_TimeCounters.ForEach([](const std::string&, TimeCounter& counter) { counter.Reset(); });
    m_IntCounters.ForEach([](const std::string&, IntCounter& counter) { counter.value = 0; });
}

void PerformanceCounterManager::StopMeasuring()
{
    if (m_TimeWriter.BeginFinalization(PerformanceLogPath("PerformanceLog_TimeCounters.txt"))) {
        m_TimeCounters.ForEach(
            [this](const std::string& name, TimeCounter&) { m_TimeWriter.WriteString(name); });
        m_TimeWriter.EndFinalization();
    }
    if (m_IntWriter.BeginFinalization(PerformanceLogPath("PerformangeLog_IntCounters.txt"))) {
        m_IntCounters.ForEach(
            [this](const std::string& name, IntCounter&) { m_IntWriter.WriteString(name); });
        m_IntWriter.EndFinalization();
    }
}
