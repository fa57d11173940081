// MotionWait: the duration and the ticks waited.
#include "scene/MotionWait.h"

#include "core/PropertyAccessor.h"

void MotionWait::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionWait::m_Duration, "duration"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionWait::m_Duration, "duration"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionWait::m_Progress, "progress"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_FLOAT>(&MotionWait::m_Progress, "progress"));
}

void MotionWait::RetrieveProperties(LuaPlus::LuaObject& table)
{
    Motion::RetrieveProperties(table);
    RetrieveKeys(table, {"duration", "progress"});
}
