#include "core/MonotonicClock.h"

#include <time.h>

namespace MonotonicClock {

// clock_gettime may be called from a signal handler.
long long NowMs()
{
    struct timespec now;
    ::clock_gettime(CLOCK_MONOTONIC, &now);
    return static_cast<long long>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}

} // namespace MonotonicClock
