#pragma once
// Timed signals for engine objects. A timer gives its target a MAKO_TIMER event
// {code 0, data1 = timer id, data2 = signals still to come after this one, -1 for an
// endless timer} once after a delay, every interval for ever, or a given number of times.
//
// A timer either runs in real time, measured against the application's frame time (the
// millisecond tick count read at the start of the current main-loop pass, which the
// application hands over with SetFrameTime), or is limited to the frame rate: it counts down
// a fixed 32 ms per Update whatever time has really passed, and gives at most one signal per
// pass. Timers can be paused for two independent reasons (TIMER_PAUSED_GAME and
// TIMER_PAUSED_PLAY); a timer with either reason set gives no signals.
//
// Ids start at 1 and are never reused: every new timer takes the next id, and a dead
// timer's id stays retired. Only live timers are kept: a timer that has given its last
// signal or was killed is dropped at the start of the next Update, so a long session's
// table stays as small as what runs in it. Main thread only; signals are handed out
// synchronously from inside Update, and a handler may kill, delay or re-initialise its own
// timer or create new ones (those wait for the next pass).
#include "core/FramePeriod.h"
#include "core/TimerRecord.h"

#include <cstddef>
#include <cstdint>
#include <map>

class TimerManager
{
public:
    // defaultTarget (not owned; may be null) receives the signals of timers made without a
    // target; frameTime: the application's frame time now (ms).
    explicit TimerManager(EventReceiver* defaultTarget = nullptr, uint32_t frameTime = 0);

    // The application's frame time (ms) for everything measured from now until the next
    // call; the application sets it at the start of every main-loop pass.
    void SetFrameTime(uint32_t frameTime) { m_FrameTime = frameTime; }
    uint32_t GetFrameTime() const { return m_FrameTime; }

    // Makes a timer under the next id and returns the id. count: number of signals (> 0) or
    // -1 for endless; flags must hold TIMER_LIMITED_TO_FRAMERATE or TIMER_REAL_TIME (and may
    // hold pause reasons). Raises the assertion failure "numSignals > 0 || numSignals == -1"
    // for any other count and "Cannot initialize a timer that is neither Limited To
    // Framerate nor Real Time" for flags without either kind.
    uint32_t CreateTimer(EventReceiver* target, uint32_t interval, int32_t count, uint32_t flags);

    // (Re)fills the entry of id, live or not (ids from id + 1 on stay for later timers).
    // The flags replace the old ones entirely; TIMER_IN_USE is not added here.
    void InitializeTimer(uint32_t id, EventReceiver* target, uint32_t interval, int32_t numSignals,
                         uint32_t flags);

    // The number of signals entry id owes now, advancing its bookkeeping (0 for an id
    // without an entry). A frame-rate timer owes at most 1. Used by Update.
    uint32_t UpdateTimer(uint32_t id);

    // Once per main-loop pass: drops the timers that died since the last pass, then hands
    // every due signal to its target at once, in id order (a timer without a target signals
    // the default target, or nobody when there is none). Timers created during the pass wait
    // for the next one.
    void Update();

    // Ends a timer: it gives no more signals. Ids without an entry are ignored.
    void KillTimer(uint32_t id);

    // Makes a live timer wait ms longer: a frame-rate timer only for its current wait, a
    // real-time timer for every later wait (its interval grows). Dead timers are ignored.
    void DelayTimer(uint32_t id, uint32_t ms);

    // Adds / removes pause reasons (only TIMER_PAUSE_REASONS bits count). Id 0 raises the
    // assertion failure "timerID != 0"; ids without an entry are ignored. Resuming a
    // real-time timer restarts its current interval in full from the frame time now,
    // whether or not it was paused and whether or not other reasons remain.
    void PauseTimer(uint32_t timerID, uint32_t reasons);
    void ResumeTimer(uint32_t timerID, uint32_t reasons);

    // PauseTimer / ResumeTimer for every live timer.
    void PauseAllTimers(uint32_t reasons);
    void ResumeAllTimers(uint32_t reasons);

    // The entry of id: a live timer, or one that died during this pass; null once it has
    // been dropped, or for an id never handed out (for diagnostics and tests).
    const TimerRecord* FindTimer(uint32_t id) const;
    // The number of entries kept, live or dying (for leak checks).
    size_t CountEntries() const { return m_Timers.size(); }
    // The id the next timer gets.
    uint32_t GetNextId() const { return m_NextId; }
    // Whether id names a timer that still gives signals.
    bool IsTimerAlive(uint32_t id) const;
    // How many timers still give signals (for leak checks).
    int CountLiveTimers() const;

private:
    void SendSignals(uint32_t id, uint32_t count);
    TimerRecord* Find(uint32_t id);

    // The entries by id, in id order.
    std::map<uint32_t, TimerRecord> m_Timers;
    uint32_t m_NextId = 1;
    EventReceiver* m_DefaultTarget;
    uint32_t m_FrameTime;
};
