#pragma once
// Lettering for pictures: a text drawn by a TrueType face into a canvas whose alpha is the
// letters' coverage (colour white), cropped to the text's line box. Recipes paint and
// shade the letters from it. The same face, size and text give the same pixels.
#include "kit/Canvas.h"

#include <filesystem>
#include <string>

namespace assetgen {

// Throws std::runtime_error when the face cannot be opened or the text drawn.
Canvas TextMask(const std::filesystem::path& face, int pointSize, const std::string& text);

} // namespace assetgen
