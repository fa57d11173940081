// MotionConditional: the condition function's name and argument.
#include "scene/MotionConditional.h"

#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"

using LuaPlus::LuaObject;

void MotionConditional::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(MakeClassicAccessor("condition"));
    c.RegisterPropertySetter(MakeClassicAccessor("condition"));
}

void MotionConditional::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name != "condition") {
        AbstractMotion::ApplyClassicProperty(name, value);
        return;
    }
    const LuaObject conditionName = value.IsTable() ? value["name"] : LuaObject();
    if (conditionName.IsString()) {
        m_ConditionName = conditionName.GetString();
        m_ConditionArgument = value["args"];
        if (!m_ConditionName.empty())
            FindConditionFunction(m_ConditionName);
    } else {
        m_ConditionName.clear();
        m_ConditionArgument = LuaObject();
    }
}

void MotionConditional::RetrieveClassicProperties(LuaObject& table)
{
    AbstractMotion::RetrieveClassicProperties(table);
    LuaObject condition;
    condition.AssignNewTable(GetGlobalLuaState());
    condition.SetString("name", m_ConditionName);
    if (m_ConditionArgument.IsSet())
        condition.SetObject("args", m_ConditionArgument);
    table.SetObject("condition", condition);
}

void MotionConditional::RetrieveProperties(LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"condition"});
}
