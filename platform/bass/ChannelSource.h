#pragma once
// Where a channel's frames come from: a sequential reader over a sound, able to jump to a
// frame. Frames are handed out as stereo floats in [-1, 1] (a mono sound gives the same
// value on both sides). Used under the mixer's lock only.
#include <cstdint>

namespace bassx {

class ChannelSource
{
public:
    virtual ~ChannelSource() = default;

    virtual int Rate() const = 0;
    virtual int Channels() const = 0;
    virtual std::uint64_t Frames() const = 0;
    // Moves the reader so that the next ReadFrame returns frame `frame`; false when the
    // sound cannot go there.
    virtual bool Seek(std::uint64_t frame) = 0;
    // Reads the next frame; false at the end of the sound.
    virtual bool ReadFrame(float& left, float& right) = 0;
};

} // namespace bassx
