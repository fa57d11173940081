#include "lua/ScriptBudget.h"

#include "core/StopSignal.h"

#include <algorithm>

const long long kUserFileInstructionBudget = 10000000;
const std::size_t kUserFileMemoryBudget = std::size_t(128) << 20;

namespace {

// The innermost live budget; the hook and the allocator find their budget through it.
ScriptBudget* s_Innermost = nullptr;

// Instructions between two looks at the count and the stop signal: often enough that a
// stop is answered at once, rarely enough to cost nothing.
const int kHookStep = 100000;

} // namespace

ScriptBudget::ScriptBudget(lua_State* L, long long instructions, std::size_t bytes,
                           bool stopOnSignal)
    : m_L(L), m_Outer(s_Innermost), m_Instructions(instructions),
      m_Cap(static_cast<long long>(bytes)), m_StopOnSignal(stopOnSignal)
{
    m_PreviousAlloc = lua_getallocf(L, &m_PreviousAllocData);
    lua_setallocf(L, &ScriptBudget::Allocate, this);
    m_PreviousHook = lua_gethook(L);
    m_PreviousMask = lua_gethookmask(L);
    m_PreviousCount = lua_gethookcount(L);
    const int step = static_cast<int>(std::min<long long>(kHookStep, std::max(1LL, instructions)));
    lua_sethook(L, &ScriptBudget::Hook, LUA_MASKCOUNT, step);
    s_Innermost = this;
}

ScriptBudget* ScriptBudget::Current()
{
    return s_Innermost;
}

ScriptBudget::~ScriptBudget()
{
    s_Innermost = m_Outer;
    if (lua_gethook(m_L) == &ScriptBudget::Hook)
        lua_sethook(m_L, m_PreviousHook, m_PreviousMask, m_PreviousCount);
    lua_setallocf(m_L, m_PreviousAlloc, m_PreviousAllocData);
}

void ScriptBudget::Hook(lua_State* L, lua_Debug*)
{
    ScriptBudget* budget = s_Innermost;
    if (!budget)
        return;
    if (budget->m_Spent)
        luaL_error(L, "the file %s", budget->m_Reason.c_str());
    budget->m_Ran += lua_gethookcount(L);
    if (budget->m_StopOnSignal && StopSignal::IsRequested())
        budget->Spend(std::string("was stopped by ") + StopSignal::GetName());
    else if (budget->m_Ran >= budget->m_Instructions)
        budget->Spend("did not finish within " + std::to_string(budget->m_Instructions) +
                      " instructions");
    if (budget->m_Spent)
        luaL_error(L, "the file %s", budget->m_Reason.c_str());
}

void ScriptBudget::Spend(const std::string& reason)
{
    if (m_Spent)
        return;
    m_Spent = true;
    m_Reason = reason;
    // From now on every instruction raises the error again: a handler that caught it (a
    // pcall, a native function's own protected call) cannot run on.
    if (lua_gethook(m_L) == &ScriptBudget::Hook)
        lua_sethook(m_L, &ScriptBudget::Hook, LUA_MASKCOUNT, 1);
}

void* ScriptBudget::Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize)
{
    auto* budget = static_cast<ScriptBudget*>(self);
    const long long change = static_cast<long long>(newSize) - static_cast<long long>(oldSize);
    if (newSize > 0 && change > 0 && budget->m_Grown + change > budget->m_Cap) {
        if (!budget->m_OutOfMemory)
            budget->Spend("needs more than " + std::to_string(budget->m_Cap >> 20) +
                          " MiB of memory");
        budget->m_OutOfMemory = true;
        return nullptr;
    }
    void* result = budget->m_PreviousAlloc(budget->m_PreviousAllocData, block, oldSize, newSize);
    if (result || newSize == 0)
        budget->m_Grown += change;
    return result;
}
