#pragma once
// Small conveniences over the global Lua state for code that reads the game's script
// values.
#include "luaplus/LuaPlus.h"

// The global of that name in the global state.
LuaPlus::LuaObject GetGlobalValue(const char* name);
// A new empty table in the global state.
LuaPlus::LuaObject NewGlobalTable();
