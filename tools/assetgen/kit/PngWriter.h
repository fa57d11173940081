#pragma once
// PNG output of a canvas: 8-bit RGBA, no time stamp or text chunks, fixed compression,
// so the same picture always gives the same bytes.
#include "kit/Canvas.h"

#include <cstdint>
#include <vector>

namespace assetgen {

// Encodes the canvas; throws std::runtime_error when libpng fails.
std::vector<std::uint8_t> EncodePng(const Canvas& canvas);

} // namespace assetgen
