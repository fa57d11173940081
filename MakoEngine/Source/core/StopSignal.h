#pragma once
// A request to end the program from outside: SIGTERM, SIGINT, SIGHUP (the terminal went
// away) or SIGQUIT. The handlers only note the signal; the main loop, the building of a
// level, the scripts running under a budget (lua/ScriptBudget) and the level check look at
// the note at their next step and end cleanly (the configuration and the cards saved, the
// log closed), whichever of the signals came.
//
// A signal within kSameRequestMs of the first is the same request (signals come in pairs
// without anyone asking twice: a wrapper passes its signal on to its child and then to the
// group, a closed terminal hangs up both the shell and its jobs). A later one is the user
// insisting: it ends the process at once, whether the first is still unanswered (a program
// stuck somewhere that never looks) or answered (a shutdown that hangs), and so does SIGQUIT
// once the program is on its way out (Answer), even when the player quit without a signal.
// Saves replace their files by a rename, so ending the process this way leaves each file old
// or new, whole.
//
// Install from the main thread before the libraries that would install their own handlers
// (SDL keeps a handler that is already there).
class StopSignal
{
public:
    // Installs the handlers for the four signals.
    static void Install();
    // Whether a stop was asked for since the start (or the last Reset).
    static bool IsRequested();
    // The signal's name ("SIGTERM", "SIGINT", "SIGHUP", "SIGQUIT"); "" when none came.
    static const char* GetName();
    // Says that the request is being answered: the program is on its way out.
    static void Answer();
    // Forgets a request and its answer (tests), or makes one as if the signal had come.
    static void Reset();
    static void Request(int signalNumber);
    // A function the handler calls after noting a stop, on whatever thread took the signal,
    // so that work that looks only now and then (a script under its budget) looks at once.
    // It must be async-signal-safe. Null for none.
    static void SetWaker(void (*waker)());

    // The engine's one clock (core/MonotonicClock), safe in a signal handler: the stop's grace
    // and every bounded wait that a stop cuts short (core/SaveTurn) read it.
    static long long NowMs();

    // How long after the first signal another one is taken as the same request.
    static const int kSameRequestMs = 1000;
};
