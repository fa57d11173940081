#pragma once
// A fixed walking order for script tables, for every place where a result would
// otherwise depend on the table's internal order: number keys ascending, then text keys
// in byte order, then any other keys in traversal order.
#include "luaplus/LuaPlus.h"

#include <vector>

// The keys of the table in that order; a value that is not a table gives no keys.
std::vector<LuaPlus::LuaObject> GetOrderedKeys(const LuaPlus::LuaObject& table);

// Gives a property key a rank in the script table PropertyOrder (made when missing), by
// which applyPropertiesToObject applies ranked keys before unranked ones, lowest rank
// first. A key that already has a rank keeps it.
void RankPropertyKey(const char* key, double rank);
