#include "physics/PhysicsServices.h"

#include "core/Log.h"

void PhysicsLogWarning(const std::string& line)
{
    Log("%s\n", line.c_str());
}

// SEAM(performance counters): the scoped timer becomes ScopedPerformanceTimer once the
// performance counter manager exists; until then it measures nothing.
PhysicsScopedTimer::PhysicsScopedTimer(const char* counterName) : m_Name(counterName) {}

PhysicsScopedTimer::~PhysicsScopedTimer() = default;
