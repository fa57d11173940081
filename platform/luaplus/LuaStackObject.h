#pragma once
// A view of one slot of a Lua stack (of any thread of a state), as native functions see
// their arguments. It holds no reference: it is valid while the slot is, and reads the
// slot each time. Convert it to a LuaObject to keep the value.
#include "luaplus/LuaException.h"

#include <lua.hpp>

#include <cstddef>

namespace LuaPlus {

class LuaState;

class LuaStackObject
{
public:
    // index may count from the top (negative); it is made absolute at construction.
    LuaStackObject(lua_State* L, int index);
    LuaStackObject(LuaState* state, int index);

    lua_State* GetCState() const { return m_L; }
    // The wrapper of the state (null for a state not made by LuaState::Create).
    LuaState* GetState() const;
    int GetIndex() const { return m_Index; }

    int Type() const { return lua_type(m_L, m_Index); }
    const char* TypeName() const { return lua_typename(m_L, Type()); }
    bool IsNone() const { return Type() == LUA_TNONE; }
    bool IsNil() const { return Type() == LUA_TNIL || Type() == LUA_TNONE; }
    bool IsTable() const { return Type() == LUA_TTABLE; }
    bool IsNumber() const { return Type() == LUA_TNUMBER; }
    bool IsString() const { return Type() == LUA_TSTRING; }
    bool IsBoolean() const { return Type() == LUA_TBOOLEAN; }
    bool IsFunction() const { return Type() == LUA_TFUNCTION; }
    bool IsCFunction() const { return lua_iscfunction(m_L, m_Index) != 0; }
    bool IsUserData() const { return Type() == LUA_TUSERDATA || IsLightUserData(); }
    bool IsLightUserData() const { return Type() == LUA_TLIGHTUSERDATA; }
    bool IsConvertibleToNumber() const { return lua_isnumber(m_L, m_Index) != 0; }
    bool IsConvertibleToString() const { return lua_isstring(m_L, m_Index) != 0; }

    // Typed reads; a value of another type raises LuaException. GetNumber also takes
    // numeric strings; GetString also takes numbers (converting the slot, as Lua does).
    double GetNumber() const;
    int GetInteger() const;
    float GetFloat() const { return static_cast<float>(GetNumber()); }
    const char* GetString() const;
    std::size_t GetStrLen() const;
    // Lua truth: false only for nil and false.
    bool GetBoolean() const { return lua_toboolean(m_L, m_Index) != 0; }
    void* GetUserData() const;
    void* GetLightUserData() const;

    void Push() const { lua_pushvalue(m_L, m_Index); }

private:
    lua_State* m_L;
    int m_Index;
};

} // namespace LuaPlus
