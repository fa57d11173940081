#include "physics/PhysicsServices.h"

#include "core/Log.h"
#include "perf/ScopedPerformanceTimer.h"

void PhysicsLogWarning(const std::string& line)
{
    Log("%s\n", line.c_str());
}

// Times the section with the program's performance counters, as ScopedPerformanceTimer
// does; nothing happens while measuring is off.
PhysicsScopedTimer::PhysicsScopedTimer(const char* counterName) : m_Name(counterName)
{
    StartPerformanceTimer(m_Name);
}

PhysicsScopedTimer::~PhysicsScopedTimer()
{
    StopPerformanceTimer(m_Name);
}
