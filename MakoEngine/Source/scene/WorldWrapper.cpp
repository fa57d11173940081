#include "scene/WorldWrapper.h"

WorldWrapper::WorldWrapper(const WorldConfigReader& config)
    : m_World(std::make_unique<World>(config))
{
}

WorldWrapper::~WorldWrapper()
{
    m_World.reset();
}
