#include "scene/SceneHost.h"

#include "app/Application.h"
#include "scene/Actor.h"

#include <algorithm>
#include <list>

namespace {

struct HostState
{
    TimerManager* lentTimers = nullptr;
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
    if (Application* app = GetApp())
        return (app->GetFlags() & APPFLAG_GAME_PAUSED) != 0;
    return Host().paused;
}

TimerManager* GetTimerManager()
{
    if (Host().lentTimers)
        return Host().lentTimers;
    if (Application* app = GetApp())
        return app->GetTimerManager();
    return nullptr;
}

void ScheduleForDeletion(Actor* actor)
{
    if (Application* app = GetApp()) {
        app->ScheduleForDeletion(actor);
        return;
    }
    Host().scheduled.push_back(actor);
}

void SetTimerManager(TimerManager* timers)
{
    Host().lentTimers = timers;
}

void SetGamePaused(bool paused)
{
    Host().paused = paused;
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
