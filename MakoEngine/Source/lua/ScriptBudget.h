#pragma once
// Limits on a script that runs text the game did not write (configuration, player cards,
// level files, image metadata). While a ScriptBudget lives, the state raises an error once
// the script
// - has run the given number of instructions,
// - has allocated the given number of bytes in all (every allocation counts its whole size,
//   however soon it is freed: making and copying values is work, not only keeping them),
// - would grow the state by more than the given bytes over what it held when the budget
//   began (that allocation is refused),
// - has used the given processor time of its thread (this bounds work that neither counts
//   as instructions nor allocates, such as comparing or re-making long strings), or
// - when a stop of the program is asked for (StopSignal).
// The processor time and a stop are answered at the script's next instruction: a timer of
// the thread's processor clock and the stop signal's handler wake the budget through a
// signal of its own (kBudgetWakeSignal), so neither waits for the next count. Once spent, the
// budget raises its error again at every instruction, so a script that catches it cannot go
// on. So a file that never ends, or that builds ever larger values, ends as a script error
// that names the file instead of a hang, an endless start-up or an exhausted machine.
//
// The hook and the allocator the state had before come back when the budget ends (a hook
// the script's own code installed meanwhile, the debugger's, stays). Main thread only;
// budgets on one state may nest, the innermost one counting.
#include <lua.hpp>

#include <csignal>
#include <cstddef>
#include <ctime>
#include <string>

struct ScriptLimits
{
    long long instructions;
    std::size_t growth;      // bytes the state may grow by
    std::size_t allocations; // bytes the script may allocate in all
    double seconds;          // processor time of the thread
};

// The signal the budget wakes itself with. Its handler is the budget's while the outermost
// budget lives (a stray one does nothing); the handler from before comes back when it ends.
extern const int kBudgetWakeSignal;

class ScriptBudget
{
public:
    ScriptBudget(lua_State* L, const ScriptLimits& limits);
    ~ScriptBudget();
    ScriptBudget(const ScriptBudget&) = delete;
    ScriptBudget& operator=(const ScriptBudget&) = delete;

    // Why the script was cut short: "" when the budget never ran out, else a text to follow
    // "the file" in a message ("needs more than 128 MiB of memory").
    const std::string& GetReason() const MAKO_LIFETIMEBOUND { return m_Reason; }
    // Whether an allocation was refused.
    bool RanOutOfMemory() const { return m_OutOfMemory; }
    // Whether the budget ran out (instructions, allocations, memory, time or a stop).
    bool IsSpent() const { return m_Spent; }
    // The instructions run so far (counted at each look, which comes at most kHookStep
    // instructions apart) and the bytes allocated so far.
    long long GetInstructions() const { return m_Ran; }
    long long GetAllocated() const { return m_Allocated; }
    // The innermost live budget on the main thread; null when none.
    static ScriptBudget* Current();

    // Instructions between two counts of the instructions run.
    static const int kHookStep = 1000;

private:
    static void Hook(lua_State* L, lua_Debug* debug);
    static void* Allocate(void* self, void* block, std::size_t oldSize, std::size_t newSize);
    // Marks the budget spent for the reason (the first reason stays).
    void Spend(const std::string& reason);
    // Whether the thread has used the processor time this budget allows.
    bool IsOutOfTime() const;

    lua_State* m_L;
    ScriptBudget* m_Outer;
    lua_Alloc m_PreviousAlloc;
    void* m_PreviousAllocData = nullptr;
    lua_Hook m_PreviousHook;
    int m_PreviousMask;
    int m_PreviousCount;
    ScriptLimits m_Limits;
    double m_Deadline; // the thread's processor clock, in seconds, when the time is spent
    int m_Step;
    int m_Looks = 0;
    long long m_Ran = 0;
    long long m_Grown = 0;
    long long m_Allocated = 0;
    bool m_OutOfMemory = false;
    bool m_Spent = false;
    std::string m_Reason;
};

// The time the budget's timer is armed with for a deadline on the thread's processor
// clock, in seconds: a valid time (nanoseconds below a second) no earlier than the deadline,
// rounded up to a nanosecond; 1 ns (at once) for a deadline past or not a number, and
// kLatestTimerSeconds for one later than that (a limit of "forever").
constexpr long kLatestTimerSeconds = 1000000000L;
timespec ScriptBudgetTimerValue(double deadline);

// The budget of every file the game reads from the user or a package: ten million
// instructions (far more than any list of values or level needs, so only a file that never
// ends reaches it), 1 GiB of allocations, 128 MiB of growth and 2 seconds of processor time.
extern const ScriptLimits kUserFileLimits;
