// MotionRotate: the ramp, the angle, the progress and the endless mode.
#include "scene/MotionRotate.h"

#include "core/PropertyAccessor.h"

void MotionRotate::RegisterProperties(Class& c)
{
    RegisterRampProperties(c);
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionRotate::m_Angle, "angle");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionRotate::m_Progress, "progress");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionRotate::m_Infinite, "infinite");
}

void MotionRotate::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"speed", "angle", "rampUpTicks", "rampDownTicks", "progress", "infinite"});
}
