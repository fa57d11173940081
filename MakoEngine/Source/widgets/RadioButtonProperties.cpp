// RadioButton: the properties scripts set and read.
#include "widgets/RadioButton.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

#include <string>

void RadioButton::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("radioButtonGroup"));
    c.RegisterPropertySetter(MakeClassicAccessor("radioButtonGroup"));
}

void RadioButton::ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value)
{
    if (name == "radioButtonGroup") {
        m_PendingGroupName = ReadStringFromObject(value);
        ResolvePendingButtonGroup();
        return;
    }
    Button::ApplyClassicProperty(name, value);
}
