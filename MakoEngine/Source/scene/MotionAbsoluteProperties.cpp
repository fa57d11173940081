// MotionAbsolute: the destination, the ramp and the ignored axes.
#include "scene/MotionAbsolute.h"

#include "core/PropertyAccessor.h"

void MotionAbsolute::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &MotionAbsolute::m_Destination, "destination");
    RegisterRampProperties(c);
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionAbsolute::m_IgnoreHorizontal,
                                          "ignoreHorizontal");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionAbsolute::m_IgnoreVertical, "ignoreVertical");
}

void MotionAbsolute::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"destination", "speed", "rampUpTicks", "rampDownTicks", "ignoreHorizontal",
                         "ignoreVertical"});
}
