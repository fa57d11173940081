#pragma once
// Result codes of the music layer. Every call that can fail returns a Result: zero or
// positive is success, negative is failure (the usual COM convention, so callers test
// with Failed/Succeeded and log the code's name and description).
#include <cstdint>

namespace dmusic {

using Result = std::int32_t;

// Success.
constexpr Result RESULT_OK = 0;
// Success with a negative answer (for example: the segment is not playing).
constexpr Result RESULT_FALSE = 1;

constexpr Result ERR_FAIL = static_cast<Result>(0x80004005u);
constexpr Result ERR_POINTER = static_cast<Result>(0x80004003u);
constexpr Result ERR_INVALID_ARG = static_cast<Result>(0x80070057u);
constexpr Result ERR_OUT_OF_MEMORY = static_cast<Result>(0x8007000Eu);
// The object (performance or segment) has not been initialised.
constexpr Result ERR_NOT_INITIALIZED = static_cast<Result>(0x800401F0u);
// No synthesiser could be started (the layer's "no sound card").
constexpr Result ERR_NO_SYNTHESIZER = static_cast<Result>(0x88780078u);
// The General MIDI SoundFont could not be loaded.
constexpr Result ERR_SOUNDFONT = static_cast<Result>(0x88781201u);
// The data is a music format that cannot play here (only Standard MIDI Files can).
constexpr Result ERR_UNSUPPORTED_FORMAT = static_cast<Result>(0x88781202u);
// The data claims to be a Standard MIDI File but is malformed.
constexpr Result ERR_INVALID_FILE = static_cast<Result>(0x88781203u);
// The segment was played before its instruments were downloaded to the performance.
constexpr Result ERR_NOT_DOWNLOADED = static_cast<Result>(0x88781204u);
// A music time lies outside the segment, or a range is empty.
constexpr Result ERR_OUT_OF_RANGE = static_cast<Result>(0x88781205u);
// Init was called on a performance that is already initialised.
constexpr Result ERR_ALREADY_INITIALIZED = static_cast<Result>(0x88781206u);
// A well-formed song that holds more events than a song may (kMaxSongEvents).
constexpr Result ERR_TOO_MANY_EVENTS = static_cast<Result>(0x88781207u);

inline bool Failed(Result r)
{
    return r < 0;
}
inline bool Succeeded(Result r)
{
    return r >= 0;
}

// The symbolic name of a result ("DMUSIC_E_INVALID_FILE"); "UNKNOWN" for codes the layer
// does not define. The returned text is static.
const char* ResultName(Result r);
// A one-sentence description of a result; a generic sentence for unknown codes.
const char* ResultDescription(Result r);

} // namespace dmusic
