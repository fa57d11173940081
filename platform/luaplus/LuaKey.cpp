#include "luaplus/LuaKey.h"

#include "luaplus/LuaObject.h"

#include <cstring>

namespace LuaPlus {

LuaKey::LuaKey(const char* name)
    : m_Kind(KEY_NAME), m_Name(name), m_NameLength(name ? std::strlen(name) : 0)
{
}

LuaKey::LuaKey(const std::string& name)
    : m_Kind(KEY_NAME), m_Name(name.data()), m_NameLength(name.size())
{
}

LuaKey::LuaKey(int index) : m_Kind(KEY_INDEX), m_Index(index) {}

LuaKey::LuaKey(const LuaObject& object) : m_Kind(KEY_OBJECT), m_Object(&object) {}

void LuaKey::Push(lua_State* L) const
{
    switch (m_Kind) {
    case KEY_NAME:
        if (m_Name)
            lua_pushlstring(L, m_Name, m_NameLength);
        else
            lua_pushnil(L);
        break;
    case KEY_INDEX:
        lua_pushinteger(L, m_Index);
        break;
    case KEY_OBJECT:
        m_Object->Push(L);
        break;
    }
}

} // namespace LuaPlus
