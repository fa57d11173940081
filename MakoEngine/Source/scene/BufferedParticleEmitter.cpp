#include "scene/BufferedParticleEmitter.h"

#include "scene/Particle.h"
#include "scene/ParticleManager.h"

#include <algorithm>

BufferedParticleEmitter::BufferedParticleEmitter(ParticleManager* manager)
    : ParticleEmitter(manager)
{
}

BufferedParticleEmitter::~BufferedParticleEmitter()
{
    ReleasePool();
}

void BufferedParticleEmitter::ReleasePool()
{
    m_Pool.clear();
    m_Next = 0;
}

void BufferedParticleEmitter::BufferParticles()
{
    ReleasePool();
    const int perEmission = GetNumParticles();
    if (m_EmitCount <= 0 || perEmission <= 0)
        return;
    // No more than a manager holds at once are made ahead.
    const std::size_t count =
        std::min(static_cast<std::size_t>(perEmission) * static_cast<std::size_t>(m_EmitCount),
                 ParticleManager::kMostParticles);
    m_Pool.reserve(count);
    for (std::size_t i = 0; i < count; ++i)
        m_Pool.push_back(std::unique_ptr<Particle>(MakeParticle()));
}

void BufferedParticleEmitter::SetPrepareFunction(ParticlePrepareFunction prepare, void* argument)
{
    m_Prepare = prepare;
    m_PrepareArgument = argument;
}

void BufferedParticleEmitter::Emit()
{
    if (!TakeEmission())
        return;
    const int count = GetNumParticles();
    for (int i = 0; i < count && (!GetManager() || GetManager()->Room() > 0); ++i) {
        Particle* particle = nullptr;
        if (m_Next < static_cast<int>(m_Pool.size()))
            particle = m_Pool[static_cast<std::size_t>(m_Next++)].release();
        else
            particle = MakeParticle();
        if (!particle)
            continue;
        if (m_Prepare)
            m_Prepare(particle, m_PrepareArgument);
        Release(particle);
    }
}
