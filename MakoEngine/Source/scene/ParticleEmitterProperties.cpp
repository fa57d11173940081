// ParticleEmitter: the properties scripts set and read, and how a property reaches the particles it
// makes.
#include "scene/ParticleEmitter.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/MakoLuaState.h"
#include "lua/ScriptValueReaders.h"

#include <string>

using LuaPlus::LuaObject;

void ParticleEmitter::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_INT>(c, &ParticleEmitter::m_EmitCount, "emitCount");
    RegisterMemberProperty<PROPERTY_UINT32>(c, &ParticleEmitter::m_Interval, "interval");
    c.RegisterPropertySetter(MakeClassicAccessor("delay"));
}

void ParticleEmitter::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "delay") {
        m_Delay = m_Countdown = static_cast<std::uint32_t>(ReadIntegerFromObject(value));
        return;
    }
    Actor::ApplyClassicProperty(name, value);
}

void ParticleEmitter::SetParticleProperty(const std::string& name, const LuaObject& value)
{
    LuaObject current;
    GetScriptField(current, "particleTemplate");
    LuaObject copy;
    copy.AssignNewTable(GetGlobalLuaState());
    if (current.IsTable())
        for (LuaPlus::LuaTableIterator it(current); it; it.Next())
            copy.SetObject(it.GetKey(), it.GetValue());
    copy.SetObject(name, value);
    ApplyProperty("particleTemplate", copy);
}
