#include "bass/VorbisSource.h"

namespace bassx {

bool VorbisSource::Seek(std::uint64_t frame)
{
    m_BlockFrames = 0;
    m_BlockNext = 0;
    return m_Decoder.Seek(frame);
}

bool VorbisSource::ReadFrame(float& left, float& right)
{
    const int channels = m_Decoder.Channels();
    if (m_BlockNext >= m_BlockFrames) {
        m_Block.resize(static_cast<std::size_t>(BLOCK_FRAMES) * channels);
        m_BlockFrames = m_Decoder.Read(m_Block.data(), BLOCK_FRAMES);
        m_BlockNext = 0;
        if (m_BlockFrames == 0) {
            return false;
        }
    }
    const std::int16_t* f = m_Block.data() + static_cast<std::size_t>(m_BlockNext) * channels;
    left = f[0] / 32768.0f;
    right = channels > 1 ? f[1] / 32768.0f : left;
    ++m_BlockNext;
    return true;
}

} // namespace bassx
