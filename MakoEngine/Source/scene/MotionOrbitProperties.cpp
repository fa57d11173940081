// MotionOrbit: the centre (a point or an object's name), the ramp, the angle, the progress
// and the endless mode.
#include "scene/MotionOrbit.h"

#include "core/PropertyAccessor.h"

void MotionOrbit::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionOrbit::m_Center, "center"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_POINT2F>(&MotionOrbit::m_Center, "center"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_STRING>(&MotionOrbit::m_CenterName, "centerName"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_STRING>(&MotionOrbit::m_CenterName, "centerName"));
    MotionRamp::RegisterProperties(c, &MotionOrbit::m_Ramp);
    c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_FLOAT>(&MotionOrbit::m_Angle, "angle"));
    c.RegisterPropertySetter(MakeMemberAccessor<PROPERTY_FLOAT>(&MotionOrbit::m_Angle, "angle"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionOrbit::m_Progress, "progress"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionOrbit::m_Progress, "progress"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionOrbit::m_Infinite, "infinite"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionOrbit::m_Infinite, "infinite"));
}

void MotionOrbit::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"center", "centerName", "speed", "angle", "rampUpTicks", "rampDownTicks",
                         "progress", "infinite"});
}
