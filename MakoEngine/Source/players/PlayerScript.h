#pragma once
// Calls into the players' scripts: a failing script function reaches the C++ caller as a
// ScriptError with the script's own message.
#include "core/Exception.h"
#include "luaplus/LuaPlus.h"

namespace PlayerScript {

// Calls the script global `name` of the state (which must be a function) and returns its
// first result.
template <typename... Args>
LuaPlus::LuaObject CallGlobal(LuaPlus::LuaState* state, const char* name, const Args&... args)
{
    LuaPlus::LuaObject function = state->GetGlobal(name);
    if (!function.IsFunction())
        MAKO_THROW(ScriptError, std::string("The script function ") + name + " is missing.");
    try {
        return function.Call(args...);
    } catch (const LuaPlus::LuaException& e) {
        MAKO_THROW(ScriptError, e.GetMessage());
    }
}

// Whether the value is a number without a fractional part that fits an int.
bool IsInteger(const LuaPlus::LuaObject& value);

} // namespace PlayerScript
