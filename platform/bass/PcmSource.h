#pragma once
// A channel source reading a decoded sound held in memory; many channels may share the
// same buffer, each with its own read position.
#include "bass/ChannelSource.h"
#include "bass/PcmBuffer.h"

#include <memory>

namespace bassx {

class PcmSource : public ChannelSource
{
public:
    explicit PcmSource(std::shared_ptr<const PcmBuffer> pcm) : m_Pcm(std::move(pcm)) {}

    int Rate() const override { return m_Pcm->rate; }
    int Channels() const override { return m_Pcm->channels; }
    std::uint64_t Frames() const override { return m_Pcm->Frames(); }
    bool Seek(std::uint64_t frame) override;
    bool ReadFrame(float& left, float& right) override;

private:
    std::shared_ptr<const PcmBuffer> m_Pcm;
    std::uint64_t m_Next = 0;
};

} // namespace bassx
