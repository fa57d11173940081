#pragma once
// Recognises and decodes whole sound files held in memory, within a bound on what a whole
// decode may cost: the length the decoder reads from the file itself (Ogg Vorbis: the
// granule position of the last page, as ov_pcm_total gives it; WAV: the data chunk and the
// rate as its own chunks give them, each chunk within the bytes the file has) is held to
// kMaxSeconds and its samples to kMaxBytes before any sample is decoded, and the decode
// stops at that length whatever the data goes on to hold. Between blocks the decode asks the stop
// check (SetStopCheck) whether the program is stopping, so a stop is answered within a block's
// work.
#include "bass/PcmBuffer.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace bassx {

enum SoundFormat { SOUNDFORMAT_UNKNOWN, SOUNDFORMAT_OGG, SOUNDFORMAT_WAV };

class SoundDecoder
{
public:
    // The longest sound decoded whole: three minutes, far beyond any effect of the game (a
    // few seconds), and the most its 16-bit samples may take (three minutes of 48 kHz
    // stereo).
    static constexpr std::uint64_t kMaxSeconds = 180;
    static constexpr std::uint64_t kMaxBytes = kMaxSeconds * 48000 * 2 * 2;
    // Frames between two looks at the stop check.
    static constexpr int kBlockFrames = 4096;

    // By the file's leading bytes: "OggS" or a RIFF WAVE header.
    static SoundFormat Detect(const std::uint8_t* data, std::size_t size);
    // Decodes the whole file to 16-bit samples, keeping its rate and channel count (1 or
    // 2). WAV files hold 8- or 16-bit PCM. Returns BASS_OK, BASS_ERROR_FILEFORM
    // (unrecognised or damaged data, a chunk longer than the file, or a WAV format the game
    // does not play: not PCM, other than 8- or 16-bit, more than two channels, a rate of 0 or
    // above VorbisStream::kMaxRate, or an Ogg Vorbis file of more than two channels or a
    // rate above it; then detail says which), BASS_ERROR_TOOLONG (past the
    // bound: detail says how long the file claims to be), BASS_ERROR_STOPPED (the stop check
    // said stop) or BASS_ERROR_MEM. A detail completes "the sound ...".
    static int Decode(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                      std::string& detail);

    // The function asked between blocks; null for none. Main thread, before decoding.
    static void SetStopCheck(bool (*stopping)());
    // The function asked, once the length is known and before the samples are allocated,
    // whether their bytes may be held: null when they may, else why not (the decode then
    // fails with BASS_ERROR_MEM and that text as its detail). Null for none. Main thread.
    static void SetMemoryCheck(const char* (*admit)(std::uint64_t bytes));

private:
    static int DecodeOgg(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                         std::string& detail);
    static int DecodeWav(const std::uint8_t* data, std::size_t size, PcmBuffer& out,
                         std::string& detail);
};

} // namespace bassx
