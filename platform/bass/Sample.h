#pragma once
// A loaded sample: its decoded sound, the flags it was loaded with, and the handles of
// the channels taken from it that still exist.
#include "bass/PcmBuffer.h"

#include <cstdint>
#include <memory>
#include <vector>

namespace bassx {

struct Sample
{
    std::shared_ptr<const PcmBuffer> pcm;
    std::uint32_t flags = 0;
    std::uint32_t max = 1; // most channels that may exist at once
    std::vector<std::uint32_t> channels;
};

} // namespace bassx
