#pragma once
// An emitter that makes its particles ahead of time: BufferParticles fills a pool of
// numParticles x emitCount particles from the factory, and emissions hand them out in
// order (each particle once), falling back on the factory when the pool is used up. An
// endless emitter (negative emitCount) gets an empty pool and makes every particle when
// it is emitted. Particles not handed out die with the pool.
#include "scene/ParticleEmitter.h"

#include <memory>
#include <vector>

using ParticlePrepareFunction = void (*)(Particle* particle, void* argument);

class BufferedParticleEmitter : public virtual ParticleEmitter
{
public:
    explicit BufferedParticleEmitter(ParticleManager* manager = nullptr);
    ~BufferedParticleEmitter() override;

    // Releases the old pool and fills a new one.
    void BufferParticles();
    // Called on every particle handed out, just before it starts.
    void SetPrepareFunction(ParticlePrepareFunction prepare, void* argument);
    void Emit() override;

    int GetPoolCount() const { return static_cast<int>(m_Pool.size()); }
    int GetPoolNext() const { return m_Next; }

private:
    void ReleasePool();

    std::vector<std::unique_ptr<Particle>> m_Pool; // null once handed out
    int m_Next = 0;
    ParticlePrepareFunction m_Prepare = nullptr;
    void* m_PrepareArgument = nullptr;
};
