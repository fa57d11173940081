// MotionLoop: the number of passes and the passes taken.
#include "scene/MotionLoop.h"

#include "core/PropertyAccessor.h"

void MotionLoop::RegisterProperties(Class& c)
{
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_INT>(&MotionLoop::m_Repetitions, "repetitions"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_INT>(&MotionLoop::m_Repetitions, "repetitions"));
    c.RegisterPropertyGetter(
        MakeMemberAccessor<PROPERTY_INT>(&MotionLoop::m_RepetitionsTaken, "repetitionsTaken"));
    c.RegisterPropertySetter(
        MakeMemberAccessor<PROPERTY_INT>(&MotionLoop::m_RepetitionsTaken, "repetitionsTaken"));
}

void MotionLoop::RetrieveProperties(LuaPlus::LuaObject& table)
{
    AbstractMotion::RetrieveProperties(table);
    RetrieveKeys(table, {"repetitions", "repetitionsTaken"});
}
