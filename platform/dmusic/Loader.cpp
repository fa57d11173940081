#include "dmusic/Loader.h"

#include <cstdint>
#include <cstring>

namespace dmusic {
namespace {

std::uint32_t ReadLE32(const unsigned char* p)
{
    return std::uint32_t(p[0]) | std::uint32_t(p[1]) << 8 | std::uint32_t(p[2]) << 16 |
           std::uint32_t(p[3]) << 24;
}

// The names of RIFF forms that hold music this layer cannot play.
const char* UnplayableForm(const unsigned char* form)
{
    if (std::memcmp(form, "DMSG", 4) == 0) {
        return "a segment file";
    }
    if (std::memcmp(form, "DMST", 4) == 0) {
        return "a style file";
    }
    if (std::memcmp(form, "DLS ", 4) == 0) {
        return "an instrument collection (DLS) file";
    }
    return nullptr;
}

} // namespace

Result Loader::Fail(Result result, std::string text)
{
    m_LastError = std::move(text);
    return result;
}

Result Loader::LoadSegment(const void* data, std::size_t size, std::shared_ptr<Segment>* segment)
{
    m_LastError.clear();
    if (!segment) {
        return Fail(ERR_POINTER, "no place for the segment was given");
    }
    segment->reset();
    if (!data) {
        return Fail(ERR_POINTER, "no music data was given");
    }
    const auto* bytes = static_cast<const unsigned char*>(data);
    if (size >= 12 && std::memcmp(bytes, "RIFF", 4) == 0) {
        if (const char* what = UnplayableForm(bytes + 8)) {
            return Fail(ERR_UNSUPPORTED_FORMAT,
                        std::string("the data is ") + what + "; only Standard MIDI Files can play");
        }
        if (std::memcmp(bytes + 8, "RMID", 4) != 0) {
            return Fail(ERR_UNSUPPORTED_FORMAT,
                        "the data is a RIFF file of an unknown kind; only Standard MIDI Files "
                        "can play");
        }
        // Find the 'data' chunk that holds the Standard MIDI File.
        std::size_t pos = 12;
        for (;;) {
            if (size - pos < 8) {
                return Fail(ERR_INVALID_FILE, "the RIFF MIDI file holds no 'data' chunk");
            }
            std::uint32_t length = ReadLE32(bytes + pos + 4);
            if (length > size - pos - 8) {
                return Fail(ERR_INVALID_FILE, "the RIFF MIDI file has a truncated chunk");
            }
            if (std::memcmp(bytes + pos, "data", 4) == 0) {
                bytes += pos + 8;
                size = length;
                break;
            }
            pos += 8 + length + (length & 1);
        }
    }
    auto file = std::make_shared<MidiFile>();
    std::string error;
    Result r = file->Parse(bytes, size, &error);
    if (Failed(r)) {
        return Fail(r, error);
    }
    *segment = std::make_shared<Segment>(std::move(file));
    return RESULT_OK;
}

} // namespace dmusic
