#include "physics/PhysicsServices.h"

#include <cstdio>

// SEAM(log): until the engine log exists, warnings go to standard error. Replace the body
// with the engine's levelled log call once core/Log.h is in place.
void PhysicsLogWarning(const std::string& line)
{
    std::fprintf(stderr, "%s\n", line.c_str());
}

// SEAM(performance counters): the scoped timer becomes ScopedPerformanceTimer once the
// performance counter manager exists; until then it measures nothing.
PhysicsScopedTimer::PhysicsScopedTimer(const char* counterName) : m_Name(counterName) {}

PhysicsScopedTimer::~PhysicsScopedTimer() = default;
