// MotionProperties: the property tables applied at a start, on the way and at each child's end.
#include "scene/MotionProperties.h"

#include "core/PropertyAccessor.h"

void MotionProperties::RegisterProperties(Class& c)
{
    const std::pair<const char*, LuaPlus::LuaObject MotionProperties::*> tables[] = {
        {"startProperties", &MotionProperties::m_StartProperties},
        {"stopProperties", &MotionProperties::m_StopProperties},
        {"continueProperties", &MotionProperties::m_ContinueProperties},
    };
    for (const auto& table : tables) {
        c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_LUAOBJECT>(table.second, table.first));
        c.RegisterPropertySetter(MakeMemberAccessor<PROPERTY_LUAOBJECT>(table.second, table.first));
    }
}

void MotionProperties::RetrieveProperties(LuaPlus::LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"startProperties", "stopProperties", "continueProperties"});
}
