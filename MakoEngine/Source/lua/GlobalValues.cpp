#include "lua/GlobalValues.h"

#include "lua/MakoLuaState.h"

LuaPlus::LuaObject GetGlobalValue(const char* name)
{
    return GetGlobalLuaState()->GetGlobal(name);
}

LuaPlus::LuaObject NewGlobalTable()
{
    LuaPlus::LuaObject table;
    table.AssignNewTable(GetGlobalLuaState());
    return table;
}
