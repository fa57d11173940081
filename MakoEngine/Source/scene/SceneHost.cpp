#include "scene/SceneHost.h"

#include "core/AppHost.h"
#include "scene/Actor.h"

#include <algorithm>
#include <list>

namespace {

struct HostState
{
    bool paused = false;
    std::list<Actor*> scheduled;
};

HostState& Host()
{
    static HostState state;
    return state;
}

} // namespace

namespace SceneHost {

bool IsGamePaused()
{
    if (AppHost* host = GetAppHost())
        return host->IsGamePaused();
    return Host().paused;
}

TimerManager* GetTimerManager()
{
    if (AppHost* host = GetAppHost())
        return host->GetTimerManager();
    return nullptr;
}

void ScheduleForDeletion(Actor* actor)
{
    if (AppHost* host = GetAppHost())
        host->ScheduleForDeletion(actor);
    else
        ScheduleForOwnDeletion(actor);
}

void ScheduleForOwnDeletion(Actor* actor)
{
    Host().scheduled.push_back(actor);
}

void SetGamePaused(bool paused)
{
    Host().paused = paused;
}

bool IsOwnGamePaused()
{
    return Host().paused;
}

int DeleteScheduledActors()
{
    int deleted = 0;
    std::list<Actor*>& scheduled = Host().scheduled;
    while (!scheduled.empty()) {
        Actor* actor = scheduled.front();
        scheduled.pop_front();
        if (Actor* parent = actor->GetParent())
            parent->RemoveChild(actor);
        delete actor;
        ++deleted;
    }
    return deleted;
}

int GetScheduledActorCount()
{
    return static_cast<int>(Host().scheduled.size());
}

void Forget(Actor* actor)
{
    Host().scheduled.remove(actor);
}

} // namespace SceneHost
