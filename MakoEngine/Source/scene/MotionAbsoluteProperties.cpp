// MotionAbsolute: the destination, the ramp and the ignored axes.
#include "scene/MotionAbsolute.h"

#include "core/PropertyAccessor.h"

void MotionAbsolute::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionAbsolute::m_Destination, "destination"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionAbsolute::m_Destination, "destination"));
    MotionRamp::RegisterProperties(c, &MotionAbsolute::m_Ramp);
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionAbsolute::m_IgnoreHorizontal, "ignoreHorizontal"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionAbsolute::m_IgnoreHorizontal, "ignoreHorizontal"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionAbsolute::m_IgnoreVertical, "ignoreVertical"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionAbsolute::m_IgnoreVertical, "ignoreVertical"));
}

void MotionAbsolute::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"destination", "speed", "rampUpTicks", "rampDownTicks", "ignoreHorizontal",
                         "ignoreVertical"});
}
