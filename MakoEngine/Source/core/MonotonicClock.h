#pragma once
// The one clock of the engine's waits and timings: milliseconds of the system's monotonic
// clock, which no change of the wall clock moves. Every bounded wait (a save's turn, the stop's
// grace, the debugger's handshake) and every interval the display layer times reads it, so two
// times taken anywhere in the program compare. Safe in a signal handler.
namespace MonotonicClock {

// Milliseconds since an arbitrary point fixed for the life of the machine's boot.
long long NowMs();

} // namespace MonotonicClock
