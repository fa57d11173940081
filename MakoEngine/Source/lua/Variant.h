#pragma once
// Variant: a native value that is a number, a text, a truth value or nothing, and its
// conversions to and from script values.
#include "luaplus/LuaPlus.h"

#include <string>
#include <variant>

class Variant
{
public:
    // The kinds a Variant stands for.
    enum Type { V_BOOL = 1, V_DOUBLE = 2, V_NIL = 3, V_STRING = 4 };

    // Nothing (nil); holds the number 0.0.
    Variant();
    explicit Variant(bool value);
    explicit Variant(double value);
    explicit Variant(const std::string& value);
    explicit Variant(const char* value);
    Variant(const Variant& other) = default;
    Variant& operator=(const Variant& other) = default;
    virtual ~Variant();

    int GetType() const { return m_Type; }
    bool IsNil() const { return m_Type == V_NIL; }

    // The value of the matching kind; any other kind fails the assertion naming the
    // expected tag ("m_Type == V_BOOL", "m_Type == V_DOUBLE", "m_Type == V_STRING").
    bool ToBool() const;
    double ToDouble() const;
    std::string ToString() const;

    bool operator==(const Variant& other) const;
    bool operator!=(const Variant& other) const { return !(*this == other); }

private:
    std::variant<double, std::string, bool> m_Value;
    int m_Type;
};

namespace MakoLuaState {

// The value at a stack slot of the state: nil, a number, a string or a boolean. Any
// other script type raises ScriptError "Could not convert type <type> to a Variant.".
Variant GetVariant(LuaPlus::LuaState* state, int stackIndex);
// The same for a held script value.
Variant GetVariant(const LuaPlus::LuaObject& value);

// Pushes the script form of value onto the state's stack.
void PushVariant(LuaPlus::LuaState* state, const Variant& value);
// The script form of value, held.
LuaPlus::LuaObject ToLuaObject(LuaPlus::LuaState* state, const Variant& value);

// Assigns value to the script location path (any assignable expression, such as
// Config["sfx_volume"]), honouring metatables. The value is handed to the script as a
// value, never as text, so numbers keep their precision and strings are taken as they
// stand. A failing assignment raises ScriptError with the script's text; the location
// then keeps its old value.
void Store(LuaPlus::LuaState* state, const std::string& path, const Variant& value);

} // namespace MakoLuaState
