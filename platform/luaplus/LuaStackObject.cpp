#include "luaplus/LuaStackObject.h"

#include "luaplus/LuaState.h"

#include <string>

namespace LuaPlus {

namespace {

[[noreturn]] void ThrowWrongType(lua_State* L, int index, const char* operation,
                                 const char* expected)
{
    throw LuaException(std::string(operation) + ": expected " + expected + ", got a " +
                       luaL_typename(L, index) + " value");
}

} // namespace

LuaStackObject::LuaStackObject(lua_State* L, int index) : m_L(L), m_Index(index)
{
    if (index < 0 && index > LUA_REGISTRYINDEX)
        m_Index = lua_gettop(L) + index + 1;
}

LuaStackObject::LuaStackObject(LuaState* state, int index)
    : LuaStackObject(state->GetCState(), index)
{
}

LuaState* LuaStackObject::GetState() const
{
    return LuaState::CastState(m_L);
}

double LuaStackObject::GetNumber() const
{
    if (!lua_isnumber(m_L, m_Index))
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetNumber", "a number");
    return lua_tonumber(m_L, m_Index);
}

int LuaStackObject::GetInteger() const
{
    if (!lua_isnumber(m_L, m_Index))
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetInteger", "a number");
    return static_cast<int>(lua_tointeger(m_L, m_Index));
}

const char* LuaStackObject::GetString() const
{
    if (!lua_isstring(m_L, m_Index))
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetString", "a string");
    return lua_tostring(m_L, m_Index);
}

std::size_t LuaStackObject::GetStrLen() const
{
    if (!lua_isstring(m_L, m_Index))
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetStrLen", "a string");
    return lua_objlen(m_L, m_Index);
}

void* LuaStackObject::GetUserData() const
{
    if (!IsUserData())
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetUserData", "a userdata");
    return lua_touserdata(m_L, m_Index);
}

void* LuaStackObject::GetLightUserData() const
{
    if (!IsLightUserData())
        ThrowWrongType(m_L, m_Index, "LuaStackObject::GetLightUserData", "a light userdata");
    return lua_touserdata(m_L, m_Index);
}

} // namespace LuaPlus
