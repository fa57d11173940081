#pragma once
// The application host of the level check: main-loop passes without a window or an
// application, so a game controller can load a level, drop its bricks and wait for the
// serve exactly as it does in the game. Each pass dispatches posted events (routed ones to
// their receivers, the rest dropped), updates the timers, ticks the root, renders it onto a
// 640 x 480 off-screen canvas and deletes killed actors. Nothing sleeps.
//
// While it lives it is the installed host; the one before comes back when it goes.
// Main thread only.
#include "app/MainLoopPass.h"
#include "core/AppHost.h"
#include "core/EventReceiver.h"
#include "core/TimerManager.h"

#include <memory>

class Actor;
class Canvas;

namespace levelcheck {

class CheckHost : public AppHost, public MainLoopPass, private EventReceiver
{
public:
    explicit CheckHost(Actor* root = nullptr);
    // Deletes the actors still waiting for deletion and puts back the previous host.
    ~CheckHost() override;
    CheckHost(const CheckHost&) = delete;
    CheckHost& operator=(const CheckHost&) = delete;

    void SetRoot(Actor* root) { m_Root = root; }
    void Step(int passes = 1);
    // The canvas the last pass rendered (cleared to black before each render).
    Canvas& GetCanvas() { return *m_Canvas; }

    bool IsGamePaused() const override;
    bool AreShortcutKeysArmed() const override { return false; }
    TimerManager* GetTimerManager() const override { return &m_Timers; }
    void ScheduleForDeletion(Object* object) override;
    void GetMousePosition(int& x, int& y) const override;
    int GetWidth() const override { return 640; }
    int GetHeight() const override { return 480; }
    bool IsFullScreen() const override { return false; }
    bool IsHWAccelEnabled() const override { return false; }
    void PostEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;
    bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;
    void PauseGame(bool) override {}
    void RequestDisplayToggle() override {}
    void Quit() override {}

protected:
    void DispatchPassEvents() override;
    void UpdatePassTimers() override { m_Timers.Update(); }
    void TickPass() override;
    void DrawPass() override;
    void DeletePassObjects() override;

private:
    // Events for the application itself: there is none, they are dropped.
    bool OnEvent(const Event&) override { return true; }

    Actor* m_Root;
    mutable TimerManager m_Timers;
    AppHost* m_PreviousHost = nullptr;
    std::unique_ptr<Canvas> m_Canvas;
};

} // namespace levelcheck
