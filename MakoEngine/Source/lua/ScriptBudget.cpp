#include "lua/ScriptBudget.h"

#include "core/Log.h"
#include "core/StopSignal.h"

#include <pthread.h>
#include <sched.h>
#include <unistd.h>

#include <algorithm>
#include <atomic>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <ctime>

const ScriptLimits kUserFileLimits = {10000000, std::size_t(128) << 20, std::size_t(1) << 30, 1.5};
const int kBudgetWakeSignal = SIGXCPU;

timespec ScriptBudgetTimerValue(double deadline)
{
    // Whole nanoseconds, rounded up, so the timer never fires before the deadline.
    const double nanoseconds = std::ceil(deadline * 1e9);
    const double latest = double(kLatestTimerSeconds) * 1e9;
    // A zero time would disarm the timer: one already past is 1 ns, which fires at once.
    timespec value{0, 1};
    if (!(nanoseconds > 1)) // not a number, or already past
        return value;
    if (nanoseconds >= latest) {
        value.tv_sec = kLatestTimerSeconds;
        value.tv_nsec = 0;
        return value;
    }
    const long long whole = static_cast<long long>(nanoseconds);
    value.tv_sec = static_cast<time_t>(whole / 1000000000LL);
    value.tv_nsec = static_cast<long>(whole % 1000000000LL);
    return value;
}

namespace {

// The innermost live budget; the hook and the allocator find their budget through it.
ScriptBudget* s_Innermost = nullptr;

// What the wake signal's handler reaches: the state of the innermost budget and the thread
// it runs on. Set before the budget starts counting and cleared before it ends.
std::atomic<lua_State*> s_WakeState{nullptr};
std::atomic<pthread_t> s_WakeThread{};
static_assert(std::atomic<lua_State*>::is_always_lock_free, "the wake handler reads it");

// The budget's hook, for the wake handler to know it.
std::atomic<lua_Hook> s_BudgetHook{nullptr};

// One timer of the budget thread's processor clock, made by the outermost budget and
// deleted with it; nested budgets set it to the earliest deadline.
timer_t s_Timer;
bool s_HaveTimer = false;

double ThreadSeconds()
{
    timespec now{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) * 1e-9;
}

// The looks that read the processor clock without being woken while the timer is armed
// (should a wake be lost): one in this many.
const int kClockLookEvery = 16;

// Whether the timer wakes the budget at its deadline; when it cannot (no timer, or the
// system refused the time), the hook reads the processor clock at every look instead.
bool s_TimerArmed = false;

void ArmTimer(double deadline)
{
    s_TimerArmed = false;
    if (!s_HaveTimer)
        return;
    itimerspec when{};
    when.it_value = ScriptBudgetTimerValue(deadline);
    s_TimerArmed = timer_settime(s_Timer, TIMER_ABSTIME, &when, nullptr) == 0;
    if (!s_TimerArmed)
        Log("Warning: the script budget's timer could not be armed (%s); the processor time "
            "is read at every count instead.\n",
            std::strerror(errno));
}

} // namespace

// Async-signal-safe: makes the hook of the running budget come at the next instruction
// (setting a hook is what a signal handler may do to a state).
extern "C" void OnBudgetWake(int)
{
    const int saved = errno;
    lua_State* L = s_WakeState.load();
    const lua_Hook hook = s_BudgetHook.load();
    if (L && hook && lua_gethook(L) == hook)
        lua_sethook(L, hook, LUA_MASKCOUNT, 1);
    errno = saved;
}

namespace {

// Wakes being sent by the stop handler now: the outermost budget waits for them to be sent
// before it gives the signal back.
std::atomic<int> s_WakesInFlight{0};

// Async-signal-safe: called by the stop signal's handler on whatever thread took it.
void WakeBudgetThread()
{
    ++s_WakesInFlight;
    if (s_WakeState.load())
        pthread_kill(s_WakeThread.load(), kBudgetWakeSignal);
    --s_WakesInFlight;
}

// The wake signal's handler from before the outermost budget began.
struct sigaction s_PreviousWakeAction;

// Made the wake signal's handler the budget's, for the outermost budget's life.
void InstallWakeHandler()
{
    static bool wakerSet = false;
    if (!wakerSet) {
        wakerSet = true;
        StopSignal::SetWaker(&WakeBudgetThread);
    }
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = &OnBudgetWake;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(kBudgetWakeSignal, &action, &s_PreviousWakeAction);
}

// Gives the wake signal back to the handler it had before the outermost budget, once no
// wake of the budget can still come: the wake state is cleared and the timer deleted, the
// stop handler's wakes in flight have been sent, and those already sent are taken here.
void RestoreWakeHandler()
{
    while (s_WakesInFlight.load() != 0)
        sched_yield();
    sigset_t wake, previousMask;
    sigemptyset(&wake);
    sigaddset(&wake, kBudgetWakeSignal);
    pthread_sigmask(SIG_BLOCK, &wake, &previousMask);
    const timespec none{0, 0};
    while (sigtimedwait(&wake, nullptr, &none) == kBudgetWakeSignal) {
    }
    sigaction(kBudgetWakeSignal, &s_PreviousWakeAction, nullptr);
    pthread_sigmask(SIG_SETMASK, &previousMask, nullptr);
}

void MakeTimer()
{
    sigevent event{};
    event.sigev_notify = SIGEV_THREAD_ID;
    event.sigev_signo = kBudgetWakeSignal;
    event._sigev_un._tid = gettid();
    s_HaveTimer = timer_create(CLOCK_THREAD_CPUTIME_ID, &event, &s_Timer) == 0;
}

} // namespace

ScriptBudget::ScriptBudget(lua_State* L, const ScriptLimits& limits)
    : m_L(L), m_Outer(s_Innermost), m_Limits(limits)
{
    s_BudgetHook.store(&ScriptBudget::Hook);
    m_Deadline = ThreadSeconds() + limits.seconds;
    if (m_Outer) {
        m_Deadline = std::min(m_Deadline, m_Outer->m_Deadline);
    } else {
        InstallWakeHandler();
        MakeTimer();
    }
    m_PreviousAlloc = lua_getallocf(L, &m_PreviousAllocData);
    lua_setallocf(L, &ScriptBudget::Allocate, this);
    m_PreviousHook = lua_gethook(L);
    m_PreviousMask = lua_gethookmask(L);
    m_PreviousCount = lua_gethookcount(L);
    m_Step = static_cast<int>(std::min<long long>(kHookStep, std::max(1LL, limits.instructions)));
    lua_sethook(L, &ScriptBudget::Hook, LUA_MASKCOUNT, m_Step);
    s_Innermost = this;
    s_WakeThread.store(pthread_self());
    s_WakeState.store(L);
    ArmTimer(m_Deadline);
    // A stop asked for before the budget began is answered at its first instruction.
    if (StopSignal::IsRequested())
        lua_sethook(L, &ScriptBudget::Hook, LUA_MASKCOUNT, 1);
}

ScriptBudget* ScriptBudget::Current()
{
    return s_Innermost;
}

ScriptBudget::~ScriptBudget()
{
    s_WakeState.store(m_Outer ? m_Outer->m_L : nullptr);
    s_Innermost = m_Outer;
    if (m_Outer) {
        ArmTimer(m_Outer->m_Deadline);
    } else {
        if (s_HaveTimer)
            timer_delete(s_Timer);
        s_HaveTimer = false;
        s_TimerArmed = false;
        RestoreWakeHandler();
    }
    if (lua_gethook(m_L) == &ScriptBudget::Hook)
        lua_sethook(m_L, m_PreviousHook, m_PreviousMask, m_PreviousCount);
    lua_setallocf(m_L, m_PreviousAlloc, m_PreviousAllocData);
}

bool ScriptBudget::IsOutOfTime() const
{
    return ThreadSeconds() >= m_Deadline;
}

void ScriptBudget::Hook(lua_State* L, lua_Debug*)
{
    ScriptBudget* budget = s_Innermost;
    if (!budget)
        return;
    if (budget->m_Spent)
        luaL_error(L, "the file %s", budget->m_Reason.c_str());
    const int count = lua_gethookcount(L);
    budget->m_Ran += count;
    // Woken (the count is not the step) or every few looks: the processor clock.
    const bool woken = count != budget->m_Step;
    const bool readClock = woken || !s_TimerArmed || ++budget->m_Looks % kClockLookEvery == 0;
    if (StopSignal::IsRequested()) {
        budget->Spend(std::string("was stopped by ") + StopSignal::GetName());
    } else if (readClock && budget->IsOutOfTime()) {
        char seconds[32];
        std::snprintf(seconds, sizeof seconds, "%g", budget->m_Limits.seconds);
        budget->Spend(std::string("did not finish within ") + seconds +
                      " seconds of processor time");
    } else if (budget->m_Ran >= budget->m_Limits.instructions) {
        budget->Spend("did not finish within " + std::to_string(budget->m_Limits.instructions) +
                      " instructions");
    } else if (woken) {
        lua_sethook(L, &ScriptBudget::Hook, LUA_MASKCOUNT, budget->m_Step);
    }
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
    if (change > 0) {
        if (budget->m_Grown + change > static_cast<long long>(budget->m_Limits.growth)) {
            if (!budget->m_OutOfMemory)
                budget->Spend("needs more than " + std::to_string(budget->m_Limits.growth >> 20) +
                              " MiB of memory");
            budget->m_OutOfMemory = true;
            return nullptr;
        }
        // The whole block is work: a grown block is copied, a new one filled.
        budget->m_Allocated += static_cast<long long>(newSize);
        if (budget->m_Allocated > static_cast<long long>(budget->m_Limits.allocations))
            budget->Spend("did not finish within " +
                          std::to_string(budget->m_Limits.allocations >> 20) +
                          " MiB of allocations");
    }
    void* result = budget->m_PreviousAlloc(budget->m_PreviousAllocData, block, oldSize, newSize);
    if (result || newSize == 0)
        budget->m_Grown += change;
    return result;
}
