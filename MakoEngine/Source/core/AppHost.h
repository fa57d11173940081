#pragma once
// What the lower layers (timers' users, the scene, widgets, screens) may ask of the running
// application, and nothing more: its pause state and input flags, its timer manager, the
// deferred deletion of killed objects, the pointer and the screen size, events to it or
// through it, and the few requests a screen makes of it (pause the game, switch the display
// mode, quit). The application implements it and installs itself when it is made; a test
// harness that steps passes without an application installs one of its own.
//
// Code above the engine (the game, scripts) uses the application itself; the engine's
// own layers below the application use only this. Main thread only.
#include "core/Event.h"

#include <cstdint>

class EventReceiver;
class Object;
class TimerManager;

class AppHost
{
public:
    virtual ~AppHost() = default;

    // True while the game is paused (the game pause of dialogs and the game screen, not
    // the application's pause while its window has no focus).
    virtual bool IsGamePaused() const = 0;
    // True while the keyboard shortcut tips are shown (Alt held long enough).
    virtual bool AreShortcutKeysArmed() const = 0;
    // The timer manager of the running game; null when there is none (yet).
    virtual TimerManager* GetTimerManager() const = 0;
    // Takes a killed object and deletes it (with delete) once the current frame is drawn.
    virtual void ScheduleForDeletion(Object* object) = 0;

    // The pointer in screen coordinates.
    virtual void GetMousePosition(int& x, int& y) const = 0;
    // The size of the game's screen in pixels.
    virtual int GetWidth() const = 0;
    virtual int GetHeight() const = 0;
    virtual bool IsFullScreen() const = 0;
    virtual bool IsHWAccelEnabled() const = 0;

    // Delivers the event in the event phase of this or the next pass; a null destination
    // means the host itself.
    virtual void PostEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                           void* data1 = nullptr, void* data2 = nullptr) = 0;
    // Hands the event to the destination (the host when null) at once; true when consumed.
    virtual bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                           void* data1 = nullptr, void* data2 = nullptr) = 0;

    // Requests of the screens.
    virtual void PauseGame(bool pause) = 0;
    virtual void RequestDisplayToggle() = 0;
    virtual void Quit() = 0;
};

// The installed host; null when none is installed.
AppHost* GetAppHost();
// Installs host (null uninstalls) and returns the one installed before; the caller keeps
// ownership and uninstalls it before it goes.
AppHost* SetAppHost(AppHost* host);
