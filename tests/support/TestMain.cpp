// The main of every test program: runs headless, with HOME and the XDG folders pointed
// at a temporary folder that is removed when the program ends. When CTest says the tests
// read the asset pack (BB_TEST_ASSET_PACK is set) and the pack is missing, every test is
// skipped; under CI=true the program fails instead, naming the pack, before any test runs.
// Under CI=true (.ci/run sets it) a test that skips itself fails, with the reason its skip
// gives: a machine set up for the tests (tools/install-deps) runs every one of them, so a
// skip there is a broken set-up, never a pass. Elsewhere a skip stays a skip.
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

// Turns each skip into a failure of the same test, naming the skip's reason. The failure is
// added when the test ends, before the result printer, which GoogleTest tells of a test's
// end after every listener appended later, reads the result: the test is then printed and
// counted as failed, never as skipped. (Not while the skip is reported: GoogleTest holds a
// lock of its own through that report, and a failure added there would wait on it.)
class SkipFails : public ::testing::EmptyTestEventListener
{
public:
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        const ::testing::TestResult& result = *test.result();
        if (!result.Skipped())
            return;
        std::string why;
        for (int i = 0; i < result.total_part_count(); ++i)
            if (result.GetTestPartResult(i).skipped())
                why += result.GetTestPartResult(i).message();
        ADD_FAILURE() << "skipped where every test must run (CI=true): " << why;
    }
};

} // namespace

int main(int argc, char** argv)
{
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    bbtest::TempHome home;
    ::testing::InitGoogleTest(&argc, argv);
    bbtest::FailureCap::Install();
    if (bbtest::InContinuousIntegration())
        ::testing::UnitTest::GetInstance()->listeners().Append(new SkipFails);
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
