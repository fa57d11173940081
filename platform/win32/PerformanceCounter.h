#pragma once
// The high-resolution counter: a monotonic clock (CLOCK_MONOTONIC) that never goes back
// and does not jump with the wall clock. Counts are nanoseconds since an arbitrary start.
#include <cstdint>

// Stores the current count; returns nonzero on success.
int QueryPerformanceCounter(int64_t* count);

// Stores the counts per second (1,000,000,000); returns nonzero on success.
int QueryPerformanceFrequency(int64_t* frequency);
