#pragma once
// The process-wide list of native functions offered to scripts. Source units append to
// it from static initialisers (LuaFunctionRegistrar, or MAKO_LUA_FUNCTION below); the
// list is created on the first append, so initialisation order does not matter, and its
// order is the order of appending. RegisterLuaFunctions publishes it as Lua globals.
#include <lua.hpp>

#include <utility>
#include <vector>

using LuaNativeFunction = int (*)(lua_State*);
using LuaFunctionList = std::vector<std::pair<LuaNativeFunction, const char*>>;

// Appends (function, name) at the end of the list.
void AddLuaFunction(LuaNativeFunction function, const char* name);
// The list, in order of appending.
const LuaFunctionList& GetLuaFunctionList();
// Sets globals[name] = function for every pair, in list order (a later pair of the same
// name wins). Each function is published inside the error boundary.
void RegisterLuaFunctions(lua_State* L);

struct LuaFunctionRegistrar
{
    LuaFunctionRegistrar(LuaNativeFunction function, const char* name)
    {
        AddLuaFunction(function, name);
    }
};

// Runs a native function's body inside the engine's error boundary (luaplus/LuaNative.h):
// an Exception (or any std::exception) thrown by the body is caught, the catch block is
// left, and a Lua error with the same text is raised. Lua's own errors pass through
// untouched. The exception itself is stashed with the state (luaplus/LuaErrorStash.h): when
// the error reaches a C++ caller of the script unchanged, that caller gets the original
// exception back. Every function handed to Lua through luaplus/LuaNative.h (as
// RegisterLuaFunctions does) already runs inside it.
int LuaNativeBoundary(lua_State* L, LuaNativeFunction body);

// Defines and registers the native script function `name`:
//   MAKO_LUA_FUNCTION(logprint) { ...; return 0; }
// The body sees the raw state as L and may throw Exceptions freely: RegisterLuaFunctions
// publishes it inside the error boundary.
#define MAKO_LUA_FUNCTION(name)                                                                    \
    static int name##_Body(lua_State* L);                                                          \
    static const LuaFunctionRegistrar name##_Registrar(name##_Body, #name);                        \
    static int name##_Body(lua_State* L)
