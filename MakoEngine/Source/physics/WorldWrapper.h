#pragma once
// Owns the level's World for as long as the game controller keeps it: the world is made
// with the wrapper and deleted when the wrapper is destroyed.
#include "physics/World.h"

#include <memory>

// SEAM(scene graph, class registry): WorldWrapper becomes an Actor (its only member the
// owned World, deleted before the Actor base) registered as the class "WorldWrapper" once
// Actor and the class registry exist; it then reads the world's configuration through the
// engine configuration.
class WorldWrapper
{
public:
    explicit WorldWrapper(const WorldConfigReader& config = WorldConfigReader());
    ~WorldWrapper();
    WorldWrapper(const WorldWrapper&) = delete;
    WorldWrapper& operator=(const WorldWrapper&) = delete;

    World* GetWorld() const { return m_World.get(); }

private:
    std::unique_ptr<World> m_World;
};
