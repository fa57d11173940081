#pragma once
// Ogg Vorbis output of an audio clip (mono or stereo, 44100 or 22050 Hz). Given the same
// samples it writes the same bytes: the stream serial number is fixed by the caller and
// nothing depends on the time of day.
#include "kit/Synth.h"

#include <cstdint>
#include <vector>

namespace assetgen {

// Encodes at Vorbis VBR quality (−0.1 .. 1). Throws std::invalid_argument for an
// unsupported layout and std::runtime_error when the encoder fails.
std::vector<std::uint8_t> EncodeOgg(const AudioClip& clip, std::uint32_t serial,
                                    float quality = 0.4f);

} // namespace assetgen
