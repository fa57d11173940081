#include "win32/PerformanceCounter.h"

#include <time.h>

int QueryPerformanceCounter(int64_t* count)
{
    timespec now;
    if (!count || clock_gettime(CLOCK_MONOTONIC, &now) != 0)
        return 0;
    *count = static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
    return 1;
}

int QueryPerformanceFrequency(int64_t* frequency)
{
    if (!frequency)
        return 0;
    *frequency = 1000000000;
    return 1;
}
