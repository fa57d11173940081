// The native function list and the error boundary between native functions, scripts and
// the C++ code that runs them.
#include "core/Exception.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "support/engine/LuaFixture.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <typeinfo>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

MAKO_LUA_FUNCTION(TestOrderFirst)
{
    return 0;
}

MAKO_LUA_FUNCTION(TestOrderSecond)
{
    return 0;
}

// Fails with a ResourceLoadError carrying the text of its argument.
MAKO_LUA_FUNCTION(TestFailWith)
{
    MAKO_THROW(ResourceLoadError, luaL_checkstring(L, 1));
}

// Runs the script resource named by its argument: a native function that is itself a C++
// caller of scripts.
MAKO_LUA_FUNCTION(TestRunResource)
{
    MakoLuaState::DoResourceFile(LuaState::CastState(L), luaL_checkstring(L, 1));
    return 0;
}

namespace {
int ReturnOne(lua_State* L)
{
    lua_pushinteger(L, 1);
    return 1;
}
int ReturnTwo(lua_State* L)
{
    lua_pushinteger(L, 2);
    return 1;
}
const LuaFunctionRegistrar gTwiceFirst(ReturnOne, "TestTwice");
const LuaFunctionRegistrar gTwiceSecond(ReturnTwo, "TestTwice");

// Position of the first entry of that name in the list; -1 when absent.
int PositionOf(const std::string& name)
{
    const LuaFunctionList& list = GetLuaFunctionList();
    for (size_t i = 0; i < list.size(); ++i)
        if (name == list[i].second)
            return static_cast<int>(i);
    return -1;
}
} // namespace

MAKO_LUA_FUNCTION(TestOrderThird)
{
    return 0;
}

class NativeFunctions : public bbtest::LuaFixture
{
};

TEST_F(NativeFunctions, StaticRegistrationsReachTheListInTheirOrder)
{
    int first = PositionOf("TestOrderFirst");
    int second = PositionOf("TestOrderSecond");
    int third = PositionOf("TestOrderThird");
    ASSERT_GE(first, 0);
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);
    EXPECT_GE(PositionOf("TestOtherUnit"), 0); // registered by another source unit

    // Appending adds at the end; publishing sets every name, the later pair of a name wins.
    AddLuaFunction(ReturnOne, "TestAddedLate");
    EXPECT_STREQ("TestAddedLate", GetLuaFunctionList().back().second);
    RegisterLuaFunctions(State());
    Run("late = TestAddedLate() twice = TestTwice()");
    EXPECT_EQ(1, GlobalNumber("late"));
    EXPECT_EQ(2, GlobalNumber("twice"));
    EXPECT_TRUE(Global("TestOrderThird").IsCFunction());
}

TEST_F(NativeFunctions, ScriptsSeeTheTextAndCallersGetTheOriginalException)
{
    Run("ok, message = pcall(TestFailWith, 'disk on fire')");
    EXPECT_FALSE(GlobalBoolean("ok"));
    EXPECT_EQ("disk on fire", GlobalString("message"));

    try {
        Run("TestFailWith('bad image')");
        FAIL() << "no exception";
    } catch (const ResourceLoadError& e) {
        EXPECT_EQ("bad image", e.GetMessage());
    }
    try {
        Global("TestFailWith").Call("called");
        FAIL() << "no exception";
    } catch (const ResourceLoadError& e) {
        EXPECT_EQ("called", e.GetMessage());
    }
    AddScript("Fails.lua", "x = 1\nTestFailWith('from resource')\n");
    try {
        RunResource("Fails.lua");
        FAIL() << "no exception";
    } catch (const ResourceLoadError& e) {
        EXPECT_EQ("from resource", e.GetMessage());
    }
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST_F(NativeFunctions, OriginalExceptionsCrossNestedScriptRuns)
{
    // string -> native -> resource -> native: the outer caller still gets the original,
    // and so does a script's pcall at the outer level see its text.
    AddScript("Inner.lua", "TestFailWith('inner failure')");
    try {
        Run("TestRunResource('Inner.lua')");
        FAIL() << "no exception";
    } catch (const ResourceLoadError& e) {
        EXPECT_EQ("inner failure", e.GetMessage());
    }
    Run("ok, message = pcall(TestRunResource, 'Missing.lua')");
    EXPECT_EQ("Could not find resource info with name = Missing.lua", GlobalString("message"));
    try {
        Run("TestRunResource('Missing.lua')");
        FAIL() << "no exception";
    } catch (const ResourceNotFoundException& e) {
        EXPECT_EQ("Missing.lua", e.GetResourceName());
    }
    EXPECT_EQ(0, lua_gettop(L()));
}

TEST_F(NativeFunctions, ACaughtNativeFailureDoesNotColourALaterScriptError)
{
    try {
        Run("pcall(TestFailWith, 'same text') error('same text', 0)");
        FAIL() << "no exception";
    } catch (const ResourceLoadError&) {
        FAIL() << "a caught failure came back for a later error";
    } catch (const ScriptError& e) {
        EXPECT_EQ("Error in PCall: same text", e.GetMessage());
    }
    // A later run that fails for its own reasons reports its own error.
    try {
        Run("error('unrelated', 0)");
        FAIL() << "no exception";
    } catch (const ScriptError& e) {
        EXPECT_EQ("Error in PCall: unrelated", e.GetMessage());
    }
}
