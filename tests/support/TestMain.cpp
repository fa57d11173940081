// The main of every test program: runs headless, with HOME and the XDG folders pointed
// at a temporary folder that is removed when the program ends. When CTest says the tests
// read the asset pack (BB_TEST_ASSET_PACK is set), a missing pack skips them all, or fails
// them under CI=true, before any test starts. A run whose tests all skipped exits with 77.
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdlib>

namespace {

class AssetPackCheck : public ::testing::Environment
{
public:
    void SetUp() override
    {
        if (std::getenv("BB_TEST_ASSET_PACK"))
            BB_REQUIRE_FILE(bbtest::AssetPackFolder(), "asset pack (CTest's fixture AssetPack)");
    }
};

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bbtest::TempHome home;
    ::testing::InitGoogleTest(&argc, argv);
    ::testing::AddGlobalTestEnvironment(new AssetPackCheck);
    const int status = RUN_ALL_TESTS();
    // Every test that ran skipped itself: 77, which CTest reports as skipped.
    const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
    const bool skipped = run.skipped_test_count() > 0 || run.ad_hoc_test_result().Skipped();
    if (status == 0 && run.successful_test_count() == 0 && skipped)
        return 77;
    return status;
}
