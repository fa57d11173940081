#include "luaplus/LuaErrorStash.h"

#include "luaplus/LuaNative.h"

#include <new>

namespace LuaPlus {

namespace {

struct Stash
{
    std::exception_ptr exception;
    std::string message;
};

// Its address is the registry key of the stash.
const char kStashKey = 0;

int DestroyStash(lua_State* L)
{
    static_cast<Stash*>(lua_touserdata(L, 1))->~Stash();
    return 0;
}

Stash* FindStash(lua_State* L)
{
    lua_pushlightuserdata(L, const_cast<char*>(&kStashKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    Stash* stash = static_cast<Stash*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return stash;
}

Stash* MakeStash(lua_State* L)
{
    lua_pushlightuserdata(L, const_cast<char*>(&kStashKey));
    Stash* stash = new (lua_newuserdata(L, sizeof(Stash))) Stash();
    lua_createtable(L, 0, 1);
    PushNativeFunction<DestroyStash>(L);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return stash;
}

// Calls the original catcher (upvalue 1) with all arguments and empties the stash when its
// first result is false. The argument check of pcall and xpcall runs here first, so its
// message names them as the base library's does.
int StashAwareCatcher(lua_State* L, int requiredArguments)
{
    if (requiredArguments > 0)
        luaL_checkany(L, requiredArguments);
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (lua_gettop(L) >= 1 && lua_isboolean(L, 1) && !lua_toboolean(L, 1))
        ClearStashedException(L);
    return lua_gettop(L);
}

int StashAwarePcall(lua_State* L)
{
    return StashAwareCatcher(L, 1);
}

int StashAwareXpcall(lua_State* L)
{
    return StashAwareCatcher(L, 2);
}

int StashAwareResume(lua_State* L)
{
    return StashAwareCatcher(L, 0);
}

// Replaces table[name], when it is a function, by F with the original as upvalue 1.
template <lua_CFunction F> void WrapCatcher(lua_State* L, int table, const char* name)
{
    lua_getfield(L, table, name);
    if (lua_isfunction(L, -1)) {
        PushNativeClosure<F>(L, 1);
        lua_setfield(L, table, name);
    } else {
        lua_pop(L, 1);
    }
}

} // namespace

void StashNativeException(lua_State* L, std::exception_ptr exception, const std::string& message)
{
    Stash* stash = FindStash(L);
    if (!stash)
        stash = MakeStash(L);
    stash->exception = exception;
    stash->message = message;
}

std::exception_ptr TakeStashedException(lua_State* L)
{
    Stash* stash = FindStash(L);
    if (!stash || !stash->exception)
        return nullptr;
    std::exception_ptr taken;
    if (lua_type(L, -1) == LUA_TSTRING) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        if (stash->message.compare(0, std::string::npos, text, length) == 0)
            taken = stash->exception;
    }
    stash->exception = nullptr;
    stash->message.clear();
    return taken;
}

void ClearStashedException(lua_State* L)
{
    Stash* stash = FindStash(L);
    if (stash) {
        stash->exception = nullptr;
        stash->message.clear();
    }
}

std::string GetErrorText(lua_State* L)
{
    if (lua_type(L, -1) == LUA_TSTRING) {
        size_t length = 0;
        const char* text = lua_tolstring(L, -1, &length);
        return std::string(text, length);
    }
    return std::string("(error object is a ") + luaL_typename(L, -1) + " value)";
}

void InstallStashAwareCatchers(lua_State* L)
{
    WrapCatcher<StashAwarePcall>(L, LUA_GLOBALSINDEX, "pcall");
    WrapCatcher<StashAwareXpcall>(L, LUA_GLOBALSINDEX, "xpcall");
    lua_getfield(L, LUA_GLOBALSINDEX, "coroutine");
    if (lua_istable(L, -1))
        WrapCatcher<StashAwareResume>(L, lua_gettop(L), "resume");
    lua_pop(L, 1);
}

} // namespace LuaPlus
