#pragma once
// Limits on a script that runs text the game did not write (configuration, player cards,
// level files, image metadata): while a ScriptBudget lives, the state raises an error once
// the script has run the given number of instructions, once a stop of the program was asked
// for (StopSignal, unless told otherwise), or when an allocation would grow the state by more than
// the given bytes over what it held when the budget began. Once spent, the budget raises
// its error again at every instruction, so a script that catches it cannot go on. So a file that
// never ends, or that builds ever larger values, ends as a script error that names the file instead
// of a hang, an endless start-up or an exhausted machine.
//
// The hook and the allocator the state had before come back when the budget ends (a hook
// the script's own code installed meanwhile, the debugger's, stays). Main thread only;
// budgets on one state may nest, the innermost one counting.
#include <lua.hpp>

#include <cstddef>
#include <string>

class ScriptBudget
{
public:
    // stopOnSignal: whether a stop signal ends the script too. Files whose failure sets
    // them aside (the user's configuration and cards) are not cut short by it: they end
    // within their instructions anyway, and a file stopped half-way is no damaged file.
    ScriptBudget(lua_State* L, long long instructions, std::size_t bytes, bool stopOnSignal = true);
    ~ScriptBudget();
    ScriptBudget(const ScriptBudget&) = delete;
    ScriptBudget& operator=(const ScriptBudget&) = delete;

    // Why the script was cut short: "" when the budget never ran out, else a text to follow
    // "the file" in a message ("needs more than 128 MiB of memory").
    const std::string& GetReason() const MAKO_LIFETIMEBOUND { return m_Reason; }
    // Whether an allocation was refused.
    bool RanOutOfMemory() const { return m_OutOfMemory; }
    // Whether the budget ran out (instructions, memory or a stop).
    bool IsSpent() const { return m_Spent; }
    // The innermost live budget on the main thread; null when none.
    static ScriptBudget* Current();

private:
    static void Hook(lua_State* L, lua_Debug* debug);
    // Marks the budget spent for the reason (the first reason stays).
    void Spend(const std::string& reason);
    static void* Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize);

    lua_State* m_L;
    ScriptBudget* m_Outer;
    lua_Alloc m_PreviousAlloc;
    void* m_PreviousAllocData = nullptr;
    lua_Hook m_PreviousHook;
    int m_PreviousMask;
    int m_PreviousCount;
    long long m_Instructions;
    long long m_Ran = 0;
    long long m_Grown = 0;
    long long m_Cap;
    bool m_OutOfMemory = false;
    bool m_StopOnSignal;
    bool m_Spent = false;
    std::string m_Reason;
};

// The budget of every file the game reads from the user or a package: ten million
// instructions (far more than any list of values or level needs, so only a file that never
// ends reaches it) and 128 MiB of growth.
extern const long long kUserFileInstructionBudget;
extern const std::size_t kUserFileMemoryBudget;
