#include "dmusic/Result.h"

#include "dmusic/MusicTypes.h"

static_assert(dmusic::kMaxSongEvents == 1000000, "the too-many-events text names the bound");

namespace dmusic {
namespace {

struct ResultText
{
    Result code;
    const char* name;
    const char* description;
};

const ResultText kTexts[] = {
    {RESULT_OK, "S_OK", "The operation succeeded."},
    {RESULT_FALSE, "S_FALSE", "The operation succeeded with a negative answer."},
    {ERR_FAIL, "E_FAIL", "An unspecified error occurred."},
    {ERR_POINTER, "E_POINTER", "A required pointer argument is null."},
    {ERR_INVALID_ARG, "E_INVALIDARG", "An argument is invalid or out of its range."},
    {ERR_OUT_OF_MEMORY, "E_OUTOFMEMORY", "There is not enough memory for the operation."},
    {ERR_NOT_INITIALIZED, "CO_E_NOTINITIALIZED", "The object has not been initialised."},
    {ERR_NO_SYNTHESIZER, "DMUSIC_E_NO_SYNTHESIZER",
     "No software synthesizer could be started for music output."},
    {ERR_SOUNDFONT, "DMUSIC_E_SOUNDFONT", "The General MIDI SoundFont could not be loaded."},
    {ERR_UNSUPPORTED_FORMAT, "DMUSIC_E_UNSUPPORTED_FORMAT",
     "The music data is in a format that cannot play; only Standard MIDI Files "
     "(formats 0 and 1) are supported."},
    {ERR_INVALID_FILE, "DMUSIC_E_INVALID_FILE",
     "The data is not a well-formed Standard MIDI File."},
    {ERR_NOT_DOWNLOADED, "DMUSIC_E_NOT_DOWNLOADED",
     "The segment's instruments have not been downloaded to the performance."},
    {ERR_OUT_OF_RANGE, "DMUSIC_E_OUT_OF_RANGE",
     "A music time lies outside the segment, or a range is empty."},
    {ERR_ALREADY_INITIALIZED, "DMUSIC_E_ALREADY_INITIALIZED",
     "The performance has already been initialised."},
    {ERR_TOO_MANY_EVENTS, "DMUSIC_E_TOO_MANY_EVENTS",
     "The song holds more than 1000000 events, more than a song may hold."},
};

const ResultText* Find(Result r)
{
    for (const ResultText& t : kTexts) {
        if (t.code == r) {
            return &t;
        }
    }
    return nullptr;
}

} // namespace

const char* ResultName(Result r)
{
    const ResultText* t = Find(r);
    return t ? t->name : "UNKNOWN";
}

const char* ResultDescription(Result r)
{
    const ResultText* t = Find(r);
    return t ? t->description : "An unknown result code.";
}

} // namespace dmusic
