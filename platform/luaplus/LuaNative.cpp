#include "luaplus/LuaNative.h"

#include "luaplus/LuaErrorStash.h"
#include "luaplus/LuaException.h"

#include <exception>
#include <string>

namespace LuaPlus {

namespace {

// Calls the function stored in upvalue 1 (a userdata holding a lua_CFunction).
int CallStoredFunction(lua_State* L)
{
    lua_CFunction function = *static_cast<lua_CFunction*>(lua_touserdata(L, lua_upvalueindex(1)));
    return function(L);
}

} // namespace

int NativeBoundary(lua_State* L, lua_CFunction body)
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
    StashNativeException(L, failure, message);
    lua_pushlstring(L, message.data(), message.size());
    return lua_error(L);
}

void PushNativeFunction(lua_State* L, lua_CFunction function)
{
    if (!function)
        throw LuaException("PushNativeFunction: no function");
    *static_cast<lua_CFunction*>(lua_newuserdata(L, sizeof function)) = function;
    PushNativeClosure<CallStoredFunction>(L, 1);
}

lua_CFunction ToNativeFunction(lua_State* L, int index)
{
    lua_CFunction function = lua_tocfunction(L, index);
    if (function != &NativeEntry<CallStoredFunction>)
        return function;
    lua_getupvalue(L, index, 1);
    function = *static_cast<lua_CFunction*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return function;
}

} // namespace LuaPlus
