// RadioButtonGrid: the properties scripts set and read.
#include "widgets/RadioButtonGrid.h"

#include "core/Class.h"
#include "core/Exception.h"
#include "core/PropertyAccessor.h"

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
    MAKO_ASSERT_MSG(value.IsTable(), "radioButtons is a list of radio-button entries.");
    const int count = value.GetCount();
    for (int i = 1; i <= count; ++i)
        AddRadioButton(value[i]);
}
