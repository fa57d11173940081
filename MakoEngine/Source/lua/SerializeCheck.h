#pragma once
// Whether the serialiser (lua/LuaSerializer.h) can write a value, asked before the value is
// taken in (a configuration value, a player card), so that what the game keeps can always be
// written back. The walk takes time in proportion to the tables and entries the value holds,
// however often it shares its tables.
#include "luaplus/LuaPlus.h"

#include <cstddef>
#include <string>

// The most tables a value the game keeps may write out: a table reached by several ways is
// written once for each way.
const std::size_t kMaxSavedTables = 100000;

// "" when value can be written, else why not, as a text to follow "it": "holds itself",
// "is nested more than 100 tables deep", "would be written as more than 100000 tables",
// "holds a userdata value, which cannot be saved".
std::string WhyCannotSerialize(const LuaPlus::LuaObject& value,
                               std::size_t maxTables = kMaxSavedTables);
