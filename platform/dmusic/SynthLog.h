#pragma once
// What the synthesiser says. FluidSynth writes its messages (at every level, from whichever
// thread calls it, the audio thread included) to standard error unless told otherwise;
// CaptureSynthMessages tells it to hand them here instead, so nothing of it reaches the
// terminal. Each distinct message is kept once with a count of how often it was said: a
// synthesiser that repeats one warning millions of times costs a count, not a flood.
// Whoever owns the program's log takes the messages from here on its own thread.
//
// Every function is safe to call from any thread.
#include <cstdint>
#include <string>
#include <vector>

namespace dmusic {

// Severity of a synthesiser message, as FluidSynth grades it.
enum class SynthLevel { Panic, Error, Warning, Info, Debug };

struct SynthMessage
{
    SynthLevel level;
    std::string text;
    // Times it was said since it was last taken (TakeSynthMessages).
    std::int64_t count;
    // True the first time the message is taken: its text has not been handed on before.
    bool first;
};

// Makes this collector FluidSynth's log for every level. Called by Performance::Init before
// the synthesiser is made; calling it again does nothing.
void CaptureSynthMessages();

// Distinct messages kept at most, three quarters of them for warnings and worse; the rest
// count under a message saying so.
constexpr std::size_t kMaxDistinctSynthMessages = 64;

// Every message said since the last call, in the order each was first said, with how often.
// A message said before and not since is not returned.
std::vector<SynthMessage> TakeSynthMessages();

} // namespace dmusic
