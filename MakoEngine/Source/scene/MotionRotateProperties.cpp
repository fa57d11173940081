// MotionRotate: the ramp, the angle, the progress and the endless mode.
#include "scene/MotionRotate.h"

#include "core/PropertyAccessor.h"

void MotionRotate::RegisterProperties(Class& c)
{
    MotionRamp::RegisterProperties(c, &MotionRotate::m_Ramp);
    c.RegisterPropertyGetter(MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRotate::m_Angle, "angle"));
    c.RegisterPropertySetter(MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRotate::m_Angle, "angle"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRotate::m_Progress, "progress"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionRotate::m_Progress, "progress"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionRotate::m_Infinite, "infinite"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_BOOL>(&MotionRotate::m_Infinite, "infinite"));
}

void MotionRotate::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"speed", "angle", "rampUpTicks", "rampDownTicks", "progress", "infinite"});
}
