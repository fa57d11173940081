// MotionOrbit: the centre (a point or an object's name), the ramp, the angle, the progress
// and the endless mode.
#include "scene/MotionOrbit.h"

#include "core/PropertyAccessor.h"

void MotionOrbit::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &MotionOrbit::m_Center, "center");
    RegisterMemberProperty<PROPERTY_STRING>(c, &MotionOrbit::m_CenterName, "centerName");
    RegisterRampProperties(c);
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionOrbit::m_Angle, "angle");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionOrbit::m_Progress, "progress");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionOrbit::m_Infinite, "infinite");
}

void MotionOrbit::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"center", "centerName", "speed", "angle", "rampUpTicks", "rampDownTicks",
                         "progress", "infinite"});
}
