// The thirteen property value types: for each, the conversion of a member to a fresh value
// in the engine's script state and the conversion of a script value into the member.
// Every from-script conversion reads into a temporary first, so a value it cannot convert
// raises and leaves the member as it was.
#include "core/DataRange.h"
#include "core/PropertyType.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <cmath>
#include <cstdint>

using LuaPlus::LuaObject;

namespace {

LuaPlus::LuaState* ConverterScriptState()
{
    return GetGlobalLuaState();
}

template <typename T> const T& MemberOf(const void* member)
{
    return *static_cast<const T*>(member);
}

template <typename T> T& MemberOf(void* member)
{
    return *static_cast<T*>(member);
}

void BoolToLua(LuaObject& out, const void* member)
{
    out.AssignBoolean(ConverterScriptState(), MemberOf<bool>(member));
}

void BoolFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<bool>(member) = ReadBooleanFromObject(value);
}

// A named colour reads back as its name.
void ColorToLua(LuaObject& out, const void* member)
{
    out.AssignNil(ConverterScriptState());
    MemberOf<Color>(member).ToLuaObject(out, true);
}

void ColorFromLua(const LuaObject& value, void* member, const std::string&)
{
    Color color = MemberOf<Color>(member);
    color.SetColor(value);
    MemberOf<Color>(member) = color;
}

void DoubleToLua(LuaObject& out, const void* member)
{
    out.AssignNumber(ConverterScriptState(), MemberOf<double>(member));
}

void DoubleFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<double>(member) = ReadNumberFromObject(value);
}

void FloatToLua(LuaObject& out, const void* member)
{
    out.AssignNumber(ConverterScriptState(), MemberOf<float>(member));
}

void FloatFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<float>(member) = static_cast<float>(ReadNumberFromObject(value));
}

void IntToLua(LuaObject& out, const void* member)
{
    out.AssignNumber(ConverterScriptState(), MemberOf<std::int32_t>(member));
}

void IntFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<std::int32_t>(member) = ReadIntegerFromObject(value);
}

void LuaObjectToLua(LuaObject& out, const void* member)
{
    const LuaObject& held = MemberOf<LuaObject>(member);
    if (held.IsSet())
        out = held;
    else
        out.AssignNil(ConverterScriptState());
}

void LuaObjectFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<LuaObject>(member) = value;
}

void Point2fToLua(LuaObject& out, const void* member)
{
    out = MemberOf<Point<float>>(member).ToLuaObject(ConverterScriptState());
}

void Point2fFromLua(const LuaObject& value, void* member, const std::string& name)
{
    Point<float> point = MemberOf<Point<float>>(member);
    point.SetPoint(value, name.c_str());
    MemberOf<Point<float>>(member) = point;
}

void Point2iToLua(LuaObject& out, const void* member)
{
    out = MemberOf<Point<int>>(member).ToLuaObject(ConverterScriptState());
}

void Point2iFromLua(const LuaObject& value, void* member, const std::string& name)
{
    Point<int> point = MemberOf<Point<int>>(member);
    point.SetPoint(value, name.c_str());
    MemberOf<Point<int>>(member) = point;
}

void PolyToLua(LuaObject& out, const void* member)
{
    out = MemberOf<Poly>(member).ToLuaObject(ConverterScriptState());
}

void PolyFromLua(const LuaObject& value, void* member, const std::string&)
{
    Poly poly = MemberOf<Poly>(member);
    poly.SetPoly(value);
    MemberOf<Poly>(member) = poly;
}

void RectToLua(LuaObject& out, const void* member)
{
    out = RectToLuaObject(MemberOf<SDL_Rect>(member), ConverterScriptState());
}

// Values a 16-bit field cannot hold are refused, naming the property and the field.
void RectFromLua(const LuaObject& value, void* member, const std::string& name)
{
    SDL_Rect rect = MemberOf<SDL_Rect>(member);
    SetRectFromLuaObject(rect, value, name.c_str());
    MemberOf<SDL_Rect>(member) = rect;
}

void StringToLua(LuaObject& out, const void* member)
{
    out.AssignString(ConverterScriptState(), MemberOf<std::string>(member));
}

void StringFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<std::string>(member) = ReadStringFromObject(value);
}

void UCharToLua(LuaObject& out, const void* member)
{
    out.AssignNumber(ConverterScriptState(), MemberOf<unsigned char>(member));
}

// Cut to the low 8 bits: 300 is stored as 44.
void UCharFromLua(const LuaObject& value, void* member, const std::string&)
{
    MemberOf<unsigned char>(member) = static_cast<unsigned char>(ReadIntegerFromObject(value));
}

// The unsigned value itself, so masks and ids at or above 2^31 keep their value in scripts.
void UInt32ToLua(LuaObject& out, const void* member)
{
    out.AssignNumber(ConverterScriptState(), MemberOf<std::uint32_t>(member));
}

// Any number, truncated toward zero and taken modulo 2^32 (so -1 is 0xFFFFFFFF).
void UInt32FromLua(const LuaObject& value, void* member, const std::string&)
{
    // A number no 64-bit integer holds (NaN, 1e308) is held to that range first, so the
    // conversion is always defined.
    bool changed = false;
    const double number =
        DataRange::Hold(std::trunc(ReadNumberFromObject(value)), -9.0e18, 9.0e18, 0.0, changed);
    MemberOf<std::uint32_t>(member) =
        static_cast<std::uint32_t>(static_cast<std::int64_t>(number) & 0xFFFFFFFFll);
}

struct BuiltInTypes
{
    BuiltInTypes()
    {
        RegisterPropertyType(PROPERTY_BOOL, BoolToLua, BoolFromLua);
        RegisterPropertyType(PROPERTY_COLOR, ColorToLua, ColorFromLua);
        RegisterPropertyType(PROPERTY_DOUBLE, DoubleToLua, DoubleFromLua);
        RegisterPropertyType(PROPERTY_FLOAT, FloatToLua, FloatFromLua);
        RegisterPropertyType(PROPERTY_INT, IntToLua, IntFromLua);
        RegisterPropertyType(PROPERTY_LUAOBJECT, LuaObjectToLua, LuaObjectFromLua);
        RegisterPropertyType(PROPERTY_POINT2F, Point2fToLua, Point2fFromLua);
        RegisterPropertyType(PROPERTY_POINT2I, Point2iToLua, Point2iFromLua);
        RegisterPropertyType(PROPERTY_POLY, PolyToLua, PolyFromLua);
        RegisterPropertyType(PROPERTY_RECT, RectToLua, RectFromLua);
        RegisterPropertyType(PROPERTY_STRING, StringToLua, StringFromLua);
        RegisterPropertyType(PROPERTY_UCHAR, UCharToLua, UCharFromLua);
        RegisterPropertyType(PROPERTY_UINT32, UInt32ToLua, UInt32FromLua);
    }
};

const BuiltInTypes gBuiltInTypes;

} // namespace
