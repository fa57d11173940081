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

// Defines and registers the native script function `name`:
//   MAKO_LUA_FUNCTION(logprint) { ...; return 0; }
// The body sees the raw state as L and may throw Exceptions freely: RegisterLuaFunctions
// publishes it inside the error boundary.
#define MAKO_LUA_FUNCTION(name)                                                                    \
    static int name##_Body(lua_State* L);                                                          \
    static const LuaFunctionRegistrar name##_Registrar(name##_Body, #name);                        \
    static int name##_Body(lua_State* L)
