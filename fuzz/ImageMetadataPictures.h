#pragma once
// The pictures of the image metadata target's folder: names and sizes. Seeds made from the
// pack's metadata files name these pictures.
#include <vector>

namespace fuzz {

struct MetadataPicture
{
    const char* name;
    int width;
    int height;
};

inline const std::vector<MetadataPicture>& MetadataPictures()
{
    static const std::vector<MetadataPicture> pictures = {
        {"Ball.bmp", 16, 16},  {"Strip.bmp", 128, 32}, {"Sheet.bmp", 96, 96},
        {"Wide.bmp", 640, 16}, {"Dot.bmp", 1, 1},      {"Tall.bmp", 8, 200},
    };
    return pictures;
}

} // namespace fuzz
