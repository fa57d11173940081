#include "core/PropertyAccessor.h"

namespace {

PropertyAccessor* MakeAccessor(int kind, const std::string& name)
{
    PropertyAccessor* accessor = new PropertyAccessor;
    accessor->kind = kind;
    accessor->name = name;
    return accessor;
}

} // namespace

PropertyAccessor* MakeFunctionAccessor(PropertyFunction function, const std::string& name)
{
    MAKO_ASSERT(function != nullptr);
    PropertyAccessor* accessor = MakeAccessor(ACCESSOR_FUNCTION, name);
    accessor->function = std::move(function);
    return accessor;
}

PropertyAccessor* MakeClassicAccessor(const std::string& name)
{
    return MakeAccessor(ACCESSOR_CLASSIC, name);
}

PropertyAccessor* MakeScriptAccessor(const std::string& name)
{
    return MakeAccessor(ACCESSOR_SCRIPT, name);
}

PropertyAccessor* MakeLockedAccessor(const std::string& name)
{
    return MakeAccessor(ACCESSOR_LOCKED, name);
}

PropertyAccessor* MakeIgnoredAccessor(const std::string& name)
{
    return MakeAccessor(ACCESSOR_IGNORED, name);
}

PropertyAccessor* MakeMemberAccessor(int typeId, MemberLocator member, const std::string& name)
{
    MAKO_ASSERT(member != nullptr);
    GetPropertyType(typeId); // raises for an id nobody registered
    PropertyAccessor* accessor = MakeAccessor(ACCESSOR_MEMBER, name);
    accessor->typeId = typeId;
    accessor->member = std::move(member);
    return accessor;
}

const PropertyAccessor* MakeScriptPropertyAccessor()
{
    static const PropertyAccessor* const accessor = MakeAccessor(ACCESSOR_DEFAULT, "");
    return accessor;
}

void SetMemberProperty(Object& object, const PropertyAccessor& accessor,
                       const LuaPlus::LuaObject& value)
{
    GetPropertyType(accessor.typeId).fromLua(value, accessor.member(object), accessor.name);
}

void GetMemberProperty(Object& object, LuaPlus::LuaObject& value, const PropertyAccessor& accessor)
{
    GetPropertyType(accessor.typeId).toLua(value, accessor.member(object));
}
