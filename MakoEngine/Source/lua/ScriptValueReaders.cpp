#include "lua/ScriptValueReaders.h"

#include "core/Exception.h"
#include "core/ValueTypeError.h"

using LuaPlus::LuaException;
using LuaPlus::LuaObject;

namespace {

// Raises the ValueTypeError "Object is not a number, but rather a string.".
[[noreturn]] void FailKind(const char* kind, const LuaObject& obj)
{
    MAKO_THROW_VALUE_TYPE_SAYING(
        std::string("Object is not ") + kind + ", but rather a " + obj.TypeName() + ".", kind, obj);
}

} // namespace

LuaObject ResolveScriptValue(const LuaObject& obj)
{
    if (!obj.IsFunction())
        return obj;
    try {
        return obj.Call();
    } catch (const LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

int ReadIntegerFromObject(const LuaObject& obj)
{
    LuaObject value = ResolveScriptValue(obj);
    if (!value.IsNumber())
        FailKind("a number", value);
    return value.GetInteger();
}

double ReadNumberFromObject(const LuaObject& obj)
{
    LuaObject value = ResolveScriptValue(obj);
    if (!value.IsNumber())
        FailKind("a number", value);
    return value.GetNumber();
}

void* ReadPointerFromObject(const LuaObject& obj)
{
    LuaObject value = ResolveScriptValue(obj);
    if (!value.IsLightUserData())
        FailKind("a light user data", value);
    return value.GetLightUserData();
}

std::string ReadStringFromObject(const LuaObject& obj)
{
    LuaObject value = ResolveScriptValue(obj);
    if (!value.IsString())
        FailKind("a string", value);
    return std::string(value.GetString(), value.GetStrLen());
}

bool ReadBooleanFromObject(const LuaObject& obj)
{
    LuaObject value = ResolveScriptValue(obj);
    if (!value.IsBoolean())
        FailKind("a boolean", value);
    return value.GetBoolean();
}
