#include "core/ObjectDescription.h"

#include "core/Class.h"
#include "core/Object.h"

std::string DescribeObject(const Object& object)
{
    const std::string className = object.GetClass()->GetName();
    if (!object.GetName().empty())
        return className + " \"" + object.GetName() + "\"";
    const LuaPlus::LuaObject resources = object.GetScriptField("resources");
    const LuaPlus::LuaObject first = resources.IsTable() ? resources[1] : resources;
    if (first.IsString())
        return className + " \"" + first.GetString() + "\"";
    return className;
}
