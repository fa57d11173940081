#pragma once
// A copy of a list of actors for a walk over it that may change the list (a child killed, a
// member added while the walk ticks). The copies live in buffers kept from walk to walk, one
// for each depth of walks within walks, so once they have grown the walks of a pass allocate
// nothing. Snapshots end in the order they began (each lives in one scope). Main thread only.
#include <list>
#include <vector>

class Actor;

class ActorSnapshot
{
public:
    explicit ActorSnapshot(const std::list<Actor*>& actors);
    ~ActorSnapshot();
    ActorSnapshot(const ActorSnapshot&) = delete;
    ActorSnapshot& operator=(const ActorSnapshot&) = delete;

    const std::vector<Actor*>& Actors() const MAKO_LIFETIMEBOUND { return m_Actors; }

private:
    std::vector<Actor*>& m_Actors;
};
