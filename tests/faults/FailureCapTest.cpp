// A test whose check fails in a loop (its subject gone) must not fill the log: the test
// main's cap prints the first failures, then stops the test with an exception, prints
// nothing of what fails while it unwinds, and starts afresh with the next test.
#include "support/FailureCap.h"

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

struct CountingPrinter : ::testing::EmptyTestEventListener
{
    int parts = 0;
    int ends = 0;
    void OnTestPartResult(const ::testing::TestPartResult&) override { ++parts; }
    void OnTestEnd(const ::testing::TestInfo&) override { ++ends; }
};

::testing::TestPartResult Result(::testing::TestPartResult::Type type)
{
    return ::testing::TestPartResult(type, "file.cpp", 1, "subject gone");
}

} // namespace

TEST(FailureCap, PrintsTheFirstFailuresThenStopsTheTestAndStartsAfreshWithTheNext)
{
    auto* printer = new CountingPrinter;
    bbtest::FailureCap cap(printer);
    const ::testing::TestInfo& info = *::testing::UnitTest::GetInstance()->current_test_info();
    const auto failure = Result(::testing::TestPartResult::kNonFatalFailure);

    for (int round = 0; round < 2; ++round) {
        printer->parts = 0;
        cap.OnTestStart(info);
        for (int i = 0; i < bbtest::FailureCap::MAX_PRINTED; ++i)
            cap.OnTestPartResult(failure);
        // Successes never count.
        cap.OnTestPartResult(Result(::testing::TestPartResult::kSuccess));
        EXPECT_EQ(bbtest::FailureCap::MAX_PRINTED + 1, printer->parts);
        EXPECT_THROW(cap.OnTestPartResult(failure), std::runtime_error);
        // What fails while the test unwinds is neither printed nor stops it again.
        cap.OnTestPartResult(Result(::testing::TestPartResult::kFatalFailure));
        cap.OnTestPartResult(failure);
        EXPECT_EQ(bbtest::FailureCap::MAX_PRINTED + 1, printer->parts);
        cap.OnTestEnd(info);
        EXPECT_EQ(round + 1, printer->ends);
    }
}
