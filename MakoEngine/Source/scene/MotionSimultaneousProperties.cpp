// MotionSimultaneous: whether the first child to finish ends the composite.
#include "scene/MotionSimultaneous.h"

#include "core/PropertyAccessor.h"

void MotionSimultaneous::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_BOOL>(c, &MotionSimultaneous::m_StopOnFirst, "stopOnFirst");
}

void MotionSimultaneous::RetrieveProperties(LuaPlus::LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"stopOnFirst"});
}
