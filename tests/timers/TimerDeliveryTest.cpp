// How timer signals reach their receivers while an application runs: straight to the
// target, or to the application for a timer without one, never through its posted-event
// queue.
#include "app/Application.h"
#include "core/Event.h"
#include "core/EventReceiver.h"
#include "core/TimerManager.h"
#include "support/engine/EngineSetup.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// An application that only records the timer signals handed to it.
class SignalledApp : public Application
{
public:
    SignalledApp() : Application("TimerApp", "TimerApp", AppCodeFromString("TIMR"), 64, 64) {}
    bool OnEvent(const Event& event) override
    {
        if (event.type == MAKO_TIMER)
            ids.push_back(EventData1Int(event));
        return true;
    }
    std::vector<intptr_t> ids;
};

class Target : public EventReceiver
{
public:
    bool OnEvent(const Event& event) override
    {
        if (event.type == MAKO_TIMER)
            remaining.push_back(EventData2Int(event));
        return true;
    }
    std::vector<intptr_t> remaining;
};

} // namespace

TEST(TimerDelivery, SignalsGoStraightToTheirTargetAndTargetlessOnesToTheApplication)
{
    bbtest::PrepareEngine();
    SignalledApp app;
    TimerManager timers(&app); // as the application makes its own
    Target target;
    uint32_t owned = timers.CreateTimer(&target, 32, 2, TIMER_LIMITED_TO_FRAMERATE);
    uint32_t targetless = timers.CreateTimer(nullptr, 32, 1, TIMER_LIMITED_TO_FRAMERATE);

    timers.Update();
    // Delivered during Update itself: nothing waits in the application's queue.
    EXPECT_EQ((std::vector<intptr_t>{1}), target.remaining);
    EXPECT_EQ((std::vector<intptr_t>{static_cast<intptr_t>(targetless)}), app.ids);

    timers.Update();
    EXPECT_EQ((std::vector<intptr_t>{1, 0}), target.remaining);
    EXPECT_EQ(1u, app.ids.size()); // the targetless timer has run out
    EXPECT_FALSE(timers.IsTimerAlive(owned));
}
