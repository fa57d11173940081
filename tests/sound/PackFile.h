#pragma once

#include <fstream>
#include <sstream>
#include <string>

namespace bbtest {

// The bytes of a file of the generated asset folder (a path below "Assets/"), or an empty
// string when it cannot be read.
inline std::string ReadPackFile(const std::string& path)
{
    std::ifstream in(std::string(BB_BINARY_DIR) + "/Assets/" + path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : std::string();
}

} // namespace bbtest
