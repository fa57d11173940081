#include "ddraw/FaultInjector.h"

namespace ddrawx {

FaultInjector& FaultInjector::Get()
{
    static FaultInjector instance;
    return instance;
}

void FaultInjector::Arm(const char* operation, HRESULT result, int times)
{
    if (times <= 0 || SUCCEEDED(result)) {
        m_Pending.erase(operation);
        return;
    }
    m_Pending[operation] = Pending{result, times};
}

HRESULT FaultInjector::Take(const char* operation)
{
    if (m_Pending.empty())
        return S_OK;
    auto it = m_Pending.find(operation);
    if (it == m_Pending.end())
        return S_OK;
    HRESULT result = it->second.result;
    if (--it->second.times <= 0)
        m_Pending.erase(it);
    return result;
}

} // namespace ddrawx
