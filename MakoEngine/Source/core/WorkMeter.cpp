#include "core/WorkMeter.h"

#include "core/StopSignal.h"
#include "luaplus/LuaTableIterator.h"

#include <utility>

namespace {

WorkMeter*& Innermost()
{
    static WorkMeter* innermost = nullptr;
    return innermost;
}

WorkMeter::Probe g_Probe = nullptr;

void ChargeOneStep()
{
    WorkMeter::Charge(1);
}

} // namespace

WorkMeter::WorkMeter(std::string what, long long units)
    : m_What(std::move(what)), m_Units(units), m_Outer(Innermost())
{
    Innermost() = this;
    LuaPlus::SetTableWalkHook(&ChargeOneStep);
}

WorkMeter::~WorkMeter()
{
    Innermost() = m_Outer;
}

WorkMeter* WorkMeter::Current()
{
    return Innermost();
}

void WorkMeter::Charge(long long units)
{
    WorkMeter* meter = Innermost();
    if (!meter)
        return;
    if (meter->IsSpent())
        MAKO_THROW(WorkSpent, meter->Describe());
    meter->m_Used += units;
    if (g_Probe)
        g_Probe(*meter, units);
    if (StopSignal::IsRequested())
        meter->Spend(std::string("was stopped by ") + StopSignal::GetName());
    if (meter->m_Used > meter->m_Units)
        meter->Spend("needs more than " + std::to_string(meter->m_Units) + " steps of work");
}

void WorkMeter::SetProbe(Probe probe)
{
    g_Probe = probe;
}

void WorkMeter::Spend(const std::string& reason)
{
    if (m_Reason.empty())
        m_Reason = reason;
    MAKO_THROW(WorkSpent, Describe());
}

std::string WorkMeter::Describe() const
{
    return m_What + " " + (m_Reason.empty() ? std::string("holds") : m_Reason);
}
