#include "sound/SoundCounters.h"

#include <chrono>

namespace {

unsigned long long gSoundsPlayed = 0;
unsigned long long gSoundPlayNanoseconds = 0;

unsigned long long NowNanoseconds()
{
    return static_cast<unsigned long long>(std::chrono::duration_cast<std::chrono::nanoseconds>(
                                               std::chrono::steady_clock::now().time_since_epoch())
                                               .count());
}

} // namespace

SoundPlayTimer::SoundPlayTimer() : m_Start(NowNanoseconds()) {}

SoundPlayTimer::~SoundPlayTimer()
{
    gSoundPlayNanoseconds += NowNanoseconds() - m_Start;
}

void CountSoundPlayed()
{
    ++gSoundsPlayed;
}

unsigned long long GetSoundsPlayedCount()
{
    return gSoundsPlayed;
}

unsigned long long GetSoundPlayNanoseconds()
{
    return gSoundPlayNanoseconds;
}
