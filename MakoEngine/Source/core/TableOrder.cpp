#include "core/TableOrder.h"

#include "lua/MakoLuaState.h"

#include <algorithm>
#include <cstring>
#include <string>

using LuaPlus::LuaObject;

std::vector<LuaObject> GetOrderedKeys(const LuaObject& table)
{
    std::vector<LuaObject> numbers, texts, others;
    if (!table.IsTable())
        return others;
    for (LuaPlus::LuaTableIterator it(table); it; it.Next()) {
        const LuaObject& key = it.GetKey();
        if (key.IsNumber())
            numbers.push_back(key);
        else if (key.IsString())
            texts.push_back(key);
        else
            others.push_back(key);
    }
    std::sort(numbers.begin(), numbers.end(),
              [](const LuaObject& a, const LuaObject& b) { return a.GetNumber() < b.GetNumber(); });
    std::sort(texts.begin(), texts.end(), [](const LuaObject& a, const LuaObject& b) {
        const std::size_t la = a.GetStrLen(), lb = b.GetStrLen();
        const int c = std::memcmp(a.GetString(), b.GetString(), std::min(la, lb));
        return c != 0 ? c < 0 : la < lb;
    });
    numbers.insert(numbers.end(), texts.begin(), texts.end());
    numbers.insert(numbers.end(), others.begin(), others.end());
    return numbers;
}

void RankPropertyKey(const char* key, double rank)
{
    LuaPlus::LuaState* state = GetGlobalLuaState();
    LuaObject order = state->GetGlobal("PropertyOrder");
    if (!order.IsTable()) {
        order.AssignNewTable(state);
        state->GetGlobals().SetObject("PropertyOrder", order);
    }
    if (order[key].IsNil())
        order.SetNumber(key, rank);
}
