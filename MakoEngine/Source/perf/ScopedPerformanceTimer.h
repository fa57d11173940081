#pragma once
// Timing of named program sections with the program's PerformanceCounterManager. Every
// operation here does nothing (and answers 0) while performance measuring is off, and none
// has any effect on what the timed code does. A section timed several times in one frame
// adds up: stopping only pauses its counter until the frame ends.
#include <string>

// Starts (or resumes) the time counter name, made on first use.
void StartPerformanceTimer(const std::string& name);

// Pauses the time counter name at this instant and answers its milliseconds so far in this
// frame.
double StopPerformanceTimer(const std::string& name);

// Times the section name (a text that outlives the timer, such as a literal) while it lives:
// started at construction when startNow is true (else by Start), stopped at destruction.
// While measuring is off it costs a test, not a text: sections timed on every particle and
// every pass stay cheap.
class ScopedPerformanceTimer
{
public:
    explicit ScopedPerformanceTimer(const char* name, bool startNow = true);
    ~ScopedPerformanceTimer();
    ScopedPerformanceTimer(const ScopedPerformanceTimer&) = delete;
    ScopedPerformanceTimer& operator=(const ScopedPerformanceTimer&) = delete;

    void Start();
    double Stop();

private:
    const char* m_Name;
};
