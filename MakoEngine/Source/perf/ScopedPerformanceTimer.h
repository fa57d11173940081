#pragma once
// Timing of named program sections with the program's PerformanceCounterManager. Every
// operation here does nothing (and answers 0) while performance measuring is off, and none
// has any effect on what the timed code does. While measuring is off a timer costs a test,
// not a text, so sections timed for every particle and every pass stay cheap. A section
// timed several times in one frame adds up: stopping only pauses its counter until the frame
// ends.

// Starts (or resumes) the time counter name, made on first use.
void StartPerformanceTimer(const char* name);

// Pauses the time counter name at this instant and answers its milliseconds so far in this
// frame.
double StopPerformanceTimer(const char* name);

// Times the section name (a text that outlives the timer, such as a literal) while it lives:
// started at construction when startNow is true (else by Start), stopped at destruction.
class ScopedPerformanceTimer
{
public:
    explicit ScopedPerformanceTimer(const char* name, bool startNow = true);
    ~ScopedPerformanceTimer();
    ScopedPerformanceTimer(const ScopedPerformanceTimer&) = delete;
    ScopedPerformanceTimer& operator=(const ScopedPerformanceTimer&) = delete;

    void Start() { StartPerformanceTimer(m_Name); }
    double Stop() { return StopPerformanceTimer(m_Name); }

private:
    const char* m_Name;
};
