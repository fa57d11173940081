#pragma once
// Failures that tests have asked for (FailNext), consumed by the operations they name.
#include "ddraw/WinTypes.h"

#include <map>
#include <string>

namespace ddrawx {

class FaultInjector
{
public:
    static FaultInjector& Get();

    void Arm(const char* operation, HRESULT result, int times);
    // The failure due for this call of the operation, or S_OK when none is armed.
    HRESULT Take(const char* operation);
    void Clear() { m_Pending.clear(); }

private:
    struct Pending
    {
        HRESULT result;
        int times;
    };
    std::map<std::string, Pending> m_Pending;
};

// Returns from the calling operation with the armed failure, if any.
#define DDRAWX_INJECT(operation)                                                                   \
    do {                                                                                           \
        HRESULT injected_ = ::ddrawx::FaultInjector::Get().Take(operation);                        \
        if (FAILED(injected_))                                                                     \
            return injected_;                                                                      \
    } while (0)

} // namespace ddrawx
