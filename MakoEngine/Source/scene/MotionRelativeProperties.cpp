// MotionRelative: the offset, the ramp, the progress and the endless mode.
#include "scene/MotionRelative.h"

#include "core/PropertyAccessor.h"

void MotionRelative::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionRelative::m_Destination, "destination"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionRelative::m_Destination, "destination"));
    MotionRamp::RegisterProperties(c, &MotionRelative::m_Ramp);
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRelative::m_Progress, "progress"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRelative::m_Progress, "progress"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionRelative::m_Infinite, "infinite"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionRelative::m_Infinite, "infinite"));
}

void MotionRelative::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table,
                 {"destination", "speed", "rampUpTicks", "rampDownTicks", "progress", "infinite"});
}
