#pragma once
// A table key as the wrapper's table operations take it: a name, an integer index or any
// Lua value held by a LuaObject. Built implicitly at the call, so obj.SetNumber("x", 1),
// obj.SetNumber(3, 1) and obj.SetNumber(keyObject, 1) all read naturally. It refers to
// its argument and must not outlive the call.
#include <lua.hpp>

#include <cstddef>
#include <string>

namespace LuaPlus {

class LuaObject;

class LuaKey
{
public:
    LuaKey(const char* name);
    LuaKey(const std::string& name);
    LuaKey(int index);
    LuaKey(const LuaObject& object);

    // Pushes the key onto L's stack.
    void Push(lua_State* L) const;

private:
    enum Kind { KEY_NAME, KEY_INDEX, KEY_OBJECT };
    Kind m_Kind;
    const char* m_Name = nullptr;
    std::size_t m_NameLength = 0;
    int m_Index = 0;
    const LuaObject* m_Object = nullptr;
};

} // namespace LuaPlus
