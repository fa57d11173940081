#include "lua/Variant.h"

#include "core/Exception.h"
#include "lua/MakoLuaState.h"

#include <boost/format.hpp>

Variant::Variant() : m_Value(0.0), m_Type(V_NIL) {}

Variant::Variant(bool value) : m_Value(value), m_Type(V_BOOL) {}

Variant::Variant(double value) : m_Value(value), m_Type(V_DOUBLE) {}

Variant::Variant(const std::string& value) : m_Value(value), m_Type(V_STRING) {}

Variant::Variant(const char* value) : m_Value(std::string(value ? value : "")), m_Type(V_STRING) {}

Variant::~Variant() = default;

bool Variant::ToBool() const
{
    MAKO_ASSERT(m_Type == V_BOOL);
    return std::get<bool>(m_Value);
}

double Variant::ToDouble() const
{
    MAKO_ASSERT(m_Type == V_DOUBLE);
    return std::get<double>(m_Value);
}

std::string Variant::ToString() const
{
    MAKO_ASSERT(m_Type == V_STRING);
    return std::get<std::string>(m_Value);
}

bool Variant::operator==(const Variant& other) const
{
    return m_Type == other.m_Type && m_Value == other.m_Value;
}

namespace MakoLuaState {

Variant GetVariant(LuaPlus::LuaState* state, int stackIndex)
{
    lua_State* L = state->GetCState();
    switch (lua_type(L, stackIndex)) {
    case LUA_TNIL:
    case LUA_TNONE:
        return Variant();
    case LUA_TNUMBER:
        return Variant(static_cast<double>(lua_tonumber(L, stackIndex)));
    case LUA_TSTRING: {
        std::size_t length = 0;
        const char* text = lua_tolstring(L, stackIndex, &length);
        return Variant(std::string(text, length));
    }
    case LUA_TBOOLEAN:
        return Variant(lua_toboolean(L, stackIndex) != 0);
    default:
        MAKO_THROW(ScriptError,
                   boost::str(boost::format("Could not convert type %1% to a Variant.") %
                              luaL_typename(L, stackIndex)));
    }
}

Variant GetVariant(const LuaPlus::LuaObject& value)
{
    LuaPlus::LuaState* state = value.GetState();
    if (!state)
        return Variant(); // an unset object reads as nil
    value.Push();
    try {
        Variant result = GetVariant(state, -1);
        state->Pop();
        return result;
    } catch (...) {
        state->Pop(); // leave the stack as it was found, then pass the failure on
        throw;
    }
}

void PushVariant(LuaPlus::LuaState* state, const Variant& value)
{
    lua_State* L = state->GetCState();
    switch (value.GetType()) {
    case Variant::V_BOOL:
        lua_pushboolean(L, value.ToBool());
        break;
    case Variant::V_DOUBLE:
        lua_pushnumber(L, value.ToDouble());
        break;
    case Variant::V_STRING: {
        std::string text = value.ToString();
        lua_pushlstring(L, text.data(), text.size());
        break;
    }
    default:
        lua_pushnil(L);
        break;
    }
}

LuaPlus::LuaObject ToLuaObject(LuaPlus::LuaState* state, const Variant& value)
{
    PushVariant(state, value);
    LuaPlus::LuaObject result(state, -1);
    state->Pop();
    return result;
}

void Store(LuaPlus::LuaState* state, const std::string& path, const Variant& value)
{
    PushVariant(state, value);
    // The chunk receives the value as its vararg; LoadString consumes the argument.
    LoadString(state, path + " = ...", 1, 0);
}

} // namespace MakoLuaState
