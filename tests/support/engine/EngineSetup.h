#pragma once
// What the engine's start-up does before any object is made, for tests that make objects
// without an application: the global script state with its start-up chunk and natives,
// "Resource.lua" from the source folder, the property types and the class registry.
// Runs once per test program; later calls do nothing.
#include "luaplus/LuaPlus.h"

#include <string>

namespace bbtest {

void PrepareEngine();

// The value of a script expression ("{class = 'Grid'}") in the state (the global one when
// none is given).
LuaPlus::LuaObject EvalLua(const std::string& expression, LuaPlus::LuaState* state = nullptr);

} // namespace bbtest
