// BallSpawnAnimation: the properties scripts and resource tables set and read.
#include "field/BallSpawnAnimation.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

using LuaPlus::LuaObject;

void BallSpawnAnimation::RegisterProperties(Class& c)
{
    // "position" is the circle's centre here, not the actor's corner.
    for (const char* name : {"position", "initialRadius", "lifeTime"}) {
        c.RegisterPropertyGetter(MakeClassicAccessor(name));
        c.RegisterPropertySetter(MakeClassicAccessor(name));
    }
}

void BallSpawnAnimation::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "position") {
        const Point<int> centre(value, "position");
        SetCenter(centre.x, centre.y);
    } else if (name == "initialRadius") {
        SetInitialRadius(unsigned(std::max(0, ReadIntegerFromObject(value))));
    } else if (name == "lifeTime") {
        SetLifeTime(unsigned(std::max(0, ReadIntegerFromObject(value))));
    } else {
        ArcadeActor::ApplyClassicProperty(name, value);
    }
}

void BallSpawnAnimation::RetrieveClassicProperties(LuaObject& table)
{
    ArcadeActor::RetrieveClassicProperties(table);
    table.SetObject("position", m_Center.ToLuaObject());
    table.SetInteger("initialRadius", int(m_InitialRadius));
    table.SetInteger("lifeTime", int(m_LifeTime));
}
