#pragma once
// Bounds what one failing test prints. The first few failed checks of a test are printed
// as usual; the next one ends the test with an exception that says so, so that a check
// inside a loop whose subject is gone cannot fill a log until the time limit.
#include <gtest/gtest.h>

#include <memory>

namespace bbtest {

class FailureCap : public ::testing::TestEventListener
{
public:
    // Failed checks a test may print before it is stopped.
    static constexpr int MAX_PRINTED = 25;

    // Takes GoogleTest's result printer and replaces it in the listener list by the cap.
    static void Install();

    explicit FailureCap(::testing::TestEventListener* printer) : m_Printer(printer) {}

    void OnTestProgramStart(const ::testing::UnitTest& u) override;
    void OnTestIterationStart(const ::testing::UnitTest& u, int iteration) override;
    void OnEnvironmentsSetUpStart(const ::testing::UnitTest& u) override;
    void OnEnvironmentsSetUpEnd(const ::testing::UnitTest& u) override;
    void OnTestSuiteStart(const ::testing::TestSuite& suite) override;
    void OnTestCaseStart(const ::testing::TestCase& suite) override;
    void OnTestStart(const ::testing::TestInfo& info) override;
    void OnTestDisabled(const ::testing::TestInfo& info) override;
    void OnTestPartResult(const ::testing::TestPartResult& result) override;
    void OnTestEnd(const ::testing::TestInfo& info) override;
    void OnTestSuiteEnd(const ::testing::TestSuite& suite) override;
    void OnTestCaseEnd(const ::testing::TestCase& suite) override;
    void OnEnvironmentsTearDownStart(const ::testing::UnitTest& u) override;
    void OnEnvironmentsTearDownEnd(const ::testing::UnitTest& u) override;
    void OnTestIterationEnd(const ::testing::UnitTest& u, int iteration) override;
    void OnTestProgramEnd(const ::testing::UnitTest& u) override;

private:
    std::unique_ptr<::testing::TestEventListener> m_Printer;
    int m_Failures = 0;     // failed checks of the running test
    bool m_Stopped = false; // the running test was stopped (its later failures go unprinted)
    int m_Unprinted = 0;
};

} // namespace bbtest
