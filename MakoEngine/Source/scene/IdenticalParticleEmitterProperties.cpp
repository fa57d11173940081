// IdenticalParticleEmitter: the properties scripts set and read, and how a property reaches its
// particle template.
#include "scene/IdenticalParticleEmitter.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"

#include <string>

using LuaPlus::LuaObject;

void IdenticalParticleEmitter::RegisterProperties(Class& c)
{
    c.RegisterPropertySetter(MakeClassicAccessor("particleTemplate"));
}

void IdenticalParticleEmitter::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "particleTemplate") {
        m_Template.ApplyProperties(value);
        SetScriptField("particleTemplate", value);
        return;
    }
    ParticleEmitter::ApplyClassicProperty(name, value);
}

void IdenticalParticleEmitter::SetParticleProperty(const std::string& name, const LuaObject& value)
{
    m_Template.ApplyProperty(name, value);
}
