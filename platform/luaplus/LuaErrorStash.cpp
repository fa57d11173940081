#include "luaplus/LuaErrorStash.h"

#include "luaplus/LuaException.h"

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
    lua_pushcfunction(L, DestroyStash);
    lua_setfield(L, -2, "__gc");
    lua_setmetatable(L, -2);
    lua_rawset(L, LUA_REGISTRYINDEX);
    return stash;
}

// pcall(f, ...) as the base library has it, emptying the stash when f fails.
int StashAwarePcall(lua_State* L)
{
    luaL_checkany(L, 1);
    int status = lua_pcall(L, lua_gettop(L) - 1, LUA_MULTRET, 0);
    if (status != 0)
        ClearStashedException(L);
    lua_pushboolean(L, status == 0);
    lua_insert(L, 1);
    return lua_gettop(L);
}

// xpcall(f, handler) as the base library has it, emptying the stash when f fails.
int StashAwareXpcall(lua_State* L)
{
    luaL_checkany(L, 2);
    lua_settop(L, 2);
    lua_insert(L, 1);
    int status = lua_pcall(L, 0, LUA_MULTRET, 1);
    if (status != 0)
        ClearStashedException(L);
    lua_pushboolean(L, status == 0);
    lua_replace(L, 1);
    return lua_gettop(L);
}

// Calls the original catcher (upvalue 1) with all arguments and empties the stash when its
// first result is false.
int StashAwareWrapper(lua_State* L)
{
    lua_pushvalue(L, lua_upvalueindex(1));
    lua_insert(L, 1);
    lua_call(L, lua_gettop(L) - 1, LUA_MULTRET);
    if (lua_gettop(L) >= 1 && lua_isboolean(L, 1) && !lua_toboolean(L, 1))
        ClearStashedException(L);
    return lua_gettop(L);
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

void ThrowLuaError(lua_State* L, int status)
{
    (void)status;
    std::exception_ptr original = TakeStashedException(L);
    std::string text = GetErrorText(L);
    lua_pop(L, 1);
    if (original)
        std::rethrow_exception(original);
    throw LuaException(text);
}

void PCallOrThrow(lua_State* L, int nargs, int nresults)
{
    ClearStashedException(L);
    int status = lua_pcall(L, nargs, nresults, 0);
    if (status != 0)
        ThrowLuaError(L, status);
    ClearStashedException(L);
}

void CallFunctionProtected(lua_State* L, lua_CFunction function, int nargs, int nresults)
{
    lua_pushcfunction(L, function);
    lua_insert(L, -(nargs + 1));
    PCallOrThrow(L, nargs, nresults);
}

void InstallStashAwareCatchers(lua_State* L)
{
    lua_pushcfunction(L, StashAwarePcall);
    lua_setfield(L, LUA_GLOBALSINDEX, "pcall");
    lua_pushcfunction(L, StashAwareXpcall);
    lua_setfield(L, LUA_GLOBALSINDEX, "xpcall");
    lua_getfield(L, LUA_GLOBALSINDEX, "coroutine");
    if (lua_istable(L, -1)) {
        lua_getfield(L, -1, "resume");
        if (lua_isfunction(L, -1)) {
            lua_pushcclosure(L, StashAwareWrapper, 1);
            lua_setfield(L, -2, "resume");
        } else {
            lua_pop(L, 1);
        }
    }
    lua_pop(L, 1);
}

} // namespace LuaPlus
