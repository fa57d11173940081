#pragma once
// A channel source decoding Ogg Vorbis while it plays. It owns a copy of the file's
// bytes and decodes a block of frames at a time.
#include "bass/ChannelSource.h"
#include "bass/VorbisStream.h"

#include <vector>

namespace bassx {

class VorbisSource : public ChannelSource
{
public:
    // Takes the file's bytes; check Open's result before use.
    explicit VorbisSource(std::vector<std::uint8_t> bytes) : m_Bytes(std::move(bytes)) {}
    // BASS_OK or the error code of VorbisStream::Open.
    int Open() { return m_Decoder.Open(m_Bytes.data(), m_Bytes.size()); }

    int Rate() const override { return m_Decoder.Rate(); }
    int Channels() const override { return m_Decoder.Channels(); }
    std::uint64_t Frames() const override { return m_Decoder.Frames(); }
    bool Seek(std::uint64_t frame) override;
    bool ReadFrame(float& left, float& right) override;

private:
    static constexpr int BLOCK_FRAMES = 2048;

    std::vector<std::uint8_t> m_Bytes;
    VorbisStream m_Decoder;
    std::vector<std::int16_t> m_Block;
    int m_BlockFrames = 0; // frames decoded into m_Block
    int m_BlockNext = 0;   // next frame of m_Block to hand out
};

} // namespace bassx
