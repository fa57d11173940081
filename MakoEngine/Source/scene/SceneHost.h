#pragma once
// What the actor tree needs of the running application, in one place: whether the game
// is paused, the timer manager that ends fades, and the deferred deletion of killed
// actors. With an application host installed (core/AppHost.h) these are the host's own
// (for the application: its flags, its timer manager, its dead-actor list, emptied after
// each drawn frame). Without one (tools and tests that make actors on their own) the scene
// keeps a pause flag of its own, has no timers, and killed actors wait in a list of its
// own until DeleteScheduledActors. A host with no application behind it (a test harness)
// may leave pause and deletion to the scene's own state (IsOwnGamePaused,
// ScheduleForOwnDeletion).
//
// Main thread only.
class Actor;
class TimerManager;

namespace SceneHost {

// True while the game is paused (APPFLAG_GAME_PAUSED); only actors with the
// keep-ticking flag tick then.
bool IsGamePaused();
// The timer manager fades run on: the host's; null without a host.
TimerManager* GetTimerManager();
// Hands a killed actor over for deletion after the current frame.
void ScheduleForDeletion(Actor* actor);

// The scene's own pause flag: the pause test while no host is installed.
void SetGamePaused(bool paused);
bool IsOwnGamePaused();
// Puts the actor in the scene's own list (what ScheduleForDeletion does without a host).
void ScheduleForOwnDeletion(Actor* actor);
// Deletes the actors scheduled while no host was installed, in kill order: an actor still
// attached is first removed from its parent. Actors killed by those deletions are
// deleted too. Returns how many were deleted.
int DeleteScheduledActors();
// How many actors wait in the scene's own list.
int GetScheduledActorCount();
// Takes an actor out of the scene's own list (an actor deleted directly calls it).
void Forget(Actor* actor);

} // namespace SceneHost
