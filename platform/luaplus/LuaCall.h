#pragma once
// The one way C++ code calls into Lua. Every protected call of the wrapper and of the engine
// goes through ProtectedCall: it runs the function with a traceback handler, empties the
// exception stash (luaplus/LuaErrorStash.h) before and after, and on failure restores the
// stack and describes what went wrong without changing the error value scripts would see.
#include "luaplus/LuaNative.h"

#include <lua.hpp>

#include <exception>
#include <string>

namespace LuaPlus {

// A failed protected call.
struct CallFailure
{
    // The protected call's status: LUA_ERRRUN, LUA_ERRMEM or LUA_ERRERR.
    int status = 0;
    // What was called, as the caller named it (a script, resource or file).
    std::string what;
    // The Lua type of the error value.
    int errorType = LUA_TNIL;
    // The error value as text when it was a string or number (hasText), else empty.
    bool hasText = false;
    std::string text;
    // Where the error was raised, in Lua's "stack traceback:\n\t..." form; empty when no
    // traceback could be taken (out of memory).
    std::string traceback;
    // The native exception that caused the error, or null.
    std::exception_ptr original;

    // The error as the wrapper reports it: the text of a string error, else
    // "(error object is a <type> value)".
    std::string Message() const;
    // "<what>: <message>", then the traceback on the lines below when there is one.
    std::string Describe() const;
};

// Calls the function lying below the nargs values on top of L's stack with those values.
// Success: function and arguments are replaced by nresults results (all of them for
// LUA_MULTRET); returns true. Failure: function, arguments and error value are popped, so
// the stack is as it was below the function; `failure` is filled in; returns false.
bool ProtectedCall(lua_State* L, int nargs, int nresults, const char* what, CallFailure& failure);

// Gives the state what ProtectedCall needs (its traceback handler, kept in the registry).
// LuaState::Create does it; for other states the first ProtectedCall does.
void PrepareProtectedCalls(lua_State* L);

// ProtectedCall whose failure is raised: the original native exception when one caused it,
// else LuaException with the failure's Message() and its traceback.
void CallOrThrow(lua_State* L, int nargs, int nresults, const char* what);

// CallOrThrow for a function value with no better name.
void PCallOrThrow(lua_State* L, int nargs, int nresults);

// For a failed load (status != 0, error value on top): pops the error value and throws
// LuaException with its text.
[[noreturn]] void ThrowLuaError(lua_State* L, int status);

// Calls the native function F protected (through CallOrThrow) with the nargs values on top
// of the stack as its arguments, leaving nresults results.
template <lua_CFunction F>
void CallFunctionProtected(lua_State* L, int nargs, int nresults, const char* what)
{
    PushNativeFunction<F>(L);
    lua_insert(L, -(nargs + 1));
    CallOrThrow(L, nargs, nresults, what);
}

// The stack of L from `level` up (level 0 is the running function), in the form of Lua's
// debug.traceback: "stack traceback:" and one "\n\t<source>:<line>: in ..." per level, the
// middle of a deep stack elided as "\n\t...".
std::string GetTraceback(lua_State* L, int level);

} // namespace LuaPlus
