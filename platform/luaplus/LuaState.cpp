#include "luaplus/LuaState.h"

#include "luaplus/LuaCall.h"
#include "luaplus/LuaErrorStash.h"
#include "luaplus/LuaObject.h"
#include "luaplus/LuaStackObject.h"

#include <cstring>

namespace LuaPlus {

namespace {

// Its address is the registry key under which a state keeps its wrapper.
const char kStateKey = 0;

// A Lua error with no protected call to catch it: raise it as a C++ exception instead of
// letting Lua end the process. Lua has already reset the stack.
int ThrowFromPanic(lua_State* L)
{
    std::string text = GetErrorText(L);
    lua_settop(L, 0);
    throw LuaException(text);
}

int CollectGarbageThunk(lua_State* L)
{
    lua_gc(L, LUA_GCCOLLECT, 0);
    return 0;
}

} // namespace

LuaState::LuaState() = default;
LuaState::~LuaState() = default;

LuaState* LuaState::Create(bool initStandardLibrary)
{
    lua_State* L = luaL_newstate();
    if (!L)
        throw LuaException("not enough memory");
    LuaState* state = new LuaState();
    state->m_L = L;
    lua_atpanic(L, ThrowFromPanic);
    lua_pushlightuserdata(L, const_cast<char*>(&kStateKey));
    lua_pushlightuserdata(L, state);
    lua_rawset(L, LUA_REGISTRYINDEX);
    PrepareProtectedCalls(L);
    if (initStandardLibrary) {
        luaL_openlibs(L);
        InstallStashAwareCatchers(L);
    }
    return state;
}

void LuaState::Destroy(LuaState* state)
{
    if (!state)
        return;
    // Finalisers run by lua_close may still use (and release) bound objects.
    lua_close(state->m_L);
    state->m_L = nullptr;
    while (LuaObject* object = state->m_Objects) {
        state->m_Objects = object->m_Next;
        object->m_State = nullptr;
        object->m_Ref = LUA_NOREF;
        object->m_Type = LUA_TNONE;
        object->m_Prev = object->m_Next = nullptr;
    }
    delete state;
}

LuaState* LuaState::CastState(lua_State* L)
{
    if (!L)
        return nullptr;
    lua_pushlightuserdata(L, const_cast<char*>(&kStateKey));
    lua_rawget(L, LUA_REGISTRYINDEX);
    LuaState* state = static_cast<LuaState*>(lua_touserdata(L, -1));
    lua_pop(L, 1);
    return state;
}

LuaObject LuaState::GetGlobals()
{
    lua_pushvalue(m_L, LUA_GLOBALSINDEX);
    LuaObject globals;
    globals.AttachTop(this, m_L);
    return globals;
}

LuaObject LuaState::GetRegistry()
{
    lua_pushvalue(m_L, LUA_REGISTRYINDEX);
    LuaObject registry;
    registry.AttachTop(this, m_L);
    return registry;
}

LuaObject LuaState::GetGlobal(const char* name)
{
    return GetGlobals().GetByName(name);
}

LuaStackObject LuaState::Stack(int index)
{
    return LuaStackObject(m_L, index);
}

LuaStackObject LuaState::StackTop()
{
    return LuaStackObject(m_L, -1);
}

int LuaState::GetTop() const
{
    return lua_gettop(m_L);
}

void LuaState::SetTop(int index)
{
    lua_settop(m_L, index);
}

void LuaState::Pop(int count)
{
    lua_pop(m_L, count);
}

void LuaState::DoString(const char* text)
{
    DoBuffer(text, std::strlen(text), text);
}

void LuaState::DoBuffer(const char* data, std::size_t size, const char* chunkName)
{
    int status = luaL_loadbuffer(m_L, data, size, chunkName);
    if (status != 0)
        ThrowLuaError(m_L, status);
    CallOrThrow(m_L, 0, 0, chunkName);
}

LuaObject LuaState::LoadString(const char* text)
{
    return LoadBuffer(text, std::strlen(text), text);
}

LuaObject LuaState::LoadBuffer(const char* data, std::size_t size, const char* chunkName)
{
    int status = luaL_loadbuffer(m_L, data, size, chunkName);
    if (status != 0)
        ThrowLuaError(m_L, status);
    LuaObject chunk;
    chunk.AttachTop(this, m_L);
    return chunk;
}

void LuaState::CollectGarbage()
{
    CallFunctionProtected<CollectGarbageThunk>(m_L, 0, 0, "LuaState::CollectGarbage");
}

} // namespace LuaPlus
