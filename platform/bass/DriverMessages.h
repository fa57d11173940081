#pragma once
// The messages of the system's sound library. ALSA writes its complaints straight to
// standard error ("ALSA lib conf.c:...: cannot find card '0'"), dozens of lines each time
// SDL looks for an output on a machine without a sound card. Once a sink is set, each of
// them becomes one line (the text ALSA would have written, without the line end) handed
// to the sink instead, on the thread that set it: a message raised on another thread
// (the audio thread's underrun notes) is kept, at most MAX_PENDING of them, until the
// next message on that thread or the next Deliver. Without ALSA on the machine there is
// nothing to route and SetSink says so (the sink still takes what Handle is given). Main
// thread only, except for the messages.
#include <cstddef>

namespace bassx {

class DriverMessages
{
public:
    using Sink = void (*)(const char* line);
    static constexpr std::size_t MAX_PENDING = 100;

    // Sends the sound library's messages to sink from now on; nullptr gives them back to
    // standard error. True when the library is there to be routed.
    static bool SetSink(Sink sink);
    // Hands the messages kept from other threads to the sink, oldest first, then a line
    // saying how many were dropped past MAX_PENDING, if any were.
    static void Deliver();
    // The handler ALSA calls (its error-handler signature); public for the tests, which
    // raise messages through it as the library would.
    static void Handle(const char* file, int line, const char* function, int err,
                       const char* format, ...);
};

} // namespace bassx
