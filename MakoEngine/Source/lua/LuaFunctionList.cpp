#include "lua/LuaFunctionList.h"

#include "luaplus/LuaNative.h"

namespace {
LuaFunctionList& List()
{
    static LuaFunctionList* list = new LuaFunctionList(); // lives until the process ends
    return *list;
}
} // namespace

void AddLuaFunction(LuaNativeFunction function, const char* name)
{
    List().emplace_back(function, name);
}

const LuaFunctionList& GetLuaFunctionList()
{
    return List();
}

void RegisterLuaFunctions(lua_State* L)
{
    for (const auto& entry : List()) {
        lua_pushstring(L, entry.second);
        LuaPlus::PushNativeFunction(L, entry.first);
        lua_settable(L, LUA_GLOBALSINDEX);
    }
}

