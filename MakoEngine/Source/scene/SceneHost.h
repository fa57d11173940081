#pragma once
// What the actor tree needs of the running application, in one place: whether the game
// is paused, the timer manager that ends fades, and the deferred deletion of killed
// actors. With an application these are the application's own (its flags, its timer
// manager, its dead-actor list, emptied after each drawn frame). Without one (tools and
// tests that step passes themselves) a timer manager can be lent to the scene, and
// killed actors wait in a list of the scene's own until DeleteScheduledActors.
//
// Main thread only.
class Actor;
class TimerManager;

namespace SceneHost {

// True while the game is paused (APPFLAG_GAME_PAUSED); only actors with the
// keep-ticking flag tick then.
bool IsGamePaused();
// The timer manager fades run on: the one lent with SetTimerManager, else the
// application's; null when there is neither.
TimerManager* GetTimerManager();
// Hands a killed actor over for deletion after the current frame.
void ScheduleForDeletion(Actor* actor);

// Lends a timer manager (null takes it back); the caller keeps ownership.
void SetTimerManager(TimerManager* timers);
// Overrides the pause test while no application runs.
void SetGamePaused(bool paused);
// Deletes the actors scheduled while no application ran, in kill order: an actor still
// attached is first removed from its parent. Actors killed by those deletions are
// deleted too. Returns how many were deleted.
int DeleteScheduledActors();
// How many actors wait in the scene's own list.
int GetScheduledActorCount();
// Takes an actor out of the scene's own list (an actor deleted directly calls it).
void Forget(Actor* actor);

} // namespace SceneHost
