// Application: the properties scripts set and read (the start-up parameters).
#include "app/Application.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"

#include <unistd.h>

void Application::SetHWAccelFromLua(const LuaPlus::LuaObject& value)
{
    SetHWAccelEnabled(value.GetBoolean());
}

void Application::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&Application::m_HWAccel, "enableHWAccel"));
    c.RegisterPropertySetter(
        MakeFunctionAccessor(&Application::SetHWAccelFromLua, "enableHWAccel"));
    RegisterMemberProperty<PROPERTY_BOOL>(c, &Application::m_LogTickInfo, "logTickInfo");
    c.RegisterPropertyGetter(MakeClassicAccessor("cwd"));
    c.RegisterPropertySetter(MakeLockedAccessor("cwd"));
}

void Application::RetrieveClassicProperties(LuaPlus::LuaObject& table)
{
    Object::RetrieveClassicProperties(table);
    char cwd[512];
    if (getcwd(cwd, sizeof cwd))
        table.SetString("cwd", cwd);
}
