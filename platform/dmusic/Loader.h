#pragma once
// Makes Segments from music data held in memory.
#include "dmusic/Segment.h"

#include <cstddef>
#include <memory>
#include <string>

namespace dmusic {

class Loader
{
public:
    // Reads a Standard MIDI File (or one wrapped in a RIFF 'RMID' file) into a new Segment.
    // Failures: ERR_POINTER (no output), ERR_UNSUPPORTED_FORMAT (segment, style or
    // instrument collection files, format 2 or SMPTE-timed MIDI: music that cannot play
    // here), ERR_INVALID_FILE (malformed data), ERR_TOO_MANY_EVENTS (more events than a song
    // may hold). GetLastError then says what is wrong.
    Result LoadSegment(const void* data, std::size_t size, std::shared_ptr<Segment>* segment);

    // Why the last LoadSegment failed; empty after a success.
    const std::string& GetLastError() const { return m_LastError; }

private:
    Result Fail(Result result, std::string text);

    std::string m_LastError;
};

} // namespace dmusic
