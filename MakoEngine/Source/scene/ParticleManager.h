#pragma once
#include "scene/Particle.h"

#include <cstddef>

// The actor that holds live particles as its children, in emission order (unsorted), so
// the ordinary tick and render walks move and draw them. It takes no events.
//
// It holds at most kMostParticles at once: what the emitters make each pass is bounded
// by the room left (ParticleEmitter, the one maker of particles, asks Room() before it
// makes each), so no speed of a ball, no blast and no emitter's numbers from data make the
// work of a pass, the memory or the tear-down grow without end.
class ParticleManager : public Actor
{
public:
    // The busiest shipped level at its height (ten balls with their trails and blur, a
    // chain of blasts) holds about a thousand.
    static constexpr std::size_t kMostParticles = 4096;

    ParticleManager();
    // Takes the particle as a child (the emitter asked Room() first).
    void AddParticle(Particle* particle);
    // How many more particles it takes now.
    std::size_t Room() const;
    bool OnEvent(const Event& event) override { return false; }
};
