#pragma once
// How a class reads or writes one named property. Each class registers one accessor per
// property getter and one per setter (core/Class.h), and owns them. The kinds:
//   ACCESSOR_FUNCTION  write: a function of (object, value); read: not allowed
//   ACCESSOR_CLASSIC   the object's ApplyClassicProperty / RetrieveClassicProperty
//   ACCESSOR_SCRIPT    a field of the object's script table
//   ACCESSOR_LOCKED    neither read nor written: both raise
//   ACCESSOR_MEMBER    a typed member of the object, converted by its property type
//   ACCESSOR_IGNORED   writes do nothing, reads give nil
//   ACCESSOR_DEFAULT   what a lookup that finds nothing yields; behaves as ACCESSOR_SCRIPT
// A member accessor reaches its member through a closure that, given the object, answers
// the member's address; the factory below checks the member's type against the property
// type when the accessor is declared.
#include "core/Exception.h"
#include "core/PropertyType.h"
#include "luaplus/LuaPlus.h"

#include <functional>
#include <string>
#include <type_traits>

class Object;

enum AccessorKind : int {
    ACCESSOR_FUNCTION = 0,
    ACCESSOR_CLASSIC = 1,
    ACCESSOR_SCRIPT = 2,
    ACCESSOR_LOCKED = 3,
    ACCESSOR_MEMBER = 4,
    ACCESSOR_IGNORED = 5,
    ACCESSOR_DEFAULT = 6,
};

using PropertyFunction = std::function<void(Object& object, const LuaPlus::LuaObject& value)>;
using MemberLocator = std::function<void*(Object& object)>;

struct PropertyAccessor
{
    int kind = ACCESSOR_DEFAULT;
    int typeId = 0;            // ACCESSOR_MEMBER only
    MemberLocator member;      // ACCESSOR_MEMBER only: the member's address in an object
    PropertyFunction function; // ACCESSOR_FUNCTION only
    std::string name;          // the key in the class's map
};

PropertyAccessor* MakeFunctionAccessor(PropertyFunction function, const std::string& name);
PropertyAccessor* MakeClassicAccessor(const std::string& name);
PropertyAccessor* MakeScriptAccessor(const std::string& name);
PropertyAccessor* MakeLockedAccessor(const std::string& name);
PropertyAccessor* MakeIgnoredAccessor(const std::string& name);
// A member accessor from a locator; typeId must be a registered property type.
PropertyAccessor* MakeMemberAccessor(int typeId, MemberLocator member, const std::string& name);
// The one shared default accessor (kind ACCESSOR_DEFAULT, empty name) that every lookup
// finding nothing returns. Never deleted.
const PropertyAccessor* MakeScriptPropertyAccessor();

// The object as its concrete class C; an object of another class raises (a member
// accessor registered on the wrong class).
template <typename C> C& CastPropertyObject(Object& object)
{
    C* concrete = dynamic_cast<C*>(&object);
    MAKO_ASSERT_MSG(concrete != nullptr,
                    "A property accessor was used on an object of another class.");
    return *concrete;
}

// A member accessor for the member `member` of class C, of property type Id:
//   c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_INT>(&Actor::m_Z, "z"));
template <int Id, typename C, typename M>
PropertyAccessor* MakeMemberAccessor(M C::*member, const std::string& name)
{
    static_assert(std::is_same<M, typename PropertyMemberType<Id>::Type>::value,
                  "the member's type is not the property type's member type");
    return MakeMemberAccessor(
        Id, [member](Object& object) -> void* { return &(CastPropertyObject<C>(object).*member); },
        name);
}

// A function accessor calling a member function of class C with the value:
//   c.RegisterPropertySetter(MakeFunctionAccessor(&Actor::SetImageProperty, "image"));
template <typename C>
PropertyAccessor* MakeFunctionAccessor(void (C::*function)(const LuaPlus::LuaObject&),
                                       const std::string& name)
{
    return MakeFunctionAccessor(
        [function](Object& object, const LuaPlus::LuaObject& value) {
            (CastPropertyObject<C>(object).*function)(value);
        },
        name);
}

// Converts a script value into the accessor's member of the object.
void SetMemberProperty(Object& object, const PropertyAccessor& accessor,
                       const LuaPlus::LuaObject& value);
// A fresh script value of the accessor's member of the object.
void GetMemberProperty(Object& object, LuaPlus::LuaObject& value, const PropertyAccessor& accessor);
