// Running scripts, calling functions, and carrying native exceptions across scripts.
#include "luaplus/LuaPlus.h"

#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

using namespace LuaPlus;

namespace {

// An exception type of the caller's own, to tell it from the wrapper's LuaException.
class FieldError : public std::runtime_error
{
public:
    FieldError(const std::string& message, int code) : std::runtime_error(message), m_Code(code) {}
    int Code() const { return m_Code; }

private:
    int m_Code;
};

// Native functions handed over as plain C functions: the wrapper runs them inside the error
// boundary, so they may throw freely.
int Fail(lua_State* L)
{
    throw FieldError(std::string("field failed: ") + luaL_optstring(L, 1, "?"), 7);
}

// Calls the Lua function given as argument 1 through a LuaObject, from inside a native
// function: the nested C++ caller.
int CallBack(lua_State* L)
{
    LuaObject result = LuaObject(L, 1).Call("inner");
    result.Push(L);
    return 1;
}

struct StateWithNatives
{
    StateWithNatives()
    {
        state->GetGlobals().SetCFunction("Fail", Fail).SetCFunction("CallBack", CallBack);
    }
    LuaStateOwner state;
};

} // namespace

TEST(LuaState, RunsTextAndReportsCompileAndRunErrors)
{
    LuaStateOwner state;
    state->DoString("x = 1 + 2");
    EXPECT_EQ(3, state->GetGlobal("x").GetInteger());
    try {
        state->DoString("x = = 1");
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("[string \"x = = 1\"]:1: unexpected symbol near '='", e.what());
    }
    try {
        state->DoBuffer("error('bad')", 12, "=chunk");
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("chunk:1: bad", e.what());
    }
    try {
        state->DoString("error({})");
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("(error object is a table value)", e.what());
    }
    LuaObject chunk = state->LoadString("return 5");
    EXPECT_EQ(5, chunk.Call().GetInteger());
    EXPECT_THROW(state->LoadString("return +"), LuaException);
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaState, FindsItsWrapperFromAnyThreadAndGivesStackViews)
{
    LuaStateOwner state;
    lua_State* L = state->GetCState();
    EXPECT_EQ(state.Get(), LuaState::CastState(L));
    lua_State* thread = lua_newthread(L);
    EXPECT_EQ(state.Get(), LuaState::CastState(thread));
    lua_pop(L, 1);
    lua_State* raw = luaL_newstate();
    EXPECT_EQ(nullptr, LuaState::CastState(raw));
    EXPECT_THROW(LuaObject(raw, 1), LuaException);
    lua_close(raw);

    lua_pushnumber(L, 4.5);
    lua_pushstring(L, "text");
    LuaStackObject number = state->Stack(1);
    LuaStackObject top = state->StackTop();
    EXPECT_EQ(2, top.GetIndex());
    EXPECT_DOUBLE_EQ(4.5, number.GetNumber());
    EXPECT_STREQ("text", top.GetString());
    EXPECT_THROW(top.GetNumber(), LuaException);
    LuaObject kept = top;
    state->Pop(2);
    EXPECT_STREQ("text", kept.GetString());
}

TEST(LuaState, AnErrorWithNoProtectedCallBecomesAnExceptionInsteadOfAnExit)
{
    LuaStateOwner state;
    lua_State* L = state->GetCState();
    lua_pushnil(L);
    EXPECT_THROW(lua_call(L, 0, 0), LuaException); // "attempt to call a nil value"
    state->SetTop(0);
    state->DoString("ok = true"); // the state stays usable
    EXPECT_TRUE(state->GetGlobal("ok").GetBoolean());
}

TEST(LuaObjectCall, PassesArgumentsAndReturnsResults)
{
    LuaStateOwner state;
    state->DoString("function none() end function pack(...) return select('#', ...), ... end "
                    "function kinds(...) local r = {} for i = 1, select('#', ...) do "
                    "r[i] = type((select(i, ...))) end return table.concat(r, ',') end");
    LuaObject kinds = state->GetGlobal("kinds");
    LuaObject table;
    table.AssignNewTable(state);
    int marker = 0;
    EXPECT_EQ("boolean,number,number,string,string,table,nil,userdata",
              kinds.Call(true, 3, 2.5f, "c", std::string("s"), table, nullptr, &marker).ToString());

    std::vector<LuaObject> results = state->GetGlobal("pack").CallMultiple(1, "two");
    ASSERT_EQ(3u, results.size());
    EXPECT_EQ(2, results[0].GetInteger());
    EXPECT_STREQ("two", results[2].GetString());
    EXPECT_TRUE(state->GetGlobal("none").Call().IsNil()); // no results: nil
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaObjectCall, RaisesScriptErrorsAndLeavesTheStackAlone)
{
    LuaStateOwner state;
    state->DoString("function boom(x) error('boom ' .. x, 0) end");
    lua_pushinteger(state->GetCState(), 5);
    try {
        state->GetGlobal("boom").Call("now");
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("boom now", e.what());
    }
    EXPECT_THROW(state->GetGlobal("missing").Call(), LuaException);
    LuaObject unset;
    EXPECT_THROW(state->GetGlobal("boom").Call(unset), LuaException);
    ASSERT_EQ(1, state->GetTop());
    EXPECT_EQ(5, state->StackTop().GetInteger());
}

TEST(LuaErrorStash, ScriptsSeeTheTextAndCallersGetTheOriginalException)
{
    StateWithNatives s;
    s.state->DoString("function probe() local ok, e = pcall(Fail, 'a') return e end "
                      "function direct() Fail('b') end "
                      "function nested() return CallBack(function(x) Fail(x) end) end");
    EXPECT_EQ("field failed: a", s.state->GetGlobal("probe").Call().ToString());
    try {
        s.state->GetGlobal("direct").Call();
        FAIL();
    } catch (const FieldError& e) {
        EXPECT_STREQ("field failed: b", e.what());
        EXPECT_EQ(7, e.Code());
    }
    // Through a native function that calls back into a script: still the original.
    try {
        s.state->GetGlobal("nested").Call();
        FAIL();
    } catch (const FieldError& e) {
        EXPECT_STREQ("field failed: inner", e.what());
    }
    try {
        s.state->DoString("Fail('c')");
        FAIL();
    } catch (const FieldError& e) {
        EXPECT_STREQ("field failed: c", e.what());
    }
    EXPECT_EQ(0, s.state->GetTop());
}

TEST(LuaErrorStash, ACaughtExceptionNeverAttachesToALaterError)
{
    StateWithNatives s;
    // The same text raised again after a script caught the native error is a new error.
    const char* scripts[] = {
        "pcall(Fail, 'x') error('field failed: x', 0)",
        "xpcall(function() Fail('x') end, function(e) return e end) error('field failed: x', 0)",
        ("coroutine.resume(coroutine.create(function() Fail('x') end)) "
         "error('field failed: x', 0)"),
    };
    for (const char* script : scripts) {
        try {
            s.state->DoString(script);
            FAIL() << script;
        } catch (const FieldError&) {
            ADD_FAILURE() << "stale exception for: " << script;
        } catch (const LuaException& e) {
            EXPECT_STREQ("field failed: x", e.what()) << script;
        }
    }
    // A different error after an uncaught-by-C++ native failure: plain text.
    try {
        s.state->DoString("local ok = pcall(Fail) error('other', 0)");
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("other", e.what());
    }
    // The base functions keep their behaviour.
    s.state->DoString(
        "a, b = pcall(function(x) return x * 2 end, 21) "
        "c, d = xpcall(function() error('e', 0) end, function(m) return m .. '!' end)");
    EXPECT_EQ(42, s.state->GetGlobal("b").GetInteger());
    EXPECT_FALSE(s.state->GetGlobal("c").GetBoolean());
    EXPECT_STREQ("e!", s.state->GetGlobal("d").GetString());
}

TEST(LuaCallPath, ScriptErrorsKeepLuasTextAndCarryTheirTraceback)
{
    LuaStateOwner state;
    const std::string script = "function inner() error('deep', 0) end\n"
                               "function outer() inner() end\n";
    state->DoBuffer(script.data(), script.size(), "=bricks");
    try {
        state->GetGlobal("outer").Call();
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("deep", e.what());
        EXPECT_EQ("stack traceback:\n"
                  "\t[C]: in function 'error'\n"
                  "\tbricks:1: in function 'inner'\n"
                  "\tbricks:2: in function <bricks:2>",
                  e.GetTraceback());
    }

    // A deep stack shows its first twelve and last ten levels.
    state->DoString("function down(n) if n == 0 then error('bottom') end down(n - 1) end");
    try {
        state->GetGlobal("down").Call(40);
        FAIL();
    } catch (const LuaException& e) {
        const std::string& traceback = e.GetTraceback();
        std::string::size_type elided = traceback.find("\n\t...\n");
        ASSERT_NE(std::string::npos, elided) << traceback;
        int before = 0;
        int after = 0;
        for (std::string::size_type at = 0; at < traceback.size(); ++at)
            if (traceback[at] == '\t')
                (at < elided ? before : after)++;
        EXPECT_EQ(11, before) << traceback; // levels 1 to 11
        EXPECT_EQ(11, after) << traceback;  // "..." and the last ten
    }

    // Errors raised before any function ran carry no traceback.
    try {
        state->GetGlobal("missing").Call();
        FAIL();
    } catch (const LuaException& e) {
        EXPECT_STREQ("attempt to call a nil value", e.what());
        EXPECT_EQ("", e.GetTraceback());
    }
    EXPECT_EQ(0, state->GetTop());
}

TEST(LuaCallPath, ProtectedCallsRestoreTheStackAndDescribeTheirFailure)
{
    StateWithNatives s;
    lua_State* L = s.state->GetCState();
    lua_pushstring(L, "mine");
    s.state->DoString("function fail(x) error({ code = x }) end");

    lua_getglobal(L, "fail");
    lua_pushinteger(L, 4);
    CallFailure failure;
    EXPECT_FALSE(ProtectedCall(L, 1, LUA_MULTRET, "the failing function", failure));
    EXPECT_EQ(LUA_ERRRUN, failure.status);
    EXPECT_EQ(LUA_TTABLE, failure.errorType);
    EXPECT_FALSE(failure.hasText);
    EXPECT_EQ("(error object is a table value)", failure.Message());
    EXPECT_EQ(0u, failure.Describe().find("the failing function: (error object is a table "
                                          "value)\nstack traceback:\n\t[C]: in function "
                                          "'error'\n"))
        << failure.Describe();
    EXPECT_FALSE(failure.original);

    lua_getglobal(L, "Fail");
    lua_pushstring(L, "z");
    CallFailure native;
    EXPECT_FALSE(ProtectedCall(L, 1, 2, "Fail", native));
    ASSERT_TRUE(native.original);
    EXPECT_THROW(std::rethrow_exception(native.original), FieldError);
    EXPECT_EQ("field failed: z", native.text);

    lua_getglobal(L, "select");
    lua_pushstring(L, "#");
    lua_pushnil(L);
    CallFailure unused;
    EXPECT_TRUE(ProtectedCall(L, 2, 1, "select", unused));
    EXPECT_EQ(1, lua_tointeger(L, -1));
    lua_pop(L, 1);
    ASSERT_EQ(1, lua_gettop(L));
    EXPECT_STREQ("mine", lua_tostring(L, 1));
}

TEST(LuaNative, EveryFunctionHandedOverRunsInsideTheBoundary)
{
    StateWithNatives s;
    // Assigned and stored functions read back as themselves.
    LuaObject fail;
    fail.AssignCFunction(s.state, Fail);
    EXPECT_EQ(&Fail, fail.GetCFunction());
    EXPECT_EQ(&CallBack, s.state->GetGlobal("CallBack").GetCFunction());
    EXPECT_EQ(lua_CFunction(nullptr), ToNativeFunction(s.state->GetCState(), 1));
    EXPECT_THROW(PushNativeFunction(s.state->GetCState(), nullptr), LuaException);
    try {
        fail.Call("assigned");
        FAIL();
    } catch (const FieldError& e) {
        EXPECT_STREQ("field failed: assigned", e.what());
    }

    // The exception-aware catchers still name themselves in their own argument errors.
    const std::string script = "ok1, e1 = pcall(function() return pcall() end) "
                               "ok2, e2 = pcall(function() return xpcall(print) end)";
    s.state->DoBuffer(script.data(), script.size(), "=t");
    EXPECT_STREQ("t:1: bad argument #1 to 'pcall' (value expected)",
                 s.state->GetGlobal("e1").GetString());
    EXPECT_STREQ("t:1: bad argument #2 to 'xpcall' (value expected)",
                 s.state->GetGlobal("e2").GetString());
    EXPECT_EQ(0, s.state->GetTop());
}
