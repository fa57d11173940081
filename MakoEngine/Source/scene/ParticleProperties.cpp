// Particle: the properties scripts set and read.
#include "scene/Particle.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

#include <string>

using LuaPlus::LuaObject;

void Particle::RegisterProperties(Class& c)
{
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Particle::m_ParticleAlpha, "alpha");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Particle::m_AlphaStep, "alphaStep");
    RegisterMemberProperty<PROPERTY_INT>(c, &Particle::m_Lifetime, "lifetime");
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &Particle::m_Position, "position");
    RegisterMemberProperty<PROPERTY_FLOAT>(c, &Particle::m_RotationStep, "rotationStep");
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &Particle::m_Velocity, "velocity");
    RegisterMemberProperty<PROPERTY_POINT2F>(c, &Particle::m_Acceleration, "acceleration");
    c.RegisterPropertyGetter(MakeClassicAccessor("destAlpha"));
    c.RegisterPropertySetter(MakeClassicAccessor("destAlpha"));
}

void Particle::ApplyClassicProperty(const std::string& name, const LuaObject& value)
{
    if (name == "destAlpha") {
        SetDestAlpha(static_cast<float>(ReadNumberFromObject(value)));
        return;
    }
    Actor::ApplyClassicProperty(name, value);
}
