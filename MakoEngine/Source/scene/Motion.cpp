#include "scene/Motion.h"

#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"
#include "scene/Actor.h"
#include "scene/MotionTarget.h"

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(Motion, "Motion", "Object", &Motion::RegisterProperties, nullptr);

Motion::Motion() = default;

Motion::~Motion() = default;

// The binding of the class "Motion": "start" and "stop" are written by hand.
void Motion::RegisterProperties(Class& c)
{
    c.RegisterPropertySetter(MakeClassicAccessor("start"));
    c.RegisterPropertySetter(MakeClassicAccessor("stop"));
}

void Motion::SetTarget(Actor* target)
{
    m_Target = target;
}

void Motion::SetFinishedCallback(MotionFinishedCallback callback, void* argument)
{
    m_Callback = callback;
    m_CallbackArgument = argument;
}

void Motion::Stop()
{
    m_Running = false;
}

Point<float> Motion::GetNextPosition(float x, float y)
{
    return Point<float>(x, y);
}

MotionTarget* Motion::GetMotionTarget() const
{
    return dynamic_cast<MotionTarget*>(m_Target);
}

void Motion::Finish()
{
    m_Running = false;
    CallFinishedCallback();
}

void Motion::CallFinishedCallback()
{
    if (m_Callback)
        m_Callback(m_CallbackArgument);
}

void Motion::ApplyProperties(const LuaObject& table)
{
    if (!table.IsTable())
        return;
    const LuaObject start = table["start"];
    const LuaObject stop = table["stop"];
    if (start.IsNil() && stop.IsNil()) {
        Object::ApplyProperties(table);
        return;
    }
    LuaObject rest;
    rest.AssignNewTable(GetGlobalLuaState());
    for (LuaPlus::LuaTableIterator it(table); it; it.Next())
        rest.SetObject(it.GetKey(), it.GetValue());
    rest.SetNil("start");
    rest.SetNil("stop");
    Object::ApplyProperties(rest);
    if (!start.IsNil())
        ApplyProperty("start", start);
    if (!stop.IsNil())
        ApplyProperty("stop", stop);
}

void Motion::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "start") {
        Start();
        return;
    }
    if (name == "stop") {
        Stop();
        return;
    }
    Object::ApplyClassicProperty(name, value);
}

void Motion::RetrieveProperties(LuaObject& table)
{
    Object::RetrieveProperties(table);
    if (m_Running)
        table.SetBoolean("start", true);
}

void Motion::RetrieveKeys(LuaObject& table, std::initializer_list<const char*> keys)
{
    for (const char* key : keys) {
        LuaObject value;
        RetrieveProperty(value, key);
        table.SetObject(key, value);
    }
}
