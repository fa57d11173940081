#pragma once
// A stopwatch on the high-resolution counter, in milliseconds. It runs, pauses (keeping
// what it measured) and stops; starting a stopped counter begins again from 0, starting a
// paused one adds to what it has, and starting a running one only counts a nested start.
// Used by the performance counters (one per named section) and by code that times one
// operation itself. Main thread only.
#include <cstdint>

enum TimeCounterState {
    TimerStopped = 1,
    TimerRunning = 2,
    TimerPaused = 3,
};

class TimeCounter
{
public:
    // Stopped with nothing measured; running at once when startNow is true.
    explicit TimeCounter(bool startNow = false);

    // Stopped: measures from 0. Paused: goes on, keeping the time measured. Running: counts
    // one more nested start and changes nothing else.
    void Start();
    // Charges a running counter up to counter value now (a ReadPerformanceClock value) and
    // pauses any counter that is not stopped. Returns the milliseconds measured.
    double Pause(int64_t now);
    // Charges a running counter up to this instant and stops it. Returns the milliseconds
    // measured.
    double Stop();
    // Stopped with nothing measured (nested starts back to 0).
    void Reset();

    // The milliseconds measured. A running counter has no readable time: asking raises the
    // assertion failure "m_TimerState == TimerStopped || m_TimerState == TimerPaused".
    double GetElapsedTimeInMS() const;

    TimeCounterState GetState() const { return static_cast<TimeCounterState>(m_TimerState); }
    int GetNestedStarts() const { return m_NestedStarts; }

private:
    int64_t m_Start;     // counter value when it last started running
    int64_t m_Frequency; // counts per second, read at that start
    int m_TimerState;    // TimeCounterState
    int m_NestedStarts;
    double m_Elapsed; // ms
};

// The high-resolution counter every TimeCounter reads (counts of
// ReadPerformanceFrequency per second).
int64_t ReadPerformanceClock();
int64_t ReadPerformanceFrequency();

// Replaces the counter with clock (nanosecond counts) so that measurements can be made
// exact; null goes back to the system's monotonic counter. For tests.
using PerformanceClock = int64_t (*)();
void SetPerformanceClock(PerformanceClock clock);
