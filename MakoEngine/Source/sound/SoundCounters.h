#pragma once
// The performance figures of sound effects: the time spent starting plays (time counter
// "Sound") and the number of plays started (integer counter "Sounds Played").
//
// Until the engine has its performance-counter manager the figures are kept here; the
// manager takes them over by replacing the two bodies in SoundCounters.cpp.

// Measures the time from its construction to its destruction under "Sound".
class SoundPlayTimer
{
public:
    SoundPlayTimer();
    ~SoundPlayTimer();
    SoundPlayTimer(const SoundPlayTimer&) = delete;
    SoundPlayTimer& operator=(const SoundPlayTimer&) = delete;

private:
    unsigned long long m_Start;
};

// Adds 1 to "Sounds Played".
void CountSoundPlayed();

// The figures kept so far: plays started, and nanoseconds spent starting them.
unsigned long long GetSoundsPlayedCount();
unsigned long long GetSoundPlayNanoseconds();
