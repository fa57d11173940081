#pragma once
// The one way a C function is handed to Lua. Every function pushed through here runs inside
// the error boundary: a C++ exception (std::exception or any subclass) thrown by it is
// caught, the catch block is left, and a Lua error with the exception's text is raised; the
// exception itself is stashed with the state (luaplus/LuaErrorStash.h), so that a C++
// caller whose protected call that error reaches gets the original back. Lua's own errors
// pass through untouched.
//
// Functions known at compile time are pushed as PushNativeFunction<F>(L) (or with upvalues,
// PushNativeClosure<F>(L, n)); a function known only at run time as PushNativeFunction(L, f).
#include <lua.hpp>

namespace LuaPlus {

// Runs body(L) inside the boundary and returns its result count.
int NativeBoundary(lua_State* L, lua_CFunction body);

// What Lua calls for the native function F: F inside the boundary.
template <lua_CFunction F> int NativeEntry(lua_State* L)
{
    return NativeBoundary(L, F);
}

// Pushes F, inside the boundary, as a function without upvalues.
template <lua_CFunction F> void PushNativeFunction(lua_State* L)
{
    lua_pushcfunction(L, &NativeEntry<F>);
}

// Pops `upvalues` values and pushes F, inside the boundary, with them as its upvalues.
template <lua_CFunction F> void PushNativeClosure(lua_State* L, int upvalues)
{
    lua_pushcclosure(L, &NativeEntry<F>, upvalues);
}

// Pushes `function` (which must not be null; LuaException otherwise) inside the boundary.
// It is meant for functions without upvalues of their own: its upvalue 1 holds the function.
void PushNativeFunction(lua_State* L, lua_CFunction function);

// The C function at `index` as it was handed over: `function` for a value pushed by
// PushNativeFunction(L, function), else what lua_tocfunction gives (null for non-C values).
lua_CFunction ToNativeFunction(lua_State* L, int index);

} // namespace LuaPlus
