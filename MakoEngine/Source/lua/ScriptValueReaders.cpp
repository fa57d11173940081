#include "lua/ScriptValueReaders.h"

#include "core/Exception.h"
#include "core/ValueTypeError.h"

using LuaPlus::LuaException;
using LuaPlus::LuaObject;

namespace {

const char kSeenDataFunction[] = "function a data file made";

// Raises the ValueTypeError "Object is not a number, but rather a string." (seen: the kind
// seen, else the value's script type).
[[noreturn]] void FailKind(const char* kind, const LuaObject& obj, const char* seen = nullptr)
{
    MAKO_THROW_VALUE_TYPE_SAYING(std::string("Object is not ") + kind + ", but rather a " +
                                     (seen ? seen : obj.TypeName()) + ".",
                                 kind, obj);
}

// ResolveScriptValue for a reader of kind: a function a data file made is refused as a value
// of the wrong kind.
LuaObject Resolve(const LuaObject& obj, const char* kind)
{
    if (obj.IsFunction() && IsFunctionOfData(obj))
        FailKind(kind, obj, kSeenDataFunction);
    return ResolveScriptValue(obj);
}

} // namespace

bool IsFunctionOfData(const LuaObject& value)
{
    if (!value.IsFunction())
        return false;
    lua_State* L = value.GetCState();
    value.Push(L);
    bool ofData = false;
    if (!lua_iscfunction(L, -1)) {
        lua_getfenv(L, -1);
        ofData = lua_rawequal(L, -1, LUA_GLOBALSINDEX) == 0;
        lua_pop(L, 1);
    }
    lua_pop(L, 1);
    return ofData;
}

LuaObject ResolveScriptValue(const LuaObject& obj)
{
    if (!obj.IsFunction())
        return obj;
    if (IsFunctionOfData(obj))
        MAKO_THROW_VALUE_TYPE_SAYING(std::string("Object is a ") + kSeenDataFunction +
                                         "; the game calls only functions of its own scripts.",
                                     "a value", obj);
    try {
        return obj.Call();
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

int ReadIntegerFromObject(const LuaObject& obj)
{
    LuaObject value = Resolve(obj, "a number");
    if (!value.IsNumber())
        FailKind("a number", value);
    return value.GetInteger();
}

double ReadNumberFromObject(const LuaObject& obj)
{
    LuaObject value = Resolve(obj, "a number");
    if (!value.IsNumber())
        FailKind("a number", value);
    return value.GetNumber();
}

const void* TableIdentity(const LuaObject& table)
{
    lua_State* L = table.GetCState();
    table.Push(L);
    const void* identity = lua_topointer(L, -1);
    lua_pop(L, 1);
    return identity;
}

void* ReadPointerFromObject(const LuaObject& obj)
{
    LuaObject value = Resolve(obj, "a light user data");
    if (!value.IsLightUserData())
        FailKind("a light user data", value);
    return value.GetLightUserData();
}

std::string ReadStringFromObject(const LuaObject& obj)
{
    LuaObject value = Resolve(obj, "a string");
    if (!value.IsString())
        FailKind("a string", value);
    return std::string(value.GetString(), value.GetStrLen());
}

bool ReadBooleanFromObject(const LuaObject& obj)
{
    LuaObject value = Resolve(obj, "a boolean");
    if (!value.IsBoolean())
        FailKind("a boolean", value);
    return value.GetBoolean();
}
