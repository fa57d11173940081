#pragma once
// The debugger output channel. Text sent here is for a developer watching the program:
// it is written to standard error when the environment variable BB_DEBUG_OUTPUT is set
// to anything but "" or "0", and dropped otherwise.

// Sends text (zero-terminated, written unchanged) to the debugger output.
void OutputDebugStringA(const char* text);

// True when debugger output is being shown (read from the environment on every call).
bool IsDebugOutputShown();
