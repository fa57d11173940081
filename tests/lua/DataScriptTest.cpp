// The runner of data files and its budget: a spent budget cannot be caught by pcall or a
// coroutine, strings reach only bounded methods while a data file runs (and the full
// library again after), and a file that computes gets its own copies of the libraries.
#include "lua/DataScript.h"
#include "lua/ScriptBudget.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <chrono>

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

} // namespace

TEST_F(DataScriptTest, ASpentBudgetCannotBeCaughtByPcallOrACoroutine)
{
    // On the full library (the start-up script's state), under the budget alone.
    const char* const scripts[] = {
        "while true do pcall(function() while true do end end) end",
        "while true do pcall(pcall, function() while true do end end) end",
        "while true do coroutine.resume(coroutine.create(function() while true do end end)) end",
        "local t = {} while true do pcall(function() for i = 1, 1e9 do t[i] = {} end end) end",
    };
    for (const char* script : scripts) {
        SCOPED_TRACE(script);
        const auto start = std::chrono::steady_clock::now();
        std::string reason;
        {
            ScriptBudget budget(L(), 2000000, std::size_t(16) << 20);
            ASSERT_EQ(0, luaL_loadstring(L(), script));
            EXPECT_NE(0, lua_pcall(L(), 0, 0, 0));
            lua_pop(L(), 1);
            EXPECT_TRUE(budget.IsSpent());
            reason = budget.GetReason();
        }
        EXPECT_LT(std::chrono::steady_clock::now() - start, std::chrono::seconds(5));
        EXPECT_FALSE(reason.empty());
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
        {"local s = ('x'):rep(2^20) while true do s = s .. s end", LUA_ERRMEM,
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
