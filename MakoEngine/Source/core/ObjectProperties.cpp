// Object: the properties every object has (name, class, resources) as scripts set and
// read them.
#include "core/Object.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

void Object::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_STRING>(c, &Object::m_Name, "name");
    c.RegisterPropertyGetter(MakeClassicAccessor("class"));
    c.RegisterPropertySetter(MakeIgnoredAccessor("class"));
    c.RegisterPropertyGetter(MakeLockedAccessor("resource"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Object::ApplyResourceProperty, "resource"));
    c.RegisterPropertyGetter(MakeScriptAccessor("resources"));
    c.RegisterPropertySetter(MakeFunctionAccessor(&Object::ApplyResourcesProperty, "resources"));
    c.RegisterPropertyGetter(MakeIgnoredAccessor("resourceMetadata"));
    c.RegisterPropertySetter(MakeIgnoredAccessor("resourceMetadata"));
}

void Object::RetrieveClassicProperties(LuaObject& table)
{
    if (!m_Name.empty())
        table.SetString("name", m_Name);
    table.SetString("class", GetClass()->GetName());
}

void Object::RetrieveProperties(LuaObject& table)
{
    LuaObject value;
    RetrieveProperty(value, "class");
    table.SetObject("class", value);
    RetrieveProperty(value, "name");
    table.SetObject("name", value);
    if (m_ScriptTable)
        for (LuaPlus::LuaTableIterator it(*m_ScriptTable); it; it.Next())
            table.SetObject(it.GetKey(), it.GetValue());
}

void Object::ApplyResourceProperty(const LuaObject& value)
{
    TryToRecordResource(value);
    AcquireAndApplyResource(ReadStringFromObject(value));
}

void Object::ApplyResourcesProperty(const LuaObject& value)
{
    TryToRecordResource(value);
    if (value.IsString()) {
        AcquireAndApplyResource(value.GetString());
        return;
    }
    // The value may come from data: one of another type is a type error.
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a resource name or a list of them", value);
    for (const LuaObject& key : GetOrderedKeys(value))
        AcquireAndApplyResource(ReadStringFromObject(value.RawGet(key)));
}
