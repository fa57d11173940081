#pragma once
// An emitter whose particles all follow one ParticleTemplate, read once from the
// "particleTemplate" table instead of applying the table to every particle.
#include "scene/ParticleEmitter.h"
#include "scene/ParticleTemplate.h"

class IdenticalParticleEmitter : public virtual ParticleEmitter
{
    MAKO_DECLARE_CLASS();

public:
    // The template and factory are in place before the named resource is applied.
    IdenticalParticleEmitter(const std::string& resourceName, ParticleManager* manager);

    // "particleTemplate" fills the template (and is kept as the script field too).
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override;
    // Sets one setting of the template.
    void SetParticleProperty(const std::string& name, const LuaPlus::LuaObject& value) override;

    ParticleTemplate& GetTemplate() MAKO_LIFETIMEBOUND { return m_Template; }

    // The identical factory: a particle centred on the emitter, then the template applied.
    static Particle* CreateParticle(ParticleEmitter* emitter, void* argument);

    static void RegisterProperties(Class& emitterClass);

protected:
    ParticleTemplate m_Template;
};
