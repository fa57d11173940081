// MotionWait: the duration and the ticks waited.
#include "scene/MotionWait.h"

#include "core/PropertyAccessor.h"

void MotionWait::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionWait::m_Duration, "duration");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &MotionWait::m_Progress, "progress");
}

void MotionWait::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"duration", "progress"});
}
