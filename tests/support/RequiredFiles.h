#pragma once
// The files from outside a test program that some tests read: the generated asset pack and
// the General MIDI SoundFont. A test that lacks one skips itself, naming it; in continuous
// integration (CI=true in the environment) every skip fails its test (support/TestMain.cpp),
// so a broken set-up cannot pass as hundreds of skipped tests.
//
//   BB_REQUIRE_FILE(bbtest::AssetPackFolder() + "/Images", "the asset pack's images");
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <string>

namespace bbtest {

// The asset pack the tests read: BB_TEST_ASSET_PACK (set by CTest for the tests that
// require its AssetPack fixture, which writes the pack) or else the build's own Assets/.
inline std::string AssetPackFolder()
{
    if (const char* pack = std::getenv("BB_TEST_ASSET_PACK"))
        return pack;
    return std::string(BB_BINARY_DIR) + "/Assets";
}

// True when the environment says this is a continuous integration run (CI=true or CI=1).
inline bool InContinuousIntegration()
{
    const char* ci = std::getenv("CI");
    return ci && (std::string(ci) == "true" || std::string(ci) == "1");
}

// Empty when path exists; otherwise a line naming what is missing and where it was sought.
inline std::string MissingFile(const std::string& path, const std::string& what)
{
    std::error_code error;
    if (std::filesystem::exists(path, error))
        return std::string();
    return "missing " + what + ": " + path;
}

} // namespace bbtest

// Skips the calling test, naming what is missing, when the file or folder at path is missing
// (a skip fails the test under CI=true). Usable wherever GTEST_SKIP is: in a test body or a
// fixture's SetUp.
#define BB_REQUIRE_FILE(path, what)                                                                \
    do {                                                                                           \
        const std::string bbMissing = ::bbtest::MissingFile((path), (what));                       \
        if (!bbMissing.empty())                                                                    \
            GTEST_SKIP() << bbMissing;                                                             \
    } while (0)
