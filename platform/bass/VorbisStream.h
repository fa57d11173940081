#pragma once
// An Ogg Vorbis decoder reading from memory, frame by frame, with seeking. The memory is
// not owned: it must outlive the decoder. Output is signed 16-bit interleaved samples in
// host byte order, with the channel count and rate of the first logical stream; decoding
// stops where a chained stream changes its channel count.
#include <vorbis/vorbisfile.h>

#include <cstddef>
#include <cstdint>

namespace bassx {

class VorbisStream
{
public:
    VorbisStream() = default;
    ~VorbisStream();
    VorbisStream(const VorbisStream&) = delete;
    VorbisStream& operator=(const VorbisStream&) = delete;

    // The highest rate a file may give.
    static constexpr long kMaxRate = 384000;

    // Opens the data; returns BASS_OK, BASS_ERROR_FILEFORM (not Ogg Vorbis) or
    // BASS_ERROR_FORMAT (more than two channels, or a rate above kMaxRate).
    int Open(const std::uint8_t* data, std::size_t size);

    int Rate() const { return m_Rate; }
    int Channels() const { return m_Channels; }
    // Total frames; 0 when the length cannot be known.
    std::uint64_t Frames() const { return m_Frames; }

    bool Seek(std::uint64_t frame);
    // Decodes up to maxFrames frames into out (maxFrames * Channels() values); returns
    // the frames written, 0 at the end.
    int Read(std::int16_t* out, int maxFrames);

private:
    struct Memory
    {
        const std::uint8_t* data = nullptr;
        std::size_t size = 0;
        std::size_t pos = 0;
    };
    static std::size_t ReadFn(void* ptr, std::size_t size, std::size_t count, void* source);
    static int SeekFn(void* source, ogg_int64_t offset, int whence);
    static long TellFn(void* source);

    Memory m_Memory;
    OggVorbis_File m_File{};
    bool m_Open = false;
    bool m_Ended = false;
    int m_Rate = 0;
    int m_Channels = 0;
    std::uint64_t m_Frames = 0;
};

} // namespace bassx
