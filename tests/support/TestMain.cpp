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
    // The set-up skipped every test, or every test that ran skipped itself: 77, which CTest
    // reports as skipped. (Tests the set-up kept from running count as passed.)
    const ::testing::UnitTest& run = *::testing::UnitTest::GetInstance();
    const bool allSkipped = run.ad_hoc_test_result().Skipped() ||
                            (run.successful_test_count() == 0 && run.skipped_test_count() > 0);
    if (status == 0 && allSkipped)
        return 77;
    return status;
}
