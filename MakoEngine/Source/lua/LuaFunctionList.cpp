#include "lua/LuaFunctionList.h"

#include "luaplus/LuaErrorStash.h"

#include <exception>
#include <string>

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
        lua_pushcclosure(L, entry.first, 0);
        lua_settable(L, LUA_GLOBALSINDEX);
    }
}

int LuaNativeBoundary(lua_State* L, LuaNativeFunction body)
{
    std::string message;
    std::exception_ptr failure;
    try {
        return body(L);
    } catch (const std::exception& e) {
        message = e.what();
        failure = std::current_exception();
    }
    // Raised outside the catch block: with the C++ build of Lua, lua_error itself throws.
    // The exception is kept with the state, so that a C++ caller of the script gets it back.
    LuaPlus::StashNativeException(L, failure, message);
    lua_pushlstring(L, message.data(), message.size());
    return lua_error(L);
}
