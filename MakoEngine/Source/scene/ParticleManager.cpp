#include "scene/ParticleManager.h"

ParticleManager::ParticleManager()
{
    SetFlags(ACTORFLAG_UNSORTED);
}

void ParticleManager::AddParticle(Particle* particle)
{
    AddChild(particle, "");
}
