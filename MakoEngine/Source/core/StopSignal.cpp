#include "core/StopSignal.h"

#include <csignal>
#include <cstring>

namespace {

volatile std::sig_atomic_t s_Signal = 0;
volatile std::sig_atomic_t s_Answered = 0;
void (*volatile s_Waker)() = nullptr;

const int kStopSignals[] = {SIGTERM, SIGINT, SIGHUP, SIGQUIT};

extern "C" void OnStopSignal(int signalNumber)
{
    // Asked twice (the first went unanswered, or the shutdown that answered it hangs), or
    // asked to quit while the program is already on its way out: end the process. Saves
    // replace their files by a rename, so none is left half written.
    if (s_Signal != 0 || (signalNumber == SIGQUIT && s_Answered != 0)) {
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    s_Signal = signalNumber;
    if (void (*waker)() = s_Waker)
        waker();
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
}

void StopSignal::Request(int signalNumber)
{
    s_Signal = signalNumber;
}

void StopSignal::SetWaker(void (*waker)())
{
    s_Waker = waker;
}
