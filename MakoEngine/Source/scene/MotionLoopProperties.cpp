// MotionLoop: the number of passes and the passes taken.
#include "scene/MotionLoop.h"

#include "core/PropertyAccessor.h"

void MotionLoop::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_INT>(c, &MotionLoop::m_Repetitions, "repetitions");
    RegisterMemberProperty<PROPERTY_INT>(c, &MotionLoop::m_RepetitionsTaken, "repetitionsTaken");
}

void MotionLoop::RetrieveProperties(LuaPlus::LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"repetitions", "repetitionsTaken"});
}
