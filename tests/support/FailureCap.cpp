#include "support/FailureCap.h"

#include <cstdio>
#include <stdexcept>
#include <string>

namespace bbtest {

void FailureCap::Install()
{
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    ::testing::TestEventListener* printer = listeners.Release(listeners.default_result_printer());
    if (printer)
        listeners.Append(new FailureCap(printer));
}

void FailureCap::OnTestStart(const ::testing::TestInfo& info)
{
    m_Failures = 0;
    m_Stopped = false;
    m_Unprinted = 0;
    m_Printer->OnTestStart(info);
}

void FailureCap::OnTestPartResult(const ::testing::TestPartResult& result)
{
    if (!result.failed() || (!m_Stopped && ++m_Failures <= MAX_PRINTED)) {
        m_Printer->OnTestPartResult(result);
        return;
    }
    if (m_Stopped) {
        // What the stop itself reports, and whatever fails while the test unwinds.
        ++m_Unprinted;
        return;
    }
    m_Stopped = true;
    std::fprintf(stdout,
                 "%d checks of this test failed: it is stopped, and what fails "
                 "while it ends is not printed.\n",
                 m_Failures);
    std::fflush(stdout);
    throw std::runtime_error("the test failed " + std::to_string(m_Failures) +
                             " checks and was stopped");
}

void FailureCap::OnTestEnd(const ::testing::TestInfo& info)
{
    if (m_Unprinted > 0)
        std::fprintf(stdout, "(%d further failures of this test were not printed)\n", m_Unprinted);
    m_Printer->OnTestEnd(info);
}

// Everything else goes to the printer as it is.
void FailureCap::OnTestProgramStart(const ::testing::UnitTest& u)
{
    m_Printer->OnTestProgramStart(u);
}
void FailureCap::OnTestIterationStart(const ::testing::UnitTest& u, int iteration)
{
    m_Printer->OnTestIterationStart(u, iteration);
}
void FailureCap::OnEnvironmentsSetUpStart(const ::testing::UnitTest& u)
{
    m_Printer->OnEnvironmentsSetUpStart(u);
}
void FailureCap::OnEnvironmentsSetUpEnd(const ::testing::UnitTest& u)
{
    m_Printer->OnEnvironmentsSetUpEnd(u);
}
void FailureCap::OnTestSuiteStart(const ::testing::TestSuite& suite)
{
    m_Printer->OnTestSuiteStart(suite);
}
void FailureCap::OnTestCaseStart(const ::testing::TestCase& suite)
{
    m_Printer->OnTestCaseStart(suite);
}
void FailureCap::OnTestDisabled(const ::testing::TestInfo& info)
{
    m_Printer->OnTestDisabled(info);
}
void FailureCap::OnTestSuiteEnd(const ::testing::TestSuite& suite)
{
    m_Printer->OnTestSuiteEnd(suite);
}
void FailureCap::OnTestCaseEnd(const ::testing::TestCase& suite)
{
    m_Printer->OnTestCaseEnd(suite);
}
void FailureCap::OnEnvironmentsTearDownStart(const ::testing::UnitTest& u)
{
    m_Printer->OnEnvironmentsTearDownStart(u);
}
void FailureCap::OnEnvironmentsTearDownEnd(const ::testing::UnitTest& u)
{
    m_Printer->OnEnvironmentsTearDownEnd(u);
}
void FailureCap::OnTestIterationEnd(const ::testing::UnitTest& u, int iteration)
{
    m_Printer->OnTestIterationEnd(u, iteration);
}
void FailureCap::OnTestProgramEnd(const ::testing::UnitTest& u)
{
    m_Printer->OnTestProgramEnd(u);
}

} // namespace bbtest
