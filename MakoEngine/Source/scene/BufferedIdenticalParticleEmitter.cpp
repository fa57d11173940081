#include "scene/BufferedIdenticalParticleEmitter.h"

#include "core/Class.h"

MAKO_IMPLEMENT_CLASS(BufferedIdenticalParticleEmitter, "BufferedIdenticalParticleEmitter",
                     "IdenticalParticleEmitter", nullptr, nullptr);

BufferedIdenticalParticleEmitter::BufferedIdenticalParticleEmitter(const std::string& resourceName,
                                                                   ParticleManager* manager)
    : ParticleEmitter(manager), IdenticalParticleEmitter("", manager),
      BufferedParticleEmitter(manager)
{
    if (!resourceName.empty())
        AcquireAndApplyResource(resourceName);
}
