// MotionStop: the stop classes.
#include "scene/MotionStop.h"

#include "core/PropertyAccessor.h"
#include "core/TableOrder.h"
#include "core/ValueTypeError.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

void MotionStop::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("stopClasses"));
    c.RegisterPropertySetter(MakeClassicAccessor("stopClasses"));
}

void MotionStop::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name != "stopClasses") {
        AbstractMotion::ApplyClassicProperty(name, value);
        return;
    }
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a table of class names", value);
    for (const LuaObject& key : GetOrderedKeys(value))
        m_StopClasses.insert(ReadStringFromObject(value[key]));
    SetScriptField("stopClasses", value);
}

void MotionStop::RetrieveClassicProperties(LuaObject& table)
{
    AbstractMotion::RetrieveClassicProperties(table);
    LuaObject stored;
    GetScriptField(stored, "stopClasses");
    table.SetObject("stopClasses", stored);
}

void MotionStop::RetrieveProperties(LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"stopClasses"});
}
