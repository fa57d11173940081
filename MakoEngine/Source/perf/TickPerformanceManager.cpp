#include "perf/TickPerformanceManager.h"

#include "core/Exception.h"

namespace {

TickPerformanceManager* gCurrentTickManager = nullptr;

} // namespace

TickPerformanceManager::TickPerformanceManager() : m_Measuring(false), m_TickCount(0)
{
    gCurrentTickManager = this;
}

TickPerformanceManager::~TickPerformanceManager()
{
    if (gCurrentTickManager == this)
        gCurrentTickManager = nullptr;
}

TickPerformanceManager* TickPerformanceManager::GetCurrent()
{
    return gCurrentTickManager;
}

void TickPerformanceManager::AddCounter(TickPerformanceCounter* counter)
{
    m_Counters.push_back(counter);
}

void TickPerformanceManager::StartMeasuringPerformance()
{
    MAKO_ASSERT(IsMeasuringPerformance() == false);
    m_TickCount = 0;
    m_Measuring = true;
    for (TickPerformanceCounter* counter : m_Counters)
        counter->StartMeasuring();
}

void TickPerformanceManager::StopMeasuringPerformance()
{
    MAKO_ASSERT(IsMeasuringPerformance() == true);
    for (TickPerformanceCounter* counter : m_Counters)
        counter->StopMeasuring();
    m_Measuring = false;
}

void TickPerformanceManager::Tick()
{
    if (!m_Measuring)
        return;
    ++m_TickCount;
    for (TickPerformanceCounter* counter : m_Counters)
        counter->Tick();
}

void TickPerformanceManager::EndTick()
{
    if (!m_Measuring)
        return;
    for (TickPerformanceCounter* counter : m_Counters)
        counter->EndTick();
}

bool IsMeasuringPerformance()
{
    return gCurrentTickManager && gCurrentTickManager->IsMeasuringPerformance();
}
