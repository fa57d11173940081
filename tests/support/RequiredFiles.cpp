#include "support/RequiredFiles.h"

#include <cstdlib>
#include <filesystem>

namespace bbtest {

std::string AssetPackFolder()
{
    if (const char* pack = std::getenv("BB_TEST_ASSET_PACK"))
        return pack;
    return std::string(BB_BINARY_DIR) + "/Assets";
}

bool InContinuousIntegration()
{
    const char* ci = std::getenv("CI");
    return ci && (std::string(ci) == "true" || std::string(ci) == "1");
}

std::string MissingFile(const std::string& path, const std::string& what)
{
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return std::string();
    return "missing " + what + ": " + path;
}

} // namespace bbtest
