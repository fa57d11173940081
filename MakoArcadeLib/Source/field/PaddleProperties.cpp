// Paddle: the properties scripts and level tables set and read: "paddleSize" (0..6),
// "catch" and "laser".
#include "field/Paddle.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

namespace {

const char* const kClassicPaddleProperties[] = {"paddleSize", "catch", "laser"};

} // namespace

void Paddle::RegisterProperties(Class& c)
{
    for (const char* name : kClassicPaddleProperties) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

void Paddle::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "paddleSize")
        SetSizeIndex(ReadIntegerFromObject(value));
    else if (name == "catch")
        SetCatch(ReadBooleanFromObject(value));
    else if (name == "laser")
        SetLaser(ReadBooleanFromObject(value));
    else
        ArcadeStructure::ApplyClassicProperty(name, value);
}

void Paddle::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeStructure::RetrieveClassicProperties(table);
    table.SetInteger("paddleSize", m_SizeIndex);
    table.SetBoolean("catch", m_CatchEnabled);
    table.SetBoolean("laser", m_LaserEnabled);
}
