#pragma once
// The engine services the physics world reports through: the log and the performance
// counters. They are reached through this one header so that the physics code does not
// depend on how those services are built.
#include <string>

// Writes one warning line to the engine log.
void PhysicsLogWarning(const std::string& line);

// Times the named time counter for the lifetime of the object when performance counting
// is on; it has no effect on results.
class PhysicsScopedTimer
{
public:
    explicit PhysicsScopedTimer(const char* counterName);
    ~PhysicsScopedTimer();
    PhysicsScopedTimer(const PhysicsScopedTimer&) = delete;
    PhysicsScopedTimer& operator=(const PhysicsScopedTimer&) = delete;

private:
    const char* m_Name;
};
