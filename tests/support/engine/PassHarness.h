#pragma once
// Steps the scene one main-loop pass at a time without an application, through the main
// loop's own pass (MainLoopPass): posted events are dispatched (routed ones to their
// receivers; those for the application are kept for the test to read), the timer manager
// updates, the root actor ticks, the root renders onto an off-screen canvas, and killed
// actors are deleted. Nothing waits: no pass sleeps.
//
// While a harness lives it is the installed application host: its timer manager is the
// one fades and widgets run on, timers without a target and events sent to the host are
// recorded as application events, screens are built 640 x 480, the pointer is SDL's
// (outside every widget when SDL video is not running), and pause and deferred deletion
// are the scene's own (SceneHost::SetGamePaused, SceneHost::DeleteScheduledActors).
//
//   bbtest::PassHarness::PrepareEngine();      // once: script state, types, classes
//   bbtest::PassHarness passes(root, 64, 64);  // root owned by the test
//   passes.Step(10);
#include "app/MainLoopPass.h"
#include "app/WindowlessHost.h"
#include "core/Event.h"
#include "core/EventReceiver.h"
#include "core/TimerManager.h"
#include "geometry/Color.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class Actor;
class Canvas;
class Image;
class ResourceManager;

namespace bbtest {

class PassHarness : public WindowlessHost, public MainLoopPass, private EventReceiver
{
public:
    // The script state with its start-up chunk, native functions and resource script, the
    // property types and the class registry; runs once per program.
    static void PrepareEngine();

    // root (may be null, not owned) is ticked and rendered onto a width x height canvas.
    explicit PassHarness(Actor* root = nullptr, int width = 64, int height = 64);
    // Deletes the actors still waiting for deletion and puts back the host installed before.
    ~PassHarness() override;
    PassHarness(const PassHarness&) = delete;
    PassHarness& operator=(const PassHarness&) = delete;

    void SetRoot(Actor* root) { m_Root = root; }
    // Whether passes render the root (on by default). Tests that look at no pixels may turn
    // it off: ticks, timers, events and deletions run the same, in half the time.
    void SetDrawing(bool drawing) { m_Drawing = drawing; }
    // Runs that many passes.
    void Step(int passes = 1);
    // Runs passes until the predicate holds (at most limit passes); the number run.
    template <typename Pred> int StepUntil(Pred done, int limit = 1000)
    {
        int n = 0;
        while (!done() && n < limit) {
            Step();
            ++n;
        }
        return n;
    }
    // The event phase alone (dispatches everything queued now).
    void DispatchPostedEvents();
    // The delete phase alone.
    int DeleteDeadActors();

    TimerManager& Timers() { return m_Timers; }
    Canvas& GetCanvas() { return *m_Canvas; }
    int GetPassCount() const { return m_Passes; }
    // Types of the events posted or sent to the application so far, in order.
    const std::vector<std::uint8_t>& ApplicationEvents() const { return m_ApplicationEvents; }
    int CountApplicationEvents(std::uint8_t type) const;

    // The canvas pixel (0xAARRGGBB) at (x, y); the canvas is cleared to 0 before each
    // render.
    std::uint32_t Pixel(int x, int y) const;

    // The application host while the harness lives (the rest is WindowlessHost's).
    TimerManager* GetTimerManager() const override;
    void ScheduleForDeletion(Object* object) override;
    void GetMousePosition(int& x, int& y) const override;
    bool SendEvent(EventReceiver* destination, std::uint8_t type, int code = 0,
                   void* data1 = nullptr, void* data2 = nullptr) override;

protected:
    // The phases of a pass.
    void DispatchPassEvents() override { DispatchPostedEvents(); }
    void UpdatePassTimers() override { m_Timers.Update(); }
    void TickPass() override;
    void DrawPass() override;
    void DeletePassObjects() override { DeleteDeadActors(); }
    void FinishPass(bool pausedPass) override;

private:
    // Timer signals without a target: recorded as application events.
    bool OnEvent(const Event& event) override;

    Actor* m_Root;
    mutable TimerManager m_Timers;
    std::unique_ptr<Canvas> m_Canvas;
    int m_Passes = 0;
    bool m_Drawing = true;
    std::vector<std::uint8_t> m_ApplicationEvents;
};

// A resource manager (made on first use, for the program) in which tests register
// images under names; images so registered are owned by the manager.
ResourceManager& TestResources();
// Whether TestResources has been made.
bool HaveTestResources();
// Registers image (taken) as the image resource name.
void AddImageResource(const std::string& name, Image* image);

} // namespace bbtest
