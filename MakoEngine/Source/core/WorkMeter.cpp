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
    WorkMeter* inner = Innermost();
    if (!inner)
        return;
    // Every open meter counts the work: a file read while a level builds, or a level's
    // build inside its check, is work of the outer one too, and one spent ends the inner.
    // A meter once spent stays so by the checks below alone (its count stays past its
    // units; a stop, once asked for, stays asked for), so a meter opened inside it later
    // is ended at its first charge too.
    for (WorkMeter* meter = inner; meter; meter = meter->m_Outer)
        meter->m_Used += units;
    if (g_Probe)
        g_Probe(*inner, units);
    if (StopSignal::IsRequested())
        inner->Spend(std::string("was stopped by ") + StopSignal::GetName());
    for (WorkMeter* meter = inner; meter; meter = meter->m_Outer)
        if (meter->m_Used > meter->m_Units) {
            const std::string reason =
                "needs more than " + std::to_string(meter->m_Units) + " steps of work";
            if (meter->m_Reason.empty())
                meter->m_Reason = reason;
            inner->Spend(reason);
        }
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
