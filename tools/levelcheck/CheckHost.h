#pragma once
// The application host of the level check: main-loop passes without a window or an
// application, so a game controller can load a level, drop its bricks and wait for the
// serve exactly as it does in the game. Each pass dispatches posted events (routed ones to
// their receivers, the rest dropped), updates the timers, ticks the root, renders it onto a
// 640 x 480 off-screen canvas and deletes killed actors. Nothing sleeps.
//
// While it lives it is the installed host (WindowlessHost); the one before comes back when
// it goes. Main thread only.
#include "app/MainLoopPass.h"
#include "app/WindowlessHost.h"
#include "core/EventReceiver.h"
#include "core/TimerManager.h"

#include <memory>

class Actor;
class Canvas;

namespace levelcheck {

class CheckHost : public WindowlessHost, public MainLoopPass, private EventReceiver
{
public:
    explicit CheckHost(Actor* root = nullptr);
    // Deletes the actors still waiting for deletion and puts back the previous host.
    ~CheckHost() override;

    void SetRoot(Actor* root) { m_Root = root; }
    void Step(int passes = 1);
    // The canvas the last pass rendered (cleared to black before each render).
    Canvas& GetCanvas() { return *m_Canvas; }

    TimerManager* GetTimerManager() const override { return &m_Timers; }
    void ScheduleForDeletion(Object* object) override;
    void GetMousePosition(int& x, int& y) const override;
    bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;

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
    std::unique_ptr<Canvas> m_Canvas;
};

} // namespace levelcheck
