#pragma once
// Switches performance measuring on and off and drives the per-frame measurers: the main
// loop calls Tick at the start and EndTick at the end of every frame while measuring;
// stopping has every measurer write its log. The application makes one and adds its
// PerformanceCounterManager and then its BlitPerformanceManager; the newest one alive is
// the program's (GetCurrent), which the program-wide measuring operations ask. Main thread
// only.
#include "perf/TickPerformanceCounter.h"

#include <cstdint>
#include <vector>

class TickPerformanceManager
{
public:
    TickPerformanceManager();
    // Neither stops measuring nor touches the measurers (they may be gone already).
    ~TickPerformanceManager();
    TickPerformanceManager(const TickPerformanceManager&) = delete;
    TickPerformanceManager& operator=(const TickPerformanceManager&) = delete;

    static TickPerformanceManager* GetCurrent();

    // Adds a measurer (not owned; it must outlive its use here).
    void AddCounter(TickPerformanceCounter* counter);

    // Starts a measuring period: tick count 0, then StartMeasuring of every measurer in
    // order. Raises "IsMeasuringPerformance() == false" when already measuring.
    void StartMeasuringPerformance();
    // StopMeasuring of every measurer in order (they write their logs), then measuring is
    // off. Raises "IsMeasuringPerformance() == true" when not measuring.
    void StopMeasuringPerformance();

    // While measuring: counts the frame and calls every measurer's Tick.
    void Tick();
    // While measuring: every measurer's EndTick.
    void EndTick();

    bool IsMeasuringPerformance() const { return m_Measuring; }
    uint32_t GetTickCount() const { return m_TickCount; }

private:
    std::vector<TickPerformanceCounter*> m_Counters;
    bool m_Measuring;
    uint32_t m_TickCount;
};

// Whether the program's tick manager exists and is measuring.
bool IsMeasuringPerformance();
