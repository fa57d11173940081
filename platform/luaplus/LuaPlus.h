#pragma once
// The Lua object wrapper the engine is written against: LuaState, LuaObject,
// LuaStackObject, LuaTableIterator and LuaException, the one call path into Lua and the one
// way native functions are handed to it, over the Lua 5.1 C API (C++ build,
// so Lua errors unwind C++ frames properly).
#include "luaplus/LuaCall.h"
#include "luaplus/LuaErrorStash.h"
#include "luaplus/LuaException.h"
#include "luaplus/LuaKey.h"
#include "luaplus/LuaNative.h"
#include "luaplus/LuaObject.h"
#include "luaplus/LuaStackObject.h"
#include "luaplus/LuaState.h"
#include "luaplus/LuaStateOwner.h"
#include "luaplus/LuaTableIterator.h"
