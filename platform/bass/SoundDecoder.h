#pragma once
// Recognises and decodes whole sound files held in memory.
#include "bass/PcmBuffer.h"

#include <cstddef>
#include <cstdint>

namespace bassx {

enum SoundFormat { SOUNDFORMAT_UNKNOWN, SOUNDFORMAT_OGG, SOUNDFORMAT_WAV };

class SoundDecoder
{
public:
    // By the file's leading bytes: "OggS" or a RIFF WAVE header.
    static SoundFormat Detect(const std::uint8_t* data, std::size_t size);
    // Decodes the whole file to 16-bit samples, keeping its rate and channel count (1 or
    // 2). Returns BASS_OK, BASS_ERROR_FILEFORM (unrecognised or damaged data),
    // BASS_ERROR_FORMAT (more than two channels, or a sample format that cannot be
    // converted) or BASS_ERROR_MEM.
    static int Decode(const std::uint8_t* data, std::size_t size, PcmBuffer& out);

private:
    static int DecodeOgg(const std::uint8_t* data, std::size_t size, PcmBuffer& out);
    static int DecodeWav(const std::uint8_t* data, std::size_t size, PcmBuffer& out);
};

} // namespace bassx
