#include "bass/DriverMessages.h"

#include <dlfcn.h>

#include <cstdarg>
#include <cstdio>
#include <cstring>
#include <deque>
#include <mutex>
#include <string>
#include <thread>

namespace bassx {

namespace {

using ErrorHandler = void (*)(const char*, int, const char*, int, const char*, ...);
using SetHandlerFn = int (*)(ErrorHandler);
using ErrorTextFn = const char* (*)(int);

struct Routing
{
    std::mutex lock;
    DriverMessages::Sink sink = nullptr;
    std::thread::id sinkThread;
    std::deque<std::string> pending;
    std::size_t dropped = 0;
    ErrorTextFn errorText = nullptr;
};

Routing& State()
{
    static Routing* state = new Routing(); // lives until the process ends: ALSA may call late
    return *state;
}

// The library as SDL loads it; the handle is kept so the handler set in it stays set when
// SDL closes its own handle. nullptr when the machine has no ALSA.
void* SoundLibrary()
{
    static void* library = dlopen("libasound.so.2", RTLD_NOW | RTLD_LOCAL);
    return library;
}

// Takes what waits from other threads, with the note of any dropped, under the lock.
std::deque<std::string> TakePending(Routing& state)
{
    std::deque<std::string> lines;
    lines.swap(state.pending);
    if (state.dropped > 0) {
        lines.push_back("ALSA lib: " + std::to_string(state.dropped) +
                        " more messages from the audio thread were dropped");
        state.dropped = 0;
    }
    return lines;
}

} // namespace

bool DriverMessages::SetSink(Sink sink)
{
    void* library = SoundLibrary();
    Routing& state = State();
    {
        std::lock_guard<std::mutex> guard(state.lock);
        state.sink = sink;
        state.sinkThread = std::this_thread::get_id();
        if (library)
            state.errorText = reinterpret_cast<ErrorTextFn>(dlsym(library, "snd_strerror"));
    }
    if (!library)
        return false;
    auto setHandler = reinterpret_cast<SetHandlerFn>(dlsym(library, "snd_lib_error_set_handler"));
    // nullptr puts back the library's own handler, which writes to standard error.
    return setHandler && setHandler(sink ? &DriverMessages::Handle : nullptr) == 0;
}

void DriverMessages::Deliver()
{
    Routing& state = State();
    Sink sink;
    std::deque<std::string> lines;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (!state.sink || state.sinkThread != std::this_thread::get_id())
            return;
        sink = state.sink;
        lines = TakePending(state);
    }
    for (const std::string& line : lines)
        sink(line.c_str());
}

void DriverMessages::Handle(const char* file, int line, const char* function, int err,
                            const char* format, ...)
{
    char text[1024];
    int used = std::snprintf(text, sizeof text, "ALSA lib %s:%d:(%s) ", file ? file : "?", line,
                             function ? function : "?");
    if (used < 0)
        used = 0;
    if (static_cast<std::size_t>(used) < sizeof text && format) {
        va_list args;
        va_start(args, format);
        std::vsnprintf(text + used, sizeof text - static_cast<std::size_t>(used), format, args);
        va_end(args);
    }
    std::string message = text;
    Routing& state = State();
    Sink sink;
    std::deque<std::string> lines;
    {
        std::lock_guard<std::mutex> guard(state.lock);
        if (err != 0)
            message += std::string(": ") + (state.errorText ? state.errorText(err)
                                                            : std::strerror(err < 0 ? -err : err));
        if (!state.sink)
            return;
        if (state.sinkThread != std::this_thread::get_id()) {
            if (state.pending.size() < MAX_PENDING)
                state.pending.push_back(message);
            else
                ++state.dropped;
            return;
        }
        sink = state.sink;
        lines = TakePending(state);
    }
    for (const std::string& pendingLine : lines)
        sink(pendingLine.c_str());
    sink(message.c_str());
}

} // namespace bassx
