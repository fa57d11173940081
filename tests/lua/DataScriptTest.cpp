// The runner of data files and its budget: a spent budget cannot be caught by pcall or a
// coroutine, every allocation counts as work, a stop signal is answered at the next
// instruction, strings reach only bounded methods while a data file runs (and the full
// library again after), and a file that computes gets its own copies of the libraries. The
// search for functions a file made names every key and looks into metatables. The budget's
// timer is armed with a valid time for any deadline, and its wake signal's handler is the
// budget's only while a budget lives.
#include "lua/DataScript.h"
#include "core/StopSignal.h"
#include "core/WorkMeter.h"
#include "lua/ScriptBudget.h"
#include "support/HostileScripts.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <csignal>
#include <cstring>
#include <ctime>
#include <limits>

using LuaPlus::LuaObject;

namespace {

class DataScriptTest : public bbtest::LuaFixture
{
protected:
    // Runs text as a data file seeing environment; its status, with the reason in m_Error.
    int RunData(const std::string& text, const LuaObject& environment)
    {
        m_Error.clear();
        return DataScript::Run(State(), text, "=test", environment, "test file", m_Error);
    }
    // A fresh environment holding the given globals of the state.
    LuaObject Environment(const std::vector<std::string>& shared = {})
    {
        return DataScript::MakeEnvironment(State(), shared);
    }

    std::string m_Error;
};

int s_OwnWakes = 0;
void CountOwnWake(int)
{
    ++s_OwnWakes;
}

// The handler of the budget's wake signal now.
void (*WakeHandler())(int)
{
    struct sigaction now;
    sigaction(kBudgetWakeSignal, nullptr, &now);
    return now.sa_handler;
}

} // namespace

TEST(ScriptBudgetTimer, EveryDeadlineArmsAValidTimeNoEarlierThanItself)
{
    const double inf = std::numeric_limits<double>::infinity();
    const double deadlines[] = {
        0,      1e-10, 0.5, 5.9999999999, 0.9999999995, 1234.99999999999, 2e9,
        9.3e18, 1e300, inf, -1,           -inf,         std::nan("")};
    // The system is the judge of a valid time: a timer of the thread's clock that signals
    // nothing is armed with each.
    sigevent quiet{};
    quiet.sigev_notify = SIGEV_NONE;
    timer_t timer;
    ASSERT_EQ(0, timer_create(CLOCK_THREAD_CPUTIME_ID, &quiet, &timer));
    for (const double deadline : deadlines) {
        SCOPED_TRACE(deadline);
        const timespec value = ScriptBudgetTimerValue(deadline);
        EXPECT_GE(value.tv_sec, 0);
        EXPECT_GE(value.tv_nsec, 0);
        EXPECT_LT(value.tv_nsec, 1000000000L);
        // Not before the deadline (one the clock reaches within a life is kept to the
        // nanosecond), and never waking at once for one far away.
        if (deadline >= 0 && deadline < 1e9) {
            EXPECT_GE((long double)value.tv_sec + (long double)value.tv_nsec * 1e-9L,
                      (long double)deadline - 1e-9L);
        } else if (deadline >= 1e9) {
            EXPECT_GE(value.tv_sec, 1000000000L);
        }
        itimerspec when{};
        when.it_value = value;
        EXPECT_EQ(0, timer_settime(timer, TIMER_ABSTIME, &when, nullptr)) << std::strerror(errno);
    }
    timer_delete(timer);
}

TEST_F(DataScriptTest, TheWakeSignalIsTheBudgetsOnlyWhileABudgetLives)
{
    struct sigaction own, before;
    std::memset(&own, 0, sizeof own);
    own.sa_handler = &CountOwnWake;
    sigemptyset(&own.sa_mask);
    ASSERT_EQ(0, sigaction(kBudgetWakeSignal, &own, &before));
    s_OwnWakes = 0;
    {
        ScriptBudget outer(L(), kUserFileLimits);
        EXPECT_NE(WakeHandler(), &CountOwnWake);
        {
            ScriptBudget inner(L(), kUserFileLimits);
        }
        EXPECT_NE(WakeHandler(), &CountOwnWake) << "the outer budget still counts";
    }
    EXPECT_EQ(WakeHandler(), &CountOwnWake);
    EXPECT_EQ(0, RunData("x = 1", Environment())) << m_Error;
    EXPECT_EQ(WakeHandler(), &CountOwnWake);
    // No wake of a budget reached the program's own handler; its own signal does.
    EXPECT_EQ(0, s_OwnWakes);
    raise(kBudgetWakeSignal);
    EXPECT_EQ(1, s_OwnWakes);

    // A budget after that is woken by its timer again: its processor time ends the script.
    const ScriptLimits shortTime = {std::numeric_limits<long long>::max(), std::size_t(16) << 20,
                                    std::size_t(1) << 30, 0.05};
    std::string reason;
    {
        ScriptBudget budget(L(), shortTime);
        ASSERT_EQ(0, luaL_loadstring(L(), "while true do end"));
        EXPECT_NE(0, lua_pcall(L(), 0, 0, 0));
        lua_pop(L(), 1);
        reason = budget.GetReason();
    }
    EXPECT_EQ("did not finish within 0.05 seconds of processor time", reason);
    EXPECT_EQ(1, s_OwnWakes);
    sigaction(kBudgetWakeSignal, &before, nullptr);
}

TEST_F(DataScriptTest, ASpentBudgetCannotBeCaughtByPcallOrACoroutine)
{
    // On the full library (the start-up script's state), under the budget alone.
    const char* const scripts[] = {
        "while true do pcall(function() while true do end end) end",
        "while true do pcall(pcall, function() while true do end end) end",
        "while true do coroutine.resume(coroutine.create(function() while true do end end)) end",
        "local t = {} while true do pcall(function() for i = 1, 1e9 do t[i] = {} end end) end",
    };
    // The processor time is a bound no machine reaches within these counts: each script ends
    // on its instructions or its memory, and nothing it caught let it run on past the limit.
    const ScriptLimits limits = {2000000, std::size_t(16) << 20, std::size_t(1) << 30, 600};
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        std::string reason;
        {
            ScriptBudget budget(L(), limits);
            ASSERT_EQ(0, luaL_loadstring(L(), script));
            EXPECT_NE(0, lua_pcall(L(), 0, 0, 0));
            lua_pop(L(), 1);
            EXPECT_TRUE(budget.IsSpent());
            EXPECT_LE(budget.GetInstructions(), limits.instructions + ScriptBudget::kHookStep);
            reason = budget.GetReason();
        }
        EXPECT_TRUE(reason == "did not finish within 2000000 instructions" ||
                    reason == "needs more than 16 MiB of memory")
            << reason;
        lua_gc(L(), LUA_GCCOLLECT, 0);
    }
    // The budget ended with its script: the state runs long scripts again.
    Run("local n = 0 for i = 1, 3000000 do n = n + 1 end counted = n");
    EXPECT_EQ(3000000, GlobalNumber("counted"));
}

TEST_F(DataScriptTest, StringsReachOnlyBoundedMethodsWhileADataFileRuns)
{
    LuaObject environment = Environment();
    Run("function Keep(...) kept = { ... } end");
    environment.SetObject("Keep", State()->GetGlobal("Keep"));

    EXPECT_EQ(0, RunData("Keep(('ab'):rep(3), ('abc'):upper(), ('abc'):sub(2), #('x'):rep(1000))",
                         environment))
        << m_Error;
    EXPECT_EQ("ababab", Global("kept")[1].ToString());
    EXPECT_EQ("ABC", Global("kept")[2].ToString());
    EXPECT_EQ("bc", Global("kept")[3].ToString());
    EXPECT_EQ(1000, Global("kept")[4].GetInteger());

    struct Refused
    {
        const char* text;
        int status;
        const char* reason;
    } const refused[] = {
        {"local x = ('a'):rep(3000):find('.-.-.-b')", LUA_ERRRUN, "attempt to call method 'find'"},
        {"for w in ('a b'):gmatch('%a') do end", LUA_ERRRUN, "attempt to call method 'gmatch'"},
        {"local x = (''):rep(1e15)", LUA_ERRRUN,
         "string.rep: the result would be longer than 1048576 bytes"},
        {"local x = ('xy'):rep(2^20)", LUA_ERRRUN, "string.rep: the result would be longer"},
        {"local x = string.find('a', 'a')", LUA_ERRRUN, "attempt to call field 'find'"},
        {bbtest::kGrowsWithoutEnd, LUA_ERRMEM,
         "the file needs more than 128 MiB of memory"},
    };
    for (const Refused& r : refused) {
        EXPECT_EQ(r.status, RunData(r.text, environment)) << r.text;
        EXPECT_NE(std::string::npos, m_Error.find(r.reason)) << r.text << ": " << m_Error;
    }
    // After every run, failed or not, game scripts have the whole library again.
    Run("found = ('abc'):find('b') matched = string.match('k=v', '(%a)=')");
    EXPECT_EQ(2, GlobalNumber("found"));
    EXPECT_EQ("k", GlobalString("matched"));
}

TEST_F(DataScriptTest, AComputingFileHasItsOwnLibrariesAndOnlyTheNamedGlobals)
{
    Run("Shared = { } function Helper(x) return x * 2 end Hidden = 1");
    LuaObject environment = Environment({"Shared", "Helper", "Missing"});
    EXPECT_EQ(0, RunData(R"lua(
        local t = { 'b', 'd' }
        table.insert(t, 'e')
        table.insert(t, 1, 'a')
        table.insert(t, 3, 'c')
        local last = table.remove(t)
        local first = table.remove(t, 1)
        Shared.list = table.concat(t, ',') .. '|' .. first .. last .. '|' .. table.getn(t)
        Shared.helped = Helper(21) + math.floor(2.5)
        Shared.hidden = tostring(Hidden) .. tostring(io) .. tostring(os) .. tostring(require) ..
                        tostring(debug) .. tostring(loadstring) .. tostring(setfenv) ..
                        tostring(getmetatable) .. tostring(coroutine) .. tostring(math.random) ..
                        tostring(Missing) .. tostring(string.find)
        math.floor = nil
        table.insert = nil
        string.sub = nil
    )lua",
                         environment))
        << m_Error;
    EXPECT_EQ("b,c,d|ae|3", Global("Shared")["list"].ToString());
    EXPECT_EQ(44, Global("Shared")["helped"].GetInteger());
    EXPECT_EQ("nilnilnilnilnilnilnilnilnilnilnilnil", Global("Shared")["hidden"].ToString());
    // The file changed only its copies.
    Run("ok = math.floor(1.5) == 1 and table.insert ~= nil and string.sub('ab', 2) == 'b'");
    EXPECT_TRUE(GlobalBoolean("ok"));
}

TEST_F(DataScriptTest, PrecompiledChunksAreRefused)
{
    EXPECT_EQ(LUA_ERRSYNTAX, RunData(std::string(LUA_SIGNATURE) + "junk", Environment()));
    EXPECT_EQ("the file is a precompiled chunk, not text", m_Error);
}

TEST_F(DataScriptTest, PathsNameEveryNumberKeyAndRepTakesEveryCount)
{
    // Numbers that no integer holds are written as the script writes them.
    LuaObject environment = Environment();
    Run("Found = {}");
    environment.SetObject("Found", Global("Found"));
    ASSERT_EQ(0, RunData("local f = function() end\n"
                         "Found[1] = { [1.5] = f }\n"
                         "Found[2] = { [1e300] = f }\n"
                         "Found[3] = { [math.huge] = f }\n"
                         "Found[4] = { [-math.huge] = f }\n"
                         "Found[5] = { [-2^63] = f }\n"
                         "Found[6] = { [7] = f }\n",
                         environment))
        << m_Error;
    const char* const paths[] = {"[1.5]", "[1e+300]", "[inf]", "[-inf]", "[-9.2233720368548e+18]",
                                 "[7]"};
    for (int i = 0; i < 6; ++i)
        EXPECT_EQ(paths[i], DataScript::FindOwnFunction(Global("Found")[i + 1], environment));

    // A count that is no number of times is refused; none or fewer than none makes "".
    struct Rep
    {
        const char* text;
        const char* result; // null: refused
    } const reps[] = {
        {"Found.r = ('x'):rep(0/0)", nullptr}, {"Found.r = (''):rep(0/0)", nullptr},
        {"Found.r = ('x'):rep(-1e300)", ""},   {"Found.r = ('x'):rep(-1/0)", ""},
        {"Found.r = ('x'):rep(1/0)", nullptr}, {"Found.r = ('ab'):rep(2.9)", "abab"},
        {"Found.r = (''):rep(1e15)", nullptr}, {"Found.r = ('x'):rep(2^31)", nullptr},
    };
    for (const Rep& rep : reps) {
        Run("Found.r = nil");
        const int status = RunData(rep.text, environment);
        if (rep.result) {
            EXPECT_EQ(0, status) << rep.text << ": " << m_Error;
            EXPECT_EQ(rep.result, Global("Found")["r"].ToString()) << rep.text;
        } else {
            EXPECT_EQ(LUA_ERRRUN, status) << rep.text;
            EXPECT_NE(std::string::npos, m_Error.find("string.rep: "))
                << rep.text << ": " << m_Error;
        }
    }
}

TEST_F(DataScriptTest, TheOwnFunctionSearchLooksIntoKeysAndMetatables)
{
    LuaObject environment = Environment();
    Run("Found = {}");
    environment.SetObject("Found", Global("Found"));
    ASSERT_EQ(0, RunData("Found.f = function() end", environment)) << m_Error;
    // Tables the game's scripts give a metatable (a data file cannot) are searched there too.
    Run("Found.keyed = { [{ deep = { Found.f } }] = true }\n"
        "Found.meta = setmetatable({}, { __index = { x = Found.f } })\n"
        "Found.own = function() end");
    EXPECT_EQ("[table].deep[1]",
              DataScript::FindOwnFunction(Global("Found")["keyed"], environment));
    EXPECT_EQ("(metatable).__index.x",
              DataScript::FindOwnFunction(Global("Found")["meta"], environment));
    // The game's own functions are not the file's.
    EXPECT_EQ("", DataScript::FindOwnFunction(Global("Found")["own"], environment));
}

TEST_F(DataScriptTest, DepthIsNoFunctionAndTheSearchIsMetered)
{
    // A table nested far deeper than any level holds no function however deep it goes;
    // one at the bottom is found with its whole path.
    LuaObject environment = Environment();
    Run("Found = {}");
    environment.SetObject("Found", Global("Found"));
    ASSERT_EQ(0, RunData("local t = {} Found.deep = t\n"
                         "for i = 1, 5000 do t[1] = {} t = t[1] end\n"
                         "local u = {} Found.bottom = u\n"
                         "for i = 1, 5000 do u[1] = {} u = u[1] end u.f = function() end\n",
                         environment))
        << m_Error;
    EXPECT_EQ("", DataScript::FindOwnFunction(Global("Found")["deep"], environment));
    std::string bottom;
    for (int i = 0; i < 5000; ++i)
        bottom += "[1]";
    EXPECT_EQ(bottom + ".f", DataScript::FindOwnFunction(Global("Found")["bottom"], environment));

    // Each entry looked at is work of the file's meter: a search longer than it allows ends.
    WorkMeter meter("test file", 1000);
    EXPECT_THROW(DataScript::FindOwnFunction(Global("Found")["deep"], environment), WorkSpent);
    EXPECT_EQ("test file needs more than 1000 steps of work", meter.Describe());
}

TEST_F(DataScriptTest, EveryAllocationCountsAsWorkThoughItIsFreedAtOnce)
{
    // Little is kept, but every pass makes and drops 64 KiB: the instructions would allow
    // 128 GiB of copying. The processor time is a bound no machine reaches within the count.
    const ScriptLimits limits = {std::numeric_limits<long long>::max(), std::size_t(16) << 20,
                                 std::size_t(64) << 20, 600};
    std::string reason;
    {
        ScriptBudget budget(L(), limits);
        ASSERT_EQ(0, luaL_loadstring(L(), "local s = ('x'):rep(65536) local i = 0\n"
                                          "while true do i = i + 1 local t = s .. i end"));
        EXPECT_NE(0, lua_pcall(L(), 0, 0, 0));
        lua_pop(L(), 1);
        reason = budget.GetReason();
    }
    EXPECT_EQ("did not finish within 64 MiB of allocations", reason);
}

namespace {

// Sends the process SIGTERM, as a user's kill would, from inside a running data file.
int RaiseStop(lua_State*)
{
    ::kill(::getpid(), SIGTERM);
    return 0;
}

} // namespace

TEST_F(DataScriptTest, AStopSignalIsAnsweredAtTheNextInstruction)
{
    // In a child process of its own: the stop handlers stay out of the test program.
    const pid_t child = ::fork();
    if (child == 0) {
        StopSignal::Install();
        LuaObject environment = Environment();
        Run("Count = {}");
        environment.SetObject("Count", Global("Count"));
        lua_pushcfunction(L(), &RaiseStop);
        environment.SetObject("RaiseStop", LuaObject(State(), -1));
        lua_pop(L(), 1);
        const int status = RunData("RaiseStop() local n = 0\n"
                                   "while true do n = n + 1 Count.n = n end",
                                   environment);
        // Not a count of thousands of instructions later: at once.
        const LuaObject n = Global("Count")["n"];
        const bool prompt = n.IsNil() || n.GetInteger() < 10;
        std::_Exit(status == LUA_ERRRUN && m_Error == "the file was stopped by SIGTERM" && prompt
                       ? 0
                       : 1 + (prompt ? 0 : 2));
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    ASSERT_TRUE(WIFEXITED(status)) << status;
    EXPECT_EQ(0, WEXITSTATUS(status)) << "1: not stopped by the signal, 3: stopped late";
}
