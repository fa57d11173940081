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

// Runs a native function's body inside the engine's error boundary: an exception is
// stashed and its text raised as the Lua error, outside the catch block.
int Boundary(lua_State* L, int (*body)(lua_State*))
{
    std::string message;
    std::exception_ptr failure;
    try {
        return body(L);
    } catch (const std::exception& e) {
        message = e.what();
        failure = std::current_exception();
    }
    StashNativeException(L, failure, message);
    lua_pushstring(L, message.c_str());
    return lua_error(L);
}

int Fail(lua_State* L)
{
    return Boundary(L, [](lua_State* L) -> int {
        throw FieldError(std::string("field failed: ") + luaL_optstring(L, 1, "?"), 7);
    });
}

// Calls the Lua function given as argument 1 through a LuaObject, from inside a native
// function: the nested C++ caller.
int CallBack(lua_State* L)
{
    return Boundary(L, [](lua_State* L) {
        LuaObject result = LuaObject(L, 1).Call("inner");
        result.Push(L);
        return 1;
    });
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
        "coroutine.resume(coroutine.create(function() Fail('x') end)) "
        "error('field failed: x', 0)",
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
