#include "luaplus/LuaTableIterator.h"

#include "luaplus/LuaCall.h"

#include <string>

namespace LuaPlus {

namespace {

// (table, key) -> the next key and value, or nil, nil after the last entry.
int NextThunk(lua_State* L)
{
    lua_settop(L, 2);
    if (lua_next(L, 1))
        return 2;
    lua_pushnil(L);
    lua_pushnil(L);
    return 2;
}

TableWalkHook g_WalkHook = nullptr;

} // namespace

void SetTableWalkHook(TableWalkHook hook)
{
    g_WalkHook = hook;
}

void ChargeTableWalkStep()
{
    if (g_WalkHook)
        g_WalkHook();
}

LuaTableIterator::LuaTableIterator(const LuaObject& table) : m_Table(table)
{
    if (!m_Table.IsTable())
        throw LuaException(std::string("LuaTableIterator: expected a table, got a ") +
                           m_Table.TypeName() + " value");
    Reset();
}

void LuaTableIterator::Reset()
{
    m_Key.AssignNil(m_Table.GetState());
    m_Valid = true;
    Step();
}

bool LuaTableIterator::Next()
{
    if (m_Valid)
        Step();
    return m_Valid;
}

void LuaTableIterator::Step()
{
    lua_State* L = m_Table.GetCState();
    if (!L)
        throw LuaException("LuaTableIterator: the table's state is gone");
    if (g_WalkHook)
        g_WalkHook();
    int top = lua_gettop(L);
    m_Table.Push();
    m_Key.Push();
    CallFunctionProtected<NextThunk>(L, 2, 2, "LuaTableIterator::Next");
    if (lua_isnil(L, -2)) {
        m_Valid = false;
        m_Key.Reset();
        m_Value.Reset();
    } else {
        m_Key = LuaObject(m_Table.GetState(), -2);
        m_Value = LuaObject(m_Table.GetState(), -1);
    }
    lua_settop(L, top);
}

} // namespace LuaPlus
