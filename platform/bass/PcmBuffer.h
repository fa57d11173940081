#pragma once
// A whole decoded sound: interleaved signed 16-bit samples in host byte order.
#include <cstdint>
#include <vector>

namespace bassx {

struct PcmBuffer
{
    int rate = 0;     // frames per second
    int channels = 0; // 1 or 2
    std::vector<std::int16_t> data;

    std::uint64_t Frames() const { return channels > 0 ? data.size() / channels : 0; }
    // Bytes of one frame: the unit of positions and lengths.
    std::uint32_t FrameBytes() const { return static_cast<std::uint32_t>(channels) * 2; }
};

} // namespace bassx
