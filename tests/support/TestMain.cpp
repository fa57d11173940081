// The main of every test program: runs headless, with HOME and the XDG folders pointed
// at a temporary folder that is removed when the program ends. When CTest says the tests
// read the asset pack (BB_TEST_ASSET_PACK is set) and the pack is missing, every test is
// skipped; under CI=true the program fails instead, naming the pack, before any test runs.
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>

namespace {

class AssetPackCheck : public ::testing::Environment
{
public:
    void SetUp() override { BB_REQUIRE_FILE(bbtest::AssetPackFolder(), kWhat); }

    static constexpr const char* kWhat = "asset pack (CTest's fixture AssetPack)";
};

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bbtest::TempHome home;
    ::testing::InitGoogleTest(&argc, argv);
    if (std::getenv("BB_TEST_ASSET_PACK") && !::testing::GTEST_FLAG(list_tests)) {
        // A failure inside the run would mark the tests skipped, which CTest counts as such.
        const std::string missing =
            bbtest::MissingFile(bbtest::AssetPackFolder(), AssetPackCheck::kWhat);
        if (!missing.empty() && bbtest::InContinuousIntegration()) {
            std::fprintf(stderr, "%s (CI=true: a missing file fails the run)\n", missing.c_str());
            return 1;
        }
        ::testing::AddGlobalTestEnvironment(new AssetPackCheck);
    }
    return RUN_ALL_TESTS();
}
