// The main of every test program: runs headless, with HOME and the XDG folders pointed
// at a temporary folder that is removed when the program ends. When CTest says the tests
// read the asset pack (BB_TEST_ASSET_PACK is set) and the pack is missing, every test is
// skipped; under CI=true the program fails instead, naming the pack, before any test runs.
// A test that fails check after check is stopped after a few (support/FailureCap.h).
#include "support/FailureCap.h"
#include "support/RequiredFiles.h"
#include "support/TempHome.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <string>

namespace {

// A fatal failure in the global set-up makes GoogleTest skip every test (CTest then shows
// them as skipped).
class SkipEveryTest : public ::testing::Environment
{
public:
    explicit SkipEveryTest(std::string why) : m_Why(std::move(why)) {}
    void SetUp() override { FAIL() << m_Why << ": every test is skipped"; }

private:
    std::string m_Why;
};

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bbtest::TempHome home;
    ::testing::InitGoogleTest(&argc, argv);
    bbtest::FailureCap::Install();
    if (std::getenv("BB_TEST_ASSET_PACK") && !::testing::GTEST_FLAG(list_tests)) {
        const std::string missing = bbtest::MissingFile(bbtest::AssetPackFolder(),
                                                        "asset pack (CTest's fixture AssetPack)");
        if (!missing.empty() && bbtest::InContinuousIntegration()) {
            std::fprintf(stderr, "%s (CI=true: a missing file fails the run)\n", missing.c_str());
            return 1;
        }
        if (!missing.empty())
            ::testing::AddGlobalTestEnvironment(new SkipEveryTest(missing));
    }
    return RUN_ALL_TESTS();
}
