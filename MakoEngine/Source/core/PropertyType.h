#pragma once
// The value types of typed member properties. For each type the engine keeps one function
// that turns the member into a script value and one that writes a script value into the
// member. Types are registered by number from static definitions (ids 1 to 13, in id
// order) and indexed by BuildPropertyTypeTable.
#include "geometry/Color.h"
#include "geometry/Point.h"
#include "geometry/Poly.h"
#include "geometry/Rect.h"
#include "luaplus/LuaPlus.h"

#include <cstdint>
#include <string>

enum PropertyTypeId : int {
    PROPERTY_BOOL = 1,
    PROPERTY_COLOR = 2,
    PROPERTY_DOUBLE = 3,
    PROPERTY_FLOAT = 4,
    PROPERTY_INT = 5,
    PROPERTY_LUAOBJECT = 6,
    PROPERTY_POINT2F = 7,
    PROPERTY_POINT2I = 8,
    PROPERTY_POLY = 9,
    PROPERTY_RECT = 10,
    PROPERTY_STRING = 11,
    PROPERTY_UCHAR = 12,
    PROPERTY_UINT32 = 13,
};

// out = a fresh script value (in the engine's script state) for the member at `member`.
using PropertyToLua = void (*)(LuaPlus::LuaObject& out, const void* member);
// Writes the script value into the member at `member`. A value it cannot convert raises
// and leaves the member as it was; `name` is the property's name, for the messages of
// conversions that name the value they refuse.
using PropertyFromLua = void (*)(const LuaPlus::LuaObject& value, void* member,
                                 const std::string& name);

struct PropertyType
{
    int id = 0;
    PropertyToLua toLua = nullptr;
    PropertyFromLua fromLua = nullptr;
};

// Appends a type record to the registry list (made on first use, so static definitions
// of any unit may call it).
void RegisterPropertyType(int id, PropertyToLua toLua, PropertyFromLua fromLua);
// Indexes the list by id: a later record of an id replaces an earlier one. Run once by
// the engine's start-up before the class registry starts; running it again re-indexes.
void BuildPropertyTypeTable();
// The record of a registered id (the table is built on first use when start-up has not
// done it yet). An id nobody registered raises.
const PropertyType& GetPropertyType(int id);

// The member type each id stands for, so member accessors can be checked when they are
// declared (core/PropertyAccessor.h).
template <int Id> struct PropertyMemberType;
template <> struct PropertyMemberType<PROPERTY_BOOL>
{
    using Type = bool;
};
template <> struct PropertyMemberType<PROPERTY_COLOR>
{
    using Type = Color;
};
template <> struct PropertyMemberType<PROPERTY_DOUBLE>
{
    using Type = double;
};
template <> struct PropertyMemberType<PROPERTY_FLOAT>
{
    using Type = float;
};
template <> struct PropertyMemberType<PROPERTY_INT>
{
    using Type = std::int32_t;
};
template <> struct PropertyMemberType<PROPERTY_LUAOBJECT>
{
    using Type = LuaPlus::LuaObject;
};
template <> struct PropertyMemberType<PROPERTY_POINT2F>
{
    using Type = Point<float>;
};
template <> struct PropertyMemberType<PROPERTY_POINT2I>
{
    using Type = Point<int>;
};
template <> struct PropertyMemberType<PROPERTY_POLY>
{
    using Type = Poly;
};
template <> struct PropertyMemberType<PROPERTY_RECT>
{
    using Type = SDL_Rect;
};
template <> struct PropertyMemberType<PROPERTY_STRING>
{
    using Type = std::string;
};
template <> struct PropertyMemberType<PROPERTY_UCHAR>
{
    using Type = unsigned char;
};
template <> struct PropertyMemberType<PROPERTY_UINT32>
{
    using Type = std::uint32_t;
};
