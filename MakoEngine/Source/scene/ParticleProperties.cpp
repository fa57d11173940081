// Particle: the properties scripts set and read.
#include "scene/Particle.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "lua/ScriptValueReaders.h"

#include <string>

using LuaPlus::LuaObject;

void Particle::RegisterProperties(Class& c)
{
    auto both = [&c](PropertyAccessor* (*make)()) {
        c.RegisterPropertyGetter(make());
        c.RegisterPropertySetter(make());
    };
    both([] { return MakeMemberAccessor<PROPERTY_FLOAT>(&Particle::m_ParticleAlpha, "alpha"); });
    both([] { return MakeMemberAccessor<PROPERTY_FLOAT>(&Particle::m_AlphaStep, "alphaStep"); });
    both([] { return MakeMemberAccessor<PROPERTY_INT>(&Particle::m_Lifetime, "lifetime"); });
    both([] { return MakeMemberAccessor<PROPERTY_POINT2F>(&Particle::m_Position, "position"); });
    both([] {
        return MakeMemberAccessor<PROPERTY_FLOAT>(&Particle::m_RotationStep, "rotationStep");
    });
    both([] { return MakeMemberAccessor<PROPERTY_POINT2F>(&Particle::m_Velocity, "velocity"); });
    both([] {
        return MakeMemberAccessor<PROPERTY_POINT2F>(&Particle::m_Acceleration, "acceleration");
    });
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
