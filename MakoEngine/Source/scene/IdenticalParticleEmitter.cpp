#include "scene/IdenticalParticleEmitter.h"

#include "core/Class.h"
#include "core/PropertyAccessor.h"
#include "perf/ScopedPerformanceTimer.h"
#include "scene/Particle.h"

#include <memory>

using LuaPlus::LuaObject;

MAKO_IMPLEMENT_CLASS(IdenticalParticleEmitter, "IdenticalParticleEmitter", "ParticleEmitter",
                     &IdenticalParticleEmitter::RegisterProperties, nullptr);

IdenticalParticleEmitter::IdenticalParticleEmitter(const std::string& resourceName,
                                                   ParticleManager* manager)
    : ParticleEmitter(manager)
{
    SetFactory(&IdenticalParticleEmitter::CreateParticle, nullptr);
    if (!resourceName.empty())
        AcquireAndApplyResource(resourceName);
}

Particle* IdenticalParticleEmitter::CreateParticle(ParticleEmitter* emitter, void* argument)
{
    (void)argument;
    IdenticalParticleEmitter* self = dynamic_cast<IdenticalParticleEmitter*>(emitter);
    std::unique_ptr<Particle> particle(new Particle());
    particle->SetDestroyCallback(self->m_ParticleDestroyCallback);
    ScopedPerformanceTimer timer("Identical particle Properties");
    self->CentreOnEmitter(particle.get());
    self->m_Template.ApplyTo(particle.get());
    return particle.release();
}
