#pragma once
// Carries a C++ exception across a script. A native function that fails with a C++
// exception raises a Lua error with the exception's text, so scripts (pcall) see an
// ordinary string error; it also stashes the exception here, per Lua state. When that
// same error value arrives at a C++ caller's protected call, the caller takes the stashed
// exception back and rethrows it, so C++ code sees the original type and message.
//
// The stash holds at most one exception. It is emptied whenever a protected call of the one
// call path (luaplus/LuaCall.h, which also declares the calls that take the exception back)
// starts or ends, and when a script's pcall, xpcall or coroutine.resume catches an
// error (states made by LuaState::Create), so a stale exception never attaches to a
// later, unrelated error. The stash lives in the state's registry and is released with it.
#include "luaplus/LuaCall.h"

#include <lua.hpp>

#include <exception>
#include <string>

namespace LuaPlus {

// Records `exception` as the cause of the Lua error about to be raised with `message`.
void StashNativeException(lua_State* L, std::exception_ptr exception, const std::string& message);

// For a failed protected call whose error value is on top of the stack: the stashed
// exception when that value is the stashed message, else null. Empties the stash either
// way; leaves the stack as it is.
std::exception_ptr TakeStashedException(lua_State* L);

// Empties the stash.
void ClearStashedException(lua_State* L);

// The error value on top of the stack as text: the string itself, or
// "(error object is a <type> value)".
std::string GetErrorText(lua_State* L);

// Replaces pcall, xpcall and coroutine.resume of a state whose standard libraries are
// open by versions that behave the same and also empty the stash when they catch an error.
void InstallStashAwareCatchers(lua_State* L);

} // namespace LuaPlus
