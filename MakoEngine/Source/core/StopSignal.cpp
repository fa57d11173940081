#include "core/StopSignal.h"

#include <csignal>
#include <cstring>

namespace {

volatile std::sig_atomic_t s_Signal = 0;

extern "C" void OnStopSignal(int signalNumber)
{
    if (s_Signal != 0) {
        // Asked twice: nobody answered the first time.
        std::signal(signalNumber, SIG_DFL);
        std::raise(signalNumber);
        return;
    }
    s_Signal = signalNumber;
}

} // namespace

void StopSignal::Install()
{
    struct sigaction action;
    std::memset(&action, 0, sizeof action);
    action.sa_handler = &OnStopSignal;
    sigemptyset(&action.sa_mask);
    action.sa_flags = SA_RESTART;
    sigaction(SIGTERM, &action, nullptr);
    sigaction(SIGINT, &action, nullptr);
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
    default:
        return "a stop signal";
    }
}

void StopSignal::Reset()
{
    s_Signal = 0;
}

void StopSignal::Request(int signalNumber)
{
    s_Signal = signalNumber;
}
