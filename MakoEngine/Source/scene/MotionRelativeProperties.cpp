// MotionRelative: the offset, the ramp, the progress and the endless mode.
#include "scene/MotionRelative.h"

#include "core/PropertyAccessor.h"

void MotionRelative::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &MotionRelative::m_Destination, "destination");
    RegisterRampProperties(c);
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionRelative::m_Progress, "progress");
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionRelative::m_Infinite, "infinite");
}

void MotionRelative::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table,
                 {"destination", "speed", "rampUpTicks", "rampDownTicks", "progress", "infinite"});
}
