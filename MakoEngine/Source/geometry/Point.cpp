#include "geometry/Point.h"

#include "core/Exception.h"
#include "core/Utility.h"
#include "core/ValueTypeError.h"
#include "geometry/ScriptCoordinates.h"
#include "lua/LuaFunctionList.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <boost/format.hpp>

#include <cmath>
#include <type_traits>

using LuaPlus::LuaObject;
using LuaPlus::LuaState;

namespace {

// Registry key of each point type's equality metatable.
template <typename T> const char* EqMetatableKey();
template <> const char* EqMetatableKey<int>()
{
    return "Mako.PointIntEq";
}
template <> const char* EqMetatableKey<float>()
{
    return "Mako.PointFloatEq";
}
template <> const char* EqMetatableKey<double>()
{
    return "Mako.PointDoubleEq";
}

// A polar component: a number, or a function whose result is used; anything else fails
// with "Invalid parameter for \"r\", type=string" (the component and its script type).
double ReadPolarComponent(const LuaObject& value, const char* name)
{
    if (value.IsNumber())
        return value.GetNumber();
    if (value.IsFunction())
        return ResolveScriptValue(value).GetNumber();
    const std::string message = boost::str(
        boost::format("Invalid parameter for \"%1%\", type=%2%") % name % value.TypeName());
    throw ValueTypeError(MAKO_WHERE, "a number", DescribeScriptValue(value), message)
        .ForKey(std::string(), name);
}

// A coordinate in the point's type. Point<int> goes through ClampToInt, since a script may
// give any number.
template <typename T> T FromDouble(double value)
{
    if constexpr (std::is_same_v<T, int>)
        return ClampToInt(value);
    else
        return static_cast<T>(value);
}

// The point of modulus r and argument theta (radians), in single precision. Written out
// rather than through std::polar, which leaves a negative modulus undefined; a negative r
// gives the point opposite theta.
void PolarToCartesian(float r, float theta, double& px, double& py)
{
    px = r * std::cos(theta);
    py = r * std::sin(theta);
}

LuaState* ResolveState(LuaState* state)
{
    return state ? state : GetGlobalLuaState();
}

// The __eq function of points: reads both arguments as points and compares them exactly.
template <typename T> int LuaEqualsBody(lua_State* L)
{
    Point<T> a;
    Point<T> b;
    a.SetPoint(LuaObject(L, 1));
    b.SetPoint(LuaObject(L, 2));
    lua_pushboolean(L, a == b);
    return 1;
}

} // namespace

template <typename T> void Point<T>::SetPoint(const LuaObject& value, const char* name)
{
    const CoordinateLabel label{"point", name};
    RequireCoordinateTable(value, label);
    double px = 0;
    double py = 0;
    if constexpr (std::is_same_v<T, float>) {
        // Polar as soon as r is given; a missing theta then fails in the reader.
        if (!value["r"].IsNil()) {
            const float r = static_cast<float>(ReadNumberFromObject(value["r"]));
            const float theta = static_cast<float>(ReadNumberFromObject(value["theta"]));
            PolarToCartesian(r, theta, px, py);
            x = static_cast<float>(px);
            y = static_cast<float>(py);
            return;
        }
    } else {
        LuaObject r = value["r"];
        LuaObject theta = value["theta"];
        if (!r.IsNil() && !theta.IsNil()) {
            const float fr = static_cast<float>(ReadPolarComponent(r, "r"));
            const float ft = static_cast<float>(ReadPolarComponent(theta, "theta"));
            PolarToCartesian(fr, ft, px, py);
            x = FromDouble<T>(px);
            y = FromDouble<T>(py);
            return;
        }
    }
    px = ReadCoordinate(value, "x", 1, label);
    py = ReadCoordinate(value, "y", 2, label);
    x = FromDouble<T>(px);
    y = FromDouble<T>(py);
}

template <typename T> LuaObject Point<T>::ToLuaObject(LuaState* state) const
{
    LuaObject table;
    table.AssignNewTable(ResolveState(state), 0, 2);
    FillLuaObject(table);
    return table;
}

template <typename T> void Point<T>::FillLuaObject(LuaObject& table) const
{
    SetEqMetatable(table);
    if constexpr (std::is_same_v<T, int>) {
        table.SetInteger("x", x);
        table.SetInteger("y", y);
    } else {
        table.SetNumber("x", x);
        table.SetNumber("y", y);
    }
}

template <typename T> void Point<T>::SetEqMetatable(LuaObject& table)
{
    LuaState* state = ResolveState(table.GetState());
    LuaObject registry = state->GetRegistry();
    LuaObject meta = registry.RawGet(EqMetatableKey<T>());
    if (!meta.IsTable()) {
        meta.AssignNewTable(state);
        meta.SetCFunction("__eq", &LuaEqualsBody<T>);
        registry.RawSetObject(EqMetatableKey<T>(), meta);
    }
    table.SetMetaTable(meta);
}

template <typename T> bool Point<T>::IsPoint(const LuaObject& value)
{
    return value.IsTable();
}

template struct Point<int>;
template struct Point<float>;
template struct Point<double>;
