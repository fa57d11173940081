#include "core/TimerManager.h"
#include "core/EventReceiver.h"
#include "core/Exception.h"

#include <gtest/gtest.h>

#include <functional>
#include <vector>

namespace {

struct Signal
{
    uint32_t id;
    intptr_t remaining;
};

// Records every MAKO_TIMER it receives and runs an optional action for each.
class Recorder : public EventReceiver
{
public:
    bool OnEvent(const Event& event) override
    {
        EXPECT_EQ(MAKO_TIMER, event.type);
        EXPECT_EQ(0, EventCode(event));
        Signal s{static_cast<uint32_t>(EventData1Int(event)), EventData2Int(event)};
        signals.push_back(s);
        if (onSignal)
            onSignal(s);
        return true;
    }
    std::vector<intptr_t> Remaining() const
    {
        std::vector<intptr_t> out;
        for (const Signal& s : signals)
            out.push_back(s.remaining);
        return out;
    }
    std::vector<Signal> signals;
    std::function<void(const Signal&)> onSignal;
};

// Steps passes the way the main loop does: frame time first, then the timers.
void Pass(TimerManager& timers, uint32_t frameTime)
{
    timers.SetFrameTime(frameTime);
    timers.Update();
}

std::string FailureText(const std::function<void()>& action)
{
    try {
        action();
    } catch (const Exception& e) {
        return e.GetMessage();
    }
    return "(no failure)";
}

} // namespace

TEST(Timers, RealTimeTimerPaysOutEverySignalDueInOnePass)
{
    TimerManager timers(nullptr, 1000);
    Recorder finite, endless;
    uint32_t a = timers.CreateTimer(&finite, 100, 3, TIMER_REAL_TIME);
    uint32_t b =
        timers.CreateTimer(&endless, 100, -1, TIMER_REAL_TIME | TIMER_LIMITED_TO_FRAMERATE);
    EXPECT_EQ(1u, a);
    EXPECT_EQ(2u, b);

    Pass(timers, 1099);
    EXPECT_TRUE(finite.signals.empty());
    Pass(timers, 1350);
    EXPECT_EQ((std::vector<intptr_t>{2, 1, 0}), finite.Remaining());
    EXPECT_EQ(a, finite.signals[0].id);
    EXPECT_FALSE(timers.IsTimerAlive(a));
    // Real time wins over the frame-rate flag: three signals in one pass, and the next
    // falls 400 ms after the start.
    EXPECT_EQ((std::vector<intptr_t>{-1, -1, -1}), endless.Remaining());
    Pass(timers, 1399);
    EXPECT_EQ(3u, endless.signals.size());
    Pass(timers, 1400);
    EXPECT_EQ(4u, endless.signals.size());
    EXPECT_TRUE(timers.IsTimerAlive(b));

    Pass(timers, 5000);
    EXPECT_EQ(3u, finite.signals.size()); // dead timers stay silent
}

TEST(Timers, FrameRateTimersCountThirtyTwoMillisecondsPerPass)
{
    TimerManager timers;
    Recorder slow, fast, twice;
    timers.CreateTimer(&slow, 100, -1, TIMER_LIMITED_TO_FRAMERATE);
    timers.CreateTimer(&fast, 10, -1, TIMER_LIMITED_TO_FRAMERATE);
    uint32_t t = timers.CreateTimer(&twice, 32, 2, TIMER_LIMITED_TO_FRAMERATE);
    std::vector<size_t> slowCounts;
    // The frame time does not matter to these timers: it stands still here.
    for (int pass = 1; pass <= 8; ++pass) {
        Pass(timers, 0);
        slowCounts.push_back(slow.signals.size());
    }
    // 100, 68, 36, then 4 <= 32 fires; reloaded to 100 it fires again on the eighth.
    EXPECT_EQ((std::vector<size_t>{0, 0, 0, 1, 1, 1, 1, 2}), slowCounts);
    EXPECT_EQ(8u, fast.signals.size()); // at most one signal per pass, even for 10 ms
    EXPECT_EQ((std::vector<intptr_t>{1, 0}), twice.Remaining());
    EXPECT_FALSE(timers.IsTimerAlive(t));
    EXPECT_EQ(nullptr, timers.FindTimer(t)); // dropped on the pass after its last signal
}

TEST(Timers, PauseReasonsAreIndependentAndResumingRestartsTheInterval)
{
    TimerManager timers(nullptr, 0);
    Recorder real, frame;
    uint32_t r = timers.CreateTimer(&real, 100, -1, TIMER_REAL_TIME);
    uint32_t f = timers.CreateTimer(&frame, 64, -1, TIMER_LIMITED_TO_FRAMERATE);
    Pass(timers, 50);
    timers.PauseAllTimers(TIMER_PAUSED_GAME | 1 | 4); // only pause reasons are taken
    EXPECT_EQ(TIMER_IN_USE | TIMER_REAL_TIME | TIMER_PAUSED_GAME, timers.FindTimer(r)->m_Flags);

    timers.ResumeTimer(r, TIMER_PAUSED_PLAY);
    timers.ResumeTimer(f, TIMER_PAUSED_PLAY);
    for (uint32_t t = 100; t <= 500; t += 100)
        Pass(timers, t);
    EXPECT_TRUE(real.signals.empty());
    EXPECT_TRUE(frame.signals.empty());
    EXPECT_EQ(32u, timers.FindTimer(f)->m_Countdown); // no counting down while paused

    // Resumed at 520: the interval starts again in full, so nothing is made up for the
    // time before the pause or while paused.
    timers.SetFrameTime(520);
    timers.ResumeAllTimers(TIMER_PAUSED_GAME);
    Pass(timers, 619);
    EXPECT_TRUE(real.signals.empty());
    EXPECT_EQ(1u, frame.signals.size());
    Pass(timers, 620);
    EXPECT_EQ(1u, real.signals.size());

    // A second reason keeps a timer paused until both are gone.
    timers.PauseTimer(r, TIMER_PAUSED_GAME);
    timers.PauseTimer(r, TIMER_PAUSED_PLAY);
    timers.ResumeTimer(r, TIMER_PAUSED_GAME);
    Pass(timers, 2000);
    EXPECT_EQ(1u, real.signals.size());
    timers.ResumeTimer(r, TIMER_PAUSED_PLAY);
    Pass(timers, 2099);
    Pass(timers, 2100);
    EXPECT_EQ(2u, real.signals.size());

    EXPECT_EQ("Assertion failed: (timerID != 0)",
              FailureText([&] { timers.PauseTimer(0, TIMER_PAUSED_GAME); }));
    EXPECT_EQ("Assertion failed: (timerID != 0)",
              FailureText([&] { timers.ResumeTimer(0, TIMER_PAUSED_GAME); }));
}

TEST(Timers, FinishedTimersAreNotPausedOrResumed)
{
    TimerManager timers(nullptr, 0);
    Recorder r;
    uint32_t id = timers.CreateTimer(&r, 100, 1, TIMER_REAL_TIME);
    timers.KillTimer(id);
    timers.PauseAllTimers(TIMER_PAUSED_GAME);
    EXPECT_EQ(TIMER_IN_USE | TIMER_REAL_TIME, timers.FindTimer(id)->m_Flags);
    timers.DelayTimer(id, 50);
    EXPECT_EQ(100u, timers.FindTimer(id)->m_Interval);
}

TEST(Timers, HandlersMayKillDelayAndCreateTimersDuringAPass)
{
    TimerManager timers(nullptr, 0);
    Recorder killer, creator, delayer, late;
    uint32_t k = timers.CreateTimer(&killer, 10, 5, TIMER_REAL_TIME);
    killer.onSignal = [&](const Signal& s) { timers.KillTimer(s.id); };
    // Growing the table many times over moves the entries; handing out must survive that.
    std::vector<uint32_t> created;
    creator.onSignal = [&](const Signal&) {
        for (int i = 0; i < 50; ++i)
            created.push_back(timers.CreateTimer(&late, 10, 1, TIMER_LIMITED_TO_FRAMERATE));
    };
    timers.CreateTimer(&creator, 10, 2, TIMER_REAL_TIME);
    uint32_t d = timers.CreateTimer(&delayer, 32, -1, TIMER_LIMITED_TO_FRAMERATE);
    delayer.onSignal = [&](const Signal& s) {
        if (delayer.signals.size() == 1)
            timers.DelayTimer(s.id, 64);
    };

    Pass(timers, 50);
    EXPECT_EQ(1u, killer.signals.size()); // five were due; the kill stops the rest
    EXPECT_FALSE(timers.IsTimerAlive(k));
    EXPECT_EQ(2u, creator.signals.size());
    EXPECT_EQ(100u, created.size());
    EXPECT_EQ(d + 1, created.front()); // ids are handed out in order, never reused
    EXPECT_TRUE(late.signals.empty()); // created during the pass: they wait for the next
    EXPECT_EQ(1u, delayer.signals.size());

    Pass(timers, 60);
    EXPECT_EQ(100u, late.signals.size());
    // The delay asked for inside the handler holds: 32 + 64 ms, so the third pass after
    // the first signal gives the next one.
    EXPECT_EQ(1u, delayer.signals.size());
    Pass(timers, 70);
    EXPECT_EQ(1u, delayer.signals.size());
    Pass(timers, 80);
    EXPECT_EQ(2u, delayer.signals.size());
    Pass(timers, 90);
    EXPECT_EQ(3u, delayer.signals.size());
}

TEST(Timers, HandlerReinitialisingItsTimerGetsTheNewSchedule)
{
    TimerManager timers(nullptr, 0);
    Recorder r;
    r.onSignal = [&](const Signal& s) {
        if (r.signals.size() == 1)
            timers.InitializeTimer(s.id, &r, 200, 1, TIMER_REAL_TIME | TIMER_IN_USE);
    };
    uint32_t id = timers.CreateTimer(&r, 100, 3, TIMER_REAL_TIME);
    Pass(timers, 100);
    EXPECT_EQ(1u, r.signals.size());
    Pass(timers, 299);
    EXPECT_EQ(1u, r.signals.size());
    Pass(timers, 300);
    EXPECT_EQ((std::vector<intptr_t>{2, 0}), r.Remaining());
    EXPECT_FALSE(timers.IsTimerAlive(id));
}

TEST(Timers, DelayLengthensRealTimeIntervalsForGood)
{
    TimerManager timers(nullptr, 0);
    Recorder r;
    uint32_t id = timers.CreateTimer(&r, 100, -1, TIMER_REAL_TIME);
    timers.DelayTimer(id, 50);
    Pass(timers, 149);
    EXPECT_TRUE(r.signals.empty());
    Pass(timers, 150);
    Pass(timers, 299);
    EXPECT_EQ(1u, r.signals.size());
    Pass(timers, 300);
    EXPECT_EQ(2u, r.signals.size());
}

TEST(Timers, RealTimeSurvivesTheTickCountWrapping)
{
    TimerManager timers(nullptr, 0xFFFFFF00u);
    Recorder r;
    timers.CreateTimer(&r, 100, 4, TIMER_REAL_TIME);
    Pass(timers, 0x0000012Cu); // 556 ms later, across the wrap
    EXPECT_EQ((std::vector<intptr_t>{3, 2, 1, 0}), r.Remaining());
}

TEST(Timers, BadRequestsFailAndOddIdsAreIgnored)
{
    TimerManager timers;
    Recorder r;
    EXPECT_EQ("Cannot initialize a timer that is neither Limited To Framerate nor Real Time",
              FailureText([&] { timers.CreateTimer(&r, 100, 1, TIMER_PAUSED_GAME); }));
    EXPECT_EQ("Assertion failed: (numSignals > 0 || numSignals == -1)",
              FailureText([&] { timers.CreateTimer(&r, 100, 0, TIMER_REAL_TIME); }));
    EXPECT_EQ("Assertion failed: (numSignals > 0 || numSignals == -1)",
              FailureText([&] { timers.CreateTimer(&r, 100, -2, TIMER_REAL_TIME); }));
    // Failed creations leave no timer behind.
    EXPECT_EQ(0u, timers.CountEntries());

    timers.KillTimer(0);
    timers.KillTimer(1000);
    timers.DelayTimer(1000, 5);
    timers.PauseTimer(1000, TIMER_PAUSED_GAME);
    EXPECT_EQ(0u, timers.CountEntries()); // no entry made for an unknown id

    // InitializeTimer takes the id it is given; later timers come after it.
    timers.InitializeTimer(10, &r, 32, 1, TIMER_LIMITED_TO_FRAMERATE);
    EXPECT_TRUE(timers.IsTimerAlive(10));
    timers.Update();
    EXPECT_EQ(1u, r.signals.size());
    EXPECT_EQ(11u, timers.CreateTimer(nullptr, 32, 1, TIMER_LIMITED_TO_FRAMERATE));
    timers.Update(); // a timer without a target just runs out
    EXPECT_FALSE(timers.IsTimerAlive(11));
}

TEST(Timers, AnHoursTimersLeaveOnlyTheLiveOnesInTheTableAndIdsAreNeverReused)
{
    TimerManager timers(nullptr, 0);
    Recorder r;
    const uint32_t endless = timers.CreateTimer(&r, 32, -1, TIMER_LIMITED_TO_FRAMERATE);
    uint32_t last = endless;
    // About what an hour of play creates: short timers, killed or run out, pass after pass.
    for (int pass = 0; pass < 100000; ++pass) {
        const uint32_t once = timers.CreateTimer(&r, 32, 1, TIMER_LIMITED_TO_FRAMERATE);
        const uint32_t killed = timers.CreateTimer(&r, 1000, 3, TIMER_REAL_TIME);
        ASSERT_EQ(last + 1, once);
        ASSERT_EQ(once + 1, killed);
        last = killed;
        timers.KillTimer(killed);
        timers.Update();
    }
    EXPECT_EQ(1, timers.CountLiveTimers());
    EXPECT_EQ(2u, timers.CountEntries()); // and the single shot that ran out in the last pass
    EXPECT_EQ(100000u + 100000u, r.signals.size()); // the endless one and each single shot
    // An old id stays retired: killing or delaying it touches nothing.
    timers.KillTimer(endless + 1);
    timers.DelayTimer(endless + 2, 50);
    EXPECT_TRUE(timers.IsTimerAlive(endless));
    EXPECT_EQ(last + 1, timers.CreateTimer(&r, 32, 1, TIMER_LIMITED_TO_FRAMERATE));
}
