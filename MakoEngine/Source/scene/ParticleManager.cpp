#include "scene/ParticleManager.h"

ParticleManager::ParticleManager()
{
    SetFlags(ACTORFLAG_UNSORTED);
}

void ParticleManager::AddParticle(Particle* particle)
{
    AddChild(particle, "");
}

std::size_t ParticleManager::Room() const
{
    const std::size_t held = GetChildren().size();
    return held < kMostParticles ? kMostParticles - held : 0;
}
