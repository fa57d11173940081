#pragma once
// A request to end the program from outside: SIGTERM or SIGINT. The handlers only note the
// signal; the main loop, the building of a level and the level check look at the note at
// their next step and end cleanly (the configuration and the cards saved, the log closed).
// A second signal while the first is still unanswered ends the process at once, so a
// program stuck somewhere that never looks can still be stopped.
//
// Install from the main thread before the libraries that would install their own handlers
// (SDL keeps a handler that is already there).
class StopSignal
{
public:
    // Installs the handlers for SIGTERM and SIGINT.
    static void Install();
    // Whether a stop was asked for since the start (or the last Reset).
    static bool IsRequested();
    // The signal's name ("SIGTERM", "SIGINT"); "" when none came.
    static const char* GetName();
    // Forgets a request (tests), or makes one as if the signal had come.
    static void Reset();
    static void Request(int signalNumber);
};
