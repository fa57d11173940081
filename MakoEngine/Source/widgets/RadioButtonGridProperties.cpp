// RadioButtonGrid: the properties scripts set and read.
#include "widgets/RadioButtonGrid.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"
#include "core/ValueTypeError.h"

#include <string>

using LuaPlus::LuaObject;

void RadioButtonGrid::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("radioButtons"));
    c.RegisterPropertySetter(MakeClassicAccessor("radioButtons"));
}

void RadioButtonGrid::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name != "radioButtons") {
        Grid::ApplyClassicProperty(name, value);
        return;
    }
    if (!value.IsTable())
        MAKO_THROW_VALUE_TYPE("a list of radio-button entries", value);
    LuaPlus::ForEachListElement(value, [&](int, const LuaObject& entry) {
        AddRadioButton(entry);
        return true;
    });
}
