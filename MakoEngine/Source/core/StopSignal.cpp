#include "core/StopSignal.h"

#include "core/Log.h"
#include "core/MonotonicClock.h"

#include <csignal>
#include <cstring>

long long StopSignal::NowMs()
{
    return MonotonicClock::NowMs();
}

namespace {

volatile std::sig_atomic_t s_Signal = 0;
volatile std::sig_atomic_t s_Answered = 0;
// When the first signal came, in milliseconds of the monotonic clock (only the handlers,
// which never run at once, write it).
volatile long long s_FirstAtMs = 0;
void (*volatile s_Waker)() = nullptr;

const int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

// The log's last line when a stop signal ends the process at once: again means a stop was
// asked for before.
const char* EndLine(int signalNumber, bool again)
{
    switch (signalNumber) {
    case SIGTERM:
        return again ? "SIGTERM came again: the program ends at once.\n"
                     : "SIGTERM came while the program ends: it ends at once.\n";
    case SIGINT:
        return again ? "SIGINT came again: the program ends at once.\n"
                     : "SIGINT came while the program ends: it ends at once.\n";
    case SIGHUP:
        return again ? "SIGHUP came again: the program ends at once.\n"
                     : "SIGHUP came while the program ends: it ends at once.\n";
    default:
        return again ? "SIGQUIT came again: the program ends at once.\n"
                     : "SIGQUIT came while the program ends: it ends at once.\n";
    }
}

extern "C" void OnStopSignal(int signalNumber)
{
    const long long now = StopSignal::NowMs();
    if (s_Signal != 0) {
        // Signals come in pairs without anyone asking twice (a wrapper passes its signal to
        // its child and then to the group; a closed terminal hangs up the shell and its
        // jobs): one soon after the first is the same request, which is being answered.
        if (now - s_FirstAtMs < StopSignal::kSameRequestMs)
            return;
    } else if (!(signalNumber == SIGQUIT && s_Answered != 0)) {
        s_FirstAtMs = now;
        s_Signal = signalNumber;
        if (void (*waker)() = s_Waker)
            waker();
        return;
    }
    // Asked again later (the first went unanswered, or the shutdown that answered it hangs),
    // or asked to quit while the program is already on its way out: end the process, with a
    // last line in the log saying why. Saves replace their files by a rename, so none is left
    // half written.
    LogFromSignalHandler(EndLine(signalNumber, s_Signal != 0));
    std::signal(signalNumber, SIG_DFL);
    std::raise(signalNumber);
}

} // namespace

void StopSignal::Install()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    // One handler runs at a time: a second signal never sees half of the first's note.
    for (int number : kStopSignals)
        sigaddset(&action.sa_mask, number);
    action.sa_flags = SA_RESTART;
    for (int number : kStopSignals)
        sigaction(number, &action, nullptr);
}

bool StopSignal::IsRequested()
{
    return s_Signal != 0;
}

const char* StopSignal::GetName()
{
    switch (s_Signal) {
    case 0:
        return "";
    case SIGTERM:
        return "SIGTERM";
    case SIGINT:
        return "SIGINT";
    case SIGHUP:
        return "SIGHUP";
    case SIGQUIT:
        return "SIGQUIT";
    default:
        return "a stop signal";
    }
}

void StopSignal::Answer()
{
    s_Answered = 1;
}

void StopSignal::Reset()
{
    s_Signal = 0;
    s_Answered = 0;
    s_FirstAtMs = 0;
}

void StopSignal::Request(int signalNumber)
{
    s_FirstAtMs = StopSignal::NowMs();
    s_Signal = signalNumber;
}

void StopSignal::SetWaker(void (*waker)())
{
    s_Waker = waker;
}
