#include "lua/ScriptValueReaders.h"

#include "core/Exception.h"

#include <boost/format.hpp>

using LuaPlus::LuaException;
using LuaPlus::LuaObject;

namespace {

// Fails the assertion "false" with "Object is not <kind>, but rather a <type>.".
[[noreturn]] void FailKind(const char* kind, const LuaObject& obj)
{
    std::string message =
        boost::str(boost::format("Object is not %1%, but rather a %2%.") % kind % obj.TypeName());
    throw Exception(MAKO_WHERE,
                    boost::str(boost::format("Assertion failed: (false)\nMessage: %1%") % message));
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
