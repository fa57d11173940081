#pragma once
// The actor through which the game controller owns the level's World: the world is made
// with the wrapper and deleted when the wrapper is destroyed, before the actor base.
#include "physics/World.h"
#include "scene/Actor.h"

#include <memory>

class WorldWrapper : public Actor
{
public:
    // The world reads its configuration through `config`; by default from the engine's
    // configuration.
    explicit WorldWrapper(const WorldConfigReader& config = World::EngineConfigReader());
    ~WorldWrapper() override;

    World* GetWorld() const MAKO_LIFETIMEBOUND { return m_World.get(); }

private:
    std::unique_ptr<World> m_World;
};
