#pragma once
#include "scene/Particle.h"

// The actor that holds live particles as its children, in emission order (unsorted), so
// the ordinary tick and render walks move and draw them. It takes no events.
class ParticleManager : public Actor
{
public:
    ParticleManager();
    void AddParticle(Particle* particle);
    bool OnEvent(const Event& event) override { return false; }
};
