#pragma once
// An identical emitter with a pool: particles follow the one template and are made ahead
// of time by BufferParticles.
#include "scene/BufferedParticleEmitter.h"
#include "scene/IdenticalParticleEmitter.h"

class BufferedIdenticalParticleEmitter : public IdenticalParticleEmitter,
                                         public BufferedParticleEmitter
{
    MAKO_DECLARE_CLASS();

public:
    BufferedIdenticalParticleEmitter(const std::string& resourceName, ParticleManager* manager);

    void Emit() override { BufferedParticleEmitter::Emit(); }
    void ApplyClassicProperty(const std::string& name, const LuaPlus::LuaObject& value) override
    {
        IdenticalParticleEmitter::ApplyClassicProperty(name, value);
    }
    void SetParticleProperty(const std::string& name, const LuaPlus::LuaObject& value) override
    {
        IdenticalParticleEmitter::SetParticleProperty(name, value);
    }
};
