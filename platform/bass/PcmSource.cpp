#include "bass/PcmSource.h"

namespace bassx {

bool PcmSource::Seek(std::uint64_t frame)
{
    if (frame > Frames()) {
        return false;
    }
    m_Next = frame;
    return true;
}

bool PcmSource::ReadFrame(float& left, float& right)
{
    if (m_Next >= Frames()) {
        return false;
    }
    const std::int16_t* f = m_Pcm->data.data() + m_Next * m_Pcm->channels;
    left = f[0] / 32768.0f;
    right = m_Pcm->channels > 1 ? f[1] / 32768.0f : left;
    ++m_Next;
    return true;
}

} // namespace bassx
