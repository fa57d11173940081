#pragma once

#include "support/RequiredFiles.h"

#include <fstream>
#include <sstream>
#include <string>

namespace bbtest {

// The bytes of a file of the asset pack the tests read (a path below its folder), or an
// empty string when it cannot be read.
inline std::string ReadPackFile(const std::string& path)
{
    std::ifstream in(AssetPackFolder() + "/" + path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return in ? bytes.str() : std::string();
}

} // namespace bbtest
