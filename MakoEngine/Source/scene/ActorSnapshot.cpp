#include "scene/ActorSnapshot.h"

#include <cstddef>
#include <deque>

namespace {

// One buffer for each depth reached; a deque keeps the buffers in place as it grows. Made on
// first use and never destroyed, so a walk during the program's exit still has them.
std::deque<std::vector<Actor*>>& Buffers()
{
    static auto* const buffers = new std::deque<std::vector<Actor*>>;
    return *buffers;
}

std::size_t s_Depth = 0;

// The buffer of the next depth, made on first use.
std::vector<Actor*>& Take()
{
    std::deque<std::vector<Actor*>>& buffers = Buffers();
    if (s_Depth == buffers.size())
        buffers.emplace_back();
    return buffers[s_Depth];
}

} // namespace

ActorSnapshot::ActorSnapshot(const std::list<Actor*>& actors) : m_Actors(Take())
{
    // The depth is taken only once the copy is whole, so a copy that fails leaves none taken.
    m_Actors.assign(actors.begin(), actors.end());
    ++s_Depth;
}

ActorSnapshot::~ActorSnapshot()
{
    m_Actors.clear();
    --s_Depth;
}
